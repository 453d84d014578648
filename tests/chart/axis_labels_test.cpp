#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <ostream>
#include <string>

#include "chart/chart_axis.h"
#include "platform/locale_settings.h"
#include "tests/import/temp_dir.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

struct TextCase {
  const char* name;
  double value;
  const char* expected;
  friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class AxisValueText : public ::testing::TestWithParam<TextCase> {};

TEST_P(AxisValueText, DefaultPatternWithDotAndComma) {
  const TextCase& c = GetParam();
  EXPECT_EQ(FormatAxisValue(c.value, TAxisValuePattern::Parse("#,##0.###"), '.', ","), c.expected)
      << "value " << c.value;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, AxisValueText,
    ::testing::Values(
        TextCase{"Whole",                   2,             "2"},
        TextCase{"Zero",                    0,             "0"},
        TextCase{"NegativeZero",            -0.0,          "0"},
        TextCase{"OneDecimal",              2.5,           "2.5"},
        TextCase{"InexactDecimal",          1.3,           "1.3"},
        TextCase{"SumOfInexactDecimals",    0.1 + 0.2,     "0.3"},
        // a decimal half rounds away from zero, also below zero
        TextCase{"HalfRoundsUp",            0.0005,        "0.001"},
        TextCase{"NegativeHalfRoundsDown",  -0.0005,       "-0.001"},
        TextCase{"HalfAfterAnOddDigit",     0.0015,        "0.002"},
        // rounds to nothing: no "-0"
        TextCase{"NegativeRoundsToZero",    -0.0004,       "0"},
        TextCase{"TinyNegative",            -1e-300,       "0"},
        // cut after the third decimal of the 18-digit text, not of the binary value
        TextCase{"CutAfterThirdDecimal",    1234567.8915,  "1,234,567.891"},
        TextCase{"RoundsUpIntoANewGroup",   999.9996,      "1,000"},
        TextCase{"NegativeGrouped",         -1234.5,       "-1,234.5"},
        TextCase{"ThreeDigits",             100,           "100"},
        TextCase{"FourDigits",              1000,          "1,000"},
        TextCase{"SixDigits",               123456,        "123,456"},
        TextCase{"TwentyOneDigits",         1e20,          "100,000,000,000,000,000,000"},
        TextCase{"Tenth",                   0.1,           "0.1"},
        TextCase{"Twentieth",               0.05,          "0.05"},
        TextCase{"TwoDecimals",             12.25,         "12.25"},
        TextCase{"NotANumber",              std::numeric_limits<double>::quiet_NaN(),  "NAN"},
        TextCase{"NegativeInfinity",        -std::numeric_limits<double>::infinity(),  "-INF"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(AxisValueTextLocale, UsesTheGivenSeparators) {
  const auto p = TAxisValuePattern::Parse("#,##0.###");
  EXPECT_EQ(FormatAxisValue(1234567.8915, p, ',', "."), "1.234.567,891");
  EXPECT_EQ(FormatAxisValue(-0.25, p, ',', " "), "-0,25");
  EXPECT_EQ(FormatAxisValue(1000, p, ',', " "), "1 000");
}

// Labels read as each locale's reader expects: the groups of a Russian or French number are
// parted by a no-break space (their locales give a narrow one), never by the decimal comma.
struct LocaleLabels {
  const char* locale;
  const char* fraction;  // 1000.75
  const char* whole;     // 1001
  const char* negative;  // -1234567
  friend void PrintTo(const LocaleLabels& c, std::ostream* os) { *os << c.locale; }
};

class LabelsInLocale : public ::testing::TestWithParam<LocaleLabels> {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<plotvik::testing::TempDir>();
    ::setenv("LOCPATH", dir_->Path().c_str(), 1);
  }
  static void TearDownTestSuite() {
    ::unsetenv("LOCPATH");
    dir_.reset();
  }
  static inline std::unique_ptr<plotvik::testing::TempDir> dir_;
  plotvik::testing::SeparatorsScope separators_{'.', ","};
};

TEST_P(LabelsInLocale, GroupAndSeparateAsTheReaderExpects) {
  const LocaleLabels& c = GetParam();
  const std::string name = c.locale;
  ASSERT_TRUE(name == "C" || plotvik::testing::CompileLocale(dir_->Path(), name))
      << "cannot compile " << name << " with localedef";
  ReadLocaleSettings(c.locale);
  const auto pattern = TAxisValuePattern::Parse("#,##0.###");
  auto label = [&](double value) {
    return FormatAxisValue(value, pattern, LocaleDecimalChar, LocaleThousandsChar);
  };
  EXPECT_EQ(label(1000.75), c.fraction);
  EXPECT_EQ(label(1001), c.whole);
  EXPECT_EQ(label(-1234567), c.negative);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Locales, LabelsInLocale,
    ::testing::Values(
        LocaleLabels{"C",           "1,000.75",       "1,001",       "-1,234,567"},
        LocaleLabels{"de_DE.UTF-8", "1.000,75",       "1.001",       "-1.234.567"},
        LocaleLabels{"ru_RU.UTF-8", "1\u00A0000,75", "1\u00A0001", "-1\u00A0234\u00A0567"},
        LocaleLabels{"fr_FR.UTF-8", "1\u00A0000,75", "1\u00A0001", "-1\u00A0234\u00A0567"}),
    [](const auto& info) {
      const std::string name = info.param.locale;
      return name.substr(0, name.find('.'));
    });
// clang-format on

TEST(AxisValueTextPattern, OtherDigitCountsAndNoGrouping) {
  EXPECT_EQ(TAxisValuePattern::Parse("#,##0.###"), TAxisValuePattern{}) << "the axes' pattern";
  EXPECT_EQ(FormatAxisValue(2, TAxisValuePattern::Parse("0.00"), '.', ","), "2.00");
  EXPECT_EQ(FormatAxisValue(1234.5678, TAxisValuePattern::Parse("0.#"), '.', ","), "1234.6");
  EXPECT_EQ(FormatAxisValue(7.5, TAxisValuePattern::Parse("000"), '.', ","), "008");
}

TEST(NextNiceStep, FollowsTheOneTwoFiveSequence) {
  struct Case {
    double from, to;
  };
  // clang-format off
  const Case cases[] = {
      {1,    2},
      {2,    5},
      {3,    5},
      {5,    10},
      {10,   20},
      {20,   50},
      {50,   100},
      {0.1,  0.2},
      {0.25, 0.5},
      {0.5,  1},
      {0.02, 0.05},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_NEAR(NextNiceStep(c.from), c.to, c.to * 1e-12) << "from " << c.from;
  }
  // Values the sequence cannot leave are handed back rather than looping for ever.
  EXPECT_EQ(NextNiceStep(0), 0);
  EXPECT_TRUE(std::isinf(NextNiceStep(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace plotvik

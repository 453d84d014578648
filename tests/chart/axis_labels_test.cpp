#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "chart/chart_axis.h"

namespace plotvik {
namespace {

struct TextCase {
  double value;
  const char* expected;
};

class AxisValueText : public testing::TestWithParam<TextCase> {};

TEST_P(AxisValueText, DefaultPatternWithDotAndComma) {
  const TextCase& c = GetParam();
  EXPECT_EQ(FormatAxisValue(c.value, TAxisValuePattern::Parse("#,##0.###"), '.', ','), c.expected)
      << "value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisValueText,
    testing::Values(TextCase{2, "2"}, TextCase{0, "0"}, TextCase{-0.0, "0"}, TextCase{2.5, "2.5"},
                    TextCase{1.3, "1.3"}, TextCase{0.1 + 0.2, "0.3"},
                    // a decimal half rounds away from zero, also below zero
                    TextCase{0.0005, "0.001"}, TextCase{-0.0005, "-0.001"},
                    TextCase{0.0015, "0.002"},
                    // rounds to nothing: no "-0"
                    TextCase{-0.0004, "0"}, TextCase{-1e-300, "0"},
                    // cut after the third decimal of the 18-digit text, not of the binary value
                    TextCase{1234567.8915, "1,234,567.891"}, TextCase{999.9996, "1,000"},
                    TextCase{-1234.5, "-1,234.5"}, TextCase{100, "100"}, TextCase{1000, "1,000"},
                    TextCase{123456, "123,456"}, TextCase{1e20, "100,000,000,000,000,000,000"},
                    TextCase{0.1, "0.1"}, TextCase{0.05, "0.05"}, TextCase{12.25, "12.25"},
                    TextCase{std::numeric_limits<double>::quiet_NaN(), "NAN"},
                    TextCase{-std::numeric_limits<double>::infinity(), "-INF"}));

TEST(AxisValueTextLocale, UsesTheGivenSeparators) {
  const auto p = TAxisValuePattern::Parse("#,##0.###");
  EXPECT_EQ(FormatAxisValue(1234567.8915, p, ',', '.'), "1.234.567,891");
  EXPECT_EQ(FormatAxisValue(-0.25, p, ',', ' '), "-0,25");
  EXPECT_EQ(FormatAxisValue(1000, p, ',', ' '), "1 000");
}

TEST(AxisValueTextPattern, OtherDigitCountsAndNoGrouping) {
  EXPECT_EQ(FormatAxisValue(2, TAxisValuePattern::Parse("0.00"), '.', ','), "2.00");
  EXPECT_EQ(FormatAxisValue(1234.5678, TAxisValuePattern::Parse("0.#"), '.', ','), "1234.6");
  EXPECT_EQ(FormatAxisValue(7.5, TAxisValuePattern::Parse("000"), '.', ','), "008");
}

TEST(NextNiceStep, FollowsTheOneTwoFiveSequence) {
  struct Case {
    double from, to;
  };
  for (const Case& c :
       {Case{1, 2}, Case{2, 5}, Case{3, 5}, Case{5, 10}, Case{10, 20}, Case{20, 50}, Case{50, 100},
        Case{0.1, 0.2}, Case{0.25, 0.5}, Case{0.5, 1}, Case{0.02, 0.05}}) {
    EXPECT_NEAR(NextNiceStep(c.from), c.to, c.to * 1e-12) << "from " << c.from;
  }
  // Values the sequence cannot leave are handed back rather than looping for ever.
  EXPECT_EQ(NextNiceStep(0), 0);
  EXPECT_TRUE(std::isinf(NextNiceStep(std::numeric_limits<double>::infinity())));
}

}  // namespace
}  // namespace plotvik

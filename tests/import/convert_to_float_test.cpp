#include "import/convert_to_float.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "platform/exceptions.h"
#include "platform/locale_settings.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

using namespace std::string_literals;

using testing::SeparatorsScope;

struct Valid {
  std::string text;
  long double value;
};

TEST(ConvertToFloat, AcceptsTheGrammar) {
  SeparatorsScope point('.');
  // clang-format off
  const Valid cases[] = {
      {"1",                  1},
      {" 5 ",                5},
      {"  -12  ",            -12},
      {"+3",                 3},
      {"1e",                 1},
      {"1E+",                1},
      {"1e-",                1},
      {".",                  0},
      {"5.",                 5},
      {".5",                 0.5L},
      {"-.5",                -0.5L},
      {"14.1",               14.1L},
      {"1.5e-3",             1.5e-3L},
      {"2E3",                2000},
      {"1e0499",             1e499L},
      {"1e500",              1e500L},
      {"0e4999",             0},
      {"1e-4999",            0},
      {"12\0garbage"s,       12},
      {"007",                7},
      {"123456789012345678", 123456789012345678.0L},
  };
  // clang-format on
  for (const auto& c : cases) {
    long double got = 0;
    EXPECT_NO_THROW(got = ConvertToFloat(c.text)) << c.text;
    EXPECT_EQ(got, c.value) << c.text;
  }
  EXPECT_TRUE(std::signbit(ConvertToFloat("-0")));
}

TEST(ConvertToFloat, RefusesEverythingElse) {
  SeparatorsScope point('.');
  // clang-format off
  const std::string cases[] = {
      "",
      " ",
      "+",
      "-",
      "--1",
      "1.2.3",
      "1,5",
      "\t5",
      "5\t",
      "0x10",
      "inf",
      "nan",
      "e5",
      "1e5000",
      "1 2",
      "1e+-5",
      "1,000",
      "1e4999",
      "\0" "1"s,
      "1d",
      "5 x",
  };
  // clang-format on
  for (const auto& text : cases) {
    long double value = 42;
    EXPECT_FALSE(TryConvertToFloat(text, value)) << text;
    EXPECT_EQ(value, 42) << "a failed conversion must leave its output alone: " << text;
  }
}

TEST(ConvertToFloat, FailureNamesTheText) {
  try {
    ConvertToFloat("1.2.3");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'1.2.3' is not a valid floating point value");
  }
}

TEST(ConvertToFloat, CommaLocale) {
  SeparatorsScope comma(',');
  EXPECT_EQ(ConvertToFloat("1,5"), 1.5L);
  EXPECT_EQ(ConvertToFloat("-,5"), -0.5L);
  EXPECT_THROW(ConvertToFloat("1.5"), EConvertError);
}

TEST(ConvertToFloat, HugeMantissaOverflowsEvenWhenScaledBack) {
  // The digits are accumulated first: 5000 of them overflow before the exponent is applied.
  EXPECT_THROW(ConvertToFloat(std::string(5000, '9') + "e-4999"), EConvertError);
}

TEST(ConvertToFloat, LongFractionsKeepTheirValue) {
  // 300 zeros after the point, then a mantissa of 4901 digits (still inside the extended range):
  // more fraction digits than one 10^(512k) step covers, yet the value is an ordinary double.
  std::string text = "0." + std::string(300, '0') + "1" + std::string(4900, '0');
  EXPECT_DOUBLE_EQ(static_cast<double>(ConvertToFloat(text)), 1e-301);
}

// Against a correctly rounded conversion: decimals of at most 15 significant digits with
// moderate exponents give the same double once the extended result is rounded, except where the
// decimal lies so close to the midpoint between two doubles that the extended intermediate
// (about 1 in 6000 of these inputs) already sits on the other side. Each such case must be one
// ulp off and within a few extended ulps of that midpoint: anything else is a real error.
TEST(ConvertToFloat, AgreesWithCorrectRoundingForShortDecimals) {
  SeparatorsScope point('.');
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<int> digitCount(1, 15);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> exponent(-40, 40);
  int nearMidpoint = 0;
  const int kCases = 300000;
  for (int n = 0; n < kCases; ++n) {
    int count = digitCount(random);
    std::string digits;
    for (int i = 0; i < count; ++i) digits.push_back(static_cast<char>('0' + digit(random)));
    std::uniform_int_distribution<int> pointAt(0, count);
    std::string text = digits;
    text.insert(static_cast<std::size_t>(pointAt(random)), ".");
    text += "e" + std::to_string(exponent(random));
    double expected = 0;
    long double exact = 0;  // correctly rounded to extended: the decimal within 2^-64
    ASSERT_EQ(std::from_chars(text.data(), text.data() + text.size(), expected).ec, std::errc());
    ASSERT_EQ(std::from_chars(text.data(), text.data() + text.size(), exact).ec, std::errc());
    double got = static_cast<double>(ConvertToFloat(text));
    if (got == expected) continue;
    ++nearMidpoint;
    ASSERT_TRUE(got == std::nextafter(expected, got)) << text << " is more than one ulp off";
    long double midpoint = (static_cast<long double>(got) + expected) / 2;
    long double extendedUlp = std::nextafter(midpoint, 0.0L) - midpoint;
    ASSERT_LE(std::fabs(exact - midpoint), 4 * std::fabs(extendedUlp))
        << text << " is off by a whole ulp without being near a midpoint";
  }
  EXPECT_LT(nearMidpoint, kCases / 1000);
}

}  // namespace
}  // namespace plotvik

// The numbers in the analysis marks' labels: three decimals at most, and never a 0 for a value
// that is not 0.

#include <gtest/gtest.h>

#include <string>

#include "marks/mark_drawing.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

struct LabelCase {
  const char* name;
  double value;
  char separator;
  const char* text;
};

class MarkNumber : public ::testing::TestWithParam<LabelCase> {};

TEST_P(MarkNumber, ThreeDecimalsOrEnoughDigitsToTellItFromZero) {
  const LabelCase& c = GetParam();
  testing::SeparatorsScope separators(c.separator, " ");
  EXPECT_EQ(MarkNumberText(c.value), c.text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, MarkNumber,
    ::testing::Values(
        // Ordinary values as they always were: rounded to three decimals, no grouping.
        LabelCase{"Swr",                    1.26,       '.', "1.26"},
        LabelCase{"RoundedToThreeDecimals", 12.516328852119958, '.', "12.516"},
        LabelCase{"Whole",                  7,          '.', "7"},
        LabelCase{"LargeWithoutGrouping",   1234567.8915, ',', "1234567,891"},
        LabelCase{"Zero",                   0,          '.', "0"},
        LabelCase{"NegativeZero",           -0.0,       '.', "0"},
        LabelCase{"SmallestThatRoundsUp",   0.0005,     '.', "0.001"},
        // Below half a thousandth: no longer 0.
        LabelCase{"SmallestNormalSwr",      1e-308,     '.', "1e-308"},
        LabelCase{"SmallestDouble",         5e-324,     '.', "4.94e-324"},
        LabelCase{"JustBelowRoundingUp",    0.000499,   ',', "4,99e-04"},
        LabelCase{"NegativeTiny",           -2.5e-7,    ',', "-2,5e-07"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace plotvik

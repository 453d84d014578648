#include "chart/chart_point_finder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "chart/chart_axis.h"
#include "chart/custom_chart.h"
#include "chart/line_series.h"

namespace plotvik {
namespace {

// A viewer-sized chart painted once: eleven points (0, 0) ... (10, 10) in `first`, a null point
// between two of them, and in `second` one point a few pixels beside (5, 5).
class PointFinder : public testing::Test {
 protected:
  PointFinder() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    first.SetParentChart(&chart);
    second.SetParentChart(&chart);
    for (int i = 0; i <= 10; ++i) first.AddPoint(i, i);
    first.AddNullXY(7.5);
    second.AddPoint(5.05, 5);
    chart.PaintWindow();
  }
  ~PointFinder() override {
    first.SetParentChart(nullptr);
    second.SetParentChart(nullptr);
  }

  // The hit at (x, y) as "series index", or "none".
  std::string Find(int x, int y, int reach = 4) const {
    const std::optional<TChartPointHit> hit = NearestChartPoint(chart, x, y, reach);
    if (!hit) return "none";
    EXPECT_EQ(hit->x, hit->series->CalcXPos(hit->index));
    EXPECT_EQ(hit->y, hit->series->CalcYPos(hit->index));
    return std::string(hit->series == &first ? "first " : "second ") + std::to_string(hit->index);
  }

  TCustomChart chart;
  TLineSeries first;
  TLineSeries second;
};

TEST_F(PointFinder, FindsTheNearestDrawnPointWithinReach) {
  const int x3 = first.CalcXPos(3), y3 = first.CalcYPos(3);
  EXPECT_EQ(Find(x3, y3), "first 3");
  // The reach is a distance: 4 pixels straight off is in, a diagonal of 3 and 3 is not.
  EXPECT_EQ(Find(x3 + 4, y3), "first 3");
  EXPECT_EQ(Find(x3, y3 - 4), "first 3");
  EXPECT_EQ(Find(x3 + 3, y3 + 3), "none");
  EXPECT_EQ(Find(x3 + 5, y3), "none");
  EXPECT_EQ(Find(x3 + 5, y3, 5), "first 3");
  EXPECT_EQ(Find(x3, y3, -1), "none");

  // Two points within reach of each other: whichever is nearer to the mouse.
  const int x5 = first.CalcXPos(5), y5 = first.CalcYPos(5);
  const int xs = second.CalcXPos(0);
  ASSERT_GT(xs - x5, 1);
  ASSERT_LE(xs - x5, 4);
  EXPECT_EQ(Find(x5, y5), "first 5");
  EXPECT_EQ(Find(xs, y5), "second 0");
  EXPECT_EQ(Find(x5 - 1, y5), "first 5");
  EXPECT_EQ(Find(xs + 1, y5), "second 0");
}

TEST_F(PointFinder, SkipsNullPointsInactiveSeriesAndPointsOutsideTheChartRectangle) {
  // The null point sits at its height on the bottom line; nothing is drawn there.
  const int xNull = first.CalcXPos(8);
  ASSERT_TRUE(first.IsNullPoint(8));
  EXPECT_EQ(Find(xNull, first.CalcYPos(8)), "none");

  second.SetActive(false);
  chart.PaintWindow();
  EXPECT_EQ(Find(first.CalcXPos(5) + 3, first.CalcYPos(5)), "first 5");
  second.SetActive(true);

  // Zoomed in on 0 ... 5, the later points lie beyond the rectangle's right edge.
  chart.BottomAxis().SetAxisRange(0, 5);
  chart.PaintWindow();
  EXPECT_EQ(Find(first.CalcXPos(5), first.CalcYPos(5)), "first 5");
  EXPECT_GT(first.CalcXPos(6), chart.ChartRect().Right);
  EXPECT_EQ(Find(first.CalcXPos(6), first.CalcYPos(6)), "none");
}

struct NumberCase {
  const char* name;
  double value;
  char separator;
  const char* text;
  friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }
};

class ShortestNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(ShortestNumber, ReadsBackToTheSameDouble) {
  EXPECT_EQ(ShortestNumberText(GetParam().value, GetParam().separator), GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, ShortestNumber,
    testing::Values(
        NumberCase{"TwoDecimals",           12.34,     '.', "12.34"},
        NumberCase{"DecimalComma",          1.523,     ',', "1,523"},
        NumberCase{"Whole",                 5,         ',', "5"},
        NumberCase{"NegativeZero",          -0.0,      '.', "-0"},
        NumberCase{"SeventeenDigitsNeeded", 0.1 + 0.2, '.', "0.30000000000000004"},
        NumberCase{"WholeMillion",          1e6,       ',', "1000000"},
        NumberCase{"WholeNegative",         -1e5,      '.', "-100000"},
        NumberCase{"LargestExactWhole",     9007199254740992.0,  '.', "9007199254740992"},
        NumberCase{"BeyondExactWholes",     1e16,      '.', "1e+16"},
        NumberCase{"LargeWithExponent",     1e21,      ',', "1e+21"},
        NumberCase{"SmallWithExponent",     -2.5e-7,   ',', "-2,5e-07"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PointValueText, NamesBothValuesTwoBlanksApart) {
  EXPECT_EQ(PointValueText("height", 12.34, "КСВ", 1.523, '.'), "height 12.34  КСВ 1.523");
  EXPECT_EQ(PointValueText("height", 4.72, "Усиление Ga", -0.5, ','),
            "height 4,72  Усиление Ga -0,5");
}

}  // namespace
}  // namespace plotvik

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/custom_chart.h"
#include "chart/line_series.h"
#include "raster/color.h"
#include "tests/chart/line_series_picture.h"

namespace plotvik {
namespace {

using testing_pictures::Picture;

struct Point {
  double x;
  double y;
  TColor color = clDefault;
};

// A 50 x 50 chart whose plotting rectangle is (0, 0, 40, 40) with hidden axes fixed at 0 ... 40
// both ways, so a value (x, y) lands on pixel (x, 40 - y). The series draws red with the
// viewer's pointer: a 5 x 5 square, no room kept for it at the ends.
class LineDraw : public testing::Test {
 protected:
  LineDraw() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 50, 50);
    chart.SetMarginLeft(0);
    chart.SetMarginTop(0);
    chart.SetMarginRight(20);
    chart.SetMarginBottom(20);
    chart.BottomAxis().SetVisible(false);
    chart.LeftAxis().SetVisible(false);
    series.SetSeriesColor(clRed);
    series.Pointer().SetVisible(true);
    series.Pointer().SetHorizSize(2);
    series.Pointer().SetVertSize(2);
    series.Pointer().SetInflateMargins(false);
    series.SetParentChart(&chart);
    SetXRange(0, 40);
    chart.LeftAxis().SetAxisRange(0, 40);
  }
  ~LineDraw() override { series.SetParentChart(nullptr); }

  void SetXRange(double minimum, double maximum) {
    chart.BottomAxis().SetAxisRange(minimum, maximum);
  }
  void Add(const std::vector<Point>& points) {
    for (const Point& p : points) series.AddPoint(p.x, p.y, "", p.color);
  }
  std::string Paint(const TRect& area) {
    chart.PaintWindow();
    return Picture(chart.WindowImage(), area,
                   {{ColorToRGB(clBtnFace), '.'}, {clBlack, 'B'}, {clRed, 'r'}, {clBlue, 'b'}});
  }

  TCustomChart chart;
  TLineSeries series;
};

struct LineCase {
  const char* name;
  std::vector<Point> points;
  const char* picture;  // rows 17 ... 23, columns 2 ... 20
  friend void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }
};

class LinePicture : public LineDraw, public testing::WithParamInterface<LineCase> {};

TEST_P(LinePicture, SegmentsAndPointers) {
  Add(GetParam().points);
  EXPECT_EQ(Paint({2, 17, 21, 24}), GetParam().picture) << GetParam().name;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, LinePicture,
    testing::Values(
        // Every pointer lies on top of the segments on both of its sides.
        LineCase{"three points",                         {{5, 20}, {11, 20}, {17, 20}},
                 "...................\n"
                 ".BBBBB.BBBBB.BBBBB.\n"
                 ".BrrrB.BrrrB.BrrrB.\n"
                 ".BrrrBrBrrrBrBrrrB.\n"
                 ".BrrrB.BrrrB.BrrrB.\n"
                 ".BBBBB.BBBBB.BBBBB.\n"
                 "...................\n"},
        LineCase{"one point draws only its pointer",     {{11, 20}},
                 "...................\n"
                 ".......BBBBB.......\n"
                 ".......BrrrB.......\n"
                 ".......BrrrB.......\n"
                 ".......BrrrB.......\n"
                 ".......BBBBB.......\n"
                 "...................\n"},
        // The line stops at the point before the null one and starts again after it; the
        // null point itself gets no pointer.
        LineCase{"null point breaks the line",           {{5, 20}, {11, 0, clNone}, {17, 20}},
                 "...................\n"
                 ".BBBBB.......BBBBB.\n"
                 ".BrrrB.......BrrrB.\n"
                 ".BrrrB.......BrrrB.\n"
                 ".BrrrB.......BrrrB.\n"
                 ".BBBBB.......BBBBB.\n"
                 "...................\n"},
        LineCase{"points on one pixel add no segment",   {{5, 20}, {5.2, 20}, {11, 20}},
                 "...................\n"
                 ".BBBBB.BBBBB.......\n"
                 ".BrrrB.BrrrB.......\n"
                 ".BrrrBrBrrrB.......\n"
                 ".BrrrB.BrrrB.......\n"
                 ".BBBBB.BBBBB.......\n"
                 "...................\n"},
        // The segment ending at a point has that point's colour, and so has its pointer.
        LineCase{"segment takes its end point's colour", {{5, 20}, {11, 20, clBlue}, {17, 20}},
                 "...................\n"
                 ".BBBBB.BBBBB.BBBBB.\n"
                 ".BrrrB.BbbbB.BrrrB.\n"
                 ".BrrrBbBbbbBrBrrrB.\n"
                 ".BrrrB.BbbbB.BrrrB.\n"
                 ".BBBBB.BBBBB.BBBBB.\n"
                 "...................\n"},
        // A point too far off to draw is skipped: the line bridges it and the pointer drawn
        // for it stays at the last drawn position.
        LineCase{"point beyond the drawable range",      {{5, 20}, {11, 1e9}, {17, 20}},
                 "...................\n"
                 ".BBBBB.......BBBBB.\n"
                 ".BrrrB.......BrrrB.\n"
                 ".BrrrBrrrrrrrBrrrB.\n"
                 ".BrrrB.......BrrrB.\n"
                 ".BBBBB.......BBBBB.\n"
                 "...................\n"}),
    [](const testing::TestParamInfo<LineCase>& info) {
      std::string name;
      for (const char ch : std::string(info.param.name)) {
        if (ch == ' ') name += '_';
        if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
      }
      return name;
    });
// clang-format on

TEST_F(LineDraw, AfterAZoomTheLineEntersFromTheLeftEdgeAtTheInterpolatedHeight) {
  Add({{0, 30}, {10, 20}, {20, 10}, {30, 10}});
  // Values 15 ... 55 across: points 0 and 1 lie left of the range; the segment from point 1 to
  // point 2 crosses the edge at value 15, half way down to pixel row 25.
  SetXRange(15, 55);
  EXPECT_EQ(Paint({0, 24, 11, 34}),
            "B..........\n"
            "B..........\n"
            "Br.........\n"
            "B.r........\n"
            "B..BBBBB...\n"
            "B..BrrrB...\n"
            "B..BrrrBrrr\n"
            "B..BrrrB...\n"
            "B..BBBBB...\n"
            "B..........\n");
}

TEST_F(LineDraw, NoEntrySegmentFromANullPointLeftOfTheRange) {
  Add({{0, 30}, {10, 0, clNone}, {20, 10}, {30, 10}});
  SetXRange(15, 55);
  EXPECT_EQ(Paint({0, 24, 11, 34}),
            "B..........\n"
            "B..........\n"
            "B..........\n"
            "B..........\n"
            "B..BBBBB...\n"
            "B..BrrrB...\n"
            "B..BrrrBrrr\n"
            "B..BrrrB...\n"
            "B..BBBBB...\n"
            "B..........\n");
}

TEST_F(LineDraw, PointersOnTheRangeEndsAreHalfClipped) {
  Add({{0, 20}, {6, 20}, {34, 20}, {40, 20}});
  // Columns 0 and 40 are the outline of the plotting rectangle: no series pixel covers them,
  // so only the inner halves of the end pointers show.
  EXPECT_EQ(Paint({0, 17, 10, 24}),
            "B.........\n"
            "BBB.BBBBB.\n"
            "BrB.BrrrB.\n"
            "BrBrBrrrBr\n"
            "BrB.BrrrB.\n"
            "BBB.BBBBB.\n"
            "B.........\n");
  EXPECT_EQ(Paint({34, 17, 43, 24}),
            "......B..\n"
            "BBB.BBB..\n"
            "rrB.BrB..\n"
            "rrBrBrB..\n"
            "rrB.BrB..\n"
            "BBB.BBB..\n"
            "......B..\n");
}

TEST_F(LineDraw, AFirstPointTooFarOffNeverBridgesFromTheLastFrame) {
  Add({{0, 20}, {10, 20}, {20, 1e9}, {30, 20}});
  chart.PaintWindow();  // ends at point 3, pixel (30, 20)
  SetXRange(15, 55);    // point 2 is now the first visible one, and it cannot be drawn
  const std::string row = Paint({0, 20, 40, 21});
  // Only point 3's pointer (columns 13 ... 17) is on the row: no line from (30, 20).
  EXPECT_EQ(row, "B............BrrrB......................\n");
}

TEST_F(LineDraw, PerPointStyleAndHiddenLine) {
  Add({{5, 20}, {11, 20}, {17, 20}});
  series.OnGetPointerStyle = [](TChartSeries&, int index) {
    return index == 1 ? psNothing : psRectangle;
  };
  series.LinePen().SetVisible(false);
  EXPECT_EQ(Paint({2, 18, 21, 23}),
            ".BBBBB.......BBBBB.\n"
            ".BrrrB.......BrrrB.\n"
            ".BrrrB.......BrrrB.\n"
            ".BrrrB.......BrrrB.\n"
            ".BBBBB.......BBBBB.\n");
}

TEST(LineSeriesDefaults, NewSeriesHidesItsPointerAndKeepsNoMargins) {
  TLineSeries series;
  EXPECT_FALSE(series.Pointer().Visible());
  EXPECT_TRUE(series.ClickableLine());
  EXPECT_TRUE(series.LinePen().Visible());
  EXPECT_EQ(series.Pointer().Style(), psRectangle);
  EXPECT_EQ(series.Pointer().HorizSize(), 4);
  EXPECT_TRUE(series.Pointer().InflateMargins());
  EXPECT_FALSE(series.Marks().Visible());
  EXPECT_TRUE(series.DrawBetweenPoints());
}

struct MarginCase {
  bool visible;
  bool inflate;
  int horizSize;
  int vertSize;
  int horizMargin;
  int vertMargin;
};

TEST(LineSeriesMargins, RoomForHalfAPointerOnlyWhenVisibleAndInflating) {
  // clang-format off
  const MarginCase cases[] = {
      {true,  true,  4, 4, 5, 5},
      {true,  true,  2, 7, 3, 8},
      {true,  false, 4, 4, 0, 0},
      {false, true,  4, 4, 0, 0},
  };
  // clang-format on
  for (const MarginCase& c : cases) {
    TLineSeries series;
    series.Pointer().SetVisible(c.visible);
    series.Pointer().SetInflateMargins(c.inflate);
    series.Pointer().SetHorizSize(c.horizSize);
    series.Pointer().SetVertSize(c.vertSize);
    int left = -1, right = -1, top = -1, bottom = -1;
    series.CalcHorizMargins(left, right);
    series.CalcVertMargins(top, bottom);
    EXPECT_EQ(left, c.horizMargin);
    EXPECT_EQ(right, c.horizMargin);
    EXPECT_EQ(top, c.vertMargin);
    EXPECT_EQ(bottom, c.vertMargin);
  }
}

struct HitCase {
  int x;
  int y;
  bool pointer;
  bool clickableLine;
  int expected;
};

TEST_F(LineDraw, HitTestFindsPointersPointsAndSegments) {
  Add({{5, 20}, {11, 20}, {17, 26}});
  chart.PaintWindow();  // the hit test works on the positions of the last frame
  const HitCase cases[] = {
      {6, 21, true, true, 0},     // inside the first pointer (less than HorizSize off)
      {7, 20, true, true, 0},     // two pixels off is outside the pointer, but on the line
      {10, 20, true, true, 1},    // the pointer wins over the segment before it
      {7, 20, true, false, -1},   // the line does not answer unless clickable
      {14, 17, false, true, 1},   // on the slanted segment from point 1 to point 2
      {14, 18, false, true, -1},  // beside it
      {5, 20, false, true, 0},    // exactly on a point, pointer hidden
      {6, 21, false, true, -1},   // near a point is not on it without a pointer
      {20, 11, false, true, -1},  // beyond the last point, on the line's extension
      {30, 5, true, true, -1},
  };
  for (const HitCase& c : cases) {
    series.Pointer().SetVisible(c.pointer);
    series.SetClickableLine(c.clickableLine);
    EXPECT_EQ(series.Clicked(c.x, c.y), c.expected) << c.x << "," << c.y;
  }
  int clicked = -2;
  series.Pointer().SetVisible(true);
  series.OnClickPointer = [&](TCustomSeries&, int index, int, int) { clicked = index; };
  EXPECT_EQ(series.Clicked(17, 14), 2);
  EXPECT_EQ(clicked, 2);
}

}  // namespace
}  // namespace plotvik

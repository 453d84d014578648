#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"
#include "raster/bitmap.h"
#include "raster/color.h"
#include "tests/raster/raster_picture.h"

namespace plotvik {
namespace {

using testing::Picture;
using testing::SamePicture;

// A series that floods everything it may touch, to show where the plot clip lies.
class FloodSeries : public TChartSeries {
 public:
  void DrawValue(int) override {
    TChartCanvas3D& c = ParentChart()->Canvas3D();
    c.Brush().SetColor(clRed);
    c.Brush().SetStyle(bsSolid);
    c.FillArea({-100, -100, 5000, 5000});
  }
};

// A series that wants room beyond its data: 10 pixels left, 20 right, 5 above, 8 below.
class RoomySeries : public TChartSeries {
 public:
  void CalcHorizMargins(int& left, int& right) const override {
    left = 10;
    right = 20;
  }
  void CalcVertMargins(int& top, int& bottom) const override {
    top = 5;
    bottom = 8;
  }
};

// The chart as the viewer configures it: 2D, 623 x 379, titled bottom and left axes and one
// active series that may be empty.
class ChartPaint : public ::testing::Test {
 protected:
  ChartPaint() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    chart.BottomAxis().Title().SetCaption("X");
    chart.LeftAxis().Title().SetCaption("Y");
    series.SetSeriesColor(clBlue);
    series.SetParentChart(&chart);
    chart.OnAfterDraw = [this](TCustomAxisPanel&) { ++frames; };
  }
  ~ChartPaint() override { series.SetParentChart(nullptr); }

  TColor At(int x, int y) const { return chart.WindowImage().Pixel(x, y); }
  // Whether any pixel of the box (right and bottom exclusive) has the colour.
  bool AnyIn(const TRect& r, TColor color) const {
    for (int y = r.Top; y < r.Bottom; ++y) {
      for (int x = r.Left; x < r.Right; ++x) {
        if (At(x, y) == color) return true;
      }
    }
    return false;
  }
  int TextWidth(const std::string& text) {
    chart.Canvas3D().ApplyFont(chart.LeftAxis().LabelsFont());
    return chart.Canvas3D().TextWidthOf(text);
  }

  TCustomChart chart;
  FloodSeries series;
  int frames = 0;
  const TColor face = ColorToRGB(clBtnFace);
  const TColor grey = clGray;
};

TEST_F(ChartPaint, ChartRectangleStartsFromTheMargins) {
  TRect start;
  chart.OnBeforeDrawChart = [&](TCustomAxisPanel& c) { start = c.ChartRect(); };
  chart.PaintWindow();
  EXPECT_EQ(start, (TRect{19, 15, 604, 364}));
}

// The empty chart's layout and pixels, one rule a row: where the bands put the chart rectangle,
// the axes' positions, the pixels of the panel, outline, ticks and grid, and where text lies.
TEST_F(ChartPaint, EmptyChartShowsPanelOutlineAndBothAxesWithOneLabel) {
  chart.PaintWindow();
  ASSERT_EQ(chart.Canvas3D().FontLineHeight(), 13);

  // Title band 13, labels band: "0" plus a space on the left, one line at the bottom; ticks 7.
  const int left = 19 + 13 + TextWidth("0") + TextWidth(" ") + 7;
  const int bottom = 364 - 13 - 13 - 7;
  ASSERT_EQ(chart.ChartRect(), (TRect{left, 15, 604, bottom}));
  const TChartAxis& bx = chart.BottomAxis();
  const TChartAxis& ly = chart.LeftAxis();
  const int cx = (left + 604) / 2, cy = (15 + bottom) / 2;

  struct Position {
    const char* rule;
    std::vector<int> actual, expected;
  };
  // clang-format off
  const Position positions[] = {
      {"bottom axis centre between the rectangle's sides",  {bx.CenterPixel()},     {cx}},
      {"left axis centre between its top and bottom",        {ly.CenterPixel()},     {cy}},
      {"one bottom tick, at the centre",                     bx.TickPositions(),     {cx}},
      {"one left tick, at the centre",                       ly.TickPositions(),     {cy}},
      {"bottom axis line on the rectangle's bottom",         {bx.LinePos()},         {bottom}},
      {"left axis line on the rectangle's left",             {ly.LinePos()},         {left}},
      {"bottom labels below the ticks",                      {bx.LabelsPos()},       {bottom + 7}},
      {"bottom title below one line of labels",              {bx.TitlePos()},        {bottom + 7 + 13}},
      {"left title a band's width right of the margin",      {ly.TitlePos()},        {19 + 13}},
  };
  // clang-format on
  for (const Position& p : positions) EXPECT_EQ(p.actual, p.expected) << p.rule;

  struct Pixel {
    const char* rule;
    int x, y;
    TColor colour;
  };
  const TColor highlight = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
  // clang-format off
  const Pixel pixels[] = {
      // Panel fill and the one-pixel raised bevel on the outermost pixels.
      {"bevel: top-left is highlight",                           0,        0,          highlight},
      {"bevel: the left edge is highlight down to the last row", 0,        377,        highlight},
      {"bevel: the bottom row is shadow from the left",          0,        378,        shadow},
      {"bevel: the right column is shadow from the top",         622,      0,          shadow},
      {"bevel: bottom-right is shadow",                          622,      378,        shadow},
      {"panel: face inside the bevel",                           1,        1,          face},
      {"panel: face between the bands",                          200,      100,        face},
      // The outline on the chart rectangle's own coordinates, the axis lines over two edges.
      {"outline: top edge on the rectangle's top",               300,      15,         clBlack},
      {"outline: right edge on the rectangle's right",           604,      100,        clBlack},
      {"left axis line over the outline's left edge",            left,     100,        clBlack},
      {"bottom axis line over the outline's bottom edge",        300,      bottom,     clBlack},
      {"outline: nothing above the top edge",                    300,      14,         face},
      {"outline: nothing right of the right edge",               605,      100,        face},
      // Ticks: grey, pointing out of the chart from one pixel off the axis line, 4 long.
      {"bottom tick: two below the axis line",            cx,       bottom + 2, grey},
      {"bottom tick: reaches four below it",                     cx,       bottom + 4, grey},
      {"bottom tick: stops there",                               cx,       bottom + 5, face},
      {"left tick: two left of the axis line",            left - 2, cy,         grey},
      {"left tick: reaches four left of it",                     left - 4, cy,         grey},
      {"left tick: stops there",                                 left - 5, cy,         face},
      // Dotted grid lines from one pixel inside the outline: three on, three off.
      {"vertical grid: on from one inside the outline",          cx,       16,         grey},
      {"vertical grid: three on",                                cx,       18,         grey},
      {"vertical grid: then off",                                cx,       19,         face},
      {"horizontal grid: on from one inside the outline",        left + 1, cy,         grey},
      {"horizontal grid: off after three",                       left + 4, cy,         face},
  };
  // clang-format on
  for (const Pixel& p : pixels) EXPECT_EQ(At(p.x, p.y), p.colour) << p.rule;

  // Around the bottom tick, as a picture ('#' black, 'g' grey, 'f' face): the axis line two
  // pixels thick with the grid's last dot over its inner row, the tick's four pixels from the
  // line out, then the labels' band.
  Picture foot;
  for (int y = bottom - 1; y <= bottom + 5; ++y) {
    std::string row;
    for (int x = cx - 1; x <= cx + 1; ++x) {
      const TColor p = At(x, y);
      row += p == clBlack ? '#' : p == grey ? 'g' : p == face ? 'f' : '?';
    }
    foot.push_back(row);
  }
  EXPECT_TRUE(SamePicture(foot, {"#g#", "###", "fgf", "fgf", "fgf", "fgf", "fff"}));

  struct Ink {
    const char* rule;
    TRect box;
    bool black;
  };
  // clang-format off
  const Ink inks[] = {
      {"the label \"0\" under the bottom tick",  {cx - 6, bottom + 7, cx + 6, bottom + 20},           true},
      {"the label \"0\" left of the left tick",  {left - 7 - TextWidth("0"), cy - 6, left - 7, cy + 7}, true},
      {"one bottom label only",                  {cx + 8, bottom + 7, 600, bottom + 20},              false},
      {"the bottom title in its band",           {cx - 8, bottom + 20, cx + 8, bottom + 33},          true},
      {"the left title in its band",             {19, cy - 8, 32, cy + 8},                            true},
      {"nothing in the left title band above it", {19, 15, 32, cy - 10},                              false},
  };
  // clang-format on
  for (const Ink& i : inks) EXPECT_EQ(AnyIn(i.box, clBlack), i.black) << i.rule;
}

TEST_F(ChartPaint, DepthAxisOfA3DChartTakesNoRoomAndDrawsNothing) {
  chart.PaintWindow();
  const TRect flat = chart.ChartRect();
  chart.SetView3D(true);
  chart.DepthAxis().SetVisible(true);
  ASSERT_TRUE(chart.DepthAxis().IsVisible());
  chart.PaintWindow();
  EXPECT_EQ(chart.ChartRect(), flat);
  EXPECT_TRUE(chart.DepthAxis().TickPositions().empty());
}

TEST_F(ChartPaint, SingleRecordSitsAtTheCentreOfBothAxes) {
  std::vector<std::string> texts;
  chart.OnGetAxisLabel = [&](TChartAxis&, TChartSeries*, int, std::string& t) {
    texts.push_back(t);
  };
  series.AddPoint(2.5, 1.3);
  chart.PaintWindow();
  const TChartAxis& bx = chart.BottomAxis();
  const TChartAxis& ly = chart.LeftAxis();
  EXPECT_EQ(bx.TickPositions(), std::vector<int>{bx.CenterPixel()});
  EXPECT_EQ(ly.TickPositions(), std::vector<int>{ly.CenterPixel()});
  EXPECT_EQ(series.PointX(0), bx.CenterPixel());
  EXPECT_EQ(series.PointY(0), ly.CenterPixel());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "2.5"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "1.3"), texts.end());
}

TEST_F(ChartPaint, MinorTicksFallBetweenTicksAndTheAxisBandIsHit) {
  TChartSeries points;  // draws nothing itself; the empty flood series stays empty
  points.SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) points.AddPoint(i, i);
  chart.PaintWindow();
  points.SetParentChart(nullptr);
  const TChartAxis& bx = chart.BottomAxis();
  const std::vector<int>& t = bx.TickPositions();
  ASSERT_EQ(t.size(), 11u);
  EXPECT_EQ(t.front(), bx.PosOfValue(10)) << "labels from the largest value down";
  const int line = bx.LinePos();
  const int middleMinor = t[1] - static_cast<int>(std::nearbyint(2 * (t[1] - t[0]) / 4.0));
  EXPECT_EQ(At(t[1], line + 4), grey);
  EXPECT_EQ(At(middleMinor, line + 2), grey);
  EXPECT_EQ(At(middleMinor, line + 3), face);
  EXPECT_EQ(At(middleMinor, 100), face) << "no minor grid";

  // The hit band: 3 pixels into the plot down to the labels' inner edge, along the axis.
  const int x = (t[2] + t[3]) / 2;
  EXPECT_TRUE(bx.AxisHitTest(x, line - 3));
  EXPECT_FALSE(bx.AxisHitTest(x, line - 4));
  EXPECT_TRUE(bx.AxisHitTest(x, bx.LabelsPos() - 1));
  EXPECT_FALSE(bx.AxisHitTest(x, bx.LabelsPos()));
  EXPECT_FALSE(bx.AxisHitTest(bx.EndPixel(), line));
  EXPECT_FALSE(chart.TopAxis().AxisHitTest(x, chart.ChartRect().Top));
}

TEST_F(ChartPaint, SeriesMarginsPutTheDataEndsInsideTheAxes) {
  RoomySeries roomy;
  roomy.SetParentChart(&chart);
  roomy.AddPoint(0, 0);
  roomy.AddPoint(10, 100);
  chart.PaintWindow();
  const TChartAxis& bx = chart.BottomAxis();
  const TChartAxis& ly = chart.LeftAxis();
  EXPECT_EQ(bx.PosOfValue(0), bx.StartPixel() + 10);
  EXPECT_EQ(bx.PosOfValue(10), bx.EndPixel() - 20);
  EXPECT_EQ(ly.PosOfValue(100), ly.StartPixel() + 5);
  EXPECT_EQ(ly.PosOfValue(0), ly.EndPixel() - 8);

  // A manual end keeps its value at the axis end.
  chart.BottomAxis().SetAutomaticMinimum(false);
  chart.BottomAxis().SetMinimum(0);
  chart.Repaint();
  chart.Update();
  EXPECT_EQ(bx.PosOfValue(0), bx.StartPixel());
  EXPECT_EQ(bx.PosOfValue(10), bx.EndPixel() - 20);
  roomy.SetParentChart(nullptr);
}

TEST_F(ChartPaint, SeriesAreClippedToTheInsideOfTheOutline) {
  series.AddPoint(1, 1);
  chart.PaintWindow();
  const TRect r = chart.ChartRect();
  EXPECT_EQ(At(r.Left + 1, r.Top + 1), clRed);
  EXPECT_EQ(At(r.Right - 1, r.Bottom - 1), clRed);
  EXPECT_EQ(At(300, r.Top), clBlack);
  EXPECT_EQ(At(r.Right, 100), clBlack);
  EXPECT_EQ(At(300, r.Bottom), clBlack);
  EXPECT_EQ(At(r.Left, 100), clBlack);
  EXPECT_EQ(At(5, 5), face);
  EXPECT_EQ(At(r.Right + 1, 100), face);
}

TEST_F(ChartPaint, ExtremeDataStillGivesASaneFrame) {
  const double big = 1.7e308;
  const std::vector<std::vector<std::pair<double, double>>> sets = {
      {{-big, -big}, {big, big}},       // spans beyond the double range
      {{0, 1e-300}, {1e-300, 2e-300}},  // spans far below one pixel's worth
      {{1e15, 1}, {1e15 + 0.5, 2}},     // a step the value can hardly resolve
      {{5, 5}, {5, 5}, {5, 5}},         // every point the same
  };
  for (const auto& points : sets) {
    series.ClearPoints();
    for (const auto& [x, y] : points) series.AddPoint(x, y);
    chart.Repaint();
    chart.Update();
    for (const TChartAxis* axis : {&chart.BottomAxis(), &chart.LeftAxis()}) {
      EXPECT_LE(axis->TickPositions().size(), 100u);
      // An infinite span has no step: no "NAN" label either.
      if (points.front().first == -big) {
        EXPECT_TRUE(axis->TickPositions().empty());
      }
    }
    const TRect r = chart.ChartRect();
    EXPECT_TRUE(r.Left > 19 && r.Right <= 604 && r.Bottom < 364) << points.front().first;
  }
}

TEST_F(ChartPaint, ManyRepaintRequestsMakeOneFrame) {
  chart.Update();
  EXPECT_EQ(frames, 1);
  chart.PaintWindow();
  EXPECT_EQ(frames, 1) << "a valid buffer answers the paint";

  chart.Repaint();
  series.AddPoint(1, 2);
  chart.LeftAxis().SetIncrement(0.5);
  EXPECT_TRUE(chart.PaintPending());
  chart.Update();
  chart.Update();
  EXPECT_EQ(frames, 2);

  // A change made while drawing does not ask for another frame of itself.
  chart.OnBeforeDrawAxes = [](TCustomAxisPanel& c) { c.BottomAxis().Title().SetCaption("Z"); };
  chart.Repaint();
  chart.Update();
  EXPECT_EQ(frames, 3);
  EXPECT_FALSE(chart.PaintPending());
}

TEST_F(ChartPaint, ResizeDrawsAWholeNewFrame) {
  chart.Update();
  chart.SetBounds(0, 0, 624, 379);
  chart.Update();
  EXPECT_EQ(frames, 2);
  ASSERT_NE(chart.Canvas3D().Bitmap(), nullptr);
  EXPECT_EQ(chart.Canvas3D().Bitmap()->Width(), 624);
  EXPECT_EQ(At(623, 100), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(622, 100), face);
}

TEST_F(ChartPaint, AnySizeDrawsIntoABufferWithoutAWindow) {
  series.AddPoint(0, 0);
  series.AddPoint(1, 1);
  for (const TSize size :
       {TSize{1, 1}, TSize{3, 2}, TSize{20, 12}, TSize{90, 40}, TSize{1200, 900}}) {
    TBitmap target(size.cx, size.cy, clWhite);
    chart.Draw(target.Canvas(), target.Bounds());
    const TRect r = chart.ChartRect();
    EXPECT_GE(r.Right - r.Left, 1) << size.cx << "x" << size.cy;
    EXPECT_GE(r.Bottom - r.Top, 1) << size.cx << "x" << size.cy;
    // Below a few dozen pixels the axes run over the bevel; above, the frame is whole.
    if (size.cx >= 90) {
      EXPECT_EQ(target.Pixel(0, 0), ColorToRGB(clBtnHighlight));
    }
  }
}

TEST_F(ChartPaint, WindowGetsItsOwnFrameAfterAPictureOfAnotherSize) {
  chart.PaintWindow();
  TBitmap picture(90, 40, clWhite);
  chart.Draw(picture.Canvas(), picture.Bounds());
  chart.PaintWindow();
  EXPECT_EQ(frames, 3);
  EXPECT_EQ(At(622, 378), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(89, 39), face);
}

TEST_F(ChartPaint, NewSeriesTakeTheFirstFreePaletteColour) {
  TChartSeries a, b;
  a.SetParentChart(&chart);
  EXPECT_EQ(a.SeriesColor(), clRed);
  b.SetParentChart(&chart);
  EXPECT_EQ(b.SeriesColor(), clGreen);
  a.SetParentChart(nullptr);
  b.SetParentChart(nullptr);
  chart.SetColor(clRed);
  a.SetSeriesColor(clDefault);
  a.SetParentChart(&chart);
  EXPECT_EQ(a.SeriesColor(), clGreen) << "never the panel colour";
  a.SetParentChart(nullptr);
}

}  // namespace
}  // namespace plotvik

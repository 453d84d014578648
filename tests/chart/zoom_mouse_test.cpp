#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_zoom.h"
#include "chart/custom_chart.h"
#include "chart/line_series.h"
#include "raster/bitmap.h"
#include "raster/color.h"

namespace plotvik {
namespace {

struct AxisRange {
  bool automatic;
  double minimum;
  double maximum;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

std::ostream& operator<<(std::ostream& out, const AxisRange& r) {
  return out << (r.automatic ? "auto " : "fixed ") << r.minimum << " ... " << r.maximum;
}

AxisRange RangeOf(const TChartAxis& axis) {
  return {axis.Automatic(), axis.Minimum(), axis.Maximum()};
}

// A viewer chart of 623 x 379 pixels with eleven points (0, 0) ... (10, 10), painted once so
// that the mouse works on the layout of a drawn frame.
class Zoom : public testing::Test {
 protected:
  Zoom() {
    chart.SetView3D(false);
    chart.SetBounds(0, 0, 623, 379);
    chart.BottomAxis().Title().SetCaption("Parameter");
    chart.LeftAxis().Title().SetCaption("SWR");
    Mouse().SetAllowPanning(pmNone);
    series.SetSeriesColor(clRed);
    series.Pointer().SetVisible(true);
    series.Pointer().SetHorizSize(2);
    series.Pointer().SetVertSize(2);
    series.Pointer().SetInflateMargins(false);
    series.SetParentChart(&chart);
    for (int i = 0; i <= 10; ++i) series.AddPoint(i, i);
    Mouse().OnZoom = [this](TCustomChart&) { ++zooms; };
    Mouse().OnUndoZoom = [this](TCustomChart&) { ++undos; };
    chart.PaintWindow();
  }
  ~Zoom() override { series.SetParentChart(nullptr); }

  void Drag(int x0, int y0, int x1, int y1, TMouseButton button = mbLeft, TShiftState shift = {}) {
    chart.DispatchMouseDown(button, shift, x0, y0);
    chart.DispatchMouseMove(shift, x1, y1);
    chart.DispatchMouseUp(button, shift, x1, y1);
    chart.Update();
  }
  std::vector<TRGB> Window() const {
    const auto pixels = chart.WindowImage().Pixels();
    return {pixels.begin(), pixels.end()};
  }
  std::vector<TRGB> Buffer() const {
    const auto pixels = chart.Canvas3D().Bitmap()->Pixels();
    return {pixels.begin(), pixels.end()};
  }
  AxisRange Bottom() const { return RangeOf(chart.BottomAxis()); }
  AxisRange Left() const { return RangeOf(chart.LeftAxis()); }

  TChartMouseHandler& Mouse() const { return chart.MouseHandler(); }

  TCustomChart chart;
  TLineSeries series;
  int zooms = 0;
  int undos = 0;
};

TEST_F(Zoom, ADragMustGoFurtherThanMinimumPixelsBothWays) {
  const AxisRange bottom = Bottom(), left = Left();
  ASSERT_EQ(bottom, (AxisRange{true, 0, 10}));
  ASSERT_TRUE(chart.ChartRect().Contains(100, 100));
  ASSERT_TRUE(chart.ChartRect().Contains(117, 200));

  for (const TPoint end : {TPoint{116, 200}, TPoint{117, 116}, TPoint{100, 100}}) {
    Drag(100, 100, end.X, end.Y);
    EXPECT_EQ(Bottom(), bottom) << end.X << "," << end.Y;
    EXPECT_EQ(Left(), left);
    EXPECT_FALSE(Mouse().Zoomed());
    EXPECT_FALSE(chart.PaintPending());
  }
  EXPECT_EQ(zooms + undos, 0);

  const TChartAxis& bx = chart.BottomAxis();
  const TChartAxis& ly = chart.LeftAxis();
  const AxisRange zoomedBottom{false, bx.ValueOfPos(100), bx.ValueOfPos(117)};
  const AxisRange zoomedLeft{false, ly.ValueOfPos(200), ly.ValueOfPos(100)};
  chart.DispatchMouseDown(mbLeft, {}, 100, 100);
  chart.DispatchMouseMove({}, 117, 200);
  chart.DispatchMouseUp(mbLeft, {}, 117, 200);
  EXPECT_TRUE(chart.PaintPending());
  EXPECT_EQ(Bottom(), zoomedBottom);
  EXPECT_EQ(Left(), zoomedLeft);
  EXPECT_FALSE(bx.AutomaticMinimum() || bx.AutomaticMaximum());
  EXPECT_TRUE(Mouse().Zoomed());
  EXPECT_EQ(zooms, 1);
  // The top and right axes are set too, from their own (empty) mapping.
  EXPECT_FALSE(chart.TopAxis().Automatic());
  EXPECT_FALSE(chart.RightAxis().Automatic());
}

TEST_F(Zoom, EveryOtherDirectionUndoes) {
  struct Case {
    TPoint from, to;
  };
  // clang-format off
  const Case cases[] = {
      {{300, 300}, {100, 100}},
      {{100, 300}, {300, 100}},
      {{300, 100}, {100, 300}},
  };
  // clang-format on
  for (const Case& c : cases) {
    Drag(150, 150, 250, 250);
    ASSERT_TRUE(Mouse().Zoomed());
    ASSERT_FALSE(Bottom().automatic);
    Drag(c.from.X, c.from.Y, c.to.X, c.to.Y);
    EXPECT_FALSE(Mouse().Zoomed());
    EXPECT_EQ(Bottom(), (AxisRange{true, 0, 10}));
    EXPECT_EQ(Left(), (AxisRange{true, 0, 10}));
    EXPECT_TRUE(chart.TopAxis().Automatic());
    EXPECT_TRUE(chart.RightAxis().Automatic());
  }
  EXPECT_EQ(zooms, 3);
  EXPECT_EQ(undos, 3);
}

TEST_F(Zoom, UndoReturnsToTheStateBeforeTheFirstZoom) {
  // Fixed ranges before the first zoom come back as they were, automatic ends included.
  chart.LeftAxis().SetAutomaticMaximum(false);
  chart.LeftAxis().SetMaximum(20);
  chart.PaintWindow();
  const AxisRange left = Left();
  ASSERT_EQ(left, (AxisRange{false, 0, 20}));

  Drag(150, 150, 350, 300);
  const AxisRange firstZoom = Bottom();
  Drag(200, 200, 300, 280);
  EXPECT_NE(Bottom(), firstZoom);
  Drag(300, 300, 100, 100);
  EXPECT_EQ(Bottom(), (AxisRange{true, 0, 10}));
  EXPECT_EQ(Left(), left);
  EXPECT_TRUE(chart.LeftAxis().AutomaticMinimum());
  EXPECT_FALSE(chart.LeftAxis().AutomaticMaximum());

  // Another zoom takes a new snapshot.
  Drag(150, 150, 350, 300);
  Drag(300, 300, 100, 100);
  EXPECT_EQ(Left(), left);
}

TEST_F(Zoom, UndoWithoutZoomChangesNothingButRepaints) {
  const AxisRange bottom = Bottom(), left = Left();
  chart.LeftAxis().SetAutomatic(false);
  chart.Update();
  ASSERT_FALSE(chart.PaintPending());
  chart.DispatchMouseDown(mbLeft, {}, 300, 300);
  chart.DispatchMouseMove({}, 100, 100);
  chart.DispatchMouseUp(mbLeft, {}, 100, 100);
  EXPECT_TRUE(chart.PaintPending());
  EXPECT_EQ(undos, 1);
  EXPECT_EQ(Bottom(), bottom);
  EXPECT_EQ(Left(), (AxisRange{false, left.minimum, left.maximum}));
}

TEST_F(Zoom, PressesThatStartNoDrag) {
  const TRect rect = chart.ChartRect();
  // Outside the chart rectangle and every axis band; the right button (panning is off).
  chart.DispatchMouseDown(mbLeft, {}, 5, 5);
  EXPECT_FALSE(Mouse().Zoom().Active());
  chart.DispatchMouseUp(mbLeft, {}, 5, 5);
  Drag(rect.Right + 5, 100, 300, 300);
  Drag(100, 100, 300, 300, mbRight);
  EXPECT_FALSE(Mouse().Panning().Active());
  EXPECT_FALSE(Mouse().Zoomed());
  EXPECT_EQ(Bottom(), (AxisRange{true, 0, 10}));

  // A series that is not active leaves nothing to press on inside the rectangle.
  series.SetActive(false);
  chart.PaintWindow();
  chart.DispatchMouseDown(mbLeft, {}, 200, 200);
  EXPECT_FALSE(Mouse().Zoom().Active());
  chart.DispatchMouseUp(mbLeft, {}, 200, 200);
}

TEST_F(Zoom, APressOnAnAxisBandStartsTheDrag) {
  const int y = chart.ChartRect().Bottom + 2;  // on the ticks, below the outline
  chart.DispatchMouseDown(mbLeft, {}, 200, y);
  EXPECT_TRUE(Mouse().Zoom().Active());
  EXPECT_EQ(Mouse().Zoom().X0(), 200);
  EXPECT_EQ(Mouse().Zoom().Y0(), y);
  chart.DispatchMouseUp(mbLeft, {}, 200, y);
  EXPECT_FALSE(Mouse().Zoom().Active());

  TChartAxis* clicked = nullptr;
  Mouse().OnClickAxis = [&](TCustomChart&, TChartAxis& axis, TMouseButton, TShiftState, int, int) {
    clicked = &axis;
    Mouse().SetCancelMouse(false);
  };
  chart.DispatchMouseDown(mbLeft, {}, 200, y);
  EXPECT_EQ(clicked, &chart.BottomAxis());
  EXPECT_TRUE(Mouse().Zoom().Active());
  chart.DispatchMouseUp(mbLeft, {}, 200, y);
}

TEST_F(Zoom, SeriesAnswerTheMouseOnlyWhenSomebodyAsks) {
  const int x = series.PointX(5), y = series.PointY(5);
  // No series cursor and no click event: the chart keeps its cursor and the press drags.
  chart.DispatchMouseMove({}, x, y);
  EXPECT_EQ(chart.Cursor(), crDefault);

  series.SetCursor(crHourGlass);
  chart.DispatchMouseMove({}, x, y);
  EXPECT_EQ(chart.Cursor(), crHourGlass);
  chart.DispatchMouseMove({}, x, y - 30);
  EXPECT_EQ(chart.Cursor(), crDefault);

  int clickedIndex = -1;
  Mouse().OnClickSeries = [&](TCustomChart&, TChartSeries& s, int index, TMouseButton, TShiftState,
                              int, int) {
    EXPECT_EQ(&s, &series);
    clickedIndex = index;
  };
  chart.DispatchMouseDown(mbLeft, {}, x, y);
  EXPECT_EQ(clickedIndex, 5);
  EXPECT_FALSE(Mouse().Zoom().Active());  // the handler left the cancel flag set
  chart.DispatchMouseUp(mbLeft, {}, x, y);
  // Off the series the press is on the background and drags.
  chart.DispatchMouseDown(mbLeft, {}, x, y - 30);
  EXPECT_EQ(clickedIndex, 5);
  EXPECT_TRUE(Mouse().Zoom().Active());
  chart.DispatchMouseUp(mbLeft, {}, x, y - 30);
}

TEST_F(Zoom, AClickHandlerThatKeepsTheCancelFlagStopsTheDrag) {
  for (const bool keep : {true, false}) {
    int clicks = 0;
    Mouse().OnClickBackground = [&](TCustomChart&, TMouseButton, TShiftState, int, int) {
      ++clicks;
      EXPECT_TRUE(Mouse().CancelMouse());
      if (!keep) Mouse().SetCancelMouse(false);
    };
    chart.DispatchMouseDown(mbLeft, {}, 200, 200);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Mouse().Zoom().Active(), !keep);
    chart.DispatchMouseUp(mbLeft, {}, 200, 200);
  }
}

TEST_F(Zoom, KeysAndButtonAndDirectionOfTheZoomSettings) {
  TChartZoom& zoom = Mouse().Zoom();
  zoom.SetKeyShift({ssCtrl});
  chart.DispatchMouseDown(mbLeft, {ssShift}, 200, 200);
  EXPECT_FALSE(zoom.Active());
  chart.DispatchMouseUp(mbLeft, {ssShift}, 200, 200);
  chart.DispatchMouseDown(mbLeft, {ssCtrl, ssShift}, 200, 200);
  EXPECT_TRUE(zoom.Active());
  chart.DispatchMouseUp(mbLeft, {ssCtrl, ssShift}, 200, 200);
  zoom.SetKeyShift({});

  zoom.SetAllow(false);
  Drag(150, 150, 300, 300);
  EXPECT_FALSE(Mouse().Zoomed());
  zoom.SetAllow(true);

  // A horizontal zoom spans the chart rectangle's full height whatever the mouse does.
  const TRect rect = chart.ChartRect();
  const AxisRange fullLeft{false, chart.LeftAxis().ValueOfPos(rect.Bottom),
                           chart.LeftAxis().ValueOfPos(rect.Top)};
  zoom.SetDirection(tzdHorizontal);
  chart.DispatchMouseDown(mbLeft, {}, 150, 200);
  EXPECT_EQ(zoom.Y0(), rect.Top);
  EXPECT_EQ(zoom.Y1(), rect.Bottom);
  chart.DispatchMouseMove({}, 300, 205);
  EXPECT_EQ(zoom.Y1(), rect.Bottom);
  chart.DispatchMouseUp(mbLeft, {}, 300, 205);
  EXPECT_TRUE(Mouse().Zoomed());
  EXPECT_EQ(Left(), fullLeft);
}

TEST_F(Zoom, TheWheelScrollsTheVerticalAxesByThreePercentANotch) {
  chart.DispatchMouseWheel({}, -3 * 120, 200, 200);
  EXPECT_NEAR(chart.LeftAxis().Minimum(), 0.9, 1e-9);
  EXPECT_NEAR(chart.LeftAxis().Maximum(), 10.9, 1e-9);
  EXPECT_FALSE(chart.LeftAxis().Automatic());
  EXPECT_EQ(Bottom(), (AxisRange{true, 0, 10}));
  EXPECT_FALSE(Mouse().Zoomed());
  EXPECT_TRUE(chart.PaintPending());

  // Wheel units below a notch wait for the next movement.
  chart.DispatchMouseWheel({}, 60, 200, 200);
  EXPECT_NEAR(chart.LeftAxis().Minimum(), 0.9, 1e-9);
  chart.DispatchMouseWheel({}, 60, 200, 200);
  EXPECT_NEAR(chart.LeftAxis().Minimum(), 0.6, 1e-9);

  SetChartMouseWheelEnabled(false);
  chart.DispatchMouseWheel({}, 120, 200, 200);
  SetChartMouseWheelEnabled(true);
  EXPECT_NEAR(chart.LeftAxis().Minimum(), 0.6, 1e-9);
}

// An empty chart and a flat curve both give the left axis a span of 0: a notch there moves
// nothing, and the axis keeps following the data that come later.
TEST_F(Zoom, ANotchOverAZeroSpanLeavesTheAxisAutomatic) {
  for (const bool empty : {true, false}) {
    series.ClearPoints();
    if (!empty) {
      for (int i = 0; i <= 10; ++i) series.AddPoint(i, 7);
    }
    chart.Update();
    ASSERT_EQ(chart.LeftAxis().Maximum(), chart.LeftAxis().Minimum());
    chart.DispatchMouseWheel({}, -120, 200, 200);
    chart.DispatchMouseWheel({}, 120, 200, 200);
    EXPECT_TRUE(chart.LeftAxis().Automatic()) << empty;
    EXPECT_TRUE(chart.LeftAxis().AutomaticMinimum()) << empty;
    EXPECT_TRUE(chart.LeftAxis().AutomaticMaximum()) << empty;
    series.ClearPoints();
    for (int i = 0; i <= 10; ++i) series.AddPoint(i, 13 + i);
    chart.Update();
    EXPECT_EQ(Left(), (AxisRange{true, 13, 23})) << empty;
  }
}

TEST_F(Zoom, UndoAfterScrollingRestoresTheSnapshotFromBeforeTheZoom) {
  Drag(150, 150, 350, 300);
  chart.DispatchMouseWheel({}, -3 * 120, 200, 200);
  chart.Update();
  Drag(300, 300, 100, 100);
  EXPECT_EQ(Left(), (AxisRange{true, 0, 10}));
  EXPECT_EQ(Bottom(), (AxisRange{true, 0, 10}));
}

TEST_F(Zoom, AZoomSurvivesARefillOfTheSeries) {
  Drag(150, 150, 350, 300);
  const AxisRange bottom = Bottom(), left = Left();
  series.ClearPoints();
  for (int i = 0; i <= 20; ++i) series.AddPoint(i, 2 * i);
  chart.Update();
  EXPECT_EQ(Bottom(), bottom);
  EXPECT_EQ(Left(), left);
  EXPECT_TRUE(Mouse().Zoomed());
}

// The rubber band lives on the window only: XOR-drawn over the last frame, white over the
// panel colour, gone without a trace when the drag is too short, never in the buffer.
TEST_F(Zoom, TheBandIsWhiteOnTheWindowAndLeavesNoTrace) {
  const TColor face = ColorToRGB(chart.Color());
  const std::vector<TRGB> window = Window();
  const std::vector<TRGB> buffer = Buffer();
  const TBitmap& image = chart.WindowImage();
  const int width = image.Width();

  chart.DispatchMouseDown(mbLeft, {}, 100, 100);
  chart.DispatchMouseMove({}, 180, 150);
  chart.DispatchMouseMove({}, 110, 112);  // back inside the minimum: still drawn
  chart.DispatchMouseMove({}, 200, 160);
  const TRect band{100, 100, 200, 160};
  int whiteOnFace = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < width; ++x) {
      const TColor before = PixelToColor(window[static_cast<size_t>(y * width + x)]);
      const bool onOutline = band.Contains(x, y) && (x == band.Left || x == band.Right - 1 ||
                                                     y == band.Top || y == band.Bottom - 1);
      if (!onOutline) {
        ASSERT_EQ(image.Pixel(x, y), before) << x << "," << y;
      } else if (before == face) {
        ASSERT_EQ(image.Pixel(x, y), clWhite) << x << "," << y;
        ++whiteOnFace;
      } else {
        ASSERT_NE(image.Pixel(x, y), before) << x << "," << y;
      }
    }
  }
  EXPECT_GT(whiteOnFace, 100);
  EXPECT_EQ(Buffer(), buffer);
  EXPECT_FALSE(chart.PaintPending());

  chart.DispatchMouseMove({}, 105, 180);
  chart.DispatchMouseUp(mbLeft, {}, 110, 180);
  EXPECT_EQ(Window(), window);
  EXPECT_EQ(Buffer(), buffer);
  EXPECT_FALSE(chart.PaintPending());
  EXPECT_EQ(chart.Canvas3D().Pen().Mode(), pmCopy);
}

TEST_F(Zoom, TheBandCoversExactlyTheRectangleOutline) {
  struct Corners {
    int x0, y0, x1, y1;
  };
  const std::vector<TRGB> window = Window();
  TChartZoom& zoom = Mouse().Zoom();
  for (const int penWidth : {1, 3}) {
    zoom.Pen().SetWidth(penWidth);
    for (const Corners& c :
         {Corners{100, 100, 200, 160}, Corners{200, 160, 100, 100}, Corners{100, 100, 101, 160},
          Corners{100, 100, 200, 101}, Corners{100, 100, 101, 101}, Corners{100, 100, 102, 102},
          Corners{100, 100, 103, 103}, Corners{100, 100, 103, 160}, Corners{100, 100, 100, 160}}) {
      zoom.SetStart(c.x0, c.y0);
      zoom.SetEnd(c.x1, c.y1);
      Mouse().DrawZoomRectangle();
      const int w = std::abs(c.x1 - c.x0), h = std::abs(c.y1 - c.y0);
      if (w > 0 && h > 0 && w + h > 2) {
        EXPECT_NE(Window(), window) << c.x1 << "," << c.y1;
      }
      // The surface keeps the band's pen and brush: the rectangle drawn with them XORs it away
      // only if the band was exactly its outline.
      chart.Canvas3D().DrawRectangle(c.x0, c.y0, c.x1, c.y1);
      if (Window() != window) {
        ADD_FAILURE() << "pen " << penWidth << ": " << c.x1 << "," << c.y1;
        chart.Repaint();
        chart.Update();
      }
    }
  }
}

// An error box that comes up mid-drag takes the mouse away: the drag ends there, its band gone,
// and the release after the box zooms nothing.
TEST_F(Zoom, ACancelledCaptureEndsTheDragWithoutATrace) {
  const std::vector<TRGB> window = Window();
  for (const bool frameDuringDrag : {false, true}) {
    chart.DispatchMouseDown(mbLeft, {}, 100, 100);
    chart.DispatchMouseMove({}, 200, 160);
    if (frameDuringDrag) {
      chart.Repaint();
      chart.Update();
    }
    ASSERT_EQ(TCustomPanel::CapturePanel(), &chart);
    TCustomPanel::CancelCapture();
    EXPECT_EQ(TCustomPanel::CapturePanel(), nullptr);
    EXPECT_FALSE(chart.MouseCapture());
    EXPECT_FALSE(Mouse().Zoom().Active());
    EXPECT_EQ(chart.Canvas3D().Pen().Mode(), pmCopy);
    chart.Update();
    EXPECT_EQ(Window(), window) << frameDuringDrag;
    chart.DispatchMouseMove({}, 300, 250);
    chart.DispatchMouseUp(mbLeft, {}, 300, 250);
    chart.Update();
    EXPECT_EQ(zooms, 0);
    EXPECT_EQ(Left(), (AxisRange{true, 0, 10}));
    EXPECT_EQ(Window(), window) << frameDuringDrag;
  }
}

TEST_F(Zoom, AFrameDrawnDuringTheDragEndsWithTheBand) {
  const std::vector<TRGB> window = Window();
  chart.DispatchMouseDown(mbLeft, {}, 100, 100);
  chart.DispatchMouseMove({}, 200, 160);
  const std::vector<TRGB> dragging = Window();
  chart.Repaint();
  chart.Update();
  EXPECT_EQ(Window(), dragging);
  // The mouse is captured: leaving the window keeps the drag.
  chart.DispatchMouseLeave();
  EXPECT_TRUE(Mouse().Zoom().Active());
  chart.DispatchMouseMove({}, 105, 110);
  chart.DispatchMouseUp(mbLeft, {}, 105, 110);
  chart.Update();
  EXPECT_EQ(Window(), window);
}

}  // namespace
}  // namespace plotvik

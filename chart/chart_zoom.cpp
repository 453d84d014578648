#include "chart/chart_zoom.h"

#include <cstdlib>
#include <utility>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "chart/custom_series.h"
#include "raster/color.h"

namespace plotvik {

namespace {

bool wheelEnabled = true;

// Share of an axis's span that one wheel notch scrolls it by.
constexpr double kWheelStep = 0.03;

// The panning drag belongs to the right button.
constexpr TMouseButton kPanningButton = mbRight;

}  // namespace

bool ChartMouseWheelEnabled() {
  return wheelEnabled;
}
void SetChartMouseWheelEnabled(bool value) {
  wheelEnabled = value;
}

// --- TZoomPanning ---

void TZoomPanning::Activate(int x, int y) {
  x0_ = x1_ = x;
  y0_ = y1_ = y;
  active_ = true;
}

void TZoomPanning::Check() {
  if (x0_ > x1_) std::swap(x0_, x1_);
  if (y0_ > y1_) std::swap(y0_, y1_);
}

// --- TChartZoom ---

TChartZoom::TChartZoom()
    : brush_(std::make_unique<TChartZoomBrush>()), pen_(std::make_unique<TChartZoomPen>()) {}

TChartZoom::~TChartZoom() = default;

// --- TChartMouseHandler ---

TChartMouseHandler::TChartMouseHandler(TCustomChart& sender, TCustomAxisPanel& chart)
    : sender_(sender),
      chart_(chart),
      zoom_(std::make_unique<TChartZoom>()),
      originalCursor_(chart.Cursor()) {}

TChartMouseHandler::~TChartMouseHandler() = default;

template <class Event, class... Args>
bool TChartMouseHandler::RaiseClick(const Event& event, Args&&... args) {
  if (!event) return true;
  cancelMouse_ = true;
  event(std::forward<Args>(args)...);
  return !cancelMouse_;
}

std::array<TChartAxis*, 4> TChartMouseHandler::SnapshotAxes() const {
  return {&chart_.TopAxis(), &chart_.LeftAxis(), &chart_.RightAxis(), &chart_.BottomAxis()};
}

void TChartMouseHandler::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  cancelMouse_ = false;
  if (OnMouseDown) OnMouseDown(sender_, button, shift, x, y);
  if (cancelMouse_ || zoom_->Active() || panning_.Active()) return;

  // The part under the press, first match wins. The legend and the titles keep no positions of
  // their items in this engine (the charts here never show any), so a press never lands there.

  // Series are asked for a hit only when somebody listens for clicks on them; the last drawn
  // lies on top, so the search runs backwards.
  for (int i = chart_.SeriesCount() - 1; i >= 0; --i) {
    TChartSeries& series = chart_.Series(i);
    if (!series.Active()) continue;
    auto* custom = dynamic_cast<TCustomSeries*>(&series);
    const bool ownEvents = custom != nullptr && (custom->OnClick || custom->OnDblClick);
    if (!ownEvents && !OnClickSeries) continue;
    const int index = series.Clicked(x, y);
    if (index == -1) continue;
    bool go = true;
    if (custom != nullptr) {
      const auto& own = shift.Contains(ssDouble) ? custom->OnDblClick : custom->OnClick;
      go = RaiseClick(own, series, index, x, y);
    }
    if (go) go = RaiseClick(OnClickSeries, sender_, series, index, button, shift, x, y);
    if (go) StartDrag(button, shift, x, y);
    return;
  }

  for (int i = 0; i < chart_.AxisCount(); ++i) {
    TChartAxis& axis = chart_.Axes(i);
    if (!axis.AxisHitTest(x, y)) continue;
    if (RaiseClick(OnClickAxis, sender_, axis, button, shift, x, y)) StartDrag(button, shift, x, y);
    return;
  }

  bool anyActive = false;
  for (int i = 0; i < chart_.SeriesCount() && !anyActive; ++i)
    anyActive = chart_.Series(i).Active();
  if (anyActive && chart_.ChartRect().Contains(x, y)) {
    if (RaiseClick(OnClickBackground, sender_, button, shift, x, y)) StartDrag(button, shift, x, y);
  }
}

void TChartMouseHandler::StartDrag(TMouseButton button, TShiftState shift, int x, int y) {
  if (!chart_.ActiveSeriesUseAxis()) return;
  bool started = false;
  if (zoom_->Allow() && button == TChartZoom::MouseButton() &&
      shift.ContainsAll(zoom_->KeyShift())) {
    const TRect& rect = chart_.ChartRect();
    const TChartZoomDirection direction = zoom_->Direction();
    if (direction == tzdVertical) x = rect.Left;
    if (direction == tzdHorizontal) y = rect.Top;
    zoom_->Activate(x, y);
    if (direction == tzdVertical) zoom_->SetEnd(rect.Right, zoom_->Y1());
    if (direction == tzdHorizontal) zoom_->SetEnd(zoom_->X1(), rect.Bottom);
    bandInFrame_ = false;
    DrawZoomRectangle();
    started = true;
  }
  if (allowPanning_ != pmNone && button == kPanningButton) {
    panning_.Activate(x, y);
    started = true;
  }
  if (started) chart_.SetCursor(crDefault);
}

void TChartMouseHandler::MouseMove(TShiftState shift, int x, int y) {
  cancelMouse_ = false;
  if (OnMouseMove) OnMouseMove(sender_, shift, x, y);
  if (cancelMouse_) return;

  if (zoom_->Active()) {
    const TRect& rect = chart_.ChartRect();
    if (zoom_->Direction() == tzdVertical) x = rect.Right;
    if (zoom_->Direction() == tzdHorizontal) y = rect.Bottom;
    if (x == zoom_->X1() && y == zoom_->Y1()) return;
    DrawZoomRectangle();  // erases the band at the old corners
    zoom_->SetEnd(x, y);
    DrawZoomRectangle();
    return;
  }
  if (panning_.Active()) return;

  // A series with a cursor of its own shows it while the mouse is over one of its points.
  for (int i = chart_.SeriesCount() - 1; i >= 0; --i) {
    auto* series = dynamic_cast<TCustomSeries*>(&chart_.Series(i));
    if (series == nullptr || !series->Active() || series->Cursor() == crDefault) continue;
    if (series->Clicked(x, y) != -1) {
      chart_.SetCursor(series->Cursor());
      return;
    }
  }
  chart_.SetCursor(originalCursor_);
}

void TChartMouseHandler::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  cancelMouse_ = false;
  if (OnMouseUp) OnMouseUp(sender_, button, shift, x, y);
  if (cancelMouse_) return;

  if (zoom_->Active() && button == TChartZoom::MouseButton()) {
    zoom_->SetActive(false);
    DrawZoomRectangle();  // erases it
    chart_.Canvas3D().Pen().SetMode(pmCopy);
    const TRect& rect = chart_.ChartRect();
    if (zoom_->Direction() == tzdHorizontal) y = rect.Bottom;
    if (zoom_->Direction() == tzdVertical) x = rect.Right;
    zoom_->SetEnd(x, y);
    const long long dx = static_cast<long long>(zoom_->X1()) - zoom_->X0();
    const long long dy = static_cast<long long>(zoom_->Y1()) - zoom_->Y0();
    if (std::llabs(dx) > TChartZoom::MinimumPixels() &&
        std::llabs(dy) > TChartZoom::MinimumPixels()) {
      if (dx > 0 && dy > 0)
        ZoomRect({zoom_->X0(), zoom_->Y0(), zoom_->X1(), zoom_->Y1()});
      else
        UndoZoom();
      chart_.Repaint();
    } else if (bandInFrame_) {
      // A frame drawn during the drag holds the band in the buffer; that frame must go.
      chart_.Repaint();
    }
    bandInFrame_ = false;
  }
  panning_.SetActive(false);
}

void TChartMouseHandler::MouseLeave() {
  chart_.SetCursor(originalCursor_);
  // The zoom drag stays: the mouse is captured and its release still comes here.
  panning_.SetActive(false);
}

void TChartMouseHandler::CancelDrag() {
  if (zoom_->Active()) {
    zoom_->SetActive(false);
    DrawZoomRectangle();  // erases it
    chart_.Canvas3D().Pen().SetMode(pmCopy);
    // A frame drawn during the drag holds the band in the buffer; that frame must go.
    if (bandInFrame_) chart_.Repaint();
    bandInFrame_ = false;
  }
  panning_.SetActive(false);
}

void TChartMouseHandler::MouseWheelNotch(bool down, TShiftState shift, int x, int y) {
  const auto& event = down ? OnMouseWheelDown : OnMouseWheelUp;
  if (event) event(sender_, shift, x, y);
  if (!wheelEnabled) return;
  // Down moves the range up, so the curve goes down on the screen with the wheel.
  const double direction = down ? 1.0 : -1.0;
  for (int i = 0; i < chart_.AxisCount(); ++i) {
    TChartAxis& axis = chart_.Axes(i);
    if (axis.Horizontal()) continue;
    axis.ScrollAxis(direction * kWheelStep * (axis.Maximum() - axis.Minimum()), false);
  }
}

void TChartMouseHandler::ZoomRect(const TRect& rect) {
  const TRect r = rect.Normalized();
  // Every value is read before any axis changes, all from the mapping of the last frame.
  const double xMinTop = chart_.TopAxis().ValueOfPos(r.Left);
  const double xMaxTop = chart_.TopAxis().ValueOfPos(r.Right);
  const double xMinBottom = chart_.BottomAxis().ValueOfPos(r.Left);
  const double xMaxBottom = chart_.BottomAxis().ValueOfPos(r.Right);
  const double yMinLeft = chart_.LeftAxis().ValueOfPos(r.Bottom);
  const double yMaxLeft = chart_.LeftAxis().ValueOfPos(r.Top);
  const double yMinRight = chart_.RightAxis().ValueOfPos(r.Bottom);
  const double yMaxRight = chart_.RightAxis().ValueOfPos(r.Top);

  if (snapshotNeeded_) {
    const auto axes = SnapshotAxes();
    for (size_t k = 0; k < axes.size(); ++k) {
      const TChartAxis& axis = *axes[k];
      snapshot_[k] = {axis.Automatic(), axis.AutomaticMinimum(), axis.AutomaticMaximum(),
                      axis.Minimum(), axis.Maximum()};
    }
    snapshotNeeded_ = false;
  }
  chart_.LeftAxis().SetAxisRange(yMinLeft, yMaxLeft);
  chart_.RightAxis().SetAxisRange(yMinRight, yMaxRight);
  chart_.TopAxis().SetAxisRange(xMinTop, xMaxTop);
  chart_.BottomAxis().SetAxisRange(xMinBottom, xMaxBottom);
  zoomed_ = true;
  if (OnZoom) OnZoom(sender_);
}

void TChartMouseHandler::UndoZoom() {
  if (!snapshotNeeded_) {
    const auto axes = SnapshotAxes();
    // Top, bottom, left, right.
    for (size_t k : {size_t{0}, size_t{3}, size_t{1}, size_t{2}}) {
      TChartAxis& axis = *axes[k];
      const AxisState& saved = snapshot_[k];
      // The range first: setting it switches every automatic flag off, and the flags that
      // follow must win, so an axis that was automatic at one end only stays so.
      if (!saved.automatic) axis.SetAxisRange(saved.minimum, saved.maximum);
      axis.SetAutomatic(saved.automatic);
      axis.SetAutomaticMinimum(saved.automaticMinimum);
      axis.SetAutomaticMaximum(saved.automaticMaximum);
    }
    snapshotNeeded_ = true;
  }
  if (OnUndoZoom) OnUndoZoom(sender_);
  chart_.Repaint();
  zoomed_ = false;
}

void TChartMouseHandler::DrawZoomRectangle() {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  // The back wall is transparent: the band lies over the panel colour.
  const TColor back = ColorToRGB(chart_.Color());
  // NOT(pen XOR back) gives the pen's own colour over the back colour.
  const TColor inverse = 0xFFFFFF - back;
  const TChartZoomBrush& brush = zoom_->Brush();
  TColor fill = ColorToRGB(brush.Color()) ^ inverse;
  if (brush.Style() != bsSolid && fill == back) fill = back == clBlack ? clWhite : clBlack;
  canvas.ApplyBrushColor(brush, fill, back);
  zoom_->Pen().SetMode(pmNotXor);
  canvas.ApplyPenColor(zoom_->Pen(), ColorToRGB(zoom_->Pen().Color()) ^ inverse);
  if (brush.Style() == bsClear) canvas.SetTextBackMode(TTextBackMode::Transparent);
  const TChartZoomPen& pen = zoom_->Pen();
  const TRect r = TRect{zoom_->X0(), zoom_->Y0(), zoom_->X1(), zoom_->Y1()}.Normalized();
  // The band is redrawn on every mouse move, so a large one costs its perimeter only: the ring
  // of the rectangle's outline as four lines that touch each pixel once (a pixel drawn twice
  // would XOR itself away). Thin rectangles and any other pen or brush go the plain way.
  const bool plainOutline = brush.Style() == bsClear && pen.Visible() && !pen.SmallDots() &&
                            pen.Width() <= 1 && pen.Style() == psSolid;
  if (!plainOutline || r.Width() < 3 || r.Height() < 3) {
    canvas.DrawRectangle(r.Left, r.Top, r.Right, r.Bottom);
    return;
  }
  canvas.DrawHLine(r.Left, r.Right, r.Top);
  canvas.DrawHLine(r.Left, r.Right, r.Bottom - 1);
  canvas.DrawVLine(r.Left, r.Top + 1, r.Bottom - 1);
  canvas.DrawVLine(r.Right - 1, r.Top + 1, r.Bottom - 1);
}

void TChartMouseHandler::DrawFrameBand() {
  if (!zoom_->Active()) return;
  DrawZoomRectangle();
  bandInFrame_ = true;
}

}  // namespace plotvik

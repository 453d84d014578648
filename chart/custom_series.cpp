#include "chart/custom_series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <utility>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/custom_chart_panel.h"

namespace plotvik {

namespace {

// A point farther off than this is not drawn, nor is the step that leads to it: no screen
// shows that far, and the charts' pictures are defined with this limit.
constexpr int kMaxDrawPixel = 32766;

bool Drawable(int pixel) {
  return pixel >= -kMaxDrawPixel && pixel <= kMaxDrawPixel;
}

// (x, y) on the segment q-p: within less than one pixel of the line through them (the cross
// product measured against the longer side) and not past either end in x or in y.
bool PointOnSegment(int x, int y, TPoint q, TPoint p) {
  const double cross =
      static_cast<double>(x - q.X) * (p.Y - q.Y) - static_cast<double>(y - q.Y) * (p.X - q.X);
  const double longer =
      std::max(std::abs(static_cast<double>(p.X) - q.X), std::abs(static_cast<double>(p.Y) - q.Y));
  if (!(std::abs(cross) < longer)) return false;
  const auto beyond = [](int pt, int e, int o) { return (o < e && e < pt) || (pt < e && e < o); };
  return !beyond(x, p.X, q.X) && !beyond(y, p.Y, q.Y) && !beyond(x, q.X, p.X) &&
         !beyond(y, q.Y, p.Y);
}

}  // namespace

TCustomSeries::TCustomSeries(std::string name)
    : TCustomLineSeries(std::move(name)),
      pointer_(std::make_unique<TSeriesPointer>([this] { Repaint(); })),
      marks_(std::make_unique<TSeriesMarks>([this] { Repaint(); })) {}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::CalcHorizMargins(int& left, int& right) const {
  TCustomLineSeries::CalcHorizMargins(left, right);
  if (pointer_->Visible() && pointer_->InflateMargins()) {
    left = std::max(left, pointer_->HorizSize() + 1);
    right = std::max(right, pointer_->HorizSize() + 1);
  }
}

void TCustomSeries::CalcVertMargins(int& top, int& bottom) const {
  TCustomLineSeries::CalcVertMargins(top, bottom);
  if (pointer_->Visible() && pointer_->InflateMargins()) {
    top = std::max(top, pointer_->VertSize() + 1);
    bottom = std::max(bottom, pointer_->VertSize() + 1);
  }
}

int TCustomSeries::EntryHeight(int index, double edgeValue) const {
  const double x0 = XValue(index - 1);
  const double x1 = XValue(index);
  if (x0 == x1) return PointY(index - 1);
  const double y0 = YValue(index - 1);
  const double y1 = YValue(index);
  return GetVertAxis()->PosOfValue(y0 + (y1 - y0) * (edgeValue - x0) / (x1 - x0));
}

void TCustomSeries::DrawPointer(TChartCanvas3D& canvas, int index, TPoint at, TColor color) {
  const TSeriesPointerStyle style =
      OnGetPointerStyle ? OnGetPointerStyle(*this, index) : pointer_->Style();
  pointer_->Draw(canvas, at.X, at.Y, color, style);
}

void TCustomSeries::SegmentStep(TChartCanvas3D& canvas, int index, TPoint to, TColor color,
                                bool pointers) {
  if (!(to == prev_) && color != clNone) {
    canvas.Brush().SetStyle(bsClear);
    canvas.ApplyPenColor(LinePen(), color);
    canvas.DrawLine(prev_.X, prev_.Y, to.X, to.Y);
  }
  if (pointers && pointer_->Visible()) {
    // The previous point's pointer waits until now so that it covers both of its segments.
    if (prevColor_ != clNone) DrawPointer(canvas, index - 1, prev_, prevColor_);
    if (index == LastVisible() && color != clNone) DrawPointer(canvas, index, to, color);
  }
}

void TCustomSeries::DrawValue(int index) {
  if (ParentChart() == nullptr || GetHorizAxis() == nullptr || GetVertAxis() == nullptr) return;
  DrawPoint(index, {PointX(index), PointY(index)}, PointColor(index));
}

bool TCustomSeries::PointerRedrawCovers() const {
  // An invisible outline keeps the width of whatever pen came before; a broken line pen
  // fills its gaps with the background colour the last pointer left.
  const TChartPen& outline = pointer_->Pen();
  const TChartPen& line = LinePen();
  return outline.Visible() && outline.Mode() == pmCopy &&
         (!line.Visible() || (line.Style() == psSolid && !line.SmallDots()));
}

void TCustomSeries::DrawAllValues() {
  const int first = FirstVisible();
  const int last = LastVisible();
  if (first < 0 || last < first) return;
  // A pointer style handler may change the series while it draws: no look ahead then.
  if (drawEveryPoint_ || OnGetPointerStyle || ParentChart() == nullptr ||
      GetHorizAxis() == nullptr || GetVertAxis() == nullptr) {
    TCustomLineSeries::DrawAllValues();
    return;
  }
  // A point at the previous point's pixel in its colour draws an empty segment and the
  // previous pointer, which the next point draws again on top of its own segment; with the
  // same pixels written last either way, that first pointer is never seen. The state after it
  // (position, colour) is the one it found, so skipping it changes nothing after. Without a
  // next point drawn, nothing draws that pointer again, so it stays.
  const bool pointerRepeats = PointerRedrawCovers();
  const bool pointers = pointer_->Visible();
  const std::span<const double> xs = XValues().Values();
  const std::span<const double> ys = YValues().Values();
  if (ys.size() != xs.size() || static_cast<size_t>(last) >= xs.size()) {
    TCustomLineSeries::DrawAllValues();
    return;
  }
  const TChartAxis& horizontal = *GetHorizAxis();
  const TChartAxis& vertical = *GetVertAxis();
  const auto position = [&](int i) {
    return TPoint{horizontal.PosOfValue(xs[static_cast<size_t>(i)]),
                  vertical.PosOfValue(ys[static_cast<size_t>(i)])};
  };
  TPoint at = position(first);
  TColor color = PointColor(first);
  for (int i = first; i <= last; ++i) {
    TPoint nextAt{0, 0};
    TColor nextColor = clNone;
    if (i < last) {
      nextAt = position(i + 1);
      nextColor = PointColor(i + 1);
    }
    const bool repeat = i != first && i != last && framePositioned_ && at == prev_ &&
                        color == prevColor_ && Drawable(at.X) && Drawable(at.Y);
    const bool redrawnLater = color == clNone || !pointers ||
                              (pointerRepeats && Drawable(nextAt.X) && Drawable(nextAt.Y));
    if (!(repeat && redrawnLater)) DrawPoint(i, at, color);
    at = nextAt;
    color = nextColor;
  }
}

void TCustomSeries::DrawPoint(int index, TPoint at, TColor color) {
  TChartCanvas3D& canvas = ParentChart()->Canvas3D();
  const bool first = index == FirstVisible();
  if (first) framePositioned_ = false;

  if (!Drawable(at.X) || !Drawable(at.Y)) {
    // The previous position stays, so the line bridges the skipped point. Until a point of
    // this frame was placed there is nothing to bridge from: the next point starts afresh
    // rather than from wherever the last frame ended.
    prevColor_ = framePositioned_ ? color : clNone;
    return;
  }
  framePositioned_ = true;
  if (prevColor_ == clNone) prev_ = at;

  if (first) {
    if (index > 0) {
      // Points left of the range exist: the line enters at the chart's edge, at the height of
      // the segment from the hidden neighbour.
      const TChartAxis& axis = *GetHorizAxis();
      const TRect& rect = ParentChart()->ChartRect();
      const int edge = axis.Inverted() ? rect.Right : rect.Left;
      const int entryY = EntryHeight(index, axis.ValueOfPos(edge));
      prev_ = {edge, entryY};
      if (!IsNullPoint(index - 1) && Drawable(entryY)) SegmentStep(canvas, index, at, color, false);
    }
    if (index == LastVisible() && pointer_->Visible() && color != clNone)
      DrawPointer(canvas, index, at, color);
  } else {
    SegmentStep(canvas, index, at, color, true);
  }
  prev_ = at;
  prevColor_ = color;
}

int TCustomSeries::Clicked(int x, int y) const {
  int result = TCustomLineSeries::Clicked(x, y);
  if (result != -1 || FirstVisible() < 0 || LastVisible() < 0) return result;
  TPoint q{0, 0};
  for (int i = FirstVisible(); i <= LastVisible(); ++i) {
    const TPoint p{PointX(i), PointY(i)};
    if (pointer_->Visible() &&
        std::llabs(static_cast<long long>(x) - p.X) < pointer_->HorizSize() &&
        std::llabs(static_cast<long long>(y) - p.Y) < pointer_->VertSize()) {
      // The event is the series' own, raised from a query; handlers may change the series.
      if (OnClickPointer) OnClickPointer(const_cast<TCustomSeries&>(*this), i, x, y);
      return i;
    }
    if (x == p.X && y == p.Y) return i;
    if (i > FirstVisible() && clickableLine_ && PointOnSegment(x, y, q, p)) return i - 1;
    q = p;
  }
  return -1;
}

}  // namespace plotvik

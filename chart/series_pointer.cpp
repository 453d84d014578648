#include "chart/series_pointer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "chart/chart_canvas3d.h"
#include "platform/exceptions.h"

namespace plotvik {

namespace {

constexpr const char* kPointerSizeMessage = "Pointer size must be greater than zero";

// An ellipse inside the box (l, t, r, b), right and bottom exclusive, as a closed polygon. The
// canvas has no ellipse of its own and the markers are a few pixels wide, so a polygon through
// rounded points of the curve is as exact as the raster can show.
std::vector<TPoint> EllipsePolygon(int l, int t, int r, int b) {
  const double cx = (l + r - 1) / 2.0;
  const double cy = (t + b - 1) / 2.0;
  const double rx = (r - l - 1) / 2.0;
  const double ry = (b - t - 1) / 2.0;
  const int steps = std::max(8, 4 * (r - l + b - t));
  std::vector<TPoint> points;
  points.reserve(static_cast<size_t>(steps));
  for (int k = 0; k < steps; ++k) {
    const double a = 2.0 * std::numbers::pi * k / steps;
    const TPoint p{static_cast<int>(std::lround(cx + rx * std::cos(a))),
                   static_cast<int>(std::lround(cy - ry * std::sin(a)))};
    if (points.empty() || !(points.back() == p)) points.push_back(p);
  }
  while (points.size() > 1 && points.back() == points.front()) points.pop_back();
  return points;
}

}  // namespace

TSeriesPointer::TSeriesPointer(std::function<void()> changed)
    : changed_(std::move(changed)),
      pen_(std::make_unique<TChartPen>()),
      brush_(std::make_unique<TChartBrush>()) {
  pen_->OnChange = [this] { Changed(); };
  brush_->OnChange = [this] { Changed(); };
}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::SetVisible(bool value) {
  Change(visible_, value);
}
void TSeriesPointer::SetStyle(TSeriesPointerStyle value) {
  Change(style_, value);
}

void TSeriesPointer::SetHorizSize(int value) {
  if (value < 1) throw ChartException(kPointerSizeMessage);
  Change(horizSize_, value);
}

void TSeriesPointer::SetVertSize(int value) {
  if (value < 1) throw ChartException(kPointerSizeMessage);
  Change(vertSize_, value);
}

void TSeriesPointer::SetInflateMargins(bool value) {
  Change(inflateMargins_, value);
}

void TSeriesPointer::ApplyPenAndBrush(TChartCanvas3D& canvas, TColor color) const {
  // clDefault on the outline means "the point's colour"; a hidden pen keeps its own colour
  // because ApplyPenColor only switches the line off then.
  if (pen_->Visible() && pen_->Color() == clDefault)
    canvas.ApplyPenColor(*pen_, color);
  else
    canvas.ApplyPen(*pen_);
  TColor fill = brush_->Color();
  if (fill == clDefault) fill = brush_->Style() == bsSolid ? color : clBlack;
  canvas.ApplyBrushColor(*brush_, fill, color);
}

void TSeriesPointer::Draw(TChartCanvas3D& canvas, int px, int py, TColor color,
                          TSeriesPointerStyle style) const {
  ApplyPenAndBrush(canvas, color);
  const int h = horizSize_;
  const int v = vertSize_;
  const int l = px - h;
  const int r = px + h;
  const int t = py - v;
  const int b = py + v;
  // The line styles take the point colour whatever the outline pen says, so a star or a cross
  // is never black; the pen's width, style and visibility stay.
  const auto recolourPen = [&] { canvas.Pen().SetColor(canvas.Monochrome() ? clBlack : color); };
  const auto cross = [&] {
    canvas.DrawVLine(px, t, b + 1);
    canvas.DrawHLine(l, r + 1, py);
  };
  const auto diagCross = [&] {
    canvas.DrawLine(l, t, r + 1, b + 1);
    canvas.DrawLine(r, t, l - 1, b + 1);
  };
  switch (style) {
    case psRectangle:
      canvas.DrawRectangle(l, t, r + 1, b + 1);
      break;
    case psCircle:
      canvas.DrawPolygon(EllipsePolygon(l, t, r, b));
      break;
    case psTriangle: {
      const std::array<TPoint, 3> p{{{l, b}, {r, b}, {px, t}}};
      canvas.DrawPolygon(p);
      break;
    }
    case psDownTriangle: {
      const std::array<TPoint, 3> p{{{l, t}, {r, t}, {px, b}}};
      canvas.DrawPolygon(p);
      break;
    }
    case psCross:
      recolourPen();
      cross();
      break;
    case psDiagCross:
      recolourPen();
      diagCross();
      break;
    case psStar:
      recolourPen();
      cross();
      diagCross();
      break;
    case psDiamond: {
      const std::array<TPoint, 4> p{{{l, py}, {px, t}, {r, py}, {px, b}}};
      canvas.DrawPolygon(p);
      break;
    }
    case psSmallDot:
      canvas.PutPixel(px, py, color);
      break;
    case psNothing:
      break;
  }
}

}  // namespace plotvik

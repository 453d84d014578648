#pragma once

#include <functional>
#include <memory>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "platform/property.h"
#include "raster/color.h"

namespace plotvik {

class TChartCanvas3D;

enum TSeriesPointerStyle {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot,
  psNothing
};

// The marker a series draws at each point. Its outline pen and fill brush default to the
// owner's colour where they say clDefault, so one marker serves every point colour.
class TSeriesPointer {
 public:
  // `changed` runs after every property change (the series asks its chart to repaint).
  explicit TSeriesPointer(std::function<void()> changed = {});
  ~TSeriesPointer();
  TSeriesPointer(const TSeriesPointer&) = delete;
  TSeriesPointer& operator=(const TSeriesPointer&) = delete;

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  TSeriesPointerStyle Style() const { return style_; }
  void SetStyle(TSeriesPointerStyle value);
  // Pixels from the centre to the edge; below 1 is refused.
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  // Whether the axes keep room for half a marker beyond the first and last points.
  bool InflateMargins() const { return inflateMargins_; }
  void SetInflateMargins(bool value);
  TChartPen& Pen() const { return *pen_; }
  TChartBrush& Brush() const { return *brush_; }

  // Draws the marker of `style` centred on (px, py) for a point of colour `color`, with this
  // pointer's pen, brush and sizes.
  void Draw(TChartCanvas3D& canvas, int px, int py, TColor color, TSeriesPointerStyle style) const;
  void Draw(TChartCanvas3D& canvas, int px, int py, TColor color) const {
    Draw(canvas, px, py, color, style_);
  }

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value)) Changed();
  }
  void Changed() const {
    if (changed_) changed_();
  }
  void ApplyPenAndBrush(TChartCanvas3D& canvas, TColor color) const;

  std::function<void()> changed_;
  bool visible_ = true;
  TSeriesPointerStyle style_ = psRectangle;
  int horizSize_ = 4;
  int vertSize_ = 4;
  bool inflateMargins_ = true;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
};

}  // namespace plotvik

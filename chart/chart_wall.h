#pragma once

#include <functional>
#include <memory>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"

namespace plotvik {

// One wall of the chart box. Only the back wall appears in 2D: a one-pixel outline of the chart
// rectangle, filled with its colour unless transparent.
class TChartWall {
 public:
  explicit TChartWall(TColor color);
  virtual ~TChartWall();

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TChartPen& Pen() const { return *pen_; }
  TChartBrush& Brush() const { return *brush_; }
  int Size() const { return size_; }
  void SetSize(int value);

  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  bool visible_ = true;
  bool transparent_ = false;
  TColor color_;
  int size_ = 0;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
};

// The wall behind the plot; its pen is the chart's frame. Transparent by default.
class TChartBackWall : public TChartWall {
 public:
  TChartBackWall();
};

class TChartRightWall : public TChartWall {
 public:
  TChartRightWall();
};

}  // namespace plotvik

#pragma once

#include <functional>
#include <memory>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"

namespace plotvik {

// One wall of the chart box. Only the back wall appears in 2D, and it is transparent: a
// one-pixel outline of the chart rectangle in its pen.
class TChartWall {
 public:
  explicit TChartWall(TColor color);
  virtual ~TChartWall();

  TColor Color() const { return color_; }
  TChartPen& Pen() const { return *pen_; }
  TChartBrush& Brush() const { return *brush_; }

  std::function<void()> OnChange;

 protected:
  void Changed() {
    if (OnChange) OnChange();
  }

 private:
  TColor color_;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
};

// The wall behind the plot; its pen is the chart's frame.
class TChartBackWall : public TChartWall {
 public:
  TChartBackWall();
};

class TChartRightWall : public TChartWall {
 public:
  TChartRightWall();
};

}  // namespace plotvik

#pragma once

#include "raster/graphic_objects.h"

namespace plotvik {

// A pen of a chart element. Changes notify through OnChange (the owner asks its chart for a
// repaint there).
class TChartPen : public TPen {
 public:
  TChartPen();
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Draw one-pixel lines that set every other pixel.
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool value);
  void Assign(const TChartPen& source);

  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

 private:
  bool visible_ = true;
  bool smallDots_ = false;
};

class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen();
};

class TDottedGrayPen : public TChartPen {
 public:
  TDottedGrayPen();
};

class TDarkGrayPen : public TChartPen {
 public:
  TDarkGrayPen();
};

class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen();
};

class TChartArrowPen : public TChartPen {
 public:
  TChartArrowPen();
};

class TChartZoomPen : public TChartPen {
 public:
  TChartZoomPen();
};

}  // namespace plotvik

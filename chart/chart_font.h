#pragma once

#include <functional>

#include "chart/chart_pen.h"
#include "raster/graphic_objects.h"

namespace plotvik {

// A shadow behind text, offset by HorizSize and VertSize pixels (negative offsets put it up or
// left and move the text the other way).
class TChartShadow {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int HorizSize() const { return horizSize_; }
  void SetHorizSize(int value);
  int VertSize() const { return vertSize_; }
  void SetVertSize(int value);
  void Assign(const TChartShadow& source);

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  TColor color_ = clSilver;
  int horizSize_ = 0;
  int vertSize_ = 0;
};

// A font of a chart element: Arial 8 pt black, plus spacing, outline and shadow. A change of the
// font, its outline pen or its shadow notifies through OnChange.
class TChartFont : public TFont {
 public:
  TChartFont();
  TChartFont(const TChartFont&) = delete;
  TChartFont& operator=(const TChartFont&) = delete;

  // Extra pixels between characters.
  int InterCharSize() const { return interCharSize_; }
  void SetInterCharSize(int value);
  TChartHiddenPen& OutLine() { return outLine_; }
  const TChartHiddenPen& OutLine() const { return outLine_; }
  TChartShadow& Shadow() { return shadow_; }
  const TChartShadow& Shadow() const { return shadow_; }
  void Assign(const TChartFont& source);

 private:
  int interCharSize_ = 0;
  TChartHiddenPen outLine_;
  TChartShadow shadow_;
};

}  // namespace plotvik

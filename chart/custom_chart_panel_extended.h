#pragma once

#include <string>

#include "chart/custom_chart_panel.h"
#include "platform/property.h"

namespace plotvik {

// A two-colour fill of the panel. Stored and notified only: this program's charts keep it off,
// and a visible gradient is drawn as the plain panel colour.
class TChartGradient {
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Change(visible_, value); }
  TColor StartColor() const { return startColor_; }
  void SetStartColor(TColor value) { Change(startColor_, value); }
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor value) { Change(endColor_, value); }

  std::function<void()> OnChange;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value) && OnChange) OnChange();
  }
  bool visible_ = false;
  TColor startColor_ = clWhite;
  TColor endColor_ = clYellow;
};

// The panel's decoration beyond its colour: gradient and background picture (neither drawn by
// this program's charts, see TChartGradient).
class TCustomChartPanelExtended : public TCustomChartPanel {
 public:
  explicit TCustomChartPanelExtended(std::string name = {});

  TChartGradient& Gradient() { return gradient_; }
  const TChartGradient& Gradient() const { return gradient_; }
  // The file name of a background picture; empty by default.
  const std::string& BackImage() const { return backImage_; }
  void SetBackImage(const std::string& value);

 private:
  TChartGradient gradient_;
  std::string backImage_;
};

}  // namespace plotvik

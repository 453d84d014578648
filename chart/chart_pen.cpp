#include "chart/chart_pen.h"

namespace plotvik {

TChartPen::TChartPen() = default;

void TChartPen::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TChartPen::SetSmallDots(bool value) {
  if (smallDots_ == value) return;
  smallDots_ = value;
  Changed();
}

void TChartPen::Assign(const TChartPen& source) {
  visible_ = source.visible_;
  smallDots_ = source.smallDots_;
  TPen::Assign(source);
}

// The defaults of the special pens are set before anyone listens, so no notification is lost.
TChartHiddenPen::TChartHiddenPen() {
  SetVisible(false);
}

TDottedGrayPen::TDottedGrayPen() {
  SetColor(clGray);
  SetStyle(psDot);
}

TDarkGrayPen::TDarkGrayPen() {
  SetColor(clGray);
}

TChartAxisPen::TChartAxisPen() {
  SetWidth(2);
}

TChartArrowPen::TChartArrowPen() {
  SetColor(clWhite);
}

TChartZoomPen::TChartZoomPen() {
  SetColor(clWhite);
}

}  // namespace plotvik

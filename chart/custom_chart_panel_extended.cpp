#include "chart/custom_chart_panel_extended.h"

namespace plotvik {

TCustomChartPanelExtended::TCustomChartPanelExtended(std::string name)
    : TCustomChartPanel(std::move(name)) {
  gradient_.OnChange = [this] { Repaint(); };
}

void TCustomChartPanelExtended::SetBackImage(const std::string& value) {
  if (backImage_ == value) return;
  backImage_ = value;
  Repaint();
}

}  // namespace plotvik

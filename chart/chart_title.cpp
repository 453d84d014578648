#include "chart/chart_title.h"

namespace plotvik {

TChartTitle::TChartTitle() : font_(std::make_unique<TChartFont>()) {
  font_->OnChange = [this] { Changed(); };
}

TChartTitle::~TChartTitle() = default;

void TChartTitle::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TChartTitle::SetText(std::vector<std::string> lines) {
  if (text_ == lines) return;
  text_ = std::move(lines);
  Changed();
}

}  // namespace plotvik

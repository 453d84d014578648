#include "chart/chart_font.h"

namespace plotvik {

void TChartShadow::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TChartShadow::SetHorizSize(int value) {
  if (horizSize_ == value) return;
  horizSize_ = value;
  Changed();
}

void TChartShadow::SetVertSize(int value) {
  if (vertSize_ == value) return;
  vertSize_ = value;
  Changed();
}

void TChartShadow::Assign(const TChartShadow& source) {
  color_ = source.color_;
  horizSize_ = source.horizSize_;
  vertSize_ = source.vertSize_;
  Changed();
}

// Name "Arial" and size 8 are the base font's defaults.
TChartFont::TChartFont() {
  outLine_.OnChange = [this] { Changed(); };
  shadow_.OnChange = [this] { Changed(); };
}

void TChartFont::SetInterCharSize(int value) {
  if (interCharSize_ == value) return;
  interCharSize_ = value;
  Changed();
}

void TChartFont::Assign(const TChartFont& source) {
  interCharSize_ = source.interCharSize_;
  {
    // One notification for the whole copy.
    auto outLineListener = std::move(outLine_.OnChange);
    auto shadowListener = std::move(shadow_.OnChange);
    outLine_.Assign(source.outLine_);
    shadow_.Assign(source.shadow_);
    outLine_.OnChange = std::move(outLineListener);
    shadow_.OnChange = std::move(shadowListener);
  }
  TFont::Assign(source);
}

}  // namespace plotvik

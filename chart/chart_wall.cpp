#include "chart/chart_wall.h"

namespace plotvik {

TChartWall::TChartWall(TColor color)
    : color_(color), pen_(std::make_unique<TChartPen>()), brush_(std::make_unique<TChartBrush>()) {
  pen_->OnChange = [this] { Changed(); };
  brush_->OnChange = [this] { Changed(); };
}

TChartWall::~TChartWall() = default;

void TChartWall::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Changed();
}

void TChartWall::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  Changed();
}

void TChartWall::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TChartWall::SetSize(int value) {
  if (size_ == value) return;
  size_ = value;
  Changed();
}

TChartBackWall::TChartBackWall() : TChartWall(clSilver) {
  SetTransparent(true);
}

TChartRightWall::TChartRightWall() : TChartWall(clSilver) {
  SetVisible(false);
}

}  // namespace plotvik

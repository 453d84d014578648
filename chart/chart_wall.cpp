#include "chart/chart_wall.h"

namespace plotvik {

TChartWall::TChartWall(TColor color)
    : color_(color), pen_(std::make_unique<TChartPen>()), brush_(std::make_unique<TChartBrush>()) {
  pen_->OnChange = [this] { Changed(); };
  brush_->OnChange = [this] { Changed(); };
}

TChartWall::~TChartWall() = default;

TChartBackWall::TChartBackWall() : TChartWall(clSilver) {}

TChartRightWall::TChartRightWall() : TChartWall(clSilver) {}

}  // namespace plotvik

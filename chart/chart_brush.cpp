#include "chart/chart_brush.h"

#include <utility>

namespace plotvik {

TChartBrush::TChartBrush() {
  SetColor(clDefault);
}

void TChartBrush::SetImage(std::shared_ptr<const TBitmap> image) {
  if (image_ == image) return;
  image_ = std::move(image);
  Changed();
}

void TChartBrush::Assign(const TChartBrush& source) {
  image_ = source.image_;
  TBrush::Assign(source);
}

TChartZoomBrush::TChartZoomBrush() {
  SetColor(clWhite);
  SetStyle(bsClear);
}

}  // namespace plotvik

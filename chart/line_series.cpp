#include "chart/line_series.h"

#include <utility>

namespace plotvik {

TLineSeries::TLineSeries(std::string name) : TCustomSeries(std::move(name)) {
  Pointer().SetVisible(false);
}

}  // namespace plotvik

#include "chart/custom_line_series.h"

#include <utility>

namespace plotvik {

TCustomLineSeries::TCustomLineSeries(std::string name) : TChartSeries(std::move(name)) {}

}  // namespace plotvik

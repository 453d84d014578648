#include "chart/db_chart.h"

namespace plotvik {

TDBChart::TDBChart(std::string name) : TCustomDBChart(std::move(name)) {}

TDBChart::~TDBChart() = default;

}  // namespace plotvik

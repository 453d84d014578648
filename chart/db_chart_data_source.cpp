#include "chart/db_chart_data_source.h"

namespace plotvik {

TDBChartDataSource::TDBChartDataSource(TCustomDBChart& chart) : chart_(chart) {}

TDBChartDataSource::~TDBChartDataSource() {
  // Leave the table before the handlers (which point into the chart) become unusable.
  MarkDestroying();
  SetDataSet(nullptr);
}

}  // namespace plotvik

#pragma once

#include <string>

#include "chart/custom_db_chart.h"

namespace plotvik {

// The data-bound chart a form declares: everything it does lives in its bases.
class TDBChart : public TCustomDBChart {
 public:
  explicit TDBChart(std::string name = {});
  ~TDBChart() override;
};

}  // namespace plotvik

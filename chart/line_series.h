#pragma once

#include <string>

#include "chart/custom_series.h"

namespace plotvik {

// The series every chart of this program plots: points joined by a line in the series colour,
// with a marker at each point once the pointer is switched on (a new series hides it).
class TLineSeries : public TCustomSeries {
 public:
  explicit TLineSeries(std::string name = {});
};

}  // namespace plotvik

#pragma once

#include <array>

#include "raster/color.h"

namespace plotvik {

// The chart's colour list for series that bring none of their own: entry i serves index i mod 20.
extern const std::array<TColor, 20> kChartPalette;
TColor GetDefaultColor(int index);

}  // namespace plotvik

#pragma once

#include <cmath>
#include <vector>

#include "raster/geometry.h"

namespace plotvik {

// The path of a dense chart's series: `count` + 1 points, consecutive ones 60 pixels apart,
// turning by the golden angle each step and kept inside a width x height buffer.
inline std::vector<TPoint> WanderingCurve(int width, int height, int count) {
  std::vector<TPoint> pts;
  pts.reserve(static_cast<std::size_t>(count) + 1);
  double x = width / 2.0, y = height / 2.0;
  for (int i = 0; i <= count; ++i) {
    pts.push_back({static_cast<int>(x), static_cast<int>(y)});
    const double a = i * 2.39996;
    double nx = x + 60 * std::cos(a), ny = y + 60 * std::sin(a);
    if (nx < 0 || nx >= width) nx = x - 60 * std::cos(a);
    if (ny < 0 || ny >= height) ny = y - 60 * std::sin(a);
    x = nx;
    y = ny;
  }
  return pts;
}

}  // namespace plotvik

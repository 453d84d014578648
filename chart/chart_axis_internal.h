#pragma once

// Helpers shared by the axis's source files; not part of any interface.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace plotvik::axis_detail {

// The smallest label step: below it a label would not differ from its neighbour.
constexpr double kMinStep = 1e-12;
// Room for the tick positions of one drawing; the step rule keeps far below it on any screen.
constexpr int kMaxTickPositions = 2000;

// The text two values are compared by when the labels decide whether a step is still visible:
// 15 significant digits, as the short general number form writes them.
inline std::string GeneralText(double v) {
  if (v == 0) return "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  return std::string(buf, res.ptr);
}

}  // namespace plotvik::axis_detail

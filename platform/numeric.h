#pragma once

// The numeric rules every part of the program shares when a computed value becomes a pixel.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace plotvik {

// Pixel rounding: halves go to the even neighbour (the FPU's default mode), so that 0.5 and
// 1.5 land on 0 and 2 and a scale of evenly spaced values does not drift one way. The caller
// keeps the value inside the 64-bit range.
inline std::int64_t RoundHalfToEven(double value) {
  return static_cast<std::int64_t>(std::nearbyint(value));
}

// The multiple of step nearest to value on the side of zero.
inline double TruncateToMultipleOf(double value, double step) {
  return std::trunc(value / step) * step;
}

// a × b / c rounded to the nearest integer, halves away from zero (the rule of point sizes
// and margin percentages), in 64 bits so that no setting can overflow.
inline std::int64_t MulDivRoundHalfAway(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t n = a * b;
  const std::int64_t half = c / 2;
  return n >= 0 ? (n + half) / c : (n - half) / c;
}

// A pixel position computed in 64 bits, pulled into the int range.
inline int ClampToIntRange(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// An edge of a rectangle computed in 64 bits, pulled into half the int range: the width,
// height and centre taken from two such edges can then never overflow.
inline int ClampToHalfIntRange(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min() / 2,
                                                   std::numeric_limits<int>::max() / 2));
}

}  // namespace plotvik

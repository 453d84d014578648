#pragma once

#include <cmath>
#include <cstdint>

#include "platform/numeric.h"

namespace plotvik {

// The range laid evenly over the pixels. Values grow from the end pixel on a vertical axis,
// since screen rows grow downwards; inverted swaps the ends.
struct TAxisMapping {
  double rangeMin = 0;
  double rangeMax = 0;
  int startPixel = 0;
  int endPixel = 0;
  bool horizontal = true;
  bool inverted = false;

  double RangeSpan() const { return rangeMax - rangeMin; }
  int PixelSize() const { return endPixel - startPixel; }
  int CenterPixel() const { return (startPixel + endPixel) / 2; }

  // An empty range, and a value too far off for a pixel (or not a number), sit at the centre.
  int PixelOf(double value) const {
    const double span = RangeSpan();
    if (span != 0) {
      const double offset = (value - rangeMin) * PixelSize() / span;
      if (std::fabs(offset) < 2147483647.0) {
        const std::int64_t pixels = NearestTiesEven(offset);
        return ClampToIntRange(horizontal != inverted ? startPixel + pixels : endPixel - pixels);
      }
    }
    return CenterPixel();
  }

  // Rounds halves to even for |value| < 2^52 by the addition alone, leaving the floating-point
  // rounding mode as it is (every pixel of a frame comes through here): past 2^52 the sum's
  // last bit is 1, so the addition itself rounds, ties to even, and the subtraction is exact.
  static std::int64_t NearestTiesEven(double value) {
    constexpr double kTwo52 = 4503599627370496.0;
    return static_cast<std::int64_t>(std::copysign((std::fabs(value) + kTwo52) - kTwo52, value));
  }

  // Without a pixel to spread the range over, every pixel reads 0.
  double ValueOf(int pixel) const {
    if (PixelSize() < 1) return 0;
    const double offset =
        inverted ? static_cast<double>(endPixel) - pixel : static_cast<double>(pixel) - startPixel;
    const double change = offset * RangeSpan() / PixelSize();
    return horizontal ? rangeMin + change : rangeMax - change;
  }
};

}  // namespace plotvik

#pragma once

#include <cmath>
#include <cstdint>

#include "platform/numeric.h"

namespace plotvik {

// How one axis turns values into pixels and back: the range [rangeMin, rangeMax] laid evenly
// over the pixels [startPixel, endPixel]. Values grow from the start pixel on a horizontal axis
// and from the end pixel on a vertical one, since screen rows grow downwards; inverted swaps
// that.
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

  // Every value of an empty range, and one too far off to have a pixel (or not a number), sits
  // at the centre.
  int PixelOf(double value) const {
    const double span = RangeSpan();
    if (span != 0) {
      const double offset = (value - rangeMin) * PixelSize() / span;
      if (std::fabs(offset) < 2147483647.0) {
        const std::int64_t pixels = RoundHalfToEven(offset);
        return ClampToIntRange(horizontal != inverted ? startPixel + pixels : endPixel - pixels);
      }
    }
    return CenterPixel();
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

#pragma once

// Pieces shared by the raster's implementation files; not for use outside platform/gui.

#include <algorithm>

#include "platform/color.h"
#include "platform/gui/geometry.h"
#include "platform/gui/graphic_objects.h"

namespace plotvik::raster {

constexpr TRGB kOpaque = 0xFF000000u;

// Far coordinates are pulled in to this before box arithmetic, so that growing a box by a pen
// width or text margins cannot overflow.
constexpr int kFarCoordinate = 1 << 29;

inline int ClampToFarCoordinate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -kFarCoordinate, kFarCoordinate));
}

// True when `box` is empty or lies inside `outer`: what every pixel loop may write.
constexpr bool LiesWithin(const TRect& box, const TRect& outer) {
  return box.IsEmpty() || (box.Left >= outer.Left && box.Top >= outer.Top &&
                           box.Right <= outer.Right && box.Bottom <= outer.Bottom);
}

inline TRGB PixelOf(TColor color) {
  return ColorToPixel(ColorToRGB(color)) | kOpaque;
}

// How one pixel is written: the colour replaces it, or (pmNotXor) the pixel becomes
// NOT(colour XOR pixel).
struct Ink {
  TRGB color = kOpaque;
  bool notXor = false;
  void operator()(TRGB& pixel) const { pixel = notXor ? (~(color ^ pixel)) | kOpaque : color; }
};

inline Ink MakeInk(TColor color, TPenMode mode) {
  return {PixelOf(color), mode == pmNotXor};
}

}  // namespace plotvik::raster

namespace plotvik::raster {

// Fonts need an application object: tests and tools without one get one here (off-screen when
// no display is configured).
void EnsureGuiApplication();

}  // namespace plotvik::raster

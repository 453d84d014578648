#pragma once

// Pieces shared by the raster's implementation files; not for use outside raster/.

#include <algorithm>
#include <span>

#include "raster/color.h"
#include "raster/geometry.h"
#include "raster/graphic_objects.h"

namespace plotvik::raster {

constexpr TRGB kOpaque = 0xFF000000u;

// Far coordinates are pulled in to this before box arithmetic, so that growing a box by a pen
// width or text margins cannot overflow.
constexpr int kFarCoordinate = 1 << 29;

inline int ClampToFarCoordinate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -kFarCoordinate, kFarCoordinate));
}

// The corners of the points' bounding box, wide enough that far coordinates cannot overflow.
struct PointBounds {
  long long left, top, right, bottom;
};

inline PointBounds BoundsOf(std::span<const TPoint> pts) {
  PointBounds b{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
  for (const TPoint& p : pts) {
    b.left = std::min<long long>(b.left, p.X);
    b.top = std::min<long long>(b.top, p.Y);
    b.right = std::max<long long>(b.right, p.X);
    b.bottom = std::max<long long>(b.bottom, p.Y);
  }
  return b;
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

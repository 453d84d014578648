#pragma once

// Pieces shared by the raster's implementation files; not for use outside platform/gui.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/color.h"
#include "platform/gui/geometry.h"
#include "platform/gui/graphic_objects.h"

namespace plotvik::raster {

constexpr TRGB kOpaque = 0xFF000000u;

// Coordinates far outside any buffer are pulled in to this distance before box arithmetic, so
// that growing a box by a pen width or a text by its margins cannot overflow. Lines need no such
// care: they are walked in 64 bits and only over the stretch that meets the clip.
constexpr int kFarCoordinate = 1 << 29;

inline int ClampToFarCoordinate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -kFarCoordinate, kFarCoordinate));
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

// A byte per pixel over a box: which pixels a figure touches, so that a pixel is written once
// even where strokes overlap (which matters for pmNotXor).
class Mask {
 public:
  // The box comes from TRect::Intersected, so it is never inverted.
  explicit Mask(const TRect& box) : box_(box) {
    bits_.assign(static_cast<std::size_t>(box_.Width()) * static_cast<std::size_t>(box_.Height()),
                 0);
  }
  const TRect& Box() const { return box_; }
  bool Contains(int x, int y) const { return box_.Contains(x, y); }
  std::uint8_t Get(int x, int y) const { return Contains(x, y) ? bits_[Index(x, y)] : 0; }
  // Raises the pixel's value to `v` (an "on" pixel is never turned back into a gap).
  void Mark(int x, int y, std::uint8_t v) {
    if (!Contains(x, y)) return;
    auto& b = bits_[Index(x, y)];
    if (v > b) b = v;
  }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y - box_.Top) * static_cast<std::size_t>(box_.Width()) +
           static_cast<std::size_t>(x - box_.Left);
  }
  TRect box_;
  std::vector<std::uint8_t> bits_;
};

}  // namespace plotvik::raster

namespace plotvik::raster {

// Makes sure a desktop application object exists (fonts and widgets need one). Programs create
// their own first; code without one (tests, tools) gets one made here, on the off-screen
// platform when no display is configured.
void EnsureGuiApplication();

}  // namespace plotvik::raster

#pragma once

#include <algorithm>

namespace plotvik {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle whose right and bottom edges are exclusive: (0, 0, 5, 5) covers 5 x 5 pixels.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(int x, int y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  // Left <= Right and Top <= Bottom, swapping where needed.
  constexpr TRect Normalized() const {
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right),
            std::max(Top, Bottom)};
  }
  // The common part; the empty rectangle (0, 0, 0, 0) when the two do not meet, so that a
  // result is never inverted.
  constexpr TRect Intersected(const TRect& other) const {
    const TRect common{std::max(Left, other.Left), std::max(Top, other.Top),
                       std::min(Right, other.Right), std::min(Bottom, other.Bottom)};
    return common.IsEmpty() ? TRect{} : common;
  }
  // Each takes a band `size` pixels deep off one edge and returns it; the edge moves inwards
  // by size (outwards for a negative size, which then returns an inverted band).
  constexpr TRect TakeFromLeft(int size) {
    const TRect band{Left, Top, Left + size, Bottom};
    Left += size;
    return band;
  }
  constexpr TRect TakeFromTop(int size) {
    const TRect band{Left, Top, Right, Top + size};
    Top += size;
    return band;
  }
  constexpr TRect TakeFromRight(int size) {
    const TRect band{Right - size, Top, Right, Bottom};
    Right -= size;
    return band;
  }
  constexpr TRect TakeFromBottom(int size) {
    const TRect band{Left, Bottom - size, Right, Bottom};
    Bottom -= size;
    return band;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace plotvik

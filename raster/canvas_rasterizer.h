#pragma once

// The canvas's pen, brush and clip turned into pixel loops; not for use outside raster/.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/invariant.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/canvas_line.h"
#include "raster/raster_internal.h"

namespace plotvik {

namespace raster {

// Whether the figures take their exact shortcuts; only the test that compares every shortcut with
// the general drawing, pixel for pixel, turns them off.
bool FastPaths();
void SetFastPaths(bool on);

// A byte per pixel over a box: which pixels a figure touches, so that a pixel is written once
// even where strokes overlap (which matters for pmNotXor). A pointer's box fits the inline bytes,
// so the figures drawn a million times in a frame allocate nothing.
class Mask {
 public:
  // The box comes from TRect::Intersected, so it is never inverted.
  explicit Mask(const TRect& box) : box_(box) {
    const std::size_t size =
        static_cast<std::size_t>(box_.Width()) * static_cast<std::size_t>(box_.Height());
    if (size <= inline_.size()) {
      bits_ = inline_.data();
    } else {
      heap_.resize(size);
      bits_ = heap_.data();
    }
    std::fill_n(bits_, size, std::uint8_t{0});
  }
  Mask(const Mask&) = delete;
  Mask& operator=(const Mask&) = delete;
  const TRect& Box() const { return box_; }
  bool Contains(int x, int y) const { return box_.Contains(x, y); }
  std::uint8_t Get(int x, int y) const { return Contains(x, y) ? bits_[Index(x, y)] : 0; }
  // The bytes of row y (inside the box), from the box's left edge.
  const std::uint8_t* Row(int y) const {
    return bits_ + static_cast<std::size_t>(y - box_.Top) * static_cast<std::size_t>(box_.Width());
  }
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
  std::uint8_t* bits_ = nullptr;
  std::array<std::uint8_t, 256> inline_;
  std::vector<std::uint8_t> heap_;
};

}  // namespace raster

// The pixels that polygons of one shape set with one solid pen and brush, relative to their
// first point: a series draws the same pointer a million times.
class TCanvas::PolygonStamps {
 public:
  static constexpr std::size_t kMaxPoints = 8;
  struct Pixel {
    int dx = 0, dy = 0;
    bool pen = false;  // the pen's ink, else the brush's
  };
  struct Stamp {
    std::vector<TPoint> shape;  // the points less the first
    int penWidth = 0;
    bool pen = false, brush = false;
    std::vector<Pixel> pixels;
  };
  // The stamp of that shape, or nullptr.
  const Stamp* Find(std::span<const TPoint> points, int penWidth, bool pen, bool brush) const;
  Stamp& Add(Stamp stamp);

 private:
  static constexpr std::size_t kKept = 8;
  std::vector<Stamp> stamps_;
  std::size_t next_ = 0;
};

// The current pen, brush and clip of a canvas turned into what the pixel loops need. Every
// loop writes only inside the clip, which lies inside the target.
class TRasterizer {
 public:
  explicit TRasterizer(TCanvas& c);

  const TRect& Clip() const { return clip_; }
  bool PenVisible() const { return visible_; }
  int PenWidth() const { return width_; }
  bool BrushVisible() const { return brushVisible_; }
  bool Solid() const { return pattern_.Solid(); }
  const raster::Ink& PenInk() const { return ink_; }
  const raster::Ink& BrushInk() const { return brushInk_; }
  bool InsideFrame() const { return insideFrame_; }

  // A one-pixel line; `phase` carries the broken-style pattern on to the next line.
  void ThinLine(int x0, int y0, int x1, int y1, int& phase);
  // Marks the stroke of a path into `mask` (2 = pen pixel, 1 = gap to fill with the background
  // colour). One-pixel strokes take each segment's pixels without its end; wider ones put a
  // square of the pen's width on every pixel of the path, both ends included (square caps).
  void StrokePath(std::span<const TPoint> pts, bool closed, raster::Mask& mask) const;
  void ApplyStroke(const raster::Mask& mask);
  // Fills the pixels of r (within the clip) that the stroke left alone, with the brush.
  void FillExcept(const TRect& r, const raster::Mask& stroke);
  void FillRect(const TRect& r, const raster::Ink& ink);
  // A box around the points grown by the pen, cut to the clip (or to `area`).
  TRect StrokeBox(std::span<const TPoint> pts) const { return StrokeBox(pts, clip_); }
  TRect StrokeBox(std::span<const TPoint> pts, const TRect& area) const;
  const TRect& TargetBounds() const { return bounds_; }

 private:
  // Callers must clip: a box outside the target would write past the pixel rows.
  void CheckInsideTarget(const TRect& box) const {
    PLOTVIK_ASSERT(raster::LiesWithin(box, bitmap_.Bounds()));
  }

  // The target's rows, made once per figure rather than looked up per pixel.
  TRGB* Row(int y) const {
    return pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap_.Width());
  }

  TBitmap& bitmap_;
  TRGB* pixels_ = nullptr;
  TRect bounds_;
  TRect clip_;
  int width_ = 1;
  bool visible_ = true;
  bool insideFrame_ = false;
  raster::DashPattern pattern_;
  raster::Ink ink_;
  bool fillGaps_ = false;
  raster::Ink gapInk_;
  bool brushVisible_ = true;
  raster::Ink brushInk_;
};

}  // namespace plotvik

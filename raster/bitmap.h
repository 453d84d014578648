#pragma once

#include <memory>
#include <span>
#include <vector>

#include "raster/color.h"
#include "raster/geometry.h"

namespace plotvik {

class TCanvas;

// An off-screen pixel buffer of 32-bit RGB pixels (0xFFRRGGBB: the top byte is always set, as
// the toolkit's opaque image format wants; rows follow each other without padding) with its own
// canvas. A resize keeps the pixels of the common part.
// The pixels are made at their first use: a buffer that is painted whole, or never, costs no
// first touch of fresh pages; storage given up by a resize or a destruction is kept (a few
// megabytes at most) for the next buffer of that size.
class TBitmap {
 public:
  TBitmap(int width = 0, int height = 0, TColor fill = clWhite);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  TRect Bounds() const { return {0, 0, width_, height_}; }
  // New pixels are filled with `fill`; the canvas keeps its pen, brush and font, loses its clip.
  void SetSize(int width, int height, TColor fill = clWhite);

  TCanvas& Canvas() { return *canvas_; }

  // The pixel as a plain colour; clNone outside the bitmap.
  TColor Pixel(int x, int y) const;
  std::span<TRGB> Pixels() {
    Make();
    return pixels_;
  }
  std::span<const TRGB> Pixels() const {
    Make();
    return pixels_;
  }
  TRGB* Row(int y) {
    Make();
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  const TRGB* Row(int y) const {
    Make();
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  void Fill(TColor color);

 private:
  void Make() const {
    if (pending_) [[unlikely]]
      MakePixels();
  }
  void MakePixels() const;

  int width_ = 0;
  int height_ = 0;
  // While set, the pixels are all `pendingFill_` and `pixels_` is empty.
  mutable bool pending_ = false;
  TRGB pendingFill_ = 0;
  mutable std::vector<TRGB> pixels_;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace plotvik

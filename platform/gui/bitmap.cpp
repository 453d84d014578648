#include "platform/gui/bitmap.h"

#include <algorithm>

#include "platform/gui/canvas.h"

namespace plotvik {

namespace {
TRGB Opaque(TColor color) {
  return ColorToPixel(ColorToRGB(color)) | 0xFF000000u;
}
}  // namespace

TBitmap::TBitmap(int width, int height, TColor fill) : canvas_(std::make_unique<TCanvas>(*this)) {
  SetSize(width, height, fill);
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height, TColor fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_ && !pixels_.empty()) return;
  std::vector<TRGB> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                           Opaque(fill));
  const int w = std::min(width, width_);
  const int h = std::min(height, height_);
  for (int y = 0; y < h; ++y) {
    std::copy_n(Row(y), w, pixels.data() + static_cast<std::size_t>(y) * width);
  }
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
  canvas_->TargetResized();
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  return PixelToColor(Row(y)[x] & 0xFFFFFFu);
}

void TBitmap::Fill(TColor color) {
  std::fill(pixels_.begin(), pixels_.end(), Opaque(color));
}

}  // namespace plotvik

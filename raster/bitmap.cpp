#include "raster/bitmap.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "raster/canvas.h"
#include "raster/raster_internal.h"

namespace plotvik {

namespace {

// Pixel storage given up by bitmaps, handed to the next bitmap of exactly that size: a window
// image or a chart frame made again, or the render tool's charts one after another, write into
// pages the process already has instead of faulting in fresh ones.
class TSpareStorage {
 public:
  std::vector<TRGB> Take(std::size_t size) {
    {
      const std::lock_guard lock(mutex_);
      const auto it = std::find_if(spare_.begin(), spare_.end(),
                                   [&](const std::vector<TRGB>& v) { return v.size() == size; });
      if (it != spare_.end()) {
        std::vector<TRGB> pixels = std::move(*it);
        spare_.erase(it);
        bytes_ -= Bytes(pixels);
        return pixels;
      }
    }
    std::vector<TRGB> pixels;
    // The contents are written by the caller: only the size matters here.
    pixels.resize(size);
    return pixels;
  }

  void Give(std::vector<TRGB>&& pixels) {
    // Small buffers are cheap to make, and one larger than the whole store is not kept.
    if (pixels.size() < kSmallest || Bytes(pixels) > kMaxBytes) return;
    pixels.resize(pixels.capacity());
    const std::lock_guard lock(mutex_);
    bytes_ += Bytes(pixels);
    spare_.push_back(std::move(pixels));
    while (bytes_ > kMaxBytes) {
      bytes_ -= Bytes(spare_.front());
      spare_.pop_front();
    }
  }

 private:
  static constexpr std::size_t kSmallest = 16 * 1024;
  static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;
  static std::size_t Bytes(const std::vector<TRGB>& v) { return v.size() * sizeof(TRGB); }

  std::mutex mutex_;
  std::deque<std::vector<TRGB>> spare_;
  std::size_t bytes_ = 0;
};

// Never destroyed: a bitmap destroyed during the program's exit still gives its storage back.
TSpareStorage& Spare() {
  static TSpareStorage* const spare = new TSpareStorage;
  return *spare;
}

}  // namespace

TBitmap::TBitmap(int width, int height, TColor fill) : canvas_(std::make_unique<TCanvas>(*this)) {
  SetSize(width, height, fill);
}

TBitmap::~TBitmap() {
  Spare().Give(std::move(pixels_));
}

void TBitmap::SetSize(int width, int height, TColor fill) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_ && (pending_ || !pixels_.empty())) return;
  const TRGB colour = raster::PixelOf(fill);
  const int w = std::min(width, width_);
  const int h = std::min(height, height_);
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  // Nothing kept is anything but the new fill: the new pixels can wait for their first use.
  const bool plain = w == 0 || h == 0 || (pending_ && pendingFill_ == colour);
  if (plain || size == 0) {
    Spare().Give(std::move(pixels_));
    pixels_.clear();
    pending_ = size != 0;
    pendingFill_ = colour;
  } else {
    Make();
    std::vector<TRGB> pixels = Spare().Take(size);
    std::fill(pixels.begin(), pixels.end(), colour);
    for (int y = 0; y < h; ++y) {
      std::copy_n(Row(y), w, pixels.data() + static_cast<std::size_t>(y) * width);
    }
    Spare().Give(std::move(pixels_));
    pixels_ = std::move(pixels);
  }
  width_ = width;
  height_ = height;
  canvas_->TargetResized();
}

void TBitmap::MakePixels() const {
  pixels_ = Spare().Take(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  std::fill(pixels_.begin(), pixels_.end(), pendingFill_);
  pending_ = false;
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  if (pending_) return PixelToColor(pendingFill_ & 0xFFFFFFu);
  return PixelToColor(Row(y)[x] & 0xFFFFFFu);
}

void TBitmap::Fill(TColor color) {
  if (pending_ || pixels_.empty()) {
    pendingFill_ = raster::PixelOf(color);
    pending_ = width_ > 0 && height_ > 0;
    return;
  }
  std::fill(pixels_.begin(), pixels_.end(), raster::PixelOf(color));
}

}  // namespace plotvik

// Glyph masks from the font files (glyph_source.h), placed by our own code at whole-pixel
// advances, so that measuring and drawing never disagree, every path gives the same pixels, and
// every system draws the same text.

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/invariant.h"
#include "platform/utf8.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/canvas_rasterizer.h"
#include "raster/glyph_source.h"
#include "raster/raster_internal.h"

namespace plotvik {

namespace {

// The glyph pixels of one text, over its box grown by a margin on every side (glyphs may overhang
// their advance box).
struct TextImage {
  int width = 0, height = 0, margin = 0;
  std::vector<std::uint8_t> fill;
  int Stride() const { return width + 2 * margin; }
  int Rows() const { return height + 2 * margin; }
  bool At(int u, int v) const {
    const int iu = u + margin, iv = v + margin;
    if (fill.empty() || iu < 0 || iv < 0 || iu >= Stride() || iv >= Rows()) return false;
    return fill[static_cast<std::size_t>(iv) * static_cast<std::size_t>(Stride()) +
                static_cast<std::size_t>(iu)] != 0;
  }
  void Set(int u, int v) {
    const int iu = u + margin, iv = v + margin;
    if (iu < 0 || iv < 0 || iu >= Stride() || iv >= Rows()) return;
    fill[static_cast<std::size_t>(iv) * static_cast<std::size_t>(Stride()) +
         static_cast<std::size_t>(iu)] = 1;
  }
};

}  // namespace

class TCanvas::TextEngine {
 public:
  explicit TextEngine(TGlyphSources& glyphs) : glyphs_(glyphs) {}

  // Makes `font` current; false when it cannot be drawn (a zero size).
  bool Select(const TFont& font) {
    const int pixels = std::abs(font.Height());
    if (pixels <= 0) return false;
    if (source_ != nullptr && pixels == pixelSize_ && font.Name() == name_ &&
        font.Style() == style_)
      return true;
    source_ = &glyphs_.Face(font.Name(), pixels, font.Style() & (fsBold | fsItalic));
    name_ = font.Name();
    pixelSize_ = pixels;
    style_ = font.Style();
    const TFaceMetrics& m = source_->Metrics();
    metrics_.Ascent = m.Ascent;
    metrics_.Descent = m.Descent;
    bars_.clear();
    if (style_ & fsUnderline) bars_.push_back(m.Underline);
    if (style_ & fsStrikeOut) bars_.push_back(m.StrikeOut);
    return true;
  }

  const TTextMetrics& Metrics() const { return metrics_; }

  int Advance(char32_t ch) { return source_->Advance(ch); }

  int Width(const std::u32string& text, int extra) {
    int w = 0;
    for (char32_t ch : text) w += Advance(ch) + extra;
    return std::max(w, 0);
  }

  TextImage Render(const std::u32string& text, int extra) {
    TextImage t;
    t.width = Width(text, extra);
    t.height = metrics_.Height();
    t.margin = t.height / 2 + 2;
    // Glyphs come from the cache and are copied in at whole-pixel pen positions.
    t.fill.assign(static_cast<std::size_t>(t.Stride()) * static_cast<std::size_t>(t.Rows()), 0);
    int x = 0;
    for (char32_t ch : text) {
      const TGlyphMask& g = source_->Mask(ch);
      for (int gy = 0; gy < g.height; ++gy)
        for (int gx = 0; gx < g.width; ++gx)
          if (g.bits[static_cast<std::size_t>(gy * g.width + gx)])
            t.Set(x + g.left + gx, metrics_.Ascent + g.top + gy);
      ForEachBar(ch, x, [&](const TRect& bar) {
        for (int v = bar.Top; v < bar.Bottom; ++v)
          for (int u = bar.Left; u < bar.Right; ++u) t.Set(u, v);
      });
      x += Advance(ch) + extra;
    }
    return t;
  }

  // The glyph outlines of the text, in text-box coordinates (the box's top left at 0, 0).
  std::vector<TGlyphContour> Outlines(const std::u32string& text, int extra) {
    std::vector<TGlyphContour> contours;
    int x = 0;
    for (char32_t ch : text) {
      for (TGlyphContour& c : source_->Outline(ch)) {
        for (TGlyphPoint& p : c) p = {p.X + x, p.Y + metrics_.Ascent};
        contours.push_back(std::move(c));
      }
      ForEachBar(ch, x, [&](const TRect& bar) {
        const double l = bar.Left, t = bar.Top, r = bar.Right, b = bar.Bottom;
        contours.push_back({{l, t}, {r, t}, {r, b}, {l, b}});
      });
      x += Advance(ch) + extra;
    }
    return contours;
  }

 private:
  // The underline and strike-out of the character at pen position x, in text-box coordinates.
  template <typename Visit>
  void ForEachBar(char32_t ch, int x, Visit&& visit) {
    if (bars_.empty()) return;
    const int advance = Advance(ch);
    for (const TBar& bar : bars_) {
      const int top = metrics_.Ascent + (advance == 0 ? bar.DotRow : bar.Top);
      visit(TRect{x, top, x + std::max(advance, 1), top + (advance == 0 ? 1 : bar.Rows)});
    }
  }

  TGlyphSources& glyphs_;
  TGlyphSource* source_ = nullptr;
  std::string name_;
  int pixelSize_ = 0;
  TFontStyles style_ = 0;
  TTextMetrics metrics_;
  std::vector<TBar> bars_;
};

// Here rather than with the drawing code: the text engine is complete only in this file.
TCanvas::TCanvas(TBitmap& target) : target_(target) {
  pen_.OnChange = [this] {
    if (!selectingPen_) penKind_ = pkNormal;
  };
}

TCanvas::~TCanvas() = default;

void TCanvas::SetGlyphs(TGlyphSources* glyphs) {
  if (glyphs == glyphs_) return;
  glyphs_ = glyphs;
  text_.reset();
}

TCanvas::TextEngine* TCanvas::Text() {
  if (!text_ && glyphs_ != nullptr) text_ = std::make_unique<TextEngine>(*glyphs_);
  return text_ != nullptr && text_->Select(font_) ? text_.get() : nullptr;
}

TSize TCanvas::TextExtent(std::string_view text) {
  TextEngine* const engine = Text();
  if (engine == nullptr) return {};
  return {engine->Width(DecodeUtf8(text), charExtra_), engine->Metrics().Height()};
}

TTextMetrics TCanvas::TextMetrics() {
  TextEngine* const engine = Text();
  return engine != nullptr ? engine->Metrics() : TTextMetrics{};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  DrawText(x, y, text, false);
}

void TCanvas::TextOutOutlined(int x, int y, std::string_view text) {
  DrawText(x, y, text, true);
}

void TCanvas::DrawText(int x, int y, std::string_view text, bool outlined) {
  TextEngine* const engine = Text();
  if (engine == nullptr) return;
  const std::u32string chars = DecodeUtf8(text);
  const bool opaque = backMode_ == TTextBackMode::Opaque;
  // Outlined text has its glyphs drawn as polygons below; its image only carries the box.
  TextImage t;
  if (outlined) {
    t.width = engine->Width(chars, charExtra_);
    t.height = engine->Metrics().Height();
  } else {
    t = engine->Render(chars, charExtra_);
  }

  // The output point's place in the text box.
  int ax = 0;
  if ((textAlign_ & TA_CENTER) == TA_CENTER)
    ax = t.width / 2;
  else if ((textAlign_ & TA_RIGHT) == TA_RIGHT)
    ax = t.width;
  int ay = 0;
  if ((textAlign_ & TA_BASELINE) == TA_BASELINE)
    ay = engine->Metrics().Ascent;
  else if ((textAlign_ & TA_BOTTOM) == TA_BOTTOM)
    ay = t.height;

  int tenths = font_.Orientation() % 3600;
  if (tenths < 0) tenths += 3600;
  double c, s;
  switch (tenths) {
    case 0:
      c = 1, s = 0;
      break;
    case 900:
      c = 0, s = 1;
      break;
    case 1800:
      c = -1, s = 0;
      break;
    case 2700:
      c = 0, s = -1;
      break;
    default: {
      const double a = tenths * 3.14159265358979323846 / 1800.0;
      c = std::cos(a);
      s = std::sin(a);
    }
  }

  if (!outlined || opaque) {
    // Device bounds of the rotated image.
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (double u : {static_cast<double>(-t.margin), static_cast<double>(t.width + t.margin)}) {
      for (double v : {static_cast<double>(-t.margin), static_cast<double>(t.height + t.margin)}) {
        const double du = u - ax, dv = v - ay;
        const double X = x + du * c + dv * s;
        const double Y = y - du * s + dv * c;
        minX = std::min(minX, X), maxX = std::max(maxX, X);
        minY = std::min(minY, Y), maxY = std::max(maxY, Y);
      }
    }
    // Text far outside the buffer: keep the bounds within int range before converting them.
    constexpr double kFar = raster::kFarCoordinate;
    minX = std::clamp(minX, -kFar, kFar), maxX = std::clamp(maxX, -kFar, kFar);
    minY = std::clamp(minY, -kFar, kFar), maxY = std::clamp(maxY, -kFar, kFar);
    TRect clip = clip_ ? clip_->Intersected(target_.Bounds()) : target_.Bounds();
    const TRect box =
        TRect{static_cast<int>(std::floor(minX)) - 1, static_cast<int>(std::floor(minY)) - 1,
              static_cast<int>(std::ceil(maxX)) + 1, static_cast<int>(std::ceil(maxY)) + 1}
            .Intersected(clip);
    if (box.IsEmpty() && !outlined) return;
    PLOTVIK_ASSERT(raster::LiesWithin(box, target_.Bounds()));

    const raster::Ink textInk{raster::PixelOf(font_.Color()), false};
    const raster::Ink backInk{raster::PixelOf(backColor_), false};
    const auto put = [&](TRGB& pixel, int u, int v) {
      if (t.At(u, v))
        textInk(pixel);
      else if (opaque && u >= 0 && v >= 0 && u < t.width && v < t.height)
        backInk(pixel);
    };
    // Upright text samples its image at whole-pixel offsets: the pixel centres' floor is exact.
    const bool upright = tenths == 0 && raster::FastPaths();
    for (int Y = box.Top; Y < box.Bottom; ++Y) {
      TRGB* row = target_.Row(Y);
      if (upright) {
        const int v = ay + (Y - y);
        for (int X = box.Left; X < box.Right; ++X) put(row[X], ax + (X - x), v);
        continue;
      }
      const double dY = Y + 0.5 - y;
      for (int X = box.Left; X < box.Right; ++X) {
        const double dX = X + 0.5 - x;
        put(row[X], static_cast<int>(std::floor(ax + dX * c - dY * s)),
            static_cast<int>(std::floor(ay + dX * s + dY * c)));
      }
    }
  }

  if (outlined) {
    // The outlines as device polygons, stroked with the pen and filled with the brush by the
    // same rasterizer as every other figure.
    constexpr double kFar = raster::kFarCoordinate;
    std::vector<std::vector<TPoint>> polygons;
    for (const TGlyphContour& contour : engine->Outlines(chars, charExtra_)) {
      std::vector<TPoint>& polygon = polygons.emplace_back();
      polygon.reserve(contour.size());
      for (const TGlyphPoint& p : contour) {
        const double du = p.X - ax, dv = p.Y - ay;
        const double X = std::clamp(x + du * c + dv * s, -kFar, kFar);
        const double Y = std::clamp(y - du * s + dv * c, -kFar, kFar);
        const TPoint device{static_cast<int>(std::floor(X + 0.5)),
                            static_cast<int>(std::floor(Y + 0.5))};
        if (polygon.empty() || polygon.back() != device) polygon.push_back(device);
      }
      // The polygon closes itself.
      if (polygon.size() > 1 && polygon.back() == polygon.front()) polygon.pop_back();
    }
    std::vector<std::span<const TPoint>> contours(polygons.begin(), polygons.end());
    TRasterizer r(*this);
    DrawPolygons(r, contours);
  }
  Changed();
}

}  // namespace plotvik

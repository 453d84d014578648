// Glyph masks drawn by the toolkit without anti-aliasing, placed by our own code at whole-pixel
// advances, so that measuring and drawing never disagree and every path gives the same pixels.

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/canvas_rasterizer.h"
#include "platform/gui/raster_internal.h"
#include "platform/gui/runtime_folder.h"
#include "platform/invariant.h"

namespace plotvik {

namespace raster {

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "plotvik";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends and is never destroyed: the toolkit's own globals (some made
  // only at the first input event) would be gone before a static destructor ran.
  static TRuntimeFolder runtimeFolder;
  static QApplication* const application = new QApplication(argc, argv);
  (void)application;
  runtimeFolder.ToolkitStarted();
}

}  // namespace raster

namespace {

// The faces the program's fonts are drawn with: metric-compatible stand-ins for the names the
// charts were designed with.
QString FamilyFor(const std::string& name) {
  const QString n = QString::fromStdString(name);
  if (n.compare("Arial", Qt::CaseInsensitive) == 0 ||
      n.compare("MS Sans Serif", Qt::CaseInsensitive) == 0 ||
      n.compare("Helvetica", Qt::CaseInsensitive) == 0 ||
      n.compare("Tahoma", Qt::CaseInsensitive) == 0) {
    return QStringLiteral("Liberation Sans");
  }
  if (n.compare("Times New Roman", Qt::CaseInsensitive) == 0)
    return QStringLiteral("Liberation Serif");
  if (n.compare("Courier New", Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Mono");
  return n;
}

// Glyph layers of one text, over its box grown by a margin on every side (glyphs may overhang
// their advance box).
struct TextImage {
  int width = 0, height = 0, margin = 0;
  std::vector<std::uint8_t> fill;    // glyph pixels (or the filled outline)
  std::vector<std::uint8_t> stroke;  // outline pixels, when outlined
  int Stride() const { return width + 2 * margin; }
  bool At(const std::vector<std::uint8_t>& layer, int u, int v) const {
    const int iu = u + margin, iv = v + margin;
    if (layer.empty() || iu < 0 || iv < 0 || iu >= Stride() || iv >= height + 2 * margin)
      return false;
    return layer[static_cast<std::size_t>(iv) * static_cast<std::size_t>(Stride()) +
                 static_cast<std::size_t>(iu)] != 0;
  }
};

std::vector<std::uint8_t> MaskOf(const QImage& image) {
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(image.width()) * image.height());
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      bits[static_cast<std::size_t>(y) * image.width() + x] = (line[x] & 0xFFFFFFu) != 0xFFFFFFu;
  }
  return bits;
}

}  // namespace

class TCanvas::TextEngine {
 public:
  // Makes `font` current; false when it cannot be drawn (a zero size).
  bool Select(const TFont& font) {
    const int pixels = std::abs(font.Height());
    if (pixels <= 0) return false;
    if (qfont_ && pixels == pixelSize_ && font.Name() == name_ && font.Style() == style_)
      return true;
    raster::EnsureGuiApplication();
    QFont f(FamilyFor(font.Name()));
    f.setPixelSize(pixels);
    f.setBold((font.Style() & fsBold) != 0);
    f.setItalic((font.Style() & fsItalic) != 0);
    f.setUnderline((font.Style() & fsUnderline) != 0);
    f.setStrikeOut((font.Style() & fsStrikeOut) != 0);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    qfont_ = f;
    key_ = font.Name() + '/' + std::to_string(pixels) + '/' + std::to_string(font.Style());
    name_ = font.Name();
    pixelSize_ = pixels;
    style_ = font.Style();
    advances_.clear();
    const QFontMetricsF fm(*qfont_);
    // Ascent and descent each rounded up to whole pixels.
    metrics_.Ascent = static_cast<int>(std::ceil(fm.ascent() - 1e-6));
    metrics_.Descent = static_cast<int>(std::ceil(fm.descent() - 1e-6));
    return true;
  }

  const TTextMetrics& Metrics() const { return metrics_; }

  int Advance(char32_t ch) {
    auto it = advances_.find(ch);
    if (it != advances_.end()) return it->second;
    const QFontMetricsF fm(*qfont_);
    const int a = static_cast<int>(std::lround(fm.horizontalAdvance(Text(ch))));
    advances_.emplace(ch, a);
    return a;
  }

  int Width(const std::u32string& text, int extra) {
    int w = 0;
    for (char32_t ch : text) w += Advance(ch) + extra;
    return std::max(w, 0);
  }

  TextImage Render(const std::u32string& text, int extra, bool outlined, int penWidth) {
    TextImage t;
    t.width = Width(text, extra);
    t.height = metrics_.Height();
    t.margin = t.height / 2 + 2 + (outlined ? penWidth : 0);
    if (!outlined) {
      // Glyphs come from the cache and are copied in at whole-pixel pen positions: the same
      // pixels as drawing the text there, at a fraction of the cost.
      t.fill.assign(
          static_cast<std::size_t>(t.Stride()) * static_cast<std::size_t>(t.height + 2 * t.margin),
          0);
      const int base = t.margin + metrics_.Ascent;
      int x = t.margin;
      for (char32_t ch : text) {
        const GlyphMask& g = Glyph(ch);
        for (int gy = 0; gy < g.height; ++gy) {
          const int iy = base + g.top + gy;
          if (iy < 0 || iy >= t.height + 2 * t.margin) continue;
          for (int gx = 0; gx < g.width; ++gx) {
            const int ix = x + g.left + gx;
            if (ix < 0 || ix >= t.Stride() || !g.bits[static_cast<std::size_t>(gy * g.width + gx)])
              continue;
            t.fill[static_cast<std::size_t>(iy) * static_cast<std::size_t>(t.Stride()) +
                   static_cast<std::size_t>(ix)] = 1;
          }
        }
        x += Advance(ch) + extra;
      }
      return t;
    }
    QImage image(t.Stride(), t.height + 2 * t.margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    const double baseline = t.margin + metrics_.Ascent;
    QPainterPath path;
    int x = t.margin;
    for (char32_t ch : text) {
      path.addText(QPointF(x, baseline), *qfont_, Text(ch));
      x += Advance(ch) + extra;
    }
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.fillPath(path, Qt::black);
    }
    t.fill = MaskOf(image);
    if (penWidth > 0) {
      image.fill(Qt::white);
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.strokePath(path, QPen(Qt::black, penWidth));
      p.end();
      t.stroke = MaskOf(image);
    }
    return t;
  }

  // A glyph's pixels, placed relative to the pen position on the baseline.
  struct GlyphMask {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> bits;
  };

  const GlyphMask& Glyph(char32_t ch) {
    auto& glyphs = GlyphCache()[key_];
    auto it = glyphs.find(ch);
    if (it != glyphs.end()) return it->second;
    const int m = pixelSize_ + 4;
    const int w = Advance(ch) + 2 * m, h = metrics_.Height() + 2 * m;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setRenderHint(QPainter::TextAntialiasing, false);
      p.setFont(*qfont_);
      p.setPen(Qt::black);
      p.drawText(QPointF(m, m + metrics_.Ascent), Text(ch));
    }
    const std::vector<std::uint8_t> all = MaskOf(image);
    int x0 = w, y0 = h, x1 = 0, y1 = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (all[static_cast<std::size_t>(y * w + x)]) {
          x0 = std::min(x0, x), y0 = std::min(y0, y);
          x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
        }
    GlyphMask g;
    if (x0 < x1) {
      g.left = x0 - m;
      g.top = y0 - (m + metrics_.Ascent);
      g.width = x1 - x0;
      g.height = y1 - y0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) g.bits.push_back(all[static_cast<std::size_t>(y * w + x)]);
    }
    return glyphs.emplace(ch, std::move(g)).first->second;
  }

  // Shared by every canvas: glyphs depend only on the face, the size and the style. Plain data,
  // so it may outlive the toolkit at exit.
  static std::unordered_map<std::string, std::unordered_map<char32_t, GlyphMask>>& GlyphCache() {
    static std::unordered_map<std::string, std::unordered_map<char32_t, GlyphMask>> cache;
    return cache;
  }

  static std::u32string Decode(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::u32string out;
    for (char32_t ch : s.toUcs4()) out.push_back(ch);
    return out;
  }

 private:
  static QString Text(char32_t ch) { return QString::fromUcs4(&ch, 1); }

  std::optional<QFont> qfont_;
  std::string key_;
  std::string name_;
  int pixelSize_ = 0;
  TFontStyles style_ = 0;
  TTextMetrics metrics_;
  std::unordered_map<char32_t, int> advances_;
};

// Here rather than with the drawing code: the text engine is complete only in this file.
TCanvas::TCanvas(TBitmap& target) : target_(target) {
  pen_.OnChange = [this] {
    if (!selectingPen_) penKind_ = pkNormal;
  };
}

TCanvas::~TCanvas() = default;

TSize TCanvas::TextExtent(std::string_view text) {
  if (!text_) text_ = std::make_unique<TextEngine>();
  if (!text_->Select(font_)) return {};
  return {text_->Width(TextEngine::Decode(text), charExtra_), text_->Metrics().Height()};
}

TTextMetrics TCanvas::TextMetrics() {
  if (!text_) text_ = std::make_unique<TextEngine>();
  if (!text_->Select(font_)) return {};
  return text_->Metrics();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  DrawText(x, y, text, false);
}

void TCanvas::TextOutOutlined(int x, int y, std::string_view text) {
  DrawText(x, y, text, true);
}

void TCanvas::DrawText(int x, int y, std::string_view text, bool outlined) {
  if (!text_) text_ = std::make_unique<TextEngine>();
  if (!text_->Select(font_)) return;
  const std::u32string chars = TextEngine::Decode(text);
  const bool penVisible = pen_.Style() != psClear;
  const int penWidth = outlined && penVisible ? std::max(1, pen_.Width()) : 0;
  const TextImage t = text_->Render(chars, charExtra_, outlined, penWidth);

  // The output point's place in the text box.
  int ax = 0;
  if ((textAlign_ & TA_CENTER) == TA_CENTER)
    ax = t.width / 2;
  else if ((textAlign_ & TA_RIGHT) == TA_RIGHT)
    ax = t.width;
  int ay = 0;
  if ((textAlign_ & TA_BASELINE) == TA_BASELINE)
    ay = text_->Metrics().Ascent;
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
  if (box.IsEmpty()) return;
  PLOTVIK_ASSERT(raster::LiesWithin(box, target_.Bounds()));

  const raster::Ink textInk{raster::PixelOf(font_.Color()), false};
  const raster::Ink backInk{raster::PixelOf(backColor_), false};
  const bool opaque = backMode_ == TTextBackMode::Opaque;
  const bool fillGlyphs = !outlined || brush_.Style() == bsSolid;
  const raster::Ink fillInk =
      outlined ? raster::Ink{raster::PixelOf(brush_.Color()), false} : textInk;
  const raster::Ink strokeInk = raster::MakeInk(pen_.Color(), pen_.Mode());
  const auto put = [&](TRGB& pixel, int u, int v) {
    if (penWidth > 0 && t.At(t.stroke, u, v))
      strokeInk(pixel);
    else if (fillGlyphs && t.At(t.fill, u, v))
      fillInk(pixel);
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
  Changed();
}

}  // namespace plotvik

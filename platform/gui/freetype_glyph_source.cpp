// Glyphs straight from FreeType, with the load flags and metric rounding that give the pixels the
// charts have always had on Linux. Every system loads the same font files through the same
// FreeType version, so the same text sets the same pixels everywhere.

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/font_files.h"
#include "platform/gui/font_glyphs.h"

namespace plotvik {

namespace {

// Fully hinted for a one-bit target: the TrueType hinting for monochrome output, which shapes
// and advances glyphs differently from the other targets. Each glyph's own advance, never a
// face-wide one.
constexpr FT_Int32 kLoadFlags =
    FT_LOAD_DEFAULT | FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH | FT_LOAD_TARGET_MONO;

// Never released: the faces kept for the life of the program may be destroyed after any other
// static object.
FT_Library Library() {
  static const FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) return FT_Library{nullptr};
    // The hinting interpreter the pixels were made with, whatever FREETYPE_PROPERTIES asks for.
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    FT_Property_Set(made, "truetype", "interpreter-version", &interpreter);
    return made;
  }();
  return library;
}

// 26.6 fixed point to whole pixels, halves up.
int Pixels(FT_Pos v) {
  return static_cast<int>((v + 32) >> 6);
}

// A font-unit length scaled to the pixel size in 26.6, the way the toolkit took the vertical
// metrics the charts were laid out with.
long ScaledUnits(long units, int pixels, int unitsPerEm) {
  return std::lround(static_cast<double>(units) * pixels / unitsPerEm * 64.0);
}

// Rounded up to whole pixels: nothing of a glyph may stick out of the text box.
int PixelsUp(long fixed) {
  return static_cast<int>((fixed + 63) >> 6);
}

// The rows a bar of `thickness` pixels centred on the line `centre` (below the baseline) covers:
// a bar of at most one pixel takes the row the line falls in, a thicker one the rows whose
// middles it covers; a bar of no length is a dot in the row nearest the line.
TBar BarAround(double centre, double thickness) {
  const int dot = static_cast<int>(std::floor(centre + 0.5));
  if (thickness <= 1) return {static_cast<int>(std::floor(centre)), 1, dot};
  const int top = static_cast<int>(std::floor(centre - thickness / 2 - 0.5)) + 1;
  const int bottom = static_cast<int>(std::floor(centre + thickness / 2 - 0.5)) + 1;
  return {top, std::max(bottom - top, 0), dot};
}

// Collects an outline's contours, curves cut into pieces no farther than an eighth of a pixel
// from the curve.
class OutlineWalk {
 public:
  std::vector<TGlyphContour> contours;

  static int MoveTo(const FT_Vector* to, void* self) {
    auto& walk = *static_cast<OutlineWalk*>(self);
    walk.contours.emplace_back();
    walk.Add(*to);
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* self) {
    static_cast<OutlineWalk*>(self)->Add(*to);
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* self) {
    auto& walk = *static_cast<OutlineWalk*>(self);
    const TGlyphPoint p0 = walk.last_, c = Point(*control), p1 = Point(*to);
    const double deviation =
        std::hypot(p0.X - 2 * c.X + p1.X, p0.Y - 2 * c.Y + p1.Y) / 4;  // in pixels
    const int n = Pieces(deviation);
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n, s = 1 - t;
      walk.Add(TGlyphPoint{s * s * p0.X + 2 * s * t * c.X + t * t * p1.X,
                           s * s * p0.Y + 2 * s * t * c.Y + t * t * p1.Y});
    }
    return 0;
  }
  static int CubicTo(const FT_Vector* c1v, const FT_Vector* c2v, const FT_Vector* to, void* self) {
    auto& walk = *static_cast<OutlineWalk*>(self);
    const TGlyphPoint p0 = walk.last_, c1 = Point(*c1v), c2 = Point(*c2v), p1 = Point(*to);
    const double deviation =
        0.75 * std::max(std::hypot(p0.X - 2 * c1.X + c2.X, p0.Y - 2 * c1.Y + c2.Y),
                        std::hypot(c1.X - 2 * c2.X + p1.X, c1.Y - 2 * c2.Y + p1.Y));
    const int n = Pieces(deviation);
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n, s = 1 - t;
      walk.Add(TGlyphPoint{
          s * s * s * p0.X + 3 * s * s * t * c1.X + 3 * s * t * t * c2.X + t * t * t * p1.X,
          s * s * s * p0.Y + 3 * s * s * t * c1.Y + 3 * s * t * t * c2.Y + t * t * t * p1.Y});
    }
    return 0;
  }

 private:
  static TGlyphPoint Point(const FT_Vector& v) {
    return {static_cast<double>(v.x) / 64.0, -static_cast<double>(v.y) / 64.0};
  }
  static int Pieces(double deviation) {
    return std::clamp(static_cast<int>(std::ceil(std::sqrt(deviation * 8.0))), 1, 64);
  }
  void Add(const FT_Vector& v) { Add(Point(v)); }
  void Add(const TGlyphPoint& p) {
    if (contours.empty()) contours.emplace_back();
    TGlyphContour& c = contours.back();
    // The walk ends each contour back on its first point, which the contour implies.
    if (c.empty() || c.back().X != p.X || c.back().Y != p.Y) c.push_back(p);
    last_ = p;
  }

  TGlyphPoint last_;
};

// The file's bytes; none when it cannot be read (a folder, a read error).
std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  try {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    return {};
  }
}

class FreeTypeGlyphSource final : public TGlyphSource {
 public:
  FreeTypeGlyphSource(const std::filesystem::path& file, int pixels) {
    bytes_ = ReadWhole(file);
    const FT_Library library = Library();
    if (library == nullptr || bytes_.empty() ||
        FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(bytes_.data()),
                           static_cast<FT_Long>(bytes_.size()), 0, &face_) != 0) {
      face_ = nullptr;
      return;
    }
    if (pixels <= 0 || FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)) != 0) {
      FT_Done_Face(face_);
      face_ = nullptr;
      return;
    }
    TakeMetrics(pixels);
  }
  ~FreeTypeGlyphSource() override {
    if (face_ != nullptr) FT_Done_Face(face_);
  }
  FreeTypeGlyphSource(const FreeTypeGlyphSource&) = delete;
  FreeTypeGlyphSource& operator=(const FreeTypeGlyphSource&) = delete;

  const TFaceMetrics& Metrics() const override { return metrics_; }

  int Advance(char32_t ch) override {
    const auto it = advances_.find(ch);
    if (it != advances_.end()) return it->second;
    int advance = 0;
    if (Load(ch)) advance = Pixels(face_->glyph->advance.x);
    advances_.emplace(ch, advance);
    return advance;
  }

  const TGlyphMask& Mask(char32_t ch) override {
    const auto it = masks_.find(ch);
    if (it != masks_.end()) return it->second;
    return masks_.emplace(ch, MakeMask(ch)).first->second;
  }

  std::vector<TGlyphContour> Outline(char32_t ch) override {
    if (!Load(ch) || face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return {};
    static const FT_Outline_Funcs funcs = {&OutlineWalk::MoveTo,
                                           &OutlineWalk::LineTo,
                                           &OutlineWalk::ConicTo,
                                           &OutlineWalk::CubicTo,
                                           0,
                                           0};
    OutlineWalk walk;
    if (FT_Outline_Decompose(&face_->glyph->outline, &funcs, &walk) != 0) return {};
    std::erase_if(walk.contours, [](const TGlyphContour& c) { return c.size() < 2; });
    return std::move(walk.contours);
  }

 private:
  // A character the face lacks gets the face's missing-glyph shape.
  bool Load(char32_t ch) {
    if (face_ == nullptr) return false;
    const FT_UInt index = FT_Get_Char_Index(face_, static_cast<FT_ULong>(ch));
    return FT_Load_Glyph(face_, index, kLoadFlags) == 0;
  }

  void TakeMetrics(int pixels) {
    const int unitsPerEm = face_->units_per_EM;
    if (unitsPerEm <= 0) return;
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    // The Windows ascent and descent where the face has them, as the fonts' makers meant.
    long ascent = 0, descent = 0;
    if (os2 != nullptr && os2->version != 0xFFFF && (os2->usWinAscent | os2->usWinDescent) != 0) {
      ascent = ScaledUnits(os2->usWinAscent, pixels, unitsPerEm);
      descent = ScaledUnits(os2->usWinDescent, pixels, unitsPerEm);
    } else if (hhea != nullptr) {
      ascent = ScaledUnits(hhea->Ascender, pixels, unitsPerEm);
      descent = ScaledUnits(-hhea->Descender, pixels, unitsPerEm);
    }
    metrics_.Ascent = PixelsUp(ascent);
    metrics_.Descent = PixelsUp(descent);

    // The underline sits on whole rows below the glyphs but inside the descent; the strike-out
    // a third of the ascent up. Both are as thick as the face's underline, one row at least.
    const FT_Fixed scale = face_->size->metrics.y_scale;
    const long thickness = FT_MulFix(face_->underline_thickness, scale);
    const long underline = -FT_MulFix(face_->underline_position, scale) - thickness / 2;
    double centre = std::ceil(underline / 64.0) + 0.5;
    if (underline <= descent) centre = std::min(centre, descent / 64.0 - 0.5);
    const double bar = std::max(thickness / 64.0, 1.0);
    metrics_.Underline = BarAround(centre, bar);
    metrics_.StrikeOut = BarAround(-(ascent / 64.0) / 3, bar);
  }

  TGlyphMask MakeMask(char32_t ch) {
    TGlyphMask mask;
    if (!Load(ch) || FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_MONO) != 0) return mask;
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return mask;
    const int rows = static_cast<int>(bitmap.rows), columns = static_cast<int>(bitmap.width);
    const auto bit = [&](int x, int y) {
      const int pitch = bitmap.pitch;
      const unsigned char* row =
          pitch >= 0 ? bitmap.buffer + static_cast<std::ptrdiff_t>(y) * pitch
                     : bitmap.buffer + static_cast<std::ptrdiff_t>(rows - 1 - y) * -pitch;
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    };
    // Cropped to the set pixels: the bitmap may carry empty rows and columns.
    int x0 = columns, y0 = rows, x1 = 0, y1 = 0;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < columns; ++x)
        if (bit(x, y)) {
          x0 = std::min(x0, x), y0 = std::min(y0, y);
          x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
        }
    if (x0 >= x1) return mask;
    mask.left = slot->bitmap_left + x0;
    mask.top = -slot->bitmap_top + y0;
    mask.width = x1 - x0;
    mask.height = y1 - y0;
    mask.bits.reserve(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height));
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) mask.bits.push_back(static_cast<std::uint8_t>(bit(x, y)));
    return mask;
  }

  std::string bytes_;  // the file, which the face reads from for as long as it lives
  FT_Face face_ = nullptr;
  TFaceMetrics metrics_;
  std::unordered_map<char32_t, int> advances_;
  std::unordered_map<char32_t, TGlyphMask> masks_;
};

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) {
      return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return lower(x) == lower(y);
  });
}

}  // namespace

std::string_view FontFileFor(std::string_view name, TFontStyles style) {
  enum Family { kSans, kSerif, kMono };
  Family family = kSans;
  if (SameName(name, "Times New Roman"))
    family = kSerif;
  else if (SameName(name, "Courier New"))
    family = kMono;
  static constexpr std::string_view kFiles[3][4] = {
      {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", "LiberationSans-Italic.ttf",
       "LiberationSans-BoldItalic.ttf"},
      {"LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf", "LiberationSerif-Italic.ttf",
       "LiberationSerif-BoldItalic.ttf"},
      {"LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf", "LiberationMono-Italic.ttf",
       "LiberationMono-BoldItalic.ttf"}};
  return kFiles[family][(style & fsBold ? 1 : 0) + (style & fsItalic ? 2 : 0)];
}

TGlyphSource& TFontFileGlyphs::Face(std::string_view name, int pixels, TFontStyles style) {
  const std::string_view file = FontFileFor(name, style);
  auto& face = faces_[{file, pixels}];
  if (!face) face = OpenGlyphSource(FontFolder() / file, pixels);
  return *face;
}

TGlyphSources& WindowGlyphs() {
  static TFontFileGlyphs glyphs;
  return glyphs;
}

std::unique_ptr<TGlyphSource> OpenGlyphSource(const std::filesystem::path& file, int pixels) {
  return std::make_unique<FreeTypeGlyphSource>(file, pixels);
}

}  // namespace plotvik

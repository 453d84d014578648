#pragma once

// Glyphs made up for the raster's tests, so that its text rules are tested without a font file
// or a font engine. Every face has the metrics of Arial at 8 points (ascent 10, descent 3, a line
// of 13) whatever its size; the glyphs grow with the size in steps of 8 pixels.

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "raster/glyph_source.h"

namespace plotvik::testing {

// One face: every character but the spaces is the same lopsided 4 x 7 mark, one pixel right of
// the pen, standing on the baseline; its outline is a box with a hole, 8 pixels high, growing in
// width only so that it stays inside the line.
class FixedFace : public TGlyphSource {
 public:
  explicit FixedFace(int pixels) : scale_(std::max(1, pixels / 8)) {
    metrics_.Ascent = 10;
    metrics_.Descent = 3;
    metrics_.Underline = {1, 1, 1};
    metrics_.StrikeOut = {-4, 1, -4};
    static const char* const kRows[] = {"####", "#...", "###.", "#...", "#...", "#..#", ".##."};
    mark_.left = 1;
    mark_.top = -7 * scale_;
    mark_.width = 4 * scale_;
    mark_.height = 7 * scale_;
    for (int y = 0; y < mark_.height; ++y)
      for (int x = 0; x < mark_.width; ++x)
        mark_.bits.push_back(kRows[y / scale_][x / scale_] == '#' ? 1 : 0);
  }

  const TFaceMetrics& Metrics() const override { return metrics_; }
  int Advance(char32_t ch) override { return IsSpace(ch) ? 3 * scale_ : 6 * scale_; }
  const TGlyphMask& Mask(char32_t ch) override { return IsSpace(ch) ? space_ : mark_; }
  std::vector<TGlyphContour> Outline(char32_t ch) override {
    if (IsSpace(ch)) return {};
    const double k = scale_;
    return {{{0, -8}, {5 * k, -8}, {5 * k, 0}, {0, 0}},
            {{2 * k, -6}, {3 * k, -6}, {3 * k, -2}, {2 * k, -2}}};
  }

 private:
  static bool IsSpace(char32_t ch) { return ch == U' ' || ch == U'\u00A0'; }

  int scale_;
  TFaceMetrics metrics_;
  TGlyphMask mark_;
  TGlyphMask space_;
};

// The faces by pixel size; remembers what the canvas asked for last.
class FixedGlyphs : public TGlyphSources {
 public:
  TGlyphSource& Face(std::string_view name, int pixels, TFontStyles style) override {
    lastName = std::string(name);
    lastPixels = pixels;
    lastStyle = style;
    auto& face = faces_[pixels];
    if (!face) face = std::make_unique<FixedFace>(pixels);
    return *face;
  }

  std::string lastName;
  int lastPixels = 0;
  TFontStyles lastStyle = 0;

 private:
  std::map<int, std::unique_ptr<FixedFace>> faces_;
};

}  // namespace plotvik::testing

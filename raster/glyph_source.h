#pragma once

// Where the raster gets its glyphs: whole-pixel metrics, unantialiased masks and outlines of one
// face at one pixel size. Free of the toolkit, so that text comes out the same on every system
// that has the same font files.

#include <cstdint>
#include <string_view>
#include <vector>

#include "raster/graphic_objects.h"

namespace plotvik {

// A glyph's pixels, cropped to the ones that are set, placed relative to the pen position on the
// baseline (x to the right, y downwards).
struct TGlyphMask {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> bits;  // row by row, 1 where the glyph is
};

// A point of a glyph's outline in pixels, relative to the pen position on the baseline.
struct TGlyphPoint {
  double X = 0;
  double Y = 0;
};

// One closed contour, curves already cut into straight pieces; its last point joins its first.
using TGlyphContour = std::vector<TGlyphPoint>;

// Rows of an underline or strike-out bar, relative to the baseline (negative above it). Each
// character carries the bar across its advance; one without an advance gets a single pixel, in
// the row DotRow.
struct TBar {
  int Top = 0;
  int Rows = 0;
  int DotRow = 0;
};

struct TFaceMetrics {
  int Ascent = 0;   // whole pixels above the baseline
  int Descent = 0;  // whole pixels below it
  TBar Underline;
  TBar StrikeOut;
};

// One face at one pixel size. A face whose file cannot be read measures zero and draws nothing:
// a missing font costs the text, never the program.
class TGlyphSource {
 public:
  virtual ~TGlyphSource() = default;
  virtual const TFaceMetrics& Metrics() const = 0;
  // The pen's step after the character, in whole pixels.
  virtual int Advance(char32_t ch) = 0;
  virtual const TGlyphMask& Mask(char32_t ch) = 0;
  virtual std::vector<TGlyphContour> Outline(char32_t ch) = 0;
};

// Where a canvas finds its glyphs: one face at one pixel size per call, kept by the provider for
// as long as the provider lives. The raster draws with whatever provider its canvas was given,
// so the font engine stays outside it.
class TGlyphSources {
 public:
  virtual ~TGlyphSources() = default;
  // `style` holds fsBold and fsItalic only: the bars are drawn by the canvas.
  virtual TGlyphSource& Face(std::string_view name, int pixels, TFontStyles style) = 0;
};

}  // namespace plotvik

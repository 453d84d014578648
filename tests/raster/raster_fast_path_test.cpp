// The figures' shortcuts against the general drawing: many random figures, each drawn both ways
// on the same picture, must leave every pixel the same.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/canvas_rasterizer.h"
#include "tests/raster/fixed_glyphs.h"

namespace plotvik {
namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

enum class Figure { Rectangle, Polygon, Diamond, Line, Polyline, FillRect, Text };

// Everything one draw depends on, printable for the failure message.
struct Draw {
  Figure figure = Figure::Rectangle;
  std::vector<TPoint> points;
  TPenKind penKind = pkNormal;
  int penWidth = 1;
  TPenStyle penStyle = psSolid;
  TPenMode penMode = pmCopy;
  TColor penColor = clBlack;
  TBrushStyle brushStyle = bsSolid;
  TColor brushColor = clYellow;
  TTextBackMode backMode = TTextBackMode::Transparent;
  std::optional<TRect> clip;
  std::string text;
  unsigned align = TA_LEFT | TA_TOP;
  int orientation = 0;
  bool outlined = false;

  std::string Describe() const {
    std::ostringstream s;
    s << "figure " << static_cast<int>(figure) << " points";
    for (const TPoint& p : points) s << " (" << p.X << "," << p.Y << ")";
    if (figure == Figure::Text)
      s << " text '" << text << "' align " << align << " orientation " << orientation
        << (outlined ? " outlined" : "");
    s << " pen kind " << penKind << " width " << penWidth << " style " << penStyle << " mode "
      << penMode << " brush " << brushStyle << " back " << static_cast<int>(backMode) << " clip ";
    if (clip)
      s << clip->Left << "," << clip->Top << "," << clip->Right << "," << clip->Bottom;
    else
      s << "none";
    return s.str();
  }
};

class RandomDraws {
 public:
  explicit RandomDraws(unsigned seed) : random_(seed) {}

  Draw Next() {
    Draw d;
    d.figure = static_cast<Figure>(Pick(0, 6));
    const int count = d.figure == Figure::Polygon    ? Pick(1, 7)
                      : d.figure == Figure::Polyline ? Pick(2, 5)
                                                     : 2;
    if (d.figure == Figure::Diamond) {
      // A series pointer: around a centre that may lie anywhere, a few pixels each way.
      const TPoint c = Point();
      const int h = Pick(0, 4), v = Pick(0, 4);
      d.points = {{c.X - h, c.Y}, {c.X, c.Y - v}, {c.X + h, c.Y}, {c.X, c.Y + v}};
    } else if (d.figure == Figure::Rectangle && Pick(0, 1) == 0) {
      // Pointer-sized, the shortcut's everyday case.
      const TPoint c = Point();
      d.points = {c, {c.X + Pick(-1, 7), c.Y + Pick(-1, 7)}};
    } else {
      for (int k = 0; k < count; ++k) d.points.push_back(Point());
    }
    d.penKind = Pick(0, 5) == 0 ? pkAlternate : Pick(0, 4) == 0 ? pkGeometric : pkNormal;
    d.penWidth = Pick(0, 2) == 0 ? Pick(2, 6) : 1;
    d.penStyle = Pick(0, 2) == 0 ? static_cast<TPenStyle>(Pick(0, 6)) : psSolid;
    d.penMode = Pick(0, 3) == 0 ? pmNotXor : pmCopy;
    d.penColor = kColours[Pick(0, 3)];
    d.brushStyle = Pick(0, 3) == 0 ? bsClear : bsSolid;
    d.brushColor = kColours[Pick(0, 3)];
    d.backMode = Pick(0, 1) == 0 ? TTextBackMode::Transparent : TTextBackMode::Opaque;
    if (d.figure == Figure::Text) {
      static const char* const kTexts[] = {"1.25", "SWR", "Ag", "-0.5", "jX, Ohm"};
      static const unsigned kAligns[] = {TA_LEFT | TA_TOP, TA_RIGHT | TA_TOP, TA_CENTER | TA_TOP,
                                         TA_LEFT | TA_BASELINE, TA_CENTER | TA_BOTTOM};
      d.text = kTexts[Pick(0, 4)];
      d.align = kAligns[Pick(0, 4)];
      d.orientation = Pick(0, 3) == 0 ? 900 : 0;
      d.outlined = Pick(0, 4) == 0;
    }
    if (Pick(0, 1) == 0) {
      const TPoint a = Point(), b = Point();
      d.clip = TRect{a.X, a.Y, b.X, b.Y};
    }
    return d;
  }

 private:
  static constexpr TColor kColours[] = {clBlack, clRed, clYellow, clBlue};

  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  // Mostly on the picture or near it, now and then far outside.
  TPoint Point() {
    if (Pick(0, 30) == 0) return {Pick(-1 << 29, 1 << 29), Pick(-1 << 29, 1 << 29)};
    return {Pick(-12, kWidth + 12), Pick(-12, kHeight + 12)};
  }

  std::mt19937 random_;
};

void Apply(const Draw& d, TCanvas& c) {
  c.SetClip(d.clip);
  if (d.penKind == pkAlternate) {
    c.SelectAlternatePen(d.penColor);
    c.Pen().SetMode(d.penMode);
  } else if (d.penKind == pkGeometric) {
    c.SelectGeometricPen(d.penColor, d.penWidth, d.penStyle, d.penMode);
  } else {
    c.Pen().SetColor(d.penColor);
    c.Pen().SetWidth(d.penWidth);
    c.Pen().SetStyle(d.penStyle);
    c.Pen().SetMode(d.penMode);
  }
  c.Brush().SetStyle(d.brushStyle);
  c.Brush().SetColor(d.brushColor);
  c.SetBackMode(d.backMode);
  c.SetBackColor(clLime);
  const std::vector<TPoint>& p = d.points;
  switch (d.figure) {
    case Figure::Rectangle:
      c.Rectangle(p[0].X, p[0].Y, p[1].X, p[1].Y);
      break;
    case Figure::Polygon:
    case Figure::Diamond:
      c.Polygon(p);
      break;
    case Figure::Line:
      c.MoveTo(p[0].X, p[0].Y);
      c.LineTo(p[1].X, p[1].Y);
      break;
    case Figure::Polyline:
      c.Polyline(p);
      break;
    case Figure::FillRect:
      c.FillRect({p[0].X, p[0].Y, p[1].X, p[1].Y});
      break;
    case Figure::Text:
      c.Font().SetName("Arial");
      c.Font().SetSize(8);
      c.Font().SetColor(d.penColor == clBlack ? clBlue : clBlack);
      c.Font().SetOrientation(d.orientation);
      c.SetTextAlign(d.align);
      if (d.outlined)
        c.TextOutOutlined(p[0].X, p[0].Y, d.text);
      else
        c.TextOut(p[0].X, p[0].Y, d.text);
      break;
  }
}

// Turns the shortcuts off for the general drawing and back on whatever happens.
class GeneralDrawing {
 public:
  GeneralDrawing() { raster::SetFastPaths(false); }
  ~GeneralDrawing() { raster::SetFastPaths(true); }
  GeneralDrawing(const GeneralDrawing&) = delete;
  GeneralDrawing& operator=(const GeneralDrawing&) = delete;
};

TEST(RasterFastPaths, EveryFigureSetsThePixelsOfTheGeneralDrawing) {
  // Both pictures start with the same pattern of colours, so that pmNotXor shows a pixel written
  // twice and a gap filled or not.
  TBitmap fast(kWidth, kHeight), general(kWidth, kHeight);
  testing::FixedGlyphs glyphs;
  fast.Canvas().SetGlyphs(&glyphs);
  general.Canvas().SetGlyphs(&glyphs);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const TRGB pixel = 0xFF000000u | static_cast<TRGB>((x * 37 + y * 101) * 2654435761u >> 8);
      fast.Row(y)[x] = pixel;
      general.Row(y)[x] = pixel;
    }
  RandomDraws draws(20261211);
  for (int n = 0; n < 30000; ++n) {
    const Draw d = draws.Next();
    Apply(d, fast.Canvas());
    {
      GeneralDrawing off;
      Apply(d, general.Canvas());
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (fast.Row(y)[x] != general.Row(y)[x]) {
          FAIL() << "draw " << n << " (" << d.Describe() << ") differs first at x=" << x
                 << " y=" << y << ": " << std::hex << fast.Row(y)[x] << " instead of "
                 << general.Row(y)[x];
        }
  }
}

}  // namespace
}  // namespace plotvik

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "raster/color.h"
#include "raster/geometry.h"
#include "raster/graphic_objects.h"

namespace plotvik {

class TBitmap;
class TGlyphSources;
class TRasterizer;

// Text alignment flags: which point of the text box the output position names.
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Whether text cells and the gaps of broken pen styles are filled with the background colour.
enum class TTextBackMode { Transparent = 1, Opaque = 2 };

// How the current pen was made: from the Pen properties, as a one-pixel pen that sets every
// other pixel, or as a geometric (wide, square-capped) pen whose broken styles scale with its
// width. Changing any Pen property afterwards makes it a normal pen again.
enum TPenKind { pkNormal, pkAlternate, pkGeometric };

struct TTextMetrics {
  int Ascent = 0;   // pixels above the baseline, rounded up
  int Descent = 0;  // pixels below it, rounded up
  int Height() const { return Ascent + Descent; }
};

// The raster context of one pixel buffer: the current pen, brush and font, text state, a
// rectangular clip, and drawing with the platform's pixel rules:
// - right and bottom edges are exclusive; a line sets its start pixel and stops one pixel before
//   its end, in every direction, and covers the same pixels whichever way it is drawn (only the
//   end points differ);
// - one-pixel broken styles run their pattern from each line's start (psDot 3 on 3 off, psDash
//   18/6, psDashDot 9-6-3-6, psDashDotDot 9-3-3-3-3-3); gaps are left alone when the background
//   mode is transparent and take the background colour when it is opaque;
// - the pen mode applies to lines, outlines and fills alike.
// Text is UTF-8, drawn with the glyphs of the canvas's glyph sources.
class TCanvas {
 public:
  explicit TCanvas(TBitmap& target);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap& Target() { return target_; }
  const TBitmap& Target() const { return target_; }
  int Width() const;
  int Height() const;

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  const TPen& Pen() const { return pen_; }
  const TBrush& Brush() const { return brush_; }
  const TFont& Font() const { return font_; }

  TPenKind PenKind() const { return penKind_; }
  // A cosmetic one-pixel pen setting every other pixel along a line, starting with the first.
  void SelectAlternatePen(TColor color);
  // A geometric pen: lines `width` wide with square ends; broken styles use dashes measured in
  // pen widths (dash 3, dot 1, gap 1).
  void SelectGeometricPen(TColor color, int width, TPenStyle style, TPenMode mode);

  unsigned TextAlign() const { return textAlign_; }
  void SetTextAlign(unsigned flags) { textAlign_ = flags; }
  TTextBackMode BackMode() const { return backMode_; }
  void SetBackMode(TTextBackMode mode) { backMode_ = mode; }
  // Stored as resolved RGB, like the platform's background colour.
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor color) { backColor_ = ColorToRGB(color); }
  // Extra pixels after every character of text output and measurement.
  int TextCharacterExtra() const { return charExtra_; }
  void SetTextCharacterExtra(int pixels) { charExtra_ = pixels; }

  TPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // A line from the pen position to (x, y), which becomes the pen position.
  void LineTo(int x, int y);
  // Connected lines through the points; the broken-style pattern runs on across the corners;
  // the last point is left out like every line's end.
  void Polyline(std::span<const TPoint> points);
  // Outline with the pen, inside filled with the brush; the corners are put in order first.
  void Rectangle(int x0, int y0, int x1, int y1);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  // Fill with the brush, no outline (nothing with bsClear).
  void FillRect(const TRect& r);
  // Closed polygon: filled with the brush (alternate rule, pixel centres), outlined with the pen.
  void Polygon(std::span<const TPoint> points);
  void SetPixel(int x, int y, TColor color);
  TColor Pixel(int x, int y) const;

  // Text at (x, y) placed by the text alignment, in the font's colour and orientation; the
  // text box is filled with the background colour first when the background mode is opaque.
  void TextOut(int x, int y, std::string_view text);
  // The glyph outlines of the text stroked with the current pen and filled with the brush.
  void TextOutOutlined(int x, int y, std::string_view text);
  // Width and height of the unrotated text box; {0, 0} when the font cannot be used.
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  TTextMetrics TextMetrics();
  // Where text finds its glyphs; without any, text measures zero and draws nothing.
  TGlyphSources* Glyphs() const { return glyphs_; }
  void SetGlyphs(TGlyphSources* glyphs);

  // The clip: a rectangle in pixel coordinates, or none (the whole buffer).
  std::optional<TRect> Clip() const { return clip_; }
  void SetClip(std::optional<TRect> clip) { clip_ = clip; }
  // The clip becomes its intersection with r (with r alone when there was none).
  void IntersectClip(const TRect& r);

  // Copies the whole source with its top-left at (x, y), within this canvas's clip.
  void Draw(int x, int y, const TBitmap& source);

  // Called after an operation that may have changed pixels (the window glue refreshes the
  // screen from it).
  std::function<void()> OnChange;

  // The target was resized: forget the clip.
  void TargetResized() { clip_.reset(); }

 private:
  class TextEngine;
  class PolygonStamps;
  friend class TRasterizer;

  // The polygon's pixels from the general rasterizer.
  void DrawPolygon(TRasterizer& r, std::span<const TPoint> points);
  // Closed contours outlined one by one and filled together, a pixel being inside when it is
  // inside an odd number of them (glyphs with holes).
  void DrawPolygons(TRasterizer& r, std::span<const std::span<const TPoint>> contours);
  // The polygon as a copy of the pixels the same shape set before, when the pen is solid and
  // no clip cuts it (a series' pointers); false when that does not apply.
  bool DrawStampedPolygon(TRasterizer& r, std::span<const TPoint> points);

  // The text engine with the current font selected; nullptr when no text can be drawn.
  TextEngine* Text();
  void DrawText(int x, int y, std::string_view text, bool outlined);
  void Changed() {
    if (OnChange) OnChange();
  }

  TBitmap& target_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  TPenKind penKind_ = pkNormal;
  bool selectingPen_ = false;
  unsigned textAlign_ = TA_LEFT | TA_TOP;
  TTextBackMode backMode_ = TTextBackMode::Opaque;
  TColor backColor_ = clWhite;
  int charExtra_ = 0;
  TPoint penPos_;
  std::optional<TRect> clip_;
  TGlyphSources* glyphs_ = nullptr;
  std::unique_ptr<TextEngine> text_;
  std::unique_ptr<PolygonStamps> stamps_;
};

}  // namespace plotvik

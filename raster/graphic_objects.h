#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "raster/color.h"

namespace plotvik {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// pmCopy: the pen colour replaces the pixel; pmNotXor: the pixel becomes NOT(pen XOR pixel),
// so drawing the same figure twice gives back the pixels that were there.
enum TPenMode { pmCopy, pmNotXor };
enum TBrushStyle { bsSolid, bsClear };

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
// A set of TFontStyle flags; 0 is the empty set.
using TFontStyles = std::uint8_t;

constexpr int DEFAULT_CHARSET = 1;

// Graphic objects notify through OnChange after a property changed; the canvas that holds one
// as its current object and the chart element that owns one both listen there.
class TGraphicsObject {
 public:
  virtual ~TGraphicsObject() = default;
  std::function<void()> OnChange;

 protected:
  TGraphicsObject() = default;
  TGraphicsObject(const TGraphicsObject&) {}
  TGraphicsObject& operator=(const TGraphicsObject&) { return *this; }
  void Changed() {
    if (OnChange) OnChange();
  }
};

class TPen : public TGraphicsObject {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Widths up to 1 draw one-pixel lines; 0 and negative values are taken as 1.
  int Width() const { return width_; }
  void SetWidth(int value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);
  // Copies colour, width, style and mode (one notification); listeners are not copied.
  void Assign(const TPen& source);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  void Assign(const TBrush& source);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

class TFont : public TGraphicsObject {
 public:
  // "Arial" (the default) is drawn with a metric-compatible face installed with the program.
  const std::string& Name() const { return name_; }
  void SetName(std::string value);
  // Points; the pixel size is Size x PixelsPerInch / 72 rounded to the nearest pixel.
  int Size() const { return size_; }
  void SetSize(int value);
  // Character height in pixels, negative as the platform writes it: -(Size x ppi / 72).
  int Height() const;
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Charset() const { return charset_; }
  void SetCharset(int value);
  // Direction of the text in tenths of a degree, counter-clockwise (0 = left to right).
  int Orientation() const { return orientation_; }
  void SetOrientation(int value);
  void Assign(const TFont& source);

 private:
  std::string name_ = "Arial";
  int size_ = 8;
  int pixelsPerInch_ = 96;
  TFontStyles style_ = 0;
  TColor color_ = clBlack;
  int charset_ = DEFAULT_CHARSET;
  int orientation_ = 0;
};

// The screen resolution every font size is taken at; fixed so that a point size gives the same
// pixels on every screen.
constexpr int kScreenPixelsPerInch = 96;

}  // namespace plotvik

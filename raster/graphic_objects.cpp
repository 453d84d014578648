#include "raster/graphic_objects.h"

#include <utility>

#include "platform/numeric.h"

namespace plotvik {

namespace {

template <class T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

}  // namespace

void TPen::SetColor(TColor value) {
  if (Store(color_, value)) Changed();
}
void TPen::SetWidth(int value) {
  if (Store(width_, value)) Changed();
}
void TPen::SetStyle(TPenStyle value) {
  if (Store(style_, value)) Changed();
}
void TPen::SetMode(TPenMode value) {
  if (Store(mode_, value)) Changed();
}
void TPen::Assign(const TPen& source) {
  color_ = source.color_;
  width_ = source.width_;
  style_ = source.style_;
  mode_ = source.mode_;
  Changed();
}

void TBrush::SetColor(TColor value) {
  if (Store(color_, value)) Changed();
}
void TBrush::SetStyle(TBrushStyle value) {
  if (Store(style_, value)) Changed();
}
void TBrush::Assign(const TBrush& source) {
  color_ = source.color_;
  style_ = source.style_;
  Changed();
}

void TFont::SetName(std::string value) {
  if (Store(name_, std::move(value))) Changed();
}
void TFont::SetSize(int value) {
  if (Store(size_, value)) Changed();
}
int TFont::Height() const {
  return static_cast<int>(-MulDivRoundHalfAway(size_, pixelsPerInch_, 72));
}
void TFont::SetPixelsPerInch(int value) {
  if (value <= 0) return;
  if (Store(pixelsPerInch_, value)) Changed();
}
void TFont::SetStyle(TFontStyles value) {
  if (Store(style_, value)) Changed();
}
void TFont::SetColor(TColor value) {
  if (Store(color_, value)) Changed();
}
void TFont::SetCharset(int value) {
  if (Store(charset_, value)) Changed();
}
void TFont::SetOrientation(int value) {
  if (Store(orientation_, value)) Changed();
}
void TFont::Assign(const TFont& source) {
  name_ = source.name_;
  size_ = source.size_;
  pixelsPerInch_ = source.pixelsPerInch_;
  style_ = source.style_;
  color_ = source.color_;
  charset_ = source.charset_;
  orientation_ = source.orientation_;
  Changed();
}

}  // namespace plotvik

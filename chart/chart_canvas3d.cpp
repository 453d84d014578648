#include "chart/chart_canvas3d.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "chart/chart_brush.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"

namespace plotvik {

void TChartCanvas::ApplyPenColor(const TPen& pen, TColor color) {
  ApplyPenParts(pen, dynamic_cast<const TChartPen*>(&pen), color);
}

void TChartCanvas::ApplyPenColor(const TChartPen& pen, TColor color) {
  ApplyPenParts(pen, &pen, color);
}

void TChartCanvas::ApplyPen(const TChartPen& pen) {
  ApplyPenParts(pen, &pen, pen.Color());
}

void TChartCanvas::ApplyPenParts(const TPen& pen, const TChartPen* chartPen, TColor color) {
  if (monochrome_) color = clBlack;
  if (chartPen != nullptr && !chartPen->Visible()) {
    // Only the style changes: the colour and width stay for whoever makes the pen visible.
    Pen().SetStyle(psClear);
    return;
  }
  if (chartPen != nullptr && chartPen->SmallDots()) {
    canvas_->SelectAlternatePen(color);
    return;
  }
  if (pen.Width() > 1 && pen.Style() != psSolid) {
    // A plain wide pen would draw broken styles solid.
    canvas_->SelectGeometricPen(color, pen.Width(), pen.Style(), pen.Mode());
    return;
  }
  TPen& current = Pen();
  current.Assign(pen);
  current.SetColor(color);
}

void TChartCanvas::ApplyBrushColor(const TBrush& brush, TColor color, TColor back) {
  ApplyBrushParts(brush, dynamic_cast<const TChartBrush*>(&brush), color, back);
}

void TChartCanvas::ApplyBrushColor(const TChartBrush& brush, TColor color, TColor back) {
  ApplyBrushParts(brush, &brush, color, back);
}

void TChartCanvas::ApplyBrushParts(const TBrush& brush, const TChartBrush* chartBrush, TColor color,
                                   TColor back) {
  if (monochrome_) color = clWhite;
  if (chartBrush != nullptr && chartBrush->Image() != nullptr) {
    // Picture fills are not drawn: the brush leaves the area alone.
    Brush().SetStyle(bsClear);
  } else {
    Brush().SetColor(color);
    Brush().SetStyle(brush.Style());
  }
  SetTextBackMode(TTextBackMode::Opaque);
  SetTextBackColor(back);
}

void TChartCanvas::ApplyFont(const TChartFont& font) {
  TFont& current = Font();
  const int ppi = current.PixelsPerInch();
  current.Assign(font);
  current.SetPixelsPerInch(ppi);
  current.SetOrientation(0);
  if (monochrome_) current.SetColor(clBlack);
  canvas_->SetTextCharacterExtra(font.InterCharSize());
  appliedFont_ = &font;
}

void TChartCanvas::ResetDrawingState() {
  TPen& pen = Pen();
  pen.SetColor(clBlack);
  pen.SetWidth(1);
  pen.SetStyle(psSolid);
  Brush().SetColor(clWhite);
  Brush().SetStyle(bsSolid);
  Font().SetColor(clBlack);
  Font().SetSize(10);
  SetTextBackColor(clWhite);
  SetTextBackMode(TTextBackMode::Transparent);
  SetTextAnchor(TA_LEFT | TA_TOP);
}

TColor TChartCanvas::TextBackColor() const {
  return canvas_->BackColor();
}
TTextBackMode TChartCanvas::TextBackMode() const {
  return canvas_->BackMode();
}
unsigned TChartCanvas::TextAnchor() const {
  return canvas_->TextAlign();
}
void TChartCanvas::SetTextBackColor(TColor color) {
  canvas_->SetBackColor(color);
}
void TChartCanvas::SetTextBackMode(TTextBackMode mode) {
  canvas_->SetBackMode(mode);
}
void TChartCanvas::PutPixel(int x, int y, TColor color) {
  canvas_->SetPixel(x, y, color);
}
void TChartCanvas::SetTextAnchor(unsigned flags) {
  canvas_->SetTextAlign(flags);
}
void TChartCanvas::FillArea(const TRect& r) {
  canvas_->FillRect(r);
}
void TChartCanvas::DrawRectangle(int x0, int y0, int x1, int y1) {
  canvas_->Rectangle(x0, y0, x1, y1);
}

void TChartCanvas::DrawLine(int x0, int y0, int x1, int y1) {
  canvas_->MoveTo(x0, y0);
  canvas_->LineTo(x1, y1);
}

void TChartCanvas::DrawPolygon(std::span<const TPoint> points) {
  canvas_->Polygon(points);
}

void TChartCanvas::WriteText(int x, int y, std::string_view text) {
  TFont& font = Font();
  const TColor fontColor = font.Color();
  if (appliedFont_ != nullptr) {
    const TChartShadow& shadow = appliedFont_->Shadow();
    const int h = shadow.HorizSize();
    const int v = shadow.VertSize();
    if (h != 0 || v != 0) {
      font.SetColor(shadow.Color());
      canvas_->TextOut(h >= 0 ? x + h : x, v >= 0 ? y + v : y, text);
      // The text itself moves away from a shadow thrown up or to the left.
      if (v < 0) y -= v;
      if (h < 0) x -= h;
      font.SetColor(fontColor);
    }
  }
  if (appliedFont_ == nullptr || !appliedFont_->OutLine().Visible()) {
    canvas_->TextOut(x, y, text);
    return;
  }
  ApplyPen(appliedFont_->OutLine());
  Brush().SetColor(fontColor);
  Brush().SetStyle(bsSolid);
  SetTextBackMode(TTextBackMode::Transparent);
  canvas_->TextOutOutlined(x, y, text);
}

int TChartCanvas::TextWidthOf(std::string_view text) {
  const TSize extent = canvas_->TextExtent(text);
  if (extent.cy == 0) return 0;  // the font could not be used
  return extent.cx + (appliedFont_ ? std::abs(appliedFont_->Shadow().HorizSize()) : 0);
}

int TChartCanvas::TextHeightOf(std::string_view text) {
  const TSize extent = canvas_->TextExtent(text);
  if (extent.cy == 0) return 0;
  return extent.cy + (appliedFont_ ? std::abs(appliedFont_->Shadow().VertSize()) : 0);
}

void TChartCanvas::ClipTo(const TRect& r) {
  savedClips_.push_back(canvas_->Clip());
  canvas_->IntersectClip(r);
}

void TChartCanvas::Unclip() {
  // An unclip without its clip leaves the whole canvas to draw on.
  std::optional<TRect> clip;
  if (!savedClips_.empty()) {
    clip = savedClips_.back();
    savedClips_.pop_back();
  }
  canvas_->SetClip(clip);
}

void TChartCanvas::WriteRotatedText(int x, int y, std::string_view text, int angle) {
  Brush().SetStyle(bsClear);
  if (angle >= 361) angle -= 360;
  TFont& font = Font();
  const int previous = font.Orientation();
  font.SetOrientation(angle * 10);
  WriteText(x, y, text);
  font.SetOrientation(previous);
}

void TChartCanvas::BevelFrame(TRect& r, TColor top, TColor bottom, int width) {
  if (width <= 0) return;
  TPen& pen = Pen();
  pen.SetWidth(1);
  --r.Right;
  --r.Bottom;
  for (int i = 0; i < width; ++i) {
    pen.SetColor(top);
    const TPoint topLeft[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
    canvas_->Polyline(topLeft);
    pen.SetColor(bottom);
    const TPoint bottomRight[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
    canvas_->Polyline(bottomRight);
    ++r.Left;
    ++r.Top;
    --r.Right;
    --r.Bottom;
  }
  ++r.Right;
  ++r.Bottom;
}

TChartCanvas3D::TChartCanvas3D(TCanvas& canvas) {
  Attach(canvas);
}

TChartCanvas3D::~TChartCanvas3D() = default;

void TChartCanvas3D::SetBufferedDisplay(bool value) {
  bufferedDisplay_ = value;
  if (!value) {
    bitmap_.reset();
    dirty_ = true;
  }
}

TRect TChartCanvas3D::BeginFrame(TCanvas& target, const TView3DOptions* options,
                                 const TRect& bounds, bool is3D) {
  options_ = options;
  is3D_ = is3D;
  zoomFactor_ = 1.0;
  if (!bufferedDisplay_) {
    Attach(target);
    return bounds;
  }
  const int w = std::max(bounds.Width(), 0);
  const int h = std::max(bounds.Height(), 0);
  if (bitmap_ && (bitmap_->Width() != w || bitmap_->Height() != h)) bitmap_.reset();
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>(w, h);
  // The frame's text looks like the window's.
  bitmap_->Canvas().SetGlyphs(target.Glyphs());
  Attach(bitmap_->Canvas());
  return {0, 0, w, h};
}

void TChartCanvas3D::PresentFrame(TCanvas& target, TCanvas& defaultCanvas, const TRect& bounds) {
  if (bufferedDisplay_ && bitmap_) {
    target.Draw(bounds.Left, bounds.Top, *bitmap_);
    dirty_ = false;
  }
  Attach(defaultCanvas);
}

bool TChartCanvas3D::RepaintFromBuffer() {
  if (dirty_ || !bitmap_) return false;
  canvas_->Draw(0, 0, *bitmap_);
  return true;
}

void TChartCanvas3D::ClipToPlot(const TRect& r, int /*z0*/, int /*z1*/) {
  ClipTo(r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1);
}

void TChartCanvas3D::Enter2D() {
  saved3D_ = is3D_;
  is3D_ = false;
}

void TChartCanvas3D::Leave2D() {
  is3D_ = saved3D_;
}

}  // namespace plotvik

#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/color.h"
#include "raster/geometry.h"

namespace plotvik {

class TBrush;
class TChartBrush;
class TChartFont;
class TChartPen;
class TPen;
class TView3DOptions;

// The surface a chart draws through: the chart's pens, brushes and fonts made current on the
// attached platform canvas, an off-screen buffer for whole frames, clips that nest (each Unclip
// restores the clip its ClipTo found), text with shadow and outline, and rotated text. Coordinates
// are pixels, x to the right, y downwards; right and bottom edges are exclusive throughout.
class TChartCanvas {
 public:
  virtual ~TChartCanvas() = default;

  // The attached platform canvas and its current objects.
  TCanvas* ReferenceCanvas() const { return canvas_; }
  TCanvas& Canvas() const { return *canvas_; }
  TPen& Pen() const { return canvas_->Pen(); }
  TBrush& Brush() const { return canvas_->Brush(); }
  TFont& Font() const { return canvas_->Font(); }
  void Attach(TCanvas& canvas) { canvas_ = &canvas; }

  // The chart's pens, brushes and fonts made current.
  void ApplyPen(const TPen& pen) { ApplyPenColor(pen, pen.Color()); }
  void ApplyPenColor(const TPen& pen, TColor color);
  // The chart's own pens and brushes skip the type test: a series applies them per point.
  void ApplyPenColor(const TChartPen& pen, TColor color);
  void ApplyPen(const TChartPen& pen);
  void ApplyBrush(const TBrush& brush, TColor back) { ApplyBrushColor(brush, brush.Color(), back); }
  void ApplyBrushColor(const TBrush& brush, TColor color, TColor back);
  void ApplyBrushColor(const TChartBrush& brush, TColor color, TColor back);
  void ApplyFont(const TChartFont& font);
  // The font last applied (for its shadow and outline), or none.
  const TChartFont* AppliedFont() const { return appliedFont_; }
  // Pen black width 1 solid, brush white solid, font black 10 pt, text back white and
  // transparent, anchor left-top.
  void ResetDrawingState();

  virtual TColor TextBackColor() const;
  virtual TTextBackMode TextBackMode() const;
  virtual bool Monochrome() const { return monochrome_; }
  virtual unsigned TextAnchor() const;
  virtual bool BufferedDisplay() const { return bufferedDisplay_; }
  virtual void SetTextBackColor(TColor color);
  virtual void SetTextBackMode(TTextBackMode mode);
  virtual void SetMonochrome(bool value) { monochrome_ = value; }
  virtual void PutPixel(int x, int y, TColor color);
  // TA_LEFT 0, TA_RIGHT 2 or TA_CENTER 6, combined with TA_TOP 0, TA_BOTTOM 8 or TA_BASELINE 24.
  virtual void SetTextAnchor(unsigned flags);
  virtual void SetBufferedDisplay(bool value) = 0;
  virtual void FillArea(const TRect& r);
  virtual void DrawRectangle(int x0, int y0, int x1, int y1);
  virtual void WriteText(int x, int y, std::string_view text);
  virtual int TextWidthOf(std::string_view text);
  virtual int TextHeightOf(std::string_view text);
  virtual void ClipTo(const TRect& r);
  void ClipTo(int x0, int y0, int x1, int y1) { ClipTo(TRect{x0, y0, x1, y1}); }
  virtual void DrawHLine(int x0, int x1, int y) { DrawLine(x0, y, x1, y); }
  virtual void DrawRectangle(const TRect& r) { DrawRectangle(r.Left, r.Top, r.Right, r.Bottom); }
  virtual void DrawVLine(int x, int y0, int y1) { DrawLine(x, y0, x, y1); }
  virtual void MarkDirty() { dirty_ = true; }
  virtual void DrawLine(int x0, int y0, int x1, int y1);
  // The points closed into a polygon (all of `points`: the last index is size() - 1).
  virtual void DrawPolygon(std::span<const TPoint> points);
  // The points 0 ... lastIndex of `points`, closed.
  void DrawPolygon(std::span<const TPoint> points, int lastIndex) {
    if (lastIndex >= 0 && static_cast<std::size_t>(lastIndex) < points.size())
      DrawPolygon(points.first(static_cast<std::size_t>(lastIndex) + 1));
  }
  // Text rotated counter-clockwise by `angle` degrees around (x, y).
  virtual void WriteRotatedText(int x, int y, std::string_view text, int angle);
  virtual void Unclip();

  void MoveTo(int x, int y) { canvas_->MoveTo(x, y); }
  void LineTo(int x, int y) { canvas_->LineTo(x, y); }
  int FontLineHeight() { return TextHeightOf("W"); }
  // Draws `width` one-pixel frames inside r, top and left in `top`, bottom and right in
  // `bottom`; r shrinks by `width` on every side.
  void BevelFrame(TRect& r, TColor top, TColor bottom, int width);

  bool Dirty() const { return dirty_; }

 protected:
  TChartCanvas() = default;
  // chartPen / chartBrush: the same object when it is the chart's own kind, else nullptr.
  void ApplyPenParts(const TPen& pen, const TChartPen* chartPen, TColor color);
  void ApplyBrushParts(const TBrush& brush, const TChartBrush* chartBrush, TColor color,
                       TColor back);

  TCanvas* canvas_ = nullptr;
  const TChartFont* appliedFont_ = nullptr;
  bool monochrome_ = false;
  bool bufferedDisplay_ = true;
  bool dirty_ = true;

 private:
  // The clip each ClipTo found, restored by its Unclip; every surface keeps its own, so charts
  // drawn in turn never restore each other's.
  std::vector<std::optional<TRect>> savedClips_;
};

// The depth-aware operations; in 2D each draws like its plain counterpart and ignores depth.
class TCanvas3D : public TChartCanvas {
 public:
  virtual bool SupportsFullRotation() const { return false; }
  // Starts a frame; returns the bounds to draw into.
  virtual TRect BeginFrame(TCanvas& target, const TView3DOptions* options, const TRect& bounds,
                           bool is3D) = 0;
  virtual void Projection(int /*maxDepth*/, const TRect& /*bounds*/, const TRect& /*chartRect*/) {}
  virtual void PresentFrame(TCanvas& target, TCanvas& defaultCanvas, const TRect& bounds) = 0;
  // True when the buffer still shows the chart and was copied to the attached canvas.
  virtual bool RepaintFromBuffer() = 0;
  virtual void ClipToPlot(const TRect& r, int z0, int z1) = 0;
  virtual void HLineZ(int x0, int x1, int y, int z) = 0;
  virtual void VLineZ(int x, int y0, int y1, int z) = 0;
  virtual void DepthLine(int x, int y, int z0, int z1) = 0;
  virtual void Enter2D() = 0;
  virtual void Leave2D() = 0;
  virtual void LineZ(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MoveToZ(int x, int y, int z) = 0;
  virtual void LineToZ(int x, int y, int z) = 0;
  virtual void WriteRotatedTextZ(int x, int y, int z, std::string_view text, int angle) = 0;
  virtual void WriteTextZ(int x, int y, int z, std::string_view text) = 0;
};

class TChartCanvas3D : public TCanvas3D {
 public:
  // Attached to `canvas` (the chart window's own canvas) until the first frame.
  explicit TChartCanvas3D(TCanvas& canvas);
  ~TChartCanvas3D() override;

  void SetBufferedDisplay(bool value) override;
  TRect BeginFrame(TCanvas& target, const TView3DOptions* options, const TRect& bounds,
                   bool is3D) override;
  void PresentFrame(TCanvas& target, TCanvas& defaultCanvas, const TRect& bounds) override;
  bool RepaintFromBuffer() override;
  // In 2D: ClipTo(r.Left + 1, r.Top + 1, r.Right, r.Bottom - 1).
  void ClipToPlot(const TRect& r, int z0, int z1) override;
  void HLineZ(int x0, int x1, int y, int /*z*/) override { DrawHLine(x0, x1, y); }
  void VLineZ(int x, int y0, int y1, int /*z*/) override { DrawVLine(x, y0, y1); }
  void DepthLine(int x, int y, int /*z0*/, int /*z1*/) override { DrawLine(x, y, x, y); }
  void Enter2D() override;
  void Leave2D() override;
  void LineZ(int x0, int y0, int x1, int y1, int /*z*/) override { DrawLine(x0, y0, x1, y1); }
  void MoveToZ(int x, int y, int /*z*/) override { MoveTo(x, y); }
  void LineToZ(int x, int y, int /*z*/) override { LineTo(x, y); }
  void WriteRotatedTextZ(int x, int y, int /*z*/, std::string_view text, int angle) override {
    WriteRotatedText(x, y, text, angle);
  }
  void WriteTextZ(int x, int y, int /*z*/, std::string_view text) override {
    WriteText(x, y, text);
  }

  // The off-screen buffer, absent until the first buffered frame.
  const TBitmap* Bitmap() const { return bitmap_.get(); }
  bool Is3D() const { return is3D_; }
  double ZoomFactor() const { return zoomFactor_; }
  bool TextZoom() const { return textZoom_; }
  const TView3DOptions* View3DOptions() const { return options_; }

 private:
  std::unique_ptr<TBitmap> bitmap_;
  const TView3DOptions* options_ = nullptr;
  bool is3D_ = false;
  bool saved3D_ = false;
  double zoomFactor_ = 1.0;
  bool textZoom_ = true;
};

}  // namespace plotvik

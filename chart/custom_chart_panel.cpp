#include "chart/custom_chart_panel.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "chart/chart_canvas3d.h"
#include "platform/numeric.h"
#include "raster/graphic_objects.h"

namespace plotvik {

TCustomPanelNoCaption::TCustomPanelNoCaption(std::string name) : TCustomPanel(std::move(name)) {}

TCustomChartPanel::TCustomChartPanel(std::string name) : TCustomPanelNoCaption(std::move(name)) {
  // The switch stays off while the chart is built: nothing here is worth a frame yet.
  autoRepaint_ = false;
  canvas3D_ = std::make_unique<TChartCanvas3D>(Canvas());
  SetBounds(Left(), Top(), 400, 250);
  autoRepaint_ = true;
}

TCustomChartPanel::~TCustomChartPanel() {
  autoRepaint_ = false;
  MarkDestroying();
}

void TCustomChartPanel::SetColor(TColor value) {
  Change(color_, value);
}
void TCustomChartPanel::SetMarginLeft(int value) {
  Change(marginLeft_, value);
}
void TCustomChartPanel::SetMarginTop(int value) {
  Change(marginTop_, value);
}
void TCustomChartPanel::SetMarginRight(int value) {
  Change(marginRight_, value);
}
void TCustomChartPanel::SetMarginBottom(int value) {
  Change(marginBottom_, value);
}
void TCustomChartPanel::SetView3D(bool value) {
  Change(view3D_, value);
}

bool TCustomChartPanel::Monochrome() const {
  return canvas3D_->Monochrome();
}

void TCustomChartPanel::SetMonochrome(bool value) {
  if (canvas3D_->Monochrome() == value) return;
  canvas3D_->SetMonochrome(value);
  Repaint();
}

void TCustomChartPanel::SetChartRect(const TRect& rect) {
  chartRect_ = rect;
  chartWidth_ = rect.Right - rect.Left;
  chartHeight_ = rect.Bottom - rect.Top;
  chartXCenter_ = static_cast<int>((static_cast<std::int64_t>(rect.Left) + rect.Right) / 2);
  chartYCenter_ = static_cast<int>((static_cast<std::int64_t>(rect.Top) + rect.Bottom) / 2);
}

void TCustomChartPanel::Repaint() {
  if (!autoRepaint_ || Destroying()) return;
  canvas3D_->MarkDirty();
  Invalidate();
}

void TCustomChartPanel::Paint() {
  // A frame drawn for another target (a picture of another size) leaves a buffer that is
  // valid but does not fit the window; the window then needs its own frame.
  const TBitmap* buffer = canvas3D_->Bitmap();
  const bool fits =
      buffer != nullptr && buffer->Width() == ClientWidth() && buffer->Height() == ClientHeight();
  if (fits && canvas3D_->RepaintFromBuffer()) return;
  Draw(Canvas(), ClientRect());
}

void TCustomChartPanel::Resize() {
  // The next frame gets a buffer of the new size; a stretched old picture would be wrong.
  Repaint();
}

void TCustomChartPanel::NormalizeChartRect() {
  TRect r = chartRect_;
  r.Left = std::max(r.Left, panelRect_.Left);
  r.Top = std::max(r.Top, panelRect_.Top);
  if (r.Right < r.Left) {
    r.Right = r.Left + 1;
  } else if (r.Right == r.Left) {
    r.Right = r.Left + Width();
  }
  if (r.Bottom < r.Top) {
    r.Bottom = r.Top + 1;
  } else if (r.Bottom == r.Top) {
    r.Bottom = r.Top + Height();
  }
  SetChartRect(r);
}

void TCustomChartPanel::Draw(TCanvas& target, const TRect& rect) {
  panelRect_ = canvas3D_->BeginFrame(target, nullptr, rect, view3D_);
  const int w = panelRect_.Right - panelRect_.Left;
  const int h = panelRect_.Bottom - panelRect_.Top;
  SetChartRect(
      {ClampToHalfIntRange(panelRect_.Left + MulDivRoundHalfAway(marginLeft_, w, 100)),
       ClampToHalfIntRange(panelRect_.Top + MulDivRoundHalfAway(marginTop_, h, 100)),
       ClampToHalfIntRange(panelRect_.Right - MulDivRoundHalfAway(marginRight_, w, 100)),
       ClampToHalfIntRange(panelRect_.Bottom - MulDivRoundHalfAway(marginBottom_, h, 100))});
  NormalizeChartRect();
  DrawFrame();
  canvas3D_->PresentFrame(target, Canvas(), rect);
}

void TCustomChartPanel::DrawFrame() {
  // A frame must not ask for another frame of itself.
  const bool saved = autoRepaint_;
  autoRepaint_ = false;
  try {
    DrawPanel();
    DrawChartContent();
    canvas3D_->ResetDrawingState();
    DoAfterDraw();
  } catch (...) {
    autoRepaint_ = saved;
    throw;
  }
  autoRepaint_ = saved;
}

void TCustomChartPanel::DrawPanel() {
  TChartCanvas3D& c = *canvas3D_;
  // A gradient is not drawn by this program's charts; the plain colour stands in for it.
  if (color_ != clNone) {
    TBrush fill;
    fill.SetStyle(bsSolid);
    c.ApplyBrushColor(fill, color_, color_);
    c.FillArea(panelRect_);
  }
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetMode(pmCopy);
  c.Brush().SetStyle(bsClear);
  // One raised bevel pixel wide: no border and no inner bevel.
  TRect r = panelRect_;
  c.BevelFrame(r, clBtnHighlight, clBtnShadow, 1);
}

}  // namespace plotvik

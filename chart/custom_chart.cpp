#include "chart/custom_chart.h"

#include "chart/chart_canvas3d.h"
#include "chart/chart_zoom.h"

namespace plotvik {

TCustomChart::TCustomChart(std::string name) : TCustomAxisPanel(std::move(name)) {
  const bool saved = AutoRepaint();
  SetAutoRepaint(false);
  auto repaint = [this] { Repaint(); };
  title_ = std::make_unique<TChartTitle>();
  subTitle_ = std::make_unique<TChartTitle>();
  foot_ = std::make_unique<TChartFootTitle>();
  subFoot_ = std::make_unique<TChartFootTitle>();
  legend_ = std::make_unique<TChartLegend>(*this);
  backWall_ = std::make_unique<TChartBackWall>();
  leftWall_ = std::make_unique<TChartWall>(0x80FFFF);
  bottomWall_ = std::make_unique<TChartWall>(clWhite);
  rightWall_ = std::make_unique<TChartRightWall>();
  for (TChartTitle* t : {title_.get(), subTitle_.get(), static_cast<TChartTitle*>(foot_.get()),
                         static_cast<TChartTitle*>(subFoot_.get())}) {
    t->OnChange = repaint;
  }
  for (TChartWall* w : {static_cast<TChartWall*>(backWall_.get()), leftWall_.get(),
                        bottomWall_.get(), static_cast<TChartWall*>(rightWall_.get())}) {
    w->OnChange = repaint;
  }
  mouse_ = std::make_unique<TChartMouseHandler>(*this, *this);
  SetAutoRepaint(saved);
}

TCustomChart::~TCustomChart() = default;

TChartZoom& TCustomChart::Zoom() const {
  return mouse_->Zoom();
}

void TCustomChart::DrawZoomRectangle() {
  mouse_->DrawFrameBand();
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  mouse_->MouseDown(button, shift, x, y);
}

void TCustomChart::MouseMove(TShiftState shift, int x, int y) {
  mouse_->MouseMove(shift, x, y);
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  mouse_->MouseUp(button, shift, x, y);
}

void TCustomChart::MouseLeave() {
  mouse_->MouseLeave();
}

void TCustomChart::CancelMode() {
  mouse_->CancelDrag();
}

void TCustomChart::MouseWheelDown(TShiftState shift, int x, int y) {
  mouse_->MouseWheelNotch(true, shift, x, y);
}

void TCustomChart::MouseWheelUp(TShiftState shift, int x, int y) {
  mouse_->MouseWheelNotch(false, shift, x, y);
}

TColor TCustomChart::BackWallColor() const {
  return backWall_->Color();
}

void TCustomChart::DrawWalls() {
  if (!ActiveSeriesUseAxis()) return;
  TChartCanvas3D& c = Canvas3D();
  c.ApplyPen(backWall_->Pen());
  c.Brush().SetStyle(bsClear);
  const TRect& r = ChartRect();
  c.DrawRectangle(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
}

}  // namespace plotvik

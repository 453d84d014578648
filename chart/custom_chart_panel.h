#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/custom_panel.h"
#include "platform/property.h"
#include "raster/color.h"
#include "raster/geometry.h"

namespace plotvik {

class TCanvas;
class TChartCanvas3D;
class TChartSeries;

// A panel that never shows its component name as a caption: the chart paints every pixel itself.
class TCustomPanelNoCaption : public TCustomPanel {
 public:
  explicit TCustomPanelNoCaption(std::string name = {});
};

// The painting frame of a chart: the panel's colour and bevels, the margins that give the chart
// rectangle, the drawing surface with its off-screen buffer, and the repaint switch that turns
// any number of change notifications into one new frame.
class TCustomChartPanel : public TCustomPanelNoCaption {
 public:
  explicit TCustomChartPanel(std::string name = {});
  ~TCustomChartPanel() override;

  // --- layout properties ---
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Percent of the panel width (left, right) or height (top, bottom).
  int MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int value);
  int MarginTop() const { return marginTop_; }
  void SetMarginTop(int value);
  int MarginRight() const { return marginRight_; }
  void SetMarginRight(int value);
  int MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(int value);
  bool View3D() const { return view3D_; }
  void SetView3D(bool value);
  bool Monochrome() const;
  void SetMonochrome(bool value);

  // --- the surface and the rectangles of the last (or current) frame ---
  TChartCanvas3D& Canvas3D() const { return *canvas3D_; }
  const TRect& PanelRect() const { return panelRect_; }
  const TRect& ChartRect() const { return chartRect_; }
  int ChartWidth() const { return chartWidth_; }
  int ChartHeight() const { return chartHeight_; }
  int ChartXCenter() const { return chartXCenter_; }
  int ChartYCenter() const { return chartYCenter_; }
  // Replaces the chart rectangle (the axes fit shrinks it) and recomputes width, height, centre.
  void SetChartRect(const TRect& rect);

  // --- repainting ---
  // The repaint request: marks the buffer stale and invalidates the window, unless the switch
  // is off (while the chart is built and while a frame is drawn).
  void Repaint();
  bool AutoRepaint() const { return autoRepaint_; }
  void SetAutoRepaint(bool value) { autoRepaint_ = value; }
  // Draws one whole frame of the chart onto target, within rect.
  void Draw(TCanvas& target, const TRect& rect);

  // A series joins or leaves this chart (the series calls these as its ParentChart changes);
  // the chart with axes keeps the list.
  virtual void AddSeries(TChartSeries& /*series*/) {}
  virtual void RemoveSeries(TChartSeries& /*series*/) {}
  // A series of this chart changed its table binding; only a table-bound chart has work then.
  virtual void CheckDatasource(TChartSeries& /*series*/) {}

 protected:
  // The window paint: answered from the buffer while it is valid, else a new frame.
  void Paint() override;
  // A size change always gives a full new frame (never a stretched copy).
  void Resize() override;
  // Everything of the frame after the bevels; the axis panel fills it in.
  virtual void DrawChartContent() {}
  // Runs last in a frame, after the drawing state was reset.
  virtual void DoAfterDraw() {}
  // The chart rectangle is forced to at least one pixel each way.
  void NormalizeChartRect();

 private:
  void DrawFrame();
  void DrawPanel();
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value)) Repaint();
  }

  TColor color_ = clBtnFace;
  int marginLeft_ = 3;
  int marginTop_ = 4;
  int marginRight_ = 3;
  int marginBottom_ = 4;
  bool view3D_ = true;

  std::unique_ptr<TChartCanvas3D> canvas3D_;
  TRect panelRect_;
  TRect chartRect_;
  int chartWidth_ = 0;
  int chartHeight_ = 0;
  int chartXCenter_ = 0;
  int chartYCenter_ = 0;
  bool autoRepaint_ = false;
};

}  // namespace plotvik

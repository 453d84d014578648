#pragma once

#include <memory>
#include <string>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "platform/component.h"

namespace plotvik {

class TCustomChartPanel;

// Anything a chart holds that can be switched off and that repaints its chart when it changes.
class TCustomChartElement : public TComponent {
 public:
  explicit TCustomChartElement(std::string name = {});
  ~TCustomChartElement() override;

  bool Active() const { return active_; }
  virtual void SetActive(bool active);
  TChartPen& Pen() const { return *pen_; }
  TChartBrush& Brush() const { return *brush_; }

  TCustomChartPanel* ParentChart() const { return parentChart_; }
  // The chart this element belongs to (nullptr: none); a series also leaves the old chart's
  // series list and joins the new one's.
  virtual void SetParentChart(TCustomChartPanel* chart);

  // Asks the chart to repaint; a chart collects any number of requests into one frame.
  void Repaint() const;

 protected:
  TCustomChartPanel* parentChart_ = nullptr;

 private:
  bool active_ = true;
  std::unique_ptr<TChartPen> pen_;
  std::unique_ptr<TChartBrush> brush_;
};

// A chart element that a legend can list under a title.
class TCustomChartSeries : public TCustomChartElement {
 public:
  using TCustomChartElement::TCustomChartElement;

  bool ShowInLegend() const { return showInLegend_; }
  void SetShowInLegend(bool show);
  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

 private:
  bool showInLegend_ = true;
  std::string title_;
};

}  // namespace plotvik

#include "chart/chart_element.h"

#include <utility>

#include "chart/custom_chart_panel.h"

namespace plotvik {

TCustomChartElement::TCustomChartElement(std::string name)
    : TComponent(std::move(name)),
      pen_(std::make_unique<TChartPen>()),
      brush_(std::make_unique<TChartBrush>()) {
  pen_->OnChange = [this] { Repaint(); };
  brush_->OnChange = [this] { Repaint(); };
}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  Repaint();
}

void TCustomChartElement::SetParentChart(TCustomChartPanel* chart) {
  parentChart_ = chart;
}

void TCustomChartElement::Repaint() const {
  if (parentChart_ != nullptr) parentChart_->Repaint();
}

void TCustomChartSeries::SetShowInLegend(bool show) {
  if (showInLegend_ == show) return;
  showInLegend_ = show;
  Repaint();
}

void TCustomChartSeries::SetTitle(std::string title) {
  if (title_ == title) return;
  title_ = std::move(title);
  Repaint();
}

}  // namespace plotvik

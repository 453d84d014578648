#include "app/chart_pages.h"

#include <stdexcept>
#include <string>

#include "chart/chart_axis.h"
#include "chart/chart_title.h"
#include "chart/chart_value_list.h"
#include "chart/chart_zoom.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "platform/gui/page_control.h"

namespace plotvik {

namespace {

void ApplyChartDecl(TDBChart& chart, const TChartPageDecl& decl) {
  chart.SetBounds(0, 0, kChartDesignedWidth, kChartDesignedHeight);
  chart.SetView3D(false);
  // The title keeps its text but is hidden: it is never drawn and takes no room.
  chart.Title().SetText({"TDBChart"});
  chart.Title().SetVisible(false);
  chart.BottomAxis().Title().SetCaption(kChartBottomAxisTitle);
  // A left drag zooms (or undoes); a right drag does nothing.
  chart.Zoom().SetAllow(true);
  chart.MouseHandler().SetAllowPanning(pmNone);

  TChartAxis& left = chart.LeftAxis();
  left.Title().SetCaption(decl.leftAxisTitle);
  if (decl.leftAxisIncrement != 0) left.SetIncrement(decl.leftAxisIncrement);
  left.SetLabelStyle(decl.leftAxisLabelStyle);
  left.SetExactDateTime(decl.leftAxisExactDateTime);
}

void ApplySeriesDecl(TLineSeries& series, const TChartPageDecl& decl) {
  series.SetTitle(decl.seriesTitle);
  series.SetSeriesColor(decl.seriesColor);
  series.SetShowInLegend(false);
  series.SetClickableLine(decl.clickableLine);

  series.Marks().SetVisible(false);
  series.Marks().SetArrowLength(8);

  TSeriesPointer& pointer = series.Pointer();
  pointer.SetVisible(true);
  pointer.SetStyle(decl.pointerStyle);
  pointer.SetHorizSize(2);
  pointer.SetVertSize(2);
  // The axes keep no room for the markers: those at the ends of the range are half clipped.
  pointer.SetInflateMargins(false);

  TChartValueList& x = series.XValues();
  x.SetName("X");
  x.SetDateTime(false);
  x.SetOrder(TChartListOrder::loAscending);
  x.SetValueSource(std::string(kSweepFieldNames[sfHeight]));
  TChartValueList& y = series.YValues();
  y.SetName("Y");
  y.SetDateTime(false);
  y.SetOrder(TChartListOrder::loNone);
  y.SetValueSource(std::string(kSweepFieldNames[decl.yField]));
}

}  // namespace

const TChartPageDecl& PageDecl(int pageIndex) {
  if (pageIndex < 0 || pageIndex >= kChartPageCount) {
    throw std::out_of_range("chart page index " + std::to_string(pageIndex));
  }
  return kChartPages[pageIndex];
}

TDBChart& CreatePageChart(TComponent& owner, TDataSet& table, int pageIndex) {
  const TChartPageDecl& decl = PageDecl(pageIndex);

  TDBChart& chart = owner.CreateComponent<TDBChart>(decl.chartName);
  chart.BeginLoading();
  ApplyChartDecl(chart, decl);
  chart.EndLoading();

  // Bound only once every value is in place, so the chart refills once, with the right fields.
  TLineSeries& series = owner.CreateComponent<TLineSeries>(decl.seriesName);
  series.BeginLoading();
  ApplySeriesDecl(series, decl);
  series.SetParentChart(&chart);
  series.SetDataSource(&table);
  series.EndLoading();
  return chart;
}

TDBChart& PageChart(const TComponent& owner, int pageIndex) {
  auto* chart = dynamic_cast<TDBChart*>(owner.FindComponent(PageDecl(pageIndex).chartName));
  if (chart == nullptr) throw std::logic_error("no chart on page " + std::to_string(pageIndex));
  return *chart;
}

TLineSeries& PageSeries(const TComponent& owner, int pageIndex) {
  auto* series = dynamic_cast<TLineSeries*>(owner.FindComponent(PageDecl(pageIndex).seriesName));
  if (series == nullptr) throw std::logic_error("no series on page " + std::to_string(pageIndex));
  return *series;
}

TDBChart& CreateChartPage(TComponent& owner, TDataSet& table, TTabSheet& sheet, int pageIndex) {
  TDBChart& chart = CreatePageChart(owner, table, pageIndex);
  // The chart redraws completely on every size change the page hands on to it.
  sheet.ShowPanel(chart);
  return chart;
}

}  // namespace plotvik

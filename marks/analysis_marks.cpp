#include "marks/analysis_marks.h"

#include <algorithm>
#include <array>
#include <string>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/custom_axis_panel.h"
#include "marks/mark_drawing.h"
#include "platform/handler_list.h"
#include "raster/graphic_objects.h"
#include "table/mem_table.h"

namespace plotvik {

struct TAnalysisMarks::State {
  State(const TCustomMemTable& t, TCustomAxisPanel& swr, TCustomAxisPanel& reactance)
      : table(t), swrChart(swr), reactanceChart(reactance) {}

  const TCustomMemTable& table;
  TCustomAxisPanel& swrChart;
  TCustomAxisPanel& reactanceChart;
  bool visible = false;
  // What the analysis was taken from: the table's rewrites and stored records.
  bool computed = false;
  std::uint64_t rewrites = 0;
  int records = 0;
  TSweepAnalysis analysis;

  const TSweepAnalysis& Current() {
    const std::uint64_t rewritesNow = table.RewriteCount();
    const int recordsNow = table.CurrentIndex().Count();
    if (!computed || rewritesNow != rewrites || recordsNow != records) {
      analysis = AnalyseSweep(TStoredSweepRecords(table));
      rewrites = rewritesNow;
      records = recordsNow;
      computed = true;
    }
    return analysis;
  }

  void DrawTints(TCustomAxisPanel& chart) {
    const TSweepAnalysis& a = Current();
    const TChartAxis& bottom = chart.BottomAxis();
    const double viewLow = std::min(bottom.RangeMin(), bottom.RangeMax());
    const double viewHigh = std::max(bottom.RangeMin(), bottom.RangeMax());
    const TRect& r = chart.ChartRect();
    TChartCanvas3D& c = chart.Canvas3D();
    c.ClipToPlot({r.Left, r.Top, r.Right, r.Bottom + 1}, 0, 0);
    for (const TSwrBand& band : a.bands) {
      if (band.high < viewLow || band.low > viewHigh) continue;
      const int x0 = *MarkColumn(chart, std::max(band.low, viewLow));
      const int x1 = *MarkColumn(chart, std::min(band.high, viewHigh));
      TBrush fill;
      fill.SetStyle(bsSolid);
      const TColor tint = band.threshold == kSwrBandThresholds[0] ? kBand2Tint : kBand15Tint;
      c.ApplyBrushColor(fill, tint, tint);
      // A band of a single point still shows, one pixel wide.
      c.FillArea({std::min(x0, x1), r.Top, std::max(x0, x1) + 1, r.Bottom});
    }
    c.Unclip();
  }

  void DrawMinimum(TCustomAxisPanel& chart) {
    const TSweepAnalysis& a = Current();
    if (!a.minimumSwr) return;
    const std::optional<int> x = MarkColumn(chart, a.minimumSwr->height);
    const std::optional<int> y = MarkRow(chart, a.minimumSwr->value);
    if (!x || !y) return;
    TChartCanvas3D& c = chart.Canvas3D();
    const TRect& r = chart.ChartRect();
    c.ClipToPlot({r.Left, r.Top, r.Right, r.Bottom + 1}, 0, 0);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(2);
    c.Pen().SetMode(pmCopy);
    c.Pen().SetColor(kMinimumColor);
    c.Brush().SetStyle(bsClear);
    const std::array<TPoint, 4> diamond = {TPoint{*x, *y - 6}, TPoint{*x + 6, *y},
                                           TPoint{*x, *y + 6}, TPoint{*x - 6, *y}};
    c.DrawPolygon(diamond);
    TMarkLabels labels(chart, 1);
    const std::string text = "КСВ " + MarkNumberText(a.minimumSwr->value) + "  height " +
                             MarkNumberText(a.minimumSwr->height);
    // Above and right of the marker: the lowest point sits at the foot of the automatic view,
    // and the curve rises on both sides of it.
    labels.Place(text, *x + 8, *y - 8 - labels.BoxHeight(), kMinimumColor);
    c.Unclip();
  }

  void DrawResonances(TCustomAxisPanel& chart) {
    const TSweepAnalysis& a = Current();
    TChartCanvas3D& c = chart.Canvas3D();
    const TRect& r = chart.ChartRect();
    c.ClipToPlot({r.Left, r.Top, r.Right, r.Bottom + 1}, 0, 0);
    for (double height : a.resonances) {
      if (const std::optional<int> x = MarkColumn(chart, height)) {
        DrawMarkLine(chart, *x, kResonanceColor);
      }
    }
    TMarkLabels labels(chart, 3);
    for (double height : a.resonances) {
      const std::optional<int> x = MarkColumn(chart, height);
      if (!x) continue;
      const std::string text = MarkNumberText(height);
      labels.Place(text, *x + 3, r.Top + 3, kResonanceColor);
    }
    c.Unclip();
  }
};

TAnalysisMarks::TAnalysisMarks(const TCustomMemTable& table, TCustomAxisPanel& swrChart,
                               TCustomAxisPanel& reactanceChart)
    : state_(std::make_shared<State>(table, swrChart, reactanceChart)) {
  const std::weak_ptr<State> weak = state_;
  AddHandler(swrChart.OnBeforeDrawAxes, [weak](TCustomAxisPanel& chart) {
    const std::shared_ptr<State> state = weak.lock();
    if (state && state->visible) state->DrawTints(chart);
  });
  AddHandler(swrChart.OnAfterDraw, [weak](TCustomAxisPanel& chart) {
    const std::shared_ptr<State> state = weak.lock();
    if (state && state->visible) state->DrawMinimum(chart);
  });
  AddHandler(reactanceChart.OnAfterDraw, [weak](TCustomAxisPanel& chart) {
    const std::shared_ptr<State> state = weak.lock();
    if (state && state->visible) state->DrawResonances(chart);
  });
}

TAnalysisMarks::~TAnalysisMarks() = default;

bool TAnalysisMarks::Visible() const {
  return state_->visible;
}

void TAnalysisMarks::SetVisible(bool value) {
  if (state_->visible == value) return;
  state_->visible = value;
  state_->swrChart.Repaint();
  state_->reactanceChart.Repaint();
}

const TSweepAnalysis& TAnalysisMarks::Analysis() {
  return state_->Current();
}

}  // namespace plotvik

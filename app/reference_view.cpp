#include "app/reference_view.h"

#include <cstdint>

#include "chart/chart_value_list.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "reference/reference_run.h"
#include "table/mem_table.h"

namespace plotvik {

namespace {

constexpr const char* kReferenceSeriesName = "ReferenceSeries";

// Puts a grey line series bound to `reference` on page `pageIndex`'s chart, under the page's own
// series, and returns it (owned by `owner`).
TChartSeries& PutReferenceOnPage(TComponent& pages, TComponent& owner, TDataSet& reference,
                                 int pageIndex) {
  const TChartPageDecl& decl = kChartPages[pageIndex];
  TDBChart& chart = PageChart(pages, pageIndex);
  TLineSeries& own = PageSeries(pages, pageIndex);

  TLineSeries& series = owner.CreateComponent<TLineSeries>(kReferenceSeriesName);
  series.BeginLoading();
  series.SetTitle("эталон");
  series.SetSeriesColor(kReferenceColor);
  series.SetShowInLegend(false);
  series.Marks().SetVisible(false);
  // Unmarked points: the current run's markers alone stand out in front of it.
  series.Pointer().SetVisible(false);
  TChartValueList& x = series.XValues();
  x.SetName("X");
  x.SetOrder(TChartListOrder::loAscending);
  x.SetValueSource(own.XValues().ValueSource());
  TChartValueList& y = series.YValues();
  y.SetName("Y");
  y.SetOrder(TChartListOrder::loNone);
  y.SetValueSource(decl.yField);
  series.SetParentChart(&chart);
  series.SetDataSource(&reference);
  series.EndLoading();
  // The current run is drawn over the reference. Only the list order changes: a series joining
  // again would refill, and the walk would post a record a stopped load left pending.
  chart.RemoveSeries(own);
  chart.AddSeries(own);
  return series;
}

}  // namespace

TReferenceView::TReferenceView(TComponent& pages) : pages_(pages) {}

TReferenceView::~TReferenceView() {
  // The series leave their charts before the table they read goes.
  seriesOwner_.reset();
}

bool TReferenceView::Present() const {
  return run_ != nullptr && run_->Present();
}

void TReferenceView::Keep(const TCustomMemTable& run) {
  if (!run.Active()) return;
  PutOnPages();
  run_->Keep(run);
  SetShown(true);
}

void TReferenceView::Load(TSweepFileUi& ui) {
  PutOnPages();
  run_->Load(ui);
  if (Present()) SetShown(true);
}

void TReferenceView::Toggle() {
  if (Present()) SetShown(!shown_);
}

void TReferenceView::PutOnPages() {
  if (run_ != nullptr) return;
  run_ = std::make_unique<TReferenceRun>();
  seriesOwner_ = std::make_unique<TComponent>("ReferencePages");
  for (int page = 0; page < kChartPageCount; ++page) {
    series_[static_cast<size_t>(page)] =
        &PutReferenceOnPage(pages_, *seriesOwner_, run_->Table(), page);
  }
}

void TReferenceView::SetShown(bool shown) {
  shown_ = shown;
  for (TChartSeries* series : series_) {
    if (series != nullptr) series->SetActive(shown);
  }
}

bool IsReferenceSeries(const TChartSeries& series) {
  return series.Name() == kReferenceSeriesName;
}

TChartPointHit CurrentRunOnATie(const TCustomAxisPanel& chart, const TChartPointHit& hit, int x,
                                int y) {
  if (hit.series == nullptr || !IsReferenceSeries(*hit.series)) return hit;
  auto distance = [x, y](int px, int py) {
    const std::int64_t dx = std::int64_t{px} - x;
    const std::int64_t dy = std::int64_t{py} - y;
    return dx * dx + dy * dy;
  };
  const std::int64_t reach = distance(hit.x, hit.y);
  const TRect& rect = chart.ChartRect();
  for (int s = 0; s < chart.SeriesCount(); ++s) {
    const TChartSeries& series = chart.Series(s);
    if (IsReferenceSeries(series) || !series.Active()) continue;
    for (int i = 0; i < series.Count(); ++i) {
      if (series.IsNullPoint(i)) continue;
      const int px = series.CalcXPos(i);
      const int py = series.CalcYPos(i);
      if (px < rect.Left || px > rect.Right || py < rect.Top || py > rect.Bottom) continue;
      if (distance(px, py) == reach) return TChartPointHit{&series, i, px, py};
    }
  }
  return hit;
}

}  // namespace plotvik

#include "app/reference_view.h"

#include "chart/chart_value_list.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "session/sweep_session.h"
#include "table/mem_table.h"

namespace plotvik {

namespace {

constexpr const char* kReferenceSeriesName = "ReferenceSeries";

// Puts a grey line series bound to `reference` on page `pageIndex`'s chart, under the page's own
// series, and returns it (owned by `owner`).
TChartSeries& PutReferenceOnPage(TComponent& pages, TComponent& owner, TDataSet& reference,
                                 int pageIndex) {
  const TChartPageDecl& decl = PageDecl(pageIndex);
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
  y.SetValueSource(std::string(kSweepFieldNames[decl.yField]));
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

TReferenceView::TReferenceView(TSweepSession& session, TComponent& pages)
    : session_(session), pages_(pages) {
  session_.AddListener(*this);
}

TReferenceView::~TReferenceView() {
  session_.RemoveListener(*this);
  // The series leave their charts before the table they read goes.
  seriesOwner_.reset();
}

void TReferenceView::SessionChanged(TSessionChange change) {
  switch (change) {
    case TSessionChange::scReferenceCreated:
      PutOnPages();
      break;
    case TSessionChange::scReferenceSet:
    case TSessionChange::scReferenceShown:
      SetShown(true);
      break;
    case TSessionChange::scReferenceHidden:
      SetShown(false);
      break;
    default:
      break;
  }
}

void TReferenceView::PutOnPages() {
  // Bound while the table is still closed: the series then follow it record by record, and no
  // refill of theirs ever walks (and posts) a record a stopped load left pending.
  TMemTable* reference = session_.ReferenceTable();
  if (seriesOwner_ != nullptr || reference == nullptr) return;
  seriesOwner_ = std::make_unique<TComponent>("ReferencePages");
  for (int page = 0; page < kChartPageCount; ++page) {
    series_[static_cast<size_t>(page)] =
        &PutReferenceOnPage(pages_, *seriesOwner_, *reference, page);
  }
}

void TReferenceView::SetShown(bool shown) {
  for (TChartSeries* series : series_) {
    if (series != nullptr) series->SetActive(shown);
  }
}

bool IsReferenceSeries(const TChartSeries& series) {
  return series.Name() == kReferenceSeriesName;
}

}  // namespace plotvik

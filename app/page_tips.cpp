#include "app/page_tips.h"

#include <cstdint>
#include <string>
#include <utility>

#include "app/chart_pages.h"
#include "app/reference_view.h"
#include "chart/chart_point_finder.h"
#include "chart/chart_series.h"
#include "chart/chart_value_list.h"
#include "chart/chart_zoom.h"
#include "chart/db_chart.h"
#include "platform/locale_settings.h"

namespace plotvik {

namespace {

// `hit` (a point of `chart` nearest to (x, y)), or, when it is a reference point, a point of the
// current run just as near: where both runs coincide the tip reads the run drawn in front.
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

}  // namespace

std::optional<THoverText> PageHoverText(const TDBChart& chart, int pageIndex, int x, int y) {
  // Mid-drag the mouse belongs to the zoom; with a frame pending, the points on the screen are
  // not yet where the series now puts them.
  if (chart.Zoom().Active() || chart.PaintPending()) return std::nullopt;
  const std::optional<TChartPointHit> nearest = NearestChartPoint(chart, x, y, kHoverReach);
  if (!nearest) return std::nullopt;
  const TChartPointHit hit = CurrentRunOnATie(chart, *nearest, x, y);
  const TChartSeries& series = *hit.series;
  std::string text =
      PointValueText(series.XValues().ValueSource(), series.XValue(hit.index),
                     PageDecl(pageIndex).caption, series.YValue(hit.index), LocaleDecimalChar);
  if (IsReferenceSeries(series)) text.insert(0, kReferenceTipPrefix);
  return THoverText{std::move(text), hit.x, hit.y};
}

void ShowPageHoverTips(TDBChart& chart, int pageIndex) {
  chart.OnHoverText = [&chart, pageIndex](int x, int y) {
    return PageHoverText(chart, pageIndex, x, y);
  };
}

}  // namespace plotvik

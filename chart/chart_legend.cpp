#include "chart/chart_legend.h"

#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"

namespace plotvik {

int TChartLegend::ItemCount() const {
  int active = 0;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    if (chart_.Series(i).Active()) ++active;
  }
  int count = 0;
  if (active > 1) {
    for (int i = 0; i < chart_.SeriesCount(); ++i) {
      const TChartSeries& s = chart_.Series(i);
      if (s.Active() && s.ShowInLegend()) ++count;
    }
    return count;
  }
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (!s.Active()) continue;
    if (s.ShowInLegend()) count = s.PointCount();
    break;
  }
  return count;
}

}  // namespace plotvik

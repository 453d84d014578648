#include "chart/chart_legend.h"

#include <algorithm>

#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"

namespace plotvik {

namespace {

int ActiveSeriesCount(const TCustomAxisPanel& chart) {
  int n = 0;
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    if (chart.Series(i).Active()) ++n;
  }
  return n;
}

}  // namespace

bool TChartLegend::ShouldProcess() const {
  return visible_ && (checkBoxes_ || ActiveSeriesCount(chart_) > 0);
}

TLegendStyle TChartLegend::EffectiveStyle() const {
  if (legendStyle_ != lsAuto) return legendStyle_;
  return (checkBoxes_ || ActiveSeriesCount(chart_) > 1) ? lsSeries : lsValues;
}

int TChartLegend::ItemCount() const {
  int count = 0;
  if (EffectiveStyle() == lsSeries) {
    for (int i = 0; i < chart_.SeriesCount(); ++i) {
      const TChartSeries& s = chart_.Series(i);
      if ((s.Active() || checkBoxes_) && s.ShowInLegend()) ++count;
    }
  } else {
    for (int i = 0; i < chart_.SeriesCount(); ++i) {
      const TChartSeries& s = chart_.Series(i);
      if (!s.Active()) continue;
      if (s.ShowInLegend()) count = s.PointCount();
      break;
    }
  }
  return std::max(0, count - firstValue_);
}

}  // namespace plotvik

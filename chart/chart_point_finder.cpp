#include "chart/chart_point_finder.h"

#include <cstdint>

#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"

namespace plotvik {

std::optional<TChartPointHit> NearestChartPoint(const TCustomAxisPanel& chart, int x, int y,
                                                int reach) {
  if (reach < 0) return std::nullopt;
  const TRect& rect = chart.ChartRect();
  std::optional<TChartPointHit> best;
  // Squared distances in 64 bits: pixel positions of far-off values can be anything an int holds.
  const std::int64_t limit = std::int64_t{reach} * reach;
  std::int64_t bestDistance = 0;
  for (int s = 0; s < chart.SeriesCount(); ++s) {
    const TChartSeries& series = chart.Series(s);
    if (!series.Active() || series.GetHorizAxis() == nullptr || series.GetVertAxis() == nullptr) {
      continue;
    }
    for (int i = 0; i < series.Count(); ++i) {
      if (series.IsNullPoint(i)) continue;
      const int px = series.CalcXPos(i);
      const int py = series.CalcYPos(i);
      // Markers on the rectangle's last row and column are still half drawn.
      if (px < rect.Left || px > rect.Right || py < rect.Top || py > rect.Bottom) continue;
      const std::int64_t dx = std::int64_t{px} - x;
      const std::int64_t dy = std::int64_t{py} - y;
      const std::int64_t distance = dx * dx + dy * dy;
      if (distance > limit || (best && distance >= bestDistance)) continue;
      best = TChartPointHit{&series, i, px, py};
      bestDistance = distance;
    }
  }
  return best;
}

std::string PointValueText(std::string_view xName, double x, std::string_view yName, double y,
                           char decimalSeparator) {
  std::string text(xName);
  text += ' ';
  text += ShortestNumberText(x, decimalSeparator);
  text += "  ";
  text += yName;
  text += ' ';
  text += ShortestNumberText(y, decimalSeparator);
  return text;
}

}  // namespace plotvik

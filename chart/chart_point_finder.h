#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/number_text.h"

namespace plotvik {

class TCustomAxisPanel;
class TChartSeries;

// A drawn point of a chart found under the mouse.
struct TChartPointHit {
  const TChartSeries* series = nullptr;
  int index = -1;
  // Where the last frame drew the point, in the chart's pixels.
  int x = 0;
  int y = 0;
};

// The drawn point nearest to (x, y) in the chart's pixels, at most `reach` pixels away (straight
// line distance), or nothing. Only points the last frame showed count: those of active series,
// not null, with their centre inside the chart rectangle; their places come from the series'
// axes as that frame left them. Of points at the same distance the earlier series wins, then the
// lower index.
std::optional<TChartPointHit> NearestChartPoint(const TCustomAxisPanel& chart, int x, int y,
                                                int reach);

// "height 12.34  КСВ 1.523": the X field's name and value, two blanks, then the plotted
// quantity's name and value.
std::string PointValueText(std::string_view xName, double x, std::string_view yName, double y,
                           char decimalSeparator);

}  // namespace plotvik

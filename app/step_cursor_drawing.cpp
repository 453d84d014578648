#include "app/step_cursor_drawing.h"

#include <algorithm>
#include <optional>

#include "analysis/step_cursor.h"
#include "chart/chart_axis.h"
#include "chart/custom_axis_panel.h"
#include "marks/mark_drawing.h"
#include "platform/locale_settings.h"

namespace plotvik {

namespace {

// The pixel of `value` on `axis`, or the end of the plot nearest to it when it lies outside
// the axis's range.
int PixelOrEdge(const TChartAxis& axis, double value, int lowEnd, int highEnd) {
  const double low = std::min(axis.RangeMin(), axis.RangeMax());
  const double high = std::max(axis.RangeMin(), axis.RangeMax());
  if (value < low) return lowEnd;
  if (value > high) return highEnd;
  return axis.PosOfValue(value);
}

}  // namespace

void DrawStepLine(TCustomAxisPanel& chart, const TSweepRecord& record) {
  if (!record[sfHeight]) return;
  if (const std::optional<int> column = MarkColumn(chart, *record[sfHeight])) {
    DrawMarkLine(chart, *column, kStepLineColor);
  }
}

THoverText StepTip(const TCustomAxisPanel& chart, const TSweepRecord& record, TSweepField field) {
  const TRect& plot = chart.ChartRect();
  const int left = plot.Left + 1;
  const int right = plot.Right - 1;
  const int top = plot.Top + 1;
  const int bottom = plot.Bottom - 1;
  int x = left;
  if (const std::optional<double>& height = record[sfHeight]) {
    x = PixelOrEdge(chart.BottomAxis(), *height, left, right);
  }
  int y = top;
  if (const std::optional<double>& value = record[field]) {
    y = PixelOrEdge(chart.LeftAxis(), *value, bottom, top);
  }
  x = std::clamp(x, left, std::max(left, right));
  y = std::clamp(y, top, std::max(top, bottom));
  return THoverText{StepText(record, LocaleDecimalChar), x, y};
}

}  // namespace plotvik

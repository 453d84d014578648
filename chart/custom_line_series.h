#pragma once

#include <string>

#include "chart/chart_series.h"

namespace plotvik {

// A series drawn as a line between its points. The line's width, style and visibility come
// from LinePen; its colour is always the colour of the point a segment ends at.
class TCustomLineSeries : public TChartSeries {
 public:
  explicit TCustomLineSeries(std::string name = {});

  TChartPen& LinePen() const { return Pen(); }

  // Consecutive points are joined, so the first point beyond the right edge is still needed.
  bool DrawBetweenPoints() const override { return true; }
};

}  // namespace plotvik

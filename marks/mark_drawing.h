#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "raster/color.h"
#include "raster/geometry.h"

namespace plotvik {

class TChartAxis;
class TCustomAxisPanel;

// The pixel column of `value` on the chart's bottom axis, or none when it lies outside the
// axis's range (a zoomed view): a mark there is not drawn rather than drawn at a wrong place.
std::optional<int> MarkColumn(const TCustomAxisPanel& chart, double value);
// The same for the left axis (rows).
std::optional<int> MarkRow(const TCustomAxisPanel& chart, double value);

// A number for a mark's label: at most three decimals, the locale's decimal separator; a value
// that is not 0 but would round to it gets three significant digits and an exponent instead.
std::string MarkNumberText(double value);

// A thin vertical line over the whole plot at column x.
void DrawMarkLine(TCustomAxisPanel& chart, int x, TColor color);

// Labels written in boxes, placed in the order given. A label that would cover a label already
// placed moves one row down; one that finds no free row among `rows` is dropped, so the same
// marks always give the same picture.
class TMarkLabels {
 public:
  TMarkLabels(TCustomAxisPanel& chart, int rows);
  // Writes `text` with its box's top left corner at (x, y), moved inside the plot; false when
  // it had to be dropped.
  bool Place(std::string_view text, int x, int y, TColor color);
  // The size of the box `text` gets.
  int BoxWidth(std::string_view text);
  int BoxHeight();

 private:
  TCustomAxisPanel& chart_;
  int rows_;
  std::vector<TRect> placed_;
};

}  // namespace plotvik

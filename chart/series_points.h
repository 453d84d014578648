#pragma once

#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "chart/chart_value_list.h"
#include "raster/color.h"

namespace plotvik {

// Points in the order they were added, before they have their places among a series' points:
// the unsorted append, and the one sort that places them all at once.
class TSeriesPoints {
 public:
  void Append(double x, double y, TColor color) {
    x_.push_back(x);
    y_.push_back(y);
    color_.push_back(color);
  }
  bool Empty() const { return x_.empty(); }
  int Count() const { return static_cast<int>(x_.size()); }
  double X(int index) const { return x_[static_cast<size_t>(index)]; }
  double Y(int index) const { return y_[static_cast<size_t>(index)]; }
  TColor Color(int index) const { return color_[static_cast<size_t>(index)]; }

  // The old points with these merged in; x and y hold `capacity` values, the first
  // old + new of them set; colors is empty when no point, old or new, has a colour list entry.
  struct TMerged {
    std::unique_ptr<double[]> x;
    std::unique_ptr<double[]> y;
    std::vector<TColor> colors;
  };
  // What one ordered insert after another would leave: every new point lands after the old
  // points its X does not precede and after the new points before it with an equal X. Nothing
  // (std::nullopt) where a merge cannot stand for that: a NaN anywhere, old X out of order,
  // old columns or colours of different lengths.
  std::optional<TMerged> MergeBehind(TChartListOrder order, std::span<const double> oldX,
                                     std::span<const double> oldY,
                                     const std::vector<TColor>* oldColors, int capacity) const;

 private:
  std::vector<double> x_;
  std::vector<double> y_;
  std::vector<TColor> color_;
};

}  // namespace plotvik

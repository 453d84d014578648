#include "chart/series_points.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plotvik {

namespace {

// The positions of the values, none NaN, in stable order: equal values (0 and -0 too) keep
// theirs, as an ordered insert of one point after another would keep them.
std::vector<int> StableOrder(std::span<const double> values, bool descending) {
  std::vector<int> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  if (descending) {
    std::stable_sort(order.begin(), order.end(),
                     [values](int a, int b) { return values[a] > values[b]; });
  } else {
    std::stable_sort(order.begin(), order.end(),
                     [values](int a, int b) { return values[a] < values[b]; });
  }
  return order;
}

}  // namespace

std::optional<TSeriesPoints::TMerged> TSeriesPoints::MergeBehind(
    TChartListOrder order, std::span<const double> oldX, std::span<const double> oldY,
    const std::vector<TColor>* oldColors, int capacity) const {
  const auto n = static_cast<int>(oldX.size());
  const int m = Count();
  if (static_cast<int>(oldY.size()) != n) return std::nullopt;
  if (oldColors != nullptr && static_cast<int>(oldColors->size()) != n) return std::nullopt;
  // An ordered insert scans back over the values its new value precedes.
  auto precedes = [order](double a, double b) {
    switch (order) {
      case TChartListOrder::loAscending:
        return a < b;
      case TChartListOrder::loDescending:
        return a > b;
      default:
        return false;  // every value goes to the end
    }
  };
  if (order != TChartListOrder::loNone) {
    for (int i = 0; i < n; ++i) {
      if (std::isnan(oldX[i]) || (i > 0 && precedes(oldX[i], oldX[i - 1]))) return std::nullopt;
    }
    if (std::any_of(x_.begin(), x_.end(), [](double v) { return std::isnan(v); })) {
      return std::nullopt;
    }
  }
  std::vector<int> sorted;
  if (order == TChartListOrder::loNone || std::is_sorted(x_.begin(), x_.end(), precedes)) {
    sorted.resize(static_cast<size_t>(m));
    std::iota(sorted.begin(), sorted.end(), 0);
  } else {
    sorted = StableOrder(x_, order == TChartListOrder::loDescending);
  }

  const int count = n + m;
  const bool anyColor =
      oldColors != nullptr ||
      std::any_of(color_.begin(), color_.end(), [](TColor c) { return c != clDefault; });
  TMerged merged{std::make_unique_for_overwrite<double[]>(static_cast<size_t>(capacity)),
                 std::make_unique_for_overwrite<double[]>(static_cast<size_t>(capacity)),
                 {}};
  if (anyColor) merged.colors.resize(static_cast<size_t>(count));
  int i = 0;
  int j = 0;
  for (int k = 0; k < count; ++k) {
    // An old value goes first unless the new one precedes it.
    if (j == m || (i < n && !precedes(x_[sorted[j]], oldX[i]))) {
      merged.x[k] = oldX[i];
      merged.y[k] = oldY[i];
      if (anyColor) merged.colors[k] = oldColors != nullptr ? (*oldColors)[i] : clDefault;
      ++i;
    } else {
      const int p = sorted[j++];
      merged.x[k] = x_[p];
      merged.y[k] = y_[p];
      if (anyColor) merged.colors[k] = color_[p];
    }
  }
  return merged;
}

}  // namespace plotvik

#include "chart/series_points.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <utility>

namespace plotvik {

namespace {

// The positions of the values in the order of a stable sort, ascending or descending: equal
// values (0 and -0 among them) keep their order. The values must not be NaN.
// A radix sort on the values' bits, made to sort as the numbers do, is linear in the count.
std::vector<int> StableOrder(std::span<const double> values, bool descending) {
  const size_t n = values.size();
  struct Item {
    std::uint64_t key;
    int index;
  };
  std::vector<Item> items(n), spare(n);
  std::uint64_t differing = 0;
  for (size_t i = 0; i < n; ++i) {
    const double v = values[i] == 0 ? 0.0 : values[i];
    auto key = std::bit_cast<std::uint64_t>(v);
    // Negative numbers: all bits flipped (larger magnitude sorts lower); others: sign set.
    key = (key >> 63) != 0 ? ~key : key | (std::uint64_t{1} << 63);
    if (descending) key = ~key;
    items[i] = {key, static_cast<int>(i)};
    differing |= key ^ items[0].key;
  }
  constexpr int kDigitBits = 11;
  constexpr std::uint64_t kDigitMask = (std::uint64_t{1} << kDigitBits) - 1;
  std::vector<std::uint32_t> counts(size_t{1} << kDigitBits);
  for (int shift = 0; shift < 64; shift += kDigitBits) {
    // A digit every key shares leaves the order as it is.
    if (((differing >> shift) & kDigitMask) == 0) continue;
    std::fill(counts.begin(), counts.end(), 0);
    for (const Item& item : items) ++counts[(item.key >> shift) & kDigitMask];
    std::uint32_t start = 0;
    for (std::uint32_t& count : counts) start += std::exchange(count, start);
    for (const Item& item : items) spare[counts[(item.key >> shift) & kDigitMask]++] = item;
    items.swap(spare);
  }
  std::vector<int> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = items[i].index;
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

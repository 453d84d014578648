#include "chart/chart_series.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "chart/chart_axis.h"
#include "chart/custom_axis_panel.h"
#include "chart/custom_db_chart.h"
#include "platform/exceptions.h"
#include "platform/format.h"

namespace plotvik {

// --- TCustomChartElement ---

TCustomChartElement::TCustomChartElement(std::string name)
    : TComponent(std::move(name)),
      pen_(std::make_unique<TChartPen>()),
      brush_(std::make_unique<TChartBrush>()) {
  pen_->OnChange = [this] { Repaint(); };
  brush_->OnChange = [this] { Repaint(); };
}

TCustomChartElement::~TCustomChartElement() = default;

void TCustomChartElement::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  Repaint();
}

void TCustomChartElement::SetParentChart(TCustomAxisPanel* chart) {
  parentChart_ = chart;
}

void TCustomChartElement::Repaint() const {
  if (parentChart_ != nullptr) parentChart_->Repaint();
}

// --- TCustomChartSeries ---

void TCustomChartSeries::SetShowInLegend(bool show) {
  if (showInLegend_ == show) return;
  showInLegend_ = show;
  Repaint();
}

void TCustomChartSeries::SetTitle(std::string title) {
  if (title_ == title) return;
  title_ = std::move(title);
  Repaint();
}

// --- TChartSeries ---

namespace {

std::uint64_t NextSerial() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

TChartSeries::TChartSeries(std::string name)
    : TCustomChartSeries(std::move(name)), serial_(NextSerial()) {
  valueLists_.push_back(std::make_unique<TChartValueList>(this, "X"));
  valueLists_.push_back(std::make_unique<TChartValueList>(this, "Y"));
  XValues().SetOrder(TChartListOrder::loAscending);
  labels_.reserve(1000);
}

TChartSeries::~TChartSeries() {
  MarkDestroying();
  ClearLists();
  if (parentChart_ != nullptr) {
    TCustomAxisPanel* chart = parentChart_;
    parentChart_ = nullptr;
    RemoveFreeNotification(*chart);
    chart->RemoveSeries(*this);
  }
}

TChartValueList* TChartSeries::ValueListByName(const std::string& name) const {
  for (const auto& list : valueLists_) {
    if (list->Name() == name) return list.get();
  }
  return nullptr;
}

std::string TChartSeries::PointLabel(int index) const {
  if (index >= 0 && index < static_cast<int>(labels_.size())) return labels_[index];
  return {};
}

TColor TChartSeries::PointColor(int index) const {
  Place();
  if (colors_ != nullptr && index >= 0 && index < static_cast<int>(colors_->size())) {
    const TColor c = (*colors_)[index];
    if (c != clDefault) return c;
  }
  if (colorEachPoint_) return GetDefaultColor(index);
  return seriesColor_;
}

void TChartSeries::SetSeriesColor(TColor color) {
  if (seriesColor_ == color) return;
  seriesColor_ = color;
  Repaint();
}

void TChartSeries::SetColorEachPoint(bool value) {
  if (colorEachPoint_ == value) return;
  colorEachPoint_ = value;
  Repaint();
}

// --- axes ---

void TChartSeries::SetHorizAxis(THorizAxis axis) {
  if (horizAxis_ == axis) return;
  horizAxis_ = axis;
  ResolveAxes();
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis axis) {
  if (vertAxis_ == axis) return;
  vertAxis_ = axis;
  ResolveAxes();
  Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* axis) {
  if (customHorizAxis_ == axis) return;
  customHorizAxis_ = axis;
  ResolveAxes();
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* axis) {
  if (customVertAxis_ == axis) return;
  customVertAxis_ = axis;
  ResolveAxes();
  Repaint();
}

void TChartSeries::ResolveAxes() {
  if (parentChart_ == nullptr) {
    resolvedHorizAxis_ = resolvedVertAxis_ = nullptr;
    return;
  }
  TCustomAxisPanel& chart = *parentChart_;
  switch (horizAxis_) {
    case THorizAxis::aTopAxis:
      resolvedHorizAxis_ = &chart.TopAxis();
      break;
    case THorizAxis::aCustomHorizAxis:
      resolvedHorizAxis_ = customHorizAxis_;
      break;
    default:
      resolvedHorizAxis_ = &chart.BottomAxis();
      break;
  }
  switch (vertAxis_) {
    case TVertAxis::aRightAxis:
      resolvedVertAxis_ = &chart.RightAxis();
      break;
    case TVertAxis::aCustomVertAxis:
      resolvedVertAxis_ = customVertAxis_;
      break;
    default:
      resolvedVertAxis_ = &chart.LeftAxis();
      break;
  }
}

bool TChartSeries::AssociatedToAxis(const TChartAxis& axis) const {
  if (axis.Horizontal()) {
    return horizAxis_ == THorizAxis::aBothHorizAxis || &axis == resolvedHorizAxis_;
  }
  return vertAxis_ == TVertAxis::aBothVertAxis || &axis == resolvedVertAxis_;
}

void TChartSeries::SetParentChart(TCustomAxisPanel* chart) {
  if (parentChart_ == chart) return;
  if (parentChart_ != nullptr) {
    TCustomAxisPanel* old = parentChart_;
    parentChart_ = nullptr;
    RemoveFreeNotification(*old);
    old->RemoveSeries(*this);
    old->Repaint();
  }
  parentChart_ = chart;
  ResolveAxes();
  if (chart == nullptr) return;
  // The chart may be destroyed before us (both belong to the form); we must then forget it.
  FreeNotification(*chart);
  chart->AddSeries(*this);
  if (!Loading()) CheckDataSource();
}

// --- data binding ---

void TChartSeries::SetDataSource(TComponent* source) {
  if (dataSource_ == source) return;
  if (dataSource_ != nullptr) RemoveFreeNotification(*dataSource_);
  dataSource_ = source;
  if (source != nullptr) FreeNotification(*source);
  if (!Loading()) CheckDataSource();
}

void TChartSeries::SetXLabelsSource(std::string field) {
  if (xLabelsSource_ == field) return;
  xLabelsSource_ = std::move(field);
  CheckDataSource();
}

void TChartSeries::SetColorSource(std::string field) {
  if (colorSource_ == field) return;
  colorSource_ = std::move(field);
  CheckDataSource();
}

void TChartSeries::SetValueFormat(std::string format) {
  if (valueFormat_ == format) return;
  valueFormat_ = std::move(format);
  Repaint();
}

void TChartSeries::SetPercentFormat(std::string format) {
  if (percentFormat_ == format) return;
  percentFormat_ = std::move(format);
  Repaint();
}

void TChartSeries::CheckDataSource() {
  // While loading, the form has not yet set everything the binding needs; Loaded checks then.
  if (parentChart_ == nullptr || Loading()) return;
  // Only a data-bound chart knows tables; a plain chart has nothing to check.
  if (auto* dbChart = dynamic_cast<TCustomDBChart*>(parentChart_)) dbChart->CheckDatasource(*this);
}

void TChartSeries::Loaded() {
  TCustomChartSeries::Loaded();
  CheckDataSource();
}

void TChartSeries::Notification(TComponent& component, TOperation operation) {
  TCustomChartSeries::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (&component == dataSource_) dataSource_ = nullptr;
  if (parentChart_ != nullptr && &component == static_cast<TComponent*>(parentChart_)) {
    parentChart_ = nullptr;
    ResolveAxes();
  }
}

// --- adding and removing points ---

int TChartSeries::AddPoint(double x, double y, const std::string& label, TColor color) {
  XValues().SetPendingValue(x);
  YValues().SetPendingValue(y);
  if (OnBeforeAdd && !OnBeforeAdd(*this)) return -1;
  // The points waiting for their places come first; placing them may create the colour list.
  Place();

  // The add of every record of a refill: X in order, no third list, no label, no colour. Only
  // the two values need storing; the general path below would find the same index and do
  // nothing else with it.
  TChartValueList& xs = XValues();
  if (valueLists_.size() == 2 && colors_ == nullptr && color == clDefault && label.empty() &&
      labels_.empty() && xs.TakesAtEnd(x)) {
    const int index = xs.ValueCount();
    xs.Append(x);
    YValues().Append(y);
    NotifyNewValue(index);
    return index;
  }
  return InsertPoint(x, y, label, color);
}

// Kept apart from AddPoint so that the append path above stays small: a refill takes it for
// every record, and the saving and restoring this path's bulk would need costs it time.
int TChartSeries::InsertPoint(double x, double y, const std::string& label, TColor color) {
  const int index = StorePoint(x, y, label, color);
  NotifyNewValue(index);
  return index;
}

int TChartSeries::StorePoint(double x, double y, const std::string& label, TColor color) {
  const int index = XValues().AddOrdered(x);
  YValues().InsertAt(index, y);
  for (size_t k = 2; k < valueLists_.size(); ++k) {
    valueLists_[k]->InsertAt(index, valueLists_[k]->PendingValue());
  }

  if (colors_ != nullptr) {
    // The list may be shorter than the point count only if a failed add left it so.
    if (static_cast<int>(colors_->size()) < index) colors_->resize(index, clDefault);
    colors_->insert(colors_->begin() + index, color);
  } else if (color != clDefault) {
    colors_ = std::make_unique<std::vector<TColor>>(PointCount(), clDefault);
    (*colors_)[index] = color;
  }

  if (!label.empty()) {
    if (static_cast<int>(labels_.size()) < index) labels_.resize(index);
    labels_.insert(labels_.begin() + index, label);
  } else if (!labels_.empty() && index <= static_cast<int>(labels_.size())) {
    labels_.insert(labels_.begin() + index, std::string());
  }
  return index;
}

void TChartSeries::AddPointUnplaced(double x, double y, TColor color) {
  if (OnBeforeAdd || OnAfterAdd || valueLists_.size() != 2 || !labels_.empty()) {
    AddPoint(x, y, {}, color);
    return;
  }
  TChartValueList& xs = XValues();
  TChartValueList& ys = YValues();
  xs.pendingValue_ = x;
  ys.pendingValue_ = y;
  if (unplaced_.x.empty()) {
    // In order and plain: its place is the end, as cheap to take now as later.
    if (colors_ == nullptr && color == clDefault && xs.TakesAtEnd(x)) {
      xs.Append(x);
      ys.Append(y);
      NotifyNewValue(xs.count_ - 1);
      return;
    }
    xs.unplaced_ = ys.unplaced_ = true;
  }
  unplaced_.x.push_back(x);
  unplaced_.y.push_back(y);
  unplaced_.color.push_back(color);
  ++xs.changes_;
  // Nobody listens for the index (OnAfterAdd is unassigned); only the repaint request is owed.
  NotifyNewValue(-1);
}

TChartSeries::TChangeStamp TChartSeries::ChangeStamp() const {
  std::uint64_t changes = 0;
  for (const auto& list : valueLists_) changes += list->ChangeCount();
  return {serial_, changes};
}

void TChartSeries::PlacePoints() const {
  auto& self = const_cast<TChartSeries&>(*this);
  std::vector<std::uint64_t> changes;
  for (auto& list : self.valueLists_) {
    list->unplaced_ = false;
    changes.push_back(list->changes_);
  }
  if (!self.PlaceByMerge()) {
    const TUnplaced points = std::move(self.unplaced_);
    self.unplaced_ = {};
    self.PlaceOneByOne(points);
  }
  self.unplaced_ = {};
  // The points were added when AddPointUnplaced ran; placing them is no change.
  for (size_t k = 0; k < changes.size(); ++k) self.valueLists_[k]->changes_ = changes[k];
}

namespace {

// The positions of the values in the order of a stable sort, ascending or descending: equal
// values (0 and -0 among them) keep their order. A radix sort on the values' bits, made to
// sort as the numbers do, is linear in the count; the values must not be NaN.
std::vector<int> StableOrder(const std::vector<double>& values, bool descending) {
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

// What one ordered insert after another leaves, for lists kept sorted by a strict weak order:
// every new point lands after the old points its X does not precede, and after the new points
// before it with an equal X: a stable sort of the new points merged behind equal old ones.
// Refuses (false, nothing changed) where that does not hold: a NaN anywhere (it is no order),
// old values not sorted (someone set them by hand), a colour list out of step with the points.
bool TChartSeries::PlaceByMerge() {
  TChartValueList& xs = *valueLists_[0];
  TChartValueList& ys = *valueLists_[1];
  const std::vector<double>& nx = unplaced_.x;
  const std::vector<double>& ny = unplaced_.y;
  const std::vector<TColor>& nc = unplaced_.color;
  const int n = xs.count_;
  const auto m = static_cast<int>(nx.size());
  if (ys.count_ != n) return false;
  if (colors_ != nullptr && static_cast<int>(colors_->size()) != n) return false;
  const TChartListOrder order = xs.order_;
  // An insert scans back over the values its new value precedes.
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
  const double* old = xs.values_.get();
  if (order != TChartListOrder::loNone) {
    for (int i = 0; i < n; ++i) {
      if (std::isnan(old[i]) || (i > 0 && precedes(old[i], old[i - 1]))) return false;
    }
    for (double v : nx) {
      if (std::isnan(v)) return false;
    }
  }
  std::vector<int> sorted;
  if (order == TChartListOrder::loNone ||
      std::is_sorted(nx.begin(), nx.end(), [&](double a, double b) { return precedes(a, b); })) {
    sorted.resize(static_cast<size_t>(m));
    std::iota(sorted.begin(), sorted.end(), 0);
  } else {
    sorted = StableOrder(nx, order == TChartListOrder::loDescending);
  }

  const int count = n + m;
  int capacity = xs.capacity_;
  if (count > capacity) {
    const long long steps =
        (static_cast<long long>(count) - capacity + TChartValueList::kGrowthStep - 1) /
        TChartValueList::kGrowthStep;
    const long long grown = capacity + steps * TChartValueList::kGrowthStep;
    if (grown > std::numeric_limits<int>::max()) throw EOutOfMemory();
    capacity = static_cast<int>(grown);
  }
  const bool anyColor = colors_ != nullptr ||
                        std::any_of(nc.begin(), nc.end(), [](TColor c) { return c != clDefault; });
  auto mx = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(capacity));
  auto my = std::make_unique_for_overwrite<double[]>(static_cast<size_t>(capacity));
  std::vector<TColor> mc;
  if (anyColor) mc.resize(static_cast<size_t>(count));
  const double* oy = ys.values_.get();
  int i = 0;
  int j = 0;
  for (int k = 0; k < count; ++k) {
    // An old value goes first unless the new one precedes it.
    if (j == m || (i < n && !precedes(nx[sorted[j]], old[i]))) {
      mx[k] = old[i];
      my[k] = oy[i];
      if (anyColor) mc[k] = colors_ != nullptr ? (*colors_)[i] : clDefault;
      ++i;
    } else {
      const int p = sorted[j++];
      mx[k] = nx[p];
      my[k] = ny[p];
      if (anyColor) mc[k] = nc[p];
    }
  }
  for (TChartValueList* list : {&xs, &ys}) {
    list->count_ = count;
    list->capacity_ = capacity;
    list->allocated_ = capacity;
    list->statsStale_ = true;
  }
  xs.values_ = std::move(mx);
  ys.values_ = std::move(my);
  if (anyColor) colors_ = std::make_unique<std::vector<TColor>>(std::move(mc));
  return true;
}

void TChartSeries::PlaceOneByOne(const TUnplaced& points) {
  for (size_t k = 0; k < points.x.size(); ++k) {
    StorePoint(points.x[k], points.y[k], std::string(), points.color[k]);
  }
}

void TChartSeries::DropUnplaced() {
  for (auto& list : valueLists_) list->unplaced_ = false;
  unplaced_ = {};
}

int TChartSeries::AddAtNextX(double y, const std::string& label, TColor color) {
  return AddPoint(PointCount(), y, label, color);
}

int TChartSeries::AddNull(const std::string& label) {
  return AddAtNextX(0.0, label, clNone);
}

int TChartSeries::AddNullXY(double x, const std::string& label) {
  return AddPoint(x, 0.0, label, clNone);
}

void TChartSeries::NotifyNewValue(int index) {
  if (OnAfterAdd) OnAfterAdd(*this, index);
  if (!Active()) return;
  if (repaintHolds_ > 0) {
    repaintOwed_ = true;
    return;
  }
  Repaint();
}

void TChartSeries::ReleaseRepaints() {
  if (repaintHolds_ == 0 || --repaintHolds_ > 0) return;
  if (!repaintOwed_) return;
  repaintOwed_ = false;
  if (Active()) Repaint();
}

void TChartSeries::ClearLists() {
  DropUnplaced();
  for (auto& list : valueLists_) list->RemoveAll();
  colors_.reset();
  labels_.clear();
  labels_.shrink_to_fit();
  labels_.reserve(1000);
}

void TChartSeries::ClearPoints() {
  ClearLists();
  if (OnClearValues) OnClearValues(*this);
  if (Active() && parentChart_ != nullptr && !parentChart_->Destroying()) Repaint();
}

void TChartSeries::DeletePoint(int index) {
  if (index < 0 || index >= PointCount()) {
    throw ChartException(
        Format("Series Delete: ValueIndex %d out of bounds (0 to %d).", {index, PointCount() - 1}));
  }
  for (auto& list : valueLists_) list->RemoveAt(index);
  if (colors_ != nullptr && index < static_cast<int>(colors_->size())) {
    colors_->erase(colors_->begin() + index);
  }
  if (index < static_cast<int>(labels_.size())) labels_.erase(labels_.begin() + index);
  if (Active()) Repaint();
}

void TChartSeries::ApplyMandatoryOrder() {
  TChartValueList& mandatory = MandatoryValueList();
  if (mandatory.Order() == TChartListOrder::loNone) return;
  const int n = PointCount();
  std::vector<int> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  const bool ascending = mandatory.Order() == TChartListOrder::loAscending;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return ascending ? mandatory.Value(a) < mandatory.Value(b)
                     : mandatory.Value(a) > mandatory.Value(b);
  });
  // Moves whole points: every list, the colour and the label of a point travel together.
  std::vector<double> column(static_cast<size_t>(n));
  for (auto& list : valueLists_) {
    for (int i = 0; i < n; ++i) column[i] = list->Value(order[i]);
    for (int i = 0; i < n; ++i) list->SetValue(i, column[i]);
  }
  if (colors_ != nullptr) {
    colors_->resize(n, clDefault);
    std::vector<TColor> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) sorted[i] = (*colors_)[order[i]];
    *colors_ = std::move(sorted);
  }
  if (!labels_.empty()) {
    labels_.resize(n);
    std::vector<std::string> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) sorted[i] = std::move(labels_[order[i]]);
    labels_ = std::move(sorted);
  }
  TChartValueList& other = NotMandatoryValueList();
  for (int i = 0; i < n; ++i) other.SetValue(i, i);
  Repaint();
}

void TChartSeries::RefreshSeries() {
  // No series takes its values from another one and no chart listener exists yet, so there is
  // nobody to tell.
}

// --- painting ---

int TChartSeries::PointX(int index) const {
  return resolvedHorizAxis_ != nullptr ? resolvedHorizAxis_->PosOfValue(XValue(index)) : 0;
}

int TChartSeries::PointY(int index) const {
  return resolvedVertAxis_ != nullptr ? resolvedVertAxis_->PosOfValue(YValue(index)) : 0;
}

void TChartSeries::ComputeVisibleRange() {
  firstVisible_ = -1;
  lastVisible_ = -1;
  const int n = PointCount();
  if (n == 0) return;
  const TChartValueList& x = XValues();
  if (x.Order() == TChartListOrder::loNone || resolvedHorizAxis_ == nullptr ||
      parentChart_ == nullptr) {
    firstVisible_ = 0;
    lastVisible_ = n - 1;
    return;
  }
  const TChartAxis& axis = *resolvedHorizAxis_;
  const auto& rect = parentChart_->ChartRect();
  const double low = axis.ValueOfPos(axis.Inverted() ? rect.Right : rect.Left);
  int first = 0;
  while (first < n && x.Value(first) < low) ++first;
  if (first == n) return;
  firstVisible_ = first;

  const double high = axis.ValueOfPos(axis.Inverted() ? rect.Left : rect.Right);
  if (x.Value(n - 1) <= high) {
    lastVisible_ = n - 1;
    return;
  }
  int last = first;
  while (last < n && x.Value(last) < high) ++last;
  // The last value is above high, so the scan stops inside the list.
  if (!DrawBetweenPoints() && x.Value(last) > high) --last;
  lastVisible_ = last;
}

void TChartSeries::DrawAllValues() {
  if (lastVisible_ < firstVisible_ || firstVisible_ < 0) return;
  for (int i = firstVisible_; i <= lastVisible_; ++i) DrawValue(i);
}

void TChartSeries::DrawValue(int) {}

void TChartSeries::CalcHorizMargins(int& left, int& right) const {
  left = right = 0;
}

void TChartSeries::CalcVertMargins(int& top, int& bottom) const {
  top = bottom = 0;
}

void TChartSeries::DoBeforeDrawValues() {
  if (BeforeDrawValues) BeforeDrawValues(*this);
}

void TChartSeries::DoAfterDrawValues() {
  if (AfterDrawValues) AfterDrawValues(*this);
}

int TChartSeries::Clicked(int, int) const {
  return -1;
}

}  // namespace plotvik

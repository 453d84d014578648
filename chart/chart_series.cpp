#include "chart/chart_series.h"

#include <algorithm>
#include <numeric>
#include <span>
#include <utility>

#include "chart/chart_axis.h"
#include "chart/chart_palette.h"
#include "chart/custom_chart_panel.h"
#include "platform/exceptions.h"
#include "platform/format.h"

namespace plotvik {

TChartSeries::TChartSeries(std::string name) : TCustomChartSeries(std::move(name)) {
  TChartValueListOwner* owner = this;
  valueLists_.push_back(std::make_unique<TChartValueList>(owner, "X"));
  valueLists_.push_back(std::make_unique<TChartValueList>(owner, "Y"));
  XValues().SetOrder(TChartListOrder::loAscending);
  labels_.reserve(1000);
}

TChartSeries::~TChartSeries() {
  MarkDestroying();
  ClearLists();
  if (parentChart_ != nullptr) {
    TCustomChartPanel* chart = parentChart_;
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

void TChartSeries::SetChartAxes(const TChartStandardAxes& axes) {
  chartAxes_ = axes;
  ResolveAxes();
}

void TChartSeries::ResolveAxes() {
  if (parentChart_ == nullptr) {
    resolvedHorizAxis_ = resolvedVertAxis_ = nullptr;
    return;
  }
  switch (horizAxis_) {
    case THorizAxis::aTopAxis:
      resolvedHorizAxis_ = chartAxes_.top;
      break;
    case THorizAxis::aCustomHorizAxis:
      resolvedHorizAxis_ = nullptr;  // no custom axis is ever given
      break;
    default:
      resolvedHorizAxis_ = chartAxes_.bottom;
      break;
  }
  switch (vertAxis_) {
    case TVertAxis::aRightAxis:
      resolvedVertAxis_ = chartAxes_.right;
      break;
    case TVertAxis::aCustomVertAxis:
      resolvedVertAxis_ = nullptr;
      break;
    default:
      resolvedVertAxis_ = chartAxes_.left;
      break;
  }
}

bool TChartSeries::AssociatedToAxis(const TChartAxis& axis) const {
  if (axis.Horizontal()) {
    return horizAxis_ == THorizAxis::aBothHorizAxis || &axis == resolvedHorizAxis_;
  }
  return vertAxis_ == TVertAxis::aBothVertAxis || &axis == resolvedVertAxis_;
}

void TChartSeries::SetParentChart(TCustomChartPanel* chart) {
  if (parentChart_ == chart) return;
  if (parentChart_ != nullptr) {
    TCustomChartPanel* old = parentChart_;
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

void TChartSeries::CheckDataSource() {
  // While loading, the form has not yet set everything the binding needs; Loaded checks then.
  if (parentChart_ == nullptr || Loading()) return;
  parentChart_->CheckDatasource(*this);
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
    chartAxes_ = {};
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

// Kept out of AddPoint: the append path that every record of a refill takes stays small.
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
  xs.SetPendingValue(x);
  ys.SetPendingValue(y);
  if (unplaced_.Empty()) {
    // In order and plain: its place is the end, as cheap to take now as later.
    if (colors_ == nullptr && color == clDefault && xs.TakesAtEnd(x)) {
      xs.Append(x);
      ys.Append(y);
      NotifyNewValue(xs.ValueCount() - 1);
      return;
    }
    xs.SetUnplaced(true);
    ys.SetUnplaced(true);
  }
  unplaced_.Append(x, y, color);
  ++unplacedAdds_;
  // Nobody listens for the index (OnAfterAdd is unassigned); only the repaint request is owed.
  NotifyNewValue(-1);
}

std::uint64_t TChartSeries::ChangeStamp() const {
  std::uint64_t changes = unplacedAdds_;
  for (const auto& list : valueLists_) changes += list->ChangeCount();
  return changes;
}

void TChartSeries::PlacePoints() const {
  auto& self = const_cast<TChartSeries&>(*this);
  const TSeriesPoints points = std::exchange(self.unplaced_, {});
  for (auto& list : self.valueLists_) list->SetUnplaced(false);
  TChartValueList& xs = XValues();
  TChartValueList& ys = YValues();
  const int count = xs.ValueCount() + points.Count();
  const int capacity = xs.CapacityFor(count);
  if (auto merged =
          points.MergeBehind(xs.Order(), xs.Values(), ys.Values(), colors_.get(), capacity)) {
    xs.TakePlaced(std::move(merged->x), count, capacity);
    ys.TakePlaced(std::move(merged->y), count, capacity);
    if (!merged->colors.empty()) {
      self.colors_ = std::make_unique<std::vector<TColor>>(std::move(merged->colors));
    }
    return;
  }
  for (int k = 0; k < points.Count(); ++k) {
    self.StorePoint(points.X(k), points.Y(k), std::string(), points.Color(k));
  }
}

void TChartSeries::DropUnplaced() {
  for (auto& list : valueLists_) list->SetUnplaced(false);
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
  // Read straight from the storage: a zoom near the end of a long list scans most of it.
  const std::span<const double> xs = x.Values();
  int first = 0;
  while (first < n && xs[first] < low) ++first;
  if (first == n) return;
  firstVisible_ = first;

  const double high = axis.ValueOfPos(axis.Inverted() ? rect.Left : rect.Right);
  if (xs[n - 1] <= high) {
    lastVisible_ = n - 1;
    return;
  }
  int last = first;
  while (last < n && xs[last] < high) ++last;
  // The last value is above high, so the scan stops inside the list.
  if (!DrawBetweenPoints() && xs[last] > high) --last;
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

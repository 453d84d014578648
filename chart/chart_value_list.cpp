#include "chart/chart_value_list.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "chart/chart_series.h"
#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/invariant.h"

namespace plotvik {

TChartValueList::TChartValueList(TChartSeries* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

TChartValueList::~TChartValueList() = default;

void TChartValueList::SetDateTime(bool dateTime) {
  if (dateTime_ == dateTime) return;
  dateTime_ = dateTime;
  if (owner_ != nullptr) owner_->Repaint();
}

void TChartValueList::SetValueSource(std::string valueSource) {
  if (valueSource_ == valueSource) return;
  valueSource_ = std::move(valueSource);
  if (owner_ != nullptr) owner_->CheckDataSource();
}

void TChartValueList::PlaceOwnerPoints() const {
  owner_->PlacePoints();
}

void TChartValueList::Assign(const TChartValueList& source) {
  Place();
  source.Place();
  ++changes_;
  order_ = source.order_;
  dateTime_ = source.dateTime_;
  valueSource_ = source.valueSource_;
}

void TChartValueList::IndexError(int index) {
  throw EListError(Format("List index out of bounds (%d)", {index}));
}

int TChartValueList::CapacityFor(int count) const {
  if (count <= capacity_) return capacity_;
  const long long steps =
      (static_cast<long long>(count) - capacity_ + kGrowthStep - 1) / kGrowthStep;
  const long long grown = capacity_ + steps * kGrowthStep;
  if (grown > std::numeric_limits<int>::max()) throw EOutOfMemory();
  return static_cast<int>(grown);
}

void TChartValueList::TakePlaced(std::unique_ptr<double[]> values, int count, int capacity) {
  PLOTVIK_ASSERT(count >= 0 && count <= capacity);
  values_ = std::move(values);
  count_ = count;
  capacity_ = capacity;
  allocated_ = capacity;
  statsStale_ = true;
}

void TChartValueList::Grow() {
  if (capacity_ > std::numeric_limits<int>::max() - kGrowthStep) throw EOutOfMemory();
  const int capacity = capacity_ + kGrowthStep;
  if (capacity > allocated_) {
    // The storage doubles beneath the steps, so that appends copy each value a bounded number
    // of times.
    const int allocated = static_cast<int>(std::min<long long>(
        std::numeric_limits<int>::max(), std::max<long long>(capacity, 2LL * allocated_)));
    auto grown = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(allocated));
    std::copy_n(values_.get(), count_, grown.get());
    values_ = std::move(grown);
    allocated_ = allocated;
  }
  capacity_ = capacity;
}

int TChartValueList::AddOrdered(double value) {
  Place();
  int index = count_;
  if (count_ > 0) {
    // Scanning back from the end makes the common case, values arriving in order, an append.
    if (order_ == TChartListOrder::loAscending && value < values_[count_ - 1]) {
      int t = count_ - 1;
      while (t >= 0 && values_[t] > value) --t;
      index = t + 1;
    } else if (order_ == TChartListOrder::loDescending && value > values_[count_ - 1]) {
      int t = count_ - 1;
      while (t >= 0 && values_[t] < value) --t;
      index = t + 1;
    }
  }
  InsertAt(index, value);
  return index;
}

void TChartValueList::RemoveAll() {
  Place();
  ++changes_;
  values_.reset();
  count_ = 0;
  capacity_ = 0;
  allocated_ = 0;
  statsStale_ = true;
}

void TChartValueList::InsertAt(int index, double value) {
  Place();
  ++changes_;
  CheckIndex(index, count_ + 1);
  MakeRoomForOne();
  double* data = values_.get();
  // Appending is what a refill does for every record: skip the (empty) move.
  if (index < count_) std::copy_backward(data + index, data + count_, data + count_ + 1);
  data[index] = value;
  ++count_;
  statsStale_ = true;
}

void TChartValueList::RemoveAt(int index) {
  Place();
  ++changes_;
  CheckIndex(index, count_);
  double* data = values_.get();
  std::copy(data + index + 1, data + count_, data + index);
  --count_;
  statsStale_ = true;
}

void TChartValueList::SetValue(int index, double value) {
  Place();
  ++changes_;
  CheckIndex(index, count_);
  values_[index] = value;
  statsStale_ = true;
}

void TChartValueList::Exchange(int a, int b) {
  Place();
  ++changes_;
  CheckIndex(a, count_);
  CheckIndex(b, count_);
  std::swap(values_[a], values_[b]);
  statsStale_ = true;
}

void TChartValueList::RecalcStats() const {
  Place();
  if (!statsStale_) return;
  if (count_ == 0) {
    lowest_ = highest_ = sum_ = absSum_ = 0.0;
  } else {
    lowest_ = highest_ = sum_ = values_[0];
    absSum_ = std::fabs(values_[0]);
    for (int i = 1; i < count_; ++i) {
      const double v = values_[i];
      if (v < lowest_) {
        lowest_ = v;
      } else if (v > highest_) {
        highest_ = v;
      }
      sum_ += v;
      absSum_ += std::fabs(v);
    }
  }
  statsStale_ = false;
}

double TChartValueList::Lowest() const {
  RecalcStats();
  return lowest_;
}

double TChartValueList::Highest() const {
  RecalcStats();
  return highest_;
}

double TChartValueList::Sum() const {
  RecalcStats();
  return sum_;
}

double TChartValueList::AbsSum() const {
  RecalcStats();
  return absSum_;
}

}  // namespace plotvik

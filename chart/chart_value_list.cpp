#include "chart/chart_value_list.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/invariant.h"

namespace plotvik {

TChartValueList::TChartValueList(TChartValueListOwner* owner, std::string name)
    : owner_(owner), name_(std::move(name)) {}

TChartValueList::~TChartValueList() = default;

void TChartValueList::SetDateTime(bool dateTime) {
  if (dateTime_ == dateTime) return;
  dateTime_ = dateTime;
  if (owner_ != nullptr) owner_->ValueListDisplayChanged();
}

void TChartValueList::SetValueSource(std::string valueSource) {
  if (valueSource_ == valueSource) return;
  valueSource_ = std::move(valueSource);
  if (owner_ != nullptr) owner_->ValueListSourceChanged();
}

void TChartValueList::PlaceOwnerPoints() const {
  owner_->PlaceValueListPoints();
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
  storage_ = std::make_shared<TStorage>();
  storage_->data = std::move(values);
  storage_->allocated = capacity;
  storage_->filled = count;
  count_ = count;
  capacity_ = capacity;
  statsStale_ = true;
}

std::weak_ptr<TValueListStorage>& TValueListShare::Offered(const std::string& field) {
  for (auto& offer : offers_) {
    if (offer.first == field) return offer.second;
  }
  return offers_.emplace_back(field, std::weak_ptr<TValueListStorage>()).second;
}

void TChartValueList::Reserve(int allocated) {
  if (!storage_) {
    if (valueSource_.empty() || share_ == nullptr) {
      storage_ = std::make_shared<TStorage>();
    } else {
      std::weak_ptr<TStorage>& offered = share_->Offered(valueSource_);
      std::shared_ptr<TStorage> other = offered.lock();
      if (other && other->filled > 0) {
        storage_ = std::move(other);
      } else {
        storage_ = std::make_shared<TStorage>();
        offered = storage_;
      }
    }
  }
  TStorage& st = *storage_;
  if (allocated <= st.allocated) return;
  // The storage doubles beneath the steps, so that appends copy each value a bounded number
  // of times.
  const int size = static_cast<int>(std::min<long long>(
      std::numeric_limits<int>::max(), std::max<long long>(allocated, 2LL * st.allocated)));
  auto grown = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(size));
  std::copy_n(st.data.get(), st.filled, grown.get());
  st.data = std::move(grown);
  st.allocated = size;
}

void TChartValueList::OwnStorage() {
  if (!storage_ || storage_.use_count() == 1) return;
  auto own = std::make_shared<TStorage>();
  own->allocated = capacity_;
  own->data = std::make_unique_for_overwrite<double[]>(static_cast<std::size_t>(capacity_));
  std::copy_n(storage_->data.get(), count_, own->data.get());
  own->filled = count_;
  storage_ = std::move(own);
}

void TChartValueList::Grow() {
  if (capacity_ > std::numeric_limits<int>::max() - kGrowthStep) throw EOutOfMemory();
  const int capacity = capacity_ + kGrowthStep;
  Reserve(capacity);
  capacity_ = capacity;
}

int TChartValueList::AddOrdered(double value) {
  Place();
  int index = count_;
  if (count_ > 0) {
    // Scanning back from the end makes the common case, values arriving in order, an append.
    const double* values = storage_->data.get();
    if (order_ == TChartListOrder::loAscending && value < values[count_ - 1]) {
      int t = count_ - 1;
      while (t >= 0 && values[t] > value) --t;
      index = t + 1;
    } else if (order_ == TChartListOrder::loDescending && value > values[count_ - 1]) {
      int t = count_ - 1;
      while (t >= 0 && values[t] < value) --t;
      index = t + 1;
    }
  }
  InsertAt(index, value);
  return index;
}

void TChartValueList::RemoveAll() {
  Place();
  ++changes_;
  storage_.reset();
  count_ = 0;
  capacity_ = 0;
  statsStale_ = true;
}

void TChartValueList::InsertAt(int index, double value) {
  Place();
  ++changes_;
  CheckIndex(index, count_ + 1);
  MakeRoomForOne();
  statsStale_ = true;
  // Appending is what a refill does for every record.
  if (index == count_) {
    StoreLast(value);
    return;
  }
  OwnStorage();
  double* data = storage_->data.get();
  std::copy_backward(data + index, data + count_, data + count_ + 1);
  data[index] = value;
  ++count_;
  storage_->filled = count_;
}

void TChartValueList::RemoveAt(int index) {
  Place();
  ++changes_;
  CheckIndex(index, count_);
  OwnStorage();
  double* data = storage_->data.get();
  std::copy(data + index + 1, data + count_, data + index);
  --count_;
  storage_->filled = count_;
  statsStale_ = true;
}

void TChartValueList::SetValue(int index, double value) {
  Place();
  ++changes_;
  CheckIndex(index, count_);
  OwnStorage();
  storage_->data[index] = value;
  statsStale_ = true;
}

void TChartValueList::Exchange(int a, int b) {
  Place();
  ++changes_;
  CheckIndex(a, count_);
  CheckIndex(b, count_);
  OwnStorage();
  std::swap(storage_->data[a], storage_->data[b]);
  statsStale_ = true;
}

void TChartValueList::RecalcStats() const {
  Place();
  if (!statsStale_) return;
  if (count_ == 0) {
    lowest_ = highest_ = sum_ = absSum_ = 0.0;
  } else {
    const double* values = storage_->data.get();
    lowest_ = highest_ = sum_ = values[0];
    absSum_ = std::fabs(values[0]);
    for (int i = 1; i < count_; ++i) {
      const double v = values[i];
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

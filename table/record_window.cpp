#include "table/record_window.h"

#include <algorithm>
#include <utility>

#include "platform/invariant.h"
#include "platform/scope_guard.h"

namespace plotvik {

void TRecordWindow::Resize(int capacity, const TAllocate& allocate, const TFree& free) {
  PLOTVIK_ASSERT(capacity >= 0);
  if (capacity == capacity_) return;
  if (capacity == 0) {
    for (TRecordBuffer& slot : slots_) free(slot);
    slots_.clear();
    capacity_ = 0;
    Clear();
    return;
  }
  const auto wanted = static_cast<size_t>(capacity) + 1;
  // Allocated before anything changes, so that a failing allocation leaves the window as it was.
  std::vector<TRecordBuffer> added;
  TScopeGuard freeAdded([&] {
    for (TRecordBuffer& slot : added) free(slot);
  });
  while (slots_.size() + added.size() < wanted) added.push_back(allocate());
  freeAdded.Dismiss();
  if (capacity < count_) {
    const int drop = std::max(0, active_ - (capacity - 1));
    std::rotate(slots_.begin(), slots_.begin() + drop, slots_.end());
    active_ -= drop;
    count_ = capacity;
    current_ = -1;
  }
  while (slots_.size() > wanted) {
    free(slots_.back());
    slots_.pop_back();
  }
  for (TRecordBuffer& slot : added) slots_.push_back(std::move(slot));
  capacity_ = capacity;
  CheckRules();
}

void TRecordWindow::AcceptPrior() {
  std::rotate(slots_.rbegin(), slots_.rbegin() + 1, slots_.rend());
  if (count_ == 0) {
    StartWithFirstSlot();
  } else if (count_ < capacity_) {
    ++count_;
  }
  current_ = 0;
  CheckRules();
}

void TRecordWindow::RestartFromScratch() {
  std::swap(slots_.front(), slots_.back());
  StartWithFirstSlot();
  CheckRules();
}

void TRecordWindow::HoldUnstoredRecord() {
  StartWithFirstSlot();
  current_ = -1;
  CheckRules();
}

}  // namespace plotvik

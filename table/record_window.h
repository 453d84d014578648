#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/invariant.h"

namespace plotvik {

// One record buffer of the cursor's window; allocated, shaped and freed by the concrete dataset.
using TRecordBuffer = std::unique_ptr<std::byte[]>;

// The record buffers a dataset keeps around its cursor, and which of them mean what.
//
// There are Capacity() record slots and one scratch slot behind them. A record fetched after
// the last one lands in NextSlot(), one fetched before the first in Scratch(); Accept... then
// makes it part of the window, dropping a record at the far end when the window is full. While
// the dataset's cursor is closed there are no slots at all.
//
// The rules every operation leaves true (CheckRules states them, and checked builds assert them
// after each change):
//   - no slots and capacity 0, or capacity >= 1 and capacity + 1 slots;
//   - the first Count() slots hold records in store order, 0 <= Count() <= Capacity();
//   - Active() is the active record's slot, below Count(); 0 when the window is empty;
//   - Current() is the slot whose record the store cursor is on, or -1 when that is not known.
class TRecordWindow {
 public:
  using TAllocate = std::function<TRecordBuffer()>;
  using TFree = std::function<void(TRecordBuffer&)>;

  bool HasSlots() const { return !slots_.empty(); }
  int Capacity() const { return capacity_; }
  int Count() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  bool IsFull() const { return count_ == capacity_; }
  int Active() const { return active_; }
  bool HasRecordAfterActive() const { return active_ < count_ - 1; }
  int Current() const { return current_; }

  std::byte* Slot(int index) const;
  // The active record's buffer, nullptr when the window is empty.
  std::byte* ActiveBuffer() const { return count_ > 0 ? Slot(active_) : nullptr; }
  // Where the record after the window's last is fetched: the next free slot, or the scratch
  // slot when the window is full.
  std::byte* NextSlot() const { return Slot(count_ < capacity_ ? count_ : capacity_); }
  // Where the record before the window's first, or any record about to replace the window, is
  // fetched.
  std::byte* Scratch() const { return slots_.back().get(); }

  // Gives the window `capacity` record slots (0: none at all). A smaller window keeps the
  // active record, dropping records before it first; slots beyond the new size are freed.
  void Resize(int capacity, const TAllocate& allocate, const TFree& free);

  // No records; the store cursor is on none of the slots.
  void Clear();
  // The record just fetched into NextSlot() joins the window at its end; a full window drops
  // its first record. The store cursor is on the new last record; Active() keeps its slot.
  void AcceptNext();
  // The record just fetched into Scratch() joins the window at its start; a full window drops
  // its last record into the scratch slot. The store cursor is on slot 0; Active() keeps its
  // slot, so the caller moves it to follow its record.
  void AcceptPrior();
  // The record just fetched into Scratch() becomes the window's only, active record.
  void RestartFromScratch();
  // Slot 0 holds a record that is not stored yet: the window's only, active record, with the
  // store cursor on none of the slots.
  void HoldUnstoredRecord();

  void SetActive(int index);
  void SetCurrent(int index);
  void ForgetCurrent() { current_ = -1; }

  void CheckRules() const;

 private:
  // Slot 0 holds the window's only record, active, with the store cursor on it.
  void StartWithFirstSlot();

  std::vector<TRecordBuffer> slots_;
  int capacity_ = 0;
  int count_ = 0;
  int active_ = 0;
  int current_ = -1;
};

// The window moves once per record of every walk, and a field read goes through Slot: these
// stay inline.

inline std::byte* TRecordWindow::Slot(int index) const {
  PLOTVIK_ASSERT(0 <= index && static_cast<size_t>(index) < slots_.size());
  return slots_[static_cast<size_t>(index)].get();
}

inline void TRecordWindow::StartWithFirstSlot() {
  count_ = 1;
  active_ = 0;
  current_ = 0;
}

inline void TRecordWindow::Clear() {
  count_ = 0;
  active_ = 0;
  current_ = -1;
}

inline void TRecordWindow::AcceptNext() {
  if (count_ == 0) {
    StartWithFirstSlot();
  } else if (count_ < capacity_) {
    ++count_;
  } else if (slots_.size() == 2) {
    std::swap(slots_[0], slots_[1]);  // the one-record window of every walk
  } else {
    std::rotate(slots_.begin(), slots_.begin() + 1, slots_.end());
  }
  current_ = count_ - 1;
  CheckRules();
}

inline void TRecordWindow::SetActive(int index) {
  active_ = index;
  CheckRules();
}

inline void TRecordWindow::SetCurrent(int index) {
  current_ = index;
  CheckRules();
}

inline void TRecordWindow::CheckRules() const {
  PLOTVIK_ASSERT(slots_.empty()
                     ? capacity_ == 0
                     : capacity_ >= 1 && slots_.size() == static_cast<size_t>(capacity_) + 1);
  PLOTVIK_ASSERT(0 <= count_ && count_ <= capacity_);
  PLOTVIK_ASSERT(count_ == 0 ? active_ == 0 : 0 <= active_ && active_ < count_);
  PLOTVIK_ASSERT(-1 <= current_ && current_ < count_);
}

}  // namespace plotvik

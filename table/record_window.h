#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

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

}  // namespace plotvik

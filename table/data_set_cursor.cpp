// The cursor moves and the window of record buffers around the cursor.
#include "table/data_set.h"

#include <algorithm>

#include "table/data_link.h"
#include "table/data_source.h"

namespace plotvik {

// --- the record window ---

int TDataSet::WantedBufferCount() const {
  int count = 1;
  for (const TDataSource* source : dataSources_) {
    for (const TDataLink* link : source->dataLinks_) count = std::max(count, link->BufferCount());
  }
  return count;
}

void TDataSet::UpdateBufferCount() {
  if (!IsCursorOpen() || !window_.HasSlots()) return;
  const int wanted = WantedBufferCount();
  if (wanted == window_.Capacity()) return;
  UpdateCursorPos();
  SetBufferCount(wanted);
  if (!window_.IsEmpty() && !window_.IsFull()) {
    GetNextRecords();
    window_.SetActive(window_.Active() + GetPriorRecords());
  }
}

void TDataSet::SetBufferCount(int count) {
  window_.Resize(
      count, [this] { return AllocRecordBuffer(); },
      [this](TRecordBuffer& buffer) { FreeRecordBuffer(buffer); });
}

void TDataSet::ClearBuffers() {
  window_.Clear();
  bof_ = true;
  eof_ = true;
}

void TDataSet::SetCurrentRecord(int index) {
  if (window_.Current() == index) return;
  const std::byte* buffer = window_.Slot(index);
  switch (GetBookmarkFlag(buffer)) {
    case TBookmarkFlag::bfCurrent:
    case TBookmarkFlag::bfInserted:
      InternalSetToRecord(buffer);
      break;
    case TBookmarkFlag::bfBOF:
      InternalFirst();
      break;
    case TBookmarkFlag::bfEOF:
      InternalLast();
      break;
  }
  window_.SetCurrent(index);
}

void TDataSet::UpdateCursorPos() {
  if (!window_.IsEmpty()) SetCurrentRecord(window_.Active());
}

bool TDataSet::GetNextRecord() {
  const int last = window_.Count() - 1;
  // Tested here too: in a walk the store is still on the last record, so no call per record.
  if (last >= 0 && window_.Current() != last) SetCurrentRecord(last);
  if (GetRecord(window_.NextSlot(), TGetMode::gmNext) != TGetResult::grOK) return false;
  const bool first = window_.IsEmpty();
  window_.AcceptNext();
  if (first) bof_ = eof_ = false;
  return true;
}

bool TDataSet::GetPriorRecord() {
  if (!window_.IsEmpty()) SetCurrentRecord(0);
  if (GetRecord(window_.Scratch(), TGetMode::gmPrior) != TGetResult::grOK) return false;
  const bool first = window_.IsEmpty();
  window_.AcceptPrior();
  if (first) bof_ = eof_ = false;
  return true;
}

int TDataSet::GetNextRecords() {
  int fetched = 0;
  while (!window_.IsFull() && GetNextRecord()) ++fetched;
  return fetched;
}

int TDataSet::GetPriorRecords() {
  int fetched = 0;
  while (!window_.IsFull() && GetPriorRecord()) ++fetched;
  return fetched;
}

// --- cursor ---

void TDataSet::First() {
  CheckBrowseMode();
  DoHook(BeforeScroll);
  ClearBuffers();
  try {
    InternalFirst();
    GetNextRecords();
  } catch (...) {
    bof_ = true;
    DataEvent(DataSetEvent::RecordsReloaded);
    DoHook(AfterScroll);
    throw;
  }
  bof_ = true;
  DataEvent(DataSetEvent::RecordsReloaded);
  DoHook(AfterScroll);
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoHook(BeforeScroll);
  ClearBuffers();
  try {
    InternalLast();
    GetPriorRecords();
  } catch (...) {
    eof_ = true;
    DataEvent(DataSetEvent::RecordsReloaded);
    DoHook(AfterScroll);
    throw;
  }
  if (!window_.IsEmpty()) {
    window_.SetActive(window_.Count() - 1);
    // A walk leaves the store cursor on the window's last record, not its first.
    SetCurrentRecord(window_.Count() - 1);
    bof_ = false;
  } else {
    InternalFirst();  // where a walk of no records leaves the store cursor: before the first
  }
  eof_ = true;
  DataEvent(DataSetEvent::RecordsReloaded);
  DoHook(AfterScroll);
}

void TDataSet::Next() {
  // A walk (controls disabled, browse state) has no edit to finish and nobody to hear the check.
  if (disableCount_ == 0 || state_ != DataSetState::StateBrowse) CheckBrowseMode();
  DoHook(BeforeScroll);
  if (eof_) return;
  bof_ = false;
  eof_ = false;
  const int oldCount = window_.Count();
  int shift = 0;
  auto announce = [&] {
    if (disableCount_ == 0) {
      if (window_.Count() == oldCount) {
        DataEvent(DataSetEvent::CursorMoved, shift);
      } else {
        DataEvent(DataSetEvent::RecordsReloaded);
      }
    }
    DoHook(AfterScroll);
  };
  try {
    if (window_.HasRecordAfterActive()) {
      window_.SetActive(window_.Active() + 1);
    } else {
      const bool wasFull = window_.IsFull();
      if (GetNextRecord()) {
        if (wasFull) shift = -1;
        window_.SetActive(window_.Count() - 1);
      } else {
        eof_ = true;
      }
    }
  } catch (...) {
    announce();
    throw;
  }
  announce();
}

void TDataSet::Resync(TResyncMode mode) {
  // A handler of the operation that ends here may have closed the table: no window to rebuild.
  if (!window_.HasSlots()) return;
  std::byte* scratch = window_.Scratch();
  if (mode.exact) {
    CursorPosChanged();
    if (GetRecord(scratch, TGetMode::gmCurrent) != TGetResult::grOK) {
      DatabaseError("Record not found");
    }
  } else if (GetRecord(scratch, TGetMode::gmCurrent) != TGetResult::grOK &&
             GetRecord(scratch, TGetMode::gmNext) != TGetResult::grOK &&
             GetRecord(scratch, TGetMode::gmPrior) != TGetResult::grOK) {
    ClearBuffers();
    DataEvent(DataSetEvent::RecordsReloaded);
    return;
  }
  const int capacity = window_.Capacity();
  const int offset = mode.center ? (capacity - 1) / 2 : std::min(window_.Active(), capacity - 1);
  window_.RestartFromScratch();
  bof_ = eof_ = false;
  int before = 0;
  while (before < offset && GetPriorRecord()) ++before;
  window_.SetActive(before);
  GetNextRecords();
  DataEvent(DataSetEvent::RecordsReloaded);
}

void TDataSet::Refresh() {
  DoHook(BeforeRefresh);
  CheckBrowseMode();
  UpdateCursorPos();
  Resync({});
  DoHook(AfterRefresh);
}

TBookmark TDataSet::GetBookmark() const {
  TBookmark bookmark;
  const bool open = state_ == DataSetState::StateBrowse || IsEditing();
  if (open && !window_.IsEmpty() && GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfCurrent) {
    bookmark.data_ = GetBookmarkData(ActiveBuffer());
  }
  return bookmark;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.IsNone()) return;
  CheckBrowseMode();
  DoHook(BeforeScroll);
  InternalGotoBookmark(bookmark.data_);
  Resync({.exact = true, .center = true});
  DoHook(AfterScroll);
}

}  // namespace plotvik

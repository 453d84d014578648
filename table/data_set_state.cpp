// Opening, closing and editing: the state changes and the hooks around them.
#include "table/data_set.h"

namespace plotvik {

void TDataSet::SetActive(bool value) {
  if (value == Active()) return;
  ++rewriteCount_;
  if (value) {
    DoBeforeOpen();
    try {
      OpenCursor();
    } catch (...) {
      // Nothing was announced yet: undo what opened and leave the table closed.
      ClearBuffers();
      SetBufferCount(0);
      if (IsCursorOpen()) InternalClose();
      throw;
    }
    SetState(DataSetState::StateBrowse);
    DoAfterOpen();
    if (!IsEmpty()) DoHook(AfterScroll);
  } else {
    // The fields of a dying form close the table: no handler may expect a living form then.
    const bool destroying = ClosingForDestruction();
    if (!destroying) DoBeforeClose();
    SetState(DataSetState::StateInactive);
    CloseCursor();
    if (!destroying) DoHook(AfterClose);
  }
}

void TDataSet::OpenCursor() {
  // Persistent fields only: this dataset never creates fields of its own.
  InternalOpen();
  SetBufferCount(WantedBufferCount());
  ClearBuffers();
  GetNextRecords();
  bof_ = true;
}

void TDataSet::CloseCursor() {
  ClearBuffers();
  SetBufferCount(0);
  if (IsCursorOpen()) InternalClose();
}

void TDataSet::SetState(DataSetState value) {
  if (state_ == value) return;
  state_ = value;
  modified_ = false;
  DataEvent(DataSetEvent::StateChanged);
}

void TDataSet::CheckActive() const {
  if (state_ == DataSetState::StateInactive) {
    DatabaseError("Cannot perform this operation on a closed dataset");
  }
}

void TDataSet::CheckInactive() const {
  if (state_ != DataSetState::StateInactive) {
    DatabaseError("Cannot perform this operation on an open dataset");
  }
}

// --- hooks ---

void TDataSet::DoAfterOpen() {
  DoHook(AfterOpen);
}
void TDataSet::DoAfterPost() {
  DoHook(AfterPost);
}
void TDataSet::DoBeforeClose() {
  DoHook(BeforeClose);
}
void TDataSet::DoBeforeOpen() {
  DoHook(BeforeOpen);
}
void TDataSet::DoBeforePost() {
  DoHook(BeforePost);
}
void TDataSet::DoOnNewRecord() {
  DoHook(OnNewRecord);
}
void TDataSet::DoBeforeInsert() {
  DoHook(BeforeInsert);
}

// --- editing ---

void TDataSet::UpdateRecord() {
  if (!IsEditing()) {
    DatabaseError("Dataset not in edit or insert mode");
  }
  DataEvent(DataSetEvent::RecordUpdate);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(DataSetEvent::BrowseModeCheck);
  if (IsEditing()) {
    UpdateRecord();
    if (modified_) {
      Post();
    } else {
      Cancel();
    }
  }
}

void TDataSet::Append() {
  CheckBrowseMode();
  CheckActive();  // a handler of the browse-mode check may have closed the table
  DoBeforeInsert();
  DoHook(BeforeScroll);
  ClearBuffers();
  std::byte* buffer = window_.Slot(0);
  InternalInitRecord(buffer);
  SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
  // After-last makes it an append: matching the store cursor to it puts the cursor at the end.
  SetBookmarkFlag(buffer, TBookmarkFlag::bfEOF);
  window_.HoldUnstoredRecord();
  bof_ = false;
  GetPriorRecords();
  window_.SetActive(window_.Count() - 1);
  InternalInsert();
  SetState(DataSetState::StateInsert);
  try {
    DoOnNewRecord();
  } catch (...) {
    UpdateCursorPos();
    SetState(DataSetState::StateBrowse);
    Resync({});
    throw;
  }
  modified_ = false;
  DataEvent(DataSetEvent::RecordsReloaded);
  DoHook(AfterInsert);
  DoHook(AfterScroll);
}

void TDataSet::Edit() {
  if (IsEditing()) return;
  if (window_.IsEmpty()) {
    // Nothing to edit on an empty window: a new record is what the caller gets.
    Append();
    return;
  }
  CheckBrowseMode();
  CheckActive();  // handlers of the check may have closed or emptied the table
  if (window_.IsEmpty()) {
    Append();
    return;
  }
  UpdateCursorPos();
  InternalEdit();
  SetState(DataSetState::StateEdit);
  DataEvent(DataSetEvent::RecordReplaced);
}

void TDataSet::InternalPostGuarded() {
  for (;;) {
    try {
      InternalPost();
      return;
    } catch (EDatabaseError& e) {
      if (!OnPostError) throw;
      TDataAction action = TDataAction::daFail;
      OnPostError(*this, e, action);
      if (action == TDataAction::daFail) throw;
      if (action == TDataAction::daAbort) throw EAbort();
    }
  }
}

void TDataSet::Post() {
  UpdateRecord();
  if (!IsEditing()) return;
  DataEvent(DataSetEvent::BrowseModeCheck);
  DoBeforePost();
  UpdateCursorPos();
  // Only an appended record leaves the records before it as they were.
  const bool appends = state_ == DataSetState::StateInsert && !window_.IsEmpty() &&
                       GetBookmarkFlag(ActiveBuffer()) == TBookmarkFlag::bfEOF;
  if (!appends) ++rewriteCount_;
  InternalPostGuarded();
  // Consumers re-read the table inside this state change, before the window is rebuilt.
  SetState(DataSetState::StateBrowse);
  Resync({});
  DoAfterPost();
}

void TDataSet::Cancel() {
  if (!IsEditing()) return;
  DataEvent(DataSetEvent::BrowseModeCheck);
  DoHook(BeforeCancel);
  const bool wasInserting = state_ == DataSetState::StateInsert;
  if (wasInserting) DoHook(BeforeScroll);
  UpdateCursorPos();
  InternalCancel();
  SetState(DataSetState::StateBrowse);
  // The pending record lived only in its buffer; re-reading the window drops it.
  Resync({});
  DoHook(AfterCancel);
  if (wasInserting) DoHook(AfterScroll);
}

}  // namespace plotvik

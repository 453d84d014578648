#include "table/data_set.h"

#include <algorithm>

#include "platform/format.h"
#include "table/data_link.h"
#include "table/data_source.h"

namespace plotvik {

namespace {

bool IsEditing(DataSetState state) {
  return state == DataSetState::StateEdit || state == DataSetState::StateInsert;
}

}  // namespace

std::string_view DataSetStateName(DataSetState state) {
  switch (state) {
    case DataSetState::StateInactive:
      return "StateInactive";
    case DataSetState::StateBrowse:
      return "StateBrowse";
    case DataSetState::StateEdit:
      return "StateEdit";
    case DataSetState::StateInsert:
      return "StateInsert";
    case DataSetState::StateSetKey:
      return "StateSetKey";
    case DataSetState::StateCalcFields:
      return "StateCalcFields";
    case DataSetState::StateFilter:
      return "StateFilter";
    case DataSetState::StateNewValue:
      return "StateNewValue";
  }
  return "?";
}

std::string_view DataSetEventName(DataSetEvent event) {
  switch (event) {
    case DataSetEvent::FieldChanged:
      return "FieldChanged";
    case DataSetEvent::RecordReplaced:
      return "RecordReplaced";
    case DataSetEvent::RecordsReloaded:
      return "RecordsReloaded";
    case DataSetEvent::CursorMoved:
      return "CursorMoved";
    case DataSetEvent::FieldLayoutChanged:
      return "FieldLayoutChanged";
    case DataSetEvent::RecordUpdate:
      return "RecordUpdate";
    case DataSetEvent::StateChanged:
      return "StateChanged";
    case DataSetEvent::BrowseModeCheck:
      return "BrowseModeCheck";
    case DataSetEvent::FieldDefsStale:
      return "FieldDefsStale";
    case DataSetEvent::FieldListChanged:
      return "FieldListChanged";
    case DataSetEvent::FocusRequested:
      return "FocusRequested";
  }
  return "?";
}

TDataSet::TDataSet(std::string name) : TComponent(std::move(name)) {}

TDataSet::~TDataSet() {
  // The concrete dataset has closed by now (its operations are gone once its destructor ends),
  // so detaching the data sources fires nothing.
  // Only our own side of the detachment: recomputing the window would call operations of a
  // concrete dataset that no longer exists.
  while (!dataSources_.empty()) {
    TDataSource* source = dataSources_.back();
    dataSources_.pop_back();
    source->dataSet_ = nullptr;
    source->UpdateState();
  }
  for (TField* field : fields_) {
    field->dataSet_ = nullptr;
    field->fieldNo_ = 0;
  }
  fields_.Clear();
  if (masterSource_) RemoveFreeNotification(*masterSource_);
}

void TDataSet::DatabaseError(std::string_view message) const {
  if (Name().empty()) throw EDatabaseError(std::string(message));
  throw EDatabaseError(Format("%s: %s", {Name(), message}));
}

bool TDataSet::ClosingForDestruction() const {
  return Destroying() || (Owner() != nullptr && Owner()->Destroying());
}

void TDataSet::Notification(TComponent& component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && &component == masterSource_) masterSource_ = nullptr;
}

// --- state ---

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
    // When the form goes, its fields go first and each closes the table; that close must not
    // run handlers that expect a living form, and there is nobody left to cancel for.
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

void TDataSet::CheckCanModify() const {
  if (!GetCanModify()) DatabaseError("Cannot modify a read-only dataset");
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

// --- fields ---

TField& TDataSet::FieldByName(std::string_view name) const {
  TField* field = FindField(name);
  if (!field) DatabaseError(Format("Field '%s' not found", {name}));
  return *field;
}

void TDataSet::AddField(TField& field) {
  CheckInactive();
  if (FindField(field.FieldName())) {
    DatabaseError(Format("Duplicate field name '%s'", {field.FieldName()}));
  }
  fields_.Add(field);
  field.dataSet_ = this;
  field.fieldNo_ = 0;
  DataEvent(DataSetEvent::FieldListChanged);
}

void TDataSet::RemoveField(TField& field) {
  fields_.Remove(field);
  field.dataSet_ = nullptr;
  field.fieldNo_ = 0;
  DataEvent(DataSetEvent::FieldListChanged);
}

void TDataSet::BindFields() {
  for (TField* field : fields_) {
    if (field->FieldKind() != TFieldKind::fkData) continue;
    const int index = fieldDefs_.IndexOf(field->FieldName());
    if (index < 0) DatabaseError(Format("Field '%s' not found", {field->DisplayName()}));
    const TFieldDef& def = fieldDefs_[index];
    if (def.DataType() != field->DataType()) {
      DatabaseError(Format(
          "Type mismatch for field '%s', expecting: %s actual: %s",
          {field->DisplayName(), FieldTypeName(field->DataType()), FieldTypeName(def.DataType())}));
    }
    field->fieldNo_ = index + 1;
  }
}

void TDataSet::UnbindFields() {
  for (TField* field : fields_) field->fieldNo_ = 0;
}

// --- notifications ---

void TDataSet::DataEvent(DataSetEvent event, std::intptr_t info, TField* field) {
  if (event == DataSetEvent::FieldChanged && field != nullptr) {
    if (field->FieldKind() == TFieldKind::fkData) modified_ = true;
    if (field->OnChange) field->OnChange(*field);
  }
  if (disableCount_ > 0) {
    // A consumer that missed a close cannot trust its idea of the fields any more: it is told
    // the layout changed rather than merely that records were reloaded.
    if (event == DataSetEvent::FieldLayoutChanged ||
        (event == DataSetEvent::StateChanged && state_ == DataSetState::StateInactive)) {
      enableEvent_ = DataSetEvent::FieldLayoutChanged;
    }
    return;
  }
  // By index: a handler may attach or detach sources while we deliver.
  for (size_t i = 0; i < dataSources_.size(); ++i) {
    dataSources_[i]->DataEvent(event, info, field);
  }
}

void TDataSet::DisableControls() {
  if (disableCount_ == 0) {
    ControlsDisabledBegin();
    disableState_ = state_;
    enableEvent_ = DataSetEvent::RecordsReloaded;
  }
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ > 0) return;
  ControlsDisabledEnd();
  if (disableState_ != state_) DataEvent(DataSetEvent::StateChanged);
  if (disableState_ != DataSetState::StateInactive && state_ != DataSetState::StateInactive) {
    DataEvent(enableEvent_);
  }
}

void TDataSet::AddDataSource(TDataSource& source) {
  dataSources_.push_back(&source);
  UpdateBufferCount();
}

void TDataSet::RemoveDataSource(TDataSource& source) {
  std::erase(dataSources_, &source);
  UpdateBufferCount();
}

void TDataSet::SetMasterSource(TDataSource* source) {
  if (source == masterSource_) return;
  // Taking master values from a source that is itself fed by this dataset would loop forever.
  int guard = 0;
  for (const TDataSet* ds = source ? source->DataSet() : nullptr; ds && guard < 1024; ++guard) {
    if (ds == this) throw EDatabaseError("Circular datalinks are not allowed");
    ds = ds->masterSource_ ? ds->masterSource_->DataSet() : nullptr;
  }
  if (masterSource_) RemoveFreeNotification(*masterSource_);
  masterSource_ = source;
  if (masterSource_) FreeNotification(*masterSource_);
}

bool TDataSet::IsLinkedTo(const TDataSource* source) const {
  int guard = 0;
  for (const TDataSet* ds = this; ds && guard < 1024; ++guard) {
    const TDataSource* master = ds->masterSource_;
    if (!master) return false;
    if (master == source) return true;
    ds = master->DataSet();
  }
  return false;
}

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
  // Tested before the call as well: in a walk the store is still on the window's last record,
  // and the call would be made for every record.
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

// --- editing ---

void TDataSet::UpdateRecord() {
  if (!IsEditing(state_) && state_ != DataSetState::StateSetKey) {
    DatabaseError("Dataset not in edit or insert mode");
  }
  DataEvent(DataSetEvent::RecordUpdate);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(DataSetEvent::BrowseModeCheck);
  if (IsEditing(state_)) {
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
  CheckCanModify();
  DoBeforeInsert();
  DoHook(BeforeScroll);
  ClearBuffers();
  std::byte* buffer = window_.Slot(0);
  InternalInitRecord(buffer);
  SetBookmarkFlag(buffer, TBookmarkFlag::bfInserted);
  // After-last is what makes it an append: matching the store cursor to this buffer puts the
  // cursor behind the last record, where the post will land it.
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
  if (IsEditing(state_)) return;
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
  CheckCanModify();
  DoHook(BeforeEdit);
  UpdateCursorPos();
  for (;;) {
    try {
      InternalEdit();
      break;
    } catch (EDatabaseError& e) {
      if (!OnEditError) throw;
      TDataAction action = TDataAction::daFail;
      OnEditError(*this, e, action);
      if (action == TDataAction::daFail) throw;
      if (action == TDataAction::daAbort) throw EAbort();
    }
  }
  SetState(DataSetState::StateEdit);
  DataEvent(DataSetEvent::RecordReplaced);
  DoHook(AfterEdit);
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
  if (!IsEditing(state_)) return;
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
  if (!IsEditing(state_)) return;
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
  // A walk steps with the controls disabled in browse state: there is no edit to finish and
  // the check's notification would reach nobody, so neither the check nor the announcement
  // is made.
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
  // Handlers run inside the operations that end in a resync; one that closed the table has
  // left no window to rebuild.
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
  const bool open = state_ == DataSetState::StateBrowse || IsEditing(state_);
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

int TDataSet::RecordCount() const {
  CheckActive();
  return GetRecordCount();
}

int TDataSet::RecNo() const {
  return GetRecNo();
}

}  // namespace plotvik

#include "table/mem_table.h"

#include <algorithm>
#include <cstring>

#include "platform/format.h"
#include "platform/invariant.h"

namespace plotvik {

namespace {

using Guard = TCriticalSection::Guard;

// A bookmark carries the stored record's reference and its record number. The record is found
// again by its number and recognised by its reference, so a bookmark that outlived its record
// (the table was closed meanwhile) finds nothing, not the record stored in its place since.
struct BookmarkData {
  std::uintptr_t reference;
  std::int32_t recordNo;
};

constexpr std::byte kFlagBytes[] = {std::byte{0}, std::byte{1}, std::byte{2}, std::byte{3}};

std::byte FlagByte(TBookmarkFlag flag) {
  return kFlagBytes[static_cast<int>(flag)];
}

}  // namespace

TCustomMemTable::TCustomMemTable(std::string name)
    : TDataSet(std::move(name)), store_(std::make_unique<TMemTableStore>(*this)) {}

TCustomMemTable::~TCustomMemTable() {
  MarkDestroying();
  // Handlers have nowhere to report to from a destructor.
  try {
    Close();
  } catch (...) {
  }
  // Destroyed in the middle of a walk: the store's lock must not be destroyed held.
  if (storeHeldForWalk_) ControlsDisabledEnd();
}

// --- walks ---

// Disabling the controls starts a walk: the store stays locked for all of it, not per fetch.
void TCustomMemTable::ControlsDisabledBegin() {
  store_->Lock().Enter();
  storeHeldForWalk_ = true;
}

void TCustomMemTable::ControlsDisabledEnd() {
  storeHeldForWalk_ = false;
  store_->Lock().Leave();
}

// --- open and close ---

void TCustomMemTable::InternalInitFieldDefs() {
  FieldDefs().Clear();
  for (const TField* field : Fields()) {
    FieldDefs().Add(field->FieldName(), field->DataType(), field->Size(), false);
  }
}

void TCustomMemTable::InternalOpen() {
  Guard guard(store_->Lock());
  InternalInitFieldDefs();
  try {
    BindFields();
  } catch (...) {
    UnbindFields();
    throw;
  }
  if (!store_->ComputeLayout(FieldDefs(), kAttachMaxCount)) {
    UnbindFields();
    throw EMemTableError("There must be at least one field");
  }
  fieldModified_.assign(static_cast<size_t>(FieldDefs().Count()), false);
  cursorOpen_ = true;
  cursor_ = -1;
}

void TCustomMemTable::DoAfterOpen() {
  index_.upToDate = false;
  RebuildIndex();
  beforeCloseRan_ = false;
  Refresh();
  TDataSet::DoAfterOpen();
}

void TCustomMemTable::RebuildIndex() {
  Guard guard(store_->Lock());
  index_.entries.clear();
  for (int i = 0; i < store_->RecordCount(); ++i) {
    std::byte* record = store_->Record(i);
    record_header::Set(record, TRecordLayout::kIndexPosOffset, i);
    index_.entries.push_back(record);
  }
  index_.upToDate = false;
}

void TCustomMemTable::DoBeforeClose() {
  if (State() == DataSetState::StateEdit || State() == DataSetState::StateInsert) Cancel();
  beforeCloseRan_ = true;
  TDataSet::DoBeforeClose();
}

void TCustomMemTable::InternalClose() {
  // A close without the before-close step (the form is being destroyed) still owes it; the
  // state is inactive by then, so it cancels nothing.
  if (!beforeCloseRan_) DoBeforeClose();
  Guard guard(store_->Lock());
  DisableControls();
  store_->Clear();
  EnableControls();
  index_.entries.clear();
  index_.upToDate = false;
  UnbindFields();
  fieldModified_.clear();
  cursorOpen_ = false;
  cursor_ = -1;
}

// --- size and position ---

int TCustomMemTable::GetRecordCount() const {
  CheckActive();
  return index_.Count();
}

int TCustomMemTable::GetRecNo() const {
  const std::byte* buffer = Active() ? ActiveBuffer() : nullptr;
  if (!buffer) return -1;
  const int position = record_header::IndexPos(buffer);
  return (position >= 0 && position < index_.Count()) ? position + 1 : -1;
}

void TCustomMemTable::DoBeforeInsert() {
  insertPosition_ = RecNo();
  TDataSet::DoBeforeInsert();
}

// --- buffers and bookmarks ---

TRecordBuffer TCustomMemTable::AllocRecordBuffer() {
  return store_->AllocateRecord();
}

void TCustomMemTable::InternalInitRecord(std::byte* buffer) {
  std::fill(buffer, buffer + store_->Layout().recordSize, std::byte{0});
  record_header::Reset(buffer);
}

TBookmarkFlag TCustomMemTable::GetBookmarkFlag(const std::byte* buffer) const {
  const int slot = store_->Layout().BookmarkSlot(0);
  const auto flag = static_cast<int>(buffer[slot + sizeof(std::uintptr_t)]);
  return flag <= 3 ? static_cast<TBookmarkFlag>(flag) : TBookmarkFlag::bfCurrent;
}

void TCustomMemTable::SetBookmarkFlag(std::byte* buffer, TBookmarkFlag flag) {
  const int slot = store_->Layout().BookmarkSlot(0);
  buffer[slot + sizeof(std::uintptr_t)] = FlagByte(flag);
}

std::vector<std::byte> TCustomMemTable::GetBookmarkData(const std::byte* buffer) const {
  BookmarkData data{};
  std::memcpy(&data.reference, buffer + store_->Layout().BookmarkSlot(0), sizeof data.reference);
  data.recordNo = record_header::RecordNo(buffer);
  std::vector<std::byte> bytes(sizeof data);
  std::memcpy(bytes.data(), &data, sizeof data);
  return bytes;
}

void TCustomMemTable::SetBookmarkData(std::byte* buffer, const std::vector<std::byte>& data) {
  BookmarkData bookmark{};
  if (data.size() != sizeof bookmark) return;
  std::memcpy(&bookmark, data.data(), sizeof bookmark);
  std::memcpy(buffer + store_->Layout().BookmarkSlot(0), &bookmark.reference,
              sizeof bookmark.reference);
}

void TCustomMemTable::InternalGotoBookmark(const std::vector<std::byte>& data) {
  BookmarkData bookmark{};
  if (data.size() != sizeof bookmark) return;
  std::memcpy(&bookmark, data.data(), sizeof bookmark);
  Guard guard(store_->Lock());
  const int position = index_.Find(bookmark.recordNo);
  if (position >= 0 &&
      store_->Reference(index_.entries[static_cast<size_t>(position)]) == bookmark.reference) {
    cursor_ = position;
  }
}

void TCustomMemTable::InternalSetToRecord(const std::byte* buffer) {
  LocateRecord(record_header::RecordNo(buffer));
}

void TCustomMemTable::LocateRecord(std::int32_t recordNo) {
  Guard guard(store_->Lock());
  const int position = index_.Find(recordNo);
  if (position >= 0) cursor_ = position;
}

// --- fetching ---

TGetResult TCustomMemTable::GetRecord(std::byte* buffer, TGetMode mode) {
  if (storeHeldForWalk_) return FetchRecord(buffer, mode);
  Guard guard(store_->Lock());
  return FetchRecord(buffer, mode);
}

TGetResult TCustomMemTable::FetchRecord(std::byte* buffer, TGetMode mode) {
  // A walk holds the lock from its first fetch to its last; any other fetch takes it itself.
  PLOTVIK_ASSERT(store_->Lock().HeldByThisThread());
  const int count = index_.Count();
  switch (mode) {
    case TGetMode::gmNext:
      if (cursor_ >= count - 1) return TGetResult::grEOF;
      ++cursor_;
      break;
    case TGetMode::gmPrior:
      if (cursor_ < 1) return TGetResult::grBOF;
      cursor_ = std::min(cursor_, count) - 1;
      break;
    case TGetMode::gmCurrent:
      if (cursor_ < 0 || cursor_ >= count) return TGetResult::grError;
      break;
  }
  const std::byte* record = index_.entries[static_cast<size_t>(cursor_)];
  const TRecordLayout& layout = store_->Layout();
  std::memcpy(buffer, record, static_cast<size_t>(layout.calcOffset));
  record_header::Set(buffer, TRecordLayout::kIndexPosOffset, cursor_);
  std::fill(buffer + TRecordLayout::kFlagsOffset, buffer + TRecordLayout::kHeaderSize,
            std::byte{0});
  const std::uintptr_t reference = store_->Reference(record);
  std::memcpy(buffer + layout.BookmarkSlot(0), &reference, sizeof reference);
  buffer[layout.BookmarkSlot(0) + sizeof reference] = FlagByte(TBookmarkFlag::bfCurrent);
  return TGetResult::grOK;
}

// --- field data ---

const std::byte* TCustomMemTable::ReadBuffer() const {
  switch (State()) {
    case DataSetState::StateInactive:
      return nullptr;
    default:
      return ActiveBuffer();
  }
}

bool TCustomMemTable::GetFieldData(const TField& field, void* data) const {
  // Reads come from this table's own record buffer, which no other table sharing the store
  // ever touches, so they need no lock.
  if (!cursorOpen_) return false;
  const std::byte* buffer = ReadBuffer();
  if (!buffer) return false;
  const TRecordLayout& layout = store_->Layout();
  const auto slot = static_cast<size_t>(field.FieldNo() - 1);
  if (slot >= layout.fieldOffsets.size()) return false;
  const int offset = layout.fieldOffsets[slot];
  if (buffer[offset] == std::byte{0}) return false;
  if (data) {
    // Float fields are all this table has: a copy of constant size needs no library call.
    const int size = layout.fieldSizes[slot];
    if (size == sizeof(double)) {
      std::memcpy(data, buffer + offset + 1, sizeof(double));
    } else {
      std::memcpy(data, buffer + offset + 1, static_cast<size_t>(size));
    }
  }
  return true;
}

void TCustomMemTable::SetFieldData(TField& field, const void* data) {
  if (!cursorOpen_) return;
  Guard guard(store_->Lock());
  switch (State()) {
    case DataSetState::StateEdit:
    case DataSetState::StateInsert:
      break;
    default:
      DatabaseError("Dataset is not in edit mode.");
  }
  std::byte* buffer = ActiveBuffer();
  if (!buffer) return;
  const TRecordLayout& layout = store_->Layout();
  const auto slot = static_cast<size_t>(field.FieldNo() - 1);
  if (slot >= layout.fieldOffsets.size()) return;
  if (field.OnValidate) field.OnValidate(field);
  const int offset = layout.fieldOffsets[slot];
  const auto size = static_cast<size_t>(layout.fieldSizes[slot]);
  buffer[offset] = data ? std::byte{1} : std::byte{0};
  if (data) {
    std::memcpy(buffer + offset + 1, data, size);
  } else {
    std::fill(buffer + offset + 1, buffer + offset + 1 + size, std::byte{0});
  }
  fieldModified_[slot] = true;
  DataEvent(DataSetEvent::FieldChanged, 0, &field);
}

// --- posting ---

void TCustomMemTable::InternalPost() {
  Guard guard(store_->Lock());
  const std::byte* buffer = ActiveBuffer();
  if (!buffer) return;
  if (State() == DataSetState::StateInsert) {
    bool exhausted = false;
    std::byte* record = store_->StoreRecord(buffer, exhausted);
    if (exhausted) {
      throw EMemTableError("Bookmark counter is out of range. Please close and reopen table.");
    }
    int position = index_.Count();
    if (GetBookmarkFlag(buffer) == TBookmarkFlag::bfEOF) {
      index_.entries.push_back(record);
    } else {
      position = std::clamp(insertPosition_ - 1, 0, index_.Count());
      index_.entries.insert(index_.entries.begin() + position, record);
      for (int i = position + 1; i < index_.Count(); ++i) {
        record_header::Set(index_.entries[static_cast<size_t>(i)], TRecordLayout::kIndexPosOffset,
                           i);
      }
    }
    record_header::Set(record, TRecordLayout::kIndexPosOffset, position);
    index_.upToDate = true;
  } else if (State() == DataSetState::StateEdit) {
    if (cursor_ >= 0 && cursor_ < index_.Count()) {
      std::byte* record = index_.entries[static_cast<size_t>(cursor_)];
      const TRecordLayout& layout = store_->Layout();
      std::memcpy(record + TRecordLayout::kHeaderSize, buffer + TRecordLayout::kHeaderSize,
                  static_cast<size_t>(layout.calcOffset - TRecordLayout::kHeaderSize));
    }
  }
  std::fill(fieldModified_.begin(), fieldModified_.end(), false);
}

void TCustomMemTable::InternalCancel() {
  Guard guard(store_->Lock());
  std::fill(fieldModified_.begin(), fieldModified_.end(), false);
}

void TCustomMemTable::DoAfterPost() {
  for (int i = 0; i < store_->AttachCount(); ++i) {
    TCustomMemTable& other = store_->AttachedTable(i);
    if (&other != this && other.State() == DataSetState::StateBrowse) other.Refresh();
  }
  TDataSet::DoAfterPost();
}

}  // namespace plotvik

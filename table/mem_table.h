#pragma once

#include <memory>
#include <string>
#include <vector>

#include "table/data_set.h"
#include "table/mem_table_store.h"

namespace plotvik {

// A dataset whose records live in memory, in a TMemTableStore it creates and owns. Records are
// appended at the end, read through a cursor over the row-order index, and all discarded by a
// close.
class TCustomMemTable : public TDataSet {
 public:
  explicit TCustomMemTable(std::string name = {});
  ~TCustomMemTable() override;

  // Record layouts keep a bookmark slot for this many tables sharing the store.
  static constexpr int kAttachMaxCount = 1;

  TMemTableStore& Store() { return *store_; }
  const TMemTableStore& Store() const { return *store_; }
  const TRowOrderIndex& CurrentIndex() const { return index_; }
  // Store cursor: -1 before the first entry, Count() after the last.
  int Cursor() const { return cursor_; }

 protected:
  void DoAfterOpen() override;
  void DoAfterPost() override;
  void DoBeforeClose() override;
  void DoBeforeInsert() override;
  int GetRecordCount() const override;
  int GetRecNo() const override;
  void InternalCancel() override;
  void InternalEdit() override {}
  void InternalInsert() override {}
  TRecordBuffer AllocRecordBuffer() override;
  void FreeRecordBuffer(TRecordBuffer& buffer) override { buffer.reset(); }
  std::vector<std::byte> GetBookmarkData(const std::byte* buffer) const override;
  TBookmarkFlag GetBookmarkFlag(const std::byte* buffer) const override;
  void InternalFirst() override { cursor_ = -1; }
  void InternalGotoBookmark(const std::vector<std::byte>& bookmark) override;
  void InternalInitRecord(std::byte* buffer) override;
  void InternalLast() override { cursor_ = index_.Count(); }
  void InternalPost() override;
  void InternalSetToRecord(const std::byte* buffer) override;
  void SetBookmarkFlag(std::byte* buffer, TBookmarkFlag flag) override;
  void SetBookmarkData(std::byte* buffer, const std::vector<std::byte>& data) override;
  void SetFieldData(TField& field, const void* data) override;
  TGetResult GetRecord(std::byte* buffer, TGetMode mode) override;
  void InternalClose() override;
  void InternalInitFieldDefs() override;
  void InternalOpen() override;
  bool IsCursorOpen() const override { return cursorOpen_; }
  bool GetFieldData(const TField& field, void* data) const override;
  void ControlsDisabledBegin() override;
  void ControlsDisabledEnd() override;

 private:
  // Moves the cursor to the record with that number; leaves it when the record is not indexed.
  void LocateRecord(std::int32_t recordNo);
  void RebuildIndex();
  const std::byte* ReadBuffer() const;
  // GetRecord's work, with the store's lock already held.
  TGetResult FetchRecord(std::byte* buffer, TGetMode mode);

  std::unique_ptr<TMemTableStore> store_;
  TRowOrderIndex index_;
  int cursor_ = -1;
  bool cursorOpen_ = false;
  bool storeHeldForWalk_ = false;  // the lock is held from ControlsDisabledBegin to End
  bool beforeCloseRan_ = false;
  int insertPosition_ = -1;
  std::vector<bool> fieldModified_;
};

// The class of a declared memory table; it adds nothing but the published face.
class TMemTable : public TCustomMemTable {
 public:
  using TCustomMemTable::TCustomMemTable;
};

}  // namespace plotvik

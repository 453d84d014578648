#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/critical_section.h"
#include "table/field_defs.h"

namespace plotvik {

class TCustomMemTable;

// The shape of every record, stored or buffered: a fixed header, then one slot per field (a
// null-flag byte followed by the value bytes), the calculated-field area, one bookmark slot per
// attachable table (a record reference and a flag byte), and the variable-length area.
struct TRecordLayout {
  // Header: index position, record number, unique id (int32 each), then the stored flag.
  static constexpr int kIndexPosOffset = 0;
  static constexpr int kRecordNoOffset = 4;
  static constexpr int kUniqueIdOffset = 8;
  static constexpr int kFlagsOffset = 12;
  static constexpr int kHeaderSize = 16;
  static constexpr int kBookmarkSlotSize = static_cast<int>(sizeof(std::uintptr_t)) + 1;

  std::vector<int> fieldOffsets;  // by field number - 1: offset of the null-flag byte
  std::vector<int> fieldSizes;    // value bytes after the flag
  int calcOffset = kHeaderSize;
  int bookmarkOffset = kHeaderSize;
  int varOffset = kHeaderSize;
  int recordSize = kHeaderSize;
  int attachMaxCount = 1;

  int BookmarkSlot(int tableIndex) const { return bookmarkOffset + tableIndex * kBookmarkSlotSize; }
};

// Reading and writing the header of a record block. Blocks are plain bytes, so every access
// goes through memcpy: the compiler turns it into a plain load or store.
namespace record_header {
inline std::int32_t Get(const std::byte* block, int offset) {
  std::int32_t v;
  std::memcpy(&v, block + offset, sizeof v);
  return v;
}
inline void Set(std::byte* block, int offset, std::int32_t v) {
  std::memcpy(block + offset, &v, sizeof v);
}
inline std::int32_t IndexPos(const std::byte* b) {
  return Get(b, TRecordLayout::kIndexPosOffset);
}
inline std::int32_t RecordNo(const std::byte* b) {
  return Get(b, TRecordLayout::kRecordNoOffset);
}
inline std::int32_t UniqueId(const std::byte* b) {
  return Get(b, TRecordLayout::kUniqueIdOffset);
}
inline bool IsStored(const std::byte* b) {
  return b[TRecordLayout::kFlagsOffset] != std::byte{0};
}
// Marks the block as not yet numbered or indexed: record number and positions -1.
void Reset(std::byte* block);
}  // namespace record_header

// The records of a memory table, in record-number order, with the counters that number them
// and the lock that serialises access to them. Created and owned by the table that attaches
// first; other tables could share it, which is what the lock is for.
class TMemTableStore {
 public:
  // Beyond this the unique ids would run into the range the bookmark arithmetic reserves.
  static constexpr std::int32_t kMaxUniqueId = 0x7FFFFFCF;

  explicit TMemTableStore(TCustomMemTable& owner);
  ~TMemTableStore();
  TMemTableStore(const TMemTableStore&) = delete;
  TMemTableStore& operator=(const TMemTableStore&) = delete;

  TCriticalSection& Lock() { return lock_; }
  const TRecordLayout& Layout() const { return layout_; }
  // "There must be at least one field" (EMemTableError, raised by the table) when defs is empty;
  // returns false then and leaves the layout as it was.
  bool ComputeLayout(const TFieldDefs& defs, int attachMaxCount);

  // Stored records sit side by side in chunks of this many, each as many bytes as its header and
  // field slots take: no allocation per record, and a record never moves while it is stored.
  static constexpr int kRecordsPerChunk = 1024;

  int RecordCount() const { return recordCount_; }
  std::byte* Record(int recordNo) const {
    const auto chunk = static_cast<size_t>(recordNo / kRecordsPerChunk);
    const auto slot = static_cast<size_t>(recordNo % kRecordsPerChunk);
    return chunks_[chunk].get() + slot * static_cast<size_t>(layout_.calcOffset);
  }
  // What tells a stored record from every other stored in this store before or after it, even
  // at the same place: its unique id, and how often the store was cleared.
  std::uintptr_t Reference(const std::byte* record) const {
    static_assert(sizeof(std::uintptr_t) >= 2 * sizeof(std::uint32_t));
    return (std::uintptr_t{clearCount_} << 32) |
           static_cast<std::uint32_t>(record_header::UniqueId(record));
  }
  std::int32_t NextRecordNo() const { return nextRecordNo_; }
  std::int32_t NextUniqueId() const { return nextUniqueId_; }
  // Moves the unique-id counter, as a reload of saved ids would; only forward.
  void AdvanceUniqueId(std::int32_t next);

  // A zeroed block of the layout's size with a reset header.
  std::unique_ptr<std::byte[]> AllocateRecord() const;
  // Copies the header and field slots of `buffer` into a new stored record, numbers it and
  // returns it. Nothing is stored (nullptr) when the unique ids are exhausted.
  std::byte* StoreRecord(const std::byte* buffer, bool& idsExhausted);
  // Frees every record and restarts both counters at 0.
  void Clear();

  int AttachCount() const { return static_cast<int>(tables_.size()); }
  TCustomMemTable& AttachedTable(int index) const { return *tables_[static_cast<size_t>(index)]; }

 private:
  std::vector<std::unique_ptr<std::byte[]>> chunks_;
  int recordCount_ = 0;
  std::uint32_t clearCount_ = 0;
  std::int32_t nextRecordNo_ = 0;
  std::int32_t nextUniqueId_ = 0;
  TRecordLayout layout_;
  TCriticalSection lock_;
  std::vector<TCustomMemTable*> tables_;
};

// References to stored records in the order they were posted: the table's current index.
struct TRowOrderIndex {
  std::vector<std::byte*> entries;
  // Set while the index is known to be in record-number order, which permits binary search.
  bool upToDate = false;

  int Count() const { return static_cast<int>(entries.size()); }
  // Position of the record with that number, or -1.
  int Find(std::int32_t recordNo) const;
};

}  // namespace plotvik

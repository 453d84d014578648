#include "table/mem_table_store.h"

#include <algorithm>
#include <cstring>

#include "platform/invariant.h"

namespace plotvik {

namespace record_header {

void Reset(std::byte* block) {
  // -1 rather than 0: a buffer that was never stored must not pass for record number 0.
  Set(block, TRecordLayout::kIndexPosOffset, -1);
  Set(block, TRecordLayout::kRecordNoOffset, -1);
  Set(block, TRecordLayout::kUniqueIdOffset, -1);
  std::fill(block + TRecordLayout::kFlagsOffset, block + TRecordLayout::kHeaderSize, std::byte{0});
}

}  // namespace record_header

namespace {

int ValueSize(const TFieldDef& def) {
  switch (def.DataType()) {
    case TFieldType::ftFloat:
      return 8;
    case TFieldType::ftInteger:
      return 4;
    case TFieldType::ftBoolean:
      return 2;
    case TFieldType::ftString:
      return std::max(0, def.Size()) + 1;
    case TFieldType::ftUnknown:
      break;
  }
  return 8;
}

}  // namespace

TMemTableStore::TMemTableStore(TCustomMemTable& owner) {
  tables_.push_back(&owner);
}

TMemTableStore::~TMemTableStore() = default;

bool TMemTableStore::ComputeLayout(const TFieldDefs& defs, int attachMaxCount) {
  // Stored records are laid out by the layout they were stored with.
  PLOTVIK_ASSERT(recordCount_ == 0);
  if (defs.Count() == 0) return false;
  TRecordLayout layout;
  int offset = TRecordLayout::kHeaderSize;
  for (const TFieldDef& def : defs) {
    const int size = ValueSize(def);
    layout.fieldOffsets.push_back(offset);
    layout.fieldSizes.push_back(size);
    offset += 1 + size;
  }
  layout.calcOffset = offset;  // no calculated fields
  layout.bookmarkOffset = offset;
  layout.attachMaxCount = std::max(1, attachMaxCount);
  offset += layout.attachMaxCount * TRecordLayout::kBookmarkSlotSize;
  layout.varOffset = offset;  // no variable-length fields
  layout.recordSize = offset;
  layout_ = std::move(layout);
  return true;
}

void TMemTableStore::AdvanceUniqueId(std::int32_t next) {
  next = std::min(next, kMaxUniqueId + 1);
  if (next > nextUniqueId_) nextUniqueId_ = next;
}

std::unique_ptr<std::byte[]> TMemTableStore::AllocateRecord() const {
  auto block = std::make_unique<std::byte[]>(static_cast<size_t>(layout_.recordSize));
  record_header::Reset(block.get());
  return block;
}

std::byte* TMemTableStore::StoreRecord(const std::byte* buffer, bool& idsExhausted) {
  // Checked before anything is allocated or counted, so a refused post leaves the store as it
  // was and the record pending in its buffer.
  idsExhausted = nextUniqueId_ > kMaxUniqueId;
  if (idsExhausted) return nullptr;
  const auto recordBytes = static_cast<size_t>(layout_.calcOffset);
  if (recordCount_ == static_cast<int>(chunks_.size()) * kRecordsPerChunk) {
    chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(recordBytes * kRecordsPerChunk));
  }
  const std::int32_t recordNo = nextRecordNo_++;
  std::byte* record = Record(recordCount_);
  ++recordCount_;
  std::memcpy(record, buffer, recordBytes);
  record_header::Set(record, TRecordLayout::kRecordNoOffset, recordNo);
  record_header::Set(record, TRecordLayout::kUniqueIdOffset, nextUniqueId_++);
  record[TRecordLayout::kFlagsOffset] = std::byte{1};
  return record;
}

void TMemTableStore::Clear() {
  chunks_.clear();
  recordCount_ = 0;
  ++clearCount_;
  nextRecordNo_ = 0;
  nextUniqueId_ = 0;
}

int TRowOrderIndex::Find(std::int32_t recordNo) const {
  const int count = Count();
  if (upToDate && count > 20) {
    int low = 0;
    int high = count - 1;
    while (low <= high) {
      const int mid = (low + high + 1) / 2;
      const std::int32_t at = record_header::RecordNo(entries[static_cast<size_t>(mid)]);
      if (at == recordNo) return mid;
      if (at < recordNo) {
        low = mid + 1;
      } else {
        high = mid - 1;
      }
    }
  }
  for (int i = 0; i < count; ++i) {
    if (record_header::RecordNo(entries[static_cast<size_t>(i)]) == recordNo) return i;
  }
  return -1;
}

}  // namespace plotvik

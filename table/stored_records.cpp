#include "table/stored_records.h"

#include <cstring>

#include "platform/invariant.h"
#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik {

TStoredRecords::TStoredRecords(const TCustomMemTable& table) {
  for (int i = 0; i < table.FieldCount(); ++i) offsets_.push_back(-1);
  if (!table.Active()) return;
  const TRecordLayout& layout = table.Store().Layout();
  for (int i = 0; i < table.FieldCount(); ++i) {
    const auto slot = static_cast<std::size_t>(table.Fields(i).FieldNo() - 1);
    if (slot < layout.fieldOffsets.size() &&
        layout.fieldSizes[slot] == static_cast<int>(sizeof(double))) {
      offsets_[static_cast<std::size_t>(i)] = layout.fieldOffsets[slot];
    }
  }
  records_ = &table.CurrentIndex().entries;
}

std::optional<double> TStoredRecords::Value(int record, int fieldIndex) const {
  PLOTVIK_ASSERT(record >= 0 && record < Count());
  PLOTVIK_ASSERT(fieldIndex >= 0 && fieldIndex < static_cast<int>(offsets_.size()));
  const int offset = offsets_[static_cast<std::size_t>(fieldIndex)];
  const std::byte* block = (*records_)[static_cast<std::size_t>(record)];
  if (offset < 0 || block[offset] == std::byte{0}) return std::nullopt;
  double value = 0;
  std::memcpy(&value, block + offset + 1, sizeof value);
  return value;
}

}  // namespace plotvik

#include "analysis/sweep_records.h"

#include <cstring>

#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik {

std::vector<TSweepRecord> StoredSweepRecords(const TCustomMemTable& table) {
  std::vector<TSweepRecord> records;
  if (!table.Active()) return records;
  const TRecordLayout& layout = table.Store().Layout();
  // Slot of each sweep field in the record blocks; -1 for a field the table lacks.
  std::array<int, kSweepFieldCount> offsets{};
  for (int i = 0; i < kSweepFieldCount; ++i) {
    offsets[static_cast<size_t>(i)] = -1;
    const TField* field = table.FindField(kSweepFieldNames[static_cast<size_t>(i)]);
    if (field == nullptr) continue;
    const auto slot = static_cast<size_t>(field->FieldNo() - 1);
    if (slot < layout.fieldOffsets.size() && layout.fieldSizes[slot] == sizeof(double)) {
      offsets[static_cast<size_t>(i)] = layout.fieldOffsets[slot];
    }
  }
  const std::vector<std::byte*>& stored = table.CurrentIndex().entries;
  records.reserve(stored.size());
  for (const std::byte* block : stored) {
    TSweepRecord& record = records.emplace_back();
    for (size_t i = 0; i < offsets.size(); ++i) {
      if (offsets[i] < 0 || block[offsets[i]] == std::byte{0}) continue;
      double value = 0;
      std::memcpy(&value, block + offsets[i] + 1, sizeof value);
      record.fields[i] = value;
    }
  }
  return records;
}

}  // namespace plotvik

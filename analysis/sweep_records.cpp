#include "analysis/sweep_records.h"

#include "table/field.h"
#include "table/mem_table.h"
#include "table/stored_records.h"

namespace plotvik {

std::vector<TSweepRecord> StoredSweepRecords(const TCustomMemTable& table) {
  const TStoredRecords stored(table);
  // Each sweep field's index among the table's fields; -1 for one the table lacks.
  std::array<int, kSweepFieldCount> indexes{};
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    indexes[i] = -1;
    const TField* field = table.FindField(kSweepFieldNames[i]);
    for (int f = 0; f < table.FieldCount() && field != nullptr; ++f) {
      if (&table.Fields(f) == field) indexes[i] = f;
    }
  }
  std::vector<TSweepRecord> records(static_cast<std::size_t>(stored.Count()));
  for (int r = 0; r < stored.Count(); ++r) {
    for (std::size_t i = 0; i < indexes.size(); ++i) {
      if (indexes[i] >= 0)
        records[static_cast<std::size_t>(r)].fields[i] = stored.Value(r, indexes[i]);
    }
  }
  return records;
}

}  // namespace plotvik

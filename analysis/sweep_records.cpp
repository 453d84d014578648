#include "analysis/sweep_records.h"

#include "platform/invariant.h"
#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik {

TSweepRecord TSweepRecords::Record(int record) const {
  TSweepRecord r;
  for (int i = 0; i < kSweepFieldCount; ++i) {
    r.fields[static_cast<std::size_t>(i)] = Value(record, static_cast<TSweepField>(i));
  }
  return r;
}

std::optional<double> TSweepRecordSpan::Value(int record, TSweepField field) const {
  PLOTVIK_ASSERT(record >= 0 && record < Count());
  return records_[static_cast<std::size_t>(record)][field];
}

TStoredSweepRecords::TStoredSweepRecords(const TCustomMemTable& table) : stored_(table) {
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    indexes_[i] = -1;
    const TField* field = table.FindField(kSweepFieldNames[i]);
    for (int f = 0; f < table.FieldCount() && field != nullptr; ++f) {
      if (&table.Fields(f) == field) indexes_[i] = f;
    }
  }
}

std::optional<double> TStoredSweepRecords::Value(int record, TSweepField field) const {
  const int index = indexes_[static_cast<std::size_t>(field)];
  if (index < 0) return std::nullopt;
  return stored_.Value(record, index);
}

}  // namespace plotvik

#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace plotvik {

class TCustomMemTable;

// The records a memory table has stored, in the table's order, read where they are stored:
// the cursor, the state and the links stay as they are, so nothing attached to the table hears
// of the reading, and a record still being inserted (the line a load stopped at) is no part of
// them. For copies of a run: the clipboard text, the analysis, the reference run.
class TStoredRecords {
 public:
  // An inactive table has no records.
  explicit TStoredRecords(const TCustomMemTable& table);

  int Count() const { return records_ == nullptr ? 0 : static_cast<int>(records_->size()); }
  // The value of the field at `fieldIndex` (as in the table's Fields) of record `record`, or
  // nothing where the field is null or not held as a double.
  std::optional<double> Value(int record, int fieldIndex) const;

 private:
  // The table's own index, not a copy: a reader of one record must not pay for a million. The
  // reader is valid while the table's records stay as they are.
  const std::vector<std::byte*>* records_ = nullptr;
  // Offset of each field's null flag in a record block, its value following; -1 for a field
  // not held as a double.
  std::vector<int> offsets_;
};

}  // namespace plotvik

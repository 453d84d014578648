#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace plotvik {

class TCustomMemTable;

// The nine fields of a sweep record by position, as the loader fills them.
enum TSweepField { sfId, sfVal, sfHeight, sfR, sfJX, sfSWR, sfGa, sfFB, sfElevation };
inline constexpr int kSweepFieldCount = 9;
inline constexpr std::array<std::string_view, kSweepFieldCount> kSweepFieldNames = {
    "Id", "Val", "height", "R", "jX", "SWR", "Ga", "FB", "Elevation"};

// One stored record: each field's value, or nothing where the file gave none.
struct TSweepRecord {
  std::array<std::optional<double>, kSweepFieldCount> fields;

  const std::optional<double>& operator[](TSweepField field) const { return fields[field]; }
};

// The records `table` has stored, in the order they were posted (the file's order). Read
// straight from the store: a record still pending after a failed line is not among them, and
// no cursor moves, so nothing attached to the table hears of it.
std::vector<TSweepRecord> StoredSweepRecords(const TCustomMemTable& table);

}  // namespace plotvik

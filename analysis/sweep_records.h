#pragma once

#include <array>
#include <optional>
#include <span>

#include "table/stored_records.h"
#include "table/sweep_table.h"

namespace plotvik {

class TCustomMemTable;

// One record: each field's value, or nothing where the file gave none.
struct TSweepRecord {
  std::array<std::optional<double>, kSweepFieldCount> fields;

  const std::optional<double>& operator[](TSweepField field) const { return fields[field]; }
};

// A sweep's records, read one field at a time where they are kept, so that a million of them
// are never copied to be looked at.
class TSweepRecords {
 public:
  virtual ~TSweepRecords() = default;
  virtual int Count() const = 0;
  // The field of the record at `record` (0 <= record < Count()), or nothing.
  virtual std::optional<double> Value(int record, TSweepField field) const = 0;
  TSweepRecord Record(int record) const;
};

// Records held in memory already, such as a test's.
class TSweepRecordSpan final : public TSweepRecords {
 public:
  explicit TSweepRecordSpan(std::span<const TSweepRecord> records) : records_(records) {}
  int Count() const override { return static_cast<int>(records_.size()); }
  std::optional<double> Value(int record, TSweepField field) const override;

 private:
  std::span<const TSweepRecord> records_;
};

// The records `table` has stored, in the order they were posted (the file's order), read
// straight from the store: a record still pending after a failed line is not among them, and
// no cursor moves, so nothing attached to the table hears of it. Valid while the table's records
// stay as they are.
class TStoredSweepRecords final : public TSweepRecords {
 public:
  explicit TStoredSweepRecords(const TCustomMemTable& table);
  int Count() const override { return stored_.Count(); }
  std::optional<double> Value(int record, TSweepField field) const override;

 private:
  TStoredRecords stored_;
  // Each sweep field's index among the table's fields; -1 for one the table lacks.
  std::array<int, kSweepFieldCount> indexes_{};
};

}  // namespace plotvik

#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/sweep_records.h"

namespace plotvik {

// The records that have a height, in height order (equal heights in the records' order, as the
// charts place them), kept as their positions. They are sorted once when taken, and records
// appended later are merged in, so that stepping through a million points never sorts.
class THeightOrder {
 public:
  // Takes the order of `records` anew.
  void Take(const TSweepRecords& records);
  // Adds the records appended to `records` since they were taken: those from Taken() on.
  void Extend(const TSweepRecords& records);
  // How many records were taken, with a height or without.
  int Taken() const { return taken_; }

  // The positions of the records that have a height and `field`, in height order: the points
  // of that quantity. Valid until the next Take, Extend or Points for another field.
  std::span<const int> Points(const TSweepRecords& records, TSweepField field);

 private:
  // How many of the records in the order have a field, found when first asked for.
  enum class TCover { Unknown, All, None, Some };

  std::vector<int> order_;
  int taken_ = 0;
  std::array<TCover, kSweepFieldCount> cover_{};
  // The points of the field last asked for when only some records have it.
  std::optional<TSweepField> pointsField_;
  std::vector<int> points_;
};

// A keyboard cursor over a sweep: it stands on one record and steps through the points of
// whatever quantity is shown, in height order. It keeps its record when the quantity changes,
// so one step can be read in every quantity.
class TStepCursor {
 public:
  // The record the cursor stands on (a position in the records), none while hidden.
  std::optional<int> Record() const { return record_; }
  void Hide() { record_.reset(); }

  // Moves `steps` points forward (backward when negative) through `points` (the positions of
  // their records in height order, equal heights by position, as THeightOrder gives them),
  // stopping at the ends. A hidden cursor comes in at the first point going forward, at the last
  // going back; a record that is not among `points` steps from the place its height takes among
  // them.
  void Step(std::span<const int> points, const TSweepRecords& records, int steps);
  void First(std::span<const int> points);
  void Last(std::span<const int> points);

 private:
  std::optional<int> record_;
};

// Every field the record has, by name, as the file gave it: "Id 3  Val 7  height 7  R 64.906 ..."
// with `decimalSeparator` for the point; fields the record lacks are left out.
std::string StepText(const TSweepRecord& record, char decimalSeparator);

}  // namespace plotvik

#pragma once

#include <optional>
#include <span>
#include <string>

#include "analysis/sweep_analysis.h"

namespace plotvik {

// A keyboard cursor over a sweep: it stands on one record and steps through the points of
// whatever quantity is shown, in height order. It keeps its record when the quantity changes,
// so one step can be read in every quantity.
class TStepCursor {
 public:
  // The record the cursor stands on (a position in the records), none while hidden.
  std::optional<int> Record() const { return record_; }
  void Hide() { record_.reset(); }

  // Moves `steps` points forward (backward when negative) through `points`, stopping at the
  // ends. A hidden cursor comes in at the first point going forward, at the last going back; a
  // record that is not among `points` steps from the place its height takes among them.
  void Step(std::span<const TSweepPoint> points, std::span<const TSweepRecord> records, int steps);
  void First(std::span<const TSweepPoint> points);
  void Last(std::span<const TSweepPoint> points);

 private:
  std::optional<int> record_;
};

// Every field the record has, by name, as the file gave it: "Id 3  Val 7  height 7  R 64.906 ..."
// with `decimalSeparator` for the point; fields the record lacks are left out.
std::string StepText(const TSweepRecord& record, char decimalSeparator);

}  // namespace plotvik

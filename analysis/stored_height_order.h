#pragma once

#include <cstdint>
#include <span>

#include "analysis/step_cursor.h"

namespace plotvik {

class TCustomMemTable;

// The height order of the records a table has stored, kept as the table changes without sorting
// it all again at every look: records appended since are merged in, and the order is taken anew
// only when records were rewritten in place (a followed file's last line that went on) or when
// there are fewer of them (a new run).
class TStoredHeightOrder {
 public:
  // The points of `field` among `records`, which are `table`'s stored records as they are now,
  // in height order (THeightOrder::Points). Valid until the next call.
  std::span<const int> Points(const TCustomMemTable& table, const TSweepRecords& records,
                              TSweepField field);

 private:
  THeightOrder order_;
  bool taken_ = false;
  // The table's rewrites when the order was taken.
  std::uint64_t rewrites_ = 0;
};

}  // namespace plotvik

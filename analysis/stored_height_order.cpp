#include "analysis/stored_height_order.h"

#include "table/mem_table.h"

namespace plotvik {

std::span<const int> TStoredHeightOrder::Points(const TCustomMemTable& table,
                                                const TSweepRecords& records, TSweepField field) {
  const std::uint64_t rewrites = table.RewriteCount();
  if (!taken_ || rewrites != rewrites_ || records.Count() < order_.Taken()) {
    order_.Take(records);
    taken_ = true;
    rewrites_ = rewrites;
  } else if (records.Count() > order_.Taken()) {
    order_.Extend(records);
  }
  return order_.Points(records, field);
}

}  // namespace plotvik

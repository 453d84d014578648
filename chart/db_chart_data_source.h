#pragma once

#include <memory>

#include "table/data_source.h"

namespace plotvik {

class TCustomDBChart;
class TValueListShare;

// The data source a data-bound chart attaches to a table it charts. It has no owner component:
// the chart keeps it in its list and frees it with itself.
class TDBChartDataSource : public TDataSource {
 public:
  explicit TDBChartDataSource(TCustomDBChart& chart);
  ~TDBChartDataSource() override;

  TCustomDBChart& Chart() const { return chart_; }

  // Whether the chart has refilled from the table since the table last became browsable; it
  // keeps a second browse notification (after a cancel, say) from refilling again.
  bool SeenActive() const { return seenActive_; }
  void SetSeenActive(bool value) { seenActive_ = value; }

  // The storage share of the table: every chart's source on one table holds the same one, so
  // the lists of all their series fed from one field keep one copy of its values.
  const std::shared_ptr<TValueListShare>& Share() const { return share_; }
  void SetShare(std::shared_ptr<TValueListShare> share) { share_ = std::move(share); }

 private:
  TCustomDBChart& chart_;
  std::shared_ptr<TValueListShare> share_;
  bool seenActive_ = false;
};

}  // namespace plotvik

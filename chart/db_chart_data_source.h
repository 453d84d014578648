#pragma once

#include "table/data_source.h"

namespace plotvik {

class TCustomDBChart;

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

 private:
  TCustomDBChart& chart_;
  bool seenActive_ = false;
};

}  // namespace plotvik

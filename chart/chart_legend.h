#pragma once

namespace plotvik {

class TCustomAxisPanel;

// The legend: how many items it would list. The charts of this program have one series that
// stays out of the legend, so it never shows an item and never takes room.
class TChartLegend {
 public:
  explicit TChartLegend(TCustomAxisPanel& chart) : chart_(chart) {}

  // The series with more than one active, else the values of the first active series.
  int ItemCount() const;

 private:
  TCustomAxisPanel& chart_;
};

}  // namespace plotvik

#pragma once

#include <functional>

#include "platform/property.h"

namespace plotvik {

class TCustomAxisPanel;

enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

// The legend: what it would list and how many items that makes. The charts of this program have
// one series that stays out of the legend, so it never shows an item and never takes room.
class TChartLegend {
 public:
  explicit TChartLegend(TCustomAxisPanel& chart) : chart_(chart) {}

  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Change(visible_, value); }
  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle value) { Change(legendStyle_, value); }
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment value) { Change(alignment_, value); }
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool value) { Change(resizeChart_, value); }
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool value) { Change(checkBoxes_, value); }
  int FirstValue() const { return firstValue_; }
  void SetFirstValue(int value) { Change(firstValue_, value); }
  bool CustomPosition() const { return customPosition_; }
  void SetCustomPosition(bool value) { Change(customPosition_, value); }

  bool Vertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  // Processed at all: visible, and with check boxes or some active series.
  bool ShouldProcess() const;
  // lsAuto resolved: series when there are check boxes or more than one active series.
  TLegendStyle EffectiveStyle() const;
  // The items it would show, never below 0.
  int ItemCount() const;

  std::function<void()> OnChange;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value) && OnChange) OnChange();
  }
  TCustomAxisPanel& chart_;
  bool visible_ = true;
  TLegendStyle legendStyle_ = lsAuto;
  TLegendAlignment alignment_ = laRight;
  bool resizeChart_ = true;
  bool checkBoxes_ = false;
  int firstValue_ = 0;
  bool customPosition_ = false;
};

}  // namespace plotvik

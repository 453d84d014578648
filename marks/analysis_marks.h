#pragma once

#include <cstdint>
#include <memory>

#include "analysis/sweep_analysis.h"
#include "raster/color.h"

namespace plotvik {

class TCustomAxisPanel;
class TCustomMemTable;

// The sweep analysis drawn on the SWR and jX page charts: the spans with SWR below 2 and below
// 1.5 as tints behind grid and series, a marker with its label on the lowest SWR, and a line
// with its height at each resonance. Hidden until shown. The analysis is taken from the table
// afresh whenever a chart draws after its records changed, so the marks follow every load.
class TAnalysisMarks {
 public:
  TAnalysisMarks(const TCustomMemTable& table, TCustomAxisPanel& swrChart,
                 TCustomAxisPanel& reactanceChart);
  ~TAnalysisMarks();
  TAnalysisMarks(const TAnalysisMarks&) = delete;
  TAnalysisMarks& operator=(const TAnalysisMarks&) = delete;

  bool Visible() const;
  // Repaints both charts when the value changes.
  void SetVisible(bool value);

  // The analysis of the table's records as they are now.
  const TSweepAnalysis& Analysis();

  // Colours of the marks.
  static constexpr TColor kBand2Tint = 0x00E2F4E2;
  static constexpr TColor kBand15Tint = 0x00C0E6C0;
  static constexpr TColor kMinimumColor = 0x00006000;
  static constexpr TColor kResonanceColor = 0x00A000A0;

 private:
  struct State;
  // Shared with the charts' hooks, which outlive nothing but check that it still exists.
  std::shared_ptr<State> state_;
};

}  // namespace plotvik

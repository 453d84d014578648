#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/sweep_records.h"

namespace plotvik {

// A record that has a height and the quantity in question, as a chart places it.
struct TSweepPoint {
  double height = 0;
  double value = 0;
  int record = 0;  // position in the records given
};

// The records with both a height and `field`, in height order; equal heights keep the records'
// order, as the charts place them.
std::vector<TSweepPoint> SweepPoints(const TSweepRecords& records, TSweepField field);

// A maximal run of neighbouring points with SWR below `threshold`, from `low` to `high`. An open
// edge is the sweep's first (last) point: the band may go on beyond the sweep there.
struct TSwrBand {
  double threshold = 0;
  double low = 0;
  double high = 0;
  bool lowOpen = false;
  bool highOpen = false;
};

struct TSweepAnalysis {
  int points = 0;  // points with a height and an SWR
  std::optional<TSweepPoint> minimumSwr;
  std::vector<double> resonances;  // heights, in height order
  std::vector<TSwrBand> bands;     // threshold 2 first, then 1.5; each in height order
};

// The SWR thresholds the bands are reported for, in report order.
inline constexpr double kSwrBandThresholds[] = {2.0, 1.5};

TSweepAnalysis AnalyseSweep(const TSweepRecords& records);

// Heights where the straight line between neighbouring jX points crosses 0, and the first height
// of every run of points at exactly 0.
std::vector<double> Resonances(std::span<const TSweepPoint> reactance);
// The bands of `swr` below `threshold`.
std::vector<TSwrBand> SwrBands(std::span<const TSweepPoint> swr, double threshold);

// The text form for scripts: one item a line, fields separated by a tab, numbers in their
// shortest round-trip form with '.':
//   points N / min_swr HEIGHT SWR / resonance HEIGHT / band T LOW HIGH OPEN
std::string AnalysisText(const TSweepAnalysis& analysis);

}  // namespace plotvik

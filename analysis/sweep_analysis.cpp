#include "analysis/sweep_analysis.h"

#include <algorithm>

#include "platform/number_text.h"

namespace plotvik {

namespace {

// Where the straight line from (h1, v1) to (h2, v2) reaches `level`, in the order written so
// that every platform gets the same double.
double LevelHeight(const TSweepPoint& p1, const TSweepPoint& p2, double level) {
  return p1.height + (p2.height - p1.height) * (level - p1.value) / (p2.value - p1.value);
}

const char* OpenText(const TSwrBand& band) {
  if (band.lowOpen && band.highOpen) return "both";
  if (band.lowOpen) return "low";
  if (band.highOpen) return "high";
  return "-";
}

}  // namespace

std::vector<TSweepPoint> SweepPoints(const TSweepRecords& records, TSweepField field) {
  std::vector<TSweepPoint> points;
  for (int i = 0; i < records.Count(); ++i) {
    const std::optional<double> height = records.Value(i, sfHeight);
    if (!height) continue;
    if (const std::optional<double> value = records.Value(i, field)) {
      points.push_back({*height, *value, i});
    }
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const TSweepPoint& a, const TSweepPoint& b) { return a.height < b.height; });
  return points;
}

std::vector<double> Resonances(std::span<const TSweepPoint> reactance) {
  std::vector<double> heights;
  for (size_t i = 0; i < reactance.size(); ++i) {
    const TSweepPoint& p = reactance[i];
    if (p.value == 0) {
      // A run of zeros is one resonance, where it begins.
      if (i == 0 || reactance[i - 1].value != 0) heights.push_back(p.height);
      continue;
    }
    if (i + 1 == reactance.size()) break;
    const TSweepPoint& next = reactance[i + 1];
    if ((p.value < 0 && next.value > 0) || (p.value > 0 && next.value < 0)) {
      heights.push_back(LevelHeight(p, next, 0));
    }
  }
  return heights;
}

std::vector<TSwrBand> SwrBands(std::span<const TSweepPoint> swr, double threshold) {
  std::vector<TSwrBand> bands;
  const size_t n = swr.size();
  size_t i = 0;
  while (i < n) {
    if (!(swr[i].value < threshold)) {
      ++i;
      continue;
    }
    size_t last = i;
    while (last + 1 < n && swr[last + 1].value < threshold) ++last;
    TSwrBand band;
    band.threshold = threshold;
    band.lowOpen = i == 0;
    band.low = band.lowOpen ? swr[i].height : LevelHeight(swr[i - 1], swr[i], threshold);
    band.highOpen = last + 1 == n;
    band.high = band.highOpen ? swr[last].height : LevelHeight(swr[last], swr[last + 1], threshold);
    bands.push_back(band);
    i = last + 1;
  }
  return bands;
}

TSweepAnalysis AnalyseSweep(const TSweepRecords& records) {
  TSweepAnalysis analysis;
  const std::vector<TSweepPoint> swr = SweepPoints(records, sfSWR);
  analysis.points = static_cast<int>(swr.size());
  for (const TSweepPoint& p : swr) {
    // Strictly lower: of equal lowest values the first in height order stays.
    if (!analysis.minimumSwr || p.value < analysis.minimumSwr->value) analysis.minimumSwr = p;
  }
  analysis.resonances = Resonances(SweepPoints(records, sfJX));
  for (double threshold : kSwrBandThresholds) {
    const std::vector<TSwrBand> bands = SwrBands(swr, threshold);
    analysis.bands.insert(analysis.bands.end(), bands.begin(), bands.end());
  }
  return analysis;
}

std::string AnalysisText(const TSweepAnalysis& analysis) {
  std::string text = "points\t" + std::to_string(analysis.points) + "\n";
  if (analysis.minimumSwr) {
    text += "min_swr\t" + ShortestNumberText(analysis.minimumSwr->height) + "\t" +
            ShortestNumberText(analysis.minimumSwr->value) + "\n";
  }
  for (double height : analysis.resonances) {
    text += "resonance\t" + ShortestNumberText(height) + "\n";
  }
  for (const TSwrBand& band : analysis.bands) {
    text += "band\t" + ShortestNumberText(band.threshold) + "\t" + ShortestNumberText(band.low) +
            "\t" + ShortestNumberText(band.high) + "\t" + OpenText(band) + "\n";
  }
  return text;
}

}  // namespace plotvik

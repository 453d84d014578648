#include "analysis/sweep_analysis.h"

#include <algorithm>
#include <cmath>

#include "platform/number_text.h"

namespace plotvik {

namespace {

// A power of two near the larger magnitude of a and b (1 when both are 0).
int ScaleExponent(double a, double b) {
  const double larger = std::max(std::fabs(a), std::fabs(b));
  return larger == 0 ? 0 : std::ilogb(larger);
}

// LevelHeight for coordinates at the edges of the doubles: each coordinate is scaled by a power
// of two (exact) so that its larger value lies between 1 and 2, where neither a difference nor a
// product can overflow or fade away, and the height is scaled back at the end.
double ScaledLevelHeight(const TSweepPoint& p1, const TSweepPoint& p2, double level) {
  // The level lies between the two values, so they are the larger ones.
  const int valueExponent = ScaleExponent(p1.value, p2.value);
  const double v1 = std::scalbn(p1.value, -valueExponent);
  const double v2 = std::scalbn(p2.value, -valueExponent);
  const double fraction = (std::scalbn(level, -valueExponent) - v1) / (v2 - v1);
  const int heightExponent = ScaleExponent(p1.height, p2.height);
  const double h1 = std::scalbn(p1.height, -heightExponent);
  const double h2 = std::scalbn(p2.height, -heightExponent);
  const double height = std::scalbn(h1 + (h2 - h1) * fraction, heightExponent);
  // Rounding must not carry the height past its points (nor past the largest double).
  return std::clamp(height, std::min(p1.height, p2.height), std::max(p1.height, p2.height));
}

// Where the straight line from (h1, v1) to (h2, v2) reaches `level`, which lies between v1 and
// v2, in the order written so that every platform gets the same double.
double LevelHeight(const TSweepPoint& p1, const TSweepPoint& p2, double level) {
  const double run = p2.height - p1.height;
  const double climb = level - p1.value;
  const double rise = p2.value - p1.value;
  const double product = run * climb;
  // A difference beyond the largest double, or a product below the smallest normal one, would
  // put the crossing at an end or past it; only then is the scaled form taken, so that ordinary
  // sweeps keep the very doubles this order gives.
  const bool ordinary = std::isfinite(run) && std::isfinite(rise) && std::isfinite(product) &&
                        (std::isnormal(product) || run == 0 || climb == 0);
  return ordinary ? p1.height + product / rise : ScaledLevelHeight(p1, p2, level);
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

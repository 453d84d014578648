#include "analysis/step_cursor.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/number_text.h"

namespace plotvik {

namespace {

constexpr std::array<std::string_view, kSweepFieldCount> kStepFieldLabels = {
    "Id", "Val", "height", "R", "jX", "SWR", "Ga", "F/B", "Elevation"};

}  // namespace

void TStepCursor::Step(std::span<const TSweepPoint> points, std::span<const TSweepRecord> records,
                       int steps) {
  if (points.empty() || steps == 0) return;
  const auto count = static_cast<long long>(points.size());
  // Where the cursor stands, counted so that one step forward lands on `before + 1`.
  long long before = steps > 0 ? -1 : count;
  if (record_) {
    const auto at = std::find_if(points.begin(), points.end(),
                                 [this](const TSweepPoint& p) { return p.record == *record_; });
    if (at != points.end()) {
      before = at - points.begin();
    } else if (static_cast<size_t>(*record_) < records.size() &&
               records[static_cast<size_t>(*record_)][sfHeight]) {
      const double height = *records[static_cast<size_t>(*record_)][sfHeight];
      const long long place =
          std::lower_bound(points.begin(), points.end(), height,
                           [](const TSweepPoint& p, double h) { return p.height < h; }) -
          points.begin();
      // Between two points: the first step either way lands on the neighbour on that side.
      before = steps > 0 ? place - 1 : place;
    }
  }
  const long long target = std::clamp(before + steps, 0LL, count - 1);
  record_ = points[static_cast<size_t>(target)].record;
}

void TStepCursor::First(std::span<const TSweepPoint> points) {
  if (!points.empty()) record_ = points.front().record;
}

void TStepCursor::Last(std::span<const TSweepPoint> points) {
  if (!points.empty()) record_ = points.back().record;
}

std::string StepText(const TSweepRecord& record, char decimalSeparator) {
  std::string text;
  for (size_t i = 0; i < record.fields.size(); ++i) {
    if (!record.fields[i]) continue;
    if (!text.empty()) text += "  ";
    text += kStepFieldLabels[i];
    text += ' ';
    text += ShortestNumberText(*record.fields[i], decimalSeparator);
  }
  return text;
}

}  // namespace plotvik

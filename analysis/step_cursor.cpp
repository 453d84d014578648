#include "analysis/step_cursor.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/invariant.h"
#include "platform/number_text.h"

namespace plotvik {

namespace {

// The tip names the front-to-back ratio as its page does; every other field by its name.
std::string_view StepFieldLabel(TSweepField field) {
  return field == sfFB ? "F/B" : kSweepFieldNames[field];
}

struct TKeyedRecord {
  double height = 0;
  int record = 0;
};

double HeightOf(const TSweepRecords& records, int record) {
  return records.Value(record, sfHeight).value_or(0);
}

// The records from `from` on that have a height, in height order, equal heights by position.
std::vector<TKeyedRecord> SortedFrom(const TSweepRecords& records, int from) {
  std::vector<TKeyedRecord> keyed;
  keyed.reserve(static_cast<std::size_t>(std::max(records.Count() - from, 0)));
  for (int r = from; r < records.Count(); ++r) {
    if (const std::optional<double> height = records.Value(r, sfHeight)) {
      keyed.push_back({*height, r});
    }
  }
  const auto before = [](const TKeyedRecord& a, const TKeyedRecord& b) {
    return a.height < b.height || (a.height == b.height && a.record < b.record);
  };
  // Appended lines mostly go on upwards: then one look is all it costs.
  if (!std::is_sorted(keyed.begin(), keyed.end(), before)) {
    std::sort(keyed.begin(), keyed.end(), before);
  }
  return keyed;
}

}  // namespace

void THeightOrder::Take(const TSweepRecords& records) {
  // A fresh vector, so that a smaller sweep gives back what a larger one took.
  order_ = std::vector<int>();
  order_.reserve(static_cast<std::size_t>(records.Count()));
  // A sweep is mostly written in height order: then one pass over the records is all it costs,
  // and no heights are kept beside the positions.
  bool ordered = true;
  double last = 0;
  for (int r = 0; r < records.Count(); ++r) {
    const std::optional<double> height = records.Value(r, sfHeight);
    if (!height) continue;
    if (!order_.empty() && *height < last) ordered = false;
    last = *height;
    order_.push_back(r);
  }
  if (!ordered) {
    const std::vector<TKeyedRecord> keyed = SortedFrom(records, 0);
    for (std::size_t i = 0; i < keyed.size(); ++i) order_[i] = keyed[i].record;
  }
  taken_ = records.Count();
  cover_.fill(TCover::Unknown);
  pointsField_.reset();
  points_ = std::vector<int>();
}

void THeightOrder::Extend(const TSweepRecords& records) {
  PLOTVIK_ASSERT(records.Count() >= taken_);
  const std::vector<TKeyedRecord> keyed = SortedFrom(records, taken_);
  taken_ = records.Count();
  pointsField_.reset();
  points_.clear();
  if (keyed.empty()) return;
  for (int f = 0; f < kSweepFieldCount; ++f) {
    TCover& cover = cover_[static_cast<std::size_t>(f)];
    if (cover != TCover::All && cover != TCover::None) continue;
    const bool having = cover == TCover::All;
    for (const TKeyedRecord& k : keyed) {
      if (records.Value(k.record, static_cast<TSweepField>(f)).has_value() != having) {
        cover = TCover::Some;
        break;
      }
    }
  }
  // The records before the first height the new ones bring stay where they are; a sweep that
  // goes on upwards only adds at the end.
  const auto firstMoved = std::upper_bound(
      order_.begin(), order_.end(), keyed.front().height,
      [&](double height, int record) { return height < HeightOf(records, record); });
  if (firstMoved == order_.end()) {
    for (const TKeyedRecord& k : keyed) order_.push_back(k.record);
    return;
  }
  std::vector<int> merged;
  merged.reserve(order_.size() + keyed.size());
  merged.assign(order_.begin(), firstMoved);
  auto old = firstMoved;
  auto added = keyed.begin();
  while (old != order_.end() && added != keyed.end()) {
    // Of equal heights the record taken earlier comes first: it stands earlier in the file.
    if (added->height < HeightOf(records, *old)) {
      merged.push_back((added++)->record);
    } else {
      merged.push_back(*old++);
    }
  }
  merged.insert(merged.end(), old, order_.end());
  for (; added != keyed.end(); ++added) merged.push_back(added->record);
  order_ = std::move(merged);
}

std::span<const int> THeightOrder::Points(const TSweepRecords& records, TSweepField field) {
  TCover& cover = cover_[static_cast<std::size_t>(field)];
  if (cover == TCover::Unknown) {
    const auto having = std::count_if(order_.begin(), order_.end(), [&](int record) {
      return records.Value(record, field).has_value();
    });
    cover = having == static_cast<std::ptrdiff_t>(order_.size()) ? TCover::All
            : having == 0                                        ? TCover::None
                                                                 : TCover::Some;
  }
  if (cover == TCover::All) return order_;
  if (cover == TCover::None) return {};
  if (pointsField_ != field) {
    points_.clear();
    std::copy_if(order_.begin(), order_.end(), std::back_inserter(points_),
                 [&](int record) { return records.Value(record, field).has_value(); });
    pointsField_ = field;
  }
  return points_;
}

void TStepCursor::Step(std::span<const int> points, const TSweepRecords& records, int steps) {
  if (points.empty() || steps == 0) return;
  const auto count = static_cast<long long>(points.size());
  // Where the cursor stands, counted so that one step forward lands on `before + 1`.
  long long before = steps > 0 ? -1 : count;
  if (record_ && *record_ < records.Count()) {
    if (const std::optional<double> height = records.Value(*record_, sfHeight)) {
      const int record = *record_;
      // The points are in order of height and then of position, so both searches halve.
      const auto at = std::lower_bound(points.begin(), points.end(), record, [&](int p, int r) {
        const double h = HeightOf(records, p);
        return h < *height || (h == *height && p < r);
      });
      if (at != points.end() && *at == record) {
        before = at - points.begin();
      } else {
        const long long place =
            std::lower_bound(points.begin(), points.end(), *height,
                             [&](int p, double h) { return HeightOf(records, p) < h; }) -
            points.begin();
        // Between two points: the first step either way lands on the neighbour on that side.
        before = steps > 0 ? place - 1 : place;
      }
    }
  }
  const long long target = std::clamp(before + steps, 0LL, count - 1);
  record_ = points[static_cast<std::size_t>(target)];
}

void TStepCursor::First(std::span<const int> points) {
  if (!points.empty()) record_ = points.front();
}

void TStepCursor::Last(std::span<const int> points) {
  if (!points.empty()) record_ = points.back();
}

std::string StepText(const TSweepRecord& record, char decimalSeparator) {
  std::string text;
  for (size_t i = 0; i < record.fields.size(); ++i) {
    if (!record.fields[i]) continue;
    if (!text.empty()) text += "  ";
    text += StepFieldLabel(static_cast<TSweepField>(i));
    text += ' ';
    text += ShortestNumberText(*record.fields[i], decimalSeparator);
  }
  return text;
}

}  // namespace plotvik

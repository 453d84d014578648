#include "analysis/step_cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/sweep_analysis.h"

namespace plotvik {
namespace {

TSweepRecord Record(std::optional<double> height, std::optional<double> swr) {
  TSweepRecord r;
  r.fields[sfHeight] = height;
  r.fields[sfSWR] = swr;
  return r;
}

// Records in file order; by height the SWR points are records 2 (h 1), 0 (h 2), 4 (h 2, after
// record 0 as the file has it), 1 (h 3), 3 (h 5). Record 5 has no SWR (h 4), record 6 no height.
const std::vector<TSweepRecord> kRecords = {
    Record(2, 1.5), Record(3, 1.2),          Record(1, 2.0),           Record(5, 2.5),
    Record(2, 1.4), Record(4, std::nullopt), Record(std::nullopt, 1.1)};

enum class Move { Step, First, Last };

struct StepCase {
  const char* name;
  std::optional<int> start;  // placed by stepping to it first
  Move move;
  int steps;
  std::optional<int> expected;
};

class StepCursorTest : public ::testing::TestWithParam<StepCase> {};

// The points of `field` among `records`, as the window takes them.
std::vector<int> PointsOf(const std::vector<TSweepRecord>& records, TSweepField field) {
  const TSweepRecordSpan span(records);
  THeightOrder order;
  order.Take(span);
  const std::span<const int> points = order.Points(span, field);
  return {points.begin(), points.end()};
}

TEST_P(StepCursorTest, LandsOnTheExpectedRecord) {
  const StepCase& c = GetParam();
  const TSweepRecordSpan records(kRecords);
  const std::vector<int> points = PointsOf(kRecords, sfSWR);
  TStepCursor cursor;
  if (c.start) {
    // Walk to the starting record through a page where every record with a height is a point.
    std::vector<TSweepRecord> all = kRecords;
    for (TSweepRecord& r : all) r.fields[sfR] = 0.0;
    const std::vector<int> everyHeight = PointsOf(all, sfR);
    const TSweepRecordSpan allRecords(all);
    for (int i = 0; i < 10 && cursor.Record() != c.start; ++i) {
      cursor.Step(everyHeight, allRecords, 1);
    }
    ASSERT_EQ(cursor.Record(), c.start);
  }
  switch (c.move) {
    case Move::Step:
      cursor.Step(points, records, c.steps);
      break;
    case Move::First:
      cursor.First(points);
      break;
    case Move::Last:
      cursor.Last(points);
      break;
  }
  EXPECT_EQ(cursor.Record(), c.expected);
}

// clang-format off
const StepCase kCases[] = {
    {"HiddenForwardComesInAtTheFirst",   std::nullopt, Move::Step,  1,   2},
    {"HiddenBackComesInAtTheLast",       std::nullopt, Move::Step,  -1,  3},
    {"HiddenLongStepStopsAtTheEnd",      std::nullopt, Move::Step,  10,  3},
    {"OneForward",                       2,            Move::Step,  1,   0},
    {"EqualHeightsInFileOrder",          0,            Move::Step,  1,   4},
    {"EqualHeightsBack",                 4,            Move::Step,  -1,  0},
    {"BackStopsAtTheFirst",              2,            Move::Step,  -1,  2},
    {"LongBackStopsAtTheFirst",          1,            Move::Step,  -10, 2},
    {"OffThePageForwardTakesTheNextOne", 5,            Move::Step,  1,   3},
    {"OffThePageBackTakesThePrevious",   5,            Move::Step,  -1,  1},
    {"HomeFromTheMiddle",                1,            Move::First, 0,   2},
    {"EndFromHidden",                    std::nullopt, Move::Last,  0,   3},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Steps, StepCursorTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StepCursorEmpty, NoPointsLeaveTheCursorAsItWas) {
  TStepCursor cursor;
  cursor.Step({}, TSweepRecordSpan(kRecords), 1);
  cursor.Last({});
  EXPECT_EQ(cursor.Record(), std::nullopt);
}

// A sweep in no order, with repeated heights, a line here and there without a height or an
// SWR, R on every line and Ga on none; from record `gaFrom` on, Ga on some lines and R missing on
// one, so that a field's points change in kind when those records are appended.
std::vector<TSweepRecord> MixedSweep(int count, int gaFrom) {
  std::vector<TSweepRecord> records(static_cast<size_t>(count));
  unsigned x = 7;
  const auto next = [&x] {
    x = x * 1103515245u + 12345u;
    return static_cast<int>((x >> 16) & 0x7fff);
  };
  for (int i = 0; i < count; ++i) {
    TSweepRecord& r = records[static_cast<size_t>(i)];
    if (next() % 8 != 0) r.fields[sfHeight] = next() % 12;
    if (next() % 3 != 0) r.fields[sfSWR] = 1.0 + next() % 5;
    r.fields[sfR] = 50.0;
    if (i >= gaFrom && next() % 2 == 0) r.fields[sfGa] = 7.5;
  }
  records[static_cast<size_t>(count - 1)].fields[sfR].reset();
  records[static_cast<size_t>(count - 1)].fields[sfHeight] = 3.0;
  return records;
}

// The order a sweep's lines arrive in must not matter: taken at once, or taken in part and then
// extended by what was appended (as a followed file grows), the points of every quantity are the
// analysis's, which sorts the whole sweep afresh.
TEST(HeightOrder, ExtendedByAppendsEqualsTakenAnew) {
  const std::vector<TSweepRecord> mixed = MixedSweep(60, 40);
  // The same lines written in height order, as a sweep mostly is.
  std::vector<TSweepRecord> ascending = mixed;
  std::stable_sort(ascending.begin(), ascending.end(), [](const auto& a, const auto& b) {
    return a[sfHeight].value_or(-1) < b[sfHeight].value_or(-1);
  });
  const std::vector<std::vector<int>> schedules = {
      {60}, {40, 60}, {0, 1, 2, 3, 59, 60}, {10, 20, 30, 40, 50, 60}, {39, 41, 60}};
  for (const std::vector<TSweepRecord>* sweep :
       std::initializer_list<const std::vector<TSweepRecord>*>{&mixed, &ascending}) {
    for (const std::vector<int>& schedule : schedules) {
      THeightOrder order;
      for (size_t step = 0; step < schedule.size(); ++step) {
        const TSweepRecordSpan part(
            std::span<const TSweepRecord>(*sweep).first(static_cast<size_t>(schedule[step])));
        if (step == 0) {
          order.Take(part);
        } else {
          order.Extend(part);
        }
        ASSERT_EQ(order.Taken(), schedule[step]);
        // Ask for every field on the way, so that what is known of each must follow the appends.
        for (const TSweepField field : {sfSWR, sfR, sfGa, sfHeight}) {
          std::vector<int> expected;
          for (const TSweepPoint& p : SweepPoints(part, field)) expected.push_back(p.record);
          const std::span<const int> points = order.Points(part, field);
          EXPECT_EQ(std::vector<int>(points.begin(), points.end()), expected)
              << (sweep == &mixed ? "mixed" : "ascending") << ", field " << field << " after "
              << schedule[step] << " of schedule " << schedule[0];
        }
      }
    }
  }
}

TEST(StepText, EveryFieldTheRecordHasWithTheGivenSeparator) {
  TSweepRecord r;
  r.fields = {3.0, std::nullopt, 7.5, 64.906, -1.502, 1.301, std::nullopt, 14.1, 1e-7};
  EXPECT_EQ(StepText(r, ','),
            "Id 3  height 7,5  R 64,906  jX -1,502  SWR 1,301  F/B 14,1  Elevation 1e-07");
  EXPECT_EQ(StepText(TSweepRecord{}, '.'), "");
}

}  // namespace
}  // namespace plotvik

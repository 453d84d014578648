#include "analysis/step_cursor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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

TEST_P(StepCursorTest, LandsOnTheExpectedRecord) {
  const StepCase& c = GetParam();
  const std::vector<TSweepPoint> points = SweepPoints(kRecords, sfSWR);
  TStepCursor cursor;
  if (c.start) {
    // Walk to the starting record through a page where every record with a height is a point.
    std::vector<TSweepRecord> all = kRecords;
    for (TSweepRecord& r : all) r.fields[sfR] = 0.0;
    const std::vector<TSweepPoint> everyHeight = SweepPoints(all, sfR);
    for (int i = 0; i < 10 && cursor.Record() != c.start; ++i) cursor.Step(everyHeight, all, 1);
    ASSERT_EQ(cursor.Record(), c.start);
  }
  switch (c.move) {
    case Move::Step:
      cursor.Step(points, kRecords, c.steps);
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
  cursor.Step({}, kRecords, 1);
  cursor.Last({});
  EXPECT_EQ(cursor.Record(), std::nullopt);
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

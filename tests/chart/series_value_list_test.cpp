#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_value_list.h"
#include "platform/exceptions.h"

namespace plotvik {
namespace {

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> out;
  for (int i = 0; i < list.ValueCount(); ++i) out.push_back(list.Value(i));
  return out;
}

struct OrderCase {
  const char* name;
  TChartListOrder order;
  std::vector<double> added;
  std::vector<int> indices;  // what AddOrdered returned, one per add
  std::vector<double> stored;
  friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }
};

class ValueListOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(ValueListOrder, PlacesEachValueWhereOrderSays) {
  const OrderCase& c = GetParam();
  TChartValueList list(nullptr, "X");
  list.SetOrder(c.order);
  std::vector<int> indices;
  for (double v : c.added) indices.push_back(list.AddOrdered(v));
  EXPECT_EQ(indices, c.indices);
  EXPECT_EQ(Values(list), c.stored);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, ValueListOrder,
    testing::Values(
        // An equal value goes after all its equals: the second 2 lands at index 2.
        OrderCase{"AscendingEqualsKeepArrival",  TChartListOrder::loAscending,  {3, 1, 2, 2},    {0, 0, 1, 2},    {1, 2, 2, 3}},
        OrderCase{"AscendingBelowAll",           TChartListOrder::loAscending,  {5, 6, 7, -1},   {0, 1, 2, 0},    {-1, 5, 6, 7}},
        OrderCase{"NoneAlwaysAppends",           TChartListOrder::loNone,       {3, 1, 2, 2},    {0, 1, 2, 3},    {3, 1, 2, 2}},
        OrderCase{"DescendingEqualsKeepArrival", TChartListOrder::loDescending, {1, 3, 2, 2, 9}, {0, 0, 1, 2, 0}, {9, 3, 2, 2, 1}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct StatsCase {
  const char* name;
  std::vector<double> values;
  double lowest, highest, sum, absSum;
  friend void PrintTo(const StatsCase& c, std::ostream* os) { *os << c.name; }
};

class ValueListStats : public testing::TestWithParam<StatsCase> {};

TEST_P(ValueListStats, CoverEveryValue) {
  const StatsCase& c = GetParam();
  TChartValueList list(nullptr, "Y");
  for (double v : c.values) list.AddOrdered(v);
  EXPECT_DOUBLE_EQ(list.Lowest(), c.lowest);
  EXPECT_DOUBLE_EQ(list.Highest(), c.highest);
  EXPECT_DOUBLE_EQ(list.Sum(), c.sum);
  EXPECT_DOUBLE_EQ(list.AbsSum(), c.absSum);
  EXPECT_DOUBLE_EQ(list.Spread(), c.highest - c.lowest);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, ValueListStats, testing::Values(
    StatsCase{"Empty",          {},            0,    0,    0,    0},
    StatsCase{"SingleNegative", {-2.5},        -2.5, -2.5, -2.5, 2.5},
    // The first value seeds both extremes; a falling then rising run must still find the true
    // maximum.
    StatsCase{"Mixed",          {4, -3, 1, 7}, -3,   7,    9,    15},
    StatsCase{"Decreasing",     {5, 4, 3},     3,    5,    12,   12}),
    [](const auto& info) { return info.param.name; });
// clang-format on

TEST(ValueList, EveryChangeMakesTheStatisticsStale) {
  TChartValueList list(nullptr, "Y");
  list.AddOrdered(1);
  list.AddOrdered(2);
  EXPECT_DOUBLE_EQ(list.Highest(), 2);
  EXPECT_FALSE(list.StatsStale());

  struct Step {
    const char* what;
    void (*change)(TChartValueList&);
    double highest;
  };
  const Step steps[] = {
      {"InsertAt", [](TChartValueList& l) { l.InsertAt(0, 10); }, 10},
      {"SetValue", [](TChartValueList& l) { l.SetValue(0, 8); }, 8},
      {"Exchange", [](TChartValueList& l) { l.Exchange(0, 2); }, 8},
      {"RemoveAt", [](TChartValueList& l) { l.RemoveAt(2); }, 2},
      {"AddOrdered", [](TChartValueList& l) { l.AddOrdered(5); }, 5},
      {"RemoveAll", [](TChartValueList& l) { l.RemoveAll(); }, 0},
  };
  for (const Step& s : steps) {
    s.change(list);
    EXPECT_TRUE(list.StatsStale()) << s.what;
    EXPECT_DOUBLE_EQ(list.Highest(), s.highest) << s.what;
    EXPECT_FALSE(list.StatsStale()) << s.what;
  }
}

TEST(ValueList, GrowsInFixedStepsAndReleasesOnRemoveAll) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(TChartListOrder::loAscending);
  EXPECT_EQ(list.Capacity(), 0);
  list.AddOrdered(0);
  EXPECT_EQ(list.Capacity(), 1000);
  for (int i = 1; i < 1000; ++i) list.AddOrdered(i);
  EXPECT_EQ(list.Capacity(), 1000);
  list.AddOrdered(0.5);  // the 1001st value, inserted in the middle, crosses a growth step
  EXPECT_EQ(list.Capacity(), 2000);
  EXPECT_EQ(list.ValueCount(), 1001);
  EXPECT_DOUBLE_EQ(list.Value(1), 0.5);
  EXPECT_DOUBLE_EQ(list.Value(1000), 999);
  list.RemoveAll();
  EXPECT_EQ(list.ValueCount(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(ValueList, IndexOutsideTheValuesIsRefusedWithoutChange) {
  TChartValueList list(nullptr, "X");
  list.AddOrdered(1);
  EXPECT_THROW(list.Value(1), EListError);
  EXPECT_THROW(list.Value(-1), EListError);
  EXPECT_THROW(list.InsertAt(2, 5), EListError);
  EXPECT_THROW(list.RemoveAt(1), EListError);
  EXPECT_THROW(list.RemoveAt(0 - 1), EListError);
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  EXPECT_EQ(list.ValueCount(), 1);
  EXPECT_DOUBLE_EQ(list.Value(0), 1);
  list.InsertAt(1, 2);  // the end itself is a valid place to insert
  EXPECT_EQ(Values(list), (std::vector<double>{1, 2}));
}

TEST(ValueList, AssignCopiesConfigurationNotValuesOrName) {
  TChartValueList source(nullptr, "Source");
  source.SetOrder(TChartListOrder::loDescending);
  source.SetDateTime(true);
  source.SetValueSource("height");
  source.AddOrdered(7);
  TChartValueList target(nullptr, "Target");
  target.AddOrdered(1);
  target.Assign(source);
  EXPECT_EQ(target.Order(), TChartListOrder::loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.ValueSource(), "height");
  EXPECT_EQ(target.Name(), "Target");
  EXPECT_EQ(Values(target), (std::vector<double>{1}));
}

namespace shared_storage {

// Lists fed from one field of one table keep one storage while their values agree; each change
// other than an agreeing append leaves the other list's values as they were.
std::vector<double> Ramp(int count, double from) {
  std::vector<double> out;
  for (int i = 0; i < count; ++i) out.push_back(from + i * 0.25);
  return out;
}

// Two lists fed from one field of one table, as two charts' X lists.
struct Pair {
  explicit Pair(const char* source) {
    first.SetValueSource(source);
    second.SetValueSource(source);
    first.SetShare(table);
    second.SetShare(table);
  }
  void AppendBoth(const std::vector<double>& values) {
    // Interleaved, as six charts refill one record after another, across several growths.
    for (double v : values) {
      first.Append(v);
      second.Append(v);
    }
  }
  std::shared_ptr<TValueListShare> table = std::make_shared<TValueListShare>();
  TChartValueList first{nullptr, "X"};
  TChartValueList second{nullptr, "X"};
};

TEST(ValueListSharing, SameValuesFromOneFieldShareAcrossGrowth) {
  Pair p("shared height");
  const std::vector<double> values = Ramp(5000, 1.0);
  p.AppendBoth(values);
  EXPECT_TRUE(p.first.SharesStorage());
  EXPECT_EQ(Values(p.first), values);
  EXPECT_EQ(Values(p.second), values);
  EXPECT_EQ(p.second.Capacity(), 5000);

  // Another field of the table, the same field of another table, a list fed by hand: each
  // keeps a storage of its own.
  TChartValueList otherField(nullptr, "Y");
  otherField.SetValueSource("another field");
  otherField.SetShare(p.table);
  TChartValueList otherTable(nullptr, "X");
  otherTable.SetValueSource("shared height");
  otherTable.SetShare(std::make_shared<TValueListShare>());
  TChartValueList byHand(nullptr, "X");
  byHand.SetValueSource("shared height");
  for (TChartValueList* list : {&otherField, &otherTable, &byHand}) {
    for (double v : values) list->Append(v);
    EXPECT_FALSE(list->SharesStorage()) << list->ValueSource();
    EXPECT_EQ(Values(*list), values);
  }
}

struct ChangeCase {
  const char* name;
  void (*change)(TChartValueList& list);
  std::vector<double> after;  // the changed list, from {1, 2, 3, 4}
};

class ValueListSharingChange : public testing::TestWithParam<ChangeCase> {};

TEST_P(ValueListSharingChange, LeavesTheOtherListAlone) {
  Pair p(GetParam().name);
  p.AppendBoth({1, 2, 3, 4});
  ASSERT_TRUE(p.second.SharesStorage());
  GetParam().change(p.second);
  EXPECT_EQ(Values(p.second), GetParam().after);
  EXPECT_EQ(Values(p.first), (std::vector<double>{1, 2, 3, 4}));
  // The first list goes on appending where it was; the second keeps its own values.
  p.first.Append(5);
  EXPECT_EQ(Values(p.first), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Values(p.second), GetParam().after);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Changes, ValueListSharingChange,
    testing::Values(
        ChangeCase{"SetValue",     [](TChartValueList& l) { l.SetValue(1, 9); },    {1, 9, 3, 4}},
        ChangeCase{"Exchange",     [](TChartValueList& l) { l.Exchange(0, 3); },    {4, 2, 3, 1}},
        ChangeCase{"InsertInside", [](TChartValueList& l) { l.InsertAt(1, 7); },    {1, 7, 2, 3, 4}},
        ChangeCase{"RemoveAt",     [](TChartValueList& l) { l.RemoveAt(0); },       {2, 3, 4}},
        ChangeCase{"RemoveAll",    [](TChartValueList& l) { l.RemoveAll(); },       {}},
        ChangeCase{"AppendOther",  [](TChartValueList& l) { l.Append(-0.0); },      {1, 2, 3, 4, -0.0}},
        ChangeCase{"RemoveLastThenAppend",
                   [](TChartValueList& l) { l.RemoveAt(3); l.Append(6); },           {1, 2, 3, 6}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ValueListSharing, ListBehindComparesAndSplitsWhereValuesDiffer) {
  Pair p("behind");
  for (double v : {1.0, 2.0, 3.0}) p.first.Append(v);
  // Equal bits only: 0.0 is not -0.0, and a NaN matches the same NaN.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  p.first.Append(nan);
  p.second.Append(1.0);
  p.second.Append(2.0);
  EXPECT_TRUE(p.second.SharesStorage());
  p.second.Append(-3.0);
  EXPECT_FALSE(p.second.SharesStorage());
  EXPECT_EQ(Values(p.second), (std::vector<double>{1, 2, -3}));
  ASSERT_EQ(p.first.ValueCount(), 4);
  EXPECT_EQ(Values(p.first)[2], 3.0);

  Pair q("zeros");
  q.first.Append(0.0);
  q.second.Append(-0.0);
  EXPECT_TRUE(std::signbit(q.second.Value(0)));
  EXPECT_FALSE(std::signbit(q.first.Value(0)));
}

}  // namespace shared_storage

}  // namespace
}  // namespace plotvik

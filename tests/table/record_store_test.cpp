#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "table_fixture.h"

namespace plotvik::testing {
namespace {

std::int32_t RecordNoAt(const TMemTable& t, int position) {
  return record_header::RecordNo(t.CurrentIndex().entries[static_cast<size_t>(position)]);
}
std::int32_t UniqueIdAt(const TMemTable& t, int position) {
  return record_header::UniqueId(t.CurrentIndex().entries[static_cast<size_t>(position)]);
}

// Each field keeps its own value and its own null flag beside every other, at the extremes of
// the double range too, and a bookmark still finds the record: nothing in a record overlaps.
TEST(RecordStore, EveryFieldKeepsItsValueAndNullnessBesideTheOthers) {
  const double extremes[] = {std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             -0.0,
                             1.0 / 3.0,
                             -1e-300,
                             123456789.125,
                             std::numeric_limits<double>::min()};
  SweepForm f;
  f.table.Open();
  for (int only = 0; only < 9; ++only) {
    f.table.Append();
    f.table.Fields(only).SetAsFloat(extremes[only]);
    f.table.Post();
  }
  f.AddRecord(std::vector<double>(std::begin(extremes), std::end(extremes)));
  const TBookmark all = f.table.GetBookmark();
  f.table.First();
  for (int only = 0; only < 9; ++only, f.table.Next()) {
    for (int i = 0; i < 9; ++i) {
      SCOPED_TRACE("record " + std::to_string(only) + ", field " + std::to_string(i));
      EXPECT_EQ(f.table.Fields(i).IsNull(), i != only);
      if (i == only) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(f.table.Fields(i).AsFloat()),
                  std::bit_cast<std::uint64_t>(extremes[i]));
      }
    }
  }
  f.table.First();
  f.table.GotoBookmark(all);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(f.table.Fields(i).AsFloat()),
              std::bit_cast<std::uint64_t>(extremes[i]))
        << "field " << i;
  }
}

TEST(RecordStore, NumbersRestartAfterEveryClose) {
  SweepForm f;
  for (int round = 0; round < 2; ++round) {
    f.table.Open();
    for (int i = 0; i < 3; ++i) f.AddRecord({double(i)});
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(RecordNoAt(f.table, i), i);
      EXPECT_EQ(UniqueIdAt(f.table, i), i);
    }
    EXPECT_EQ(f.table.Store().NextRecordNo(), 3);
    f.table.Close();
    EXPECT_EQ(f.table.Store().RecordCount(), 0);
    EXPECT_EQ(f.table.Store().NextUniqueId(), 0);
  }
}

TEST(RecordStore, BlankRecordIsStoredWithEveryNullFlagClear) {
  SweepForm f;
  f.table.Open();
  f.AddRecord({});
  const std::byte* record = f.table.CurrentIndex().entries.at(0);
  EXPECT_TRUE(record_header::IsStored(record));
  for (int offset : f.table.Store().Layout().fieldOffsets) EXPECT_EQ(record[offset], std::byte{0});
}

TEST(RecordStore, UniqueIdLimitRefusesThePostAndKeepsTheRecordPending) {
  SweepForm f;
  f.table.Open();
  f.AddRecord({1});
  f.table.Store().AdvanceUniqueId(TMemTableStore::kMaxUniqueId);
  f.AddRecord({2});  // takes the last id there is
  f.table.Append();
  f.table.Fields(0).SetValue(3.0);
  try {
    f.table.Post();
    FAIL();
  } catch (const EMemTableError& e) {
    EXPECT_STREQ(e.what(), "Bookmark counter is out of range. Please close and reopen table.");
  }
  EXPECT_EQ(f.table.State(), DataSetState::StateInsert);
  EXPECT_EQ(f.table.Fields(0).AsFloat(), 3.0);
  EXPECT_EQ(f.table.Store().RecordCount(), 2);
  // An error hook may turn it into a silent abort; unassigned it just propagates.
  f.table.OnPostError = [](TDataSet&, EDatabaseError&, TDataAction& action) {
    action = TDataAction::daAbort;
  };
  EXPECT_THROW(f.table.Post(), EAbort);
  f.table.Close();
  f.table.Open();
  f.AddRecord({4});
  EXPECT_EQ(UniqueIdAt(f.table, 0), 0);
}

TEST(RecordStore, NextAtTheLastEntryReportsEndAndKeepsTheCursor) {
  SweepForm f;
  f.table.Open();
  for (int i = 0; i < 3; ++i) f.AddRecord({double(i)});
  f.table.First();
  f.table.Next();
  f.table.Next();
  EXPECT_EQ(f.table.Cursor(), 2);
  f.table.Next();
  EXPECT_TRUE(f.table.Eof());
  EXPECT_EQ(f.table.Cursor(), 2);
  EXPECT_EQ(f.table.Fields(0).AsFloat(), 2.0);
}

// The index search on its own, with records made by hand: binary search must agree with a
// plain scan for every present and absent number, and an index not known to be in order must
// still be searched correctly.
TEST(RowOrderIndex, FindAgreesWithScan) {
  std::vector<std::unique_ptr<std::byte[]>> blocks;
  auto make = [&](std::int32_t recordNo) {
    blocks.push_back(std::make_unique<std::byte[]>(TRecordLayout::kHeaderSize));
    record_header::Reset(blocks.back().get());
    record_header::Set(blocks.back().get(), TRecordLayout::kRecordNoOffset, recordNo);
    return blocks.back().get();
  };
  for (int count : {0, 1, 20, 21, 22, 33, 100}) {
    SCOPED_TRACE(count);
    TRowOrderIndex index;
    index.upToDate = true;
    for (int i = 0; i < count; ++i) index.entries.push_back(make(2 * i));  // even numbers
    for (int n = -1; n <= 2 * count; ++n)
      EXPECT_EQ(index.Find(n), n % 2 == 0 && n >= 0 && n < 2 * count ? n / 2 : -1);
  }
  TRowOrderIndex shuffled;
  for (int n : {30, 2, 17, 5, 9, 1, 0, 22, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 18, 19, 20})
    shuffled.entries.push_back(make(n));
  shuffled.upToDate = true;  // wrongly so: the scan after a failed binary search still finds it
  for (int i = 0; i < shuffled.Count(); ++i) {
    EXPECT_EQ(shuffled.Find(record_header::RecordNo(shuffled.entries[static_cast<size_t>(i)])), i);
  }
}

}  // namespace
}  // namespace plotvik::testing

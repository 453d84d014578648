#include "table/stored_records.h"

#include <gtest/gtest.h>

#include <optional>

#include "table/field.h"
#include "tests/table/table_fixture.h"

namespace plotvik {
namespace {

TEST(StoredRecords, InactiveTableHasNone) {
  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  EXPECT_EQ(TStoredRecords(table).Count(), 0);
}

// The line a load stopped at is still being inserted: it is no part of the run, and reading
// must leave it pending, neither posted nor cancelled.
TEST(StoredRecords, StoredValuesInOrderNullsMissingAPendingInsertLeftOut) {
  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
  table.Open();
  for (const double height : {12.5, 10.0}) {
    table.Append();
    table.Fields(2).SetAsFloat(height);
    table.Post();
  }
  table.Append();
  table.Fields(2).SetAsFloat(99.0);

  const TStoredRecords stored(table);
  ASSERT_EQ(stored.Count(), 2);
  EXPECT_EQ(stored.Value(0, 2), std::optional<double>(12.5));
  EXPECT_EQ(stored.Value(1, 2), std::optional<double>(10.0));
  EXPECT_EQ(stored.Value(0, 0), std::nullopt);
  EXPECT_EQ(table.State(), DataSetState::StateInsert);
  EXPECT_EQ(table.Fields(2).AsFloat(), 99.0);
}

}  // namespace
}  // namespace plotvik

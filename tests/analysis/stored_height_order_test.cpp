#include "analysis/stored_height_order.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <vector>

#include "analysis/sweep_records.h"
#include "platform/component.h"
#include "table/field.h"
#include "table/sweep_table.h"

namespace plotvik {
namespace {

class StoredHeightOrderTest : public ::testing::Test {
 protected:
  void Append(std::initializer_list<double> heights) {
    for (const double height : heights) {
      table_.Append();
      table_.Fields(sfHeight).SetAsFloat(height);
      table_.Fields(sfSWR).SetAsFloat(1.5);
      table_.Post();
    }
  }

  std::vector<int> Points() {
    const TStoredSweepRecords records(table_);
    const std::span<const int> points = order_.Points(table_, records, sfSWR);
    return {points.begin(), points.end()};
  }

  TComponent owner_{"Owner"};
  TMemTable& table_ = CreateSweepTable(owner_);
  TStoredHeightOrder order_;
};

// The order must follow the table whichever way its records change: appended ones merge in,
// a record rewritten in place moves, and a new run of more records is not the old one extended.
TEST_F(StoredHeightOrderTest, FollowsAppendsRewritesAndNewRuns) {
  table_.Open();
  Append({1, 2, 3});
  EXPECT_EQ(Points(), (std::vector<int>{0, 1, 2}));

  Append({1.5});
  EXPECT_EQ(Points(), (std::vector<int>{0, 3, 1, 2}));

  // Record 2 (height 3) becomes the lowest.
  table_.First();
  table_.Next();
  table_.Next();
  table_.Edit();
  table_.Fields(sfHeight).SetAsFloat(0.5);
  table_.Post();
  EXPECT_EQ(Points(), (std::vector<int>{2, 0, 3, 1}));

  // A new run with more records than the old one.
  table_.Close();
  table_.Open();
  Append({9, 8, 7, 6, 5});
  EXPECT_EQ(Points(), (std::vector<int>{4, 3, 2, 1, 0}));
}

}  // namespace
}  // namespace plotvik

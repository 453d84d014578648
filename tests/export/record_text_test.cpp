#include "export/record_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/table/table_fixture.h"

namespace plotvik {
namespace {

constexpr const char* kHeader = "Id\tVal\theight\tR\tjX\tSWR\tGa\tFB\tElevation\n";

// The loader's way of storing lines: each line fills its fields from the first on.
class RecordTextTest : public ::testing::Test {
 protected:
  void Load(const std::vector<std::vector<double>>& lines) {
    table.Open();
    for (const auto& line : lines) {
      table.Append();
      for (size_t i = 0; i < line.size(); ++i) {
        table.Fields(static_cast<int>(i)).SetValue(line[i]);
      }
      table.Post();
    }
  }

  TComponent owner{"Form1"};
  TMemTable& table = CreateSweepTable(owner);
};

TEST_F(RecordTextTest, ClosedTableGivesTheHeaderAlone) {
  EXPECT_EQ(RecordsAsText(table, '.'), kHeader);
}

TEST_F(RecordTextTest, RecordsInTableOrderShortestNumbersMissingFieldsEmpty) {
  // Heights out of order stay in the order they were stored; 0.1 + 0.2 needs all 17 digits.
  Load({{1, 0, 12.5, 50, -3.25, 1.5, 7.1, 20, 12},
        {2, 0, 10, 0.1 + 0.2, -0.0, 1e-300, -12345678.9},
        {3}});
  EXPECT_EQ(RecordsAsText(table, '.'),
            std::string(kHeader) +
                "1\t0\t12.5\t50\t-3.25\t1.5\t7.1\t20\t12\n"
                "2\t0\t10\t0.30000000000000004\t-0\t1e-300\t-12345678.9\t\t\n"
                "3\t\t\t\t\t\t\t\t\n");
}

TEST_F(RecordTextTest, NumbersTakeTheGivenDecimalSeparator) {
  Load({{1, 0, 9.75, 48.5, 0.125}});
  EXPECT_EQ(RecordsAsText(table, ','), std::string(kHeader) + "1\t0\t9,75\t48,5\t0,125\t\t\t\t\n");
}

// A copy while the charts follow the table must not move its cursor or tell them anything: a
// walk would end with a reload of every chart.
TEST_F(RecordTextTest, LeavesCursorAndFollowersAlone) {
  Load({{1, 0, 10}, {2, 0, 11}, {3, 0, 12}});
  table.First();
  table.Next();
  std::vector<std::string> log;
  testing::RecordingSource source(log);
  source.SetDataSet(&table);
  log.clear();

  RecordsAsText(table, '.');

  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_EQ(table.State(), DataSetState::StateBrowse);
  EXPECT_TRUE(log.empty()) << log.front();
}

}  // namespace
}  // namespace plotvik

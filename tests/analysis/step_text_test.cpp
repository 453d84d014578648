// The step cursor's tip against the check tool: every field of a record at the edges of the
// doubles reads in the tip exactly as plotvik-check prints it, as the file gave it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/step_cursor.h"
#include "import/sweep_file_loader.h"
#include "platform/component.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"
#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

// Whole numbers up to 2^53 with and without trailing zeros, the largest and smallest doubles,
// -0, a whole number beyond 2^53, and the digits only a round trip needs.
const std::string kExtremes =
    "1000000 100000 9007199254740992 -9007199254740992 1.7976931348623157e308 4.9e-324 -0 "
    "1e16 0.30000000000000004\n"
    "-1e6 1e21 2.2250738585072014e-308 -1e-7 12.34 120000000 123456789012 0.1\n";

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

TEST(StepTextAgainstCheckTool, EveryFieldAsTheToolPrintsIt) {
  testing::TempDir dir;
  const std::string file = dir.Write("extremes.txt", kExtremes);
  const testing::RunResult check = testing::RunTool("plotvik-check", {file});
  ASSERT_EQ(check.status, 0) << check.err;

  TComponent owner("Form1");
  TMemTable& table = CreateSweepTable(owner);
  TSweepFileLoader loader(table);
  TNamedFileUi ui(file);
  loader.actOpenFileExecute(ui);
  ASSERT_FALSE(ui.Warning());
  const TStoredSweepRecords records(table);

  const std::vector<std::string> lines = Split(check.out, '\n');
  ASSERT_EQ(lines.size(), 3u);  // two records and the empty rest after the last newline
  ASSERT_EQ(records.Count(), 2);
  const char* const labels[] = {"Id", "Val", "height", "R", "jX", "SWR", "Ga", "F/B", "Elevation"};
  for (int r = 0; r < records.Count(); ++r) {
    const std::vector<std::string> fields = Split(lines[static_cast<size_t>(r)], '\t');
    ASSERT_EQ(fields.size(), 9u);
    std::string expected;
    for (size_t i = 0; i < fields.size(); ++i) {
      if (fields[i] == "null") continue;
      if (!expected.empty()) expected += "  ";
      expected += std::string(labels[i]) + " " + fields[i];
    }
    EXPECT_EQ(StepText(records.Record(r), '.'), expected) << "record " << r;
  }
  EXPECT_EQ(StepText(records.Record(0), '.'),
            "Id 1000000  Val 100000  height 9007199254740992  R -9007199254740992  "
            "jX 1.7976931348623157e+308  SWR 5e-324  Ga -0  F/B 1e+16  "
            "Elevation 0.30000000000000004");
  EXPECT_EQ(StepText(records.Record(1), ','),
            "Id -1000000  Val 1e+21  height 2,2250738585072014e-308  R -1e-07  jX 12,34  "
            "SWR 120000000  Ga 123456789012  F/B 0,1");
}

}  // namespace
}  // namespace plotvik

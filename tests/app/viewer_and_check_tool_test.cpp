// The viewer loads a file as plotvik-check does, whether it opens the file or follows it: the
// same records and the same messages, also for files that are not plain sweeps on a disk.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tuple>

#include "app/form1.h"
#include "app_test_support.h"
#include "platform/number_text.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::InstallScriptedDialogs;
using testing::RunTool;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::TestApplication;

// The table's stored records as plotvik-check prints them.
std::string Records(TMemTable& table) {
  if (!table.Active()) return {};
  if (table.State() != DataSetState::StateBrowse) table.Cancel();
  std::string text;
  for (table.First(); !table.Eof(); table.Next()) {
    for (int i = 0; i < table.FieldCount(); ++i) {
      if (i > 0) text += '\t';
      const TField& field = table.Fields(i);
      text += field.IsNull() ? std::string("null") : ShortestNumberText(field.AsFloat());
    }
    text += '\n';
  }
  return text;
}

struct OddFile {
  const char* name;
  std::function<std::string(const TempDir&)> path;
};

const OddFile kOddFiles[] = {
    // Pseudo files report a size of 0 whatever they hold.
    {"SizeReadsAsZeroWithANumber", [](const TempDir&) { return "/proc/sys/kernel/pid_max"; }},
    {"SizeReadsAsZeroWithText", [](const TempDir&) { return "/proc/self/status"; }},
    {"FolderMissing",
     [](const TempDir& dir) { return (dir.Path() / "missing" / "sweep.txt").string(); }},
};

struct Way {
  const char* name;
  std::function<void(TForm1&, const std::string&)> load;
};

const Way kWays[] = {
    {"Opened", [](TForm1& form, const std::string& file) { form.OpenFile(file); }},
    {"Followed", [](TForm1& form, const std::string& file) { form.Follow(file); }},
};

void PrintTo(const OddFile& file, std::ostream* out) {
  *out << file.name;
}
void PrintTo(const Way& way, std::ostream* out) {
  *out << way.name;
}

class ViewerAndCheckTool : public ::testing::TestWithParam<std::tuple<OddFile, Way>> {};

TEST_P(ViewerAndCheckTool, LoadAFileAlike) {
  const auto& [file, way] = GetParam();
  TempDir dir;
  const std::string path = file.path(dir);
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TForm1 form(TestApplication());
  TestApplication().Guard([&] { way.load(form, path); });
  // The boxes' texts, one a line, as the tool writes its messages.
  std::string messages;
  for (const ScriptedDialogs::Message& message : dialogs.messages) messages += message.text + "\n";

  const testing::RunResult check = RunTool("plotvik-check", {"--", path});
  EXPECT_EQ(messages, check.err);
  EXPECT_EQ(Records(form.mtData), check.out);
}

INSTANTIATE_TEST_SUITE_P(App, ViewerAndCheckTool,
                         ::testing::Combine(::testing::ValuesIn(kOddFiles),
                                            ::testing::ValuesIn(kWays)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace plotvik

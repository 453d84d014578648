// Another program opening the shown file for writing (an editor saving it, the modelling program
// starting its next sweep) gets in while the viewer reads that file, on every path by which the
// viewer reads one: File > Open, F5, a reference by name, S and following.

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app/reference_view.h"
#include "app_test_support.h"
#include "chart/chart_series.h"
#include "chart/db_chart.h"
#include "platform/os_file.h"
#include "session/sweep_session.h"
#include "table/mem_table.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::TestApplication;

// A writer's open without waiting: refused (EWOULDBLOCK) while a read lease stands in its way,
// which begins the lease's break as a waiting open would.
bool Knock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool LeasesGranted(const std::string& path) {
  OsFile probe;
  return probe.OpenForReading(path) == 0 && probe.Leased();
}

// The reference run's table, through the series that draws it on the first page.
TMemTable& ReferenceTable(TForm1& form) {
  TDBChart& chart = PageChart(form, 0);
  for (int s = 0; s < chart.SeriesCount(); ++s) {
    if (IsReferenceSeries(chart.Series(s))) {
      return dynamic_cast<TMemTable&>(*chart.Series(s).DataSource());
    }
  }
  throw std::logic_error("no reference on the page");
}

struct ViewerPath {
  const char* name;
  // Whether the path reads under a read lease, so that a writer meets it.
  bool leased;
  // Gets the window ready for the path (nothing is watched meanwhile) and returns the table the
  // path fills.
  std::function<TMemTable&(TForm1&, const std::string& file)> prepare;
  // Runs the path itself.
  std::function<void(TForm1&, const std::string& file)> run;
};

TMemTable& Run(TForm1& form, const std::string&) {
  return form.mtData;
}

TMemTable& Loaded(TForm1& form, const std::string& file) {
  form.OpenFile(file);
  return form.mtData;
}

TMemTable& LoadedAndKept(TForm1& form, const std::string& file) {
  form.OpenFile(file);
  form.Session().KeepReference();
  return ReferenceTable(form);
}

const ViewerPath kPaths[] = {
    {"Open", true, Run, [](TForm1& form, const std::string& file) { form.OpenFile(file); }},
    {"F5", true, Loaded, [](TForm1& form, const std::string&) { form.Reload(); }},
    {"Reference", true, LoadedAndKept,
     [](TForm1& form, const std::string& file) { form.LoadReference(file); }},
    {"KeepReference", false, LoadedAndKept,
     [](TForm1& form, const std::string&) { form.Session().KeepReference(); }},
    {"Follow", false, Run, [](TForm1& form, const std::string& file) { form.Follow(file); }},
};

void PrintTo(const ViewerPath& path, std::ostream* out) {
  *out << path.name;
}

class WriterWhileTheViewerReads : public ::testing::TestWithParam<ViewerPath> {};

// A writer knocks at every record the path posts, from the first on: it must be let in before
// the last, while the file is still being read. Nothing is written, so the run loads whole.
TEST_P(WriterWhileTheViewerReads, IsLetInBeforeTheReadingEnds) {
  TempDir dir;
  // More than one block of the reader: the reader asks the system again within the load.
  std::string text;
  int lines = 0;
  while (text.size() <= 2 * OsFile::kReadAheadSize) {
    ++lines;
    text += std::to_string(lines) + " 1 " + std::to_string(lines) + ".5\n";
  }
  const std::string file = dir.Write("sweep.txt", text);
  if (GetParam().leased && !LeasesGranted(file)) {
    GTEST_SKIP() << "this file system grants no read lease";
  }
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  TForm1 form(TestApplication());
  TMemTable& table = GetParam().prepare(form, file);

  int posts = 0;
  bool refusedAtFirst = false;
  std::optional<int> letInAt;
  table.AfterPost = [&](TDataSet&) {
    ++posts;
    if (letInAt) return;
    if (Knock(file)) {
      letInAt = posts;
    } else if (posts == 1) {
      refusedAtFirst = true;
    }
  };
  GetParam().run(form, file);
  table.AfterPost = nullptr;

  EXPECT_EQ(posts, lines);
  EXPECT_EQ(table.RecordCount(), lines);
  EXPECT_TRUE(dialogs.messages.empty());
  ASSERT_TRUE(letInAt.has_value()) << "the writer waited until the reading had ended";
  EXPECT_LT(*letInAt, lines);
  // The lease that reading holds while no writer comes still refuses the first knock.
  EXPECT_EQ(refusedAtFirst, GetParam().leased);
}

INSTANTIATE_TEST_SUITE_P(App, WriterWhileTheViewerReads, ::testing::ValuesIn(kPaths),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik

// Following a file in the window: the real watch on the file and its folder, the reader and the
// loader's steps, driven through the message loop as the running program drives them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/file_following.h"
#include "app/form1.h"
#include "app/step_cursor_view.h"
#include "app_test_support.h"
#include "chart/chart_axis.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "platform/exceptions.h"
#include "platform/gui/action_list.h"
#include "raster/bitmap.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::TestApplication;

using Frame = std::vector<TRGB>;

class Following : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_ = &InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
    file_ = (dir_.Path() / "sweep.txt").string();
  }

  void Append(const std::string& bytes) {
    std::ofstream(file_, std::ios::binary | std::ios::app) << bytes;
  }

  std::vector<double> Heights() const { return testing::Heights(form_->mtData); }

  // Runs the message loop until the table holds `heights` (or a generous time has passed).
  bool WaitForHeights(const std::vector<double>& heights) {
    return QTest::qWaitFor([&] { return Heights() == heights; }, 10000);
  }

  Frame Pixels(int page) { return testing::PagePixels(*form_, page); }

  std::string Caption(int lines) const {
    return TForm1::kCaption + "  [слежение за файлом, строк: " + std::to_string(lines) + "]";
  }

  TempDir dir_;
  std::string file_;
  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(Following, NewLinesArriveAsTheFileGrowsAndTheCaptionCountsThem) {
  Append("1 0 10\n2 0 11\n3 0 1");
  form_->Follow(file_);
  EXPECT_EQ(Heights(), (std::vector<double>{10, 11}));
  EXPECT_EQ(form_->Caption(), Caption(2));
  EXPECT_EQ(form_->CurrentFile(), file_);

  // The line's end arrives with the next write.
  Append("2\n4 0 13\n");
  ASSERT_TRUE(WaitForHeights({10, 11, 12, 13}));
  EXPECT_EQ(form_->Caption(), Caption(4));
  // A last line without its end is taken once the file has been quiet for two seconds.
  Append("5 0 14");
  ASSERT_TRUE(WaitForHeights({10, 11, 12, 13, 14}));
  EXPECT_EQ(form_->Caption(), Caption(5));
  EXPECT_TRUE(dialogs_->messages.empty());

  // L ends following: the caption is as without it and the file's changes stay unseen.
  form_->ToggleFollowing();
  EXPECT_EQ(form_->Caption(), TForm1::kCaption);
  Append("\n6 0 15\n");
  QTest::qWait(500);
  EXPECT_EQ(Heights().size(), 5u);
  // L again follows the current file, read as a new run.
  form_->ToggleFollowing();
  EXPECT_EQ(Heights(), (std::vector<double>{10, 11, 12, 13, 14, 15}));
}

TEST_F(Following, AFileRenamedOverOrMadeAgainIsANewRun) {
  Append("1 0 10\n2 0 11\n");
  form_->Follow(file_);
  const std::string other = (dir_.Path() / "sweep.new").string();
  std::ofstream(other, std::ios::binary) << "1 0 20\n";
  std::filesystem::rename(other, file_);
  ASSERT_TRUE(WaitForHeights({20}));

  // Gone: the charts keep what they show; back: read from its start.
  std::filesystem::remove(file_);
  QTest::qWait(500);
  EXPECT_EQ(Heights(), (std::vector<double>{20}));
  EXPECT_EQ(PageSeries(*form_, 0).Count(), 1);
  Append("1 0 30\n1 0 31\n");
  ASSERT_TRUE(WaitForHeights({30, 31}));
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(Following, ABadLineWarnsOnceAndTheLinesAfterItStillCount) {
  Append("1 0 10\nbad\n");
  form_->Follow(file_);
  EXPECT_EQ(Heights(), (std::vector<double>{10}));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Invalid file format");
  Append("1 0 11\nworse\n1 0 12\n");
  ASSERT_TRUE(WaitForHeights({10, 11, 12}));
  EXPECT_EQ(dialogs_->messages.size(), 1u) << "once for the run";
  EXPECT_EQ(form_->Caption(), Caption(5));
  // A replaced file is a new run, with a warning of its own.
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << "oops\n";
  ASSERT_TRUE(WaitForHeights({}));
  EXPECT_EQ(dialogs_->messages.size(), 2u);
}

// A pause in the middle of a line: what was there after two quiet seconds became a record,
// and what the line becomes replaces it in place. The run goes on: no second box for the old
// bad line, the step cursor stays on its record.
TEST_F(Following, ALineThatGoesOnAfterAPauseReplacesItsRecord) {
  Append("1 0 10 50 0 2\nbad\n1 0 12 50 0 2\n");
  form_->Follow(file_);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  Append("1 0 13 50 0 1");
  ASSERT_TRUE(WaitForHeights({10, 12, 13}));
  // The highest: the provisional record.
  form_->StepCursor().Last();
  ASSERT_EQ(form_->StepCursor().Record(), 2);
  const std::uint64_t run = form_->Loader().RunCount();

  Append(".5 7\n");
  TMemTable& table = form_->mtData;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        table.Last();
        return !table.Fields(6).IsNull();
      },
      10000));
  EXPECT_EQ(Heights(), (std::vector<double>{10, 12, 13}));
  EXPECT_EQ(table.Fields(5).AsFloat(), 1.5);
  EXPECT_EQ(form_->Caption(), Caption(4));
  EXPECT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(form_->StepCursor().Record(), 2);
  EXPECT_EQ(form_->Loader().RunCount(), run);
  Append("1 0 15 50 0 2\n");
  ASSERT_TRUE(WaitForHeights({10, 12, 13, 15}));
  EXPECT_EQ(form_->StepCursor().Record(), 2);
}

// A record cannot be taken back: a provisional line that becomes a bad one has the file read
// again, and the run's box is not shown twice.
TEST_F(Following, ALineThatGoesBadAfterAPauseHasTheFileReadAgain) {
  Append("1 0 10\nbad\n");
  form_->Follow(file_);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  Append("1 0 1");
  ASSERT_TRUE(WaitForHeights({10, 1}));
  Append("x\n1 0 13\n");
  ASSERT_TRUE(WaitForHeights({10, 13}));
  EXPECT_EQ(form_->Caption(), Caption(4));
  EXPECT_EQ(dialogs_->messages.size(), 1u);
}

TEST_F(Following, AZoomedChartKeepsItsViewWhileLinesOutsideItArrive) {
  std::string lines;
  for (int i = 0; i < 20; ++i) {
    lines += "1 0 " + std::to_string(10 + i) + " 50 0 " + std::to_string(1 + i % 3) + "\n";
  }
  Append(lines);
  form_->Follow(file_);
  form_->Show();
  TDBChart& chart = PageChart(*form_, 0);
  Pixels(0);
  testing::ZoomIntoMiddle(chart);
  ASSERT_FALSE(chart.BottomAxis().AutomaticMinimum());
  const Frame zoomed = Pixels(0);
  const double rightEndBefore = PageChart(*form_, 1).BottomAxis().Maximum();

  Append("1 0 100 60 0 2\n1 0 101 70 0 3\n");
  std::vector<double> expected;
  for (int i = 0; i < 20; ++i) expected.push_back(10 + i);
  expected.push_back(100);
  expected.push_back(101);
  ASSERT_TRUE(WaitForHeights(expected));
  EXPECT_EQ(Pixels(0), zoomed);
  // A chart at its automatic ranges grows with the data.
  Pixels(1);
  EXPECT_GE(PageChart(*form_, 1).BottomAxis().Maximum(), 101);
  EXPECT_LT(rightEndBefore, 101);
}

TEST_F(Following, AFileNotThereIsReportedAndTakenWhenItComes) {
  EXPECT_THROW(form_->Follow(file_), EInOutError);
  EXPECT_TRUE(form_->Following().Active());
  Append("1 0 10\n");
  ASSERT_TRUE(WaitForHeights({10}));
}

// A folder that cannot be read cannot be watched: the file that comes into it is found by a look
// on a timer. Run as an unprivileged user as well (tests/CMakeLists.txt).
TEST_F(Following, AFileInAFolderThatCannotBeWatchedIsFoundOnATimer) {
  if (::geteuid() == 0) GTEST_SKIP() << "root watches every folder";
  namespace fs = std::filesystem;
  const fs::path locked = dir_.Path() / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_write | fs::perms::owner_exec);
  const std::string file = (locked / "sweep.txt").string();
  EXPECT_THROW(form_->Follow(file), EInOutError);
  std::ofstream(file, std::ios::binary) << "1 0 10\n";
  EXPECT_TRUE(WaitForHeights({10}));
  fs::permissions(locked, fs::perms::owner_all);
}

TEST_F(Following, FileOpenEndsFollowingButACancelledDialogDoesNot) {
  Append("1 0 10\n");
  form_->Follow(file_);
  dialogs_->answers.push_back(std::nullopt);
  form_->actOpenFile.Execute();
  EXPECT_TRUE(form_->Following().Active());
  dialogs_->answers.push_back(file_);
  form_->actOpenFile.Execute();
  EXPECT_FALSE(form_->Following().Active());
  EXPECT_EQ(form_->Caption(), TForm1::kCaption);
}

// Following goes on whatever happens on the way to the file: its folder made again or renamed
// away and back, a link to it pointed into another folder, a name that is not UTF-8.
struct WayCase {
  const char* name;
  // The name followed, below the test's folder.
  std::string followed;
  // Changes the way; returns the file that the name then stands for.
  std::string (*change)(const std::filesystem::path& dir);
  // The heights the changed way gives before the new line.
  std::vector<double> before;
  friend void PrintTo(const WayCase& c, std::ostream* os) { *os << c.name; }
};

class FollowingTheWay : public Following, public ::testing::WithParamInterface<WayCase> {};

TEST_P(FollowingTheWay, NewLinesStillArrive) {
  namespace fs = std::filesystem;
  const fs::path dir = dir_.Path();
  fs::create_directories(dir / "d");
  fs::create_directories(dir / "e");
  std::ofstream(dir / "d" / "sweep.txt", std::ios::binary) << "1 0 10\n";
  std::ofstream(dir / "d" / "caf\xe9.txt", std::ios::binary) << "1 0 10\n";
  std::ofstream(dir / "e" / "other.txt", std::ios::binary) << "1 0 20\n";
  fs::create_symlink("d/sweep.txt", dir / "link");
  form_->Follow((dir / GetParam().followed).string());
  ASSERT_EQ(Heights(), (std::vector<double>{10}));

  const std::string file = GetParam().change(dir);
  ASSERT_TRUE(WaitForHeights(GetParam().before));
  // Past the time a change takes to be read, so that what follows is a write of its own.
  QTest::qWait(300);
  std::ofstream(file, std::ios::binary | std::ios::app) << "1 0 30\n";
  std::vector<double> after = GetParam().before;
  after.push_back(30);
  EXPECT_TRUE(WaitForHeights(after));
  EXPECT_TRUE(dialogs_->messages.empty());
}

const WayCase kWayCases[] = {
    {"FolderMadeAgain",
     "d/sweep.txt",
     [](const std::filesystem::path& dir) {
       std::filesystem::remove_all(dir / "d");
       QTest::qWait(300);
       std::filesystem::create_directory(dir / "d");
       std::ofstream(dir / "d" / "sweep.txt", std::ios::binary) << "1 0 11\n";
       return (dir / "d" / "sweep.txt").string();
     },
     {11}},
    {"FolderRenamedAwayAndBack",
     "d/sweep.txt",
     [](const std::filesystem::path& dir) {
       std::filesystem::rename(dir / "d", dir / "away");
       QTest::qWait(300);
       std::filesystem::rename(dir / "away", dir / "d");
       return (dir / "d" / "sweep.txt").string();
     },
     {10}},
    {"LinkPointedIntoAnotherFolder",
     "link",
     [](const std::filesystem::path& dir) {
       std::filesystem::create_symlink("e/other.txt", dir / "link.new");
       std::filesystem::rename(dir / "link.new", dir / "link");
       return (dir / "e" / "other.txt").string();
     },
     {20}},
    {"NameNotInUtf8",
     "d/caf\xe9.txt",
     [](const std::filesystem::path& dir) { return (dir / "d" / "caf\xe9.txt").string(); },
     {10}},
};

INSTANTIATE_TEST_SUITE_P(Ways, FollowingTheWay, ::testing::ValuesIn(kWayCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvik

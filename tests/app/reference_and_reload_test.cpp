// F5 reloading the current file, and the reference run: S keeps the shown run, R hides it, a
// reference given by name, and the render tool drawing what the window draws.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app/page_tips.h"
#include "app/reference_view.h"
#include "app_test_support.h"
#include "chart/chart_axis.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "platform/exceptions.h"
#include "platform/gui/action_list.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/open_dialog.h"
#include "platform/gui/page_control.h"
#include "raster/bitmap.h"
#include "session/sweep_session.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "tests/import/run_tool.h"
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::TestApplication;

using Frame = std::vector<TRGB>;

class ReferenceAndReload : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_ = &InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
  }

  // File > Open with `path` typed into the dialog.
  void Load(const std::string& path) {
    dialogs_->answers.push_back(path);
    form_->actOpenFile.Execute();
  }

  std::vector<double> Heights() const { return testing::Heights(form_->mtData); }

  static Frame Pixels(TForm1& form, int page) { return testing::PagePixels(form, page); }

  // Every page of a window of its own with `file` loaded and nothing else done.
  std::vector<Frame> PagesOf(const std::string& file) {
    TForm1 other(TestApplication());
    dialogs_->answers.push_back(file);
    other.actOpenFile.Execute();
    std::vector<Frame> pages;
    for (int page = 0; page < kChartPageCount; ++page) pages.push_back(Pixels(other, page));
    return pages;
  }

  // Shows the window and presses `key` on the current page's chart, as a user would.
  void Press(Qt::Key key) {
    if (!form_->Visible()) {
      form_->Show();
      form_->NativeWindow().activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&form_->NativeWindow()));
    }
    QWidget* chart = form_->PC.ActivePage()->NativePage().Client();
    ASSERT_NE(chart, nullptr);
    QTest::keyClick(chart, key);
  }

  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(ReferenceAndReload, F5LoadsTheCurrentFileAgainAsFileOpenWould) {
  // Before any file was chosen F5 does nothing at all.
  Press(Qt::Key_F5);
  EXPECT_TRUE(dialogs_->offered.empty());
  EXPECT_TRUE(dialogs_->messages.empty());
  EXPECT_FALSE(form_->mtData.Active());

  TempDir dir;
  const std::string file = dir.Write("sweep.txt", "1 0 10\n2 0 11\n");
  Load(file);
  ASSERT_EQ(Heights(), (std::vector<double>{10, 11}));
  dir.Write("sweep.txt", "1 0 20\n2 0 21\n3 0 22\n");
  Press(Qt::Key_F5);
  EXPECT_EQ(Heights(), (std::vector<double>{20, 21, 22}));
  EXPECT_EQ(dialogs_->offered.size(), 1u) << "F5 asks no dialog";
  EXPECT_EQ(form_->OD.FileName(), file);

  // A file that cannot be opened leaves the current run, and F5 stays on the current file.
  EXPECT_THROW(Load((dir.Path() / "missing.txt").string()), EInOutError);
  Press(Qt::Key_F5);
  EXPECT_TRUE(dialogs_->messages.empty());
  EXPECT_EQ(form_->CurrentFile(), file);

  // Its warnings and errors are those of File > Open.
  dir.Write("sweep.txt", "1 0 30\nx\n1 0 31\n");
  Press(Qt::Key_F5);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Invalid file format");
  EXPECT_EQ(form_->mtData.State(), DataSetState::StateInsert);
  std::filesystem::remove(file);
  Press(Qt::Key_F5);
  ASSERT_EQ(dialogs_->messages.size(), 2u);
  EXPECT_EQ(dialogs_->messages[1].text, "File not found.");
  EXPECT_EQ(PageSeries(*form_, 0).Count(), 1);
}

TEST_F(ReferenceAndReload, SKeepsTheRunUnderTheNextOneAndRHidesIt) {
  const std::vector<Frame> yagiAlone = PagesOf(Fixture("sample_yagi.txt"));
  Load(Fixture("sample_dipole.txt"));
  const int dipolePoints = PageSeries(*form_, 0).Count();
  Press(Qt::Key_S);
  Load(Fixture("sample_yagi.txt"));
  ASSERT_TRUE(form_->Session().ReferencePresent());

  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(page);
    TDBChart& chart = PageChart(*form_, page);
    ASSERT_EQ(chart.SeriesCount(), 2);
    // Drawn first, so under the current run.
    const TChartSeries& reference = chart.Series(0);
    const TChartSeries& own = chart.Series(1);
    EXPECT_TRUE(IsReferenceSeries(reference));
    EXPECT_EQ(&own, &PageSeries(*form_, page));
    EXPECT_EQ(reference.Count(), dipolePoints);
    EXPECT_EQ(reference.SeriesColor(), kReferenceColor);
    EXPECT_NE(Pixels(*form_, page), yagiAlone[page]);
    // The automatic ranges take both runs in.
    const TChartAxis& bottom = chart.BottomAxis();
    EXPECT_LE(bottom.Minimum(), std::min(reference.XMinimum(), own.XMinimum()));
    EXPECT_GE(bottom.Maximum(), std::max(reference.XMaximum(), own.XMaximum()));
    const TChartAxis& left = chart.LeftAxis();
    EXPECT_LE(left.Minimum(), std::min(reference.YMinimum(), own.YMinimum()));
    EXPECT_GE(left.Maximum(), std::max(reference.YMaximum(), own.YMaximum()));
  }

  // Hidden, every chart is exactly as without a reference; shown again, it is back.
  Press(Qt::Key_R);
  for (int page = 0; page < kChartPageCount; ++page) {
    EXPECT_EQ(Pixels(*form_, page), yagiAlone[page]) << page;
  }
  Press(Qt::Key_R);
  EXPECT_NE(Pixels(*form_, 0), yagiAlone[0]);

  // A new run keeps it; S replaces it.
  Load(Fixture("sample_dipole.txt"));
  EXPECT_EQ(PageChart(*form_, 0).Series(0).Count(), dipolePoints);
  Load(Fixture("app_three_sweeps.txt"));
  Press(Qt::Key_S);
  EXPECT_EQ(PageChart(*form_, 0).Series(0).Count(), PageSeries(*form_, 0).Count());
  EXPECT_EQ(PageChart(*form_, 0).SeriesCount(), 2);
}

TEST_F(ReferenceAndReload, KeepingARunStoppedAtABadLineLeavesTheRunAsItWas) {
  Load(Fixture("app_bad_third_line.txt"));
  ASSERT_EQ(form_->mtData.State(), DataSetState::StateInsert);
  const int stored = PageSeries(*form_, 0).Count();
  form_->Session().KeepReference();
  EXPECT_EQ(form_->mtData.State(), DataSetState::StateInsert);
  EXPECT_EQ(PageSeries(*form_, 0).Count(), stored);
  EXPECT_EQ(PageChart(*form_, 0).Series(0).Count(), stored);
}

TEST_F(ReferenceAndReload, NothingToKeepOrShowWithoutARun) {
  const Frame empty = Pixels(*form_, 0);
  Press(Qt::Key_S);
  Press(Qt::Key_R);
  EXPECT_FALSE(form_->Session().ReferencePresent());
  EXPECT_EQ(PageChart(*form_, 0).SeriesCount(), 1);
  EXPECT_EQ(Pixels(*form_, 0), empty);
}

TEST_F(ReferenceAndReload, AReferenceThatCannotBeOpenedIsReportedAndLeavesNone) {
  EXPECT_THROW(form_->LoadReference(Fixture("no_such_sweep.txt")), EInOutError);
  EXPECT_FALSE(form_->Session().ReferencePresent());

  // A bad line warns, as File > Open does, and the records before it make the reference.
  form_->LoadReference(Fixture("app_bad_third_line.txt"));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Invalid file format");
  EXPECT_TRUE(form_->Session().ReferencePresent());
  EXPECT_FALSE(form_->mtData.Active()) << "the current run is not touched";
  EXPECT_TRUE(dialogs_->offered.empty());
}

TEST_F(ReferenceAndReload, TheTipSaysWhetherAPointIsTheReferences) {
  form_->LoadReference(Fixture("sample_dipole.txt"));
  Load(Fixture("sample_yagi.txt"));
  TDBChart& chart = PageChart(*form_, 0);
  chart.PaintWindow();
  const TChartSeries& reference = chart.Series(0);
  const TChartSeries& own = chart.Series(1);
  auto clearOf = [](const TChartSeries& series, int x, int y) {
    for (int i = 0; i < series.Count(); ++i) {
      if (std::abs(series.CalcXPos(i) - x) <= 8 && std::abs(series.CalcYPos(i) - y) <= 8) {
        return false;
      }
    }
    return true;
  };
  int checked = 0;
  for (int i = 0; i < reference.Count(); ++i) {
    const int x = reference.CalcXPos(i);
    const int y = reference.CalcYPos(i);
    if (!clearOf(own, x, y) || !chart.ChartRect().Contains(x, y)) continue;
    const auto tip = PageHoverText(chart, 0, x, y);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text.rfind("эталон: height ", 0), 0u) << tip->text;
    ++checked;
  }
  EXPECT_GT(checked, 0);
  for (int i = 0; i < own.Count(); ++i) {
    const int x = own.CalcXPos(i);
    const int y = own.CalcYPos(i);
    if (!clearOf(reference, x, y) || !chart.ChartRect().Contains(x, y)) continue;
    const auto tip = PageHoverText(chart, 0, x, y);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text.rfind("height ", 0), 0u) << tip->text;
  }
}

TEST_F(ReferenceAndReload, WhereBothRunsMeetTheTipReadsTheCurrentOne) {
  Load(Fixture("sample_yagi.txt"));
  form_->Session().KeepReference();
  TDBChart& chart = PageChart(*form_, 0);
  chart.PaintWindow();
  const TChartSeries& own = PageSeries(*form_, 0);
  const auto tip = PageHoverText(chart, 0, own.CalcXPos(10), own.CalcYPos(10));
  ASSERT_TRUE(tip);
  EXPECT_EQ(tip->text.rfind("height ", 0), 0u) << tip->text;
}

TEST(ReferenceRenderTool, DrawsWhatTheWindowDrawsWithTheSameReference) {
  TempDir dir;
  const std::string reference = Fixture("sample_dipole.txt");
  const std::string file = Fixture("sample_yagi.txt");
  const testing::RunResult r =
      testing::RunTool("plotvik-render", {"--ref", reference, file, dir.Path().string()});
  ASSERT_EQ(r.status, 0) << r.err;

  InstallScriptedDialogs().answers.push_back(file);
  TForm1 form(TestApplication());
  form.LoadReference(reference);
  form.actOpenFile.Execute();
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].imageFile);
    TDBChart& chart = PageChart(form, page);
    chart.PaintWindow();
    const TBitmap& window = chart.WindowImage();
    const QImage picture(
        QString::fromStdString((dir.Path() / kChartPages[page].imageFile).string()));
    ASSERT_EQ(picture.width(), window.Width());
    ASSERT_EQ(picture.height(), window.Height());
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        differing += (picture.pixel(x, y) | 0xFF000000u) != window.Row(y)[x];
      }
    }
    EXPECT_EQ(differing, 0);
  }

  const testing::RunResult missing = testing::RunTool(
      "plotvik-render", {"--ref", Fixture("no_such_sweep.txt"), file, dir.Path().string()});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("File not found."), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace plotvik

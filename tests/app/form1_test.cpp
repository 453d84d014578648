#include "app/form1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "platform/gui/action_list.h"
#include "platform/gui/main_menu.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/open_dialog.h"
#include "table/data_source.h"
#include "table/field.h"
#include "table/mem_table.h"
#include "tests/support/wheel.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TestApplication;

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_ = &InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
  }

  // The entries of the File menu as the menu bar shows them.
  QList<QAction*> FileMenuEntries() const {
    const QList<QAction*> top = form_->NativeWindow().menuBar()->actions();
    EXPECT_EQ(top.size(), 1);
    return top.front()->menu()->actions();
  }

  // Chooses File > Open / File > Exit the way the menu bar does.
  void ChooseOpen() { FileMenuEntries().at(0)->trigger(); }
  void ChooseExit() { FileMenuEntries().at(2)->trigger(); }

  std::vector<double> Heights() const { return testing::Heights(form_->mtData); }

  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(Form1Test, StartsAsDesignedOnTheFirstPageWithTheTableClosed) {
  TForm1& form = *form_;
  EXPECT_EQ(form.Caption(),
            "Plotvik (by Tarnek)" + std::string(28, ' ') + "Русская версия 0.1 Vorlis-Ensmo");
  EXPECT_EQ(form.FontPixelSize(), 11);

  const char* captions[] = {"КСВ", "R", "jX", "Усиление Ga", "F/B", "Зенитный угол"};
  const char* names[] = {"tsSWR", "tsR", "tsjX", "tsGain", "tsFB", "tsElevation"};
  ASSERT_EQ(form.PC.PageCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(form.PC.Pages(i).Caption(), captions[i]);
    EXPECT_EQ(form.PC.Pages(i).Name(), names[i]);
    EXPECT_EQ(form.PC.Pages(i).ImageIndex(), i);
  }
  EXPECT_EQ(&form.PC.Pages(0), &form.tsSWR);
  EXPECT_EQ(&form.PC.Pages(5), &form.tsElevation);
  EXPECT_EQ(form.PC.ActivePageIndex(), 0);

  EXPECT_FALSE(form.mtData.Active());
  EXPECT_EQ(form.dsData.DataSet(), &form.mtData);
  EXPECT_FALSE(form.dsData.AutoEdit());
  EXPECT_EQ(form.OD.FileName(), "");

  // One menu, entries taken from the actions, a separator, no shortcut keys anywhere.
  EXPECT_EQ(form.NativeWindow().menuBar()->actions().front()->text(), QString("&Файл"));
  const QList<QAction*> entries = FileMenuEntries();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0]->text(), QString("&Открыть"));
  EXPECT_TRUE(entries[1]->isSeparator());
  EXPECT_EQ(entries[2]->text(), QString("В&ыход"));
  for (QAction* entry : entries) {
    EXPECT_TRUE(entry->shortcut().isEmpty());
    EXPECT_TRUE(entry->isEnabled());
  }
  EXPECT_EQ(form.Open1.Action(), &form.actOpenFile);
  EXPECT_EQ(form.Exit1.Action(), &form.actExit);

  // Shown at the designed place, every page has the designed client area.
  form.Show();
  EXPECT_EQ(form.Left(), TForm1::kDesignedLeft);
  EXPECT_EQ(form.Top(), TForm1::kDesignedTop);
  for (int i = 0; i < 6; ++i) {
    form.PC.SetActivePageIndex(i);
    QApplication::processEvents();
    EXPECT_EQ(form.PC.Pages(i).ClientWidth(), 623) << "page " << i;
    EXPECT_EQ(form.PC.Pages(i).ClientHeight(), 379) << "page " << i;
  }

  // Resized, the window takes the pages with it.
  form.SetClientSize(form.ClientWidth() + 100, form.ClientHeight() + 50);
  QApplication::processEvents();
  EXPECT_EQ(form.PC.ActivePage()->ClientWidth(), 723);
  EXPECT_EQ(form.PC.ActivePage()->ClientHeight(), 429);
}

TEST_F(Form1Test, OpenLoadsTheChosenFileReplacesTheLastAndOffersItAgain) {
  const std::string first = Fixture("app_three_sweeps.txt");
  const std::string second = Fixture("app_two_sweeps.txt");
  dialogs_->answers = {first, second};

  ChooseOpen();
  EXPECT_EQ(Heights(), (std::vector<double>{4.0, 4.72, 5.45}));
  EXPECT_EQ(form_->mtData.FieldByName("Elevation").AsFloat(), 60.5);

  ChooseOpen();
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));

  EXPECT_EQ(dialogs_->offered, (std::vector<std::string>{"", first}));
  EXPECT_EQ(form_->OD.FileName(), second);
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(Form1Test, FailedLoadsAndCancelKeepWhatIsLoaded) {
  dialogs_->answers = {Fixture("app_three_sweeps.txt"), Fixture("no_such_sweep.txt"),
                       Fixture("app_bad_third_line.txt"), std::nullopt,
                       Fixture("app_two_sweeps.txt")};
  ChooseOpen();
  ASSERT_EQ(Heights().size(), 3u);

  // A missing file: the default error box, captioned with the title; the table untouched.
  ChooseOpen();
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].type, TMsgDlgType::mtError);
  EXPECT_EQ(dialogs_->messages[0].caption, TestApplication().Title());
  EXPECT_EQ(dialogs_->messages[0].text, "File not found.");
  EXPECT_EQ(Heights(), (std::vector<double>{4.0, 4.72, 5.45}));

  // A bad third line: the warning; the two lines before it are loaded, the third pending.
  ChooseOpen();
  ASSERT_EQ(dialogs_->messages.size(), 2u);
  EXPECT_EQ(dialogs_->messages[1].type, TMsgDlgType::mtWarning);
  EXPECT_EQ(dialogs_->messages[1].caption, "Warning");
  EXPECT_EQ(dialogs_->messages[1].text, "Invalid file format");
  EXPECT_EQ(form_->mtData.RecordCount(), 2);
  EXPECT_EQ(form_->mtData.State(), DataSetState::StateInsert);

  // Cancelling now changes nothing, the pending record included.
  ChooseOpen();
  EXPECT_EQ(dialogs_->messages.size(), 2u);
  EXPECT_EQ(form_->mtData.RecordCount(), 2);
  EXPECT_EQ(form_->mtData.State(), DataSetState::StateInsert);
  EXPECT_EQ(form_->OD.FileName(), Fixture("app_bad_third_line.txt"));

  // The next load drops the pending record.
  ChooseOpen();
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  EXPECT_EQ(dialogs_->messages.size(), 2u);
}

struct PageKey {
  int start;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  bool toPageClient;  // sent to the page's content instead of the tabs themselves
  int expected;
};

TEST_F(Form1Test, TabsAndCtrlTabSwitchPagesWrappingAround) {
  form_->Show();
  const PageKey cases[] = {
      {5, Qt::Key_Tab, Qt::ControlModifier, true, 0},
      {0, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, false, 5},
      {2, Qt::Key_Tab, Qt::ControlModifier, false, 3},
      {3, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, true, 2},
  };
  for (const PageKey& c : cases) {
    form_->PC.SetActivePageIndex(c.start);
    QWidget* target = c.toPageClient ? form_->PC.Pages(c.start).NativePage().Client()
                                     : static_cast<QWidget*>(&form_->PC.NativeWidget());
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, c.key, c.modifiers);
    EXPECT_EQ(form_->PC.ActivePageIndex(), c.expected) << "from page " << c.start;
  }

  QTabBar* tabs = form_->PC.NativeWidget().tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(4).center());
  EXPECT_EQ(form_->PC.ActivePageIndex(), 4);
  EXPECT_EQ(form_->PC.ActivePage(), &form_->tsFB);

  // The wheel over the tabs turns no page, either way.
  for (const int notches : {1, -1, 3, -3}) {
    testing::TurnWheel(*tabs, tabs->tabRect(2).center(), notches);
    EXPECT_EQ(form_->PC.ActivePageIndex(), 4) << notches;
  }
}

TEST_F(Form1Test, AKeyOfTheWindowRunsItsCommandAsTheMenuDoes) {
  int runs = 0;
  form_->AddKey("F9", [&runs] { ++runs; });
  form_->AddKey("Ctrl+Shift+F9", [] { throw EInOutError(2, "File not found"); });
  // Ctrl+Tab belongs to the pages until the window takes it for a key of its own.
  form_->AddKey("Ctrl+Tab", [&runs] { runs += 10; });
  form_->Show();
  QWidget& window = form_->NativeWindow();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QWidget* chart = form_->PC.Pages(0).NativePage().Client();
  ASSERT_NE(chart, nullptr);

  QTest::keyClick(chart, Qt::Key_F9);
  EXPECT_EQ(runs, 1);
  QTest::keyClick(chart, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(runs, 11);
  EXPECT_EQ(form_->PC.ActivePageIndex(), 0);
  // What the command throws ends in the error box, as from a menu entry; the program goes on.
  QTest::keyClick(chart, Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "File not found.");
  QTest::keyClick(chart, Qt::Key_F9);
  EXPECT_EQ(runs, 12);
}

TEST_F(Form1Test, ExitClosesTheMainWindowAndEndsTheProgramWithoutAsking) {
  form_->Show();
  ASSERT_EQ(TestApplication().MainForm(), form_.get());
  ChooseExit();
  EXPECT_FALSE(form_->Visible());
  EXPECT_TRUE(TestApplication().Terminated());
  EXPECT_TRUE(dialogs_->messages.empty());
  EXPECT_TRUE(dialogs_->offered.empty());
}

}  // namespace
}  // namespace plotvik

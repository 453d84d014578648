#include "platform/gui/application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>
#include <string>

#include "app_test_support.h"
#include "platform/exceptions.h"
#include "platform/gui/custom_panel.h"
#include "platform/gui/message_box_window.h"
#include "platform/gui/panel_widget.h"
#include "platform/gui/screen_cursor.h"

namespace plotvik {
namespace {

using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TestApplication;

struct TextCase {
  const char* input;
  const char* expected;
};

TEST(ApplicationTitle, KeepsTheFirstCharacterLowersTheRestAndCutsAtTheFirstDot) {
  const TextCase cases[] = {
      {"/opt/sweep/SWEEP.VIEW.EXE", "Sweep"},
      {"/usr/bin/plotvik", "plotvik"},
      {"PLOTVIK", "Plotvik"},
      {"/home/a.b/Viewer", "Viewer"},  // a dot in a folder name does not count
      {"/tmp/.hidden", ""},
      {"/tmp/ГРАФИК.bin", "График"},
      {"", ""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(ApplicationTitleFromExeName(c.input), c.expected) << c.input;
  }
}

TEST(ErrorBoxText, AppendsAFullStopAfterCharactersAboveIt) {
  const TextCase cases[] = {
      {"File not found", "File not found."},
      {"Done.", "Done."},
      {"", ""},
      {"List index out of bounds (9)", "List index out of bounds (9)"},  // ')' is below '.'
      {"a-", "a-"},
      {"path/", "path/."},  // '/' is just above '.'
      {"Ошибка", "Ошибка."},
  };
  for (const TextCase& c : cases) EXPECT_EQ(ErrorBoxText(c.input), c.expected) << c.input;
}

// An object whose event handling fails, as a chart's handler might. It overrides event()
// itself so that nothing of the toolkit's own lies between the throw and the event loop.
class FailingObject : public QObject {
 public:
  bool abort = false;

 protected:
  bool event(QEvent*) override {
    if (abort) throw EAbort();
    throw AxisException("Axis minimum value must be <= maximum");
  }
};

TEST(DefaultExceptionHandler, ShowsTheErrorBoxOrDropsEAbortAndTheProgramGoesOn) {
  TApplication& app = TestApplication();
  ScriptedDialogs& dialogs = InstallScriptedDialogs();

  app.Guard([] { throw EInOutError(2, "File not found"); });
  app.Guard([] { throw EAbort(); });
  app.Guard([] { throw std::runtime_error("plain failure"); });

  // An exception escaping an event handler reaches the same handler through the event loop.
  FailingObject object;
  QEvent event(QEvent::User);
  QApplication::sendEvent(&object, &event);
  object.abort = true;
  QApplication::sendEvent(&object, &event);

  ASSERT_EQ(dialogs.messages.size(), 3u);
  const char* texts[] = {"File not found.", "plain failure.",
                         "Axis minimum value must be <= maximum."};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dialogs.messages[i].type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.messages[i].caption, app.Title());
    EXPECT_EQ(dialogs.messages[i].text, texts[i]);
  }
  EXPECT_EQ(app.Title(), "plotvik_app_tests");
}

// A panel whose handlers fail, as a chart does when an event handler of its raises.
class FailingPanel : public TCustomPanel {
 protected:
  void Paint() override { throw AxisException("Axis increment must be >= 0"); }
  void MouseDown(TMouseButton, TShiftState, int, int) override {
    throw EConvertError("'x' is not a valid floating point value");
  }
};

TEST(DefaultExceptionHandler, FailuresInAPanelsEventsReachTheErrorBoxNotTheToolkit) {
  TApplication& app = TestApplication();
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  FailingPanel panel;
  panel.SetBounds(0, 0, 40, 30);
  std::unique_ptr<QWidget> widget = CreatePanelWidget(panel);

  QPaintEvent paint(QRect(0, 0, 40, 30));
  QApplication::sendEvent(widget.get(), &paint);
  QTest::mouseClick(widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));

  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].text, "Axis increment must be >= 0.");
  EXPECT_EQ(dialogs.messages[1].text, "'x' is not a valid floating point value.");
  EXPECT_EQ(dialogs.messages[1].caption, app.Title());
}

// A panel that counts how often the mouse was taken from it.
class CapturingPanel : public TCustomPanel {
 public:
  int cancels = 0;

 protected:
  void CancelMode() override { ++cancels; }
};

TEST(DefaultExceptionHandler, TakesTheMouseFromThePanelThatHoldsIt) {
  TApplication& app = TestApplication();
  ScriptedDialogs& dialogs = InstallScriptedDialogs();
  CapturingPanel held, other;
  held.DispatchMouseDown(mbLeft, {}, 5, 5);
  ASSERT_TRUE(held.MouseCapture());
  app.Guard([] { throw EInOutError(32, "I/O error 32"); });
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(held.cancels, 1);
  EXPECT_FALSE(held.MouseCapture());
  // Nobody holds the mouse now: the next failure cancels nothing.
  app.Guard([] { throw EAbort(); });
  EXPECT_EQ(held.cancels + other.cancels, 1);
  held.DispatchMouseUp(mbLeft, {}, 5, 5);
  EXPECT_EQ(TCustomPanel::CapturePanel(), nullptr);
}

TEST(MessageBoxWindow, WarningLooksAsDesignedAndCtrlCCopiesItWithABeep) {
  TestApplication();
  TMessageBoxWindow box(TMsgDlgType::mtWarning, "Warning", "Invalid file format");
  int beeps = 0;
  box.OnBeep = [&beeps] { ++beeps; };

  EXPECT_EQ(box.windowTitle(), QString("Warning"));
  EXPECT_EQ(box.icon(), QMessageBox::Warning);
  EXPECT_EQ(box.text(), QString("Invalid file format"));
  ASSERT_EQ(box.buttons().size(), 1);
  EXPECT_EQ(box.buttons().front()->text(), QString("OK"));
  EXPECT_EQ(box.defaultButton(), box.buttons().front());
  EXPECT_EQ(box.escapeButton(), box.buttons().front());

  QApplication::clipboard()->setText("before");
  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QString("before"));
  EXPECT_EQ(beeps, 0);

  QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
  const std::string divider(27, '-');
  const std::string expected = divider + "\r\nWarning\r\n" + divider +
                               "\r\nInvalid file format\r\n" + divider + "\r\nOK   \r\n" + divider +
                               "\r\n";
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
  EXPECT_EQ(beeps, 1);

  TMessageBoxWindow error(TMsgDlgType::mtError, "plotvik", "File not found.");
  EXPECT_EQ(error.icon(), QMessageBox::Critical);
}

TEST(MessageBoxWindow, EnterAndEscPressOk) {
  TestApplication();
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    TMessageBoxWindow box(TMsgDlgType::mtWarning, "Warning", "Invalid file format");
    box.show();
    QApplication::processEvents();
    QTest::keyClick(box.focusWidget() != nullptr ? box.focusWidget() : &box, key);
    QApplication::processEvents();
    EXPECT_FALSE(box.isVisible()) << key;
    EXPECT_EQ(box.clickedButton(), box.buttons().front()) << key;
  }
}

TEST(DesktopDialogs, OpenDialogAcceptsATypedMissingNameAndOffersThePreviousOne) {
  TestApplication();
  std::unique_ptr<TDialogs> dialogs = CreateDesktopDialogs();
  const std::string previous = std::string(PLOTVIK_TEST_DATA) + "/app_two_sweeps.txt";
  const std::string missing = std::string(PLOTVIK_TEST_DATA) + "/no_such_sweep.txt";

  QString offered;
  bool native = true;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    offered = dialog->selectedFiles().value(0);
    native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
    dialog->selectFile(QString::fromStdString(missing));
    QMetaObject::invokeMethod(dialog, "accept");  // what the Open button does
  });
  EXPECT_EQ(dialogs->ChooseFileToOpen(previous), missing);
  EXPECT_EQ(offered.toStdString(), previous);
  EXPECT_FALSE(native);

  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget())
      static_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_EQ(dialogs->ChooseFileToOpen(previous), std::nullopt);
}

TEST(DesktopSettings, ALocaleChangeRunsTheSettingsHook) {
  TApplication& app = TestApplication();
  int reads = 0;
  app.OnSettingChange = [&reads] { ++reads; };
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(QApplication::instance(), &change);
  app.OnSettingChange = nullptr;
  EXPECT_EQ(reads, 1);
}

TEST(ScreenCursor, HourglassOverridesEveryWindowUntilReset) {
  TestApplication();
  ASSERT_EQ(ScreenCursor(), crDefault);
  SetScreenCursor(crHourGlass);
  EXPECT_EQ(ScreenCursor(), crHourGlass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  SetScreenCursor(crHourGlass);  // setting it twice needs one reset, as it does on the desktop
  SetScreenCursor(crDefault);
  EXPECT_EQ(ScreenCursor(), crDefault);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A load sets and resets the hourglass for every chart and line: the screen keeps one steady
// hourglass through such a run and returns to the default once events are handled again.
TEST(ScreenCursor, ARunOfBusyStepsShowsOneHourglassUntilEventsAreHandled) {
  TestApplication();
  ASSERT_EQ(ScreenCursor(), crDefault);
  for (int step = 0; step < 3; ++step) {
    SetScreenCursor(crHourGlass);
    SetScreenCursor(crDefault);
    EXPECT_EQ(ScreenCursor(), crDefault);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // The arrow shows at once, over a pending return to the default as well.
  SetScreenCursor(crHourGlass);
  SetScreenCursor(crDefault);
  SetScreenCursor(crArrow);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
  QCoreApplication::sendPostedEvents();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
  SetScreenCursor(crDefault);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace plotvik

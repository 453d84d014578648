// Files that reach the window from outside its menu: named on the command line or dropped from
// the file manager. Both must load exactly as File > Open does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app_test_support.h"
#include "platform/gui/action_list.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/open_dialog.h"
#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TestApplication;

std::unique_ptr<QMimeData> UrlData(const QList<QUrl>& urls) {
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

QUrl LocalUrl(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path));
}

class OpenFromOutsideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_ = &InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
  }

  std::vector<double> Heights() const {
    std::vector<double> heights;
    TMemTable& table = form_->mtData;
    if (!table.Active()) return heights;
    for (table.First(); !table.Eof(); table.Next()) {
      heights.push_back(table.FieldByName("height").AsFloat());
    }
    return heights;
  }

  // A file named on the command line: the entry queues the load for the running loop.
  void OpenAsCommandLine(const std::string& name) {
    TestApplication().QueueCommand([this, name] { form_->OpenFile(name); });
    QApplication::processEvents();
  }

  // A drag over the window and, when it is taken, the drop; true when the window took it.
  bool Drop(const QMimeData& data) {
    QWidget& window = form_->NativeWindow();
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QApplication::processEvents();
    return drop.isAccepted();
  }

  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(OpenFromOutsideTest, CommandLineFileLoadsAsFileOpenAndIsOfferedNextTime) {
  OpenAsCommandLine(Fixture("app_three_sweeps.txt"));
  EXPECT_EQ(Heights(), (std::vector<double>{4.0, 4.72, 5.45}));
  EXPECT_TRUE(dialogs_->messages.empty());

  dialogs_->answers = {std::nullopt};
  form_->actOpenFile.Execute();
  EXPECT_EQ(dialogs_->offered, (std::vector<std::string>{Fixture("app_three_sweeps.txt")}));
}

TEST_F(OpenFromOutsideTest, ARelativeNameIsOfferedAsItsFullPath) {
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(PLOTVIK_TEST_DATA);
  OpenAsCommandLine("./sub/../app_two_sweeps.txt");
  std::filesystem::current_path(here);
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  EXPECT_EQ(form_->OD.FileName(), Fixture("app_two_sweeps.txt"));
}

TEST_F(OpenFromOutsideTest, FailuresShowTheSameBoxesAndKeepWhatIsLoaded) {
  OpenAsCommandLine(Fixture("app_three_sweeps.txt"));

  OpenAsCommandLine(Fixture("no_such_sweep.txt"));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].type, TMsgDlgType::mtError);
  EXPECT_EQ(dialogs_->messages[0].caption, TestApplication().Title());
  EXPECT_EQ(dialogs_->messages[0].text, "File not found.");
  EXPECT_EQ(Heights(), (std::vector<double>{4.0, 4.72, 5.45}));
  // The dialog, too, keeps a typed name that turned out missing.
  EXPECT_EQ(form_->OD.FileName(), Fixture("no_such_sweep.txt"));

  ASSERT_TRUE(Drop(*UrlData({LocalUrl(Fixture("app_bad_third_line.txt"))})));
  ASSERT_EQ(dialogs_->messages.size(), 2u);
  EXPECT_EQ(dialogs_->messages[1].type, TMsgDlgType::mtWarning);
  EXPECT_EQ(dialogs_->messages[1].text, "Invalid file format");
  EXPECT_EQ(form_->mtData.RecordCount(), 2);

  // The menu still asks its dialog, whatever came from outside before.
  dialogs_->answers = {Fixture("app_two_sweeps.txt")};
  form_->actOpenFile.Execute();
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  EXPECT_EQ(dialogs_->offered, (std::vector<std::string>{Fixture("app_bad_third_line.txt")}));
}

TEST_F(OpenFromOutsideTest, OneDroppedLocalFileLoadsAnythingElseIsRefused) {
  const std::string file = Fixture("app_two_sweeps.txt");
  auto text = std::make_unique<QMimeData>();
  text->setText(QString::fromStdString(file));
  EXPECT_FALSE(Drop(*text));
  EXPECT_FALSE(Drop(*UrlData({LocalUrl(file), LocalUrl(Fixture("app_three_sweeps.txt"))})));
  EXPECT_FALSE(Drop(*UrlData({QUrl(QStringLiteral("https://example.org/sweep.txt"))})));
  EXPECT_FALSE(Drop(*UrlData({LocalUrl(PLOTVIK_TEST_DATA)})));
  EXPECT_FALSE(Drop(*UrlData({})));
  EXPECT_TRUE(Heights().empty());
  EXPECT_TRUE(dialogs_->messages.empty());

  EXPECT_TRUE(Drop(*UrlData({LocalUrl(file)})));
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  EXPECT_EQ(form_->OD.FileName(), file);
  EXPECT_TRUE(dialogs_->offered.empty());
}

}  // namespace
}  // namespace plotvik

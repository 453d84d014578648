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
#include "tests/import/temp_dir.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TempDir;
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

  std::vector<double> Heights() const { return testing::Heights(form_->mtData); }

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

// With s/l a symbolic link to other/sub, "s/l/../x.txt" is other/x.txt to the kernel and to the
// tools: the window reads that file too, and offers the name made absolute with its "..".
TEST_F(OpenFromOutsideTest, ARelativeNameIsReadAsTheKernelReadsItAndOfferedAsItsFullPath) {
  const TempDir dir;
  std::filesystem::create_directories(dir.Path() / "other" / "sub");
  std::filesystem::create_directory(dir.Path() / "s");
  std::filesystem::create_directory_symlink("../other/sub", dir.Path() / "s" / "l");
  dir.Write("other/x.txt", "1 1 10 50 0 1.1 6 10 30\n2 1 12 52 1 1.2 6.1 11 31\n");
  dir.Write("s/x.txt", "1 4 4.00 70.456 20.251 1.617 5.92 0.00 90.0\n");

  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  OpenAsCommandLine("s/l/../x.txt");
  std::filesystem::current_path(here);
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  EXPECT_TRUE(dialogs_->messages.empty());
  EXPECT_EQ(form_->OD.FileName(), (dir.Path() / "s/l/../x.txt").string());
}

// The length limit counts the name as given, as the tools count it, not its absolute form.
TEST_F(OpenFromOutsideTest, TheNameLimitCountsTheRelativeNameAsGiven) {
  const TempDir dir;
  const std::string folder(200, 'd');
  std::filesystem::create_directory(dir.Path() / folder);
  const std::string longest = folder + "/" + std::string(254 - folder.size(), 'f') + ".txt";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_GT((dir.Path() / longest).string().size(), 259u);
  dir.Write(longest, "1 1 10 50 0 1.1 6 10 30\n2 1 12 52 1 1.2 6.1 11 31\n");
  const std::string tooLong = folder + "/" + std::string(255 - folder.size(), 'f') + ".txt";
  dir.Write(tooLong, "1 4 4.00 70.456 20.251 1.617 5.92 0.00 90.0\n");

  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  OpenAsCommandLine(longest);
  OpenAsCommandLine(tooLong);
  std::filesystem::current_path(here);
  EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0}));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Invalid filename.");
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

// A file manager names a file that is not UTF-8 by its bytes, percent-encoded; the window opens
// those bytes, whether the URL names no host or this one.
TEST_F(OpenFromOutsideTest, ADroppedNameThatIsNotUtf8OpensItsOwnBytes) {
  const TempDir dir;
  const std::string file =
      dir.Write("bad\xff.txt", "1 1 10 50 0 1.1 6 10 30\n2 1 12 52 1 1.2 6.1 11 31\n");
  const QByteArray encoded = QByteArray::fromStdString(file).toPercentEncoding("/");
  for (const char* prefix : {"file://", "file://localhost"}) {
    form_->mtData.Close();
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("text/uri-list"), prefix + encoded + "\r\n");
    ASSERT_TRUE(Drop(*data)) << prefix;
    EXPECT_EQ(Heights(), (std::vector<double>{10.0, 12.0})) << prefix;
    EXPECT_EQ(form_->OD.FileName(), file) << prefix;
  }
  EXPECT_TRUE(dialogs_->messages.empty());
}

}  // namespace
}  // namespace plotvik

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QMimeData>
#include <QShortcut>
#include <algorithm>
#include <memory>
#include <string>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/db_chart.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/page_control.h"
#include "platform/locale_settings.h"
#include "table/mem_table.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::TestApplication;

class CopyCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
    form_->Show();
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override { LocaleDecimalChar = '.'; }

  // Presses the window key as the toolkit does when it arrives.
  void Press(const char* keys) {
    const QKeySequence wanted(QString::fromLatin1(keys));
    for (QShortcut* shortcut : form_->NativeWindow().findChildren<QShortcut*>()) {
      if (shortcut->key() == wanted) {
        emit shortcut->activated();
        return;
      }
    }
    ADD_FAILURE() << "no window key " << keys;
  }

  static QImage ClipboardPicture() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasFormat("image/png")) return {};
    return QImage::fromData(data->data("image/png"), "PNG").convertToFormat(QImage::Format_RGB32);
  }

  static QImage Shown(const TCustomPanel& panel) {
    const TBitmap& image = panel.WindowImage();
    return QImage(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                  image.Height(), image.Width() * 4, QImage::Format_RGB32)
        .copy();
  }

  std::unique_ptr<TForm1> form_;
};

// The current page's chart, zoomed as the user left it and with a change not yet painted.
TEST_F(CopyCommandsTest, CtrlCCopiesTheCurrentChartAsShown) {
  form_->OpenFile(Fixture("pages_e2e.txt"));
  form_->PC.SetActivePageIndex(2);
  TDBChart& chart = PageChart(*form_, 2);
  chart.Update();
  testing::ZoomIntoMiddle(chart);
  chart.Invalidate();

  Press("Ctrl+C");

  const QImage copied = ClipboardPicture();
  ASSERT_FALSE(copied.isNull());
  EXPECT_FALSE(chart.PaintPending());
  EXPECT_EQ(copied, Shown(chart));
  PageChart(*form_, 0).Update();
  EXPECT_NE(copied, Shown(PageChart(*form_, 0)));
}

TEST_F(CopyCommandsTest, CtrlShiftCCopiesTheRecordsWithTheLocaleSeparator) {
  form_->OpenFile(Fixture("pages_e2e.txt"));
  LocaleDecimalChar = ',';
  TMemTable& table = form_->mtData;
  table.First();
  table.Next();
  for (int page = 0; page < kChartPageCount; ++page) PageChart(*form_, page).Update();

  Press("Ctrl+Shift+C");

  const std::string text = QGuiApplication::clipboard()->text().toStdString();
  EXPECT_TRUE(
      text.starts_with("Id\tVal\theight\tR\tjX\tSWR\tGa\tFB\tElevation\n"
                       "1\t6\t6\t58,12\t-12,404\t1,412\t7,31\t11,2\t38\n"))
      << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + table.RecordCount());
  // Copying reads the table without moving it, so no chart has anything to draw again.
  EXPECT_EQ(table.RecNo(), 2);
  for (int page = 0; page < kChartPageCount; ++page) {
    EXPECT_FALSE(PageChart(*form_, page).PaintPending()) << page;
  }
}

TEST_F(CopyCommandsTest, EmptyWindowCopiesTheEmptyChartAndTheHeader) {
  Press("Ctrl+C");
  EXPECT_EQ(ClipboardPicture(), Shown(PageChart(*form_, 0)));
  Press("Ctrl+Shift+C");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            "Id\tVal\theight\tR\tjX\tSWR\tGa\tFB\tElevation\n");
}

}  // namespace
}  // namespace plotvik

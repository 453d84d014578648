// Whole charts compared pixel for pixel with reviewed pictures kept in tests/data. The window
// and plotvik-render draw with the same code, so comparing the two cannot notice a change in
// that code; these pictures can. When a change to the pictures is intended,
// scripts/remake-expected-images.sh writes them anew from the current build (this test with
// PLOTVIK_REMAKE_EXPECTED_IMAGES=1); look at every one before committing it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/db_chart.h"
#include "platform/gui/action_list.h"
#include "platform/gui/native_widgets.h"
#include "raster/bitmap.h"

namespace plotvik {
namespace {

using testing::Fixture;

struct ImageCase {
  const char* name;  // the picture is tests/data/expected_<name>.png
  const char* file;  // loaded through File > Open first; nullptr loads nothing
  int page;          // index into kChartPages
  bool zoomed;       // a zoom drag over the middle half of the chart rectangle
  friend void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }
};

std::string ExpectedPicture(const ImageCase& c) {
  return Fixture(("expected_" + std::string(c.name) + ".png").c_str());
}

// The bitmap's rows are 0xFFRRGGBB words without padding, the toolkit's RGB32 layout.
QImage ViewOf(const TBitmap& image) {
  return QImage(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                image.Height(), image.Width() * 4, QImage::Format_RGB32);
}

bool Remaking() {
  const char* remake = std::getenv("PLOTVIK_REMAKE_EXPECTED_IMAGES");
  return remake != nullptr && std::string(remake) == "1";
}

class ExpectedImages : public ::testing::TestWithParam<ImageCase> {};

TEST_P(ExpectedImages, ChartIsThePictureEveryPixel) {
  const ImageCase& c = GetParam();
  testing::ScriptedDialogs& dialogs = testing::InstallScriptedDialogs();
  auto form = std::make_unique<TForm1>(testing::TestApplication());
  form->NativeWindow().show();
  if (c.file != nullptr) {
    dialogs.answers.push_back(Fixture(c.file));
    form->actOpenFile.Execute();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  }
  form->PC.SetActivePageIndex(c.page);
  QApplication::processEvents();
  TDBChart& chart = PageChart(*form, c.page);
  if (c.zoomed) {
    testing::ZoomIntoMiddle(chart);
    ASSERT_FALSE(chart.BottomAxis().Automatic());
  }
  chart.PaintWindow();
  const TBitmap& painted = chart.WindowImage();

  const QString path = QString::fromStdString(ExpectedPicture(c));
  if (Remaking()) {
    ASSERT_TRUE(ViewOf(painted).save(path, "PNG")) << path.toStdString();
  }

  const QImage expected = QImage(path).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(expected.isNull()) << "cannot read " << path.toStdString();
  ASSERT_EQ(expected.width(), painted.Width());
  ASSERT_EQ(expected.height(), painted.Height());
  int differing = 0;
  int firstX = -1;
  int firstY = -1;
  for (int y = 0; y < expected.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    for (int x = 0; x < expected.width(); ++x) {
      if ((row[x] | 0xFF000000u) == painted.Row(y)[x]) continue;
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << ")";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Charts, ExpectedImages, ::testing::Values(
    ImageCase{"empty_swr",        nullptr,             0, false},
    ImageCase{"yagi_swr",         "sample_yagi.txt",   0, false},
    ImageCase{"yagi_swr_zoomed",  "sample_yagi.txt",   0, true},
    ImageCase{"dipole_r",         "sample_dipole.txt", 1, false},
    // The last point's pointer is cut by the plot's clip; its fill reaches the clip's edge.
    ImageCase{"dipole_gain",      "sample_dipole.txt", 3, false},
    ImageCase{"flat_gain",        "pages_flat.txt",    3, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace plotvik

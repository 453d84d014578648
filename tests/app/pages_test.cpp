// The six chart pages through the real main window (off-screen): what each page shows before
// and after loads, the pointer styles and colours, line breaks, the SWR axis step, and zoom kept
// per page while pages are hidden and files reloaded.

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_zoom.h"
#include "chart/db_chart.h"
#include "chart/line_series.h"
#include "platform/gui/action_list.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/page_control.h"
#include "platform/gui/panel_widget.h"
#include "raster/bitmap.h"
#include "table/mem_table.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::ScriptedDialogs;
using testing::TestApplication;

using Frame = std::vector<TRGB>;

class Pages : public ::testing::Test {
 protected:
  void SetUp() override {
    dialogs_ = &InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
  }

  TForm1& Form() { return *form_; }
  TDBChart& Chart(int page) { return PageChart(*form_, page); }
  TLineSeries& Series(int page) { return PageSeries(*form_, page); }

  // File > Open with `path` typed into the dialog.
  void Load(const std::string& path) {
    dialogs_->answers.push_back(path);
    form_->actOpenFile.Execute();
  }

  // Whatever frame the chart's window shows now, painted as the window's paint does.
  const TBitmap& Painted(int page) {
    Chart(page).PaintWindow();
    return Chart(page).WindowImage();
  }
  Frame Pixels(int page) {
    const TBitmap& image = Painted(page);
    return Frame(image.Pixels().begin(), image.Pixels().end());
  }

  static int CountColour(const TBitmap& image, const TRect& box, TColor colour) {
    int count = 0;
    for (int y = box.Top; y < box.Bottom; ++y) {
      for (int x = box.Left; x < box.Right; ++x) count += image.Pixel(x, y) == colour;
    }
    return count;
  }

  void ZoomIn(int page) { testing::ZoomIntoMiddle(Chart(page)); }
  void ZoomOut(int page) { testing::ZoomBackOut(Chart(page)); }

  ScriptedDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(Pages, EveryPageHoldsItsOwnChartWithOneSeriesBoundToTheTable) {
  const char* const yFields[kChartPageCount] = {"SWR", "R", "jX", "Ga", "FB", "Elevation"};
  TForm1& form = Form();
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    TDBChart& chart = Chart(page);
    EXPECT_EQ(form.PC.Pages(page).NativePage().Client(), PanelWidgetOf(chart));
    ASSERT_EQ(chart.SeriesCount(), 1);
    EXPECT_EQ(&chart.Series(0), &Series(page));
    EXPECT_EQ(Series(page).DataSource(), &form.mtData);
    ASSERT_EQ(chart.DataSourceCount(), 1);
    EXPECT_EQ(chart.DataSources(0).DataSet(), &form.mtData);
    EXPECT_EQ(Series(page).YValues().ValueSource(), yFields[page]);
    EXPECT_EQ(chart.Width(), kChartDesignedWidth);
    EXPECT_EQ(chart.Height(), kChartDesignedHeight);
  }
}

TEST_F(Pages, AtStartEveryPageShowsAnEmptyChartWithBothTitlesAndZeroLabels) {
  EXPECT_EQ(Form().PC.ActivePageIndex(), 0);
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    TDBChart& chart = Chart(page);
    const TBitmap& image = Painted(page);
    EXPECT_EQ(Series(page).Count(), 0);
    EXPECT_EQ(CountColour(image, image.Bounds(), kChartPages[page].seriesColor), 0);
    // The one label of each axis ("0") has one tick.
    EXPECT_EQ(chart.BottomAxis().TickPositions().size(), 1u);
    EXPECT_EQ(chart.LeftAxis().TickPositions().size(), 1u);
    EXPECT_EQ(chart.LeftAxis().LabelText(0), "0");
    // Both titles are written in black in their bands: below the bottom labels, and left of
    // the left labels, turned.
    const int band = 14;
    const int bottomTitle = chart.BottomAxis().TitlePos();
    const int leftTitle = chart.LeftAxis().TitlePos();
    EXPECT_GT(CountColour(image, {0, bottomTitle, image.Width(), bottomTitle + band}, clBlack),
              100);
    EXPECT_GT(CountColour(image, {leftTitle - band, 0, leftTitle, image.Height()}, clBlack), 100);
  }
}

TEST_F(Pages, ALoadGivesEveryPageEveryRecordAndAGoodFileLeavesNoWarning) {
  Load(Fixture("sample_yagi.txt"));
  EXPECT_TRUE(dialogs_->messages.empty());
  const int records = Form().mtData.RecordCount();
  ASSERT_GT(records, 10);
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    TLineSeries& series = Series(page);
    EXPECT_EQ(series.Count(), records);
    // Sorted by height, each point's X from "height".
    for (int i = 1; i < series.Count(); ++i) {
      EXPECT_LE(series.XValue(i - 1), series.XValue(i));
    }
    const TBitmap& image = Painted(page);
    EXPECT_GT(CountColour(image, Chart(page).ChartRect(), kChartPages[page].seriesColor),
              records * 4);
  }
}

// Each page's marker at a point that stands above both its neighbours, where no line segment
// reaches the marker's upper half: the 5 x 5 square with its outline, the diamond of radius 2
// with its tip alone on the top row, or the star with three arms ending on the top row.
TEST_F(Pages, EveryPageDrawsItsPointerStyleInItsColour) {
  Load(Fixture("pages_local_peak.txt"));
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    const TChartPageDecl& decl = kChartPages[page];
    const TBitmap& image = Painted(page);
    TLineSeries& series = Series(page);
    ASSERT_EQ(series.Count(), 5);
    const int x = series.CalcXPos(1);
    const int y = series.CalcYPos(1);
    const int top = y - 2;
    const TColor colour = decl.seriesColor;
    const TColor outline = ColorToRGB(series.Pointer().Pen().Color());
    switch (decl.pointerStyle) {
      case psRectangle:
        EXPECT_EQ(image.Pixel(x, y), colour);
        EXPECT_EQ(image.Pixel(x - 1, y - 1), colour);
        for (int dx = -2; dx <= 2; ++dx) EXPECT_EQ(image.Pixel(x + dx, top), outline) << dx;
        EXPECT_EQ(image.Pixel(x - 2, y + 2), outline);
        break;
      case psDiamond:
        EXPECT_EQ(image.Pixel(x, y), colour);
        EXPECT_NE(image.Pixel(x - 2, top), outline);
        EXPECT_NE(image.Pixel(x - 2, top), colour);
        EXPECT_NE(image.Pixel(x + 2, top), colour);
        EXPECT_NE(image.Pixel(x + 1, top), colour);
        EXPECT_NE(image.Pixel(x - 1, top), colour);
        break;
      case psStar:
        for (int dx : {-2, 0, 2}) EXPECT_EQ(image.Pixel(x + dx, top), colour) << dx;
        for (int dx : {-1, 1}) EXPECT_NE(image.Pixel(x + dx, top), colour) << dx;
        EXPECT_EQ(image.Pixel(x - 2, y), colour);
        EXPECT_EQ(image.Pixel(x + 2, y), colour);
        break;
      default:
        ADD_FAILURE() << "no check for this pointer style";
    }
  }
}

TEST_F(Pages, TheSwrAxisNeverLabelsInStepsBelowATenth) {
  // SWR and R climb by 0.001 a line: R's axis labels in small steps, SWR's keeps 0.1.
  Load(Fixture("pages_flat.txt"));
  Painted(0);
  Painted(1);
  EXPECT_GE(Chart(0).LeftAxis().LabelStep(), 0.1);
  EXPECT_LT(Chart(1).LeftAxis().LabelStep(), 0.1);
  EXPECT_GT(Chart(1).LeftAxis().TickPositions().size(), Chart(0).LeftAxis().TickPositions().size());
}

TEST_F(Pages, ALineOfSixNumbersBreaksTheLineOnTheLastThreePagesOnly) {
  Load(Fixture("pages_six_numbers.txt"));
  for (int page = 0; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    const bool lastThree = page >= 3;
    TLineSeries& series = Series(page);
    ASSERT_EQ(series.Count(), 5);
    EXPECT_EQ(series.IsNullPoint(2), lastThree);
    // Half way between the second point and the third, the joining segment crosses the column
    // unless the line breaks there.
    const TBitmap& image = Painted(page);
    const int column = (series.CalcXPos(1) + series.CalcXPos(2)) / 2;
    const TRect& plot = Chart(page).ChartRect();
    const int inColumn = CountColour(image, {column, plot.Top, column + 1, plot.Bottom},
                                     kChartPages[page].seriesColor);
    if (lastThree) {
      EXPECT_EQ(inColumn, 0);
    } else {
      EXPECT_GT(inColumn, 0);
    }
  }
}

TEST_F(Pages, ZoomingOnePageLeavesTheOthersAndLastsThroughTheNextLoad) {
  Form().NativeWindow().show();
  QApplication::processEvents();
  Load(Fixture("sample_yagi.txt"));
  std::vector<Frame> before;
  for (int page = 0; page < kChartPageCount; ++page) before.push_back(Pixels(page));

  ZoomIn(0);
  TChartAxis& bottom = Chart(0).BottomAxis();
  const double zoomedMin = bottom.Minimum();
  const double zoomedMax = bottom.Maximum();
  EXPECT_FALSE(bottom.Automatic());
  EXPECT_GT(zoomedMin, Series(0).XValue(0));
  EXPECT_LT(zoomedMax, Series(0).XValue(Series(0).Count() - 1));
  EXPECT_NE(Pixels(0), before[0]);
  for (int page = 1; page < kChartPageCount; ++page) {
    SCOPED_TRACE(kChartPages[page].chartName);
    EXPECT_TRUE(Chart(page).BottomAxis().Automatic());
    EXPECT_TRUE(Chart(page).LeftAxis().Automatic());
    EXPECT_EQ(Pixels(page), before[page]);
  }

  // Another load refills the zoomed chart but keeps its ranges.
  Load(Fixture("pages_six_numbers.txt"));
  Load(Fixture("sample_yagi.txt"));
  Painted(0);
  EXPECT_FALSE(bottom.Automatic());
  EXPECT_EQ(bottom.Minimum(), zoomedMin);
  EXPECT_EQ(bottom.Maximum(), zoomedMax);

  // The drag back restores the automatic ranges and with them the very first picture.
  ZoomOut(0);
  EXPECT_TRUE(bottom.Automatic());
  EXPECT_EQ(Pixels(0), before[0]);
}

TEST_F(Pages, AHiddenPageKeepsItsZoomAndPointsAndPaintsOnlyWhenShown) {
  TForm1& form = Form();
  form.NativeWindow().show();
  Load(Fixture("sample_yagi.txt"));
  form.PC.SetActivePageIndex(4);
  QApplication::processEvents();
  ZoomIn(4);
  QApplication::processEvents();
  ASSERT_FALSE(Chart(4).LeftAxis().Automatic());
  const double zoomedMin = Chart(4).LeftAxis().Minimum();
  const double zoomedMax = Chart(4).LeftAxis().Maximum();
  const Frame zoomed(Chart(4).WindowImage().Pixels().begin(),
                     Chart(4).WindowImage().Pixels().end());

  int frames = 0;
  Chart(4).OnAfterDraw = [&](TCustomAxisPanel&) { ++frames; };
  form.PC.SetActivePageIndex(0);
  QApplication::processEvents();
  // Loading the same file again refills the hidden chart; it is not painted while hidden.
  Load(Fixture("sample_yagi.txt"));
  QApplication::processEvents();
  EXPECT_EQ(frames, 0);
  EXPECT_EQ(Series(4).Count(), form.mtData.RecordCount());

  form.PC.SetActivePageIndex(4);
  QApplication::processEvents();
  EXPECT_EQ(frames, 1);
  EXPECT_FALSE(Chart(4).LeftAxis().Automatic());
  EXPECT_EQ(Chart(4).LeftAxis().Minimum(), zoomedMin);
  EXPECT_EQ(Chart(4).LeftAxis().Maximum(), zoomedMax);
  // Same file, same zoom: the same picture as before it was hidden.
  const Frame shown(Chart(4).WindowImage().Pixels().begin(), Chart(4).WindowImage().Pixels().end());
  EXPECT_EQ(shown, zoomed);
  Chart(4).OnAfterDraw = nullptr;
}

}  // namespace
}  // namespace plotvik

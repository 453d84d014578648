// The step cursor below the window: the text and place of its tip on each page, the line it
// draws, and what hides it.

#include "app/step_cursor_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "app_test_support.h"
#include "chart/chart_axis.h"
#include "chart/db_chart.h"
#include "platform/gui/page_control.h"
#include "raster/bitmap.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

using testing::Fixture;
using testing::InstallScriptedDialogs;
using testing::TestApplication;

// The third record of the fixture by height, every field as the file gives it.
const std::string kThirdStep =
    "Id 3  Val 7  height 7  R 64.906  jX -1.502  SWR 1.301  Ga 7.58  F/B 14.1  Elevation 33";

class StepCursorViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallScriptedDialogs();
    form_ = std::make_unique<TForm1>(TestApplication());
    form_->OpenFile(Fixture("pages_e2e.txt"));
  }

  TDBChart& Chart(int page) { return PageChart(*form_, page); }

  // The chart's pixels after a paint, which also sets its tip.
  std::vector<TColor> Paint(int page) {
    TDBChart& chart = Chart(page);
    chart.PaintWindow();
    const auto& pixels = chart.WindowImage().Pixels();
    return {pixels.begin(), pixels.end()};
  }

  std::unique_ptr<TForm1> form_;
};

TEST_F(StepCursorViewTest, TipReadsTheWholeStepBesideItsPointOnEveryPage) {
  const std::vector<TColor> plain = Paint(0);
  TStepCursorView& cursor = form_->StepCursor();
  cursor.Step(3);
  // A thin vertical line at the step's height is all that changes on the chart.
  const std::vector<TColor> shown = Paint(0);
  const int width = Chart(0).WindowImage().Width();
  const int column = Chart(0).BottomAxis().PosOfValue(7);
  int changed = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == plain[i]) continue;
    ++changed;
    EXPECT_EQ(static_cast<int>(i) % width, column) << "pixel " << i;
  }
  EXPECT_GT(changed, 100);
  for (int page = 0; page < kChartPageCount; ++page) {
    form_->PC.SetActivePageIndex(page);
    Paint(page);
    const std::optional<THoverText>& tip = Chart(page).PinnedText();
    ASSERT_TRUE(tip) << page;
    EXPECT_EQ(tip->text, kThirdStep) << page;
    EXPECT_EQ(tip->x, Chart(page).BottomAxis().PosOfValue(7)) << page;
  }
  // Stepping follows the current page's points: the last page lacks record 6's elevation, so
  // three steps on from record 3 end at record 7 there, and at record 6 on the first page.
  cursor.Step(3);
  Paint(5);
  EXPECT_EQ(Chart(5).PinnedText()->text.substr(0, 5), "Id 7 ");
  form_->PC.SetActivePageIndex(0);
  cursor.Step(-1);
  Paint(0);
  EXPECT_EQ(Chart(0).PinnedText()->text.substr(0, 5), "Id 6 ");
}

TEST_F(StepCursorViewTest, DecimalSeparatorOfTheLocale) {
  testing::SeparatorsScope comma(',', " ");
  form_->StepCursor().Step(3);
  Paint(0);
  EXPECT_EQ(Chart(0).PinnedText()->text,
            "Id 3  Val 7  height 7  R 64,906  jX -1,502  SWR 1,301  Ga 7,58  F/B 14,1  "
            "Elevation 33");
}

TEST_F(StepCursorViewTest, OutsideAZoomedViewNoLineAndTheTipAtTheNearestEdge) {
  TDBChart& chart = Chart(0);
  chart.BottomAxis().SetAxisRange(9, 11);
  const std::vector<TColor> plain = Paint(0);
  form_->StepCursor().Step(3);
  EXPECT_EQ(Paint(0), plain);
  ASSERT_TRUE(chart.PinnedText());
  EXPECT_EQ(chart.PinnedText()->x, chart.ChartRect().Left + 1);
  // The view stays where it was.
  EXPECT_EQ(chart.BottomAxis().RangeMin(), 9);
  EXPECT_EQ(chart.BottomAxis().RangeMax(), 11);
  form_->StepCursor().Last();
  Paint(0);
  EXPECT_EQ(chart.PinnedText()->x, chart.ChartRect().Right - 1);
}

TEST_F(StepCursorViewTest, EscAMouseButtonAndANewLoadHideIt) {
  const std::vector<TColor> plain = Paint(0);
  TStepCursorView& cursor = form_->StepCursor();
  cursor.Step(1);
  cursor.Hide();
  EXPECT_EQ(cursor.Record(), std::nullopt);
  EXPECT_EQ(Paint(0), plain);
  EXPECT_FALSE(Chart(0).PinnedText());

  cursor.Step(1);
  Paint(0);
  Chart(0).DispatchMouseDown(mbRight, {}, 5, 5);
  Chart(0).DispatchMouseUp(mbRight, {}, 5, 5);
  EXPECT_EQ(cursor.Record(), std::nullopt);
  EXPECT_FALSE(Chart(0).PinnedText());

  cursor.Last();
  ASSERT_TRUE(cursor.Record());
  form_->OpenFile(Fixture("pages_e2e.txt"));
  EXPECT_EQ(cursor.Record(), std::nullopt);
  EXPECT_EQ(Paint(0), plain);
  EXPECT_FALSE(Chart(0).PinnedText());
}

}  // namespace
}  // namespace plotvik

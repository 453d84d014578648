#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <memory>
#include <stdexcept>

#include "app/chart_pages.h"
#include "app/form1.h"
#include "chart/custom_chart_panel.h"
#include "chart/db_chart.h"
#include "platform/gui/panel_widget.h"
#include "table/field.h"
#include "table/mem_table.h"

namespace plotvik::testing {

namespace {

// The application object lives from before the first test to after the last, and goes before
// the process's exit: the toolkit cannot be torn down by static destructors.
class ApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { application = std::make_unique<TApplication>(argc_, argv_); }
  void TearDown() override { application.reset(); }

  std::unique_ptr<TApplication> application;

 private:
  int argc_ = 1;
  char name_[18] = "plotvik_app_tests";
  char* argv_[2] = {name_, nullptr};
};

// GoogleTest owns the environment.
ApplicationEnvironment* const environment = static_cast<ApplicationEnvironment*>(
    ::testing::AddGlobalTestEnvironment(std::make_unique<ApplicationEnvironment>().release()));

}  // namespace

TApplication& TestApplication() {
  return *environment->application;
}

ScriptedDialogs& InstallScriptedDialogs() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& ref = *dialogs;
  TestApplication().SetDialogs(std::move(dialogs));
  return ref;
}

void DragWithLeftButton(QWidget& widget, QPoint from, QPoint to) {
  QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, from);
  QTest::mouseMove(&widget, (from + to) / 2);
  QTest::mouseMove(&widget, to);
  QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, to);
}

namespace {

QWidget& WindowOf(TCustomChartPanel& chart) {
  QWidget* widget = PanelWidgetOf(chart);
  if (widget == nullptr) throw std::logic_error("the chart has no window to drag through");
  return *widget;
}

QPoint UpperLeftQuarter(const TRect& r) {
  return {r.Left + r.Width() / 4, r.Top + r.Height() / 4};
}
QPoint LowerRightQuarter(const TRect& r) {
  return {r.Left + 3 * r.Width() / 4, r.Top + 3 * r.Height() / 4};
}

}  // namespace

void ZoomIntoMiddle(TCustomChartPanel& chart) {
  const TRect r = chart.ChartRect();
  DragWithLeftButton(WindowOf(chart), UpperLeftQuarter(r), LowerRightQuarter(r));
}

void ZoomBackOut(TCustomChartPanel& chart) {
  const TRect r = chart.ChartRect();
  DragWithLeftButton(WindowOf(chart), LowerRightQuarter(r), UpperLeftQuarter(r));
}

std::vector<double> Heights(TMemTable& table) {
  std::vector<double> heights;
  if (!table.Active()) return heights;
  for (table.First(); !table.Eof(); table.Next()) {
    heights.push_back(table.FieldByName("height").AsFloat());
  }
  return heights;
}

std::vector<TRGB> PagePixels(TForm1& form, int page) {
  TDBChart& chart = PageChart(form, page);
  chart.PaintWindow();
  const TBitmap& image = chart.WindowImage();
  return std::vector<TRGB>(image.Pixels().begin(), image.Pixels().end());
}

}  // namespace plotvik::testing

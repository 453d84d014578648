#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_series.h"
#include "chart/db_chart.h"
#include "import/sweep_file_loader.h"
#include "platform/exceptions.h"
#include "platform/gui/screen_cursor.h"
#include "table/data_source.h"
#include "table/mem_table.h"
#include "table/sweep_table.h"

namespace plotvik {
namespace {

// Answers the loader's file dialog with a fixture file and notes its warning.
class FixtureUi : public TSweepFileUi {
 public:
  std::optional<std::string> ChooseFile() override {
    return std::string(PLOTVIK_TEST_DATA) + "/" + file;
  }
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }
  std::string file;
  std::vector<std::string> warnings;
};

struct Point {
  double x, y;
  bool null;
  bool operator==(const Point&) const = default;
};

void PrintTo(const Point& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << (p.null ? ", null)" : ")");
}

std::vector<Point> Points(const TChartSeries& s) {
  std::vector<Point> out;
  for (int i = 0; i < s.PointCount(); ++i)
    out.push_back({s.XValue(i), s.YValue(i), s.IsNullPoint(i)});
  return out;
}

// In the table's column order, so series i charts field 3 + i.
const char* const kQuantities[] = {"R", "jX", "SWR", "Ga", "FB", "Elevation"};

// Six charts on mtData, one series each, bound as the main window binds them; every clear of a
// series is logged with the chart's index and the points added since the clear before, so the
// log shows what each refill added.
class Refill : public testing::Test {
 protected:
  Refill() : table(CreateSweepTable(form)), loader(table) {
    for (int i = 0; i < 6; ++i) {
      charts.push_back(std::make_unique<TDBChart>());
      series.push_back(std::make_unique<TChartSeries>());
      TChartSeries& s = *series.back();
      s.XValues().SetValueSource("height");
      s.YValues().SetValueSource(kQuantities[i]);
      s.SetDataSource(&table);
      s.SetParentChart(charts.back().get());
      s.OnAfterAdd = [this, i](TChartSeries&, int) { ++added[i]; };
      s.OnClearValues = [this, i](TChartSeries&) {
        clears.push_back({i, added[i]});
        added[i] = 0;
      };
    }
  }
  ~Refill() override {
    series.clear();
    charts.clear();
  }

  // Loads a fixture file as File > Open does; returns the warnings it showed.
  std::vector<std::string> Load(const char* file) {
    ui.file = file;
    ui.warnings.clear();
    loader.actOpenFileExecute(ui);
    return ui.warnings;
  }

  // For each clear of chart i's series, the points added to it since the clear before.
  std::vector<int> ClearsOf(int chart) const {
    std::vector<int> out;
    for (const auto& c : clears) {
      if (c.chart == chart) out.push_back(c.points);
    }
    return out;
  }

  struct Clear {
    int chart;
    int points;
  };
  TComponent form;
  TMemTable& table;
  TSweepFileLoader loader;
  FixtureUi ui;
  std::vector<std::unique_ptr<TDBChart>> charts;
  std::vector<std::unique_ptr<TChartSeries>> series;
  std::vector<Clear> clears;
  int added[6] = {};
};

TEST_F(Refill, BindingAttachesOneDataSourcePerChartAndLeavesTheSeriesEmpty) {
  for (auto& chart : charts) {
    ASSERT_EQ(chart->DataSourceCount(), 1);
    EXPECT_EQ(chart->DataSources(0).DataSet(), &table);
    EXPECT_FALSE(chart->DataSources(0).SeenActive());
  }
  // Binding a second series to the same table reuses the chart's data source.
  TChartSeries extra;
  extra.YValues().SetValueSource("R");
  extra.SetDataSource(&table);
  extra.SetParentChart(charts[0].get());
  EXPECT_EQ(charts[0]->DataSourceCount(), 1);
  extra.SetParentChart(nullptr);
}

TEST_F(Refill, EveryPostRefillsEveryChartWithAllRecordsSoFar) {
  clears.clear();
  Load("refill_three_lines.txt");
  // Refills at the open and after each post: 0, 1, 2 points found at the next clear, 3 now.
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ClearsOf(i), (std::vector<int>{0, 0, 1, 2})) << kQuantities[i];
    EXPECT_EQ(
        Points(*series[i]),
        (std::vector<Point>{{10, 11.0 + i, false}, {20, 21.0 + i, false}, {30, 31.0 + i, false}}))
        << kQuantities[i];
    EXPECT_FALSE(charts[i]->Refilling());
    EXPECT_TRUE(charts[i]->DataSources(0).SeenActive());
  }
  EXPECT_EQ(ScreenCursor(), crDefault);
}

TEST_F(Refill, ChartsRefillInTheOrderTheyAttached) {
  Load("refill_three_lines.txt");
  clears.clear();
  table.Append();
  table.Fields(2).SetAsFloat(20);
  table.Post();
  ASSERT_EQ(clears.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(clears[i].chart, i);
}

TEST_F(Refill, FailingLineLeavesThePostedPointsAndTheNextLoadStartsOver) {
  EXPECT_EQ(Load("refill_bad_second_line.txt"), (std::vector<std::string>{"Invalid file format"}));
  for (auto& s : series) EXPECT_EQ(s->PointCount(), 1);
  EXPECT_DOUBLE_EQ(series[0]->XValue(0), 10);

  // The next load's close cancels the half-filled record first; that return to browse must
  // not refill. Then: the close clears the one point, the open and the two posts refill.
  clears.clear();
  EXPECT_TRUE(Load("refill_two_lines.txt").empty());
  EXPECT_EQ(ClearsOf(3), (std::vector<int>{1, 0, 0, 1}));
  EXPECT_EQ(Points(*series[0]), (std::vector<Point>{{5, 6, false}, {6, 7, false}}));
}

TEST_F(Refill, MissingNumbersGiveNullPointsAtZero) {
  Load("refill_six_numbers.txt");
  for (int i = 0; i < 6; ++i) {
    const bool missing = i >= 3;  // Ga, FB and Elevation are not on the short line
    EXPECT_EQ(Points(*series[i]),
              (std::vector<Point>{{10, 11.0 + i, false}, {20, missing ? 0.0 : 21.0 + i, missing}}))
        << kQuantities[i];
  }
  EXPECT_DOUBLE_EQ(series[5]->YMinimum(), 0);
}

TEST_F(Refill, DecreasingHeightsStillGivePointsSortedByHeightEqualsInFileOrder) {
  Load("refill_decreasing.txt");
  EXPECT_EQ(
      Points(*series[0]),
      (std::vector<Point>{{10, 11, false}, {20, 21, false}, {20, 99, false}, {30, 31, false}}));
}

TEST_F(Refill, WalkLeavesNoTraceOnTheTable) {
  Load("refill_three_lines.txt");
  TDataSource listener;
  int dataChanges = 0;
  listener.OnDataChange = [&](TDataSource&, TField*) { ++dataChanges; };
  listener.SetDataSet(&table);
  table.First();
  table.Next();
  ASSERT_EQ(table.RecNo(), 2);
  dataChanges = 0;

  charts[0]->RefillFromTable(table);
  EXPECT_EQ(series[0]->PointCount(), 3);
  EXPECT_EQ(table.RecNo(), 2);  // back on the bookmarked record
  EXPECT_FALSE(table.ControlsDisabled());
  EXPECT_EQ(dataChanges, 1);  // only the reload sent when the controls are enabled again
  listener.SetDataSet(nullptr);
}

TEST_F(Refill, GlassCursorShowsDuringARefillOnlyWhenAsked) {
  Load("refill_three_lines.txt");
  std::vector<TCursor> seen;
  charts[0]->OnProcessRecord = [&](TCustomDBChart&, TDataSet&) { seen.push_back(ScreenCursor()); };
  charts[0]->RefillFromTable(table);
  charts[0]->SetShowGlassCursor(false);
  charts[0]->RefillFromTable(table);
  EXPECT_EQ(seen, (std::vector<TCursor>{crHourGlass, crHourGlass, crHourGlass, crDefault, crDefault,
                                        crDefault}));
  EXPECT_EQ(ScreenCursor(), crDefault);
}

TEST_F(Refill, AbortInARecordEndsTheWalkQuietlyKeepingEarlierPoints) {
  Load("refill_three_lines.txt");
  int visited = 0;
  charts[0]->OnProcessRecord = [&](TCustomDBChart&, TDataSet&) {
    if (++visited == 3) throw EAbort();
  };
  EXPECT_NO_THROW(charts[0]->RefillFromTable(table));
  EXPECT_EQ(series[0]->PointCount(), 2);
  EXPECT_FALSE(table.ControlsDisabled());
  EXPECT_FALSE(charts[0]->Refilling());
}

// A paint in the middle of a walk shows only the points so far; the chart must be asked again
// once the walk is over, however it ended, and later adds must still ask for themselves.
TEST_F(Refill, WalkEndsWithARepaintRequestHoweverItEnds) {
  struct Case {
    const char* name;
    bool abort, fail;
  };
  // clang-format off
  const Case cases[] = {
      {"complete", false, false},
      {"abort",    true,  false},
      {"error",    false, true},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load("refill_three_lines.txt");
    TDBChart& chart = *charts[0];
    int visited = 0;
    chart.OnProcessRecord = [&](TCustomDBChart&, TDataSet&) {
      if (++visited == 2) {
        chart.Update();  // the window paints while the walk is under way
        if (c.abort) throw EAbort();
        if (c.fail) throw EDatabaseError("walk failed");
      }
    };
    if (c.fail) {
      EXPECT_THROW(chart.RefillFromTable(table), EDatabaseError);
    } else {
      chart.RefillFromTable(table);
    }
    EXPECT_TRUE(chart.PaintPending());
    chart.OnProcessRecord = nullptr;
    chart.Update();
    series[0]->AddPoint(100, 1);
    EXPECT_TRUE(chart.PaintPending());
  }
}

TEST_F(Refill, RefillAskedForDuringARefillIsDropped) {
  Load("refill_three_lines.txt");
  int nested = 0;
  charts[0]->OnProcessRecord = [&](TCustomDBChart& chart, TDataSet& t) {
    ++nested;
    EXPECT_TRUE(chart.Refilling());
    chart.RefillFromTable(t);  // must neither recurse nor clear what is being built
  };
  charts[0]->RefillFromTable(table);
  EXPECT_EQ(nested, 3);
  EXPECT_EQ(series[0]->PointCount(), 3);
}

TEST_F(Refill, ClosedTableOrAutoRefreshOffLeavesThePointsAlone) {
  Load("refill_three_lines.txt");
  table.Close();
  series[0]->AddPoint(1, 1);
  charts[0]->RefillFromTable(table);
  EXPECT_EQ(series[0]->PointCount(), 1);

  charts[1]->SetAutoRefresh(false);
  Load("refill_three_lines.txt");
  EXPECT_EQ(series[1]->PointCount(), 0);
  EXPECT_EQ(series[2]->PointCount(), 3);
  charts[1]->RefillFromTable(table);  // an explicit refill still works
  EXPECT_EQ(series[1]->PointCount(), 3);
}

TEST_F(Refill, UnknownFieldReachesThePosterAndLeavesTheChartUsable) {
  Load("refill_three_lines.txt");
  // A new source re-checks the binding and so refills at once; the lookup fails there.
  EXPECT_THROW(series[0]->YValues().SetValueSource("Nope"), EDatabaseError);
  EXPECT_FALSE(charts[0]->Refilling());
  EXPECT_EQ(ScreenCursor(), crDefault);

  table.Append();
  table.Fields(2).SetAsFloat(20);
  EXPECT_THROW(table.Post(), EDatabaseError);
  EXPECT_FALSE(charts[0]->Refilling());
  EXPECT_FALSE(table.ControlsDisabled());
  EXPECT_EQ(ScreenCursor(), crDefault);

  series[0]->YValues().SetValueSource("R");
  EXPECT_EQ(series[0]->PointCount(), 4);
}

TEST_F(Refill, LabelAndColourFieldsFeedEveryPoint) {
  Load("refill_six_numbers.txt");
  series[4]->SetXLabelsSource("Id");
  series[4]->SetColorSource("jX");  // 12 and 22: plain colours, even on the null point
  EXPECT_EQ(series[4]->PointLabel(0), "1");
  EXPECT_EQ(series[4]->PointLabel(1), "2");
  EXPECT_EQ(series[4]->PointColor(0), 12);
  EXPECT_EQ(series[4]->PointColor(1), 22);
}

TEST_F(Refill, SeriesBoundThroughADataSourceShowsTheCurrentRecordOnly) {
  Load("refill_three_lines.txt");
  TDataSource source;
  source.SetDataSet(&table);
  TDBChart chart;
  TChartSeries bound;
  bound.XValues().SetValueSource("height");
  bound.YValues().SetValueSource("SWR");
  bound.SetDataSource(&source);
  bound.SetParentChart(&chart);
  table.First();
  table.Next();
  chart.RefillFromTable(table);
  ASSERT_EQ(bound.PointCount(), 1);
  EXPECT_DOUBLE_EQ(bound.XValue(0), 20);
  EXPECT_DOUBLE_EQ(bound.YValue(0), 23);
  EXPECT_EQ(bound.PointLabel(0), "SWR");
  bound.SetParentChart(nullptr);
}

TEST_F(Refill, XValuesShareOneCopyPerTableNeverAcrossTables) {
  Load("refill_three_lines.txt");
  // A second table with the same heights, as a reference sweep shown beside the run.
  TComponent otherForm;
  TMemTable& reference = CreateSweepTable(otherForm);
  TSweepFileLoader referenceLoader(reference);
  TDBChart referenceChart;
  TChartSeries referenceSeries;
  referenceSeries.XValues().SetValueSource("height");
  referenceSeries.YValues().SetValueSource("SWR");
  referenceSeries.SetDataSource(&reference);
  referenceSeries.SetParentChart(&referenceChart);
  ui.file = "refill_three_lines.txt";
  referenceLoader.actOpenFileExecute(ui);
  ASSERT_EQ(referenceSeries.PointCount(), 3);

  const double* runHeights = series[0]->XValues().Values().data();
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(series[i]->XValues().Values().data(), runHeights) << kQuantities[i];
  }
  EXPECT_NE(referenceSeries.XValues().Values().data(), runHeights);
  EXPECT_FALSE(referenceSeries.XValues().SharesStorage());
  referenceSeries.SetParentChart(nullptr);
}

TEST_F(Refill, BindingCheckRefusesASeriesOfAnotherChart) {
  try {
    charts[0]->CheckDatasource(*series[1]);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "Series.ParentChart is not myself!");
  }
}

TEST(DBChart, RefreshIntervalMustBeZeroToSixty) {
  TDBChart chart;
  for (int ok : {0, 60, 1}) {
    chart.SetRefreshInterval(ok);
    EXPECT_EQ(chart.RefreshInterval(), ok);
  }
  for (int bad : {-1, 61}) {
    try {
      chart.SetRefreshInterval(bad);
      FAIL() << bad;
    } catch (const DBChartException& e) {
      EXPECT_EQ(e.Message(), "Refresh Interval must be between 0 and 60");
    }
    EXPECT_EQ(chart.RefreshInterval(), 1);
  }
}

}  // namespace
}  // namespace plotvik

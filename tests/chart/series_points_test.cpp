#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "chart/chart_axis.h"
#include "chart/chart_palette.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"
#include "platform/exceptions.h"

namespace plotvik {
namespace {

struct Point {
  double x, y;
  std::string label;
  TColor color;
  bool operator==(const Point&) const = default;
};

std::vector<Point> Points(const TChartSeries& s) {
  std::vector<Point> out;
  for (int i = 0; i < s.PointCount(); ++i) {
    out.push_back({s.XValue(i), s.YValue(i), s.PointLabel(i), s.PointColor(i)});
  }
  return out;
}

void PrintTo(const Point& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ", \"" << p.label << "\", " << std::hex << p.color << ")";
}

constexpr TColor kSeriesColor = 0x0000FF;

class SeriesPoints : public testing::Test {
 protected:
  SeriesPoints() { series.SetSeriesColor(kSeriesColor); }
  TChartSeries series;
};

TEST_F(SeriesPoints, AscendingXKeepsWholePointsTogetherAndEqualXInArrivalOrder) {
  series.AddPoint(3, 30, "c", 0x111111);
  series.AddPoint(1, 10, "a");
  series.AddPoint(2, 20, "b1");
  EXPECT_EQ(series.AddPoint(2, 21, "b2", 0x222222), 2);
  EXPECT_EQ(Points(series), (std::vector<Point>{{1, 10, "a", kSeriesColor},
                                                {2, 20, "b1", kSeriesColor},
                                                {2, 21, "b2", 0x222222},
                                                {3, 30, "c", 0x111111}}));
}

TEST_F(SeriesPoints, UnorderedXAlwaysAppends) {
  series.XValues().SetOrder(TChartListOrder::loNone);
  for (double x : {3.0, 1.0, 2.0}) series.AddPoint(x, x * 10);
  EXPECT_DOUBLE_EQ(series.XValue(0), 3);
  EXPECT_DOUBLE_EQ(series.YValue(2), 20);
}

TEST_F(SeriesPoints, LabelsStaySparseUntilOneIsGiven) {
  series.AddPoint(1, 1);
  series.AddPoint(2, 2);
  EXPECT_FALSE(series.HasLabels());
  EXPECT_EQ(series.PointLabel(0), "");
  EXPECT_EQ(series.PointLabel(7), "");

  series.AddPoint(4, 4, "four");  // padded: points 0 and 1 get empty entries
  series.AddPoint(3, 3);          // an unlabelled point inserted inside the list shifts it
  EXPECT_EQ(series.PointLabel(2), "");
  EXPECT_EQ(series.PointLabel(3), "four");
  EXPECT_FALSE(series.HasLabels());  // the first entry is empty
  series.AddPoint(0, 0, "zero");
  EXPECT_TRUE(series.HasLabels());
  EXPECT_EQ(series.PointLabel(4), "four");
}

TEST_F(SeriesPoints, ColourListAppearsWithTheFirstExplicitColour) {
  series.AddPoint(1, 1);
  series.AddPoint(2, 2, "", clDefault);
  EXPECT_FALSE(series.HasColorList());
  series.AddPoint(3, 3, "", 0x00FF00);
  ASSERT_TRUE(series.HasColorList());
  EXPECT_EQ(series.PointColor(0), kSeriesColor);
  EXPECT_EQ(series.PointColor(1), kSeriesColor);
  EXPECT_EQ(series.PointColor(2), 0x00FF00);

  // With ColorEachPoint, points without a colour of their own take the palette's colour.
  series.SetColorEachPoint(true);
  EXPECT_EQ(series.PointColor(0), GetDefaultColor(0));
  EXPECT_EQ(series.PointColor(1), GetDefaultColor(1));
  EXPECT_EQ(series.PointColor(2), 0x00FF00);
}

TEST_F(SeriesPoints, NullPointCountsInTheStatisticsAtZero) {
  for (double y : {2.0, 3.0}) series.AddAtNextX(y);
  series.AddPoint(2, 0, "", clNone);
  for (double y : {4.0, 5.0}) series.AddAtNextX(y);
  EXPECT_DOUBLE_EQ(series.YMinimum(), 0);
  EXPECT_DOUBLE_EQ(series.YMaximum(), 5);
  EXPECT_DOUBLE_EQ(series.XMaximum(), 4);
  for (int i = 0; i < series.PointCount(); ++i) EXPECT_EQ(series.IsNullPoint(i), i == 2) << i;

  series.AddNull("gap");  // at the next X, Y 0
  EXPECT_TRUE(series.IsNullPoint(5));
  EXPECT_DOUBLE_EQ(series.XValue(5), 5);
}

TEST_F(SeriesPoints, BeforeAddCanRefuseAPoint) {
  series.OnBeforeAdd = [](TChartSeries& s) { return s.YValues().PendingValue() >= 0; };
  std::vector<int> added;
  series.OnAfterAdd = [&](TChartSeries&, int index) { added.push_back(index); };
  EXPECT_EQ(series.AddPoint(1, 5), 0);
  EXPECT_EQ(series.AddPoint(0, -1, "no", 0x123456), -1);
  EXPECT_EQ(series.AddPoint(0, 7), 0);
  EXPECT_EQ(added, (std::vector<int>{0, 0}));
  EXPECT_EQ(series.PointCount(), 2);
  EXPECT_FALSE(series.HasColorList());
  EXPECT_FALSE(series.HasLabels());
}

TEST_F(SeriesPoints, ClearPointsReleasesEverythingAndFiresEvenWhenEmpty) {
  int cleared = 0;
  series.OnClearValues = [&](TChartSeries&) { ++cleared; };
  series.ClearPoints();
  EXPECT_EQ(cleared, 1);
  series.AddPoint(1, 1, "x", 0x00FF00);
  series.ClearPoints();
  EXPECT_EQ(cleared, 2);
  EXPECT_EQ(series.PointCount(), 0);
  EXPECT_EQ(series.XValues().Capacity(), 0);
  EXPECT_FALSE(series.HasColorList());
  EXPECT_FALSE(series.HasLabels());
  series.AddPoint(1, 1);
  EXPECT_EQ(series.PointColor(0), kSeriesColor);
}

TEST_F(SeriesPoints, DeletePointRemovesTheWholePointAndRefusesOutOfRange) {
  for (int i = 0; i < 5; ++i) {
    series.AddPoint(i, i * 10, i == 1 ? "one" : "", i == 3 ? 0x00FF00 : clDefault);
  }
  try {
    series.DeletePoint(5);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(e.Message(), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
  }
  EXPECT_THROW(series.DeletePoint(-1), ChartException);
  EXPECT_EQ(series.PointCount(), 5);

  series.DeletePoint(1);
  EXPECT_EQ(Points(series), (std::vector<Point>{{0, 0, "", kSeriesColor},
                                                {2, 20, "", kSeriesColor},
                                                {3, 30, "", 0x00FF00},
                                                {4, 40, "", kSeriesColor}}));
}

TEST_F(SeriesPoints, MandatoryOrderSortsWholePointsByYAndRenumbersX) {
  series.AddPoint(0, 3, "c");
  series.AddPoint(1, 1, "a", 0x00FF00);
  series.AddPoint(2, 2);
  series.ApplyMandatoryOrder();  // Y unordered: nothing moves
  EXPECT_DOUBLE_EQ(series.YValue(0), 3);

  series.YValues().SetOrder(TChartListOrder::loAscending);
  series.ApplyMandatoryOrder();
  EXPECT_EQ(Points(series),
            (std::vector<Point>{
                {0, 1, "a", 0x00FF00}, {1, 2, "", kSeriesColor}, {2, 3, "c", kSeriesColor}}));
}

// --- the series inside a chart ---

// Records what it was asked to draw; draws between points like the line series does.
class RecordingSeries : public TChartSeries {
 public:
  bool betweenPoints = true;
  std::vector<int> drawn;
  void DrawValue(int index) override { drawn.push_back(index); }
  bool DrawBetweenPoints() const override { return betweenPoints; }
};

class SeriesInChart : public testing::Test {
 protected:
  SeriesInChart() {
    chart.SetBounds(0, 0, 400, 250);
    series.SetParentChart(&chart);
  }
  // The bottom axis shows minimum … maximum across a chart rectangle of 100 … 300.
  void ShowBottomRange(double minimum, double maximum, bool inverted = false) {
    chart.SetChartRect({100, 20, 300, 200});
    TChartAxis& axis = chart.BottomAxis();
    axis.SetInverted(inverted);
    axis.SetAxisRange(minimum, maximum);
    axis.ComputeRange();
    axis.ComputePixelExtent();
  }
  TCustomChart chart;
  RecordingSeries series;
};

TEST_F(SeriesInChart, JoinsTheChartAndResolvesItsAxes) {
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(&chart.Series(0), &series);
  EXPECT_EQ(series.GetHorizAxis(), &chart.BottomAxis());
  EXPECT_EQ(series.GetVertAxis(), &chart.LeftAxis());
  EXPECT_TRUE(series.AssociatedToAxis(chart.BottomAxis()));
  EXPECT_TRUE(series.AssociatedToAxis(chart.LeftAxis()));
  EXPECT_FALSE(series.AssociatedToAxis(chart.TopAxis()));
  EXPECT_FALSE(series.AssociatedToAxis(chart.RightAxis()));

  series.SetHorizAxis(THorizAxis::aTopAxis);
  series.SetVertAxis(TVertAxis::aBothVertAxis);
  EXPECT_EQ(series.GetHorizAxis(), &chart.TopAxis());
  EXPECT_FALSE(series.AssociatedToAxis(chart.BottomAxis()));
  EXPECT_TRUE(series.AssociatedToAxis(chart.TopAxis()));
  EXPECT_TRUE(series.AssociatedToAxis(chart.RightAxis()));

  series.SetParentChart(nullptr);
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(series.GetHorizAxis(), nullptr);
}

TEST_F(SeriesInChart, ForgetsAChartDestroyedBeforeIt) {
  auto other = std::make_unique<TCustomChart>();
  RecordingSeries orphan;
  orphan.SetParentChart(other.get());
  other.reset();
  EXPECT_EQ(orphan.ParentChart(), nullptr);
  EXPECT_EQ(orphan.GetHorizAxis(), nullptr);
  orphan.AddPoint(1, 1);  // no chart left to repaint: must not touch the destroyed one
}

TEST_F(SeriesInChart, PointsChangingRequestARepaint) {
  chart.Update();
  ASSERT_FALSE(chart.PaintPending());
  series.AddPoint(1, 1);
  EXPECT_TRUE(chart.PaintPending());
  chart.Update();
  series.ClearPoints();
  EXPECT_TRUE(chart.PaintPending());
}

TEST_F(SeriesInChart, HeldAddsRequestOneRepaintAtTheLastRelease) {
  chart.Update();
  series.HoldRepaints();
  series.HoldRepaints();
  series.AddPoint(1, 1);
  series.AddPoint(2, 2);
  EXPECT_FALSE(chart.PaintPending());
  series.ReleaseRepaints();
  EXPECT_FALSE(chart.PaintPending()) << "still held once";
  series.ReleaseRepaints();
  EXPECT_TRUE(chart.PaintPending());

  chart.Update();
  series.ReleaseRepaints();  // unmatched: owes nothing and must not hold later adds
  EXPECT_FALSE(chart.PaintPending());
  series.AddPoint(3, 3);
  EXPECT_TRUE(chart.PaintPending());

  chart.Update();
  series.HoldRepaints();
  series.ReleaseRepaints();  // nothing was added meanwhile
  EXPECT_FALSE(chart.PaintPending());
}

struct VisibleCase {
  const char* name;
  double minimum, maximum;
  bool betweenPoints;
  bool inverted;
  int first, last;
  friend void PrintTo(const VisibleCase& c, std::ostream* os) { *os << c.name; }
};

class VisibleRange : public SeriesInChart, public testing::WithParamInterface<VisibleCase> {};

TEST_P(VisibleRange, CoversThePointsInsideTheChartRectangle) {
  const VisibleCase& c = GetParam();
  for (int x = 0; x <= 10; ++x) series.AddPoint(x, x);
  series.betweenPoints = c.betweenPoints;
  ShowBottomRange(c.minimum, c.maximum, c.inverted);
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisible(), c.first);
  EXPECT_EQ(series.LastVisible(), c.last);

  series.drawn.clear();
  series.DrawAllValues();
  std::vector<int> expected;
  for (int i = c.first; c.first >= 0 && i <= c.last; ++i) expected.push_back(i);
  EXPECT_EQ(series.drawn, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VisibleRange,
    testing::Values(
        // A series that joins its points keeps the first point beyond the right edge.
        VisibleCase{"LineKeepsPointBeyondRightEdge", 2.5, 7.5, true, false, 3, 8},
        VisibleCase{"PointsOnlyStopInside", 2.5, 7.5, false, false, 3, 7},
        VisibleCase{"InvertedAxisSameRange", 2.5, 7.5, true, true, 3, 8},
        VisibleCase{"WholeRange", -1, 20, true, false, 0, 10},
        VisibleCase{"EdgesOnPoints", 2, 8, false, false, 2, 8},
        VisibleCase{"NothingAtOrBeyondTheLeftEdge", 10.5, 12, true, false, -1, -1}),
    [](const auto& info) { return info.param.name; });

TEST_F(SeriesInChart, EmptyOrUnorderedSeriesNeedsNoAxis) {
  ShowBottomRange(2.5, 7.5);
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisible(), -1);
  EXPECT_EQ(series.LastVisible(), -1);
  series.DrawAllValues();
  EXPECT_TRUE(series.drawn.empty());

  series.XValues().SetOrder(TChartListOrder::loNone);
  for (int x = 0; x <= 10; ++x) series.AddPoint(x, x);
  series.ComputeVisibleRange();
  EXPECT_EQ(series.FirstVisible(), 0);
  EXPECT_EQ(series.LastVisible(), 10);
}

}  // namespace
}  // namespace plotvik

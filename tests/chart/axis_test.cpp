#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "chart/axis_mapping.h"
#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_series.h"
#include "chart/custom_chart.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"
#include "tests/support/locale_separators.h"

namespace plotvik {
namespace {

// A chart whose rectangle the test sets by hand, so that every axis has known pixels.
class AxisOnChart : public ::testing::Test {
 protected:
  AxisOnChart() {
    chart.SetView3D(false);
    series.SetParentChart(&chart);
    chart.GiveAxesTheirFacts();
  }
  ~AxisOnChart() override { series.SetParentChart(nullptr); }

  // Gives the axis a manual range and the chart rectangle (0, 0, width, height).
  void Place(TChartAxis& axis, double min, double max, int width, int height) {
    chart.SetChartRect({0, 0, width, height});
    chart.GiveAxesTheirFacts();
    axis.SetAxisRange(min, max);
    axis.ComputeRange();
    axis.ComputePixelExtent();
    chart.Canvas3D().ApplyFont(axis.LabelsFont());
  }

  // The automatic range from the series, on the chart rectangle (0, 0, width, height).
  void Layout(TChartAxis& axis, int width, int height) {
    chart.SetChartRect({0, 0, width, height});
    chart.GiveAxesTheirFacts();
    axis.ComputeRange();
    axis.ComputePixelExtent();
    chart.Canvas3D().ApplyFont(axis.LabelsFont());
  }

  static std::vector<double> ValuesOf(const std::vector<TAxisTick>& ticks) {
    std::vector<double> out;
    for (const TAxisTick& t : ticks) out.push_back(t.value);
    return out;
  }

  static std::vector<int> PixelsOf(const std::vector<TAxisTick>& ticks) {
    std::vector<int> out;
    for (const TAxisTick& t : ticks) out.push_back(t.pixel);
    return out;
  }

  TCustomChart chart;
  TChartSeries series;
};

TEST_F(AxisOnChart, LabelStepMeasuresWithTheLabelsFont) {
  TChartAxis& axis = chart.LeftAxis();
  axis.SetIncrement(0.1);
  Place(axis, 1, 5, 100, 300);
  ASSERT_EQ(chart.Canvas3D().FontLineHeight(), 13);
  EXPECT_NEAR(axis.LabelStep(), 0.2, 1e-12) << "21 lines of 14 pixels hold 20 steps of 0.2";
}

TEST_F(AxisOnChart, PlacedTicksAreWhatTheDrawingWritesAndMarks) {
  std::vector<std::string> texts;
  chart.OnGetAxisLabel = [&texts](TChartAxis&, TChartSeries*, int, std::string& text) {
    texts.push_back(text);
  };
  TChartAxis& axis = chart.LeftAxis();
  axis.SetIncrement(2);
  Place(axis, -2.5, 12.25, 100, 300);
  axis.PlaceTicks();
  const std::vector<TAxisTick>& ticks = axis.PlacedTicks().labelled;
  EXPECT_EQ(ValuesOf(ticks), (std::vector<double>{12, 10, 8, 6, 4, 2, 0, -2}));
  EXPECT_EQ(texts.size(), 2 + ticks.size()) << "the range ends, then each label";
  for (const TAxisTick& t : ticks) {
    EXPECT_EQ(t.pixel, axis.PosOfValue(t.value));
    EXPECT_EQ(t.text, axis.LabelText(t.value));
  }
  texts.clear();
  axis.DrawAxis();
  EXPECT_TRUE(texts.empty()) << "the drawing only reads the placed ticks";
  EXPECT_EQ(axis.TickPositions(), PixelsOf(ticks));
}

TEST_F(AxisOnChart, EmptyChartWritesZeroAtTheCentre) {
  TChartAxis& axis = chart.BottomAxis();
  Layout(axis, 400, 100);
  axis.PlaceTicks();
  EXPECT_EQ(axis.PlacedTicks().labelled, (std::vector<TAxisTick>{{0, axis.CenterPixel(), "0"}}));
}

TEST_F(AxisOnChart, TicksWithoutLabelsAreMarked) {
  TChartAxis& axis = chart.LeftAxis();
  axis.SetIncrement(5);
  Place(axis, 0, 10, 100, 300);
  axis.SetLabels(false);
  axis.SetTickOnLabelsOnly(false);
  axis.PlaceTicks();
  axis.DrawAxis();
  EXPECT_EQ(axis.TickPositions(), PixelsOf(axis.PlacedTicks().labelled));
  EXPECT_EQ(axis.TickPositions().size(), 3u);
}

TEST_F(AxisOnChart, TicksPastTheMarkedOnesKeepTheirLabelsButNoMarks) {
  // No room for a label: the smallest step, which over this span gives 5001 labels.
  TChartAxis& axis = chart.LeftAxis();
  Place(axis, 1, 1 + 5e-9, 100, 5);
  axis.PlaceTicks();
  const std::vector<TAxisTick>& ticks = axis.PlacedTicks().labelled;
  ASSERT_GT(ticks.size(), 2000u);
  const std::vector<int> pixels = PixelsOf(ticks);
  EXPECT_EQ(axis.TickPositions(), std::vector<int>(pixels.begin(), pixels.begin() + 2000));
}

TEST_F(AxisOnChart, LabelTextFollowsTheLocaleAndTheChartEvent) {
  {
    const plotvik::testing::SeparatorsScope separators(',', ".");
    EXPECT_EQ(chart.LeftAxis().LabelText(1234.5), "1.234,5");
  }

  chart.OnGetAxisLabel = [](TChartAxis&, TChartSeries*, int, std::string& text) { text += " V"; };
  chart.LeftAxis().SetLabelsMultiLine(true);
  EXPECT_EQ(chart.LeftAxis().LabelText(2), "2\nV");
}

TEST_F(AxisOnChart, MappingCountsFromTheRightEndAndRoundsHalvesToEven) {
  TChartAxis& bottom = chart.BottomAxis();
  Place(bottom, 0, 4, 10, 10);           // 2.5 pixels per unit
  EXPECT_EQ(bottom.PosOfValue(0.2), 0);  // 0.5 -> 0
  EXPECT_EQ(bottom.PosOfValue(0.6), 2);  // 1.5 -> 2
  EXPECT_EQ(bottom.PosOfValue(4), 10);
  EXPECT_EQ(bottom.PosOfValue(1e300), bottom.CenterPixel()) << "too far off maps to the centre";
  EXPECT_EQ(bottom.PosOfValue(std::numeric_limits<double>::quiet_NaN()), bottom.CenterPixel());
  bottom.SetInverted(true);
  EXPECT_EQ(bottom.PosOfValue(0), 10);

  TChartAxis& left = chart.LeftAxis();
  Place(left, 1, 3, 50, 200);
  EXPECT_EQ(left.PosOfValue(3), 0);
  EXPECT_EQ(left.PosOfValue(1), 200);
  EXPECT_DOUBLE_EQ(left.ValueOfPos(left.StartPixel()), left.RangeMax());
  EXPECT_DOUBLE_EQ(left.ValueOfPos(left.EndPixel()), left.RangeMin());
  left.SetInverted(true);
  EXPECT_DOUBLE_EQ(left.ValueOfPos(left.StartPixel()), left.RangeMin());

  // A zero span maps every value to the centre; a zero extent maps every pixel to 0.
  left.SetAutomatic(true);
  left.SetInverted(false);
  Layout(left, 50, 120);
  EXPECT_EQ(left.PosOfValue(7), 60);
  Layout(left, 50, 0);
  EXPECT_EQ(left.ValueOfPos(3), 0);
}

struct MappingCase {
  const char* name;
  bool horizontal;
  bool inverted;
  int pixelOfMinimum;
  int pixelOfMaximum;
  friend void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.name; }
};

class AxisMappingDirection : public ::testing::TestWithParam<MappingCase> {};

TEST_P(AxisMappingDirection, EndsMapBothWays) {
  const MappingCase& c = GetParam();
  const TAxisMapping m{-1, 3, 100, 300, c.horizontal, c.inverted};
  EXPECT_EQ(m.PixelOf(-1), c.pixelOfMinimum);
  EXPECT_EQ(m.PixelOf(3), c.pixelOfMaximum);
  EXPECT_EQ(m.PixelOf(1), 200);
  EXPECT_DOUBLE_EQ(m.ValueOf(c.pixelOfMinimum), -1);
  EXPECT_DOUBLE_EQ(m.ValueOf(c.pixelOfMaximum), 3);
  EXPECT_DOUBLE_EQ(m.ValueOf(150), c.pixelOfMinimum == 100 ? 0 : 2);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, AxisMappingDirection,
    ::testing::Values(MappingCase{"horizontal_grows_rightwards",   true,  false, 100, 300},
                      MappingCase{"horizontal_inverted",           true,  true,  300, 100},
                      MappingCase{"vertical_grows_upwards",        false, false, 300, 100},
                      MappingCase{"vertical_inverted",             false, true,  100, 300}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The mapping rounds without the library; ties go to the even pixel on both sides of zero,
// and values just beside a tie, or too far for a pixel, behave as the library rounding says.
TEST(AxisMappingRounding, SameAsRoundHalfToEven) {
  const TAxisMapping m{0, 1, 0, 1, true, false};  // the value is the offset itself
  const double offsets[] = {0.5,
                            1.5,
                            2.5,
                            -0.5,
                            -1.5,
                            -2.5,
                            0.49999999999999994,
                            -0.49999999999999994,
                            1e-300,
                            -1e-300,
                            123456.5,
                            -123457.5,
                            2147483646.5,
                            -2147483646.5,
                            1073741823.4999999,
                            3e9,
                            -3e9,
                            0.0,
                            -0.0};
  for (double offset : offsets) {
    const std::int64_t library = RoundHalfToEven(offset);
    const int expected = std::fabs(offset) < 2147483647.0 ? ClampToIntRange(library) : 0;
    EXPECT_EQ(m.PixelOf(offset), expected) << offset;
  }
}

TEST_F(AxisOnChart, WidenForMarginsMovesTheDataEndsInside) {
  TChartAxis& bottom = chart.BottomAxis();
  Place(bottom, 0, 10, 100, 50);
  bottom.WidenForMargins(10, 0, 10, 0);
  EXPECT_DOUBLE_EQ(bottom.RangeMin(), -1.25);
  EXPECT_DOUBLE_EQ(bottom.RangeMax(), 11.25);
  EXPECT_EQ(bottom.StartPixel(), 0);
  EXPECT_EQ(bottom.EndPixel(), 100);
  EXPECT_EQ(bottom.PosOfValue(0), 10);
}

TEST_F(AxisOnChart, ComputeRangeFollowsTheSeriesWhileAutomatic) {
  series.AddPoint(0.5, 3);
  series.AddPoint(1.7, -2);
  TChartAxis& bottom = chart.BottomAxis();
  TChartAxis& left = chart.LeftAxis();
  chart.GiveAxesTheirFacts();
  bottom.ComputeRange();
  left.ComputeRange();
  EXPECT_EQ(bottom.Minimum(), 0.5) << "the published values are overwritten";
  EXPECT_EQ(bottom.Maximum(), 1.7);
  EXPECT_EQ(left.RangeMin(), -2);
  EXPECT_EQ(left.RangeMax(), 3);

  left.SetAutomaticMaximum(false);
  left.SetMaximum(10);
  left.ComputeRange();
  EXPECT_EQ(left.RangeMax(), 10);
  EXPECT_EQ(left.RangeMin(), -2);

  // An inactive series counts only while no active one is on the axis.
  series.SetActive(false);
  chart.GiveAxesTheirFacts();
  bottom.ComputeRange();
  EXPECT_EQ(bottom.RangeMax(), 1.7);
  TChartSeries other;
  other.SetParentChart(&chart);
  other.AddPoint(5, 5);
  chart.GiveAxesTheirFacts();
  bottom.ComputeRange();
  EXPECT_EQ(bottom.RangeMin(), 5);
  other.SetParentChart(nullptr);
}

TEST_F(AxisOnChart, SetAxisRangeOrdersAndWidensAndTurnsAutomaticOff) {
  TChartAxis& axis = chart.LeftAxis();
  axis.SetAxisRange(2, 2);
  EXPECT_EQ(axis.Minimum(), 2);
  EXPECT_EQ(axis.Maximum(), 2 + 1e-10);
  axis.SetAxisRange(5, 1);
  EXPECT_EQ(axis.Minimum(), 1);
  EXPECT_EQ(axis.Maximum(), 5);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
}

TEST_F(AxisOnChart, AutomaticFlagsFollowEachOther) {
  TChartAxis& axis = chart.BottomAxis();
  axis.SetAutomaticMinimum(false);
  EXPECT_FALSE(axis.Automatic());
  EXPECT_TRUE(axis.AutomaticMaximum());
  axis.SetAutomaticMinimum(true);
  EXPECT_TRUE(axis.Automatic());
  axis.SetAutomatic(false);
  EXPECT_FALSE(axis.AutomaticMinimum());
  EXPECT_FALSE(axis.AutomaticMaximum());
  // While the form is read, each flag keeps its own declared value.
  chart.BeginLoading();
  axis.SetAutomatic(true);
  EXPECT_FALSE(axis.AutomaticMinimum());
  chart.EndLoading();
}

TEST_F(AxisOnChart, ScrollAxisWithLimitsMovesOnlyTowardsData) {
  series.AddPoint(0, 0);
  series.AddPoint(10, 10);
  chart.GiveAxesTheirFacts();
  TChartAxis& axis = chart.LeftAxis();
  axis.SetAxisRange(0, 10);
  axis.ScrollAxis(1, true);
  EXPECT_EQ(axis.Maximum(), 10) << "no data above the maximum";
  axis.ScrollAxis(-1, true);
  EXPECT_EQ(axis.Minimum(), 0) << "no data below the minimum";
  axis.ScrollAxis(0.3, false);
  EXPECT_DOUBLE_EQ(axis.Minimum(), 0.3);
  EXPECT_DOUBLE_EQ(axis.Maximum(), 10.3);
  axis.ScrollAxis(-0.3, true);
  EXPECT_DOUBLE_EQ(axis.Minimum(), 0);
}

struct BandCase {
  const char* name;
  std::function<void(TChartAxis&)> setup;
  int ticksBand;
};

TEST_F(AxisOnChart, TicksBandAddsAxisLineTicksAndMinorTicks) {
  // clang-format off
  const BandCase cases[] = {
      {"defaults",         [](TChartAxis&) {},                                                                                 7},
      {"longer_ticks",     [](TChartAxis& a) { a.SetTickLength(10); },                                                         13},
      {"no_axis_line",     [](TChartAxis& a) { a.Axis().SetVisible(false); },                                                  4},
      {"no_ticks",         [](TChartAxis& a) { a.Ticks().SetVisible(false); },                                                 3},
      {"minor_ticks_only", [](TChartAxis& a) { a.Axis().SetVisible(false); a.Ticks().SetVisible(false); },                     2},
      {"nothing",          [](TChartAxis& a) { a.Axis().SetVisible(false); a.Ticks().SetVisible(false); a.MinorTicks().SetVisible(false); }, 0},
  };
  // clang-format on
  for (const BandCase& c : cases) {
    TCustomChart fresh;
    TChartAxis& bottom = fresh.BottomAxis();
    TChartAxis& left = fresh.LeftAxis();
    for (TChartAxis* a : {&bottom, &left}) {
      a->SetLabels(false);
      c.setup(*a);
    }
    TRect r{10, 10, 200, 100};
    bottom.ReserveSpace(r);
    left.ReserveSpace(r);
    EXPECT_EQ(r, (TRect{10 + c.ticksBand, 10, 200, 100 - c.ticksBand})) << c.name;
  }
}

TEST_F(AxisOnChart, FixedTitleAndLabelBandsAreTakenFromTheOutside) {
  for (TChartAxis* a : {&chart.BottomAxis(), &chart.LeftAxis()}) {
    a->Title().SetCaption("T");
    a->SetTitleSize(20);
    a->SetLabelsSize(30);
  }
  TRect r{0, 0, 300, 200};
  chart.BottomAxis().ReserveSpace(r);
  chart.LeftAxis().ReserveSpace(r);
  EXPECT_EQ(r, (TRect{57, 0, 300, 143}));
  EXPECT_EQ(chart.BottomAxis().TitlePos(), 180);
  EXPECT_EQ(chart.BottomAxis().LabelsPos(), 150);
  EXPECT_EQ(chart.LeftAxis().TitlePos(), 20);
  EXPECT_EQ(chart.LeftAxis().LabelsPos(), 50);
}

struct SetterCase {
  const char* name;
  std::function<void(TChartAxis&)> set;
  std::function<double(const TChartAxis&)> read;
  double before;
  const char* message;
};

TEST_F(AxisOnChart, RefusedSettersKeepTheValue) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // clang-format off
  const SetterCase cases[] = {
      {"increment",     [](TChartAxis& a) { a.SetIncrement(-0.1); },        [](const TChartAxis& a) { return a.Increment(); },        0,  "Axis increment must be >= 0"},
      {"increment_nan", [nan](TChartAxis& a) { a.SetIncrement(nan); },      [](const TChartAxis& a) { return a.Increment(); },        0,  "Axis increment must be >= 0"},
      // on an automatic axis too, though the next paint would overwrite both
      {"minimum",       [](TChartAxis& a) { a.SetMinimum(1); },             [](const TChartAxis& a) { return a.Minimum(); },          0,  "Axis Minimum Value must be <= Maximum"},
      {"maximum",       [](TChartAxis& a) { a.SetMaximum(-1); },            [](const TChartAxis& a) { return a.Maximum(); },          0,  "Axis Maximum Value must be >= Minimum"},
      {"separation",    [](TChartAxis& a) { a.SetLabelsSeparation(-1); },   [](const TChartAxis& a) { return a.LabelsSeparation(); }, 10, "Labels Separation % must be greater than 0"},
  };
  // clang-format on
  for (const SetterCase& c : cases) {
    TChartAxis& axis = chart.LeftAxis();
    try {
      c.set(axis);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const AxisException& e) {
      EXPECT_EQ(e.Message(), c.message) << c.name;
    }
    EXPECT_EQ(c.read(axis), c.before) << c.name;
  }
  EXPECT_TRUE(chart.LeftAxis().Automatic());
}

TEST_F(AxisOnChart, OnlyTheBottomAndLeftAxesOfALineChartAreVisible) {
  EXPECT_TRUE(chart.BottomAxis().IsVisible());
  EXPECT_TRUE(chart.LeftAxis().IsVisible());
  EXPECT_FALSE(chart.TopAxis().IsVisible());
  EXPECT_FALSE(chart.RightAxis().IsVisible());
  EXPECT_FALSE(chart.DepthAxis().IsVisible());
  EXPECT_EQ(chart.LeftAxis().ResolvedLabelStyle(), talValue);
  EXPECT_EQ(chart.TopAxis().ResolvedLabelStyle(), talNone);

  // With no active series every standard axis shows.
  series.SetActive(false);
  chart.GiveAxesTheirFacts();
  EXPECT_TRUE(chart.TopAxis().IsVisible());
  EXPECT_FALSE(chart.DepthAxis().IsVisible());
  chart.SetAxisVisible(false);
  EXPECT_FALSE(chart.BottomAxis().IsVisible());
}

TEST_F(AxisOnChart, AxesAnswerFromTheSeriesAsTheLastFrameFoundThem) {
  chart.SetBounds(0, 0, 300, 200);
  series.AddPoint(1, 2);
  chart.PaintWindow();
  EXPECT_EQ(chart.BottomAxis().ChartMaximum(), 1);
  series.AddPoint(7, 9);
  series.SetActive(false);
  EXPECT_EQ(chart.BottomAxis().ChartMaximum(), 1) << "the axis does not look at the series";
  EXPECT_FALSE(chart.TopAxis().IsVisible());
  chart.PaintWindow();
  EXPECT_EQ(chart.BottomAxis().ChartMaximum(), 7);
  EXPECT_EQ(chart.LeftAxis().ChartMinimum(), 2);
  EXPECT_TRUE(chart.TopAxis().IsVisible()) << "no active series: every standard axis shows";
}

}  // namespace
}  // namespace plotvik

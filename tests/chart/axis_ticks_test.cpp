#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "chart/axis_ticks.h"
#include "chart/chart_axis.h"

namespace plotvik {
namespace {

// Labels of the default pattern; 6 pixels a character and 13 a line, like the 8 pt label font.
TAxisTextMeasure Measure() {
  return {[](double v) { return FormatAxisValue(v, {}, '.', ","); },
          [](std::string_view line) { return 6 * static_cast<int>(line.size()); },
          [] { return 13; }};
}

// A vertical axis from the top pixel 0 down to `pixels`, as the left axis of a chart.
TAxisMapping Vertical(double min, double max, int pixels) {
  return {min, max, 0, pixels, false, false};
}

TAxisMapping Horizontal(double min, double max, int pixels) {
  return {min, max, 0, pixels, true, false};
}

struct StepCase {
  const char* name;
  double increment;
  TAxisMapping mapping;
  double step;
  friend void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }
};

class LabelStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(LabelStep, ClimbsTheSequenceUntilTheLabelsFit) {
  const StepCase& c = GetParam();
  TAxisTickRules rules;
  rules.increment = c.increment;
  EXPECT_NEAR(AxisLabelStep(c.mapping, rules, Measure()), c.step, c.step * 1e-9);
}

// A 13-pixel label line takes 14 with the separation: 300 pixels hold 21 labels. The labels
// "0" and "10" of a 100-pixel horizontal axis take 13 pixels: 8 labels.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, LabelStep,
    ::testing::Values(StepCase{"span_of_one_or_more_starts_at_one",  0,   Vertical(1, 2.2, 300),   1},
                      StepCase{"small_span_climbs_from_the_floor",   0,   Vertical(1, 1.6, 300),   0.05},
                      StepCase{"increment_is_used_when_it_fits",     0.1, Vertical(1, 2.6, 300),   0.1},
                      StepCase{"increment_grows_to_fit",             0.1, Vertical(1, 5, 300),     0.2},
                      StepCase{"increment_grows_twice",              0.1, Vertical(1, 10, 300),    0.5},
                      StepCase{"more_room_keeps_the_increment",      0.1, Vertical(1, 5, 700),     0.1},
                      StepCase{"no_room_for_one_label",              0,   Vertical(1, 11, 5),      1e-12},
                      StepCase{"span_of_the_least_range",            0,   Vertical(1, 1 + 1e-10, 300), 5e-12},
                      StepCase{"widths_along_a_horizontal_axis",     0,   Horizontal(0, 10, 100),  2}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct TicksCase {
  const char* name;
  TAxisMapping mapping;
  std::function<void(TAxisTickRules&)> rules;
  std::vector<double> values;  // the labelled values, largest first
};

std::vector<double> ValuesOf(const std::vector<TAxisTick>& ticks) {
  std::vector<double> out;
  for (const TAxisTick& t : ticks) out.push_back(t.value);
  return out;
}

TEST(AxisTicks, LabelledValuesFollowTheRules) {
  auto increment = [](double v) { return [v](TAxisTickRules& r) { r.increment = v; }; };
  // clang-format off
  const TicksCase cases[] = {
      {"written_from_the_top_down",          Vertical(-2.5, 12.25, 300), increment(2),  {12, 10, 8, 6, 4, 2, 0, -2}},
      {"lowest_below_a_negative_minimum_out", Vertical(-5, 5, 300),      increment(1),  {5, 4, 3, 2, 1, 0, -1, -2, -3, -4}},
      {"a_zero_minimum_keeps_its_label",     Vertical(0, 10, 300),       increment(1),  {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
      {"zero_span_writes_one_label",         Horizontal(0, 0, 400),      {},            {0}},
      {"no_room_for_a_label_writes_none",    Vertical(0, 10, 5),         {},            {}},
      {"infinite_span_writes_none",          Vertical(-1.7e308, 1.7e308, 300), {},      {}},
      {"other_label_styles_write_none",      Vertical(0, 10, 300),       [](TAxisTickRules& r) { r.valueLabels = false; }, {}},
      {"ticks_wait_for_labels",              Vertical(0, 10, 300),       [](TAxisTickRules& r) { r.increment = 5; r.labels = false; }, {}},
      {"ticks_without_labels",               Vertical(0, 10, 300),       [](TAxisTickRules& r) { r.increment = 5; r.labels = false; r.tickOnLabelsOnly = false; }, {10, 5, 0}},
      {"labels_at_the_ends_can_be_left_out", Vertical(0, 10, 300),       [](TAxisTickRules& r) { r.increment = 5; r.labelsOnAxis = false; }, {5}},
  };
  // clang-format on
  for (const TicksCase& c : cases) {
    TAxisTickRules rules;
    if (c.rules) c.rules(rules);
    const TAxisTicks ticks = ComputeAxisTicks(c.mapping, rules, Measure());
    EXPECT_EQ(ValuesOf(ticks.labelled), c.values) << c.name;
    for (const TAxisTick& t : ticks.labelled) {
      EXPECT_EQ(t.pixel, c.mapping.PixelOf(t.value)) << c.name << " " << t.value;
      EXPECT_EQ(t.text, rules.labels ? Measure().text(t.value) : "") << c.name << " " << t.value;
    }
  }
}

TEST(AxisTicks, ZeroOrTinySpanWritesOneLabel) {
  EXPECT_EQ(ComputeAxisTicks(Horizontal(0, 0, 400), {}, Measure()).labelled,
            (std::vector<TAxisTick>{{0, 200, "0"}}))
      << "at the centre";
  EXPECT_EQ(ComputeAxisTicks(Horizontal(3, 3.00000000001, 400), {}, Measure()).labelled.size(), 1u);
}

TEST(AxisTicks, TextsAreAskedForTheEndsFirstThenInOrder) {
  std::vector<double> asked;
  TAxisTextMeasure measure = Measure();
  measure.text = [&asked](double v) {
    asked.push_back(v);
    return FormatAxisValue(v, {}, '.', ",");
  };
  TAxisTickRules rules;
  rules.increment = 5;
  ComputeAxisTicks(Vertical(0, 10, 300), rules, measure);
  EXPECT_EQ(asked, (std::vector<double>{10, 0, 10, 5, 0}));
}

TEST(AxisTicks, OnlyTheFirstTwoThousandAreMarked) {
  // No room for a label: the smallest step, which over this span gives 5001 labels.
  const TAxisTicks ticks = ComputeAxisTicks(Vertical(1, 1 + 5e-9, 5), {}, Measure());
  ASSERT_GT(ticks.labelled.size(), TAxisTicks::kMaxMarked);
  ASSERT_EQ(ticks.Marked().size(), TAxisTicks::kMaxMarked);
  EXPECT_EQ(&ticks.Marked().back(), &ticks.labelled[TAxisTicks::kMaxMarked - 1]);
}

struct MinorCase {
  const char* name;
  TAxisMapping mapping;
  int charWidth;
  std::vector<TAxisTick> minor;
};

TEST(AxisTicks, MinorTicksSplitEachGapOfTheMarkedTicks) {
  // clang-format off
  const MinorCase cases[] = {
      // ticks 8, 4, 0 at 80, 40, 0: the first gap continues beyond 8 up to the axis end
      {"even_gaps",        Horizontal(0, 10, 100), 6, {{9, 90, ""},
                                                       {5, 50, ""}, {6, 60, ""}, {7, 70, ""},
                                                       {1, 10, ""}, {2, 20, ""}, {3, 30, ""}}},
      // ticks 3, 2, 1, 0 at 10, 7, 3, 0: the drawn gap of 3 pixels is split, not the value
      {"uneven_gaps",      Horizontal(0, 3, 10),   1, {{2.25, 8, ""}, {2.5, 9, ""}, {2.75, 9, ""},
                                                       {1.25, 4, ""}, {1.5, 5, ""}, {1.75, 6, ""},
                                                       {0.25, 1, ""}, {0.5, 2, ""}, {0.75, 2, ""}}},
      {"one_tick_has_none", Horizontal(0, 0, 100), 6, {}},
  };
  // clang-format on
  for (const MinorCase& c : cases) {
    TAxisTextMeasure measure = Measure();
    measure.lineWidth = [w = c.charWidth](std::string_view line) {
      return w * static_cast<int>(line.size());
    };
    TAxisTickRules rules;
    rules.increment = c.mapping.rangeMax == 10 ? 4 : 0;
    EXPECT_EQ(ComputeAxisTicks(c.mapping, rules, measure).minor, c.minor) << c.name;
  }
}

}  // namespace
}  // namespace plotvik

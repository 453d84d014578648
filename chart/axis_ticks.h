#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/axis_mapping.h"

namespace plotvik {

// One labelled value of an axis: the value, the pixel it sits at and the text written there
// (empty when the axis writes no labels, and for minor ticks).
struct TAxisTick {
  double value = 0;
  int pixel = 0;
  std::string text;
  friend bool operator==(const TAxisTick&, const TAxisTick&) = default;
};

// The label rules an axis applies when it chooses its step and writes its values.
struct TAxisTickRules {
  double increment = 0;  // the least step; 0 lets the span choose
  int labelsSeparation = 10;
  bool labelHeightsAlong = false;  // labels stack by line height along the axis (vertical axis)
  bool valueLabels = true;         // the resolved label style writes values
  bool labels = true;
  bool labelsOnAxis = true;
  bool tickOnLabelsOnly = true;
  int minorTickCount = 3;
};

// How label texts come out and how large they are, so that the step needs no canvas.
struct TAxisTextMeasure {
  std::function<std::string(double)> text;  // the label of a value, as written
  std::function<int(std::string_view)> lineWidth;
  std::function<int()> lineHeight;
};

// The ticks of one axis at one layout: what the drawing writes and marks.
struct TAxisTicks {
  // Only an axis without room for one label writes more; its marks stop here.
  static constexpr std::size_t kMaxMarked = 2000;

  double step = 0;
  std::vector<TAxisTick> labelled;  // largest value first
  std::vector<TAxisTick> minor;     // inside the axis ends only

  std::span<const TAxisTick> Marked() const {
    return {labelled.data(), std::min(labelled.size(), kMaxMarked)};
  }
};

// The 1-2-5 sequence: the next "nice" step above x.
double NextNiceStep(double x);

// The widest line of a text that may hold line breaks.
int WidestLineWidth(const std::string& text, const TAxisTextMeasure& measure);

// The smallest step from the 1-2-5 sequence at which the labels of the range ends fit.
double AxisLabelStep(const TAxisMapping& mapping, const TAxisTickRules& rules,
                     const TAxisTextMeasure& measure);

// The step, the labelled values from the largest down and the minor ticks between the marked
// ones. Asks for the texts of the range ends first, then of each labelled value in order.
TAxisTicks ComputeAxisTicks(const TAxisMapping& mapping, const TAxisTickRules& rules,
                            const TAxisTextMeasure& measure);

}  // namespace plotvik

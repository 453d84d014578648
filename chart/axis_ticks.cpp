#include "chart/axis_ticks.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "platform/numeric.h"

namespace plotvik {

namespace {

// The smallest label step: below it a label would not differ from its neighbour.
constexpr double kMinStep = 1e-12;

// The text two values are compared by when deciding whether a step is still visible: 15
// significant digits, as the short general number form writes them.
std::string GeneralText(double v) {
  if (v == 0) return "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  return std::string(buf, res.ptr);
}

int LineCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The labelled values from the largest down; empty when the step would write too many.
void AddLabelled(TAxisTicks& ticks, const TAxisMapping& mapping, const TAxisTickRules& rules,
                 const TAxisTextMeasure& measure) {
  const double step = ticks.step;
  const double rangeMin = mapping.rangeMin;
  const double rangeMax = mapping.rangeMax;
  const double span = mapping.RangeSpan();
  // Written so that a span beyond the double range (data from -1e308 to 1e308), whose
  // quotient is not a number, counts as too many labels too.
  if (!(std::fabs(span / step) < 10000)) return;

  auto add = [&](double value) {
    const int pixel = mapping.PixelOf(value);
    if (!(rules.labelsOnAxis || (mapping.startPixel < pixel && pixel < mapping.endPixel))) return;
    ticks.labelled.push_back({value, pixel, rules.labels ? measure.text(value) : std::string()});
  };

  double v = rangeMax;
  if (GeneralText(rangeMin) != GeneralText(rangeMax)) v = TruncateToMultipleOf(rangeMax, step);
  while (v > rangeMax) {
    const double next = v - step;
    if (next == v) break;  // a step below the value's resolution would never get below
    v = next;
  }
  if (span == 0 || std::fabs(rangeMax - rangeMin) < 1e-10 ||
      GeneralText(v) == GeneralText(v - step)) {
    add(v);
    return;
  }
  const double limit = (rangeMin - 1e-12) / (1 + 1e-12);
  // The 10000 guard above bounds the count; the cap only protects against accumulated error.
  for (int n = 0; v >= limit && n <= 10001; ++n) {
    add(v);
    v -= step;
  }
}

// Minor ticks split each gap between marked ticks evenly, and continue the first gap's spacing
// beyond both outermost ones. Pixels are split from the marked pixels so that each gap stays
// symmetric on screen; values follow the same fractions.
void AddMinor(TAxisTicks& ticks, const TAxisMapping& mapping, int count) {
  const std::span<const TAxisTick> t = ticks.Marked();
  const std::size_t n = t.size();
  auto add = [&](double value, std::int64_t pixel) {
    if (mapping.startPixel < pixel && pixel < mapping.endPixel) {
      ticks.minor.push_back({value, static_cast<int>(pixel), {}});
    }
  };
  if (n > 1) {
    const double pixelGap = static_cast<double>(t[1].pixel) - t[0].pixel;
    const double valueGap = t[0].value - t[1].value;
    for (int j = 1; j <= count; ++j) {
      const std::int64_t d = RoundHalfToEven(pixelGap / (count + 1) * j);
      const double dv = valueGap / (count + 1) * j;
      add(t[0].value + dv, t[0].pixel - d);
      add(t[n - 1].value - dv, t[n - 1].pixel + d);
    }
  }
  for (std::size_t k = 1; k < n; ++k) {
    const double pixelGap = static_cast<double>(t[k].pixel) - t[k - 1].pixel;
    const double valueGap = t[k - 1].value - t[k].value;
    for (int j = 1; j <= count; ++j) {
      add(t[k].value + valueGap * j / (count + 1),
          t[k].pixel - RoundHalfToEven(j * pixelGap / (count + 1)));
    }
  }
}

}  // namespace

double NextNiceStep(double x) {
  // Guards against a loop without end on a value the sequence can never leave.
  if (!(x > 0) || !std::isfinite(x)) return x;
  if (x >= 10) return 10 * NextNiceStep(x * 0.1);
  if (x < 1) return 0.1 * NextNiceStep(x * 10);
  if (x < 2) return 2;
  if (x < 5) return 5;
  return 10;
}

int WidestLineWidth(const std::string& text, const TAxisTextMeasure& measure) {
  const std::string_view all(text);
  int widest = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = all.find('\n', start);
    widest = std::max(widest, measure.lineWidth(all.substr(start, end - start)));
    if (end == std::string_view::npos) return widest;
    start = end + 1;
  }
}

double AxisLabelStep(const TAxisMapping& mapping, const TAxisTickRules& rules,
                     const TAxisTextMeasure& measure) {
  const std::string maxText = measure.text(mapping.rangeMax);
  const std::string minText = measure.text(mapping.rangeMin);
  // Labels are written level: along a vertical axis they stack by line height.
  int s = mapping.horizontal
              ? std::max(WidestLineWidth(maxText, measure), WidestLineWidth(minText, measure))
              : measure.lineHeight() * std::max(LineCount(maxText), LineCount(minText));
  std::int64_t m = 1;
  if (s > 0) {
    if (rules.labelsSeparation > 0) {
      s += static_cast<int>(RoundHalfToEven(rules.labelsSeparation * 0.01 * s));
    }
    m = RoundHalfToEven(static_cast<double>(mapping.PixelSize()) / s);
  }
  if (m < 1) return kMinStep;

  const double span = mapping.RangeSpan();
  double t = rules.increment > 0 ? rules.increment : (std::fabs(span) >= 1 ? 1.0 : kMinStep);
  std::int64_t k = m + 1;
  do {
    const double q = span / t;
    if (std::fabs(q) < 2147483647.0) {
      k = RoundHalfToEven(q);
      if (k > m) t = NextNiceStep(t);
    } else {
      t = NextNiceStep(t);
    }
    // An infinite span would otherwise climb forever.
    if (!std::isfinite(t)) break;
  } while (k > m);
  return std::max(t, kMinStep);
}

TAxisTicks ComputeAxisTicks(const TAxisMapping& mapping, const TAxisTickRules& rules,
                            const TAxisTextMeasure& measure) {
  TAxisTicks ticks;
  ticks.step = AxisLabelStep(mapping, rules, measure);
  if (!(ticks.step > 0 && mapping.rangeMax >= mapping.rangeMin) || !rules.valueLabels) {
    return ticks;
  }
  // A value whose label is not written has a tick only when ticks do not wait for labels.
  if (!rules.labels && rules.tickOnLabelsOnly) return ticks;
  AddLabelled(ticks, mapping, rules, measure);
  AddMinor(ticks, mapping, rules.minorTickCount);
  return ticks;
}

}  // namespace plotvik

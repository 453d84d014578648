#include "chart/chart_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "chart/chart_axis_internal.h"
#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "platform/locale_settings.h"
#include "platform/numeric.h"

namespace plotvik {

using namespace axis_detail;

// ---------------------------------------------------------------------------------------------
// Label formatting

TAxisValuePattern TAxisValuePattern::Parse(const std::string& pattern) {
  TAxisValuePattern p;
  if (pattern.find_first_of("0#") == std::string::npos) return p;  // nothing numeric: default
  const size_t point = pattern.find('.');
  const std::string intPart = pattern.substr(0, point);
  const std::string fracPart = point == std::string::npos ? "" : pattern.substr(point + 1);
  p.grouping = intPart.find(',') != std::string::npos;
  p.minIntDigits = static_cast<int>(std::count(intPart.begin(), intPart.end(), '0'));
  p.minFracDigits = static_cast<int>(std::count(fracPart.begin(), fracPart.end(), '0'));
  p.maxFracDigits =
      p.minFracDigits + static_cast<int>(std::count(fracPart.begin(), fracPart.end(), '#'));
  return p;
}

std::string FormatAxisValue(double value, const TAxisValuePattern& pattern, char decimalSeparator,
                            std::string_view thousandsSeparator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  // 18 significant digits of the magnitude: d0.d1...d17 × 10^exp.
  const double magnitude = std::fabs(value);
  std::string digits(18, '0');
  int exponent = 0;
  if (magnitude != 0) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 17);
    std::string_view text(buf, static_cast<size_t>(res.ptr - buf));
    const size_t e = text.find('e');
    digits[0] = text[0];
    for (size_t i = 2, k = 1; i < e; ++i, ++k) digits[k] = text[i];
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
  }
  const int intCount = exponent + 1;  // digits before the decimal point (may be <= 0)
  auto digitAt = [&](int pos) {       // pos 0 = first integer digit of a number with intCount
    return (pos >= 0 && pos < 18) ? digits[static_cast<size_t>(pos)] : '0';
  };

  // Kept digits: the integer digits and maxFracDigits fraction digits.
  const int fracCount = pattern.maxFracDigits;
  std::string kept;
  const int intLen = std::max(intCount, 0);
  kept.reserve(static_cast<size_t>(intLen + fracCount + 1));
  for (int i = 0; i < intLen; ++i) kept.push_back(digitAt(i));
  for (int j = 0; j < fracCount; ++j) kept.push_back(digitAt(intCount + j));
  const char firstDropped = digitAt(intCount + fracCount);

  // Round half away from zero on the decimal digits, carrying leftwards.
  int newIntLen = intLen;
  if (firstDropped >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++kept[static_cast<size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
      ++newIntLen;
    }
  }
  const bool allZero = kept.find_first_not_of('0') == std::string::npos;

  std::string intDigits = kept.substr(0, static_cast<size_t>(newIntLen));
  std::string fracDigits = kept.substr(static_cast<size_t>(newIntLen));
  const size_t firstNonZero = intDigits.find_first_not_of('0');
  intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);
  if (static_cast<int>(intDigits.size()) < pattern.minIntDigits) {
    intDigits.insert(0, static_cast<size_t>(pattern.minIntDigits) - intDigits.size(), '0');
  }
  while (static_cast<int>(fracDigits.size()) > pattern.minFracDigits && !fracDigits.empty() &&
         fracDigits.back() == '0') {
    fracDigits.pop_back();
  }

  std::string out;
  out.reserve(intDigits.size() * 4 / 3 + fracDigits.size() + 3);
  // A value that rounds to nothing is written without a sign: "-0" would only confuse.
  if (value < 0 && !allZero) out.push_back('-');
  for (size_t i = 0; i < intDigits.size(); ++i) {
    if (pattern.grouping && i > 0 && (intDigits.size() - i) % 3 == 0) {
      out += thousandsSeparator;
    }
    out.push_back(intDigits[i]);
  }
  if (!fracDigits.empty()) {
    out.push_back(decimalSeparator);
    out += fracDigits;
  }
  if (out.empty() || out == "-") return std::string(1, '0');
  return out;
}

double NextNiceStep(double x) {
  // Guards against a loop without end on a value the sequence can never leave.
  if (!(x > 0) || !std::isfinite(x)) return x;
  if (x >= 10) return 10 * NextNiceStep(x * 0.1);
  if (x < 1) return 0.1 * NextNiceStep(x * 10);
  if (x < 2) return 2;
  if (x < 5) return 5;
  return 10;
}

// ---------------------------------------------------------------------------------------------
// Labels

std::string TChartAxis::LabelText(double value) const {
  std::string text = FormatAxisValue(value, valuePattern_, LocaleDecimalChar, LocaleThousandsChar);
  if (chart_.OnGetAxisLabel) {
    chart_.OnGetAxisLabel(const_cast<TChartAxis&>(*this), nullptr, -1, text);
  }
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', '\n');
  return text;
}

int TChartAxis::LabelLineCount(const std::string& text) const {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int TChartAxis::TextWidthOfLines(const std::string& text) const {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  int widest = 0;
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    widest = std::max(widest, canvas.TextWidthOf(text.substr(start, end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return widest;
}

bool TChartAxis::AngleAlongSide(int angle) const {
  return Horizontal() ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
}

double TChartAxis::LabelStep() const {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  const std::string maxText = LabelText(mapping_.rangeMax);
  const std::string minText = LabelText(mapping_.rangeMin);
  const int lines = std::max(LabelLineCount(maxText), LabelLineCount(minText));
  // The label size along the axis: widths on a horizontal axis, line heights on a vertical one,
  // swapped when the labels are turned across.
  const bool heightsAlong = Horizontal() ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                         : (labelsAngle_ == 0 || labelsAngle_ == 180);
  int s = heightsAlong ? canvas.FontLineHeight() * lines
                       : std::max(TextWidthOfLines(maxText), TextWidthOfLines(minText));
  std::int64_t m = 1;
  if (s > 0) {
    if (labelsSeparation_ > 0) s += static_cast<int>(RoundHalfToEven(labelsSeparation_ * 0.01 * s));
    m = RoundHalfToEven(static_cast<double>(PixelSize()) / s);
  }
  if (m < 1) return kMinStep;

  double t = increment_ > 0 ? increment_ : (std::fabs(RangeSpan()) >= 1 ? 1.0 : kMinStep);
  std::int64_t k = m + 1;
  do {
    const double q = RangeSpan() / t;
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

// ---------------------------------------------------------------------------------------------
// Ticks

std::vector<TAxisTick> TChartAxis::ComputeTicks() const {
  chart_.Canvas3D().ApplyFont(*labelsFont_);
  return TicksAtStep(LabelStep());
}

std::vector<TAxisTick> TChartAxis::TicksAtStep(double step) const {
  std::vector<TAxisTick> ticks;
  if (!(step > 0 && RangeMax() >= RangeMin()) || ResolvedLabelStyle() != talValue) return ticks;
  // A value whose label is not written has a tick only when ticks do not wait for labels.
  if (!labels_ && tickOnLabelsOnly_) return ticks;
  const double rangeMin = mapping_.rangeMin;
  const double rangeMax = mapping_.rangeMax;
  const double span = RangeSpan();
  // Written so that a span beyond the double range (data from -1e308 to 1e308), whose
  // quotient is not a number, counts as too many labels too.
  if (!(std::fabs(span / step) < 10000)) return ticks;

  auto add = [&](double value) {
    const int pixel = PosOfValue(value);
    if (!(labelsOnAxis_ || (mapping_.startPixel < pixel && pixel < mapping_.endPixel))) return;
    ticks.push_back({value, pixel, labels_ ? LabelText(value) : std::string()});
  };

  double v = rangeMax;
  if (roundFirstLabel_ && GeneralText(rangeMin) != GeneralText(rangeMax)) {
    v = TruncateToMultipleOf(rangeMax, step);
  }
  while (v > rangeMax) {
    const double next = v - step;
    if (next == v) break;  // a step below the value's resolution would never get below
    v = next;
  }
  if (span == 0 || std::fabs(rangeMax - rangeMin) < 1e-10 ||
      GeneralText(v) == GeneralText(v - step)) {
    add(v);
    return ticks;
  }
  const double limit = (rangeMin - 1e-12) / (1 + 1e-12);
  // The 10000 guard above bounds the count; the cap only protects against accumulated error.
  for (int n = 0; v >= limit && n <= 10001; ++n) {
    add(v);
    v -= step;
  }
  return ticks;
}

// ---------------------------------------------------------------------------------------------
// Room for the labels

int TChartAxis::WidestLabel() const {
  switch (ResolvedLabelStyle()) {
    case talValue: {
      double a = mapping_.rangeMin;
      double b = mapping_.rangeMax;
      if (roundFirstLabel_ || (dateTime_ && exactDateTime_)) {
        const double s = LabelStep();
        a = TruncateToMultipleOf(mapping_.rangeMin, s);
        b = TruncateToMultipleOf(mapping_.rangeMax, s);
      }
      // Measuring must not run the chart's label event: it is for the drawn texts only.
      const std::string ta =
          FormatAxisValue(a, valuePattern_, LocaleDecimalChar, LocaleThousandsChar);
      const std::string tb =
          FormatAxisValue(b, valuePattern_, LocaleDecimalChar, LocaleThousandsChar);
      auto multi = [this](std::string t) {
        if (labelsMultiLine_) std::replace(t.begin(), t.end(), ' ', '\n');
        return t;
      };
      return std::max(TextWidthOfLines(multi(ta)), TextWidthOfLines(multi(tb))) +
             chart_.Canvas3D().TextWidthOf(" ");
    }
    case talMark:
    case talText:
      // Labels from series marks or point labels are not drawn by this program's charts.
      return 0;
    default:
      return 0;
  }
}

}  // namespace plotvik

#include "chart/chart_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/custom_chart_panel.h"
#include "platform/locale_settings.h"
#include "platform/numeric.h"

namespace plotvik {

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

// ---------------------------------------------------------------------------------------------
// Labels

std::string TChartAxis::LabelText(double value) const {
  std::string text = FormatAxisValue(value, {}, LocaleDecimalChar, LocaleThousandsChar);
  if (onLabel_) onLabel_(const_cast<TChartAxis&>(*this), text);
  if (labelsMultiLine_) std::replace(text.begin(), text.end(), ' ', '\n');
  return text;
}

TAxisTickRules TChartAxis::TickRules() const {
  TAxisTickRules rules;
  rules.increment = increment_;
  rules.labelsSeparation = labelsSeparation_;
  rules.valueLabels = ResolvedLabelStyle() == talValue;
  rules.labels = labels_;
  rules.labelsOnAxis = labelsOnAxis_;
  rules.tickOnLabelsOnly = tickOnLabelsOnly_;
  return rules;
}

TAxisTextMeasure TChartAxis::TextMeasure() const {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  return {[this](double value) { return LabelText(value); },
          [&canvas](std::string_view line) { return canvas.TextWidthOf(line); },
          [&canvas] { return canvas.FontLineHeight(); }};
}

double TChartAxis::LabelStep() const {
  return AxisLabelStep(mapping_, TickRules(), TextMeasure());
}

void TChartAxis::PlaceTicks() {
  if (IsDepthAxis()) return;
  chart_.Canvas3D().ApplyFont(*labelsFont_);
  ticks_ = ComputeAxisTicks(mapping_, TickRules(), TextMeasure());
}

std::vector<int> TChartAxis::TickPositions() const {
  std::vector<int> pixels;
  for (const TAxisTick& tick : ticks_.Marked()) pixels.push_back(tick.pixel);
  return pixels;
}

// ---------------------------------------------------------------------------------------------
// Room for the labels

int TChartAxis::WidestLabel() const {
  // Labels from series marks or point labels are not drawn by this program's charts.
  if (ResolvedLabelStyle() != talValue) return 0;
  // The labels start at a multiple of the step, so those are the texts to make room for.
  const double s = LabelStep();
  TAxisTextMeasure measure = TextMeasure();
  // Measuring must not run the chart's label event: it is for the drawn texts only.
  measure.text = [this](double value) {
    std::string t = FormatAxisValue(value, {}, LocaleDecimalChar, LocaleThousandsChar);
    if (labelsMultiLine_) std::replace(t.begin(), t.end(), ' ', '\n');
    return t;
  };
  const std::string a = measure.text(TruncateToMultipleOf(mapping_.rangeMin, s));
  const std::string b = measure.text(TruncateToMultipleOf(mapping_.rangeMax, s));
  return std::max(WidestLineWidth(a, measure), WidestLineWidth(b, measure)) +
         chart_.Canvas3D().TextWidthOf(" ");
}

}  // namespace plotvik

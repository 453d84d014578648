#include "chart/chart_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "platform/exceptions.h"
#include "platform/locale_settings.h"

namespace plotvik {

namespace {

constexpr double kMinStep = 1e-12;
constexpr int kMaxTickPositions = 2000;

// Pixel rounding: halves go to the even neighbour (the FPU's default mode).
std::int64_t RoundEven(double v) {
  return static_cast<std::int64_t>(std::nearbyint(v));
}

int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// The text two values are compared by when the labels decide whether a step is still visible:
// 15 significant digits, as the short general number form writes them.
std::string GeneralText(double v) {
  if (v == 0) return "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  return std::string(buf, res.ptr);
}

// Text anchor flags of the surface: horizontal left / right / centre, vertical top / bottom.
constexpr unsigned kAnchorLeft = 0, kAnchorRight = 2, kAnchorCenter = 6;
constexpr unsigned kAnchorTop = 0, kAnchorBottom = 8;

}  // namespace

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
                            char thousandsSeparator) {
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
      out.push_back(thousandsSeparator);
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
// Title

TChartAxisTitle::TChartAxisTitle(std::function<void()> changed, int angle)
    : changed_(std::move(changed)), angle_(((angle % 360) + 360) % 360) {
  font_ = std::make_unique<TChartFont>();
  font_->OnChange = [this] {
    if (changed_) changed_();
  };
}

TChartAxisTitle::~TChartAxisTitle() = default;

void TChartAxisTitle::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  if (changed_) changed_();
}

void TChartAxisTitle::SetAngle(int degrees) {
  const int a = ((degrees % 360) + 360) % 360;
  if (angle_ == a) return;
  angle_ = a;
  if (changed_) changed_();
}

void TChartAxisTitle::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (changed_) changed_();
}

// ---------------------------------------------------------------------------------------------
// Construction and properties

TChartAxis::TChartAxis(TCustomAxisPanel& chart, bool horizontal, bool otherSide)
    : chart_(chart), horizontal_(horizontal), otherSide_(otherSide) {
  auto repaint = [this] { Repaint(); };
  labelsFont_ = std::make_unique<TChartFont>();
  labelsFont_->OnChange = repaint;
  axisPen_ = std::make_unique<TChartAxisPen>();
  axisPen_->OnChange = repaint;
  grid_ = std::make_unique<TDottedGrayPen>();
  grid_->OnChange = repaint;
  ticks_ = std::make_unique<TDarkGrayPen>();
  ticks_->OnChange = repaint;
  ticksInner_ = std::make_unique<TDarkGrayPen>();
  ticksInner_->OnChange = repaint;
  minorTicks_ = std::make_unique<TDarkGrayPen>();
  minorTicks_->OnChange = repaint;
  minorGrid_ = std::make_unique<TChartHiddenPen>();
  minorGrid_->OnChange = repaint;
  const int titleAngle = horizontal ? 0 : (otherSide ? 270 : 90);
  title_ = std::make_unique<TChartAxisTitle>(repaint, titleAngle);
  tickPositions_.reserve(kMaxTickPositions);
}

TChartAxis::~TChartAxis() = default;

void TChartAxis::Repaint() const {
  chart_.Repaint();
}

void TChartAxis::SetAutomatic(bool value) {
  automatic_ = value;
  // While the form is read each flag arrives with its own declared value.
  if (!chart_.Loading()) {
    automaticMinimum_ = value;
    automaticMaximum_ = value;
  }
  Repaint();
}

void TChartAxis::SetAutomaticMinimum(bool value) {
  automaticMinimum_ = value;
  if (!value) {
    automatic_ = false;
  } else if (automaticMaximum_) {
    automatic_ = true;
  }
  Repaint();
}

void TChartAxis::SetAutomaticMaximum(bool value) {
  automaticMaximum_ = value;
  if (!value) {
    automatic_ = false;
  } else if (automaticMinimum_) {
    automatic_ = true;
  }
  Repaint();
}

void TChartAxis::SetMinimum(double value) {
  // NaN would pass an ordered comparison and then poison every mapping; refuse it too.
  if (std::isnan(value) || (!chart_.Loading() && value > maximum_)) {
    throw AxisException("Axis Minimum Value must be <= Maximum");
  }
  Change(minimum_, value);
}

void TChartAxis::SetMaximum(double value) {
  if (std::isnan(value) || (!chart_.Loading() && value < minimum_)) {
    throw AxisException("Axis Maximum Value must be >= Minimum");
  }
  Change(maximum_, value);
}

void TChartAxis::SetIncrement(double value) {
  if (!(value >= 0) || std::isinf(value)) throw AxisException("Axis increment must be >= 0");
  Change(increment_, value);
}

void TChartAxis::SetLabelsSeparation(int percent) {
  if (percent < 0) throw AxisException("Labels Separation % must be greater than 0");
  Change(labelsSeparation_, percent);
}

void TChartAxis::SetVisible(bool value) {
  Change(visible_, value);
}
void TChartAxis::SetHorizontal(bool value) {
  Change(horizontal_, value);
}
void TChartAxis::SetOtherSide(bool value) {
  Change(otherSide_, value);
}
void TChartAxis::SetInverted(bool value) {
  Change(inverted_, value);
}
void TChartAxis::SetLabels(bool value) {
  Change(labels_, value);
}
void TChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  Change(labelStyle_, value);
}
void TChartAxis::SetLabelsAngle(int degrees) {
  Change(labelsAngle_, ((degrees % 360) + 360) % 360);
}
void TChartAxis::SetLabelsAlign(TAxisLabelAlign value) {
  Change(labelsAlign_, value);
}
void TChartAxis::SetLabelsSize(int pixels) {
  Change(labelsSize_, pixels);
}
void TChartAxis::SetLabelsOnAxis(bool value) {
  Change(labelsOnAxis_, value);
}
void TChartAxis::SetLabelsMultiLine(bool value) {
  Change(labelsMultiLine_, value);
}
void TChartAxis::SetLabelsExponent(bool value) {
  Change(labelsExponent_, value);
}
void TChartAxis::SetAxisValuesFormat(const std::string& pattern) {
  if (axisValuesFormat_ == pattern) return;
  axisValuesFormat_ = pattern;
  valuePattern_ = TAxisValuePattern::Parse(pattern);
  Repaint();
}
void TChartAxis::SetRoundFirstLabel(bool value) {
  Change(roundFirstLabel_, value);
}
void TChartAxis::SetExactDateTime(bool value) {
  Change(exactDateTime_, value);
}
void TChartAxis::SetDateTimeFormat(const std::string& value) {
  Change(dateTimeFormat_, value);
}
void TChartAxis::SetLogarithmic(bool value) {
  Change(logarithmic_, value);
}
void TChartAxis::SetLogarithmicBase(int value) {
  Change(logarithmicBase_, value);
}
void TChartAxis::SetGridCentered(bool value) {
  Change(gridCentered_, value);
}
void TChartAxis::SetTickLength(int pixels) {
  Change(tickLength_, pixels);
}
void TChartAxis::SetTickInnerLength(int pixels) {
  Change(tickInnerLength_, pixels);
}
void TChartAxis::SetMinorTickLength(int pixels) {
  Change(minorTickLength_, pixels);
}
void TChartAxis::SetMinorTickCount(int count) {
  Change(minorTickCount_, count);
}
void TChartAxis::SetTickOnLabelsOnly(bool value) {
  Change(tickOnLabelsOnly_, value);
}
void TChartAxis::SetTitleSize(int pixels) {
  Change(titleSize_, pixels);
}
void TChartAxis::SetStartPosition(double percent) {
  Change(startPosition_, percent);
}
void TChartAxis::SetEndPosition(double percent) {
  Change(endPosition_, percent);
}
void TChartAxis::SetPositionPercent(double percent) {
  Change(positionPercent_, percent);
}

// ---------------------------------------------------------------------------------------------
// Series association, visibility, label style

bool TChartAxis::HasSeries(const TChartSeries& series) const {
  return series.AssociatedToAxis(*this);
}

bool TChartAxis::AnyActiveSeriesAssociated() const {
  return FirstActiveAssociated() != nullptr;
}

const TChartSeries* TChartAxis::FirstActiveAssociated() const {
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (s.Active() && s.AssociatedToAxis(*this)) return &s;
  }
  return nullptr;
}

bool TChartAxis::IsVisible() const {
  if (!chart_.AxisVisible() || !visible_) return false;
  if (IsDepthAxis()) return chart_.View3D();
  bool anyActive = false;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (!s.Active()) continue;
    anyActive = true;
    if (s.AssociatedToAxis(*this)) return true;
  }
  return !anyActive;
}

TAxisLabelStyle TChartAxis::AutoLabelStyle() const {
  bool anyAssociated = false;
  for (int i = 0; i < chart_.SeriesCount(); ++i) {
    const TChartSeries& s = chart_.Series(i);
    if (!s.Active() || !s.AssociatedToAxis(*this)) continue;
    anyAssociated = true;
    const bool showsXList = s.YMandatory() == horizontal_;
    if (showsXList && s.HasLabels()) return talText;
  }
  return anyAssociated ? talValue : talNone;
}

TAxisLabelStyle TChartAxis::ResolvedLabelStyle() const {
  return labelStyle_ == talAuto ? AutoLabelStyle() : labelStyle_;
}

void TChartAxis::RefreshDateTime() {
  const TChartSeries* s = FirstActiveAssociated();
  dateTime_ = s != nullptr && (horizontal_ ? s->XValues().DateTime() : s->YValues().DateTime());
}

// ---------------------------------------------------------------------------------------------
// Range and pixels

namespace {

template <class Pick, class Better>
double ChartExtreme(const TChartAxis& axis, const TCustomAxisPanel& chart, Pick pick,
                    Better better) {
  // Inactive series count only when no active one is shown on this axis at all.
  bool anyActive = false;
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    const TChartSeries& s = chart.Series(i);
    if (s.Active() && s.AssociatedToAxis(axis)) {
      anyActive = true;
      break;
    }
  }
  bool found = false;
  double result = 0;
  for (int i = 0; i < chart.SeriesCount(); ++i) {
    const TChartSeries& s = chart.Series(i);
    if (!s.AssociatedToAxis(axis) || s.PointCount() == 0) continue;
    if (anyActive && !s.Active()) continue;
    const double v = pick(s);
    if (!found || better(v, result)) result = v;
    found = true;
  }
  return result;
}

}  // namespace

double TChartAxis::ChartMinimum() const {
  const bool h = horizontal_;
  return ChartExtreme(
      *this, chart_, [h](const TChartSeries& s) { return h ? s.XMinimum() : s.YMinimum(); },
      [](double a, double b) { return a < b; });
}

double TChartAxis::ChartMaximum() const {
  const bool h = horizontal_;
  return ChartExtreme(
      *this, chart_, [h](const TChartSeries& s) { return h ? s.XMaximum() : s.YMaximum(); },
      [](double a, double b) { return a > b; });
}

void TChartAxis::ComputeRange() {
  if (automatic_ || automaticMaximum_) maximum_ = ChartMaximum();
  if (automatic_ || automaticMinimum_) minimum_ = ChartMinimum();
  rangeMax_ = maximum_;
  rangeMin_ = minimum_;
  rangeSpan_ = rangeMax_ - rangeMin_;
}

void TChartAxis::ComputePixelExtent() {
  const TRect& r = chart_.ChartRect();
  const int origin = horizontal_ ? r.Left : r.Top;
  const double extent = horizontal_ ? chart_.ChartWidth() : chart_.ChartHeight();
  startPixel_ = ClampToInt(origin + RoundEven(startPosition_ * 0.01 * extent));
  endPixel_ = ClampToInt(origin + RoundEven(endPosition_ * 0.01 * extent));
  pixelSize_ = endPixel_ - startPixel_;
  centerPixel_ = static_cast<int>((static_cast<std::int64_t>(startPixel_) + endPixel_) / 2);
}

int TChartAxis::PosOfValue(double value) const {
  if (rangeSpan_ != 0) {
    const double d = (value - rangeMin_) * pixelSize_ / rangeSpan_;
    if (std::fabs(d) < 2147483647.0) {
      const std::int64_t r = RoundEven(d);
      const bool fromStart = horizontal_ != inverted_;
      return ClampToInt(fromStart ? startPixel_ + r : endPixel_ - r);
    }
  }
  return centerPixel_;
}

double TChartAxis::ValueOfPos(int pixel) const {
  if (pixelSize_ < 1) return 0;
  const double offset =
      inverted_ ? static_cast<double>(endPixel_) - pixel : static_cast<double>(pixel) - startPixel_;
  const double c = offset * rangeSpan_ / pixelSize_;
  return horizontal_ ? rangeMin_ + c : rangeMax_ - c;
}

void TChartAxis::WidenForMargins(int left, int top, int right, int bottom) {
  const int a = horizontal_ ? left : top;
  const int b = horizontal_ ? right : bottom;
  const int s0 = startPixel_;
  const int e0 = endPixel_;
  startPixel_ = s0 + a;
  endPixel_ = e0 - b;
  pixelSize_ = endPixel_ - startPixel_;
  const double f = ValueOfPos(s0);
  const double g = ValueOfPos(e0);
  ComputePixelExtent();
  rangeMin_ = std::min(f, g);
  rangeMax_ = std::max(f, g);
  rangeSpan_ = rangeMax_ - rangeMin_;
}

void TChartAxis::SetAxisRange(double minimum, double maximum) {
  automatic_ = false;
  automaticMinimum_ = false;
  automaticMaximum_ = false;
  if (minimum > maximum) std::swap(minimum, maximum);
  minimum_ = minimum;
  Repaint();
  maximum_ = maximum;
  Repaint();
  if (maximum_ - minimum_ < 1e-10) {
    maximum_ = minimum_ + 1e-10;
    Repaint();
  }
}

void TChartAxis::ScrollAxis(double offset, bool checkLimits) {
  if (checkLimits) {
    const bool canMove =
        (offset > 0 && ChartMaximum() > maximum_) || (offset < 0 && ChartMinimum() < minimum_);
    if (!canMove) return;
  }
  automatic_ = false;
  automaticMaximum_ = false;
  automaticMinimum_ = false;
  maximum_ += offset;
  minimum_ += offset;
  Repaint();
}

bool TChartAxis::AxisHitTest(int x, int y) const {
  if (!IsVisible()) return false;
  const int lo = std::min(startPixel_, endPixel_);
  const int hi = std::max(startPixel_, endPixel_);
  int acrossLo, acrossHi;
  // The band runs from the labels' inner edge to 3 pixels inside the chart.
  if (otherSide_ == horizontal_) {  // top or left: the chart lies towards larger coordinates
    acrossLo = labelsPos_;
    acrossHi = linePos_ + 3;
  } else {  // bottom or right
    acrossLo = linePos_ - 3;
    acrossHi = labelsPos_;
  }
  const int along = horizontal_ ? x : y;
  const int across = horizontal_ ? y : x;
  return along >= lo && along < hi && across >= acrossLo && across < acrossHi;
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
  return horizontal_ ? (angle == 0 || angle == 180) : (angle == 90 || angle == 270);
}

double TChartAxis::LabelStep() const {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  const std::string maxText = LabelText(rangeMax_);
  const std::string minText = LabelText(rangeMin_);
  const int lines = std::max(LabelLineCount(maxText), LabelLineCount(minText));
  // The label size along the axis: widths on a horizontal axis, line heights on a vertical one,
  // swapped when the labels are turned across.
  const bool heightsAlong = horizontal_ ? (labelsAngle_ == 90 || labelsAngle_ == 270)
                                        : (labelsAngle_ == 0 || labelsAngle_ == 180);
  int s = heightsAlong ? canvas.FontLineHeight() * lines
                       : std::max(TextWidthOfLines(maxText), TextWidthOfLines(minText));
  std::int64_t m = 1;
  if (s > 0) {
    if (labelsSeparation_ > 0) s += static_cast<int>(RoundEven(labelsSeparation_ * 0.01 * s));
    m = RoundEven(static_cast<double>(pixelSize_) / s);
  }
  if (m < 1) return kMinStep;

  double t = increment_ > 0 ? increment_ : (std::fabs(rangeSpan_) >= 1 ? 1.0 : kMinStep);
  std::int64_t k = m + 1;
  do {
    const double q = rangeSpan_ / t;
    if (std::fabs(q) < 2147483647.0) {
      k = RoundEven(q);
      if (k > m) t = NextNiceStep(t);
    } else {
      t = NextNiceStep(t);
    }
    // An infinite span would otherwise climb forever.
    if (!std::isfinite(t)) break;
  } while (k > m);
  return std::max(t, kMinStep);
}

int TChartAxis::WidestLabel() const {
  switch (ResolvedLabelStyle()) {
    case talValue: {
      double a = rangeMin_;
      double b = rangeMax_;
      if (roundFirstLabel_ || (dateTime_ && exactDateTime_)) {
        const double s = LabelStep();
        a = std::trunc(rangeMin_ / s) * s;
        b = std::trunc(rangeMax_ / s) * s;
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

// ---------------------------------------------------------------------------------------------
// Room

int TChartAxis::ShiftedByPositionPercent(int position, int extentAcross) const {
  if (positionPercent_ == 0) return position;
  std::int64_t d = RoundEven(positionPercent_ * 0.01 * extentAcross);
  if (otherSide_) d = -d;
  return ClampToInt(horizontal_ ? position - d : position + d);
}

void TChartAxis::ReserveSpace(TRect& rect, bool standard) {
  // Depth is shown only by a 3D projection, which these charts never draw.
  if (IsDepthAxis()) return;
  TChartCanvas3D& canvas = chart_.Canvas3D();
  // Moves one edge of rect inwards by size pixels (outwards for a negative size) and returns the
  // new edge; "inwards" depends on the side the axis sits on.
  auto edge = [&]() -> int& {
    if (horizontal_) return otherSide_ ? rect.Top : rect.Bottom;
    return otherSide_ ? rect.Right : rect.Left;
  };
  const int inwardSign = (horizontal_ != otherSide_) ? -1 : 1;  // bottom/right shrink downwards
  const int extentAcross = horizontal_ ? rect.Bottom - rect.Top : rect.Right - rect.Left;

  int ticksBand =
      (axisPen_->Visible() ? axisPen_->Width() + 1 : 0) + (ticks_->Visible() ? tickLength_ : 0);
  if (minorTicks_->Visible()) ticksBand = std::max(ticksBand, minorTickLength_);
  ticksBand += chart_.WallSize(*this);

  if (!standard) {
    canvas.ApplyFont(*labelsFont_);
    const int labelsBand = labels_ ? (labelsSize_ != 0               ? labelsSize_
                                      : AngleAlongSide(labelsAngle_) ? canvas.FontLineHeight()
                                                                     : WidestLabel())
                                   : 0;
    linePos_ = ShiftedByPositionPercent(edge(), extentAcross);
    labelsPos_ = linePos_ + inwardSign * -ticksBand;
    titlePos_ = labelsPos_ + inwardSign * -labelsBand;
    return;
  }

  titlePos_ = edge();
  if (title_->Visible() && !title_->Caption().empty()) {
    int size = titleSize_;
    if (size == 0) {
      canvas.ApplyFont(title_->Font());
      size = AngleAlongSide(title_->Angle()) ? canvas.FontLineHeight()
                                             : canvas.TextWidthOf(title_->Caption());
    }
    edge() += inwardSign * size;
    titlePos_ = edge();
  }

  labelsPos_ = edge();
  if (labels_) {
    int size = labelsSize_;
    if (size == 0) {
      canvas.ApplyFont(*labelsFont_);
      size = AngleAlongSide(labelsAngle_) ? canvas.FontLineHeight() : WidestLabel();
    }
    edge() += inwardSign * size;
    labelsPos_ = edge();
  }

  if (ticksBand > 0) edge() += inwardSign * ticksBand;

  titlePos_ = ShiftedByPositionPercent(titlePos_, extentAcross);
  labelsPos_ = ShiftedByPositionPercent(labelsPos_, extentAcross);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TChartAxis::DrawTitle() {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  canvas.ApplyFont(title_->Font());
  canvas.SetTextBackMode(TTextBackMode::Transparent);
  const std::string& caption = title_->Caption();
  const int h = canvas.FontLineHeight();
  if (horizontal_) {
    canvas.SetTextAnchor(kAnchorCenter | (otherSide_ ? kAnchorBottom : kAnchorTop));
    if (title_->Angle() == 0) {
      canvas.WriteText(centerPixel_, titlePos_, caption);
    } else {
      canvas.WriteRotatedText(centerPixel_, titlePos_, caption, title_->Angle());
    }
  } else {
    // Rotated text keeps its anchor in its own frame: the "top" of a caption turned by 90
    // degrees faces left, so the band's left edge is where the anchor goes.
    canvas.SetTextAnchor(kAnchorCenter | kAnchorTop);
    if (otherSide_) {
      canvas.WriteRotatedText(titlePos_ + h, centerPixel_, caption, title_->Angle());
    } else {
      canvas.WriteRotatedText(titlePos_ - h, centerPixel_, caption, title_->Angle());
    }
  }
}

void TChartAxis::DrawLabelText(int pos, const std::string& text) {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  const int h = canvas.FontLineHeight();
  int x, y;
  unsigned anchor;
  if (horizontal_) {
    x = pos;
    y = labelsPos_;
    anchor = kAnchorCenter | (otherSide_ ? kAnchorBottom : kAnchorTop);
  } else {
    x = labelsPos_;
    y = pos - h / 2;
    anchor = (otherSide_ ? kAnchorLeft : kAnchorRight) | kAnchorTop;
  }
  canvas.SetTextAnchor(anchor);
  size_t start = 0;
  while (true) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    if (labelsAngle_ == 0) {
      canvas.WriteText(x, y, line);
    } else {
      canvas.WriteRotatedText(x, y, line, labelsAngle_);
    }
    if (end == std::string::npos) break;
    start = end + 1;
    y += h;
  }
}

void TChartAxis::WriteLabelAt(double value) {
  const int p = PosOfValue(value);
  if (!(labelsOnAxis_ || (startPixel_ < p && p < endPixel_))) return;
  // Beyond the pre-sized list the labels are still written, only their ticks are left out.
  const bool room = tickPositions_.size() < static_cast<size_t>(kMaxTickPositions);
  if (!tickOnLabelsOnly_ && room) tickPositions_.push_back(p);
  if (labels_) {
    DrawLabelText(p, LabelText(value));
    if (tickOnLabelsOnly_ && room) tickPositions_.push_back(p);
  }
}

void TChartAxis::DrawValueLabels(double step) {
  if (std::fabs(rangeSpan_ / step) >= 10000) return;
  double v = rangeMax_;
  if (roundFirstLabel_ && GeneralText(rangeMin_) != GeneralText(rangeMax_)) {
    v = std::trunc(rangeMax_ / step) * step;
  }
  while (v > rangeMax_) {
    const double next = v - step;
    if (next == v) break;  // a step below the value's resolution would never get below
    v = next;
  }
  if (rangeSpan_ == 0 || std::fabs(rangeMax_ - rangeMin_) < 1e-10 ||
      GeneralText(v) == GeneralText(v - step)) {
    WriteLabelAt(v);
    return;
  }
  const double limit = (rangeMin_ - 1e-12) / (1 + 1e-12);
  // The 10000 guard above bounds the count; the cap only protects against accumulated error.
  for (int n = 0; v >= limit && n <= 10001; ++n) {
    WriteLabelAt(v);
    v -= step;
  }
}

void TChartAxis::DrawTickLine(int p, int length, bool inner) {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  if (length == 0) return;
  // Outer ticks point away from the chart, inner ones into it; both start one pixel off the line.
  const bool towardsLarger = (horizontal_ != otherSide_) != inner;  // bottom/right outer: larger
  const int from = towardsLarger ? linePos_ + 1 : linePos_ - 1;
  const int to = towardsLarger ? from + length : from - length;
  if (horizontal_) {
    canvas.DrawVLine(p, from, to);
  } else {
    canvas.DrawHLine(from, to, p);
  }
}

void TChartAxis::DrawGridLine(int p) {
  if (!(startPixel_ < p && p < endPixel_)) return;
  const TRect& r = chart_.ChartRect();
  TChartCanvas3D& canvas = chart_.Canvas3D();
  if (horizontal_) {
    canvas.DrawVLine(p, r.Top + 1, r.Bottom);
  } else {
    canvas.DrawHLine(r.Left + 1, r.Right, p);
  }
}

void TChartAxis::DrawAxis(bool computeLine) {
  if (IsDepthAxis()) return;
  TChartCanvas3D& canvas = chart_.Canvas3D();
  RefreshDateTime();
  canvas.ApplyFont(*labelsFont_);
  const double step = LabelStep();

  if (computeLine) {
    const TRect& r = chart_.ChartRect();
    const int edge =
        horizontal_ ? (otherSide_ ? r.Top : r.Bottom) : (otherSide_ ? r.Right : r.Left);
    linePos_ = ShiftedByPositionPercent(edge, horizontal_ ? r.Bottom - r.Top : r.Right - r.Left);
  }

  if (title_->Visible() && !title_->Caption().empty()) DrawTitle();

  tickPositions_.clear();
  if (step > 0 && rangeMax_ >= rangeMin_) {
    canvas.ApplyFont(*labelsFont_);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (ResolvedLabelStyle() == talValue) DrawValueLabels(step);
  }

  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.SetTextBackMode(TTextBackMode::Transparent);

  if (axisPen_->Visible()) {
    canvas.ApplyPen(*axisPen_);
    if (horizontal_) {
      canvas.DrawHLine(startPixel_, endPixel_, linePos_);
    } else {
      canvas.DrawVLine(linePos_, startPixel_, endPixel_);
    }
  }

  if (ticks_->Visible()) {
    canvas.ApplyPen(*ticks_);
    for (int p : tickPositions_) DrawTickLine(p, tickLength_, false);
  }

  if (grid_->Visible()) {
    if (grid_->Color() == clDefault) {
      canvas.ApplyPenColor(*grid_, clGray);
    } else {
      canvas.ApplyPen(*grid_);
    }
    if (gridCentered_) {
      for (size_t k = 1; k < tickPositions_.size(); ++k) {
        DrawGridLine(static_cast<int>(
            RoundEven((static_cast<double>(tickPositions_[k]) + tickPositions_[k - 1]) * 0.5)));
      }
    } else {
      for (int p : tickPositions_) DrawGridLine(p);
    }
  }

  if (ticksInner_->Visible()) {
    canvas.ApplyPen(*ticksInner_);
    for (int p : tickPositions_) DrawTickLine(p, tickInnerLength_, true);
  }

  if (!tickPositions_.empty() && minorTicks_->Visible()) {
    std::vector<int> minor;
    const auto& t = tickPositions_;
    const size_t n = t.size();
    const int c = minorTickCount_;
    if (n > 1) {
      for (int j = 1; j <= c; ++j) {
        const int d = static_cast<int>(RoundEven(static_cast<double>(t[1] - t[0]) / (c + 1) * j));
        minor.push_back(t[0] - d);
        minor.push_back(t[n - 1] + d);
      }
    }
    for (size_t k = 1; k < n; ++k) {
      for (int j = 1; j <= c; ++j) {
        minor.push_back(t[k] - static_cast<int>(RoundEven(static_cast<double>(j) *
                                                          (t[k] - t[k - 1]) / (c + 1))));
      }
    }
    canvas.ApplyPen(*minorTicks_);
    for (int p : minor) {
      if (startPixel_ < p && p < endPixel_) DrawTickLine(p, minorTickLength_, false);
    }
    if (minorGrid_->Visible()) {
      canvas.ApplyPen(*minorGrid_);
      for (int p : minor) DrawGridLine(p);
    }
  }

  canvas.SetTextBackMode(TTextBackMode::Opaque);
}

// ---------------------------------------------------------------------------------------------
// Depth axis

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel& chart) : TChartAxis(chart, false, false) {
  SetVisible(false);
}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const {
  // Depth would be labelled by series titles in 3D; in 2D the axis is never drawn.
  return talNone;
}

}  // namespace plotvik

#include "marks/mark_drawing.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "chart/chart_axis.h"
#include "chart/chart_canvas3d.h"
#include "chart/custom_axis_panel.h"
#include "platform/locale_settings.h"
#include "raster/graphic_objects.h"

namespace plotvik {

namespace {

std::optional<int> PixelInRange(const TChartAxis& axis, double value) {
  const double low = std::min(axis.RangeMin(), axis.RangeMax());
  const double high = std::max(axis.RangeMin(), axis.RangeMax());
  if (!(value >= low && value <= high)) return std::nullopt;
  return axis.PosOfValue(value);
}

// The plot's inside, where the series are clipped to.
TRect PlotInside(const TCustomAxisPanel& chart) {
  const TRect& r = chart.ChartRect();
  return {r.Left + 1, r.Top + 1, r.Right, r.Bottom};
}

constexpr int kLabelPadding = 2;

}  // namespace

std::optional<int> MarkColumn(const TCustomAxisPanel& chart, double value) {
  return PixelInRange(chart.BottomAxis(), value);
}

std::optional<int> MarkRow(const TCustomAxisPanel& chart, double value) {
  return PixelInRange(chart.LeftAxis(), value);
}

std::string MarkNumberText(double value) {
  static const TAxisValuePattern pattern = TAxisValuePattern::Parse("0.###");
  std::string text = FormatAxisValue(value, pattern, LocaleDecimalChar, LocaleThousandsChar);
  if (value == 0 || text != "0") return text;
  // Three decimals would call it zero: three significant digits with an exponent instead, in
  // the form the value tips use ("1e-308", "-2.5e-04").
  char buffer[32];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 2);
  if (error != std::errc{}) return text;
  std::string_view written(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t exponent = written.find('e');
  std::string_view mantissa = written.substr(0, exponent);
  while (mantissa.back() == '0') mantissa.remove_suffix(1);
  if (mantissa.back() == '.') mantissa.remove_suffix(1);
  text.assign(mantissa);
  std::replace(text.begin(), text.end(), '.', LocaleDecimalChar);
  text += written.substr(exponent);
  return text;
}

void DrawMarkLine(TCustomAxisPanel& chart, int x, TColor color) {
  TChartCanvas3D& c = chart.Canvas3D();
  const TRect inside = PlotInside(chart);
  if (x < inside.Left || x >= inside.Right) return;
  c.Pen().SetStyle(psSolid);
  c.Pen().SetWidth(1);
  c.Pen().SetMode(pmCopy);
  c.Pen().SetColor(color);
  c.DrawVLine(x, inside.Top, inside.Bottom);
}

TMarkLabels::TMarkLabels(TCustomAxisPanel& chart, int rows) : chart_(chart), rows_(rows) {
  TChartCanvas3D& c = chart_.Canvas3D();
  c.ApplyFont(chart_.LeftAxis().LabelsFont());
  c.SetTextAnchor(0);
  c.SetTextBackMode(TTextBackMode::Transparent);
}

int TMarkLabels::BoxWidth(std::string_view text) {
  return chart_.Canvas3D().TextWidthOf(text) + 2 * kLabelPadding + 1;
}

int TMarkLabels::BoxHeight() {
  return chart_.Canvas3D().TextHeightOf("0") + 2;
}

bool TMarkLabels::Place(std::string_view text, int x, int y, TColor color) {
  TChartCanvas3D& c = chart_.Canvas3D();
  const TRect inside = PlotInside(chart_);
  const int w = BoxWidth(text);
  const int h = BoxHeight();
  x = std::max(inside.Left + 1, std::min(x, inside.Right - 1 - w));
  for (int row = 0; row < rows_; ++row) {
    const int top = std::max(inside.Top + 1, std::min(y + row * (h + 1), inside.Bottom - 1 - h));
    // One free pixel between boxes keeps neighbouring texts apart.
    const TRect box{x, top, x + w, top + h};
    const TRect spaced{box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1};
    const bool covers = std::any_of(placed_.begin(), placed_.end(), [&](const TRect& other) {
      return !spaced.Intersected(other).IsEmpty();
    });
    if (covers) continue;
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetMode(pmCopy);
    c.Pen().SetColor(color);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clWhite);
    c.DrawRectangle(box);
    c.Font().SetColor(color);
    c.Brush().SetStyle(bsClear);
    c.WriteText(box.Left + kLabelPadding + 1, box.Top + 1, text);
    placed_.push_back(box);
    return true;
  }
  return false;
}

}  // namespace plotvik

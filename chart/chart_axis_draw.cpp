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

namespace plotvik {

using namespace axis_detail;

// ---------------------------------------------------------------------------------------------
// Drawing

void TChartAxis::DrawTitle() {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  canvas.ApplyFont(title_->Font());
  canvas.SetTextBackMode(TTextBackMode::Transparent);
  const std::string& caption = title_->Caption();
  const int h = canvas.FontLineHeight();
  if (horizontal_) {
    canvas.SetTextAnchor(TA_CENTER | (otherSide_ ? TA_BOTTOM : TA_TOP));
    if (title_->Angle() == 0) {
      canvas.WriteText(centerPixel_, titlePos_, caption);
    } else {
      canvas.WriteRotatedText(centerPixel_, titlePos_, caption, title_->Angle());
    }
  } else {
    // Rotated text keeps its anchor in its own frame: the "top" of a caption turned by 90
    // degrees faces left, so the band's left edge is where the anchor goes.
    canvas.SetTextAnchor(TA_CENTER | TA_TOP);
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
    anchor = TA_CENTER | (otherSide_ ? TA_BOTTOM : TA_TOP);
  } else {
    x = labelsPos_;
    y = pos - h / 2;
    anchor = (otherSide_ ? TA_LEFT : TA_RIGHT) | TA_TOP;
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
  // Written so that a span beyond the double range (data from -1e308 to 1e308), whose
  // quotient is not a number, counts as too many labels too.
  if (!(std::fabs(rangeSpan_ / step) < 10000)) return;
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

}  // namespace plotvik

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
#include "platform/numeric.h"

namespace plotvik {

using namespace axis_detail;

namespace {

// The minor ticks between the marked ones, count to each gap, and as many again before the
// first and after the last at the first gap's spacing; outside the axis they are dropped later.
std::vector<int> MinorTickPixels(const std::vector<int>& ticks, int count) {
  std::vector<int> minor;
  const size_t n = ticks.size();
  if (n > 1) {
    for (int j = 1; j <= count; ++j) {
      const int d = static_cast<int>(
          RoundHalfToEven(static_cast<double>(ticks[1] - ticks[0]) / (count + 1) * j));
      minor.push_back(ticks[0] - d);
      minor.push_back(ticks[n - 1] + d);
    }
  }
  for (size_t k = 1; k < n; ++k) {
    for (int j = 1; j <= count; ++j) {
      minor.push_back(ticks[k] -
                      static_cast<int>(RoundHalfToEven(static_cast<double>(j) *
                                                       (ticks[k] - ticks[k - 1]) / (count + 1))));
    }
  }
  return minor;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Drawing

void TChartAxis::DrawTitle() {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  canvas.ApplyFont(title_->Font());
  canvas.SetTextBackMode(TTextBackMode::Transparent);
  const std::string& caption = title_->Caption();
  const int h = canvas.FontLineHeight();
  if (Horizontal()) {
    canvas.SetTextAnchor(TA_CENTER | (otherSide_ ? TA_BOTTOM : TA_TOP));
    if (title_->Angle() == 0) {
      canvas.WriteText(CenterPixel(), titlePos_, caption);
    } else {
      canvas.WriteRotatedText(CenterPixel(), titlePos_, caption, title_->Angle());
    }
  } else {
    // Rotated text keeps its anchor in its own frame: the "top" of a caption turned by 90
    // degrees faces left, so the band's left edge is where the anchor goes.
    canvas.SetTextAnchor(TA_CENTER | TA_TOP);
    if (otherSide_) {
      canvas.WriteRotatedText(titlePos_ + h, CenterPixel(), caption, title_->Angle());
    } else {
      canvas.WriteRotatedText(titlePos_ - h, CenterPixel(), caption, title_->Angle());
    }
  }
}

void TChartAxis::DrawLabelText(int pos, const std::string& text) {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  const int h = canvas.FontLineHeight();
  int x, y;
  unsigned anchor;
  if (Horizontal()) {
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

void TChartAxis::DrawTickLine(int p, int length, bool inner) {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  if (length == 0) return;
  // Outer ticks point away from the chart, inner ones into it; both start one pixel off the line.
  const bool towardsLarger = OutwardGrows() != inner;
  const int from = towardsLarger ? linePos_ + 1 : linePos_ - 1;
  const int to = towardsLarger ? from + length : from - length;
  if (Horizontal()) {
    canvas.DrawVLine(p, from, to);
  } else {
    canvas.DrawHLine(from, to, p);
  }
}

void TChartAxis::DrawGridLine(int p) {
  if (!(mapping_.startPixel < p && p < mapping_.endPixel)) return;
  const TRect& r = chart_.ChartRect();
  TChartCanvas3D& canvas = chart_.Canvas3D();
  if (Horizontal()) {
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
    linePos_ =
        ShiftedByPositionPercent(EdgeOf(r), Horizontal() ? r.Bottom - r.Top : r.Right - r.Left);
  }

  if (title_->Visible() && !title_->Caption().empty()) DrawTitle();

  const std::vector<TAxisTick> ticks = TicksAtStep(step);
  if (step > 0 && RangeMax() >= RangeMin()) {
    canvas.ApplyFont(*labelsFont_);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (labels_) {
      for (const TAxisTick& tick : ticks) DrawLabelText(tick.pixel, tick.text);
    }
  }
  tickPositions_.clear();
  for (const TAxisTick& tick : ticks) {
    // Ticks past the pre-sized list keep their labels but get no marks.
    if (tickPositions_.size() == static_cast<size_t>(kMaxTickPositions)) break;
    tickPositions_.push_back(tick.pixel);
  }

  canvas.Brush().SetStyle(TBrushStyle::bsClear);
  canvas.SetTextBackMode(TTextBackMode::Transparent);

  if (axisPen_->Visible()) {
    canvas.ApplyPen(*axisPen_);
    if (Horizontal()) {
      canvas.DrawHLine(mapping_.startPixel, mapping_.endPixel, linePos_);
    } else {
      canvas.DrawVLine(linePos_, mapping_.startPixel, mapping_.endPixel);
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
        DrawGridLine(static_cast<int>(RoundHalfToEven(
            (static_cast<double>(tickPositions_[k]) + tickPositions_[k - 1]) * 0.5)));
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
    const std::vector<int> minor = MinorTickPixels(tickPositions_, minorTickCount_);
    canvas.ApplyPen(*minorTicks_);
    for (int p : minor) {
      if (mapping_.startPixel < p && p < mapping_.endPixel)
        DrawTickLine(p, minorTickLength_, false);
    }
    if (minorGrid_->Visible()) {
      canvas.ApplyPen(*minorGrid_);
      for (int p : minor) DrawGridLine(p);
    }
  }

  canvas.SetTextBackMode(TTextBackMode::Opaque);
}

}  // namespace plotvik

#include "chart/chart_axis.h"

#include <span>
#include <string>

#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"
#include "chart/custom_chart_panel.h"

namespace plotvik {

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
    canvas.WriteText(CenterPixel(), titlePos_, caption);
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
    canvas.WriteText(x, y, line);
    if (end == std::string::npos) break;
    start = end + 1;
    y += h;
  }
}

void TChartAxis::DrawTickLine(int p, int length) {
  TChartCanvas3D& canvas = chart_.Canvas3D();
  if (length == 0) return;
  // Ticks point away from the chart, starting one pixel off the line.
  const int from = OutwardFrom(linePos_, 1);
  const int to = OutwardFrom(from, length);
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

void TChartAxis::DrawAxis() {
  if (IsDepthAxis()) return;
  TChartCanvas3D& canvas = chart_.Canvas3D();
  canvas.ApplyFont(*labelsFont_);
  linePos_ = EdgeOf(chart_.ChartRect());

  if (title_->Visible() && !title_->Caption().empty()) DrawTitle();

  if (ticks_.step > 0 && RangeMax() >= RangeMin()) {
    canvas.ApplyFont(*labelsFont_);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    if (labels_) {
      for (const TAxisTick& tick : ticks_.labelled) DrawLabelText(tick.pixel, tick.text);
    }
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

  const std::span<const TAxisTick> marked = ticks_.Marked();
  if (ticksPen_->Visible()) {
    canvas.ApplyPen(*ticksPen_);
    for (const TAxisTick& tick : marked) DrawTickLine(tick.pixel, tickLength_);
  }

  if (grid_->Visible()) {
    if (grid_->Color() == clDefault) {
      canvas.ApplyPenColor(*grid_, clGray);
    } else {
      canvas.ApplyPen(*grid_);
    }
    for (const TAxisTick& tick : marked) DrawGridLine(tick.pixel);
  }

  if (!marked.empty() && minorTicks_->Visible()) {
    canvas.ApplyPen(*minorTicks_);
    for (const TAxisTick& tick : ticks_.minor) DrawTickLine(tick.pixel, kMinorTickLength);
  }

  canvas.SetTextBackMode(TTextBackMode::Opaque);
}

}  // namespace plotvik

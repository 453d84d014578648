#include "chart/chart_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "chart/chart_canvas3d.h"
#include "chart/chart_font.h"
#include "chart/chart_pen.h"
#include "chart/custom_chart_panel.h"
#include "platform/exceptions.h"
#include "platform/numeric.h"

namespace plotvik {

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

void TChartAxisTitle::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (changed_) changed_();
}

// ---------------------------------------------------------------------------------------------
// Construction and properties

TChartAxis::TChartAxis(TCustomChartPanel& chart, bool horizontal, bool otherSide)
    : chart_(chart), otherSide_(otherSide) {
  mapping_.horizontal = horizontal;
  auto repaint = [this] { Repaint(); };
  labelsFont_ = std::make_unique<TChartFont>();
  labelsFont_->OnChange = repaint;
  axisPen_ = std::make_unique<TChartAxisPen>();
  axisPen_->OnChange = repaint;
  grid_ = std::make_unique<TDottedGrayPen>();
  grid_->OnChange = repaint;
  ticksPen_ = std::make_unique<TDarkGrayPen>();
  ticksPen_->OnChange = repaint;
  minorTicks_ = std::make_unique<TDarkGrayPen>();
  minorTicks_->OnChange = repaint;
  const int titleAngle = horizontal ? 0 : (otherSide ? 270 : 90);
  title_ = std::make_unique<TChartAxisTitle>(repaint, titleAngle);
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
void TChartAxis::SetInverted(bool value) {
  Change(mapping_.inverted, value);
}
void TChartAxis::SetLabels(bool value) {
  Change(labels_, value);
}
void TChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  Change(labelStyle_, value);
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
void TChartAxis::SetExactDateTime(bool value) {
  Change(exactDateTime_, value);
}
void TChartAxis::SetTickLength(int pixels) {
  Change(tickLength_, pixels);
}
void TChartAxis::SetTickOnLabelsOnly(bool value) {
  Change(tickOnLabelsOnly_, value);
}
void TChartAxis::SetTitleSize(int pixels) {
  Change(titleSize_, pixels);
}

// ---------------------------------------------------------------------------------------------
// Series association, visibility, label style

bool TChartAxis::IsVisible() const {
  if (!chartShowsAxes_ || !visible_) return false;
  if (IsDepthAxis()) return chart_.View3D();
  return !facts_.anyActive || facts_.activeAssociated;
}

TAxisLabelStyle TChartAxis::AutoLabelStyle() const {
  if (!facts_.activeAssociated) return talNone;
  return facts_.labelledXList ? talText : talValue;
}

TAxisLabelStyle TChartAxis::ResolvedLabelStyle() const {
  return labelStyle_ == talAuto ? AutoLabelStyle() : labelStyle_;
}

// ---------------------------------------------------------------------------------------------
// Range and pixels

void TChartAxis::ComputeRange() {
  if (automatic_ || automaticMaximum_) maximum_ = ChartMaximum();
  if (automatic_ || automaticMinimum_) minimum_ = ChartMinimum();
  mapping_.rangeMax = maximum_;
  mapping_.rangeMin = minimum_;
}

void TChartAxis::ComputePixelExtent() {
  const TRect& r = chart_.ChartRect();
  const int origin = Horizontal() ? r.Left : r.Top;
  const int extent = Horizontal() ? chart_.ChartWidth() : chart_.ChartHeight();
  // Every axis spans the whole rectangle.
  mapping_.startPixel = ClampToHalfIntRange(origin);
  mapping_.endPixel = ClampToHalfIntRange(std::int64_t{origin} + extent);
}

void TChartAxis::WidenForMargins(int left, int top, int right, int bottom) {
  // The values at the unwidened ends, read through the axis pulled in by the margins, become
  // the new range over the unwidened pixels.
  TAxisMapping inside = mapping_;
  inside.startPixel += Horizontal() ? left : top;
  inside.endPixel -= Horizontal() ? right : bottom;
  const double atStart = inside.ValueOf(mapping_.startPixel);
  const double atEnd = inside.ValueOf(mapping_.endPixel);
  ComputePixelExtent();
  mapping_.rangeMin = std::min(atStart, atEnd);
  mapping_.rangeMax = std::max(atStart, atEnd);
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
  // Taking a zero move as a move would freeze an empty axis's range for every later load.
  if (offset == 0) return;
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
  const int lo = std::min(mapping_.startPixel, mapping_.endPixel);
  const int hi = std::max(mapping_.startPixel, mapping_.endPixel);
  int acrossLo, acrossHi;
  // The band runs from the labels' inner edge to 3 pixels inside the chart.
  if (!OutwardGrows()) {  // top or left: the chart lies towards larger coordinates
    acrossLo = labelsPos_;
    acrossHi = linePos_ + 3;
  } else {  // bottom or right
    acrossLo = linePos_ - 3;
    acrossHi = labelsPos_;
  }
  const int along = Horizontal() ? x : y;
  const int across = Horizontal() ? y : x;
  return along >= lo && along < hi && across >= acrossLo && across < acrossHi;
}

// ---------------------------------------------------------------------------------------------
// Room

int TChartAxis::EdgeOf(const TRect& rect) const {
  if (Horizontal()) return otherSide_ ? rect.Top : rect.Bottom;
  return otherSide_ ? rect.Right : rect.Left;
}

int TChartAxis::OutwardFrom(int position, int distance) const {
  return OutwardGrows() ? position + distance : position - distance;
}

int TChartAxis::TakeBand(TRect& rect, int size) const {
  if (Horizontal())
    return otherSide_ ? rect.TakeFromTop(size).Bottom : rect.TakeFromBottom(size).Top;
  return otherSide_ ? rect.TakeFromRight(size).Left : rect.TakeFromLeft(size).Right;
}

void TChartAxis::ReserveSpace(TRect& rect) {
  // Depth is shown only by a 3D projection, which these charts never draw.
  if (IsDepthAxis()) return;
  TChartCanvas3D& canvas = chart_.Canvas3D();

  // From the outside in: the title's band, the labels' band, the ticks' band.
  titlePos_ = EdgeOf(rect);
  if (title_->Visible() && !title_->Caption().empty()) {
    int size = titleSize_;
    if (size == 0) {
      // The caption runs along its side, so its band is one line deep.
      canvas.ApplyFont(title_->Font());
      size = canvas.FontLineHeight();
    }
    titlePos_ = TakeBand(rect, size);
  }

  labelsPos_ = EdgeOf(rect);
  if (labels_) {
    int size = labelsSize_;
    if (size == 0) {
      canvas.ApplyFont(*labelsFont_);
      // Labels are written level: one line deep below a horizontal axis.
      size = Horizontal() ? canvas.FontLineHeight() : WidestLabel();
    }
    labelsPos_ = TakeBand(rect, size);
  }

  int ticksBand =
      (axisPen_->Visible() ? axisPen_->Width() + 1 : 0) + (ticksPen_->Visible() ? tickLength_ : 0);
  if (minorTicks_->Visible()) ticksBand = std::max(ticksBand, kMinorTickLength);
  ticksBand += facts_.wallSize;
  if (ticksBand > 0) TakeBand(rect, ticksBand);
}

// ---------------------------------------------------------------------------------------------
// Depth axis

TChartDepthAxis::TChartDepthAxis(TCustomChartPanel& chart) : TChartAxis(chart, false, false) {
  SetVisible(false);
}

TAxisLabelStyle TChartDepthAxis::AutoLabelStyle() const {
  // Depth would be labelled by series titles in 3D; in 2D the axis is never drawn.
  return talNone;
}

}  // namespace plotvik

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chart/axis_mapping.h"
#include "chart/axis_ticks.h"
#include "platform/property.h"
#include "raster/geometry.h"

namespace plotvik {

class TCustomChartPanel;
class TChartFont;
class TChartPen;
class TChartAxisPen;
class TDottedGrayPen;
class TDarkGrayPen;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The digit counts of a "#,##0.###"-like pattern; the defaults are that pattern, every axis's.
// Values are cut from 18 significant digits so that a label shows the decimal a person writes.
struct TAxisValuePattern {
  bool grouping = true;
  int minIntDigits = 1;
  int minFracDigits = 0;
  int maxFracDigits = 3;
  static TAxisValuePattern Parse(const std::string& pattern);
  friend bool operator==(const TAxisValuePattern&, const TAxisValuePattern&) = default;
};
// The thousands separator is one character of UTF-8, which may take several bytes.
std::string FormatAxisValue(double value, const TAxisValuePattern& pattern, char decimalSeparator,
                            std::string_view thousandsSeparator);

// The caption along one axis; only its text is drawn, never a frame or background.
class TChartAxisTitle {
 public:
  explicit TChartAxisTitle(std::function<void()> changed, int angle);
  ~TChartAxisTitle();

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Angle() const { return angle_; }
  TChartFont& Font() const { return *font_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

 private:
  std::function<void()> changed_;
  std::string caption_;
  int angle_;
  std::unique_ptr<TChartFont> font_;
  bool visible_ = true;
};

// What the series of its chart give one axis, and the room the walls take along it. The chart
// works these out and hands them over before every layout, so that an axis never walks the
// series itself; between layouts the axis answers from the last ones, which are what it shows.
struct TAxisLayoutFacts {
  // Some series of the chart is active.
  bool anyActive = false;
  // Some active series is plotted on this axis.
  bool activeAssociated = false;
  // An active series plotted here shows its labelled X list on this axis.
  bool labelledXList = false;
  // The chart's extremes for this axis; 0 when no series counts for it.
  double minimum = 0;
  double maximum = 0;
  int wallSize = 0;
};

// One scale of a chart: it takes its range from the extents of the chart's series, takes its
// room out of the chart rectangle, maps values to pixels and back and draws line, ticks,
// labels, grid and title.
class TChartAxis {
 public:
  TChartAxis(TCustomChartPanel& chart, bool horizontal, bool otherSide);
  virtual ~TChartAxis();
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;

  TCustomChartPanel& ParentChart() const { return chart_; }
  virtual bool IsDepthAxis() const { return false; }

  // --- published properties ---
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool value);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool value);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);
  double Increment() const { return increment_; }
  void SetIncrement(double value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Horizontal() const { return mapping_.horizontal; }
  bool OtherSide() const { return otherSide_; }
  bool Inverted() const { return mapping_.inverted; }
  void SetInverted(bool value);
  bool Labels() const { return labels_; }
  void SetLabels(bool value);
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle value);
  TChartFont& LabelsFont() const { return *labelsFont_; }
  int LabelsSeparation() const { return labelsSeparation_; }
  void SetLabelsSeparation(int percent);
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int pixels);
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool value);
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool value);
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool value);
  TChartAxisPen& Axis() const { return *axisPen_; }
  TDottedGrayPen& Grid() const { return *grid_; }
  TDarkGrayPen& Ticks() const { return *ticksPen_; }
  int TickLength() const { return tickLength_; }
  void SetTickLength(int pixels);
  TDarkGrayPen& MinorTicks() const { return *minorTicks_; }
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool value);
  TChartAxisTitle& Title() const { return *title_; }
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int pixels);

  // --- internal state, read by the chart, the series and the mouse ---
  // The range and pixels of the last layout, and how values map between them.
  const TAxisMapping& Mapping() const { return mapping_; }
  double RangeMin() const { return mapping_.rangeMin; }
  double RangeMax() const { return mapping_.rangeMax; }
  double RangeSpan() const { return mapping_.RangeSpan(); }
  int StartPixel() const { return mapping_.startPixel; }
  int EndPixel() const { return mapping_.endPixel; }
  int PixelSize() const { return mapping_.PixelSize(); }
  int CenterPixel() const { return mapping_.CenterPixel(); }
  int LinePos() const { return linePos_; }
  int LabelsPos() const { return labelsPos_; }
  int TitlePos() const { return titlePos_; }
  // The ticks of the last layout, which the drawing writes and marks.
  const TAxisTicks& PlacedTicks() const { return ticks_; }
  // Pixels of the marked ticks, in the order of the labels.
  std::vector<int> TickPositions() const;

  // --- operations ---
  bool IsVisible() const;  // the chart shows this axis (reserves room, draws it)
  TAxisLabelStyle ResolvedLabelStyle() const;
  void ComputeRange();
  void ComputePixelExtent();
  void ReserveSpace(TRect& rect);
  void WidenForMargins(int left, int top, int right, int bottom);
  // Runs the tick step on the final range and pixels; measures with the labels' font and runs
  // the chart's label event for each text. DrawAxis only reads its result.
  void PlaceTicks();
  void DrawAxis();
  int PosOfValue(double value) const { return mapping_.PixelOf(value); }
  double ValueOfPos(int pixel) const { return mapping_.ValueOf(pixel); }
  void SetAxisRange(double minimum, double maximum);
  void ScrollAxis(double offset, bool checkLimits);
  bool AxisHitTest(int x, int y) const;
  std::string LabelText(double value) const;
  double LabelStep() const;

  // The chart's extremes over the series that count for this axis (0 when none does), as the
  // last layout facts gave them.
  double ChartMinimum() const { return facts_.minimum; }
  double ChartMaximum() const { return facts_.maximum; }

  // --- what the chart hands over ---
  void SetLayoutFacts(const TAxisLayoutFacts& facts) { facts_ = facts; }
  const TAxisLayoutFacts& LayoutFacts() const { return facts_; }
  // The chart's AxisVisible, which hides every axis.
  void SetChartShowsAxes(bool value) { chartShowsAxes_ = value; }
  // The chart's label event, run for every label drawn; it may replace the text.
  void SetOnLabel(std::function<void(TChartAxis&, std::string&)> onLabel) {
    onLabel_ = std::move(onLabel);
  }

 protected:
  virtual TAxisLabelStyle AutoLabelStyle() const;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value)) Repaint();
  }
  void Repaint() const;
  // The bottom and right axes lie towards larger coordinates from the chart, the others
  // towards smaller ones.
  bool OutwardGrows() const { return Horizontal() != otherSide_; }
  int OutwardFrom(int position, int distance) const;
  // The edge of rect the axis sits on.
  int EdgeOf(const TRect& rect) const;
  // Takes a band size pixels deep off the axis's edge of rect and returns the new edge.
  int TakeBand(TRect& rect, int size) const;
  TAxisTickRules TickRules() const;
  // Measures with the canvas's present font.
  TAxisTextMeasure TextMeasure() const;
  int WidestLabel() const;
  void DrawTitle();
  void DrawLabelText(int pos, const std::string& text);
  void DrawTickLine(int pos, int length);
  void DrawGridLine(int pos);

  static constexpr int kMinorTickLength = 2;

  TCustomChartPanel& chart_;
  TAxisLayoutFacts facts_;
  bool chartShowsAxes_ = true;
  std::function<void(TChartAxis&, std::string&)> onLabel_;
  bool automatic_ = true;
  bool automaticMinimum_ = true;
  bool automaticMaximum_ = true;
  double minimum_ = 0;
  double maximum_ = 0;
  double increment_ = 0;
  bool visible_ = true;
  bool otherSide_;
  bool labels_ = true;
  TAxisLabelStyle labelStyle_ = talAuto;
  std::unique_ptr<TChartFont> labelsFont_;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0;
  bool labelsOnAxis_ = true;
  bool labelsMultiLine_ = false;
  bool exactDateTime_ = true;
  std::unique_ptr<TChartAxisPen> axisPen_;
  std::unique_ptr<TDottedGrayPen> grid_;
  std::unique_ptr<TDarkGrayPen> ticksPen_;
  int tickLength_ = 4;
  std::unique_ptr<TDarkGrayPen> minorTicks_;
  bool tickOnLabelsOnly_ = true;
  std::unique_ptr<TChartAxisTitle> title_;
  int titleSize_ = 0;

  TAxisMapping mapping_;
  int linePos_ = 0;
  int labelsPos_ = 0;
  int titlePos_ = 0;
  TAxisTicks ticks_;
};

// The axis that would show depth in 3D; it labels nothing of its own.
class TChartDepthAxis : public TChartAxis {
 public:
  explicit TChartDepthAxis(TCustomChartPanel& chart);
  bool IsDepthAxis() const override { return true; }

 protected:
  TAxisLabelStyle AutoLabelStyle() const override;
};

}  // namespace plotvik

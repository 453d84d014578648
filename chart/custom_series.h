#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/custom_line_series.h"
#include "chart/series_pointer.h"
#include "platform/gui/screen_cursor.h"
#include "platform/property.h"
#include "raster/geometry.h"

namespace plotvik {

class TChartCanvas3D;

// The value labels of a series, declared hidden; they are never drawn.
class TSeriesMarks {
 public:
  explicit TSeriesMarks(std::function<void()> changed) : changed_(std::move(changed)) {}
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { Change(visible_, value); }
  int ArrowLength() const { return arrowLength_; }
  void SetArrowLength(int value) { Change(arrowLength_, value); }

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value) && changed_) changed_();
  }
  std::function<void()> changed_;
  bool visible_ = false;
  int arrowLength_ = 8;
};

// A series that joins its points with a line and puts a pointer on each: the segment that ends
// at a point takes that point's colour, null points break the line, and every pointer lies on
// top of both segments that meet at its point.
class TCustomSeries : public TCustomLineSeries {
 public:
  explicit TCustomSeries(std::string name = {});
  ~TCustomSeries() override;

  TSeriesPointer& Pointer() const { return *pointer_; }
  TSeriesMarks& Marks() const { return *marks_; }
  // Whether the segments answer the hit test, not only the points.
  bool ClickableLine() const { return clickableLine_; }
  void SetClickableLine(bool value) { Change(clickableLine_, value); }
  // The mouse cursor the chart shows over the series; crDefault leaves the chart's own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value) { cursor_ = value; }

  // Final: a frame reads the positions straight from the value lists, as these do.
  double XValue(int index) const final { return TCustomLineSeries::XValue(index); }
  double YValue(int index) const final { return TCustomLineSeries::YValue(index); }
  int PointX(int index) const final { return TCustomLineSeries::PointX(index); }
  int PointY(int index) const final { return TCustomLineSeries::PointY(index); }

  // --- drawing ---
  // Skips a point only where drawing it cannot change a pixel (see DrawAllValues).
  void DrawAllValues() override;
  void DrawValue(int index) final;
  // Draws every point, skipping none: the reference the skipping draw must equal pixel for
  // pixel.
  bool DrawEveryPoint() const { return drawEveryPoint_; }
  void SetDrawEveryPoint(bool value) { drawEveryPoint_ = value; }
  void CalcHorizMargins(int& left, int& right) const override;
  void CalcVertMargins(int& top, int& bottom) const override;
  int Clicked(int x, int y) const override;

  // The pixel position and colour of the point drawn last (clNone: none, or a null point).
  TPoint PreviousPosition() const { return prev_; }
  TColor PreviousColor() const { return prevColor_; }

  // --- events ---
  std::function<TSeriesPointerStyle(TChartSeries& sender, int valueIndex)> OnGetPointerStyle;
  std::function<void(TCustomSeries& sender, int valueIndex, int x, int y)> OnClickPointer;
  // Clicks on the series; while either is assigned the chart asks the series for hits.
  std::function<void(TChartSeries& sender, int valueIndex, int x, int y)> OnClick;
  std::function<void(TChartSeries& sender, int valueIndex, int x, int y)> OnDblClick;

 private:
  template <class T>
  void Change(T& field, const T& value) {
    if (StoreChanged(field, value)) Repaint();
  }
  void DrawPoint(int index, TPoint at, TColor color);
  // Whether a pointer drawn again at the same place with the same style writes the same pixels
  // whatever lies under them and whatever the canvas held before.
  bool PointerRedrawCovers() const;
  void SegmentStep(TChartCanvas3D& canvas, int index, TPoint to, TColor color, bool pointers);
  void DrawPointer(TChartCanvas3D& canvas, int index, TPoint at, TColor color);
  // The vertical pixel where the line from point index - 1 to point index crosses the x value of
  // the chart rectangle's entry edge.
  int EntryHeight(int index, double edgeValue) const;

  std::unique_ptr<TSeriesPointer> pointer_;
  std::unique_ptr<TSeriesMarks> marks_;
  bool clickableLine_ = true;
  TCursor cursor_ = crDefault;
  bool drawEveryPoint_ = false;

  TPoint prev_;
  TColor prevColor_ = 0;
  // A point of the current frame has set prev_.
  bool framePositioned_ = false;
};

}  // namespace plotvik

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_element.h"
#include "chart/chart_value_list.h"
#include "chart/series_points.h"
#include "raster/color.h"

namespace plotvik {

class TChartAxis;

// Which horizontal / vertical axes of its chart a series is plotted against.
enum class THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum class TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };

// The standard axes of the chart a series belongs to, which the chart hands to each series that
// joins it; the series picks its two from them.
struct TChartStandardAxes {
  TChartAxis* bottom = nullptr;
  TChartAxis* top = nullptr;
  TChartAxis* left = nullptr;
  TChartAxis* right = nullptr;
};

// The point container: per point an X value, a Y value, an optional label and an optional
// colour, in the order of the mandatory list. The series kinds derived from it draw the values.
class TChartSeries : public TCustomChartSeries, private TChartValueListOwner {
 public:
  explicit TChartSeries(std::string name = {});
  ~TChartSeries() override;

  // --- values ---
  TChartValueList& XValues() const { return *valueLists_[0]; }
  TChartValueList& YValues() const { return *valueLists_[1]; }
  int ValueListCount() const { return static_cast<int>(valueLists_.size()); }
  TChartValueList& ValueList(int index) const {
    return *valueLists_.at(static_cast<size_t>(index));
  }
  // The list with that Name (exact match), or nullptr.
  TChartValueList* ValueListByName(const std::string& name) const;
  // This series kind plots the Y list against the X list.
  bool YMandatory() const { return yMandatory_; }
  TChartValueList& MandatoryValueList() const { return yMandatory_ ? YValues() : XValues(); }
  TChartValueList& NotMandatoryValueList() const { return yMandatory_ ? XValues() : YValues(); }

  int PointCount() const { return XValues().ValueCount(); }
  int Count() const { return PointCount(); }
  virtual double XValue(int index) const { return XValues().Value(index); }
  virtual double YValue(int index) const { return YValues().Value(index); }
  virtual double MandatoryValue(int index) const { return MandatoryValueList().Value(index); }

  // --- point labels and colours ---
  // The label of point i, or the empty text when it has none.
  virtual std::string PointLabel(int index) const;
  // True when any point carries a label (the axes then may label with them).
  bool HasLabels() const { return !labels_.empty() && !labels_.front().empty(); }
  // The explicit colour of point i, else the palette colour (ColorEachPoint), else SeriesColor.
  virtual TColor PointColor(int index) const;
  bool IsNullPoint(int index) const { return PointColor(index) == clNone; }
  // Whether a colour list exists (it appears with the first point given an explicit colour).
  bool HasColorList() const {
    Place();
    return colors_ != nullptr;
  }

  TColor SeriesColor() const { return seriesColor_; }
  virtual void SetSeriesColor(TColor color);
  bool ColorEachPoint() const { return colorEachPoint_; }
  virtual void SetColorEachPoint(bool value);

  // --- axes ---
  THorizAxis HorizAxis() const { return horizAxis_; }
  void SetHorizAxis(THorizAxis axis);
  TVertAxis VertAxis() const { return vertAxis_; }
  void SetVertAxis(TVertAxis axis);
  // The chart's axes, given by the chart as the series joins it and taken back as it leaves.
  void SetChartAxes(const TChartStandardAxes& axes);
  // The axes this series maps through; nullptr while it belongs to no chart.
  TChartAxis* GetHorizAxis() const { return resolvedHorizAxis_; }
  TChartAxis* GetVertAxis() const { return resolvedVertAxis_; }
  virtual bool AssociatedToAxis(const TChartAxis& axis) const;
  virtual bool UseAxis() const { return true; }

  // --- data binding ---
  // A table (TDataSet) or a TDataSource; nullptr when the series is fed by hand.
  TComponent* DataSource() const { return dataSource_; }
  void SetDataSource(TComponent* source);
  const std::string& XLabelsSource() const { return xLabelsSource_; }
  void SetXLabelsSource(std::string field);
  const std::string& ColorSource() const { return colorSource_; }
  void SetColorSource(std::string field);
  // Asks the chart to re-check this series' table binding (and so to refill it).
  void CheckDataSource();

  // --- adding and removing points ---
  virtual int AddPoint(double x, double y, const std::string& label = {}, TColor color = clDefault);
  // AddPoint with no label and no index: the point's place is worked out at the next read,
  // with every point added so since, so that points out of order cost one sort, not a move
  // each. Every read sees what AddPoint would have left. With OnBeforeAdd or OnAfterAdd
  // assigned, labels present or more than two value lists, it is AddPoint.
  void AddPointUnplaced(double x, double y, TColor color = clDefault);
  virtual int AddAtNextX(double y, const std::string& label = {}, TColor color = clDefault);
  virtual int AddNull(const std::string& label = {});
  virtual int AddNullXY(double x, const std::string& label = {});
  virtual void ClearPoints();
  virtual void DeletePoint(int index);
  // Sorts the points by the mandatory list when that list is ordered, then renumbers X.
  void ApplyMandatoryOrder();
  // While held, an added point requests no repaint of its own; the last release makes one
  // request for all of them, as the chart paints the outcome once anyway.
  void HoldRepaints() { ++repaintHolds_; }
  void ReleaseRepaints();

  // Goes up whenever the points may have changed; two equal readings of one series mean equal
  // points in between. Readings of different series say nothing about each other.
  std::uint64_t ChangeStamp() const;
  // Gives the points added by AddPointUnplaced their places; a value list calls it before
  // anything reads or changes it. Const as a read: the points it moves are the same points.
  void PlacePoints() const;

  // --- statistics for the axes ---
  virtual double XMinimum() const { return XValues().Lowest(); }
  virtual double XMaximum() const { return XValues().Highest(); }
  virtual double YMinimum() const { return YValues().Lowest(); }
  virtual double YMaximum() const { return YValues().Highest(); }

  // --- painting ---
  // Pixel position of point i through the resolved horizontal / vertical axis.
  virtual int PointX(int index) const;
  virtual int PointY(int index) const;
  int CalcXPos(int index) const { return PointX(index); }
  int CalcYPos(int index) const { return PointY(index); }
  // Finds the points inside the chart rectangle; -1/-1 when none is.
  void ComputeVisibleRange();
  int FirstVisible() const { return firstVisible_; }
  int LastVisible() const { return lastVisible_; }
  // Draws the values FirstVisible … LastVisible in ascending order.
  virtual void DrawAllValues();
  // Draws one value; a plain point container draws nothing.
  virtual void DrawValue(int index);
  // Pixels the series needs beyond the axis range on each side (pointers, bars).
  virtual void CalcHorizMargins(int& left, int& right) const;
  virtual void CalcVertMargins(int& top, int& bottom) const;
  // Run for every active series at the start of each frame.
  virtual void DoBeforeDrawChart() {}
  virtual void DoBeforeDrawValues();
  virtual void DoAfterDrawValues();
  // Series that connect consecutive points keep the first point beyond the right edge visible.
  virtual bool DrawBetweenPoints() const { return false; }
  virtual bool DrawValuesForward() const { return true; }
  // The point under a mouse position, or -1.
  virtual int Clicked(int x, int y) const;

  // --- events ---
  std::function<bool(TChartSeries&)> OnBeforeAdd;
  std::function<void(TChartSeries&, int)> OnAfterAdd;
  std::function<void(TChartSeries&)> OnClearValues;
  std::function<void(TChartSeries&)> BeforeDrawValues;
  std::function<void(TChartSeries&)> AfterDrawValues;

  void SetParentChart(TCustomChartPanel* chart) override;

 protected:
  void Loaded() override;
  void Notification(TComponent& component, TOperation operation) override;
  // Releases the storage of every list (the first half of ClearPoints).
  virtual void ClearLists();
  // After a point was stored at index: OnAfterAdd and a repaint.
  virtual void NotifyNewValue(int index);
  void ResolveAxes();

 private:
  // AddPoint's general path, after OnBeforeAdd: ordered insert, third lists, colour, label.
  int InsertPoint(double x, double y, const std::string& label, TColor color);
  // InsertPoint without the notification: stores the point and returns its index.
  int StorePoint(double x, double y, const std::string& label, TColor color);
  void Place() const {
    if (!unplaced_.Empty()) [[unlikely]]
      PlacePoints();
  }
  void DropUnplaced();

  void ValueListDisplayChanged() override { Repaint(); }
  void ValueListSourceChanged() override { CheckDataSource(); }
  void PlaceValueListPoints() const override { PlacePoints(); }

  TSeriesPoints unplaced_;
  // Points added unplaced, counted as changes before any list holds them.
  std::uint64_t unplacedAdds_ = 0;

  std::vector<std::unique_ptr<TChartValueList>> valueLists_;
  bool yMandatory_ = true;
  // Sparse: only as long as the last point that received a label.
  std::vector<std::string> labels_;
  // Absent until the first explicit colour; then one entry per point.
  std::unique_ptr<std::vector<TColor>> colors_;
  TColor seriesColor_ = clDefault;
  bool colorEachPoint_ = false;

  THorizAxis horizAxis_ = THorizAxis::aBottomAxis;
  TVertAxis vertAxis_ = TVertAxis::aLeftAxis;
  TChartStandardAxes chartAxes_;
  TChartAxis* resolvedHorizAxis_ = nullptr;
  TChartAxis* resolvedVertAxis_ = nullptr;

  TComponent* dataSource_ = nullptr;
  std::string xLabelsSource_;
  std::string colorSource_;

  int firstVisible_ = -1;
  int lastVisible_ = -1;
  int repaintHolds_ = 0;
  bool repaintOwed_ = false;  // an add was held back from requesting a repaint
};

}  // namespace plotvik

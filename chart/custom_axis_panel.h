#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/custom_chart_panel_extended.h"

namespace plotvik {

class TChartAxis;
class TChartSeries;
struct TAxisLayoutFacts;

// A chart with axes and series: it owns the five standard axes (bottom, top, left, right,
// depth, in this list order), keeps the series in the order they joined, and draws the frame:
// axes fit, series margins, back wall, axes, series clipped to the plot, zoom band.
class TCustomAxisPanel : public TCustomChartPanelExtended {
 public:
  explicit TCustomAxisPanel(std::string name = {});
  ~TCustomAxisPanel() override;

  // --- series ---
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  TChartSeries& Series(int index) const;
  // Joining and leaving; the series side calls these from SetParentChart. A series that joins
  // with the default colour takes the first palette colour free on this chart.
  void AddSeries(TChartSeries& series) override;
  void RemoveSeries(TChartSeries& series) override;
  // The first palette colour that no series here has and that differs from the panel and back
  // wall colours; clRed when all are taken.
  TColor FreeSeriesColor() const;
  // Whether some active series uses axes (or there is no series at all).
  bool ActiveSeriesUseAxis() const;

  // --- axes ---
  TChartAxis& BottomAxis() const { return *axes_[0]; }
  TChartAxis& TopAxis() const { return *axes_[1]; }
  TChartAxis& LeftAxis() const { return *axes_[2]; }
  TChartAxis& RightAxis() const { return *axes_[3]; }
  TChartAxis& DepthAxis() const { return *axes_[4]; }
  int AxisCount() const { return static_cast<int>(axes_.size()); }
  TChartAxis& Axes(int index) const;

  bool AxisVisible() const { return axisVisible_; }
  void SetAxisVisible(bool value);
  bool AxisBehind() const { return axisBehind_; }
  void SetAxisBehind(bool value);
  bool ClipPoints() const { return clipPoints_; }
  void SetClipPoints(bool value);

  // Extra room an axis takes for the walls in 3D; 0 in 2D.
  virtual int WallSize(const TChartAxis& axis) const;
  // Hands every axis the extents and associations of the series as they are now; a frame does
  // it before it lays the axes out, and the axes answer from it until the next frame.
  void GiveAxesTheirFacts();

  // --- events ---
  // May replace the text of an axis label (series nullptr and index -1 for value labels).
  std::function<void(TChartAxis& sender, TChartSeries* series, int valueIndex,
                     std::string& labelText)>
      OnGetAxisLabel;
  std::function<void(TCustomAxisPanel&)> OnBeforeDrawChart;
  std::function<void(TCustomAxisPanel&)> OnBeforeDrawAxes;
  std::function<void(TCustomAxisPanel&)> OnBeforeDrawSeries;
  std::function<void(TCustomAxisPanel&)> OnAfterDraw;

 protected:
  void DrawChartContent() override;
  void DoAfterDraw() override;
  // Hooks of the frame for the layers above: titles and legend (two passes), walls, and the
  // rubber band of a zoom drag in progress.
  virtual void DrawTitlesAndLegend(bool /*firstPass*/) {}
  virtual void DrawWalls() {}
  virtual void DrawZoomRectangle() {}
  // The colour a new series must not take besides the panel colour (the back wall's).
  virtual TColor BackWallColor() const { return clNone; }

 private:
  TAxisLayoutFacts FactsFor(const TChartAxis& axis) const;
  void FitAxes();
  void WidenAxesForSeriesMargins();
  void PlaceTicks();
  void DrawAxes();
  void DrawSeries();

  std::vector<std::unique_ptr<TChartAxis>> axes_;
  std::vector<TChartSeries*> series_;
  bool axisVisible_ = true;
  bool axisBehind_ = true;
  bool clipPoints_ = true;
};

}  // namespace plotvik

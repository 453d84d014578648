#pragma once

#include <memory>
#include <string>

#include "chart/chart_legend.h"
#include "chart/chart_title.h"
#include "chart/chart_wall.h"
#include "chart/custom_axis_panel.h"

namespace plotvik {

// A chart with titles, a legend and walls around its axes and series.
class TChartMouseHandler;
class TChartZoom;

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(std::string name = {});
  ~TCustomChart() override;

  TChartTitle& Title() const { return *title_; }
  TChartTitle& SubTitle() const { return *subTitle_; }
  TChartFootTitle& Foot() const { return *foot_; }
  TChartFootTitle& SubFoot() const { return *subFoot_; }
  TChartLegend& Legend() const { return *legend_; }
  TChartBackWall& BackWall() const { return *backWall_; }
  TChartWall& LeftWall() const { return *leftWall_; }
  TChartWall& BottomWall() const { return *bottomWall_; }
  TChartRightWall& RightWall() const { return *rightWall_; }
  // The outline of the chart rectangle: the back wall's pen.
  TChartPen& Frame() const { return BackWall().Pen(); }

  // The mouse: zoom drag, undo, wheel scrolling and click events.
  TChartMouseHandler& MouseHandler() const { return *mouse_; }
  TChartZoom& Zoom() const;

 protected:
  void DrawWalls() override;
  TColor BackWallColor() const override;
  void DrawZoomRectangle() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void CancelMode() override;
  void MouseWheelDown(TShiftState shift, int x, int y) override;
  void MouseWheelUp(TShiftState shift, int x, int y) override;

 private:
  std::unique_ptr<TChartTitle> title_;
  std::unique_ptr<TChartTitle> subTitle_;
  std::unique_ptr<TChartFootTitle> foot_;
  std::unique_ptr<TChartFootTitle> subFoot_;
  std::unique_ptr<TChartLegend> legend_;
  std::unique_ptr<TChartBackWall> backWall_;
  std::unique_ptr<TChartWall> leftWall_;
  std::unique_ptr<TChartWall> bottomWall_;
  std::unique_ptr<TChartRightWall> rightWall_;
  std::unique_ptr<TChartMouseHandler> mouse_;
};

}  // namespace plotvik

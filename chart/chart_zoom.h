#pragma once

#include <array>
#include <functional>
#include <memory>

#include "chart/chart_brush.h"
#include "chart/chart_pen.h"
#include "platform/gui/custom_panel.h"
#include "platform/gui/screen_cursor.h"
#include "raster/geometry.h"

namespace plotvik {

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;
class TCustomChart;

enum TChartZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

// A mouse drag in progress: where it began (X0, Y0) and where it is now (X1, Y1).
class TZoomPanning {
 public:
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  int X0() const { return x0_; }
  int Y0() const { return y0_; }
  int X1() const { return x1_; }
  int Y1() const { return y1_; }
  // Starts a drag at (x, y): both corners there.
  void Activate(int x, int y);
  void SetStart(int x, int y) {
    x0_ = x;
    y0_ = y;
  }
  void SetEnd(int x, int y) {
    x1_ = x;
    y1_ = y;
  }
  // Orders the corners so that X0 <= X1 and Y0 <= Y1.
  void Check();

 private:
  bool active_ = false;
  int x0_ = 0;
  int y0_ = 0;
  int x1_ = 0;
  int y1_ = 0;
};

// How a mouse drag zooms a chart: which button and keys start it, which coordinates it may
// change, how far it must go, and the look of the rubber band.
class TChartZoom : public TZoomPanning {
 public:
  TChartZoom();
  ~TChartZoom();
  TChartZoom(const TChartZoom&) = delete;
  TChartZoom& operator=(const TChartZoom&) = delete;

  bool Allow() const { return allow_; }
  void SetAllow(bool value) { allow_ = value; }
  TChartZoomBrush& Brush() const { return *brush_; }
  TChartZoomDirection Direction() const { return direction_; }
  void SetDirection(TChartZoomDirection value) { direction_ = value; }
  TShiftState KeyShift() const { return keyShift_; }
  void SetKeyShift(TShiftState value) { keyShift_ = value; }
  // A drag zooms or undoes only when it goes further than this in both directions.
  static constexpr int MinimumPixels() { return 16; }
  static constexpr TMouseButton MouseButton() { return mbLeft; }
  TChartZoomPen& Pen() const { return *pen_; }

 private:
  bool allow_ = true;
  std::unique_ptr<TChartZoomBrush> brush_;
  TChartZoomDirection direction_ = tzdBoth;
  TShiftState keyShift_;
  std::unique_ptr<TChartZoomPen> pen_;
};

// The mouse wheel scrolls charts only while this process-wide switch is on (it is by default).
bool ChartMouseWheelEnabled();
void SetChartMouseWheelEnabled(bool value);

// Everything a chart does with the mouse: the part a press lands on and its click event, the
// zoom drag with its rubber band drawn straight onto the window, zoom and undo through the axes
// with the snapshot of the ranges from before the first zoom, and wheel scrolling. The chart
// forwards its mouse handlers here and calls DrawFrameBand at the end of every frame.
class TChartMouseHandler {
 public:
  // sender is the chart the events name; chart is the same chart as the axes and series the
  // mouse works on, so that this handler needs nothing of the layers above them.
  TChartMouseHandler(TCustomChart& sender, TCustomAxisPanel& chart);
  ~TChartMouseHandler();
  TChartMouseHandler(const TChartMouseHandler&) = delete;
  TChartMouseHandler& operator=(const TChartMouseHandler&) = delete;

  TCustomChart& Chart() const { return sender_; }
  TChartZoom& Zoom() const { return *zoom_; }
  // The panning drag; it never starts while AllowPanning is pmNone. Only its state is kept:
  // every chart of this program has panning off, so a panning drag moves no axis.
  const TZoomPanning& Panning() const { return panning_; }
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode value) { allowPanning_ = value; }
  // True after a zoom, false after an undo.
  bool Zoomed() const { return zoomed_; }
  // Set before a click event is raised; a handler that leaves it set stops the rest of the
  // mouse processing of that event.
  bool CancelMouse() const { return cancelMouse_; }
  void SetCancelMouse(bool value) { cancelMouse_ = value; }

  // --- the mouse, in the chart's client coordinates ---
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void MouseMove(TShiftState shift, int x, int y);
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void MouseLeave();
  // The mouse was taken away mid-drag (an error box came up): the zoom drag ends without
  // zooming, its band erased, and the panning drag ends too.
  void CancelDrag();
  // One notch of the wheel (the panel has already turned wheel units into notches).
  void MouseWheelNotch(bool down, TShiftState shift, int x, int y);

  // --- zoom ---
  // The axes take the values under the rectangle's edges (pixels, corners in any order).
  void ZoomRect(const TRect& rect);
  // Back to the ranges from before the first zoom; without a zoom the axes stay as they are.
  void UndoZoom();
  // The rubber band at the current corners, XOR-drawn through the chart's surface; drawing it
  // twice restores the pixels under it.
  void DrawZoomRectangle();
  // The frame hook: a frame drawn while a zoom drag is in progress ends with the band.
  void DrawFrameBand();

  // --- events (none assigned in this program) ---
  std::function<void(TCustomChart&, TMouseButton, TShiftState, int, int)> OnMouseDown;
  std::function<void(TCustomChart&, TShiftState, int, int)> OnMouseMove;
  std::function<void(TCustomChart&, TMouseButton, TShiftState, int, int)> OnMouseUp;
  std::function<void(TCustomChart&, TShiftState, int, int)> OnMouseWheelDown;
  std::function<void(TCustomChart&, TShiftState, int, int)> OnMouseWheelUp;
  std::function<void(TCustomChart&)> OnZoom;
  std::function<void(TCustomChart&)> OnUndoZoom;
  std::function<void(TCustomChart&, TChartAxis&, TMouseButton, TShiftState, int, int)> OnClickAxis;
  std::function<void(TCustomChart&, TMouseButton, TShiftState, int, int)> OnClickBackground;
  std::function<void(TCustomChart&, TChartSeries&, int valueIndex, TMouseButton, TShiftState, int,
                     int)>
      OnClickSeries;

 private:
  struct AxisState {
    bool automatic = true;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    double minimum = 0;
    double maximum = 0;
  };
  // Raises a click event under the cancel rule; true when the press may go on to a drag.
  template <class Event, class... Args>
  bool RaiseClick(const Event& event, Args&&... args);
  void StartDrag(TMouseButton button, TShiftState shift, int x, int y);
  // The four standard axes in the order the snapshot keeps them: top, left, right, bottom.
  std::array<TChartAxis*, 4> SnapshotAxes() const;

  TCustomChart& sender_;
  TCustomAxisPanel& chart_;
  std::unique_ptr<TChartZoom> zoom_;
  TZoomPanning panning_;
  TPanningMode allowPanning_ = pmBoth;
  bool zoomed_ = false;
  bool cancelMouse_ = false;
  // The cursor the chart returns to when the mouse leaves a series: the chart's at creation.
  const TCursor originalCursor_;
  bool snapshotNeeded_ = true;
  std::array<AxisState, 4> snapshot_{};
  // A frame drew the band into the buffer; the end of the drag must replace that frame.
  bool bandInFrame_ = false;
};

}  // namespace plotvik

#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "platform/component.h"
#include "platform/gui/screen_cursor.h"
#include "raster/bitmap.h"
#include "raster/canvas.h"
#include "raster/geometry.h"

namespace plotvik {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

// A set of TShiftStateItem; TShiftState{} is the empty set.
class TShiftState {
 public:
  constexpr TShiftState() = default;
  constexpr TShiftState(std::initializer_list<TShiftStateItem> items) {
    for (auto item : items) bits_ |= Bit(item);
  }
  constexpr bool Contains(TShiftStateItem item) const { return (bits_ & Bit(item)) != 0; }
  // True when every item of `other` is in this set.
  constexpr bool ContainsAll(TShiftState other) const {
    return (bits_ & other.bits_) == other.bits_;
  }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TShiftState& Include(TShiftStateItem item) {
    bits_ |= Bit(item);
    return *this;
  }
  constexpr TShiftState& Exclude(TShiftStateItem item) {
    bits_ &= static_cast<std::uint8_t>(~Bit(item));
    return *this;
  }
  friend constexpr bool operator==(TShiftState, TShiftState) = default;

 private:
  static constexpr std::uint8_t Bit(TShiftStateItem item) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(item));
  }
  std::uint8_t bits_ = 0;
};

// A text that belongs to a place on a panel, in the panel's pixels.
struct THoverText {
  std::string text;
  int x = 0;
  int y = 0;
};

// What a panel needs from the window that shows it (implemented by the widget glue).
class TPanelHost {
 public:
  virtual ~TPanelHost() = default;
  virtual void ScheduleRepaint() = 0;   // a paint request later, through the event loop
  virtual void RefreshFromImage() = 0;  // show the window image again, no Paint call
  virtual void CursorChanged(TCursor cursor) = 0;
  virtual void BoundsChanged() = 0;
  virtual void PanelDestroyed() = 0;
  // The panel's pinned text changed; the tip shows it once events are handled again.
  virtual void PinnedTextChanged() {}
};

// A window that paints itself through its canvas. The panel keeps a window image: a pixel
// buffer of its size that holds what the window shows. Paint() draws into it through Canvas();
// anything drawn onto Canvas() outside Paint (a rubber band, say) lands there too and is shown
// at once. Without a window (tests, off-screen use) the panel works the same: Invalidate()
// marks a paint as pending and Update() runs it.
class TCustomPanel : public TComponent {
 public:
  explicit TCustomPanel(std::string name = {});
  ~TCustomPanel() override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
  void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
  // Sizes below 0 are taken as 0. A size change resizes the window image, calls Resize() and
  // invalidates the window.
  void SetBounds(int left, int top, int width, int height);
  TRect ClientRect() const { return {0, 0, width_, height_}; }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }

  // The window's canvas, drawing into the window image.
  TCanvas& Canvas() { return windowImage_.Canvas(); }
  TBitmap& WindowImage() { return windowImage_; }
  const TBitmap& WindowImage() const { return windowImage_; }

  // Schedules a paint. While one is pending further requests are absorbed: the window is asked
  // once and paints once, however many requests came; the paint clears the pending mark.
  void Invalidate();
  bool PaintPending() const { return paintPending_; }
  // Runs the pending paint now, if any.
  void Update();
  // Invalidate and Update.
  void Repaint();
  // Runs Paint() now, pending or not (what a window's paint request does).
  void PaintWindow();
  bool Painting() const { return painting_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  // True while a mouse button pressed on the panel is held (moves and the release come here
  // even from outside the window).
  bool MouseCapture() const { return mouseCapture_; }
  // The panel that holds the mouse, if any: at most one does at a time.
  static TCustomPanel* CapturePanel();
  // Takes the mouse away from the panel that holds it, telling it to end whatever the held
  // button was doing (CancelMode). A box that comes up while a button is held does this, so the
  // release that follows the box finds no drag to finish.
  static void CancelCapture();

  // Entry points of the window glue: they keep the capture state and the wheel remainder and
  // then call the virtual handlers below.
  void DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void DispatchMouseMove(TShiftState shift, int x, int y);
  void DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void DispatchMouseLeave();
  void DispatchMouseWheel(TShiftState shift, int wheelDelta, int x, int y);

  // Asked when the mouse has rested on the window for a moment with no button held: the text
  // to show in a tip window beside the place it belongs to, or nothing. Asked again as the mouse
  // moves while the tip shows; the tip goes when the answer changes. The tip is a window of its
  // own: the panel's pixels never change for it. Unassigned, no tip ever shows.
  std::function<std::optional<THoverText>(int x, int y)> OnHoverText;

  // A text the program itself shows in the tip window beside its place while the window is
  // visible, until it is taken away; a tip of the resting mouse stands in front of it meanwhile.
  const std::optional<THoverText>& PinnedText() const { return pinnedText_; }
  void SetPinnedText(std::optional<THoverText> text);

  // Window glue only.
  void AttachHost(TPanelHost* host);
  TPanelHost* Host() const { return host_; }

 protected:
  // Draws the whole window through Canvas(); nothing by default (the window keeps its image).
  virtual void Paint() {}
  virtual void Resize() {}
  virtual void MouseDown(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseMove(TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseUp(TMouseButton, TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseLeave() {}
  // Wheel movement in units of 120 per notch, up positive. By default it is collected and every
  // whole notch calls MouseWheelUp or MouseWheelDown; the remainder waits for the next movement.
  virtual void MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
  virtual void MouseWheelDown(TShiftState, int /*x*/, int /*y*/) {}
  virtual void MouseWheelUp(TShiftState, int /*x*/, int /*y*/) {}
  // The mouse was taken away while a button was held; nothing by default.
  virtual void CancelMode() {}

 private:
  void WindowImageChanged();

  int left_ = 0;
  int top_ = 0;
  int width_ = 185;
  int height_ = 41;
  TBitmap windowImage_;
  bool paintPending_ = true;
  bool painting_ = false;
  TCursor cursor_ = crDefault;
  bool mouseCapture_ = false;
  int heldButtons_ = 0;
  int wheelAccumulator_ = 0;
  TPanelHost* host_ = nullptr;
  std::optional<THoverText> pinnedText_;
};

}  // namespace plotvik

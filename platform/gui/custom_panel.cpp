#include "platform/gui/custom_panel.h"

#include <algorithm>

#include "platform/gui/font_glyphs.h"

namespace plotvik {

namespace {

// The window thread's mouse capture.
TCustomPanel* capturePanel = nullptr;

}  // namespace

TCustomPanel::TCustomPanel(std::string name)
    : TComponent(std::move(name)), windowImage_(185, 41, clBtnFace) {
  // Whatever lands on the window canvas outside a paint (a rubber band) is shown at once.
  windowImage_.Canvas().OnChange = [this] { WindowImageChanged(); };
  windowImage_.Canvas().SetGlyphs(&WindowGlyphs());
}

TCustomPanel::~TCustomPanel() {
  MarkDestroying();
  if (capturePanel == this) capturePanel = nullptr;
  if (host_ != nullptr) {
    TPanelHost* host = host_;
    host_ = nullptr;
    host->PanelDestroyed();
  }
}

void TCustomPanel::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const bool resized = width != width_ || height != height_;
  const bool moved = left != left_ || top != top_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized) windowImage_.SetSize(width, height, clBtnFace);
  if (host_ != nullptr && (resized || moved)) host_->BoundsChanged();
  if (resized) {
    Resize();
    Invalidate();
  }
}

void TCustomPanel::Invalidate() {
  // A pending paint already redraws everything: further requests (a chart refill asks once per
  // point) cost nothing until that paint has run.
  if (paintPending_) return;
  paintPending_ = true;
  if (host_ != nullptr) host_->ScheduleRepaint();
}

void TCustomPanel::Update() {
  if (paintPending_) PaintWindow();
}

void TCustomPanel::Repaint() {
  Invalidate();
  Update();
}

void TCustomPanel::PaintWindow() {
  if (painting_) return;
  painting_ = true;
  paintPending_ = false;
  try {
    Paint();
  } catch (...) {
    painting_ = false;
    throw;
  }
  painting_ = false;
  if (host_ == nullptr) return;
  host_->RefreshFromImage();
  // A request made during the paint is not in the frame just drawn. Its window request may
  // already be spent (a nested paint, run by an error box's message loop, took it), so ask again.
  if (paintPending_) host_->ScheduleRepaint();
}

void TCustomPanel::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  if (host_ != nullptr) host_->CursorChanged(value);
}

void TCustomPanel::WindowImageChanged() {
  if (!painting_ && host_ != nullptr) host_->RefreshFromImage();
}

void TCustomPanel::DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  heldButtons_ |= 1 << static_cast<int>(button);
  mouseCapture_ = true;
  capturePanel = this;
  MouseDown(button, shift, x, y);
}

void TCustomPanel::DispatchMouseMove(TShiftState shift, int x, int y) {
  MouseMove(shift, x, y);
}

void TCustomPanel::DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  heldButtons_ &= ~(1 << static_cast<int>(button));
  if (heldButtons_ == 0) {
    mouseCapture_ = false;
    if (capturePanel == this) capturePanel = nullptr;
  }
  MouseUp(button, shift, x, y);
}

TCustomPanel* TCustomPanel::CapturePanel() {
  return capturePanel;
}

void TCustomPanel::CancelCapture() {
  TCustomPanel* panel = capturePanel;
  if (panel == nullptr) return;
  capturePanel = nullptr;
  panel->mouseCapture_ = false;
  panel->heldButtons_ = 0;
  panel->CancelMode();
}

void TCustomPanel::DispatchMouseLeave() {
  MouseLeave();
}

void TCustomPanel::DispatchMouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  MouseWheel(shift, wheelDelta, x, y);
}

void TCustomPanel::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  constexpr int kNotch = 120;
  wheelAccumulator_ += wheelDelta;
  while (wheelAccumulator_ >= kNotch) {
    wheelAccumulator_ -= kNotch;
    MouseWheelUp(shift, x, y);
  }
  while (wheelAccumulator_ <= -kNotch) {
    wheelAccumulator_ += kNotch;
    MouseWheelDown(shift, x, y);
  }
}

void TCustomPanel::SetPinnedText(std::optional<THoverText> text) {
  const bool same = text.has_value() == pinnedText_.has_value() &&
                    (!text || (text->text == pinnedText_->text && text->x == pinnedText_->x &&
                               text->y == pinnedText_->y));
  if (same) return;
  pinnedText_ = std::move(text);
  if (host_ != nullptr) host_->PinnedTextChanged();
}

void TCustomPanel::AttachHost(TPanelHost* host) {
  host_ = host;
  // A paint that became pending while no window was attached was never asked of one.
  if (host_ != nullptr && paintPending_) host_->ScheduleRepaint();
}

}  // namespace plotvik

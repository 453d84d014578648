#include "platform/gui/panel_widget.h"

#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWidget>

#include "platform/color.h"
#include "platform/gui/application.h"
#include "platform/gui/custom_panel.h"
#include "platform/gui/raster_internal.h"

namespace plotvik {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s.Include(ssShift);
  if (modifiers & Qt::AltModifier) s.Include(ssAlt);
  if (modifiers & Qt::ControlModifier) s.Include(ssCtrl);
  if (buttons & Qt::LeftButton) s.Include(ssLeft);
  if (buttons & Qt::RightButton) s.Include(ssRight);
  if (buttons & Qt::MiddleButton) s.Include(ssMiddle);
  return s;
}

bool ButtonOf(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton:
      out = mbLeft;
      return true;
    case Qt::RightButton:
      out = mbRight;
      return true;
    case Qt::MiddleButton:
      out = mbMiddle;
      return true;
    default:
      return false;
  }
}

Qt::CursorShape ShapeOf(TCursor cursor) {
  switch (cursor) {
    case crHourGlass:
      return Qt::WaitCursor;
    default:
      return Qt::ArrowCursor;
  }
}

// Runs one event's work on the panel. A failure must not unwind through the toolkit's own event
// code, which is not written for it: with an application object it goes to the default error
// box, and the program carries on as after any failed command. Without one (a panel shown by a
// test or tool that made no application object) there is no box to show it in, and it travels on.
template <class Work>
void DeliverEvent(Work&& work) {
  TApplication* application = TApplication::Instance();
  if (application == nullptr) {
    work();
    return;
  }
  try {
    work();
  } catch (...) {
    application->HandleException(std::current_exception());
  }
}

class TPanelWidget : public QWidget, public TPanelHost {
 public:
  explicit TPanelWidget(TCustomPanel& panel) : panel_(&panel) {
    // The panel paints every pixel; the toolkit must not clear the window first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
    resize(panel.Width(), panel.Height());
    setCursor(ShapeOf(panel.Cursor()));
    panel.AttachHost(this);
  }
  ~TPanelWidget() override {
    if (panel_ != nullptr) panel_->AttachHost(nullptr);
  }

  TCustomPanel* Panel() const { return panel_; }
  void Detach() {
    if (panel_ != nullptr) panel_->AttachHost(nullptr);
    panel_ = nullptr;
  }

  void ScheduleRepaint() override { update(); }
  void RefreshFromImage() override {
    if (!inPaint_) update();
  }
  void CursorChanged(TCursor cursor) override { setCursor(ShapeOf(cursor)); }
  void BoundsChanged() override {
    if (panel_ != nullptr && !resizing_ &&
        (panel_->Width() != width() || panel_->Height() != height()))
      resize(panel_->Width(), panel_->Height());
  }
  void PanelDestroyed() override { panel_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    if (panel_ == nullptr) return;
    inPaint_ = true;
    try {
      DeliverEvent([&] { panel_->Update(); });
    } catch (...) {
      inPaint_ = false;
      throw;
    }
    inPaint_ = false;
    if (panel_ == nullptr) return;  // the error box's own loop may have destroyed the panel
    TBitmap& image = panel_->WindowImage();
    const QImage view(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                      image.Height(), image.Width() * 4, QImage::Format_RGB32);
    painter.drawImage(event->rect(), view, event->rect());
  }
  void resizeEvent(QResizeEvent* event) override {
    if (panel_ == nullptr) return;
    resizing_ = true;
    DeliverEvent([&] {
      panel_->SetBounds(panel_->Left(), panel_->Top(), event->size().width(),
                        event->size().height());
    });
    resizing_ = false;
  }
  void mousePressEvent(QMouseEvent* e) override {
    TMouseButton b;
    if (panel_ == nullptr || !ButtonOf(e->button(), b)) return;
    const QPoint p = e->position().toPoint();
    DeliverEvent(
        [&] { panel_->DispatchMouseDown(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (panel_ == nullptr) return;
    const QPoint p = e->position().toPoint();
    DeliverEvent(
        [&] { panel_->DispatchMouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    TMouseButton b;
    if (panel_ == nullptr || !ButtonOf(e->button(), b)) return;
    const QPoint p = e->position().toPoint();
    DeliverEvent(
        [&] { panel_->DispatchMouseUp(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
  void leaveEvent(QEvent*) override {
    if (panel_ != nullptr) DeliverEvent([&] { panel_->DispatchMouseLeave(); });
  }
  void wheelEvent(QWheelEvent* e) override {
    if (panel_ == nullptr) return;
    const QPoint p = e->position().toPoint();
    DeliverEvent([&] {
      panel_->DispatchMouseWheel(ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(), p.x(),
                                 p.y());
    });
    e->accept();
  }

 private:
  TCustomPanel* panel_;
  bool inPaint_ = false;
  bool resizing_ = false;
};

}  // namespace

std::unique_ptr<QWidget> CreatePanelWidget(TCustomPanel& panel) {
  raster::EnsureGuiApplication();
  if (auto* old = dynamic_cast<TPanelWidget*>(panel.Host())) old->Detach();
  return std::make_unique<TPanelWidget>(panel);
}

QWidget* PanelWidgetOf(const TCustomPanel& panel) {
  return dynamic_cast<TPanelWidget*>(panel.Host());
}

void SyncSystemColorsWithPalette(const QPalette& palette) {
  auto set = [&](TColor systemColor, QPalette::ColorRole role) {
    const QColor c = palette.color(QPalette::Active, role);
    SetSystemColor(static_cast<int>(systemColor & 0xFF),
                   static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16)));
  };
  set(clBtnFace, QPalette::Button);
  set(clMenu, QPalette::Window);
  set(clMenuBar, QPalette::Window);
  set(clBtnHighlight, QPalette::Light);
  set(clBtnShadow, QPalette::Mid);
  set(cl3DDkShadow, QPalette::Shadow);
  set(cl3DLight, QPalette::Midlight);
  set(clBtnText, QPalette::ButtonText);
  set(clWindow, QPalette::Base);
  set(clWindowText, QPalette::WindowText);
  set(clMenuText, QPalette::WindowText);
  set(clHighlight, QPalette::Highlight);
  set(clHighlightText, QPalette::HighlightedText);
  set(clInfoBk, QPalette::ToolTipBase);
  set(clInfoText, QPalette::ToolTipText);
  set(clGrayText, QPalette::PlaceholderText);
}

}  // namespace plotvik

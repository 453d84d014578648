#include "platform/gui/panel_widget.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>
#include <optional>

#include "platform/gui/application.h"
#include "platform/gui/custom_panel.h"
#include "platform/gui/runtime_folder.h"
#include "platform/gui/shrunk_image.h"
#include "raster/color.h"

namespace plotvik {

namespace {

// Widgets need an application object: tests without one get one here (off-screen when no display
// is configured).
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "plotvik";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends and is never destroyed: the toolkit's own globals (some made
  // only at the first input event) would be gone before a static destructor ran.
  static TRuntimeFolder runtimeFolder;
  static QApplication* const application = new QApplication(argc, argv);
  (void)application;
  runtimeFolder.ToolkitStarted();
}

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

// The panel pixel under a mouse position. On a scaled screen a position falls between logical
// pixels; the panel pixel is the one whose block of screen pixels holds it, so that a drag
// works on the same pixels as it would unscaled.
QPoint PanelPixel(const QPointF& position) {
  return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

// How long the mouse must rest before a hover text shows, in milliseconds.
constexpr int kRestTime = 500;

// The window of a hover text: a small frame in the desktop's tip colours. Its window title is
// its text, so that the text can be read from outside the program too.
std::unique_ptr<QLabel> CreateTipWindow() {
  auto tip = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::BypassGraphicsProxyWidget);
  tip->setAttribute(Qt::WA_ShowWithoutActivating);
  tip->setForegroundRole(QPalette::ToolTipText);
  tip->setBackgroundRole(QPalette::ToolTipBase);
  tip->setPalette(QToolTip::palette());
  tip->setFont(QToolTip::font());
  tip->setAutoFillBackground(true);
  tip->setFrameStyle(QFrame::Box | QFrame::Plain);
  tip->setMargin(2);
  tip->setTextFormat(Qt::PlainText);
  return tip;
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
    restTimer_.setSingleShot(true);
    restTimer_.setInterval(kRestTime);
    QObject::connect(&restTimer_, &QTimer::timeout, this, [this] { Rested(); });
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
  void PanelDestroyed() override {
    panel_ = nullptr;
    CancelHover();
  }
  // Queued: the text may change while a panel paints, and a tip window must not move then.
  void PinnedTextChanged() override {
    QMetaObject::invokeMethod(
        this, [this] { HideTip(); }, Qt::QueuedConnection);
  }

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
    const double ratio = devicePixelRatioF();
    if (ratio == 1.0) {
      painter.drawImage(event->rect(), view, event->rect());
    } else if (ratio < 1.0) {
      DrawShrunk(painter, view, ratio);
    } else {
      // On a scaled screen every panel pixel becomes a block of screen pixels, never a blend of
      // its neighbours. The whole image is drawn: a part's edges may fall inside a block.
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
      painter.drawImage(QRect(0, 0, image.Width(), image.Height()), view);
    }
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
    CancelHover();
    TMouseButton b;
    if (panel_ == nullptr || !ButtonOf(e->button(), b)) return;
    const QPoint p = PanelPixel(e->position());
    DeliverEvent(
        [&] { panel_->DispatchMouseDown(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (panel_ == nullptr) return;
    const QPoint p = PanelPixel(e->position());
    DeliverEvent(
        [&] { panel_->DispatchMouseMove(ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
    Hover(p, e->buttons());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    TMouseButton b;
    if (panel_ == nullptr || !ButtonOf(e->button(), b)) return;
    const QPoint p = PanelPixel(e->position());
    DeliverEvent(
        [&] { panel_->DispatchMouseUp(b, ShiftOf(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
  void leaveEvent(QEvent*) override {
    CancelHover();
    if (panel_ != nullptr) DeliverEvent([&] { panel_->DispatchMouseLeave(); });
  }
  void hideEvent(QHideEvent*) override {
    restTimer_.stop();
    shown_.reset();
    if (tip_) tip_->hide();
  }
  void showEvent(QShowEvent*) override { ShowPinned(); }
  void wheelEvent(QWheelEvent* e) override {
    CancelHover();
    if (panel_ == nullptr) return;
    const QPoint p = PanelPixel(e->position());
    DeliverEvent([&] {
      panel_->DispatchMouseWheel(ShiftOf(e->modifiers(), e->buttons()), e->angleDelta().y(), p.x(),
                                 p.y());
    });
    e->accept();
  }

 private:
  // The hover text: a move with no button held waits for the mouse to rest; a tip that shows
  // stays only while the text at the mouse is still the same.
  std::optional<THoverText> HoverTextAt(QPoint p) {
    std::optional<THoverText> text;
    if (panel_ != nullptr && panel_->OnHoverText) {
      DeliverEvent([&] { text = panel_->OnHoverText(p.x(), p.y()); });
    }
    return text;
  }
  void Hover(QPoint p, Qt::MouseButtons buttons) {
    if (panel_ == nullptr || !panel_->OnHoverText || buttons != Qt::NoButton) {
      CancelHover();
      return;
    }
    restPosition_ = p;
    if (shown_) {
      const std::optional<THoverText> now = HoverTextAt(p);
      if (!now || now->text != shown_->text || now->x != shown_->x || now->y != shown_->y) {
        HideTip();
      }
    }
    restTimer_.start();
  }
  void Rested() {
    if (QApplication::mouseButtons() != Qt::NoButton) return;
    std::optional<THoverText> text = HoverTextAt(restPosition_);
    if (!text) {
      HideTip();
    } else {
      ShowTip(std::move(*text));
    }
  }
  void ShowTip(THoverText text) {
    PlaceTip(text);
    shown_ = std::move(text);
  }
  // With no tip of the mouse, the pinned text, if any, shows while this window is visible.
  bool ShowPinned() {
    if (panel_ == nullptr || !panel_->PinnedText() || !isVisible()) return false;
    PlaceTip(*panel_->PinnedText());
    return true;
  }
  void PlaceTip(const THoverText& text) {
    if (!tip_) tip_ = CreateTipWindow();
    const QString caption = QString::fromUtf8(text.text.data(), qsizetype(text.text.size()));
    tip_->setText(caption);
    tip_->setWindowTitle(caption);
    tip_->adjustSize();
    // Below and right of the point, clear of the mouse pointer, as desktop tips sit; turned to
    // the other side where the screen ends.
    const QPoint anchor = mapToGlobal(QPoint(text.x, text.y));
    QPoint at = anchor + QPoint(2, 16);
    if (const QScreen* s = screen()) {
      const QRect area = s->availableGeometry();
      if (at.x() + tip_->width() > area.right()) at.setX(anchor.x() - 2 - tip_->width());
      if (at.y() + tip_->height() > area.bottom()) at.setY(anchor.y() - 4 - tip_->height());
    }
    tip_->move(at);
    tip_->show();
  }
  void HideTip() {
    shown_.reset();
    if (ShowPinned()) return;
    if (tip_) tip_->hide();
  }
  void CancelHover() {
    restTimer_.stop();
    HideTip();
  }

  TCustomPanel* panel_;
  bool inPaint_ = false;
  bool resizing_ = false;
  QTimer restTimer_;
  QPoint restPosition_;
  std::unique_ptr<QLabel> tip_;
  std::optional<THoverText> shown_;
};

}  // namespace

std::unique_ptr<QWidget> CreatePanelWidget(TCustomPanel& panel) {
  EnsureGuiApplication();
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

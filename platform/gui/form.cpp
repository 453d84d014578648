#include "platform/gui/form.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionMenuItem>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "platform/file_path.h"
#include "platform/gui/action_list.h"
#include "platform/gui/application.h"
#include "platform/gui/file_name_text.h"
#include "platform/gui/main_menu.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/shrunk_image.h"
#include "platform/invariant.h"

namespace plotvik {

namespace {

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Builds the entries of `item` into `menu`, recursively; each entry follows its TMenuItem.
void BuildMenu(QMenu& menu, TMenuItem& item, TApplication& application) {
  for (int i = 0; i < item.Count(); ++i) {
    TMenuItem& entry = item.Items(i);
    if (entry.IsLine()) {
      menu.addSeparator();
    } else if (entry.Count() > 0) {
      BuildMenu(*menu.addMenu(FromUtf8(entry.Caption())), entry, application);
    } else {
      QAction* action = menu.addAction(FromUtf8(entry.Caption()));
      action->setEnabled(entry.Enabled());
      TMenuItem* source = &entry;
      QObject::connect(action, &QAction::triggered, action, [source, &application] {
        application.Guard([source] { source->Click(); });
      });
      entry.OnChange = [action, source] {
        action->setText(FromUtf8(source->Caption()));
        action->setEnabled(source->Enabled());
      };
    }
  }
}

// Below a device pixel ratio of 1 the toolkit's bar would draw its entries unscaled, away from
// where they are clicked: they are drawn whole, as the bar draws them, and shown shrunk.
class TMenuBar : public QMenuBar {
 protected:
  void paintEvent(QPaintEvent* event) override {
    const double ratio = devicePixelRatioF();
    if (ratio >= 1.0) {
      QMenuBar::paintEvent(event);
      return;
    }
    PaintShrunk(*this, ratio, [this](QPainter& painter) {
      QRegion empty(rect());
      for (QAction* action : actions()) {
        const QRect place = actionGeometry(action);
        if (place.isEmpty() || !action->isVisible()) continue;
        empty -= place;
        QStyleOptionMenuItem item;
        initStyleOption(&item, action);
        item.rect = place;
        painter.setClipRect(place);
        style()->drawControl(QStyle::CE_MenuBarItem, &item, &painter, this);
      }
      if (const int frame = style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, this)) {
        const QRegion border =
            QRegion(rect()) - QRegion(rect().adjusted(frame, frame, -frame, -frame));
        empty -= border;
        painter.setClipRegion(border);
        QStyleOptionFrame panel;
        panel.rect = rect();
        panel.palette = palette();
        panel.state = QStyle::State_None;
        panel.lineWidth = frame;
        panel.midLineWidth = 0;
        style()->drawPrimitive(QStyle::PE_PanelMenuBar, &panel, &painter, this);
      }
      QStyleOptionMenuItem area;
      area.palette = palette();
      area.state = QStyle::State_None;
      area.menuItemType = QStyleOptionMenuItem::EmptyArea;
      area.checkType = QStyleOptionMenuItem::NotCheckable;
      area.rect = rect();
      area.menuRect = rect();
      painter.setClipRegion(empty);
      style()->drawControl(QStyle::CE_MenuBarEmptyArea, &area, &painter, this);
    });
  }
};

}  // namespace

std::optional<std::string> DroppedLocalFile(const QMimeData& data) {
  if (!data.hasUrls()) return std::nullopt;
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1) return std::nullopt;
  const std::optional<std::string> dropped = FileNameOfUrl(urls.front());
  if (!dropped) return std::nullopt;
  const std::string& name = *dropped;
  std::error_code error;
  if (std::filesystem::is_directory(PathOf(name), error)) return std::nullopt;
  return name;
}

// The window fills its own background: below a device pixel ratio of 1 the toolkit fills it
// before it sets the repaint's clip, in unscaled rectangles, over pages it does not repaint.
TForm::Window::Window(TForm& form) : form_(form) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TForm::Window::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
  }
  QMainWindow::paintEvent(event);
}

void TForm::Window::dragEnterEvent(QDragEnterEvent* event) {
  // Left unaccepted, the drag shows the refusing cursor over the window.
  if (form_.onDropFile_ && DroppedLocalFile(*event->mimeData())) event->acceptProposedAction();
}

void TForm::Window::dragMoveEvent(QDragMoveEvent* event) {
  if (form_.onDropFile_ && DroppedLocalFile(*event->mimeData())) event->acceptProposedAction();
}

void TForm::Window::dropEvent(QDropEvent* event) {
  std::optional<std::string> path;
  if (form_.onDropFile_) path = DroppedLocalFile(*event->mimeData());
  if (!path) return;
  event->acceptProposedAction();
  // The load may show its boxes; the file manager must not wait for them to finish its drag.
  form_.application_.QueueCommand([handler = form_.onDropFile_, path = *path] { handler(path); });
}

void TForm::Window::closeEvent(QCloseEvent* event) {
  // Nothing objects to closing and nothing is asked: there is nothing to save.
  event->accept();
  form_.Closed();
}

TForm::TForm(std::string name, TApplication& application)
    : TComponent(std::move(name)),
      application_(application),
      window_(std::make_unique<Window>(*this)) {
  // The window's own colour is the face colour of buttons, as dialogs have it.
  window_->setBackgroundRole(QPalette::Button);
  window_->setAutoFillBackground(true);
  application_.CreateForm(*this);
}

TForm::~TForm() {
  // Components go first, while the widgets they may have placed on the window still exist;
  // the window then takes its remaining widgets with it.
  DestroyComponents();
  application_.RemoveForm(*this);
  window_.reset();
}

std::string TForm::Caption() const {
  return window_->windowTitle().toUtf8().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
  window_->setWindowTitle(FromUtf8(caption));
}

void TForm::SetPosition(int left, int top) {
  window_->move(left, top);
}

int TForm::Left() const {
  return window_->frameGeometry().left();
}
int TForm::Top() const {
  return window_->frameGeometry().top();
}

int TForm::ClientWidth() const {
  return window_->width();
}
int TForm::ClientHeight() const {
  return window_->height();
}

void TForm::SetClientSize(int width, int height) {
  window_->resize(width, height);
}

int TForm::MenuBarHeight() const {
  if (menu_ == nullptr) return 0;
  QMenuBar* bar = window_->menuBar();
  const int forWidth = bar->heightForWidth(window_->width());
  return forWidth > 0 ? forWidth : bar->sizeHint().height();
}

void TForm::SetFont(const std::string& name, int height) {
  QFont font(FromUtf8(name));
  // A negative height is the character height in pixels, which keeps the designed sizes on
  // any screen; a positive one is taken as the cell height, also in pixels.
  font.setPixelSize(height < 0 ? -height : height);
  window_->setFont(font);
}

std::string TForm::FontName() const {
  return window_->font().family().toUtf8().toStdString();
}

int TForm::FontPixelSize() const {
  return window_->font().pixelSize();
}

void TForm::SetMenu(TMainMenu& menu) {
  menu_ = &menu;
  if (dynamic_cast<TMenuBar*>(window_->menuWidget()) == nullptr) {
    window_->setMenuBar(std::make_unique<TMenuBar>().release());  // the window owns it
  }
  QMenuBar* bar = window_->menuBar();
  // Kept inside the window on desktops that would move it to a global menu: the window's
  // layout, and so the pages' size, count on it.
  bar->setNativeMenuBar(false);
  bar->clear();
  TMenuItem& items = menu.Items();
  for (int i = 0; i < items.Count(); ++i) {
    TMenuItem& top = items.Items(i);
    BuildMenu(*bar->addMenu(FromUtf8(top.Caption())), top, application_);
  }
}

void TForm::AcceptFileDrops(std::function<void(const std::string&)> handler) {
  onDropFile_ = std::move(handler);
  window_->setAcceptDrops(static_cast<bool>(onDropFile_));
}

void TForm::AddKey(const std::string& keys, std::function<void()> command) {
  const QKeySequence sequence =
      QKeySequence::fromString(FromUtf8(keys), QKeySequence::PortableText);
  PLOTVIK_ASSERT(!sequence.isEmpty());
  // The window owns the shortcut; it goes with the window.
  auto* shortcut = new QShortcut(sequence, window_.get());
  shortcut->setContext(Qt::WindowShortcut);
  // A key held down repeats its command, as the arrow keys of a list do.
  shortcut->setAutoRepeat(true);
  QObject::connect(
      shortcut, &QShortcut::activated, shortcut,
      [&application = application_, command = std::move(command)] { application.Guard(command); });
}

void TForm::Show() {
  window_->show();
}

bool TForm::Visible() const {
  return window_->isVisible();
}

void TForm::Close() {
  window_->close();
}

void TForm::Closed() {
  if (OnClose) OnClose();
  if (application_.MainForm() == this) application_.Terminate();
}

}  // namespace plotvik

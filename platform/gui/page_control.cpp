#include "platform/gui/page_control.h"

#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/gui/form.h"
#include "platform/gui/native_widgets.h"
#include "platform/gui/panel_widget.h"
#include "platform/gui/shrunk_image.h"

namespace plotvik {

namespace {

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The toolkit's tab bar turns pages with the mouse wheel; here only a click on a tab and the
// Ctrl+Tab keys do, so the wheel over the tabs is taken and does nothing.
class TTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  void wheelEvent(QWheelEvent* event) override { event->accept(); }
  void paintEvent(QPaintEvent* event) override {
    const double ratio = devicePixelRatioF();
    if (ratio >= 1.0) {
      QTabBar::paintEvent(event);
      return;
    }
    // Below a ratio of 1 the captions would be drawn unscaled, outside their tabs: the tabs
    // are drawn whole, the current one last as the bar draws it, and shown shrunk.
    PaintShrunk(*this, ratio, [this](QPainter& painter) {
      QStyleOptionTab tab;
      for (int i = 0; i < count(); ++i) {
        if (i == currentIndex()) continue;
        initStyleOption(&tab, i);
        style()->drawControl(QStyle::CE_TabBarTab, &tab, &painter, this);
      }
      if (currentIndex() >= 0) {
        initStyleOption(&tab, currentIndex());
        style()->drawControl(QStyle::CE_TabBarTab, &tab, &painter, this);
      }
    });
  }
};

}  // namespace

TPageControl::Widget::Widget(QWidget* parent) : QTabWidget(parent) {
  // Set up as the tab widget sets up its own bar, before anything is configured on it.
  auto bar = std::make_unique<TTabBar>(this);
  bar->setObjectName(QStringLiteral("qt_tabwidget_tabbar"));
  bar->setDrawBase(false);
  setTabBar(bar.release());  // the tab widget owns it
  setTabPosition(QTabWidget::North);
  // One row of tabs, whole captions, scroll arrows when the row is wider than the control.
  setUsesScrollButtons(true);
  setElideMode(Qt::ElideNone);
  setDocumentMode(false);
  setMovable(false);
}

QRect TPageControl::Widget::PageRectFor(QSize size) const {
  // The same question the tab widget asks when it lays itself out, asked for another size.
  QStyleOptionTabWidgetFrame option;
  initStyleOption(&option);
  option.rect = QRect(QPoint(0, 0), size);
  return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
}

void TPageControl::Widget::paintEvent(QPaintEvent* event) {
  const double ratio = devicePixelRatioF();
  if (ratio >= 1.0) {
    QTabWidget::paintEvent(event);
    return;
  }
  // Below a ratio of 1 the frame would be drawn unscaled, its right and bottom edges off the
  // control: drawn whole, as the control draws it, and shown shrunk.
  PaintShrunk(*this, ratio, [this](QPainter& painter) {
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
  });
}

void TTabSheet::Page::SetClient(std::unique_ptr<QWidget> client) {
  if (layout() == nullptr) {
    auto fill = std::make_unique<QVBoxLayout>();
    fill->setContentsMargins(0, 0, 0, 0);
    fill->setSpacing(0);
    setLayout(fill.release());  // the page owns its layout
  }
  std::unique_ptr<QWidget> previous(client_);
  client_ = client.get();
  if (client_ != nullptr) layout()->addWidget(client.release());  // now owned by the page
}

TPageControl::TPageControl(std::string name, TForm& form) : TComponent(std::move(name)) {
  auto widget = std::make_unique<Widget>(nullptr);
  widget_ = widget.get();
  form.NativeWindow().setCentralWidget(widget.release());  // the window owns it from here
}

// The window owns the widget. The sheets, created after their page control, are destroyed
// before it by their common owner.
TPageControl::~TPageControl() = default;

TTabSheet& TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) {
    throw EListError(Format("List index out of bounds (%d)", {index}));
  }
  return *pages_[static_cast<size_t>(index)];
}

int TPageControl::ActivePageIndex() const {
  return widget_->currentIndex();
}

void TPageControl::SetActivePageIndex(int index) {
  Pages(index);  // validates
  widget_->setCurrentIndex(index);
}

TTabSheet* TPageControl::ActivePage() const {
  const int index = ActivePageIndex();
  return index < 0 ? nullptr : pages_[static_cast<size_t>(index)];
}

void TPageControl::SetActivePage(TTabSheet& page) {
  SetActivePageIndex(page.PageIndex());
}

void TPageControl::SizeForPageClient(int pageWidth, int pageHeight, int& width, int& height) const {
  // The frame and the tab row take what the style says; a few rounds settle any dependence
  // of the tab row's height on the control's width.
  QSize size(pageWidth + 8, pageHeight + 28);
  for (int round = 0; round < 4; ++round) {
    const QRect page = widget_->PageRectFor(size);
    const QSize miss(pageWidth - page.width(), pageHeight - page.height());
    if (miss.isNull()) break;
    size += miss;
  }
  width = size.width();
  height = size.height();
}

int TPageControl::Width() const {
  return widget_->width();
}
int TPageControl::Height() const {
  return widget_->height();
}

void TPageControl::AddPage(TTabSheet& page) {
  pages_.push_back(&page);
}

void TPageControl::RemovePage(TTabSheet& page) {
  std::erase(pages_, &page);
}

TTabSheet::TTabSheet(std::string name, TPageControl& pageControl, const std::string& caption,
                     int imageIndex)
    : TComponent(std::move(name)), pageControl_(pageControl), imageIndex_(imageIndex) {
  auto page = std::make_unique<Page>();
  page_ = page.get();
  pageControl.NativeWidget().addTab(page.release(), FromUtf8(caption));  // the tabs own it
  pageControl.AddPage(*this);
}

TTabSheet::~TTabSheet() {
  pageControl_.RemovePage(*this);
  // Taking the page off the tabs, as the sheet is gone; its client goes with it.
  std::unique_ptr<Page> page(page_);
}

int TTabSheet::PageIndex() const {
  return pageControl_.NativeWidget().indexOf(page_);
}

std::string TTabSheet::Caption() const {
  return pageControl_.NativeWidget().tabText(PageIndex()).toUtf8().toStdString();
}

int TTabSheet::ClientWidth() const {
  return page_->width();
}
int TTabSheet::ClientHeight() const {
  return page_->height();
}

void TTabSheet::ShowPanel(TCustomPanel& panel) {
  page_->SetClient(CreatePanelWidget(panel));
}

}  // namespace plotvik

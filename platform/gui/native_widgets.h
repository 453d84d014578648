#pragma once

// The desktop widgets behind the form classes, for the code that has to place widgets of its
// own (a page's client) or drive the windows directly (tests). Everything else uses the
// toolkit-free headers form.h, page_control.h and main_menu.h.

#include <QMainWindow>
#include <QMimeData>
#include <QTabWidget>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "platform/gui/form.h"
#include "platform/gui/page_control.h"

namespace plotvik {

// The path of the one local file that `data` carries, or nothing when it carries several, none,
// a folder or something that is not a local file: what a window takes from a drop.
std::optional<std::string> DroppedLocalFile(const QMimeData& data);

class TForm::Window : public QMainWindow {
 public:
  explicit Window(TForm& form);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TForm& form_;
};

class TPageControl::Widget : public QTabWidget {
 public:
  explicit Widget(QWidget* parent);
  // The rectangle the current page gets when the control has the given size.
  QRect PageRectFor(QSize size) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A page: it lays its one client out over its whole area.
class TTabSheet::Page : public QWidget {
 public:
  Page() = default;
  // Puts `client` on the page, filling it and following its size; the page owns it from now on
  // and destroys a previous client.
  void SetClient(std::unique_ptr<QWidget> client);
  QWidget* Client() const { return client_; }

 private:
  QWidget* client_ = nullptr;
};

}  // namespace plotvik

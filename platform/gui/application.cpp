#include "platform/gui/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "platform/exceptions.h"
#include "platform/gui/custom_panel.h"
#include "platform/gui/form.h"

namespace plotvik {

namespace {

TApplication* instance = nullptr;

// The window and task-bar icon: a red sweep curve with its markers on a white plot.
QIcon ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::lightGray);
  QPainter painter(&pixmap);
  painter.fillRect(QRect(3, 3, 26, 26), Qt::white);
  painter.setPen(Qt::black);
  painter.drawRect(QRect(3, 3, 25, 25));
  const QPoint curve[] = {{5, 8}, {10, 20}, {15, 25}, {20, 21}, {26, 10}};
  painter.setPen(QPen(Qt::red, 1));
  painter.drawPolyline(curve, 5);
  for (const QPoint& p : curve) painter.fillRect(QRect(p - QPoint(1, 1), QSize(3, 3)), Qt::red);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

// The toolkit's application object; every event passes its notify, which is therefore the
// message loop's last line of defence: an exception no command caught ends here, in the
// default error box, and the loop goes on.
class TApplication::Toolkit : public QApplication {
 public:
  Toolkit(int& argc, char** argv, TApplication& owner) : QApplication(argc, argv), owner_(owner) {}

  bool notify(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::LocaleChange && IsWindowOrApplication(receiver)) {
      owner_.SettingChanged();
    }
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      owner_.HandleException(std::current_exception());
      return true;
    }
  }

 private:
  bool IsWindowOrApplication(QObject* receiver) const {
    if (receiver == this) return true;
    return receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow();
  }

  TApplication& owner_;
};

std::string ApplicationTitleFromExeName(std::string_view exePath) {
  const size_t slash = exePath.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  const QString text = QString::fromUtf8(name.data(), qsizetype(name.size()));
  if (text.isEmpty()) return {};
  // The first character is kept as it is, even when it is a pair of UTF-16 units.
  const qsizetype first = text.size() > 1 && text.at(0).isHighSurrogate() ? 2 : 1;
  return (text.left(first) + text.mid(first).toLower()).toUtf8().toStdString();
}

TApplication::TApplication(int& argc, char** argv) {
  if (instance != nullptr) throw Exception("The application object exists already");
  // Sizes and positions are designed in pixels; on a screen the desktop scales (its own factor,
  // QT_SCALE_FACTOR or QT_SCREEN_SCALE_FACTORS) the toolkit multiplies them, fractions kept.
  // The charts still draw at their designed size and are shown enlarged, pixel for pixel.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  toolkit_ = std::make_unique<Toolkit>(argc, argv, *this);
  runtimeFolder_.ToolkitStarted();
  // Only the main window's closing ends the program, not the last window that happens to close.
  QApplication::setQuitOnLastWindowClosed(false);
  // The designed window font is not found on this desktop; its metric twin stands in.
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  title_ = ApplicationTitleFromExeName(QCoreApplication::applicationFilePath().toStdString());
  // The task bar groups and names the program's windows by this name.
  QCoreApplication::setApplicationName(QString::fromUtf8(title_.c_str()));
  QApplication::setWindowIcon(ProgramIcon());
  dialogs_ = CreateDesktopDialogs();
  instance = this;
}

TApplication::~TApplication() {
  instance = nullptr;
  dialogs_.reset();
  toolkit_.reset();
}

TApplication* TApplication::Instance() {
  return instance;
}

std::unique_ptr<TDialogs> TApplication::SetDialogs(std::unique_ptr<TDialogs> dialogs) {
  if (!dialogs) throw Exception("No dialogs given");
  std::swap(dialogs, dialogs_);
  return dialogs;
}

void TApplication::CreateForm(TForm& form) {
  if (mainForm_ == nullptr) mainForm_ = &form;
}

void TApplication::RemoveForm(TForm& form) {
  if (mainForm_ == &form) mainForm_ = nullptr;
}

int TApplication::Run() {
  if (terminated_) return 0;
  if (mainForm_ != nullptr) mainForm_->Show();
  return QApplication::exec();
}

void TApplication::QueueCommand(std::function<void()> command) {
  QMetaObject::invokeMethod(
      toolkit_.get(), [this, command = std::move(command)] { Guard(command); },
      Qt::QueuedConnection);
}

void TApplication::Terminate() {
  terminated_ = true;
  QCoreApplication::quit();
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
  try {
    // A window that holds the mouse lets go of it, so that the box can be answered, and a
    // chart ends the drag its held button was making.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    TCustomPanel::CancelCapture();
    std::string message;
    try {
      std::rethrow_exception(error);
    } catch (const EAbort&) {
      return;
    } catch (const std::exception& e) {
      message = ExceptionMessage(e);
    } catch (...) {
      message = "Unknown exception";
    }
    ShowErrorBox(ErrorBoxText(message));
  } catch (...) {
    // Nothing is left to report with; the loop goes on regardless.
  }
}

void TApplication::Guard(const std::function<void()>& command) noexcept {
  try {
    command();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void TApplication::ShowErrorBox(const std::string& text, const std::string& caption) {
  dialogs_->ShowMessage(TMsgDlgType::mtError, caption.empty() ? title_ : caption, text);
}

void TApplication::MessageDlg(const std::string& text, TMsgDlgType type) {
  dialogs_->ShowMessage(type, type == TMsgDlgType::mtWarning ? "Warning" : "Error", text);
}

void TApplication::SettingChanged() {
  if (OnSettingChange) OnSettingChange();
}

}  // namespace plotvik

#include "platform/gui/dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include "platform/gui/file_name_text.h"
#include "platform/gui/message_box_window.h"

namespace plotvik {

namespace {

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

class TDesktopDialogs final : public TDialogs {
 public:
  std::optional<std::string> ChooseFileToOpen(const std::string& initialFileName) override {
    // Qt's own dialog, not the desktop's native one: only it lets us accept a typed name that
    // does not exist (AnyFile) without asking anything, and it behaves the same everywhere.
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setSizeGripEnabled(true);
    if (!initialFileName.empty()) {
      // The name is the file system's bytes, and its folder is found as the kernel finds it:
      // the toolkit's own absolute path drops "l/.." by text.
      const QFileInfo previous(FileNameText(initialFileName));
      const QString folder = QFileInfo(previous.path()).canonicalFilePath();
      dialog.setDirectory(folder.isEmpty() ? previous.absolutePath() : folder);
      dialog.selectFile(previous.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return FileNameOfText(QFileInfo(chosen.front()).absoluteFilePath());
  }

  void ShowMessage(TMsgDlgType type, const std::string& caption, const std::string& text) override {
    TMessageBoxWindow box(type, caption, text);
    box.exec();
  }
};

}  // namespace

std::unique_ptr<TDialogs> CreateDesktopDialogs() {
  // This program writes no file: the file dialog's history goes where no file can be, so its
  // writes fail quietly and no other program's history is read.
  const QString nowhere = QStringLiteral("/dev/null");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
  return std::make_unique<TDesktopDialogs>();
}

TMessageBoxWindow::TMessageBoxWindow(TMsgDlgType type, const std::string& caption,
                                     const std::string& text)
    : QMessageBox(type == TMsgDlgType::mtWarning ? QMessageBox::Warning : QMessageBox::Critical,
                  FromUtf8(caption), FromUtf8(text), QMessageBox::NoButton, nullptr) {
  setTextFormat(Qt::PlainText);
  QPushButton* ok = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  setDefaultButton(ok);
  setEscapeButton(ok);
  // No parent: the box centres itself on the screen; application-modal, it blocks the window.
  setWindowModality(Qt::ApplicationModal);
  OnBeep = [] { QApplication::beep(); };
}

std::string TMessageBoxWindow::PlainText() const {
  static const QString kDivider = QString(27, QLatin1Char('-')) + QStringLiteral("\r\n");
  QString buttons;
  for (const QAbstractButton* button : this->buttons()) {
    buttons += button->text() + QStringLiteral("   ");
  }
  const QString plain = kDivider + windowTitle() + QStringLiteral("\r\n") + kDivider + text() +
                        QStringLiteral("\r\n") + kDivider + buttons + QStringLiteral("\r\n") +
                        kDivider;
  return plain.toUtf8().toStdString();
}

void TMessageBoxWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
  if (event->key() == Qt::Key_C && mods == Qt::ControlModifier) {
    if (OnBeep) OnBeep();
    QApplication::clipboard()->setText(QString::fromUtf8(PlainText().c_str()));
    event->accept();
    return;
  }
  QMessageBox::keyPressEvent(event);
}

void TMessageBoxWindow::showEvent(QShowEvent* event) {
  QMessageBox::showEvent(event);
  // The show event comes before the window is mapped, so the box appears in its place at once.
  const QScreen* where = screen();
  if (where == nullptr) return;
  const QRect area = where->availableGeometry();
  const QSize frame = frameGeometry().size();
  move(area.left() + (area.width() - frame.width()) / 2,
       area.top() + (area.height() - frame.height()) / 2);
}

}  // namespace plotvik

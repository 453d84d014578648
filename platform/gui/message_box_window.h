#pragma once

#include <QMessageBox>
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/dialogs.h"

namespace plotvik {

// The message box widget behind TDialogs::ShowMessage. Besides the usual box it answers
// Ctrl+C (and only Ctrl+C, no other modifier) the way the desktop's message boxes always
// have: a beep, and the box as plain text on the clipboard, every line ended by CR LF.
class TMessageBoxWindow : public QMessageBox {
 public:
  TMessageBoxWindow(TMsgDlgType type, const std::string& caption, const std::string& text);

  // The box as the clipboard receives it.
  std::string PlainText() const;

  // How the box beeps; the desktop's bell unless replaced (tests count the beeps).
  std::function<void()> OnBeep;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Centres the box on its screen. Left to the toolkit, a box without a parent window sits
  // above the centre by a guessed title-bar height whenever no other window reports its frame,
  // which is always the case with no window manager.
  void showEvent(QShowEvent* event) override;
};

}  // namespace plotvik

#pragma once

#include <memory>
#include <optional>
#include <string>

namespace plotvik {

// The kinds of modal message box the program shows; each brings its icon.
enum class TMsgDlgType { mtWarning, mtError };

// The modal dialogs, behind one small interface: the program asks through it, the desktop
// answers with real dialogs, and tests answer without a modal loop.
class TDialogs {
 public:
  virtual ~TDialogs() = default;

  // The file-open dialog, offering initialFileName (empty: nothing offered). Returns the chosen
  // file's full path, or nothing when the user cancels. A typed name that does not exist is a
  // valid choice: whoever opens the file reports it.
  virtual std::optional<std::string> ChooseFileToOpen(const std::string& initialFileName) = 0;

  // A modal box with the icon of `type`, the caption and text given and one "OK" button that
  // Enter and Esc press, centred on the screen; returns when the user closes it.
  virtual void ShowMessage(TMsgDlgType type, const std::string& caption,
                           const std::string& text) = 0;
};

// The desktop's dialogs (Qt's own file dialog and message boxes).
std::unique_ptr<TDialogs> CreateDesktopDialogs();

}  // namespace plotvik

#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/exceptions.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/runtime_folder.h"

namespace plotvik {

class TForm;

// The title a program gets from its executable's file name: the folder and everything from
// the first '.' on are dropped, the first character keeps its case and the rest is lowered
// ("/opt/SWEEP.VIEW.EXE" gives "Sweep").
std::string ApplicationTitleFromExeName(std::string_view exePath);

// The application object: the desktop connection, the title, the message loop, the modal
// dialogs and the handler of last resort for exceptions. Exactly one exists per process; it is
// created before any window and destroyed after all of them.
class TApplication {
 public:
  // argc/argv go to the toolkit only (it takes its own options, such as -platform, from them).
  TApplication(int& argc, char** argv);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The one application object, or nullptr before it is created.
  static TApplication* Instance();

  const std::string& Title() const { return title_; }

  TDialogs& Dialogs() { return *dialogs_; }
  // Replaces the dialogs (tests answer them this way); returns the previous ones.
  std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);

  // The first form registered becomes the main window: closing it ends the message loop.
  void CreateForm(TForm& form);
  void RemoveForm(TForm& form);
  TForm* MainForm() const { return mainForm_; }

  // Shows the main window and handles messages until Terminate. Returns the exit code.
  int Run();
  // Runs `command` from the message loop once it is running, guarded as a menu command is.
  void QueueCommand(std::function<void()> command);
  // Ends the message loop (at once when it runs; a later Run returns at once).
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The default exception handler: cancels a mouse capture, drops EAbort silently and shows
  // any other exception in the error box; the program goes on.
  void HandleException(std::exception_ptr error) noexcept;
  // Runs `command` and hands whatever it throws to HandleException: the guard around every
  // command, since exceptions must not travel through the toolkit's own frames.
  void Guard(const std::function<void()>& command) noexcept;

  // The error box: the error icon, one OK button, `caption` (the title when empty).
  void ShowErrorBox(const std::string& text, const std::string& caption = {});
  // The modal message dialog with the caption of its type ("Warning", "Error").
  void MessageDlg(const std::string& text, TMsgDlgType type);

  // Run when the desktop announces changed settings (a change of the user's locale).
  std::function<void()> OnSettingChange;
  void SettingChanged();

 private:
  class Toolkit;
  // Made before the toolkit and gone after it.
  TRuntimeFolder runtimeFolder_;
  std::unique_ptr<Toolkit> toolkit_;
  std::unique_ptr<TDialogs> dialogs_;
  std::string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
};

}  // namespace plotvik

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/component.h"

namespace plotvik {

class TApplication;
class TMainMenu;

// A top-level window: caption, designed bounds, font, menu bar and one client control that
// fills it. The first form created becomes the application's main window; closing that ends
// the program. The desktop window behind it is created with the form and lives as long.
class TForm : public TComponent {
 public:
  TForm(std::string name, TApplication& application);
  ~TForm() override;

  TApplication& Application() const { return application_; }

  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // Places the window's outer top-left corner (its frame included) on the screen.
  void SetPosition(int left, int top);
  int Left() const;
  int Top() const;

  int ClientWidth() const;
  int ClientHeight() const;
  // Resizes the window so that its client area (menu bar included) has this size.
  void SetClientSize(int width, int height);
  int MenuBarHeight() const;

  // Font by family name and height; a negative height is in pixels, as designed, and does not
  // scale with the screen's resolution.
  void SetFont(const std::string& name, int height);
  std::string FontName() const;
  int FontPixelSize() const;

  void SetMenu(TMainMenu& menu);
  TMainMenu* Menu() const { return menu_; }

  void Show();
  bool Visible() const;
  // Closes the window as its close box does; nothing is asked.
  void Close();
  // Run when the window has closed (by Close, the close box or the window manager).
  std::function<void()> OnClose;

  // From now on the window takes one local file dropped onto it and runs `handler` with its
  // path, as a command, after the drop has finished. Anything else dropped is refused while it
  // is dragged over the window. Without a handler the window takes no drops.
  void AcceptFileDrops(std::function<void(const std::string&)> handler);

  // From now on `keys` (a key sequence in the toolkit's portable text form: "F5", "L",
  // "Ctrl+Shift+C", "Shift+Left") runs `command` as a menu command runs, whenever this window is
  // the active one; a modal dialog in front keeps it from running. Keys the window's controls
  // handle themselves (Ctrl+Tab on the pages) are taken from them by such a key.
  void AddKey(const std::string& keys, std::function<void()> command);

  class Window;
  Window& NativeWindow() const { return *window_; }

 private:
  void Closed();

  TApplication& application_;
  std::unique_ptr<Window> window_;
  TMainMenu* menu_ = nullptr;
  std::function<void(const std::string&)> onDropFile_;
};

}  // namespace plotvik

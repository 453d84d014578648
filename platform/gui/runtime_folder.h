#pragma once

#include <string>

namespace plotvik {

// The per-user runtime folder (XDG_RUNTIME_DIR) the toolkit looks into while it starts. A
// session without one (su, sudo, a chroot, CI) would make the toolkit warn on standard error
// and leave a folder of its own in the temporary folder for good; there the program lends it a
// private, empty one instead, and takes it away again.
class TRuntimeFolder {
 public:
  // Makes the folder and names it in the environment, only where the session names none. Until
  // ToolkitStarted, a signal that ends the program (the toolkit's abort when it finds no
  // display, Ctrl+C) removes the folder on the way out.
  TRuntimeFolder();
  // Removes the folder if anything made it again, and the name from the environment.
  ~TRuntimeFolder();
  TRuntimeFolder(const TRuntimeFolder&) = delete;
  TRuntimeFolder& operator=(const TRuntimeFolder&) = delete;

  // Called once the toolkit has started: it has looked, and the folder goes at once, so that
  // an end without clean-up (a signal, a crash, a quick exit) leaves nothing behind.
  void ToolkitStarted();

  // The folder lent, or empty when the session has its own.
  const std::string& Path() const { return path_; }

 private:
  void Remove() noexcept;

  std::string path_;
};

}  // namespace plotvik

#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace plotvik {

// Watches a file name: the file it stands for now and every folder entry on the way there, so
// that a file renamed over it, deleted or made again, its folder made again or a symbolic link
// pointed elsewhere is seen as well as one written in place; where the system cannot watch, it
// looks twice a second. Runs a handler once the changes have rested for `settle`: a writer's
// burst of writes gives one call, not one per write. The handler runs from the message loop;
// it is given the toolkit's events, so it must not throw.
class TFileWatch {
 public:
  using TClock = std::chrono::steady_clock;

  TFileWatch(const std::string& fileName, std::chrono::milliseconds settle,
             std::function<void()> onSettled);
  ~TFileWatch();
  TFileWatch(const TFileWatch&) = delete;
  TFileWatch& operator=(const TFileWatch&) = delete;

  // Runs the handler at `when` as well, unless a change comes first (it then runs after that
  // change has rested). A later call replaces an earlier time.
  void WakeAt(TClock::time_point when);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace plotvik

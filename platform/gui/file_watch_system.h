#pragma once

#include <functional>
#include <memory>
#include <string>

namespace plotvik {

// One system's side of TFileWatch: how it learns that what a file name stands for may have
// changed. The settling of the changes into calls is common to the systems (file_watch.cpp).
class TSystemFileWatch {
 public:
  virtual ~TSystemFileWatch() = default;
  // Brings the watch up to date with what the name stands for now.
  virtual void Update() = 0;
};

// Starts watching `fileName`, the watch up to date. `changed` is called when something under the
// name may have changed; `look` when the system cannot tell changes and the name must be looked
// at now, changed or not.
std::unique_ptr<TSystemFileWatch> NewSystemFileWatch(const std::string& fileName,
                                                     std::function<void()> changed,
                                                     std::function<void()> look);

}  // namespace plotvik

#pragma once

#include <utility>

namespace plotvik {

// Runs a clean-up step when the scope ends, however it ends, unless dismissed first: the
// second half of a pair (hold and release, disable and enable) written once, next to the
// first. The step runs from a destructor, so it must not throw.
template <class Step>
class TScopeGuard {
 public:
  explicit TScopeGuard(Step step) : step_(std::move(step)) {}
  ~TScopeGuard() {
    if (armed_) step_();
  }
  TScopeGuard(const TScopeGuard&) = delete;
  TScopeGuard& operator=(const TScopeGuard&) = delete;

  // The normal path has done the clean-up itself (or needs none).
  void Dismiss() { armed_ = false; }

 private:
  Step step_;
  bool armed_ = true;
};

}  // namespace plotvik

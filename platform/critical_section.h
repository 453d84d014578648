#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace plotvik {

// A re-entrant lock: the thread that holds it may enter again, as table operations nest
// (a notification delivered under the lock calls back into the table).
class TCriticalSection {
 public:
  void Enter() {
    mutex_.lock();
    if (depth_++ == 0) owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
  }
  void Leave() {
    if (--depth_ == 0) owner_.store(std::thread::id(), std::memory_order_relaxed);
    mutex_.unlock();
  }
  // For assertions: code that reads shared state states that its caller took the lock.
  bool HeldByThisThread() const {
    return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
  }

  // Holds the lock for a scope, so every exit path leaves it.
  class Guard {
   public:
    explicit Guard(TCriticalSection& section) : section_(section) { section_.Enter(); }
    ~Guard() { section_.Leave(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    TCriticalSection& section_;
  };

 private:
  std::recursive_mutex mutex_;
  int depth_ = 0;  // changed only by the holder
  std::atomic<std::thread::id> owner_;
};

}  // namespace plotvik

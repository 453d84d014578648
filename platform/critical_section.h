#pragma once

#include <mutex>

namespace plotvik {

// A re-entrant lock: the thread that holds it may enter again, as table operations nest
// (a notification delivered under the lock calls back into the table).
class TCriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }

  // Holds the lock for a scope, so every exit path leaves it.
  class Guard {
   public:
    explicit Guard(TCriticalSection& section) : lock_(section.mutex_) {}

   private:
    std::lock_guard<std::recursive_mutex> lock_;
  };

 private:
  std::recursive_mutex mutex_;
};

}  // namespace plotvik

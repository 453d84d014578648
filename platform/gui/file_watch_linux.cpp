#include <QSocketNotifier>
#include <QTimer>
#include <chrono>

#include "platform/gui/file_watch_system.h"
#include "platform/name_watch.h"

namespace plotvik {

namespace {

// The name's folder entries and file through the system's notifications, and a look on a timer
// while some part of them cannot be watched.
class TLinuxFileWatch final : public TSystemFileWatch {
 public:
  TLinuxFileWatch(const std::string& fileName, std::function<void()> changed,
                  std::function<void()> look)
      : names_(fileName) {
    poll_.setInterval(kPollInterval);
    QObject::connect(&poll_, &QTimer::timeout, &poll_, std::move(look));
    if (names_.Descriptor() >= 0) {
      notifier_ = std::make_unique<QSocketNotifier>(names_.Descriptor(), QSocketNotifier::Read);
      QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                       [this, changed = std::move(changed)] {
                         if (names_.TakeChanges()) changed();
                       });
    }
    Update();
  }

  // What the name stands for may have changed with what was just seen: the watch follows it.
  // Where watching cannot tell every change, a timer looks as well.
  void Update() override {
    if (names_.Update()) {
      poll_.stop();
    } else if (!poll_.isActive()) {
      poll_.start();
    }
  }

 private:
  // Slow enough to cost nothing, quick enough that new lines show within a second.
  static constexpr std::chrono::milliseconds kPollInterval{500};

  TNameWatch names_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer poll_;
};

}  // namespace

std::unique_ptr<TSystemFileWatch> NewSystemFileWatch(const std::string& fileName,
                                                     std::function<void()> changed,
                                                     std::function<void()> look) {
  return std::make_unique<TLinuxFileWatch>(fileName, std::move(changed), std::move(look));
}

}  // namespace plotvik

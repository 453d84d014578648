#include "platform/gui/file_watch.h"

#include <QTimer>
#include <algorithm>

#include "platform/gui/file_watch_system.h"

namespace plotvik {

class TFileWatch::Impl {
 public:
  Impl(const std::string& fileName, std::chrono::milliseconds settle,
       std::function<void()> onSettled)
      : onSettled_(std::move(onSettled)) {
    settle_.setSingleShot(true);
    settle_.setInterval(settle);
    wake_.setSingleShot(true);
    QObject::connect(&settle_, &QTimer::timeout, &settle_, [this] { Settled(); });
    QObject::connect(&wake_, &QTimer::timeout, &wake_, [this] { Settled(); });
    system_ = NewSystemFileWatch(
        fileName, [this] { Changed(); }, [this] { Settled(); });
  }

  void WakeAt(TClock::time_point when) {
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(when - TClock::now()).count();
    wake_.start(static_cast<int>(std::max<long long>(0, wait)));
  }

 private:
  // Each change puts the call off again, but a writer that never pauses still gets one now
  // and then.
  void Changed() {
    const TClock::time_point now = TClock::now();
    if (!settle_.isActive()) {
      firstChange_ = now;
    } else if (now - firstChange_ >= kLongestPutOff) {
      return;
    }
    settle_.start();
  }

  // The watch is brought up to date before the handler looks, so that nothing written after
  // the look goes unseen.
  void Settled() {
    wake_.stop();
    system_->Update();
    onSettled_();
  }

  static constexpr std::chrono::milliseconds kLongestPutOff{1000};

  TClock::time_point firstChange_{};
  std::function<void()> onSettled_;
  QTimer settle_;
  QTimer wake_;
  std::unique_ptr<TSystemFileWatch> system_;
};

TFileWatch::TFileWatch(const std::string& fileName, std::chrono::milliseconds settle,
                       std::function<void()> onSettled)
    : impl_(std::make_unique<Impl>(fileName, settle, std::move(onSettled))) {}

TFileWatch::~TFileWatch() = default;

void TFileWatch::WakeAt(TClock::time_point when) {
  impl_->WakeAt(when);
}

}  // namespace plotvik

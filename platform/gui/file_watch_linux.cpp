#include "platform/gui/file_watch.h"

#include <QSocketNotifier>
#include <QTimer>

#include "platform/name_watch.h"

namespace plotvik {

class TFileWatch::Impl {
 public:
  Impl(const std::string& fileName, std::chrono::milliseconds settle,
       std::function<void()> onSettled)
      : names_(fileName), onSettled_(std::move(onSettled)) {
    settle_.setSingleShot(true);
    settle_.setInterval(settle);
    wake_.setSingleShot(true);
    poll_.setInterval(kPollInterval);
    QObject::connect(&settle_, &QTimer::timeout, &settle_, [this] { Settled(); });
    QObject::connect(&wake_, &QTimer::timeout, &wake_, [this] { Settled(); });
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Settled(); });
    if (names_.Descriptor() >= 0) {
      notifier_ = std::make_unique<QSocketNotifier>(names_.Descriptor(), QSocketNotifier::Read);
      QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        if (names_.TakeChanges()) Changed();
      });
    }
    Watch();
  }

  void WakeAt(TClock::time_point when) {
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(when - TClock::now()).count();
    wake_.start(static_cast<int>(std::max<long long>(0, wait)));
  }

 private:
  // What the name stands for may have changed with what was just seen: the watch follows it.
  // Where watching cannot tell every change, a timer looks as well.
  void Watch() {
    if (names_.Update()) {
      poll_.stop();
    } else if (!poll_.isActive()) {
      poll_.start();
    }
  }

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
    Watch();
    onSettled_();
  }

  static constexpr std::chrono::milliseconds kLongestPutOff{1000};
  // Slow enough to cost nothing, quick enough that new lines show within a second.
  static constexpr std::chrono::milliseconds kPollInterval{500};

  TNameWatch names_;
  TClock::time_point firstChange_{};
  std::function<void()> onSettled_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer settle_;
  QTimer wake_;
  QTimer poll_;
};

TFileWatch::TFileWatch(const std::string& fileName, std::chrono::milliseconds settle,
                       std::function<void()> onSettled)
    : impl_(std::make_unique<Impl>(fileName, settle, std::move(onSettled))) {}

TFileWatch::~TFileWatch() = default;

void TFileWatch::WakeAt(TClock::time_point when) {
  impl_->WakeAt(when);
}

}  // namespace plotvik

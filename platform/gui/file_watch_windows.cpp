#include "platform/gui/file_watch.h"

// Windows tells changes through the toolkit's watcher, which uses its change notifications.

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include "platform/gui/file_name_text.h"

namespace plotvik {

class TFileWatch::Impl {
 public:
  Impl(const std::string& fileName, std::chrono::milliseconds settle,
       std::function<void()> onSettled)
      : file_(QFileInfo(FileNameText(fileName)).absoluteFilePath()),
        onSettled_(std::move(onSettled)) {
    settle_.setSingleShot(true);
    settle_.setInterval(settle);
    wake_.setSingleShot(true);
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, [this] { Changed(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_,
                     [this] { Changed(); });
    QObject::connect(&settle_, &QTimer::timeout, &settle_, [this] { Settled(); });
    QObject::connect(&wake_, &QTimer::timeout, &wake_, [this] { Settled(); });
    // A folder deleted and made again drops out of the watch and tells nothing when it is back:
    // while either watch is missing, the names are looked at twice a second.
    look_.setInterval(kLookInterval);
    QObject::connect(&look_, &QTimer::timeout, &look_, [this] {
      if (Watch()) Changed();
    });
    look_.start();
    Watch();
  }

  void WakeAt(TClock::time_point when) {
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(when - TClock::now()).count();
    wake_.start(static_cast<int>(std::max<long long>(0, wait)));
  }

 private:
  // A file that was deleted or renamed over drops out of the watch; the folder's change (or the
  // look on the timer) brings it back in once the name exists again. True when a watch that was
  // missing could be set again.
  bool Watch() {
    bool added = false;
    const QString folder = QFileInfo(file_).absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir())
      added = watcher_.addPath(folder) || added;
    if (!watcher_.files().contains(file_) && QFileInfo::exists(file_))
      added = watcher_.addPath(file_) || added;
    return added;
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

  void Settled() {
    wake_.stop();
    Watch();
    onSettled_();
  }

  static constexpr std::chrono::milliseconds kLongestPutOff{1000};
  static constexpr std::chrono::milliseconds kLookInterval{500};

  QString file_;
  TClock::time_point firstChange_{};
  std::function<void()> onSettled_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  QTimer wake_;
  QTimer look_;
};

TFileWatch::TFileWatch(const std::string& fileName, std::chrono::milliseconds settle,
                       std::function<void()> onSettled)
    : impl_(std::make_unique<Impl>(fileName, settle, std::move(onSettled))) {}

TFileWatch::~TFileWatch() = default;

void TFileWatch::WakeAt(TClock::time_point when) {
  impl_->WakeAt(when);
}

}  // namespace plotvik

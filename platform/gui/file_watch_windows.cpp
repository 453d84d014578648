// Windows tells changes through the toolkit's watcher, which uses its change notifications.

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <chrono>

#include "platform/gui/file_name_text.h"
#include "platform/gui/file_watch_system.h"

namespace plotvik {

namespace {

class TWindowsFileWatch final : public TSystemFileWatch {
 public:
  TWindowsFileWatch(const std::string& fileName, std::function<void()> changed)
      : file_(QFileInfo(FileNameText(fileName)).absoluteFilePath()), changed_(std::move(changed)) {
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_,
                     [this] { changed_(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this] { changed_(); });
    // A folder deleted and made again drops out of the watch and tells nothing when it is back:
    // while either watch is missing, the names are looked at twice a second.
    look_.setInterval(kLookInterval);
    QObject::connect(&look_, &QTimer::timeout, &look_, [this] {
      if (Watch()) changed_();
    });
    look_.start();
    Watch();
  }

  void Update() override { Watch(); }

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

  static constexpr std::chrono::milliseconds kLookInterval{500};

  QString file_;
  std::function<void()> changed_;
  QFileSystemWatcher watcher_;
  QTimer look_;
};

}  // namespace

// The watcher tells every change it can see, and the look on the timer is itself a change when
// it finds a watch to set again: no look is needed without one.
std::unique_ptr<TSystemFileWatch> NewSystemFileWatch(const std::string& fileName,
                                                     std::function<void()> changed,
                                                     std::function<void()> /*look*/) {
  return std::make_unique<TWindowsFileWatch>(fileName, std::move(changed));
}

}  // namespace plotvik

#include "platform/gui/runtime_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#define PLOTVIK_XDG_RUNTIME 1
#endif

namespace plotvik {

#ifdef PLOTVIK_XDG_RUNTIME

namespace {

constexpr char kVariable[] = "XDG_RUNTIME_DIR";

// While the toolkit starts, the folder exists and is empty; a start that ends there (the
// toolkit aborts when it finds no display, the user presses Ctrl+C) takes it away on the way
// out. Only what a signal handler may call is used, on data set before the handlers are.
constexpr int kEndingSignals[] = {SIGABRT, SIGHUP, SIGINT, SIGQUIT, SIGTERM};
constexpr int kEndingSignalCount = sizeof(kEndingSignals) / sizeof(kEndingSignals[0]);
char startingFolder[PATH_MAX];
struct sigaction previousActions[kEndingSignalCount];

void RemoveStartingFolderAndEnd(int signal) {
  ::rmdir(startingFolder);
  for (int i = 0; i < kEndingSignalCount; ++i) {
    if (kEndingSignals[i] == signal) ::sigaction(signal, &previousActions[i], nullptr);
  }
  ::raise(signal);
}

void GuardStart(const std::string& path) {
  if (path.size() >= sizeof(startingFolder)) return;
  std::memcpy(startingFolder, path.c_str(), path.size() + 1);
  struct sigaction action {};
  action.sa_handler = RemoveStartingFolderAndEnd;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < kEndingSignalCount; ++i) {
    ::sigaction(kEndingSignals[i], &action, &previousActions[i]);
  }
}

void EndStartGuard() {
  if (startingFolder[0] == '\0') return;
  for (int i = 0; i < kEndingSignalCount; ++i) {
    ::sigaction(kEndingSignals[i], &previousActions[i], nullptr);
  }
  startingFolder[0] = '\0';
}

}  // namespace

TRuntimeFolder::TRuntimeFolder() {
  if (!qEnvironmentVariableIsEmpty(kVariable)) return;
  // Made 0700 and owned by us, as the toolkit demands of a runtime folder, under a name nobody
  // can guess in advance.
  QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/plotvik-runtime-XXXXXX"));
  // Without it the toolkit falls back on its own default, as it always did.
  if (!folder.isValid()) return;
  folder.setAutoRemove(false);
  path_ = QFile::encodeName(folder.path()).toStdString();
  GuardStart(path_);
  qputenv(kVariable, QByteArray(path_.c_str()));
}

TRuntimeFolder::~TRuntimeFolder() {
  Remove();
  if (!path_.empty()) qunsetenv(kVariable);
}

void TRuntimeFolder::ToolkitStarted() {
  Remove();
}

void TRuntimeFolder::Remove() noexcept {
  if (path_.empty()) return;
  // The name stays in the environment after the folder has gone, so a later use of it makes the
  // folder anew, as ours; a folder of that name that is not ours is never touched.
  struct stat info {};
  if (::lstat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  EndStartGuard();
}

#else

// The toolkit asks for no such folder here.
TRuntimeFolder::TRuntimeFolder() = default;
TRuntimeFolder::~TRuntimeFolder() = default;
void TRuntimeFolder::ToolkitStarted() {}
void TRuntimeFolder::Remove() noexcept {}

#endif

}  // namespace plotvik

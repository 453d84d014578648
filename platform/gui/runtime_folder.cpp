#include "platform/gui/runtime_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <sys/stat.h>
#include <unistd.h>
#define PLOTVIK_XDG_RUNTIME 1
#endif

namespace plotvik {

namespace {

[[maybe_unused]] constexpr char kVariable[] = "XDG_RUNTIME_DIR";

}  // namespace

TRuntimeFolder::TRuntimeFolder() {
#ifdef PLOTVIK_XDG_RUNTIME
  if (!qEnvironmentVariableIsEmpty(kVariable)) return;
  // Made 0700 and owned by us, as the toolkit demands of a runtime folder, under a name nobody
  // can guess in advance.
  QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/plotvik-runtime-XXXXXX"));
  // Without it the toolkit falls back on its own default, as it always did.
  if (!folder.isValid()) return;
  folder.setAutoRemove(false);
  path_ = QFile::encodeName(folder.path()).toStdString();
  qputenv(kVariable, QByteArray(path_.c_str()));
#endif
}

TRuntimeFolder::~TRuntimeFolder() {
  Remove();
  if (!path_.empty()) qunsetenv(kVariable);
}

void TRuntimeFolder::ToolkitStarted() {
  Remove();
}

void TRuntimeFolder::Remove() noexcept {
#ifdef PLOTVIK_XDG_RUNTIME
  if (path_.empty()) return;
  // The name stays in the environment after the folder has gone, so a later use of it makes the
  // folder anew, as ours; a folder of that name that is not ours is never touched.
  struct stat info {};
  if (::lstat(path_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
    return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
#endif
}

}  // namespace plotvik

#include "platform/os_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plotvik {

int OsErrorCode(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return kErrorAccessDenied;
    case EBADF:
      return kErrorInvalidHandle;
    case ENOMEM:
      return kErrorNotEnoughMemory;
    case EIO:
      return kErrorReadFault;
    case ETXTBSY:
    case EBUSY:
      return kErrorSharingViolation;
    default:
      return kErrorGeneralFailure;
  }
}

namespace {

// ENOENT does not say which part is missing; the user is told "Invalid filename" rather than
// "File not found" when the folder itself is not there.
bool FolderExists(const std::string& name) {
  std::string::size_type slash = name.find_last_of('/');
  if (slash == std::string::npos) return true;
  std::string folder = slash == 0 ? std::string("/") : name.substr(0, slash);
  struct stat info;
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

OsFile::~OsFile() {
  Close();
}

int OsFile::OpenForReading(const std::string& name) {
  Close();
  if (name.empty() || name.find('\0') != std::string::npos) return kErrorPathNotFound;
  // O_NONBLOCK only so that opening a FIFO cannot hang; such a file is refused below anyway.
  int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    int err = errno;
    if (err == ENOENT && !FolderExists(name)) return kErrorPathNotFound;
    return OsErrorCode(err);
  }
  struct stat info;
  if (::fstat(fd, &info) != 0) {
    int code = OsErrorCode(errno);
    ::close(fd);
    return code;
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return kErrorAccessDenied;
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  fd_ = fd;
  return 0;
}

int OsFile::Read(char* buffer, std::size_t size, std::size_t& received) {
  received = 0;
  if (fd_ < 0) return kErrorInvalidHandle;
  for (;;) {
    ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) {
      received = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR) return OsErrorCode(errno);
  }
}

int OsFile::Close() {
  if (fd_ < 0) return 0;
  int fd = fd_;
  fd_ = -1;
  // POSIX leaves the descriptor closed even when close reports EINTR or EIO, so it is never
  // retried; the error is still reported.
  return ::close(fd) == 0 ? 0 : OsErrorCode(errno);
}

}  // namespace plotvik

#include "platform/os_file_linux.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

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

// A writer opening a leased file makes the system signal the holder, with SIGIO unless told
// otherwise, and that signal's default action ends the process. The reader has nothing to do
// on it (its next read sees the break and lets the writer in), so it is ignored, unless somebody
// in the process has a use for it already.
void IgnoreLeaseBreakSignal() {
  static const bool once = [] {
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) == 0 && (current.sa_flags & SA_SIGINFO) == 0 &&
        current.sa_handler == SIG_DFL) {
      struct sigaction ignore {};
      ignore.sa_handler = SIG_IGN;
      sigemptyset(&ignore.sa_mask);
      ::sigaction(SIGIO, &ignore, nullptr);
    }
    return true;
  }();
  (void)once;
}

}  // namespace

int OpenRegularFile(const std::string& name, int& fd, struct stat& status) {
  fd = -1;
  if (name.empty() || name.find('\0') != std::string::npos) return kErrorPathNotFound;
  // O_NONBLOCK only so that opening a FIFO cannot hang; such a file is refused below anyway.
  const int opened = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (opened < 0) {
    const int err = errno;
    if (err == ENOENT && !FolderExists(name)) return kErrorPathNotFound;
    return OsErrorCode(err);
  }
  if (::fstat(opened, &status) != 0) {
    const int code = OsErrorCode(errno);
    ::close(opened);
    return code;
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(opened);
    return kErrorAccessDenied;
  }
  const int flags = ::fcntl(opened, F_GETFL);
  if (flags >= 0) ::fcntl(opened, F_SETFL, flags & ~O_NONBLOCK);
  fd = opened;
  return 0;
}

int OsFile::OpenForReading(const std::string& name) {
  Close();
  int fd = -1;
  struct stat info;
  if (const int code = OpenRegularFile(name, fd, info); code != 0) return code;
  if (TakeLeases()) {
    IgnoreLeaseBreakSignal();
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
      leased_ = true;
    } else if (errno == EAGAIN) {
      // Some process has the file open for writing: it may be half written.
      ::close(fd);
      return kErrorSharingViolation;
    }
    // Any other refusal (not the file's owner, no leases on this file system) leaves the file
    // watched through its size and modification time instead.
  }
  fd_ = fd;
  sizeAtOpen_ = info.st_size;
  writeTimeAtOpen_ = info.st_mtim.tv_sec;
  writeTimeFractionAtOpen_ = info.st_mtim.tv_nsec;
  offset_ = 0;
  aheadPos_ = 0;
  aheadEnd_ = 0;
  leaseConfirmedAt_ = {};
  return 0;
}

// While a break is pending the kernel reports the lease as what it is being broken to.
bool OsFile::LeaseUnbroken() const {
  return ::fcntl(fd_, F_GETLEASE) == F_RDLCK;
}

void OsFile::ReleaseLease() {
  if (!leased_) return;
  leased_ = false;
  ::fcntl(fd_, F_SETLEASE, F_UNLCK);
}

bool OsFile::ChangedSinceOpen() const {
  struct stat info;
  // A file that cannot even be looked at any more cannot be vouched for either.
  if (::fstat(fd_, &info) != 0) return true;
  return info.st_size != sizeAtOpen_ || info.st_mtim.tv_sec != writeTimeAtOpen_ ||
         info.st_mtim.tv_nsec != writeTimeFractionAtOpen_;
}

int OsFile::ReadFromSystem(std::size_t wanted, std::size_t& got) {
  got = 0;
  while (wanted > 0) {
    const ssize_t n = ::read(fd_, ahead_.get(), wanted);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR) return OsErrorCode(errno);
  }
  return 0;
}

int OsFile::Close() {
  if (fd_ < 0) return 0;
  int fd = fd_;
  fd_ = -1;
  aheadPos_ = 0;
  aheadEnd_ = 0;
  // Released explicitly: a child process that inherited the descriptor would otherwise keep the
  // lease, and writers waiting, after this close.
  if (leased_) ::fcntl(fd, F_SETLEASE, F_UNLCK);
  leased_ = false;
  // POSIX leaves the descriptor closed even when close reports EINTR or EIO, so it is never
  // retried; the error is still reported.
  return ::close(fd) == 0 ? 0 : OsErrorCode(errno);
}

}  // namespace plotvik

#include "platform/growing_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/os_file.h"

namespace plotvik {

TGrowingFile::~TGrowingFile() {
  Close();
}

int TGrowingFile::Open(const std::string& name) {
  Close();
  if (name.empty() || name.find('\0') != std::string::npos) return kErrorPathNotFound;
  // Non-blocking, so that a FIFO put in the file's place cannot hold the window at the open.
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return OsErrorCode(errno);
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int code = OsErrorCode(errno);
    ::close(fd);
    return code;
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(fd);
    return kErrorAccessDenied;
  }
  fd_ = fd;
  identity_ = {static_cast<std::uint64_t>(status.st_dev),
               static_cast<std::uint64_t>(status.st_ino)};
  size_ = static_cast<std::uint64_t>(status.st_size);
  modified_ =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  return 0;
}

int TGrowingFile::ReadAt(std::uint64_t offset, std::uint64_t size, std::string& out) const {
  if (fd_ < 0) return kErrorInvalidHandle;
  // Straight into `out`, a block at a time: a large read never holds its bytes twice.
  constexpr std::uint64_t kBlock = 1 << 20;
  while (size > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min(size, kBlock));
    const std::size_t had = out.size();
    out.resize(had + want);
    const ssize_t got = ::pread(fd_, out.data() + had, want, static_cast<off_t>(offset));
    out.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0) {
      if (errno == EINTR) continue;
      return OsErrorCode(errno);
    }
    if (got == 0) break;
    offset += static_cast<std::uint64_t>(got);
    size -= static_cast<std::uint64_t>(got);
  }
  return 0;
}

void TGrowingFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace plotvik

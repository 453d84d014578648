#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "platform/growing_file.h"
#include "platform/os_file_linux.h"

namespace plotvik {

int TGrowingFile::OpenFile(const std::string& name) {
  int fd = -1;
  struct stat status {};
  if (const int code = OpenRegularFile(name, fd, status); code != 0) return code;
  fd_ = fd;
  identity_ = {static_cast<std::uint64_t>(status.st_dev),
               static_cast<std::uint64_t>(status.st_ino)};
  size_ = static_cast<std::uint64_t>(status.st_size);
  modified_ =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
  return 0;
}

int TGrowingFile::ReadFrom(std::uint64_t offset, std::uint64_t size, std::string& out) const {
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
  unsized_.reset();
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace plotvik

#include "platform/growing_file.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "platform/os_file.h"

namespace plotvik {

TGrowingFile::~TGrowingFile() {
  Close();
}

int TGrowingFile::Open(const std::string& name) {
  Close();
  int fd = -1;
  struct stat status {};
  if (const int code = OpenRegularFile(name, fd, status); code != 0) return code;
  fd_ = fd;
  identity_ = {static_cast<std::uint64_t>(status.st_dev),
               static_cast<std::uint64_t>(status.st_ino)};
  size_ = static_cast<std::uint64_t>(status.st_size);
  if (size_ == 0) {
    // A pseudo file's text is made anew as it is read, so it is read once, in one pass: reads at
    // offsets could each see another text.
    std::string whole;
    if (const int code = ReadFrom(0, UINT64_MAX, whole); code != 0) {
      Close();
      return code;
    }
    size_ = whole.size();
    unsized_ = std::move(whole);
  }
  return 0;
}

int TGrowingFile::ReadAt(std::uint64_t offset, std::uint64_t size, std::string& out) const {
  if (fd_ < 0) return kErrorInvalidHandle;
  if (unsized_) {
    if (offset < unsized_->size()) out.append(*unsized_, offset, size);
    return 0;
  }
  return ReadFrom(offset, size, out);
}

int TGrowingFile::ReadFrom(std::uint64_t offset, std::uint64_t size, std::string& out) const {
  char buffer[65536];
  while (size > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(size, sizeof buffer));
    const ssize_t got = ::pread(fd_, buffer, want, static_cast<off_t>(offset));
    if (got < 0) {
      if (errno == EINTR) continue;
      return OsErrorCode(errno);
    }
    if (got == 0) break;
    out.append(buffer, static_cast<std::size_t>(got));
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

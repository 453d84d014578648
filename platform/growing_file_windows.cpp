#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "platform/growing_file.h"
#include "platform/os_file.h"
#include "platform/windows_text.h"

namespace plotvik {

namespace {

HANDLE HandleOf(std::intptr_t fd) {
  return reinterpret_cast<HANDLE>(fd);
}

}  // namespace

int TGrowingFile::OpenFile(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return kErrorPathNotFound;
  // The writer may go on writing, and may replace or delete the file, while it is followed.
  HANDLE file = CreateFileW(WideOf(name).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return OsErrorCode(static_cast<int>(GetLastError()));
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info)) {
    CloseHandle(file);
    return kErrorAccessDenied;
  }
  fd_ = reinterpret_cast<std::intptr_t>(file);
  identity_ = {info.dwVolumeSerialNumber,
               (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  // FILETIME counts 100-nanosecond ticks.
  modified_ = static_cast<std::int64_t>(
                  (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                  info.ftLastWriteTime.dwLowDateTime) *
              100;
  return 0;
}

int TGrowingFile::ReadFrom(std::uint64_t offset, std::uint64_t size, std::string& out) const {
  // Straight into `out`, a block at a time: a large read never holds its bytes twice.
  constexpr std::uint64_t kBlock = 1 << 20;
  while (size > 0) {
    const auto want = static_cast<DWORD>(std::min(size, kBlock));
    const std::size_t had = out.size();
    out.resize(had + want);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const bool read = ReadFile(HandleOf(fd_), out.data() + had, want, &got, &at);
    out.resize(had + (read ? got : 0));
    if (!read) {
      const DWORD error = GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      return OsErrorCode(static_cast<int>(error));
    }
    if (got == 0) break;
    offset += got;
    size -= got;
  }
  return 0;
}

void TGrowingFile::Close() {
  unsized_.reset();
  if (fd_ < 0) return;
  CloseHandle(HandleOf(fd_));
  fd_ = -1;
}

}  // namespace plotvik

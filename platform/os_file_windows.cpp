#include <windows.h>

#include <algorithm>

#include "platform/os_file.h"
#include "platform/windows_text.h"

namespace plotvik {

// The program's codes are Windows' own error numbers: known ones pass through, anything else is
// a general failure, as on Linux.
int OsErrorCode(int error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_SHARING_VIOLATION:
      return error;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
      return kErrorPathNotFound;
    case ERROR_LOCK_VIOLATION:
      return kErrorSharingViolation;
    case ERROR_OUTOFMEMORY:
      return kErrorNotEnoughMemory;
    default:
      return kErrorGeneralFailure;
  }
}

namespace {

HANDLE HandleOf(std::intptr_t fd) {
  return reinterpret_cast<HANDLE>(fd);
}

bool Stamp(HANDLE file, std::int64_t& size, std::int64_t& written) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  size = (static_cast<std::int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  written = (static_cast<std::int64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
            info.ftLastWriteTime.dwLowDateTime;
  return true;
}

}  // namespace

int OsFile::OpenForReading(const std::string& name) {
  Close();
  if (name.empty() || name.find('\0') != std::string::npos) return kErrorPathNotFound;
  const std::wstring wide = WideOf(name);
  // Shared with readers only: a file another program holds open for writing fails here with the
  // sharing violation, as it may be half written.
  HANDLE probe = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return OsErrorCode(static_cast<int>(GetLastError()));
  // Then read through a handle that lets writers in, so that a writer never waits on the viewer
  // or fails because of it; a change meanwhile is seen through the file's size and write time,
  // as on a file system without leases.
  HANDLE file = CreateFileW(
      wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  const DWORD reopenError = GetLastError();
  CloseHandle(probe);
  if (file == INVALID_HANDLE_VALUE) return OsErrorCode(static_cast<int>(reopenError));
  // A device, a pipe or a console is refused, as on Linux; a folder never opens without
  // FILE_FLAG_BACKUP_SEMANTICS (access denied).
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return kErrorAccessDenied;
  }
  std::int64_t size = 0, written = 0;
  if (!Stamp(file, size, written)) {
    const int code = OsErrorCode(static_cast<int>(GetLastError()));
    CloseHandle(file);
    return code;
  }
  fd_ = reinterpret_cast<std::intptr_t>(file);
  leased_ = false;
  sizeAtOpen_ = size;
  writeTimeAtOpen_ = written;
  writeTimeFractionAtOpen_ = 0;
  offset_ = 0;
  aheadPos_ = 0;
  aheadEnd_ = 0;
  leaseConfirmedAt_ = {};
  return 0;
}

// Windows has no leases: the share modes above do their part at the open.
bool OsFile::LeaseUnbroken() const {
  return false;
}

void OsFile::ReleaseLease() {
  leased_ = false;
}

bool OsFile::ChangedSinceOpen() const {
  std::int64_t size = 0, written = 0;
  if (!Stamp(HandleOf(fd_), size, written)) return true;
  return size != sizeAtOpen_ || written != writeTimeAtOpen_;
}

int OsFile::ReadFromSystem(std::size_t wanted, std::size_t& got) {
  DWORD n = 0;
  got = 0;
  if (wanted > 0 &&
      !ReadFile(HandleOf(fd_), ahead_.get(), static_cast<DWORD>(wanted), &n, nullptr)) {
    const DWORD error = GetLastError();
    if (error != ERROR_HANDLE_EOF) return OsErrorCode(static_cast<int>(error));
  }
  got = n;
  return 0;
}

int OsFile::Close() {
  if (fd_ < 0) return 0;
  HANDLE file = HandleOf(fd_);
  fd_ = -1;
  aheadPos_ = 0;
  aheadEnd_ = 0;
  leased_ = false;
  return CloseHandle(file) ? 0 : OsErrorCode(static_cast<int>(GetLastError()));
}

}  // namespace plotvik

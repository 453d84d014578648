#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace plotvik {

// The error codes that the program's I/O messages are keyed by. They keep the numbering of the
// platform the file format comes from, so a message reads the same everywhere; OsErrorCode maps
// this system's errno values onto them.
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorTooManyOpenFiles = 4;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorInvalidHandle = 6;
inline constexpr int kErrorNotEnoughMemory = 8;
inline constexpr int kErrorReadFault = 30;
inline constexpr int kErrorGeneralFailure = 31;
inline constexpr int kErrorSharingViolation = 32;

// errno -> code:
//   ENOENT 2 (3 when the folder part of the name does not exist; see OpenForReading),
//   ENOTDIR, ENAMETOOLONG, ELOOP 3, EMFILE, ENFILE 4, EACCES, EPERM, EISDIR, EROFS 5,
//   EBADF 6, ENOMEM 8, EIO 30, ETXTBSY, EBUSY 32, anything else 31.
int OsErrorCode(int errnoValue);

// A file opened read-only through the system's calls; every failure comes back as one of the codes
// above, never as an exception. Closes itself when destroyed.
class OsFile {
 public:
  OsFile() = default;
  ~OsFile();
  OsFile(const OsFile&) = delete;
  OsFile& operator=(const OsFile&) = delete;

  // Opens an existing file at its start. Only a regular file is accepted: a directory, a FIFO,
  // a socket or a device gives kErrorAccessDenied, so that nothing can block the window thread
  // waiting for a writer or feed it an endless stream. An empty name, one with a NUL byte
  // inside, or one whose folder does not exist gives kErrorPathNotFound. Returns 0 on success.
  //
  // On Linux a read lease, held until reading stops (see ReleaseLease), refuses a file that any
  // process has open for writing (kErrorSharingViolation). A writer that opens the file meanwhile
  // waits only until the next read (see Read), never until the end of a long load. Where no lease
  // can be had (a file of another user, a file system without leases) the file is watched instead.
  // On Windows the share modes refuse a file another program holds open for writing, and the
  // file is then read through a handle that lets writers in, watched as without a lease.
  int OpenForReading(const std::string& name);

  // The file is read from the system in blocks this large and handed out from there, so that
  // small reads of a file of tens of megabytes cost a few hundred system calls, not one each.
  static constexpr std::size_t kReadAheadSize = 256 * 1024;

  // Reads up to `size` bytes; `received` is 0 at the end of the file. Returns 0 or a code.
  // Reading stops at the size the file had at the open (a size of 0 there is taken as unknown:
  // pseudo files report it). A file whose size or modification time is no longer what it was
  // at the open gives kErrorSharingViolation instead of its end, so a file changed under the
  // reader never reads as complete; without a lease this is checked before every read. Whether
  // a writer has begun to break the lease is asked before every read from the system, and
  // between two such reads at most every millisecond; a broken lease is given up at once, which
  // lets the writer in, and the file is checked as without a lease from then on. The end of the
  // data or a failing read releases the lease.
  int Read(char* buffer, std::size_t size, std::size_t& received);

  // Lets writers in while the file stays open: for when reading stops before the close, such as
  // while a warning about the file is shown. Later reads are checked as without a lease.
  void ReleaseLease();

  // Returns 0 or a code; the file counts as closed afterwards either way.
  int Close();

  bool IsOpen() const { return fd_ >= 0; }
  // True while the file is open under a read lease that no writer has begun to break.
  bool Leased() const;

  // Whether opens try to take a read lease (they do unless switched off). Tests switch it off
  // to take the path of file systems that have no leases.
  static bool TakeLeases();
  static void SetTakeLeases(bool value);

 private:
  bool ChangedSinceOpen() const;
  bool LeaseUnbroken() const;
  // Whether the lease still stands; one that a writer has begun to break is released.
  bool KeepLease();
  // KeepLease() for one piece handed out of a block already read.
  bool LeasedForPiece();
  // Reads the next block from the system into ahead_; 0 bytes at the end of the data.
  int ReadAhead();
  // One read of up to `wanted` bytes from the system into ahead_; `got` is 0 at the end.
  int ReadFromSystem(std::size_t wanted, std::size_t& got);

  // The system's handle of the open file, -1 when none: a descriptor on Linux, a HANDLE on
  // Windows.
  std::intptr_t fd_ = -1;
  bool leased_ = false;
  static constexpr std::chrono::microseconds kLeaseTrusted{1000};
  std::chrono::steady_clock::time_point leaseConfirmedAt_{};
  std::int64_t sizeAtOpen_ = 0;
  // The last write's time at the open, in the system's own units (seconds and nanoseconds on
  // Linux, 100-nanosecond ticks on Windows).
  std::int64_t writeTimeAtOpen_ = 0;
  std::int64_t writeTimeFractionAtOpen_ = 0;
  std::int64_t offset_ = 0;  // of the next byte the system hands out
  std::unique_ptr<char[]> ahead_;
  std::size_t aheadPos_ = 0;
  std::size_t aheadEnd_ = 0;
};

}  // namespace plotvik

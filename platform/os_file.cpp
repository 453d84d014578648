#include "platform/os_file.h"

#include <algorithm>
#include <cstring>

// What reading a file means is the same on every system; how a file is opened, read, watched
// and let go of is in os_file_linux.cpp and os_file_windows.cpp.

namespace plotvik {

namespace {

bool takeLeases = true;

}  // namespace

bool OsFile::TakeLeases() {
  return takeLeases;
}

void OsFile::SetTakeLeases(bool value) {
  takeLeases = value;
}

OsFile::~OsFile() {
  Close();
}

bool OsFile::Leased() const {
  return leased_ && LeaseUnbroken();
}

// A writer cannot change the file before the lease is given up (or the kernel's lease-break
// time, whole seconds, has run out), and every read from the system asks the kernel itself: so
// the kernel's word on the lease is taken for a millisecond of pieces, which spares a system
// call per piece.
bool OsFile::LeasedForPiece() {
  if (!leased_) return false;
  const auto now = std::chrono::steady_clock::now();
  if (now - leaseConfirmedAt_ < kLeaseTrusted) return true;
  if (!KeepLease()) return false;
  leaseConfirmedAt_ = now;
  return true;
}

bool OsFile::KeepLease() {
  if (!leased_) return false;
  if (LeaseUnbroken()) return true;
  // A writer is waiting: it is let in now rather than at the end of the data, and the file is
  // watched from here on, as one that was never leased.
  ReleaseLease();
  return false;
}

int OsFile::Read(char* buffer, std::size_t size, std::size_t& received) {
  received = 0;
  if (fd_ < 0) return kErrorInvalidHandle;
  // Checked for every piece, not only for every block: bytes already fetched count as unread
  // until handed out.
  if (!LeasedForPiece() && ChangedSinceOpen()) return kErrorSharingViolation;
  if (aheadPos_ == aheadEnd_) {
    if (!KeepLease() && ChangedSinceOpen()) return kErrorSharingViolation;
    if (const int code = ReadAhead(); code != 0) return code;
    if (aheadEnd_ == 0) {
      ReleaseLease();
      // The end of the data: only a file that is still what it was at the open ends cleanly.
      return ChangedSinceOpen() ? kErrorSharingViolation : 0;
    }
  }
  received = std::min(size, aheadEnd_ - aheadPos_);
  std::memcpy(buffer, ahead_.get() + aheadPos_, received);
  aheadPos_ += received;
  return 0;
}

int OsFile::ReadAhead() {
  if (!ahead_) ahead_ = std::make_unique_for_overwrite<char[]>(kReadAheadSize);
  aheadPos_ = 0;
  aheadEnd_ = 0;
  std::size_t wanted = kReadAheadSize;
  if (sizeAtOpen_ > 0) {
    wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(kReadAheadSize), sizeAtOpen_ - offset_));
  }
  std::size_t got = 0;
  if (const int code = ReadFromSystem(wanted, got); code != 0) {
    ReleaseLease();
    return code;
  }
  offset_ += static_cast<std::int64_t>(got);
  aheadEnd_ = got;
  return 0;
}

}  // namespace plotvik

#pragma once

#include <cstdint>
#include <string>

namespace plotvik {

// Which file a name stands for at one moment: a file renamed over the name, or deleted and made
// again, is another file.
struct TFileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const TFileIdentity&) const = default;
};

// A regular file read at given offsets while another program may still be writing it: no lease
// and no check of size or time, unlike OsFile; the reader decides what a change means. Failures
// come back as OsErrorCode's codes. Closes itself when destroyed.
class TGrowingFile {
 public:
  TGrowingFile() = default;
  ~TGrowingFile();
  TGrowingFile(const TGrowingFile&) = delete;
  TGrowingFile& operator=(const TGrowingFile&) = delete;

  // Opens `name` and notes its identity and size; anything but a regular file is refused with
  // kErrorAccessDenied, as OsFile refuses it. Returns 0 or a code.
  int Open(const std::string& name);
  TFileIdentity Identity() const { return identity_; }
  // The size and the last modification time (nanoseconds since the epoch) at the open.
  std::uint64_t Size() const { return size_; }
  std::int64_t ModificationTime() const { return modified_; }
  // Appends to `out` the bytes from `offset` up to `offset + size` or the end, whichever comes
  // first. Returns 0 or a code.
  int ReadAt(std::uint64_t offset, std::uint64_t size, std::string& out) const;
  void Close();

 private:
  int fd_ = -1;
  TFileIdentity identity_;
  std::uint64_t size_ = 0;
  std::int64_t modified_ = 0;
};

}  // namespace plotvik

#pragma once

#include <cstdint>
#include <optional>
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

  // Opens `name` as OsFile opens it, sharing it with writers and with deletion, and notes its
  // identity and size. A size of 0 is taken as unknown, as OsFile takes it: pseudo files report it
  // whatever they hold, so such a file is read to its end at the open, and what it held then is
  // what later reads get. Returns 0 or a code.
  int Open(const std::string& name);
  TFileIdentity Identity() const { return identity_; }
  // The size and the last modification time (in nanoseconds) at the open.
  std::uint64_t Size() const { return size_; }
  std::int64_t ModificationTime() const { return modified_; }
  // Appends to `out` the bytes from `offset` up to `offset + size` or the end, whichever comes
  // first. Returns 0 or a code.
  int ReadAt(std::uint64_t offset, std::uint64_t size, std::string& out) const;
  void Close();

 private:
  // Opens the file through the system and notes identity_, size_ and modified_.
  int OpenFile(const std::string& name);
  // ReadAt from the file itself.
  int ReadFrom(std::uint64_t offset, std::uint64_t size, std::string& out) const;

  // A descriptor on Linux, a HANDLE on Windows; -1 when none.
  std::intptr_t fd_ = -1;
  TFileIdentity identity_;
  std::uint64_t size_ = 0;
  std::int64_t modified_ = 0;
  // The whole file, read at the open, when its size read as 0.
  std::optional<std::string> unsized_;
};

}  // namespace plotvik

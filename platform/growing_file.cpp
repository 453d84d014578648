#include "platform/growing_file.h"

#include <cstdint>

#include "platform/os_file.h"

// How the file is opened and read is in growing_file_linux.cpp and growing_file_windows.cpp.

namespace plotvik {

TGrowingFile::~TGrowingFile() {
  Close();
}

int TGrowingFile::Open(const std::string& name) {
  Close();
  if (const int code = OpenFile(name); code != 0) return code;
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

}  // namespace plotvik

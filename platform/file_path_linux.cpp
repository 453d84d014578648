#include "platform/file_path.h"

namespace plotvik {

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(name);
}

std::string NameOf(const std::filesystem::path& path) {
  return path.native();
}

std::FILE* OpenForWriting(const std::filesystem::path& path) {
  return std::fopen(path.c_str(), "wb");
}

// A lead byte or a plain byte starts a character; continuation bytes belong to the one before.
std::size_t FileNameLength(const std::string& name) {
  std::size_t count = 0;
  std::size_t pending = 0;  // continuation bytes the current lead byte still announces
  for (const char ch : name) {
    const auto byte = static_cast<unsigned char>(ch);
    if ((byte & 0xC0) == 0x80 && pending > 0) {
      --pending;
      continue;
    }
    ++count;
    pending = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
  }
  return count;
}

}  // namespace plotvik

#include "platform/file_path.h"

#include "platform/windows_text.h"

namespace plotvik {

// The char8_t forms convert from and to UTF-16 as UTF-8, not through the ANSI code page.
std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string NameOf(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::FILE* OpenForWriting(const std::filesystem::path& path) {
  return _wfopen(path.c_str(), L"wb");
}

std::size_t FileNameLength(const std::string& name) {
  return WideOf(name).size();
}

}  // namespace plotvik

#include "platform/file_path.h"

namespace plotvik {

std::filesystem::path PathOf(const std::string& name) {
  return std::filesystem::path(name);
}

std::string NameOf(const std::filesystem::path& path) {
  return path.native();
}

}  // namespace plotvik

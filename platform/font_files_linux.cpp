#include "platform/font_files.h"

namespace plotvik {

// Where Debian's fonts-liberation puts them.
std::filesystem::path FontFolder() {
  return "/usr/share/fonts/truetype/liberation";
}

}  // namespace plotvik

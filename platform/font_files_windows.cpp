#include <windows.h>

#include <string>

#include "platform/font_files.h"

namespace plotvik {

// The installer puts the font files in "fonts" beside the programs; the executable's own name
// says where that is, whatever folder it was installed to.
std::filesystem::path FontFolder() {
  // A name cut short comes back filling the whole buffer: try again with more room, up to the
  // longest name the system allows.
  for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
    std::wstring name(size, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
    if (length == 0) break;
    if (length < size) {
      name.resize(length);
      return std::filesystem::path(name).parent_path() / L"fonts";
    }
  }
  return L"fonts";
}

}  // namespace plotvik

#pragma once

#include <string>

namespace plotvik {

// A name held as UTF-8 (platform/file_path.h) as the UTF-16 that Windows' wide calls take, and
// back. Windows only.
std::wstring WideOf(const std::string& utf8);
std::string Utf8OfWide(const std::wstring& wide);

}  // namespace plotvik

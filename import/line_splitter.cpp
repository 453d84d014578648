#include "import/line_splitter.h"

#include <cstring>

namespace plotvik {

namespace {

constexpr char kLf = 10;
constexpr char kCr = 13;

}  // namespace

TLineSpan FindLineEnd(std::string_view block) {
  // An empty view may have no data at all, which memchr must not be given.
  if (block.empty()) return {};
  const char* data = block.data();
  const auto* lf = static_cast<const char*>(std::memchr(data, kLf, block.size()));
  const std::size_t beforeLf = lf != nullptr ? static_cast<std::size_t>(lf - data) : block.size();
  // A byte 26 is rare and counts only before the line's LF, so it is looked for only there.
  if (const auto* end = static_cast<const char*>(std::memchr(data, kEndOfFileByte, beforeLf))) {
    const auto size = static_cast<std::size_t>(end - data);
    return {size, size, TLineEnd::leEndOfFile};
  }
  if (lf != nullptr) return {beforeLf, beforeLf + 1, TLineEnd::leLf};
  return {block.size(), block.size(), TLineEnd::leNone};
}

void AppendLineText(std::string& text, std::string_view bytes) {
  while (!bytes.empty()) {
    const auto* cr = static_cast<const char*>(std::memchr(bytes.data(), kCr, bytes.size()));
    if (cr == nullptr) {
      text.append(bytes);
      return;
    }
    const auto kept = static_cast<std::size_t>(cr - bytes.data());
    text.append(bytes.data(), kept);
    bytes.remove_prefix(kept + 1);
  }
}

}  // namespace plotvik

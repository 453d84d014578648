#include "platform/utf8.h"

namespace plotvik {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::u32string DecodeUtf8(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::u32string out;
  out.reserve(text.size());
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = byte(i++);
    if (lead < 0x80) {
      out.push_back(lead);
      continue;
    }
    std::size_t more = 0;
    char32_t c = 0, least = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
      more = 1, c = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      more = 2, c = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      more = 3, c = lead & 0x07u, least = 0x10000;
    }
    bool valid = more > 0 && i + more <= text.size();
    for (std::size_t k = 0; valid && k < more; ++k) {
      valid = IsContinuation(byte(i + k));
      c = (c << 6) | (byte(i + k) & 0x3Fu);
    }
    valid = valid && c >= least && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid) {
      out.push_back(kReplacementCharacter);
      continue;
    }
    out.push_back(c);
    i += more;
  }
  return out;
}

}  // namespace plotvik

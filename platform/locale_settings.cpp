#include "platform/locale_settings.h"

namespace plotvik {

namespace {

constexpr const char* kNoBreakSpace = "\u00A0";

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

}  // namespace

void SetLocaleSeparators(char32_t decimal, char32_t thousands) {
  // A one-character literal is assigned as a count and a character: GCC 12 at -O3 warns falsely
  // (-Wrestrict) about an overlapping copy inside std::string's assignment from a C string.
  LocaleDecimalChar = decimal > 0 && decimal < 0x100 ? static_cast<char>(decimal) : '.';
  std::string t;
  switch (thousands) {
    case 0:
      t.assign(1, ',');
      break;
    case 0x00A0:  // no-break space
    case 0x202F:  // narrow no-break space
    case 0x2009:  // thin space
      t = kNoBreakSpace;
      break;
    default:
      t = thousands <= 0x10FFFF ? Utf8Of(thousands) : std::string(1, ',');
  }
  if (t == std::string(1, LocaleDecimalChar)) t = kNoBreakSpace;
  LocaleThousandsChar = t;
}

}  // namespace plotvik

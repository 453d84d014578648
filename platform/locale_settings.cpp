#include "platform/locale_settings.h"

#include "platform/utf8.h"

namespace plotvik {

namespace {

constexpr const char* kNoBreakSpace = "\u00A0";

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

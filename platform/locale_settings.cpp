#include "platform/locale_settings.h"

#include <langinfo.h>
#include <locale.h>
#include <wchar.h>

#include <cstring>

#include "platform/utf8.h"

namespace plotvik {

namespace {

constexpr const char* kNoBreakSpace = "\u00A0";

char SingleByteOr(const char* value, char fallback) {
  if (value == nullptr || std::strlen(value) != 1) return fallback;
  return value[0];
}

// The thousands separator as UTF-8 when `text`, in the locale's own encoding, is exactly one
// character; empty otherwise.
std::string ThousandsSeparatorOf(const char* text, locale_t locale) {
  if (text == nullptr || *text == '\0') return {};
  const std::size_t length = std::strlen(text);
  wchar_t c = 0;
  mbstate_t state{};
  // uselocale changes this thread's locale only, and only for the one conversion.
  const locale_t previous = uselocale(locale);
  const std::size_t used = mbrtowc(&c, text, length, &state);
  uselocale(previous);
  if (used != length || c <= 0 || c > 0x10FFFF) return {};
  switch (c) {
    case 0x00A0:  // no-break space
    case 0x202F:  // narrow no-break space
    case 0x2009:  // thin space
      return kNoBreakSpace;
    default:
      return Utf8Of(static_cast<char32_t>(c));
  }
}

}  // namespace

void ReadLocaleSettings(const std::string& localeName) {
  // newlocale instead of setlocale: the process locale (which Qt sets from the environment)
  // must not change under the rest of the program. The character type category comes along to
  // decode the separators.
  locale_t numeric =
      newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, localeName.c_str(), static_cast<locale_t>(0));
  // A one-character literal is assigned as a count and a character: GCC 12 at -O3 warns falsely
  // (-Wrestrict) about an overlapping copy inside std::string's assignment from a C string.
  if (numeric == static_cast<locale_t>(0)) {
    LocaleThousandsChar.assign(1, ',');
    LocaleDecimalChar = '.';
    return;
  }
  std::string thousands = ThousandsSeparatorOf(nl_langinfo_l(THOUSEP, numeric), numeric);
  if (thousands.empty()) thousands.assign(1, ',');
  LocaleDecimalChar = SingleByteOr(nl_langinfo_l(RADIXCHAR, numeric), '.');
  if (thousands == std::string(1, LocaleDecimalChar)) thousands = kNoBreakSpace;
  LocaleThousandsChar = thousands;
  freelocale(numeric);
}

}  // namespace plotvik

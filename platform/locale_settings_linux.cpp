#include <langinfo.h>
#include <locale.h>
#include <wchar.h>

#include <cstring>

#include "platform/locale_settings.h"

namespace plotvik {

namespace {

// The one character `text` holds in the locale's own encoding; 0 when it holds none or more.
char32_t CharacterOf(const char* text, locale_t locale) {
  if (text == nullptr || *text == '\0') return 0;
  const std::size_t length = std::strlen(text);
  wchar_t c = 0;
  mbstate_t state{};
  // uselocale changes this thread's locale only, and only for the one conversion.
  const locale_t previous = uselocale(locale);
  const std::size_t used = mbrtowc(&c, text, length, &state);
  uselocale(previous);
  if (used != length || c <= 0 || c > 0x10FFFF) return 0;
  return static_cast<char32_t>(c);
}

}  // namespace

void ReadLocaleSettings(const std::string& localeName) {
  // newlocale instead of setlocale: the process locale (which Qt sets from the environment)
  // must not change under the rest of the program. The character type category comes along to
  // decode the separators.
  locale_t numeric =
      newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, localeName.c_str(), static_cast<locale_t>(0));
  if (numeric == static_cast<locale_t>(0)) {
    SetLocaleSeparators('.', ',');
    return;
  }
  // Only a one-byte decimal separator is taken.
  const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
  const char32_t decimal =
      radix != nullptr && std::strlen(radix) == 1 ? static_cast<unsigned char>(radix[0]) : '.';
  SetLocaleSeparators(decimal, CharacterOf(nl_langinfo_l(THOUSEP, numeric), numeric));
  freelocale(numeric);
}

}  // namespace plotvik

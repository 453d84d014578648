#include "platform/locale_settings.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>

namespace plotvik {

namespace {

char SingleByteOr(const char* value, char fallback) {
  if (value == nullptr || std::strlen(value) != 1) return fallback;
  return value[0];
}

}  // namespace

void ReadLocaleSettings(const std::string& localeName) {
  // newlocale instead of setlocale: the process locale (which Qt sets from the environment)
  // must not change under the rest of the program.
  locale_t numeric = newlocale(LC_NUMERIC_MASK, localeName.c_str(), static_cast<locale_t>(0));
  if (numeric == static_cast<locale_t>(0)) {
    LocaleThousandsChar = ',';
    LocaleDecimalChar = '.';
    return;
  }
  LocaleThousandsChar = SingleByteOr(nl_langinfo_l(THOUSEP, numeric), ',');
  LocaleDecimalChar = SingleByteOr(nl_langinfo_l(RADIXCHAR, numeric), '.');
  freelocale(numeric);
}

}  // namespace plotvik

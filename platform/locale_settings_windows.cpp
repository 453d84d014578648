#include <windows.h>

#include <string>

#include "platform/locale_settings.h"

namespace plotvik {

namespace {

// "ru_RU.UTF-8" or "de_DE@euro" as Windows names it ("ru-RU"); empty for the user's own.
std::wstring WindowsLocaleName(const std::string& name) {
  std::wstring out;
  for (char c : name) {
    if (c == '.' || c == '@') break;
    out += c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  }
  return out;
}

char32_t CharacterOf(const wchar_t* locale, LCTYPE what) {
  wchar_t text[8] = {};
  const int n = GetLocaleInfoEx(locale, what, text, 8);
  // n counts the terminating NUL; one UTF-16 unit outside the surrogates is one character.
  if (n != 2 || (text[0] >= 0xD800 && text[0] <= 0xDFFF)) return 0;
  return static_cast<char32_t>(text[0]);
}

}  // namespace

void ReadLocaleSettings(const std::string& localeName) {
  // An empty name is the user's own locale, as the regional settings give it.
  const std::wstring name = WindowsLocaleName(localeName);
  if (name == L"C" || name == L"POSIX") {
    SetLocaleSeparators('.', ',');
    return;
  }
  const wchar_t* locale = name.empty() ? LOCALE_NAME_USER_DEFAULT : name.c_str();
  if (!name.empty() && !IsValidLocaleName(locale)) {
    SetLocaleSeparators('.', ',');
    return;
  }
  // Only a one-byte decimal separator is taken, as on every system.
  const char32_t decimal = CharacterOf(locale, LOCALE_SDECIMAL);
  SetLocaleSeparators(decimal > 0 && decimal < 0x80 ? decimal : U'.',
                      CharacterOf(locale, LOCALE_STHOUSAND));
}

}  // namespace plotvik

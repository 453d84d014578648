#pragma once

#include <string>

namespace plotvik {

// The user's number separators. The loader turns the file's '.' into LocaleDecimalChar before
// converting, and axis labels are formatted with both. They are process-wide and written only by
// ReadLocaleSettings on the window thread, between commands.
inline char LocaleDecimalChar = '.';
// One character, held as UTF-8 because the locale's may take more than one byte.
inline std::string LocaleThousandsChar = ",";

// Sets both separators from the LC_NUMERIC category of the named locale; an empty name means the
// user's own locale as the environment gives it (LC_ALL, LC_NUMERIC, LANG). The process locale is
// left alone. A locale that cannot be loaded gives the defaults, ',' and '.'.
// The decimal separator must be one byte, else it is '.'. The thousands separator is the
// locale's one character, whatever its length in bytes; the spaces that locales group digits
// with (no-break, narrow no-break and thin) all become a no-break space, a gap of a space's
// width; a locale without one gets ','; and one equal to the decimal separator would make
// numbers unreadable, so it becomes the no-break space too.
void ReadLocaleSettings(const std::string& localeName = std::string());

// Sets both separators by the rules above from the locale's two characters (0 for none); the
// decimal one is a single byte of the locale's own encoding.
void SetLocaleSeparators(char32_t decimal, char32_t thousands);

}  // namespace plotvik

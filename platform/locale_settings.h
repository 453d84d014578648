#pragma once

#include <string>

namespace plotvik {

// The user's number separators, one byte each. The loader turns the file's '.' into
// LocaleDecimalChar before converting, and axis labels are formatted with both. They are
// process-wide and written only by ReadLocaleSettings on the window thread, between commands.
inline char LocaleDecimalChar = '.';
inline char LocaleThousandsChar = ',';

// Sets both separators from the LC_NUMERIC category of the named locale; an empty name means the
// user's own locale as the environment gives it (LC_ALL, LC_NUMERIC, LANG). The process locale is
// left alone. A locale that cannot be loaded, or a separator that is not exactly one byte (empty,
// or a multi-byte character such as a narrow no-break space), gives the default: ',' for the
// thousands separator, '.' for the decimal one.
void ReadLocaleSettings(const std::string& localeName = std::string());

}  // namespace plotvik

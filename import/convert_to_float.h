#pragma once

#include <string_view>

namespace plotvik {

// Reads a number: blanks, an optional sign, digits with an optional LocaleDecimalChar and
// digits, an optional exponent ('E' or 'e', optional sign, digits; the digits stop once the
// exponent has reached 500, so at most four are taken), blanks, then the end of the text (its
// length or its first NUL byte). At least one digit or the separator must stand before the
// exponent. The value is computed in extended precision: the digits form one integer mantissa,
// scaled by a power of ten applied in at most three steps (10^k, 10^(32k), 10^(512k)).
// Returns false when the text breaks that grammar or the value overflows the extended range;
// a value too small for it fades to zero without failing. Makes no allocation.
bool TryConvertToFloat(std::string_view text, long double& value) noexcept;

// As TryConvertToFloat, but raises EConvertError "'%s' is not a valid floating point value".
long double ConvertToFloat(std::string_view text);

}  // namespace plotvik

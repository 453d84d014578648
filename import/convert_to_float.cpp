#include "import/convert_to_float.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/locale_settings.h"

namespace plotvik {

namespace {

// Correctly rounded by the compiler, so each scaling step adds at most one rounding.
constexpr long double kPowers1[32] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,
                                      1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L,
                                      1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L, 1e22L, 1e23L,
                                      1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
constexpr long double kPowers32[16] = {1e0L,   1e32L,  1e64L,  1e96L,  1e128L, 1e160L,
                                       1e192L, 1e224L, 1e256L, 1e288L, 1e320L, 1e352L,
                                       1e384L, 1e416L, 1e448L, 1e480L};
// 10^(512k) up to the largest that the extended format holds.
constexpr long double kPowers512[10] = {1e0L,    1e512L,  1e1024L, 1e1536L, 1e2048L,
                                        1e2560L, 1e3072L, 1e3584L, 1e4096L, 1e4608L};
constexpr std::int64_t kMaxPower512Step = 9;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

long double Scale(long double value, std::int64_t power) {
  bool divide = power < 0;
  std::uint64_t k =
      divide ? 0 - static_cast<std::uint64_t>(power) : static_cast<std::uint64_t>(power);
  auto apply = [&](long double factor) { value = divide ? value / factor : value * factor; };
  if (k % 32 != 0) apply(kPowers1[k % 32]);
  k /= 32;
  if (k % 16 != 0) apply(kPowers32[k % 16]);
  k /= 16;
  // A positive power never passes 4999, so one step does; only a long run of digits after the
  // separator asks for more, and dividing a finite mantissa twice by 10^4608 leaves zero.
  while (k != 0 && value != 0 && !std::isinf(value)) {
    std::uint64_t step = k < kMaxPower512Step ? k : kMaxPower512Step;
    apply(kPowers512[step]);
    k -= step;
  }
  return value;
}

}  // namespace

bool TryConvertToFloat(std::string_view text, long double& value) noexcept {
  const char separator = LocaleDecimalChar;
  // The text ends at a NUL. Every step below stops at one anyway, so it is looked for only
  // where the reading stops, unless the separator itself is a NUL.
  if (separator == '\0') text = text.substr(0, std::min(text.find('\0'), text.size()));
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // The first 19 digits gather in an integer: below 2^64 every step of the extended format is
  // exact, so the value is the same as gathering them all there, only cheaper.
  std::uint64_t leading = 0;
  int leadingDigits = 0;
  long double mantissa = 0;
  auto take = [&](char digit) {
    if (leadingDigits < 19) {
      leading = leading * 10 + static_cast<std::uint64_t>(digit - '0');
      ++leadingDigits;
      return;
    }
    if (leadingDigits == 19) {
      mantissa = static_cast<long double>(leading);
      ++leadingDigits;
    }
    mantissa = mantissa * 10 + (digit - '0');
  };
  bool seen = false;
  while (i < n && IsDigit(text[i])) {
    take(text[i]);
    seen = true;
    ++i;
  }
  std::int64_t fractionDigits = 0;
  if (i < n && text[i] == separator) {
    seen = true;
    ++i;
    while (i < n && IsDigit(text[i])) {
      take(text[i]);
      ++fractionDigits;
      ++i;
    }
  }
  if (leadingDigits <= 19) mantissa = static_cast<long double>(leading);
  if (!seen) return false;
  std::int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    while (i < n && IsDigit(text[i]) && exponent < 500) {
      exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (negativeExponent) exponent = -exponent;
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n && text[i] != '\0') return false;
  // An overflow anywhere (the mantissa included) leaves an infinity that no later step undoes.
  if (std::isinf(mantissa)) return false;
  long double result = Scale(mantissa, exponent - fractionDigits);
  if (!std::isfinite(result)) return false;
  value = negative ? -result : result;
  return true;
}

long double ConvertToFloat(std::string_view text) {
  long double value = 0;
  if (!TryConvertToFloat(text, value)) {
    std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    throw EConvertError(Format("'%s' is not a valid floating point value", {text}));
  }
  return value;
}

}  // namespace plotvik

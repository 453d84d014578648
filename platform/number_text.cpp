#include "platform/number_text.h"

#include <charconv>
#include <cmath>

namespace plotvik {

namespace {

// Every whole number up to this magnitude is a double of its own, so its digits are exact.
constexpr double kLargestExactWhole = 9007199254740992.0;  // 2^53

}  // namespace

std::string ShortestNumberText(double value, char decimalSeparator) {
  // The longest shortest form of a double ("-2.2250738585072014e-308") is 24 characters, the
  // longest exact whole number 17.
  char buffer[64];
  // The shortest form writes 1000000 as "1e+06"; a file's Id or count is written out.
  const bool whole = std::fabs(value) <= kLargestExactWhole && std::trunc(value) == value;
  const auto [end, error] =
      whole ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
            : std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, error == std::errc{} ? end : buffer);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

}  // namespace plotvik

#include "platform/number_text.h"

#include <charconv>

namespace plotvik {

std::string ShortestNumberText(double value, char decimalSeparator) {
  // The longest shortest form of a double ("-2.2250738585072014e-308") is 24 characters.
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, error == std::errc{} ? end : buffer);
  for (char& c : text) {
    if (c == '.') c = decimalSeparator;
  }
  return text;
}

}  // namespace plotvik

#include "table/variant.h"

#include <charconv>
#include <string_view>

namespace plotvik {

std::optional<double> Variant::ToDouble() const {
  if (const double* number = std::get_if<double>(&value_)) return *number;
  const std::string* text = std::get_if<std::string>(&value_);
  if (!text) return std::nullopt;
  std::string_view s(*text);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  // from_chars takes no leading '+', which people do write.
  if (s.size() > 1 && s.front() == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  double value = 0.0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace plotvik

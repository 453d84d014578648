#include "platform/format.h"

#include <charconv>
#include <stdexcept>

namespace plotvik {

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  std::string out;
  out.reserve(pattern.size() + 16);
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out.push_back(c);
      continue;
    }
    char conversion = pattern[++i];
    if (conversion == '%') {
      out.push_back('%');
      continue;
    }
    if (conversion != 'd' && conversion != 's') {
      out.push_back('%');
      out.push_back(conversion);
      continue;
    }
    if (next == args.end()) throw std::logic_error("Format: too few arguments");
    const auto& value = next->Value();
    ++next;
    if (conversion == 'd') {
      const auto* number = std::get_if<std::int64_t>(&value);
      if (!number) throw std::logic_error("Format: %d needs an integer");
      char buf[24];
      auto res = std::to_chars(buf, buf + sizeof buf, *number);
      out.append(buf, res.ptr);
    } else {
      const auto* text = std::get_if<std::string_view>(&value);
      if (!text) throw std::logic_error("Format: %s needs a text");
      out.append(*text);
    }
  }
  return out;
}

}  // namespace plotvik

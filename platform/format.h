#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace plotvik {

// One argument of Format: an integer for %d or a text for %s.
class FormatArg {
 public:
  FormatArg(int v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(long v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
  FormatArg(std::string_view v) : value_(v) {}
  FormatArg(const std::string& v) : value_(std::string_view(v)) {}
  FormatArg(const char* v) : value_(std::string_view(v)) {}

  const std::variant<std::int64_t, std::string_view>& Value() const { return value_; }

 private:
  std::variant<std::int64_t, std::string_view> value_;
};

// Fills the message templates: "%d" takes the next integer argument, "%s" the next text, "%%"
// is a literal percent sign. It never goes through the C library's locale, so a message reads
// the same in every locale. A placeholder with no argument left, or of the other kind, is a
// programming error and raises std::logic_error.
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args = {});

}  // namespace plotvik

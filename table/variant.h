#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace plotvik {

// The value handed to and read from a field: null, a number, or a text that a field may or may
// not be able to convert. A default-constructed Variant is null.
class Variant {
 public:
  Variant() = default;
  Variant(double value) : value_(value) {}
  Variant(int value) : value_(static_cast<double>(value)) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(const char* text) : value_(std::string(text)) {}

  static Variant Null() { return Variant(); }

  bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsNumber() const { return std::holds_alternative<double>(value_); }
  bool IsText() const { return std::holds_alternative<std::string>(value_); }

  // The number held, or the text read as a plain number ('.' as decimal point, optional sign
  // and exponent, surrounding blanks allowed). Empty for null and for text that is no number.
  std::optional<double> ToDouble() const;

  bool operator==(const Variant&) const = default;

 private:
  std::variant<std::monostate, double, std::string> value_;
};

}  // namespace plotvik

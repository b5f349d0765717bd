#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "platform/core/Variant.h"

namespace platform {

/* One argument of Format: an integer, a floating number, a text (bytes), a
   wide text, a single character, a pointer or a Variant. */
class FormatArg {
 public:
  FormatArg(int32_t value) : value_(int64_t{value}) {}
  FormatArg(int64_t value) : value_(value) {}
  FormatArg(uint32_t value) : value_(int64_t{value}) {}
  FormatArg(double value) : value_(value) {}
  FormatArg(char value) : value_(value) {}
  FormatArg(const char* value) : value_(std::string(value ? value : "")) {}
  FormatArg(std::string value) : value_(std::move(value)) {}
  FormatArg(std::string_view value) : value_(std::string(value)) {}
  FormatArg(std::u16string value) : value_(std::move(value)) {}
  FormatArg(const void* value) : value_(value) {}
  FormatArg(const Variant& value) : value_(value) {}

  using Value = std::variant<int64_t, double, char, std::string, std::u16string, const void*, Variant>;
  const Value& Get() const { return value_; }

 private:
  Value value_;
};

/* The platform's Format. A specifier is
     "%" [index ":"] ["-"] [width] ["." precision] type
   with width and precision numbers or "*" (taken from the arguments) and
   type one of:
     d  signed integer; the precision is the minimum number of digits, zero-padded
     u  unsigned integer (a negative value is read as 32-bit unsigned)
     x  hexadecimal in upper case; the precision as for d
     e, f, g, n, m  floating number (scientific, fixed, general, with thousands
        separators, money); the precision is digits (decimals for f, n, m)
     s  text: a text, wide text, character or Variant; the precision cuts it
     p  pointer, as 8 hex digits per 32 bits
   "%%" writes "%". An index sets the argument the next specifier takes.
   Raises EConvertError "Format '<pattern>' invalid or incompatible with
   argument" for an unknown type, an argument of the wrong kind or a missing
   argument. Extra arguments are ignored. */
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

}  // namespace platform

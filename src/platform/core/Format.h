#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

  using Value =
      std::variant<int64_t, double, char, std::string, std::u16string, const void*, Variant>;
  const Value& Get() const { return value_; }

 private:
  Value value_;
};

/* The platform's Format. A specifier is
     "%" [index ":"] ["-"] [width] ["." precision] type
   with index, width and precision numbers or "*" (taken from the next
   argument, which must be an integer). The type letter may be either case:
     d  signed integer; the precision is the minimum number of digits,
        zero-padded after the sign ("%.2d" of 5 is "05", of -5 "-05")
     u  unsigned integer (a negative value is read as 32-bit unsigned when it
        fits 32 bits, else as 64-bit); the precision as for d
     x  hexadecimal in upper case, negatives as for u; the precision as for d
     e  scientific "-d.ddddE+ddd": the precision is the number of digits
        (default 15), the exponent has a sign and at least three digits
     f  fixed "-ddd.dd": the precision is the number of decimals (default 2)
     g  general: the shortest of fixed and scientific with precision
        significant digits (default 15), trailing zeros dropped; scientific
        when the value is below 0.00001 or has more integer digits than the
        precision, written "1.5E-5" / "1E20"
     n  as f with "," between thousands
     m  money: as n, preceded by the currency sign of the system code page
        ("￥" for 936, "NT$" for 950, "$" otherwise) and by "-" when negative
     s  text: a text, wide text (converted to the system code page),
        character or Variant (as text; Empty and Null give ""); the precision
        is the maximum number of bytes
     p  pointer, as 8 upper-case hex digits per 32 bits
   Digit counts of e and g are cut to 1..18 and decimals of f, n and m to 18.
   Integers are int32/int64/uint32 arguments or Variants of an integer kind;
   floating numbers are double arguments only. Rounding is half away from
   zero on the value's 18 significant decimal digits; f, n and m values with
   more than 18 integer digits use the g form; infinities and NaN are written
   "INF", "-INF" and "NAN". The width pads with blanks on the left, or on the
   right after "-". "%%" writes "%". An index sets the argument this
   specifier takes; the next one takes the argument after it.
   Raises EConvertError "Format '<pattern>' invalid or incompatible with
   argument" for an unknown or unfinished specifier (including a pattern
   ending in "%"), an argument of the wrong kind or a missing argument.
   Extra arguments are ignored. */
std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args);
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

}  // namespace platform

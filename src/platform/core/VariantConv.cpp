// Every conversion between the kinds of Variant, and the number texts they
// use. The rules are the platform's: see Variant.h and NumText.h.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/NumText.h"
#include "platform/core/Variant.h"

namespace platform {

/* Read access to a Variant's stored value for the conversions below. */
struct VariantAccess {
  template <class T>
  static const T& Get(const Variant& v) {
    return std::get<T>(v.value_);
  }
};

namespace {

[[noreturn]] void CannotConvert(VarType from, VarType to) {
  throw EVariantError(std::string("Could not convert variant of type (") + VarTypeName(from) +
                      ") into type (" + VarTypeName(to) + ")");
}

[[noreturn]] void Overflow(VarType from, VarType to) {
  throw EVariantError(std::string("Overflow while converting variant of type (") +
                      VarTypeName(from) + ") into type (" + VarTypeName(to) + ")");
}

bool IsBlank(char c) { return c == ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k];
    char y = b[k];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/* A whole number: decimal, or hexadecimal after "$" or "0x", with an
   optional sign; blanks around it are allowed. */
std::optional<int64_t> ReadInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
}

/* What a text says as a number: a whole number, a decimal number, or
   "True" / "False" (-1 / 0), in that order of trial. */
struct TextNumber {
  bool IsInteger = false;
  int64_t Integer = 0;
  double Real = 0;
};

std::optional<TextNumber> ReadTextNumber(std::string_view text) {
  TextNumber n;
  if (const auto i = ReadInteger(text)) {
    n.IsInteger = true;
    n.Integer = *i;
    n.Real = static_cast<double>(*i);
    return n;
  }
  if (const auto d = TryStrToFloat(text)) {
    n.Real = *d;
    return n;
  }
  if (EqualsNoCase(text, "True") || EqualsNoCase(text, "False")) {
    n.IsInteger = true;
    n.Integer = EqualsNoCase(text, "True") ? -1 : 0;
    n.Real = static_cast<double>(n.Integer);
    return n;
  }
  return std::nullopt;
}

/* Rounds to the nearest whole number, halves to even, within [low, high]. */
std::optional<int64_t> RoundToRange(double value, int64_t low, int64_t high) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  // Compared as doubles first: the bounds are exact powers of two or small.
  if (r < static_cast<double>(low) || r >= static_cast<double>(high) + 1.0) return std::nullopt;
  const auto i = static_cast<int64_t>(r);
  if (i < low || i > high) return std::nullopt;
  return i;
}

/* The whole number of a currency, rounded half to even. */
int64_t RoundCurrency(Currency c) {
  int64_t q = c.Scaled / 10000;
  const int64_t r = c.Scaled % 10000;
  const int64_t absR = r < 0 ? -r : r;
  if (absR > 5000 || (absR == 5000 && q % 2 != 0)) q += r < 0 ? -1 : 1;
  return q;
}

std::optional<Currency> TryCurrencyFromDouble(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value * 10000.0);
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (r < -9223372036854775808.0 || r >= 9223372036854775808.0) return std::nullopt;
  return Currency{static_cast<int64_t>(r)};
}

/* A plain decimal text read exactly to 4 decimals (halves to even), so that
   amounts beyond double precision keep their cents. */
std::optional<Currency> ReadCurrencyExact(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view frac = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  if (whole.empty() && frac.empty()) return std::nullopt;
  for (char c : whole) {
    if (!IsDigit(c)) return std::nullopt;
  }
  for (char c : frac) {
    if (!IsDigit(c)) return std::nullopt;
  }
  // Magnitudes are collected as unsigned scaled values; 128 bits would be
  // needed for more than 19 digits, so longer whole parts go the double way.
  size_t lead = 0;
  while (lead < whole.size() && whole[lead] == '0') ++lead;
  if (whole.size() - lead > 15) return std::nullopt;
  uint64_t scaled = 0;
  for (size_t k = lead; k < whole.size(); ++k)
    scaled = scaled * 10 + static_cast<uint64_t>(whole[k] - '0');
  for (size_t k = 0; k < 4; ++k) {
    scaled = scaled * 10 + (k < frac.size() ? static_cast<uint64_t>(frac[k] - '0') : 0);
  }
  if (frac.size() > 4) {
    const int next = frac[4] - '0';
    bool beyond = false;
    for (size_t k = 5; k < frac.size(); ++k) beyond = beyond || frac[k] != '0';
    if (next > 5 || (next == 5 && (beyond || scaled % 2 != 0))) ++scaled;
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (scaled > limit) return std::nullopt;
  return Currency{negative ? static_cast<int64_t>(0 - scaled) : static_cast<int64_t>(scaled)};
}

std::string CurrencyToStr(Currency c) {
  const bool negative = c.Scaled < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(c.Scaled) : static_cast<uint64_t>(c.Scaled);
  std::string text = std::to_string(magnitude / 10000);
  std::string frac = std::to_string(magnitude % 10000);
  frac.insert(0, 4 - frac.size(), '0');
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  if (!frac.empty()) text += '.' + frac;
  return negative ? '-' + text : text;
}

/* The byte text of a string Variant (a wide string goes through the system
   code page), for reading numbers and dates from it. */
std::string StringBytes(const Variant& v) {
  if (v.Type() == VarType::OleStr) return WideToAnsi(VariantAccess::Get<std::u16string>(v));
  return VariantAccess::Get<std::string>(v);
}

/* A whole number within [low, high] from any kind that has one. */
int64_t ToInteger(const Variant& v, VarType to, int64_t low, int64_t high) {
  auto fit = [&](std::optional<int64_t> value) {
    if (!value || *value < low || *value > high) Overflow(v.Type(), to);
    return *value;
  };
  switch (v.Type()) {
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      return VariantAccess::Get<bool>(v) ? -1 : 0;
    case VarType::SmallInt:
      return fit(VariantAccess::Get<int16_t>(v));
    case VarType::Integer:
      return fit(VariantAccess::Get<int32_t>(v));
    case VarType::Double:
      return fit(RoundToRange(VariantAccess::Get<double>(v), low, high));
    case VarType::Currency:
      return fit(RoundCurrency(VariantAccess::Get<Currency>(v)));
    case VarType::Date:
      return fit(RoundToRange(VariantAccess::Get<DateTime>(v).Value, low, high));
    case VarType::String:
    case VarType::OleStr: {
      const auto n = ReadTextNumber(StringBytes(v));
      if (!n) CannotConvert(v.Type(), to);
      return fit(n->IsInteger ? std::optional<int64_t>(n->Integer)
                              : RoundToRange(n->Real, low, high));
    }
    default:
      CannotConvert(v.Type(), to);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Number texts

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(int64_t value, int digits) {
  char buffer[17];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(value), 16);
  std::string text(buffer, end);
  for (char& c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  if (digits > static_cast<int>(text.size())) text.insert(0, digits - text.size(), '0');
  return text;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x.
  char buffer[40];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string_view text(buffer, static_cast<size_t>(end - buffer));
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  const size_t e = text.find('e');
  std::string digits;
  digits += text[0];
  digits.append(text.substr(2, e - 2));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  int exponent = 0;
  std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                  exponent);

  std::string out = negative ? "-" : "";
  // Fixed notation from 0.0001 up to 15 digits before the point, as the
  // platform's general format does; scientific outside that.
  if (exponent >= 15 || exponent < -4) {
    out += digits[0];
    if (digits.size() > 1) out += '.' + digits.substr(1);
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent >= 0) {
    const auto whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits + std::string(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole) + '.' + digits.substr(whole);
    }
  } else {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  }
  return out;
}

std::optional<double> TryStrToFloat(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Check the grammar ourselves: from_chars would also take "inf" and "nan".
  size_t k = 0;
  size_t mantissaDigits = 0;
  int wholeDigits = 0;
  bool seenNonZero = false;
  while (k < text.size() && IsDigit(text[k])) {
    if (seenNonZero || text[k] != '0') {
      seenNonZero = true;
      ++wholeDigits;
    }
    ++k;
    ++mantissaDigits;
  }
  int fractionZeros = 0;
  if (k < text.size() && text[k] == '.') {
    ++k;
    while (k < text.size() && IsDigit(text[k])) {
      if (!seenNonZero) {
        if (text[k] == '0') {
          ++fractionZeros;
        } else {
          seenNonZero = true;
        }
      }
      ++k;
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  int exponent = 0;
  if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    ++k;
    const size_t start = k;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
    const size_t digitsStart = k;
    while (k < text.size() && IsDigit(text[k])) ++k;
    if (k == digitsStart) return std::nullopt;
    const std::string_view e = text.substr(start, k - start);
    const auto [p, ec] =
        std::from_chars(e.data() + (e.front() == '+' ? 1 : 0), e.data() + e.size(), exponent);
    if (ec != std::errc()) exponent = e.front() == '-' ? -100000 : 100000;
  }
  if (k != text.size()) return std::nullopt;

  double value = 0;
  const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // The decimal exponent of the first non-zero digit tells which way.
    const int leadingExponent =
        (wholeDigits > 0 ? wholeDigits - 1 : -(fractionZeros + 1)) + exponent;
    if (leadingExponent >= 0) return std::nullopt;  // too large for a double
    value = 0;                                      // too small: reads as zero
  } else if (ec != std::errc() || p != text.data() + text.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

// ---------------------------------------------------------------------------
// Variant conversions

Currency Currency::FromDouble(double value) {
  const auto c = TryCurrencyFromDouble(value);
  if (!c) Overflow(VarType::Double, VarType::Currency);
  return *c;
}

bool Variant::AsBoolean() const {
  switch (type_) {
    case VarType::Empty:
      return false;
    case VarType::Boolean:
      return std::get<bool>(value_);
    case VarType::SmallInt:
      return std::get<int16_t>(value_) != 0;
    case VarType::Integer:
      return std::get<int32_t>(value_) != 0;
    case VarType::Double:
      return std::get<double>(value_) != 0;
    case VarType::Currency:
      return std::get<Currency>(value_).Scaled != 0;
    case VarType::Date:
      return std::get<DateTime>(value_).Value != 0;
    case VarType::String:
    case VarType::OleStr: {
      const std::string text = StringBytes(*this);
      if (EqualsNoCase(text, "True")) return true;
      if (EqualsNoCase(text, "False")) return false;
      if (const auto n = ReadTextNumber(text)) return n->IsInteger ? n->Integer != 0 : n->Real != 0;
      CannotConvert(type_, VarType::Boolean);
    }
    default:
      CannotConvert(type_, VarType::Boolean);
  }
}

int16_t Variant::AsSmallInt() const {
  return static_cast<int16_t>(ToInteger(*this, VarType::SmallInt, INT16_MIN, INT16_MAX));
}

int32_t Variant::AsInteger() const {
  return static_cast<int32_t>(ToInteger(*this, VarType::Integer, INT32_MIN, INT32_MAX));
}

double Variant::AsDouble() const {
  switch (type_) {
    case VarType::Empty:
      return 0;
    case VarType::Boolean:
      return std::get<bool>(value_) ? -1 : 0;
    case VarType::SmallInt:
      return std::get<int16_t>(value_);
    case VarType::Integer:
      return std::get<int32_t>(value_);
    case VarType::Double:
      return std::get<double>(value_);
    case VarType::Currency:
      return std::get<Currency>(value_).ToDouble();
    case VarType::Date:
      return std::get<DateTime>(value_).Value;
    case VarType::String:
    case VarType::OleStr: {
      const auto n = ReadTextNumber(StringBytes(*this));
      if (!n) CannotConvert(type_, VarType::Double);
      return n->Real;
    }
    default:
      CannotConvert(type_, VarType::Double);
  }
}

Currency Variant::AsCurrency() const {
  auto fromDouble = [this](double d) {
    const auto c = TryCurrencyFromDouble(d);
    if (!c) Overflow(type_, VarType::Currency);
    return *c;
  };
  switch (type_) {
    case VarType::Empty:
      return Currency{0};
    case VarType::Boolean:
      return Currency{std::get<bool>(value_) ? -10000 : 0};
    case VarType::SmallInt:
      return Currency{int64_t{std::get<int16_t>(value_)} * 10000};
    case VarType::Integer:
      return Currency{int64_t{std::get<int32_t>(value_)} * 10000};
    case VarType::Double:
      return fromDouble(std::get<double>(value_));
    case VarType::Currency:
      return std::get<Currency>(value_);
    case VarType::Date:
      return fromDouble(std::get<DateTime>(value_).Value);
    case VarType::String:
    case VarType::OleStr: {
      const std::string text = StringBytes(*this);
      if (const auto c = ReadCurrencyExact(text)) return *c;
      const auto n = ReadTextNumber(text);
      if (!n) CannotConvert(type_, VarType::Currency);
      return fromDouble(n->Real);
    }
    default:
      CannotConvert(type_, VarType::Currency);
  }
}

DateTime Variant::AsDate() const {
  switch (type_) {
    case VarType::Empty:
      return DateTime{0};
    case VarType::Boolean:
    case VarType::SmallInt:
    case VarType::Integer:
    case VarType::Double:
    case VarType::Currency:
      return DateTime{AsDouble()};
    case VarType::Date:
      return std::get<DateTime>(value_);
    case VarType::String:
    case VarType::OleStr: {
      DateTime result;
      if (!TryStrToDateTime(StringBytes(*this), result)) CannotConvert(type_, VarType::Date);
      return result;
    }
    default:
      CannotConvert(type_, VarType::Date);
  }
}

std::string Variant::AsString() const {
  switch (type_) {
    case VarType::Empty:
      return {};
    case VarType::Boolean:
      return std::get<bool>(value_) ? "True" : "False";
    case VarType::SmallInt:
      return IntToStr(std::get<int16_t>(value_));
    case VarType::Integer:
      return IntToStr(std::get<int32_t>(value_));
    case VarType::Double:
      return FloatToStr(std::get<double>(value_));
    case VarType::Currency:
      return CurrencyToStr(std::get<Currency>(value_));
    case VarType::Date:
      return DateTimeToStr(std::get<DateTime>(value_));
    case VarType::String:
      return std::get<std::string>(value_);
    case VarType::OleStr:
      return WideToAnsi(std::get<std::u16string>(value_));
    default:
      CannotConvert(type_, VarType::String);
  }
}

std::u16string Variant::AsWideString() const {
  switch (type_) {
    case VarType::OleStr:
      return std::get<std::u16string>(value_);
    case VarType::Null:
    case VarType::Dispatch:
    case VarType::Array:
      CannotConvert(type_, VarType::OleStr);
    default:
      return AnsiToWide(AsString());
  }
}

DispatchPtr Variant::AsDispatch() const {
  if (type_ == VarType::Empty) return nullptr;
  if (type_ != VarType::Dispatch) CannotConvert(type_, VarType::Dispatch);
  return std::get<DispatchPtr>(value_);
}

Variant Variant::ChangeType(VarType type) const {
  if (type == VarType::Empty) return Variant();
  if (type == VarType::Null) return Variant::Null();
  if (type_ == VarType::Empty || type_ == VarType::Null || type_ == type) return *this;
  switch (type) {
    case VarType::SmallInt:
      return Variant(AsSmallInt());
    case VarType::Integer:
      return Variant(AsInteger());
    case VarType::Double:
      return Variant(AsDouble());
    case VarType::Currency:
      return Variant(AsCurrency());
    case VarType::Date:
      return Variant(AsDate());
    case VarType::OleStr:
      return Variant(AsWideString());
    case VarType::Boolean:
      return Variant(AsBoolean());
    case VarType::String:
      return Variant(AsString());
    default:
      CannotConvert(type_, type);
  }
}

std::string VarToStr(const Variant& value) {
  return value.IsEmpty() || value.IsNull() ? std::string() : value.AsString();
}

std::u16string VarToWideStr(const Variant& value) {
  return value.IsEmpty() || value.IsNull() ? std::u16string() : value.AsWideString();
}

}  // namespace platform

#include "platform/core/Format.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"

namespace platform {

namespace {

// A floating number as decimal digits: |value| = 0.Digits * 10^Exponent, so
// Exponent is the number of digits left of the decimal point. No digits
// means zero.
struct Decimal {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

constexpr int kMaxDigits = 18;

Decimal ToDecimal(double value) {
  Decimal d;
  d.Negative = std::signbit(value);
  if (value == 0) return d;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kMaxDigits - 1, std::fabs(value));
  // buffer holds "d.ddddddddddddddddde[+-]xx".
  const std::string_view text(buffer);
  const size_t e = text.find('e');
  d.Digits.push_back(text[0]);
  d.Digits.append(text.substr(2, e - 2));
  d.Exponent = std::atoi(buffer + e + 1) + 1;
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  return d;
}

// Keeps the first `keep` digits, rounding half away from zero.
void RoundDigits(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.Digits.size())) return;
  if (keep < 0) {
    d.Digits.clear();
    return;
  }
  const bool up = d.Digits[keep] >= '5';
  d.Digits.resize(keep);
  if (up) {
    while (!d.Digits.empty() && d.Digits.back() == '9') d.Digits.pop_back();
    if (d.Digits.empty()) {
      d.Digits = "1";
      ++d.Exponent;
    } else {
      ++d.Digits.back();
    }
  }
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
}

char DigitAt(const Decimal& d, int index) {
  return index >= 0 && index < static_cast<int>(d.Digits.size()) ? d.Digits[index] : '0';
}

std::string Sign(const Decimal& d) { return d.Negative && !d.Digits.empty() ? "-" : ""; }

std::string GroupThousands(const std::string& digits) {
  std::string result;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) result += ',';
    result += digits[i];
  }
  return result;
}

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  if (exponent < 0) return "-" + digits;
  return (alwaysSign ? "+" : "") + digits;
}

// "e": precision digits in all, one before the point.
std::string Scientific(Decimal d, int precision) {
  RoundDigits(d, precision);
  std::string result = Sign(d);
  result += DigitAt(d, 0);
  if (precision > 1) {
    result += '.';
    for (int i = 1; i < precision; ++i) result += DigitAt(d, i);
  }
  const int exponent = d.Digits.empty() ? 0 : d.Exponent - 1;
  return result + "E" + ExponentText(exponent, true, 3);
}

// "g": the shorter form, without trailing zeros.
std::string General(Decimal d, int precision) {
  RoundDigits(d, precision);
  if (d.Digits.empty()) return "0";
  std::string result = Sign(d);
  const int digits = static_cast<int>(d.Digits.size());
  if (d.Exponent > precision || d.Exponent < -4) {
    result += d.Digits[0];
    if (digits > 1) result += "." + d.Digits.substr(1);
    return result + "E" + ExponentText(d.Exponent - 1, false, 0);
  }
  if (d.Exponent <= 0) return result + "0." + std::string(-d.Exponent, '0') + d.Digits;
  for (int i = 0; i < d.Exponent; ++i) result += DigitAt(d, i);
  if (digits > d.Exponent) result += "." + d.Digits.substr(d.Exponent);
  return result;
}

// "f" and "n": decimals after the point.
std::string Fixed(Decimal d, int decimals, bool thousands) {
  if (d.Exponent > kMaxDigits) return General(d, kMaxDigits);
  RoundDigits(d, d.Exponent + decimals);
  std::string whole;
  for (int i = 0; i < d.Exponent; ++i) whole += DigitAt(d, i);
  if (d.Digits.empty() || whole.empty()) whole = "0";
  std::string result = Sign(d) + (thousands ? GroupThousands(whole) : whole);
  if (decimals > 0) {
    result += '.';
    for (int k = 0; k < decimals; ++k)
      result += d.Digits.empty() ? '0' : DigitAt(d, d.Exponent + k);
  }
  return result;
}

std::string CurrencySign() {
  switch (SystemCodePage()) {
    case CP_GBK:
      return "￥";
    case CP_BIG5:
      return "NT$";
    default:
      return "$";
  }
}

std::string FormatFloat(double value, char type, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const Decimal d = ToDecimal(value);
  switch (type) {
    case 'e':
      return Scientific(d, std::clamp(precision < 0 ? 15 : precision, 1, kMaxDigits));
    case 'g':
      return General(d, std::clamp(precision < 0 ? 15 : precision, 1, kMaxDigits));
    case 'f':
    case 'n':
      return Fixed(d, std::min(precision < 0 ? 2 : precision, kMaxDigits), type == 'n');
    default: {  // 'm'
      Decimal magnitude = d;
      magnitude.Negative = false;
      const std::string number =
          Fixed(magnitude, std::min(precision < 0 ? 2 : precision, kMaxDigits), true);
      const bool negative = d.Negative && number.find_first_of("123456789") != std::string::npos;
      return (negative ? "-" : "") + CurrencySign() + number;
    }
  }
}

std::string Digits(uint64_t value, int base) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string result;
  do {
    result.insert(result.begin(), kHex[value % base]);
    value /= base;
  } while (value != 0);
  return result;
}

// Negative values are read as unsigned numbers of 32 bits when they fit in
// 32 bits, as the platform's Integer arguments are.
uint64_t AsUnsigned(int64_t value) {
  if (value < 0 && value >= INT32_MIN) return static_cast<uint32_t>(value);
  return static_cast<uint64_t>(value);
}

std::string ZeroPad(std::string digits, int precision) {
  if (precision > static_cast<int>(digits.size())) digits.insert(0, precision - digits.size(), '0');
  return digits;
}

class Formatter {
 public:
  Formatter(std::string_view pattern, const FormatArg* args, size_t count)
      : pattern_(pattern), args_(args), count_(count) {}

  std::string Run() {
    std::string out;
    size_t p = 0;
    while (p < pattern_.size()) {
      const size_t percent = pattern_.find('%', p);
      if (percent == std::string_view::npos) {
        out.append(pattern_.substr(p));
        break;
      }
      out.append(pattern_.substr(p, percent - p));
      pos_ = percent + 1;
      if (pos_ < pattern_.size() && pattern_[pos_] == '%') {
        out += '%';
        p = pos_ + 1;
        continue;
      }
      out += Specifier();
      p = pos_;
    }
    return out;
  }

 private:
  [[noreturn]] void Fail() const {
    throw EConvertError("Format '" + std::string(pattern_) +
                        "' invalid or incompatible with argument");
  }

  char Peek() const { return pos_ < pattern_.size() ? pattern_[pos_] : '\0'; }

  const FormatArg& NextArg() {
    if (next_ >= count_) Fail();
    return args_[next_++];
  }

  std::optional<int64_t> IntegerOf(const FormatArg& arg) const {
    const FormatArg::Value& value = arg.Get();
    if (const auto* i = std::get_if<int64_t>(&value)) return *i;
    if (const auto* v = std::get_if<Variant>(&value)) {
      if (v->Type() == VarType::Integer || v->Type() == VarType::SmallInt) return v->AsInteger();
    }
    return std::nullopt;
  }

  // Digits or "*"; nullopt when neither is there.
  std::optional<int64_t> Number() {
    if (Peek() == '*') {
      ++pos_;
      const std::optional<int64_t> value = IntegerOf(NextArg());
      if (!value) Fail();
      return *value;
    }
    if (Peek() < '0' || Peek() > '9') return std::nullopt;
    int64_t value = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      value = value * 10 + (Peek() - '0');
      if (value > INT32_MAX) Fail();
      ++pos_;
    }
    return value;
  }

  std::string Specifier() {
    bool left = false;
    if (Peek() == '-') {
      left = true;
      ++pos_;
    }
    std::optional<int64_t> width = Number();
    if (Peek() == ':') {
      if (left || !width || *width < 0) Fail();
      next_ = static_cast<size_t>(*width);
      ++pos_;
      width.reset();
      if (Peek() == '-') {
        left = true;
        ++pos_;
      }
      width = Number();
    }
    int precision = -1;
    if (Peek() == '.') {
      ++pos_;
      const std::optional<int64_t> value = Number();
      if (!value) Fail();
      precision = *value < 0 ? -1 : static_cast<int>(std::min<int64_t>(*value, INT32_MAX));
    }
    if (pos_ >= pattern_.size()) Fail();
    char type = pattern_[pos_++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    std::string text = Convert(type, precision, NextArg());
    const int64_t w = width.value_or(0);
    if (w > static_cast<int64_t>(text.size())) {
      const size_t pad = static_cast<size_t>(w) - text.size();
      if (left) {
        text.append(pad, ' ');
      } else {
        text.insert(0, pad, ' ');
      }
    }
    return text;
  }

  std::string Convert(char type, int precision, const FormatArg& arg) {
    const FormatArg::Value& value = arg.Get();
    switch (type) {
      case 'd': {
        const std::optional<int64_t> i = IntegerOf(arg);
        if (!i) Fail();
        const uint64_t magnitude =
            *i < 0 ? 0 - static_cast<uint64_t>(*i) : static_cast<uint64_t>(*i);
        return (*i < 0 ? "-" : "") + ZeroPad(Digits(magnitude, 10), precision);
      }
      case 'u':
      case 'x': {
        const std::optional<int64_t> i = IntegerOf(arg);
        if (!i) Fail();
        return ZeroPad(Digits(AsUnsigned(*i), type == 'u' ? 10 : 16), precision);
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        const auto* d = std::get_if<double>(&value);
        if (!d) Fail();
        return FormatFloat(*d, type, precision);
      }
      case 's': {
        std::string text = TextOf(value);
        if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(precision);
        return text;
      }
      case 'p': {
        const auto* ptr = std::get_if<const void*>(&value);
        if (!ptr) Fail();
        return ZeroPad(Digits(reinterpret_cast<uintptr_t>(*ptr), 16), sizeof(void*) * 2);
      }
      default:
        Fail();
    }
  }

  std::string TextOf(const FormatArg::Value& value) const {
    if (const auto* s = std::get_if<std::string>(&value)) return *s;
    if (const auto* w = std::get_if<std::u16string>(&value)) return WideToAnsi(*w);
    if (const auto* c = std::get_if<char>(&value)) return std::string(1, *c);
    if (const auto* v = std::get_if<Variant>(&value)) {
      // Arrays and objects have no text; that is the argument's fault.
      if (v->IsArray() || v->Type() == VarType::Dispatch) Fail();
      try {
        return VarToStr(*v);
      } catch (const EVariantError&) {
        Fail();
      }
    }
    Fail();
  }

  std::string_view pattern_;
  const FormatArg* args_;
  size_t count_;
  size_t pos_ = 0;
  size_t next_ = 0;
};

}  // namespace

std::string Format(std::string_view pattern, std::initializer_list<FormatArg> args) {
  return Formatter(pattern, args.begin(), args.size()).Run();
}

std::string Format(std::string_view pattern, const std::vector<FormatArg>& args) {
  return Formatter(pattern, args.data(), args.size()).Run();
}

}  // namespace platform

#include "suite/db/TaggedJson.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"

namespace suitedb {

using platform::Variant;
using platform::VarType;

namespace {

constexpr int kTextCodePage = platform::CP_GBK;

[[noreturn]] void Bad(std::string_view what) {
  throw platform::EConvertError("tagged JSON: " + std::string(what));
}

std::string ToHex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    out += digits[u >> 4];
    out += digits[u & 15];
  }
  return out;
}

std::string FromHex(std::string_view hex) {
  if (hex.size() % 2) Bad("odd hex text");
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    Bad("bad hex digit");
  };
  std::string out;
  for (size_t i = 0; i < hex.size(); i += 2)
    out += static_cast<char>(nibble(hex[i]) * 16 + nibble(hex[i + 1]));
  return out;
}

bool HasLoneSurrogate(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        ++i;
        continue;
      }
      return true;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
  }
  return false;
}

std::string CurrencyText(platform::Currency value) {
  const bool negative = value.Scaled < 0;
  // Work in unsigned to keep the most negative value exact.
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(value.Scaled) : static_cast<uint64_t>(value.Scaled);
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%s%llu.%04llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / 10000),
                static_cast<unsigned long long>(magnitude % 10000));
  return buffer;
}

platform::Currency ParseCurrency(std::string_view text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  uint64_t whole = 0, fraction = 0;
  int fractionDigits = 0;
  bool any = false;
  for (; i < text.size() && text[i] != '.'; ++i) {
    if (text[i] < '0' || text[i] > '9') Bad("bad currency text");
    if (whole > (std::numeric_limits<uint64_t>::max() - 9) / 10) Bad("currency out of range");
    whole = whole * 10 + static_cast<uint64_t>(text[i] - '0');
    any = true;
  }
  if (i < text.size()) {
    for (++i; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9' || ++fractionDigits > 4) Bad("bad currency text");
      fraction = fraction * 10 + static_cast<uint64_t>(text[i] - '0');
    }
  }
  if (!any) Bad("bad currency text");
  while (fractionDigits++ < 4) fraction *= 10;
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (whole > (limit + 1) / 10000) Bad("currency out of range");
  const uint64_t magnitude = whole * 10000 + fraction;
  if (magnitude > limit + (negative ? 1 : 0)) Bad("currency out of range");
  platform::Currency result;
  result.Scaled = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return result;
}

Json DoubleJson(double value) {
  if (std::isnan(value)) return Json::String("NaN");
  if (std::isinf(value)) return Json::String(value > 0 ? "Infinity" : "-Infinity");
  return Json::Number(value);
}

double ParseDouble(const Json& json) {
  if (json.Type() == Json::Kind::String) {
    const std::string& s = json.AsString();
    if (s == "NaN") return std::numeric_limits<double>::quiet_NaN();
    if (s == "Infinity") return std::numeric_limits<double>::infinity();
    if (s == "-Infinity") return -std::numeric_limits<double>::infinity();
    Bad("bad number text");
  }
  const std::string& text = json.NumberText();
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) Bad("bad number");
  return value;
}

int64_t ParseInteger(const Json& json, int64_t low, int64_t high) {
  const std::string& text = json.NumberText();
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno || end != text.c_str() + text.size() || value < low || value > high)
    Bad("integer out of range: " + text);
  return value;
}

const Json& Member(const Json& json, std::string_view name) {
  const Json* member = json.Find(name);
  if (!member) Bad("member \"" + std::string(name) + "\" missing");
  return *member;
}

Json Tagged(std::string_view tag) {
  Json json = Json::Object();
  json.Add("t", Json::String(std::string(tag)));
  return json;
}

}  // namespace

Json VariantToJson(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return Tagged("Empty");
    case VarType::Null:
      return Tagged("Null");
    case VarType::Boolean: {
      Json json = Tagged("Boolean");
      json.Add("v", Json::Boolean(value.AsBoolean()));
      return json;
    }
    case VarType::SmallInt: {
      Json json = Tagged("SmallInt");
      json.Add("v", Json::Number(int64_t{value.AsSmallInt()}));
      return json;
    }
    case VarType::Integer: {
      Json json = Tagged("Integer");
      json.Add("v", Json::Number(int64_t{value.AsInteger()}));
      return json;
    }
    case VarType::Double: {
      Json json = Tagged("Double");
      json.Add("v", DoubleJson(value.AsDouble()));
      return json;
    }
    case VarType::Currency: {
      Json json = Tagged("Currency");
      json.Add("v", Json::String(CurrencyText(value.AsCurrency())));
      return json;
    }
    case VarType::Date: {
      const platform::DateTime date = value.AsDate();
      Json json = Tagged("Date");
      json.Add("v", DoubleJson(date.Value));
      // Fixed settings: the readable text must not follow the process's locale.
      const platform::FormatSettings settings;
      json.Add("text",
               Json::String(platform::FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", date, settings)));
      return json;
    }
    case VarType::OleStr: {
      const std::u16string wide = value.AsWideString();
      Json json = Tagged("OleStr");
      if (HasLoneSurrogate(wide)) {
        std::string units;
        for (const char16_t c : wide) {
          units += static_cast<char>(c >> 8);
          units += static_cast<char>(c & 0xFF);
        }
        json.Add("v", Json::String(platform::WideToUtf8(wide)));
        json.Add("u16", Json::String(ToHex(units)));
      } else {
        json.Add("v", Json::String(platform::WideToUtf8(wide)));
      }
      return json;
    }
    case VarType::String: {
      const std::string bytes = value.AsString();
      const std::u16string wide = platform::BytesToWide(bytes, kTextCodePage);
      Json json = Tagged("String");
      json.Add("cp", Json::Number(int64_t{kTextCodePage}));
      json.Add("v", Json::String(platform::WideToUtf8(wide)));
      if (platform::WideToBytes(wide, kTextCodePage) != bytes)
        json.Add("hex", Json::String(ToHex(bytes)));
      return json;
    }
    case VarType::Dispatch: {
      Json json = Tagged("Dispatch");
      const platform::DispatchPtr object = value.AsDispatch();
      json.Add("class", Json::String(object ? object->ClassName() : ""));
      return json;
    }
    case VarType::Array: {
      const platform::VarArray& array = value.Array();
      Json json = Tagged("Array");
      Json bounds = Json::Array();
      for (int d = 1; d <= array.DimCount(); ++d) {
        const platform::ArrayBound b = array.Bounds(d);
        bounds.Items().push_back(
            Json::Array({Json::Number(int64_t{b.Low}), Json::Number(int64_t{b.High})}));
      }
      json.Add("bounds", std::move(bounds));
      Json items = Json::Array();
      for (const Variant& item : array.Items()) items.Items().push_back(VariantToJson(item));
      json.Add("v", std::move(items));
      return json;
    }
  }
  Bad("unknown variant kind");
}

Variant JsonToVariant(const Json& json) {
  if (json.Type() != Json::Kind::Object) Bad("object expected");
  const std::string& tag = Member(json, "t").AsString();
  if (tag == "Empty" || tag == "Dispatch") return Variant();
  if (tag == "Null") return Variant::Null();
  if (tag == "Boolean") return Variant(Member(json, "v").AsBool());
  if (tag == "SmallInt")
    return Variant(static_cast<int16_t>(ParseInteger(Member(json, "v"), INT16_MIN, INT16_MAX)));
  if (tag == "Integer")
    return Variant(static_cast<int32_t>(ParseInteger(Member(json, "v"), INT32_MIN, INT32_MAX)));
  if (tag == "Double") return Variant(ParseDouble(Member(json, "v")));
  if (tag == "Currency") return Variant(ParseCurrency(Member(json, "v").AsString()));
  if (tag == "Date") return Variant(platform::DateTime{ParseDouble(Member(json, "v"))});
  if (tag == "OleStr") {
    if (const Json* units = json.Find("u16")) {
      const std::string bytes = FromHex(units->AsString());
      if (bytes.size() % 2) Bad("odd UTF-16 units");
      std::u16string wide;
      for (size_t i = 0; i < bytes.size(); i += 2)
        wide += static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                      static_cast<unsigned char>(bytes[i + 1]));
      return Variant(std::move(wide));
    }
    return Variant(platform::Utf8ToWide(Member(json, "v").AsString()));
  }
  if (tag == "String") {
    if (const Json* hex = json.Find("hex")) return Variant(FromHex(hex->AsString()));
    int codePage = kTextCodePage;
    if (const Json* cp = json.Find("cp")) codePage = static_cast<int>(ParseInteger(*cp, 0, 65535));
    if (!platform::IsSupportedCodePage(codePage)) Bad("unsupported code page");
    return Variant(
        platform::WideToBytes(platform::Utf8ToWide(Member(json, "v").AsString()), codePage));
  }
  if (tag == "Array") {
    const auto& bounds = Member(json, "bounds").Items();
    if (bounds.empty() || bounds.size() > 2) Bad("an array has one or two dimensions");
    std::vector<platform::ArrayBound> dims;
    for (const Json& b : bounds) {
      const auto& pair = b.Items();
      if (pair.size() != 2) Bad("a bound is [low, high]");
      dims.push_back({static_cast<int32_t>(ParseInteger(pair[0], INT32_MIN, INT32_MAX)),
                      static_cast<int32_t>(ParseInteger(pair[1], INT32_MIN, INT32_MAX))});
      if (int64_t{dims.back().High} < int64_t{dims.back().Low} - 1) Bad("bounds out of order");
    }
    const auto& items = Member(json, "v").Items();
    size_t expected = 1;
    for (const auto& d : dims) {
      // Counted in 64 bits and checked before multiplying, so that absurd
      // bounds cannot overflow.
      const int64_t count = int64_t{d.High} - d.Low + 1;
      if (count > static_cast<int64_t>(items.size()))
        Bad("element count does not match the bounds");
      expected *= static_cast<size_t>(count);
    }
    if (items.size() != expected) Bad("element count does not match the bounds");
    platform::VarArray array(dims);
    for (size_t i = 0; i < items.size(); ++i) array.Items()[i] = JsonToVariant(items[i]);
    return Variant(std::move(array));
  }
  Bad("unknown tag \"" + tag + "\"");
}

std::string VariantToJsonText(const Variant& value) { return VariantToJson(value).Dump(); }

Variant JsonTextToVariant(std::string_view text) { return JsonToVariant(Json::Parse(text)); }

}  // namespace suitedb

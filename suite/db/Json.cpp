#include "suite/db/Json.h"

#include <cmath>
#include <cstdio>

namespace suitedb {

namespace {

constexpr int kMaxDepth = 200;

[[noreturn]] void Fail(std::string_view what) {
  throw platform::EConvertError("JSON: " + std::string(what));
}

void WriteString(std::string& out, std::string_view text) {
  out += '"';
  size_t plain = 0;  // start of the characters not yet written
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    const char* escape = nullptr;
    switch (c) {
      case '"':
        escape = "\\\"";
        break;
      case '\\':
        escape = "\\\\";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\t':
        escape = "\\t";
        break;
      default:
        if (u >= 0x20 && u != 0x7F) continue;
    }
    out.append(text.substr(plain, i - plain));
    plain = i + 1;
    if (escape) {
      out += escape;
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", u);
      out += buffer;
    }
  }
  out.append(text.substr(plain));
  out += '"';
}

// The compact text of a value, written into one buffer.
void DumpInto(const Json& value, std::string& out) {
  switch (value.Type()) {
    case Json::Kind::Null:
      out += "null";
      return;
    case Json::Kind::Boolean:
      out += value.AsBool() ? "true" : "false";
      return;
    case Json::Kind::Number:
      out += value.NumberText();
      return;
    case Json::Kind::String:
      WriteString(out, value.AsString());
      return;
    case Json::Kind::Array: {
      out += '[';
      const std::vector<Json>& items = value.Items();
      for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        DumpInto(items[i], out);
      }
      out += ']';
      return;
    }
    case Json::Kind::Object: {
      out += '{';
      const Json::Members& members = value.ObjectMembers();
      for (size_t i = 0; i < members.size(); ++i) {
        if (i) out += ',';
        WriteString(out, members[i].first);
        out += ':';
        DumpInto(members[i].second, out);
      }
      out += '}';
      return;
    }
  }
}

}  // namespace

namespace internal {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  Json Document() {
    Json value = Value(0);
    SkipBlanks();
    if (pos_ != text_.size()) Error("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Error(std::string_view what) const {
    Fail(std::string(what) + " at offset " + std::to_string(pos_));
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }

  bool Consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  Json Value(int depth) {
    if (depth > kMaxDepth) Error("nesting too deep");
    SkipBlanks();
    if (pos_ >= text_.size()) Error("value expected");
    const char c = text_[pos_];
    if (c == '{') return ObjectValue(depth);
    if (c == '[') return ArrayValue(depth);
    if (c == '"') return Json::String(StringValue());
    if (Consume("true")) return Json::Boolean(true);
    if (Consume("false")) return Json::Boolean(false);
    if (Consume("null")) return Json();
    return NumberValue();
  }

  Json ObjectValue(int depth) {
    ++pos_;
    Json object = Json::Object();
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == '}') {
      ++pos_;
      return object;
    }
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '"') Error("member name expected");
      std::string name = StringValue();
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ':') Error("':' expected");
      ++pos_;
      object.Add(std::move(name), Value(depth + 1));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == '}') {
        ++pos_;
        return object;
      }
      Error("',' or '}' expected");
    }
  }

  Json ArrayValue(int depth) {
    ++pos_;
    Json array = Json::Array();
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == ']') {
      ++pos_;
      return array;
    }
    for (;;) {
      array.Items().push_back(Value(depth + 1));
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < text_.size() && text_[pos_] == ']') {
        ++pos_;
        return array;
      }
      Error("',' or ']' expected");
    }
  }

  unsigned Hex4() {
    if (pos_ + 4 > text_.size()) Error("short \\u escape");
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[pos_++];
      value <<= 4;
      if (c >= '0' && c <= '9')
        value |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        value |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        value |= static_cast<unsigned>(c - 'A' + 10);
      else
        Error("bad \\u escape");
    }
    return value;
  }

  static void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  // Copies one UTF-8 sequence, refusing malformed, overlong and surrogate forms.
  void CopyUtf8(std::string& out) {
    const auto lead = static_cast<unsigned char>(text_[pos_]);
    int length = 0;
    unsigned cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
      length = 2, cp = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
      length = 3, cp = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
      length = 4, cp = lead & 0x07;
    else
      Error("invalid UTF-8");
    if (pos_ + length > text_.size()) Error("invalid UTF-8");
    for (int i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text_[pos_ + i]);
      if ((next & 0xC0) != 0x80) Error("invalid UTF-8");
      cp = (cp << 6) | (next & 0x3F);
    }
    if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
      Error("invalid UTF-8");
    out.append(text_.substr(pos_, length));
    pos_ += length;
  }

  std::string StringValue() {
    ++pos_;  // opening quote
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Error("unterminated string");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return out;
      }
      if (static_cast<unsigned char>(c) < 0x20) Error("control character in string");
      if (static_cast<unsigned char>(c) >= 0x80) {
        CopyUtf8(out);
        continue;
      }
      ++pos_;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Error("unterminated escape");
      const char e = text_[pos_++];
      switch (e) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          unsigned cp = Hex4();
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (!Consume("\\u")) Error("unpaired surrogate");
            const unsigned low = Hex4();
            if (low < 0xDC00 || low > 0xDFFF) Error("unpaired surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            Error("unpaired surrogate");
          }
          AppendUtf8(out, cp);
          break;
        }
        default:
          Error("bad escape");
      }
    }
  }

  Json NumberValue() {
    const size_t start = pos_;
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '0')
      ++pos_;
    else if (!digits())
      Error("value expected");
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      if (!digits()) Error("digits expected");
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
      if (!digits()) Error("digits expected");
    }
    // The number keeps the text as written.
    Json number;
    number.kind_ = Json::Kind::Number;
    number.text_ = std::string(text_.substr(start, pos_ - start));
    return number;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace internal

Json Json::Boolean(bool value) {
  Json json;
  json.kind_ = Kind::Boolean;
  json.bool_ = value;
  return json;
}

Json Json::Number(int64_t value) {
  Json json;
  json.kind_ = Kind::Number;
  json.text_ = std::to_string(value);
  return json;
}

Json Json::Number(double value) {
  if (!std::isfinite(value)) Fail("a number must be finite");
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  Json json;
  json.kind_ = Kind::Number;
  json.text_ = buffer;
  return json;
}

Json Json::String(std::string utf8) {
  Json json;
  json.kind_ = Kind::String;
  json.text_ = std::move(utf8);
  return json;
}

Json Json::Array(std::vector<Json> items) {
  Json json;
  json.kind_ = Kind::Array;
  json.items_ = std::move(items);
  return json;
}

Json Json::Object(Members members) {
  Json json;
  json.kind_ = Kind::Object;
  json.members_ = std::move(members);
  return json;
}

bool Json::AsBool() const {
  if (kind_ != Kind::Boolean) Fail("boolean expected");
  return bool_;
}

const std::string& Json::NumberText() const {
  if (kind_ != Kind::Number) Fail("number expected");
  return text_;
}

const std::string& Json::AsString() const {
  if (kind_ != Kind::String) Fail("string expected");
  return text_;
}

const std::vector<Json>& Json::Items() const {
  if (kind_ != Kind::Array) Fail("array expected");
  return items_;
}

std::vector<Json>& Json::Items() {
  if (kind_ != Kind::Array) Fail("array expected");
  return items_;
}

const Json::Members& Json::ObjectMembers() const {
  if (kind_ != Kind::Object) Fail("object expected");
  return members_;
}

const Json* Json::Find(std::string_view name) const {
  if (kind_ != Kind::Object) return nullptr;
  for (const auto& [key, value] : members_)
    if (key == name) return &value;
  return nullptr;
}

Json& Json::Add(std::string name, Json value) {
  if (kind_ != Kind::Object) Fail("object expected");
  members_.emplace_back(std::move(name), std::move(value));
  return members_.back().second;
}

std::string Json::Dump() const {
  std::string out;
  DumpInto(*this, out);
  return out;
}

namespace {

void PrettyInto(const Json& value, std::string& out, int indent) {
  const std::string compact = value.Dump();
  const bool container = value.Type() == Json::Kind::Array || value.Type() == Json::Kind::Object;
  if (!container || compact.size() + static_cast<size_t>(indent) <= 76) {
    out += compact;
    return;
  }
  const std::string inner(static_cast<size_t>(indent + 2), ' ');
  if (value.Type() == Json::Kind::Array) {
    out += "[\n";
    const auto& items = value.Items();
    for (size_t i = 0; i < items.size(); ++i) {
      out += inner;
      PrettyInto(items[i], out, indent + 2);
      out += i + 1 < items.size() ? ",\n" : "\n";
    }
    out += std::string(static_cast<size_t>(indent), ' ') + "]";
    return;
  }
  out += "{\n";
  const auto& members = value.ObjectMembers();
  for (size_t i = 0; i < members.size(); ++i) {
    out += inner;
    WriteString(out, members[i].first);
    out += ": ";
    PrettyInto(members[i].second, out, indent + 2);
    out += i + 1 < members.size() ? ",\n" : "\n";
  }
  out += std::string(static_cast<size_t>(indent), ' ') + "}";
}

}  // namespace

std::string Json::Pretty() const {
  std::string out;
  PrettyInto(*this, out, 0);
  return out;
}

Json Json::Parse(std::string_view text) { return internal::JsonParser(text).Document(); }

}  // namespace suitedb

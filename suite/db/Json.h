#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/core/Exception.h"

namespace suitedb {

namespace internal {
class JsonParser;
}

/* A JSON value. Texts are UTF-8. A number keeps the text it was read from,
   so that integers beyond 2^53 and exact decimals survive. Object members
   keep their order. */
class Json {
 public:
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  using Members = std::vector<std::pair<std::string, Json>>;

  Json() = default;
  static Json Boolean(bool value);
  static Json Number(int64_t value);
  /* Written with 17 significant digits, so it reads back to the same double;
     a non-finite value is refused (EConvertError). */
  static Json Number(double value);
  static Json String(std::string utf8);
  static Json Array(std::vector<Json> items = {});
  static Json Object(Members members = {});

  Kind Type() const { return kind_; }
  bool AsBool() const;
  /* The number's text as written. */
  const std::string& NumberText() const;
  const std::string& AsString() const;
  const std::vector<Json>& Items() const;
  std::vector<Json>& Items();
  const Members& ObjectMembers() const;
  /* The member of that name, or nullptr (also when this is not an object). */
  const Json* Find(std::string_view name) const;
  Json& Add(std::string name, Json value);

  /* Compact text; Pretty() breaks a value over lines with two-blank indent,
     keeping any array or object that fits in 76 characters on one line. */
  std::string Dump() const;
  std::string Pretty() const;

  /* Reads a whole JSON text. Raises EConvertError with the byte offset for
     malformed input, invalid UTF-8 in a string, or nesting deeper than 200. */
  static Json Parse(std::string_view text);

  /* Accessors raise EConvertError when the value is of another kind. */

 private:
  friend class internal::JsonParser;
  Kind kind_ = Kind::Null;
  bool bool_ = false;
  std::string text_;  // number text or string
  std::vector<Json> items_;
  Members members_;
};

}  // namespace suitedb

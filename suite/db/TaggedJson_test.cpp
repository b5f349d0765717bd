#include "suite/db/TaggedJson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/core/DateTime.h"

namespace suitedb {
namespace {

using platform::ArrayBound;
using platform::VarArray;
using platform::Variant;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

Variant TwoDimensional() {
  Variant v = platform::VarArrayCreate({{0, 1}, {3, 5}});
  for (int i = 0; i <= 1; ++i)
    for (int j = 3; j <= 5; ++j) v.At(i, j) = Variant(int32_t{i * 10 + j});
  return v;
}

Variant JobLikeRequest() {
  // Environment from 1, captions and values from 1, a range value, a list value.
  Variant env = platform::VarArrayCreate({{1, 3}});
  env[1] = Variant(u"PVQR82");
  env[2] = Variant(int32_t{3});
  env[3] = Variant(platform::DateTime{45356.75});
  Variant range = platform::VarArrayOf({Variant(u"\x04"), Variant(u"20240101"), Variant(u"")});
  Variant list = platform::VarArrayOf(
      {Variant(u"\x05"), platform::VarArrayOf({Variant(u"S00001"), Variant(u"恒达五金")})});
  Variant values = platform::VarArrayCreate({{1, 2}});
  values[1] = range;
  values[2] = list;
  return platform::VarArrayOf({env, Variant(VarArray({{1, 0}})), values});
}

TEST(TaggedJsonTest, EveryKindComesBackUnchanged) {
  platform::Currency money;
  money.Scaled = -123456789;
  platform::Currency largest;
  largest.Scaled = std::numeric_limits<int64_t>::max();
  platform::Currency smallest;
  smallest.Scaled = std::numeric_limits<int64_t>::min();
  const Variant cases[] = {
      Variant(),
      Variant::Null(),
      Variant(true),
      Variant(false),
      Variant(int16_t{-32768}),
      Variant(int32_t{2147483647}),
      Variant(int32_t{-2147483647 - 1}),
      Variant(0.1),
      Variant(-1e308),
      Variant(5e-324),
      Variant(std::numeric_limits<double>::infinity()),
      Variant(money),
      Variant(largest),
      Variant(smallest),
      Variant(platform::DateTime{-1.25}),
      Variant(platform::DateTime{45356.123456789}),
      Variant(u""),
      Variant(u"确定 \x01\x03\x04\r\n\"%s\\"),
      Variant(u"\U0001F600 and a lone \xD800 surrogate"),
      Variant(std::string("")),
      Variant(std::string("\xC8\xB7\xB6\xA8 'quoted' %d\x01\x03\x04\r\n", 20)),
      Variant(std::string("\xFF\x80\xC8", 3)),  // bytes GB cannot decode
      Variant(std::string("a\0b", 3)),
      platform::VarArrayOf({}),
      Variant(VarArray({{5, 4}})),
      Variant(VarArray({{-3, -1}})),
      TwoDimensional(),
      JobLikeRequest(),
  };
  for (const Variant& value : cases) {
    const std::string text = VariantToJsonText(value);
    SCOPED_TRACE(text);
    EXPECT_EQ(JsonTextToVariant(text), value);
    EXPECT_EQ(JsonTextToVariant(VariantToJson(value).Pretty()), value);
  }
}

TEST(TaggedJsonTest, NotANumberStaysNotANumber) {
  const Variant back =
      JsonTextToVariant(VariantToJsonText(Variant(std::numeric_limits<double>::quiet_NaN())));
  ASSERT_EQ(back.Type(), platform::VarType::Double);
  EXPECT_TRUE(std::isnan(back.AsDouble()));
}

TEST(TaggedJsonTest, WritesTheDocumentedForm) {
  struct Case {
    Variant Value;
    std::string Json;
  };
  const Case cases[] = {
      {Variant(int32_t{5}), R"({"t":"Integer","v":5})"},
      {Variant(int16_t{-2}), R"({"t":"SmallInt","v":-2})"},
      {Variant(true), R"({"t":"Boolean","v":true})"},
      {Variant(1.5), R"({"t":"Double","v":1.5})"},
      {Variant(u"确定"), U8(u8R"({"t":"OleStr","v":"确定"})")},
      // A narrow literal holds GB bytes; the JSON shows them decoded.
      {Variant("确定"), U8(u8R"({"t":"String","cp":936,"v":"确定"})")},
      {Variant(std::string("\xFF", 1)), R"({"t":"String","cp":936,"v":"?","hex":"ff"})"},
      {Variant(u"\x03"), R"({"t":"OleStr","v":"\u0003"})"},
      {Variant(platform::DateTime{45356.5}),
       R"({"t":"Date","v":45356.5,"text":"2024/03/05 12:00:00.000"})"},
      {platform::VarArrayOf({Variant()}), R"({"t":"Array","bounds":[[0,0]],"v":[{"t":"Empty"}]})"},
  };
  for (const Case& c : cases) EXPECT_EQ(VariantToJsonText(c.Value), c.Json);
  platform::Currency money;
  money.Scaled = 12345;
  EXPECT_EQ(VariantToJsonText(Variant(money)), R"({"t":"Currency","v":"1.2345"})");
}

TEST(TaggedJsonTest, RefusesMalformedText) {
  const char* cases[] = {
      "",
      "{",
      R"({"t":"Integer","v":5,})",
      R"({"t":"Integer"})",
      R"({"t":"Integer","v":2147483648})",
      R"({"t":"SmallInt","v":40000})",
      R"({"t":"Integer","v":1.5})",
      R"({"t":"Nothing"})",
      R"({"t":"String","v":"x","hex":"f"})",
      R"({"t":"String","cp":1252,"v":"x"})",
      R"({"t":"Currency","v":"1.23456"})",
      R"({"t":"Currency","v":"99999999999999999999"})",
      R"({"t":"Array","bounds":[[0,1]],"v":[{"t":"Empty"}]})",
      R"({"t":"Array","bounds":[[0,2147483647],[0,2147483647]],"v":[]})",
      R"({"t":"Array","bounds":[],"v":[]})",
      R"({"t":"Array","bounds":[[2,0]],"v":[]})",
      R"({"t":"OleStr","v":"\ud800"})",
      "{\"t\":\"OleStr\",\"v\":\"\xC3\x28\"}",  // invalid UTF-8
      R"({"t":"OleStr","v":"a"} x)",
      R"([1,2])",
  };
  for (const char* text : cases)
    EXPECT_THROW(JsonTextToVariant(text), platform::EConvertError) << text;
}

TEST(TaggedJsonTest, PrettyFormBreaksLongValuesOverLines) {
  const std::string pretty = VariantToJson(JobLikeRequest()).Pretty();
  EXPECT_NE(pretty.find('\n'), std::string::npos);
  EXPECT_NE(pretty.find(R"({"t":"OleStr","v":"PVQR82"})"), std::string::npos) << pretty;
  size_t start = 0;
  while (start < pretty.size()) {
    const size_t end = pretty.find('\n', start);
    const size_t length = (end == std::string::npos ? pretty.size() : end) - start;
    EXPECT_LE(length, 90u) << pretty.substr(start, length);
    start = end == std::string::npos ? pretty.size() : end + 1;
  }
}

}  // namespace
}  // namespace suitedb

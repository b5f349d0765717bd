#include "platform/remote/Wire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "platform/core/Dispatch.h"
#include "platform/remote/test/RemoteTestSupport.h"

namespace platform::remote {
namespace {

using test::Hex;

Variant Array1(int32_t low, std::initializer_list<Variant> items) {
  Variant v = VarArrayCreate({{low, low + static_cast<int32_t>(items.size()) - 1}});
  int32_t i = low;
  for (const Variant& item : items) v[i++] = item;
  return v;
}

Variant Grid() {
  // Two rows of three columns, the first dimension not starting at 0.
  Variant v = VarArrayCreate({{1, 2}, {0, 2}});
  v.At(1, 0) = Variant("编号");
  v.At(2, 0) = Variant(int32_t{7});
  v.At(1, 2) = Variant(u"名称");
  v.At(2, 2) = Variant::Null();
  return v;
}

struct RoundTrip {
  const char* name;
  Variant value;
};

class VariantRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(VariantRoundTrip, ComesBackWithItsKindAndValue) {
  const Variant& value = GetParam().value;
  const Variant back = DecodeVariant(EncodeVariant(value));
  EXPECT_EQ(back.Type(), value.Type());
  EXPECT_TRUE(back == value);
  if (value.IsArray()) {
    for (int dim = 1; dim <= value.DimCount(); ++dim) {
      EXPECT_EQ(back.LowBound(dim), value.LowBound(dim));
      EXPECT_EQ(back.HighBound(dim), value.HighBound(dim));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, VariantRoundTrip,
    ::testing::Values(
        RoundTrip{"Empty", Variant()}, RoundTrip{"Null", Variant::Null()},
        RoundTrip{"True", Variant(true)}, RoundTrip{"False", Variant(false)},
        RoundTrip{"SmallIntMin", Variant(int16_t{-32768})},
        RoundTrip{"SmallIntMax", Variant(int16_t{32767})},
        RoundTrip{"IntegerMin", Variant(std::numeric_limits<int32_t>::min())},
        RoundTrip{"IntegerMax", Variant(std::numeric_limits<int32_t>::max())},
        RoundTrip{"IntegerZero", Variant(int32_t{0})}, RoundTrip{"DoubleFraction", Variant(0.1)},
        RoundTrip{"DoubleNegativeZero", Variant(-0.0)}, RoundTrip{"DoubleWhole", Variant(3.0)},
        RoundTrip{"DoubleInfinite", Variant(std::numeric_limits<double>::infinity())},
        RoundTrip{"DoubleTiny", Variant(std::numeric_limits<double>::denorm_min())},
        RoundTrip{"DateWithTime", Variant(DateTime{45356.75})},
        RoundTrip{"DateMidnight", Variant(DateTime{45356})},
        RoundTrip{"DateBefore1899", Variant(DateTime{-693593.25})},
        RoundTrip{"CurrencyMax", Variant(Currency{std::numeric_limits<int64_t>::max()})},
        RoundTrip{"CurrencyMin", Variant(Currency{std::numeric_limits<int64_t>::min()})},
        RoundTrip{"CurrencyCents", Variant(Currency{-12345})},
        RoundTrip{"StringGB", Variant("确定收货单")},
        RoundTrip{"StringEmpty", Variant(std::string())},
        RoundTrip{"StringWithNulAndHighBytes", Variant(std::string("a\0\xff\x80z", 5))},
        RoundTrip{"WideChinese", Variant(u"确定收货单")},
        RoundTrip{"WideEmpty", Variant(std::u16string())},
        RoundTrip{"WideLoneSurrogates", Variant(std::u16string{u'a', 0xD800, u'b', 0xDFFF})},
        RoundTrip{"WideNul", Variant(std::u16string(3, u'\0'))},
        RoundTrip{"ArrayNegativeBounds",
                  Array1(-3, {Variant(int32_t{1}), Variant("x"), Variant(2.5)})},
        RoundTrip{"ArrayTwoDimensions", Grid()},
        RoundTrip{"ArrayNested", Array1(0, {Array1(5, {Variant(true)}), Grid(), Variant()})},
        RoundTrip{"ArrayEmpty", VarArrayCreate({{0, -1}})},
        RoundTrip{"ArrayEmptySecondDimension", VarArrayCreate({{0, 3}, {1, 0}})}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

TEST(VariantWire, NotANumberKeepsItsBits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Variant& value : {Variant(nan), Variant(DateTime{nan})}) {
    const Variant back = DecodeVariant(EncodeVariant(value));
    ASSERT_EQ(back.Type(), value.Type());
    const double d = back.Type() == VarType::Date ? back.AsDate().Value : back.AsDouble();
    uint64_t a, b;
    std::memcpy(&a, &nan, sizeof a);
    std::memcpy(&b, &d, sizeof b);
    EXPECT_EQ(a, b);
  }
}

// The bytes themselves are the contract with the other end.
TEST(VariantWire, EncodesTheAgreedLayout) {
  struct Case {
    Variant value;
    const char* hex;
  } cases[] = {
      {Variant(), "91 00"},
      {Variant(int32_t{5}), "92 03 05"},
      {Variant(int16_t{-1}), "92 02 ff"},
      {Variant(true), "92 0b c3"},
      {Variant(1.5), "92 05 cb 3ff8000000000000"},
      {Variant(Currency{10000}), "92 06 cd 2710"},
      {Variant("ab"), "92 cd 0100 c4 02 6162"},
      {Variant(u"a\xD800"), "92 08 c4 04 6100 00d8"},
      {Array1(-1, {Variant()}), "93 cd 200c 91 92 ff ff 91 91 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hex);
    EXPECT_EQ(EncodeVariant(c.value), Hex(c.hex));
  }
}

// Other MessagePack writers may choose wider forms; those read the same.
TEST(VariantWire, ReadsWiderIntegerAndFloatForms) {
  struct Case {
    const char* hex;
    Variant expected;
  } cases[] = {
      {"92 d3 0000000000000003 d2 00000005", Variant(int32_t{5})},
      {"92 03 cf 000000007fffffff", Variant(std::numeric_limits<int32_t>::max())},
      {"92 02 d1 8000", Variant(int16_t{-32768})},
      {"92 05 ca 3fc00000", Variant(1.5)},
      {"92 06 d3 ffffffffffffffff", Variant(Currency{-1})},
      {"dc 0002 07 cb 0000000000000000", Variant(DateTime{0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hex);
    const Variant v = DecodeVariant(Hex(c.hex));
    EXPECT_EQ(v.Type(), c.expected.Type());
    EXPECT_TRUE(v == c.expected);
  }
}

TEST(VariantWire, RefusesBadBytes) {
  struct Case {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"nothing", "", "truncated"},
      {"cut inside bytes", Hex("92 cd 0100 c4 05 61"), "truncated bytes"},
      {"cut inside a number", Hex("92 05 cb 3ff8"), "truncated"},
      {"trailing byte", Hex("91 00 00"), "after the end"},
      {"not an array", Hex("81 00 00"), "array expected"},
      {"no type", Hex("90"), "without type"},
      {"unknown type", Hex("91 04"), "unknown value type 4"},
      {"negative type", Hex("91 ff"), "unknown value type -1"},
      {"automation object", Hex("92 09 c0"), "unknown value type 9"},
      {"empty with payload", Hex("92 00 00"), "wrong payload"},
      {"integer without payload", Hex("91 03"), "wrong payload"},
      {"boolean as number", Hex("92 0b 01"), "boolean expected"},
      {"small integer too big", Hex("92 02 cd 8000"), "out of range"},
      {"integer too big", Hex("92 03 ce 80000000"), "out of range"},
      {"currency beyond 64 bits", Hex("92 06 cf ffffffffffffffff"), "out of range"},
      {"double as integer", Hex("92 05 01"), "float expected"},
      {"byte string as str", Hex("92 cd 0100 a1 61"), "bytes expected"},
      {"wide text of odd length", Hex("92 08 c4 03 610062"), "odd number"},
      {"three dimensions", Hex("93 cd 200c 93 92 00 00 92 00 00 92 00 00 91 91 00"), "dimensions"},
      {"no dimensions", Hex("93 cd 200c 90 90"), "dimensions"},
      {"bound of three", Hex("93 cd 200c 91 93 00 00 00 91 91 00"), "[low, high]"},
      {"high below low", Hex("93 cd 200c 91 92 05 02 90"), "bounds are invalid"},
      {"too few items", Hex("93 cd 200c 91 92 00 01 91 91 00"), "do not match"},
      {"too many items", Hex("93 cd 200c 91 92 00 00 92 91 00 91 00"), "do not match"},
      {"bound beyond 32 bits", Hex("93 cd 200c 91 92 00 cf 0000000100000000 90"), "out of range"},
      {"2^32 items claimed", Hex("93 cd 200c 91 92 00 ce 7ffffffe dd ffffffff 91 00"), "truncated"},
      {"2^32 values in a header", Hex("dd ffffffff") + std::string(64, '\x91'), "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      DecodeVariant(c.bytes);
      ADD_FAILURE() << "decoded";
    } catch (const EWireFormat& e) {
      EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
    }
  }
}

// [Array, [[0, 0]], [<inner>]] around an Integer, depth times.
std::string Nested(int depth) {
  std::string bytes;
  for (int i = 0; i < depth; ++i) bytes += Hex("93 cd 200c 91 92 00 00 91");
  return bytes + Hex("92 03 07");
}

TEST(VariantWire, LimitsNesting) {
  WireLimits limits;
  limits.MaxDepth = 64;
  Variant deepest = DecodeVariant(Nested(64), limits);
  for (int i = 0; i < 64; ++i) deepest = Variant(deepest[0]);
  EXPECT_EQ(deepest.AsInteger(), 7);
  for (int depth : {65, 100000}) {
    SCOPED_TRACE(depth);
    EXPECT_THROW(DecodeVariant(Nested(depth), limits), EWireFormat);
  }

  // The writer keeps to the same limit.
  Variant value(int32_t{1});
  for (int i = 0; i < 65; ++i) value = VarArrayOf({value});
  EXPECT_THROW(EncodeVariant(value, limits), EBadArgument);
}

TEST(VariantWire, LimitsTheNumberOfValues) {
  WireLimits limits;
  limits.MaxElements = 100;
  Variant v = VarArrayCreate({{0, 98}});
  EXPECT_NO_THROW(DecodeVariant(EncodeVariant(v), limits));  // 99 items and the array
  v.Redim(99);
  EXPECT_THROW(DecodeVariant(EncodeVariant(v), limits), EWireFormat);
  // The budget is shared by all values of a message, however they nest.
  const Variant rows = VarArrayOf({VarArrayCreate({{0, 49}}), VarArrayCreate({{0, 49}})});
  EXPECT_THROW(DecodeVariant(EncodeVariant(rows), limits), EWireFormat);
}

class Echo : public AutoObject {
 public:
  Echo() : AutoObject("Test.Echo") {}
};

TEST(VariantWire, AutomationObjectsCannotBeSent) {
  const Variant object{DispatchPtr(std::make_shared<Echo>())};
  EXPECT_THROW(EncodeVariant(object), EBadArgument);
  EXPECT_THROW(EncodeVariant(VarArrayOf({Variant(int32_t{1}), object})), EBadArgument);
  Request request;
  request.Args = {object};
  EXPECT_THROW(EncodeRequestFrame(request), EBadArgument);
}

std::string Body(const std::string& frame) {
  EXPECT_GE(frame.size(), 4u);
  const uint32_t size = (uint32_t{static_cast<uint8_t>(frame[0])} << 24) |
                        (uint32_t{static_cast<uint8_t>(frame[1])} << 16) |
                        (uint32_t{static_cast<uint8_t>(frame[2])} << 8) |
                        static_cast<uint8_t>(frame[3]);
  EXPECT_EQ(size, frame.size() - 4);
  return frame.substr(4);
}

TEST(MessageWire, RequestRoundTrip) {
  Request request;
  request.CallId = 0x1122334455ull;
  request.ServerClass = "ReportCounterS.dmReportCounter";
  request.Operation = "InsertConTable";
  request.Kind = CallKind::PutProperty;
  request.Args = {Variant("方案"), Grid(), Variant(Currency{5})};
  const std::string frame = EncodeRequestFrame(request);
  EXPECT_EQ(frame.substr(4, 2), Hex("95 cf"));  // five elements, then the id
  const Request back = DecodeRequest(Body(frame));
  EXPECT_EQ(back.CallId, request.CallId);
  EXPECT_EQ(back.ServerClass, request.ServerClass);
  EXPECT_EQ(back.Operation, request.Operation);
  EXPECT_EQ(back.Kind, request.Kind);
  ASSERT_EQ(back.Args.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(back.Args[i] == request.Args[i]) << i;
}

TEST(MessageWire, ReplyRoundTrip) {
  Reply ok;
  ok.CallId = 9;
  ok.Result = Variant(u"结果");
  ok.RefArgs = {Variant(int32_t{3}), Variant()};
  Reply back = DecodeReply(Body(EncodeReplyFrame(ok)));
  EXPECT_EQ(back.CallId, 9u);
  EXPECT_FALSE(back.Failed);
  EXPECT_TRUE(back.Result == ok.Result);
  ASSERT_EQ(back.RefArgs.size(), 2u);
  EXPECT_TRUE(back.RefArgs[0] == ok.RefArgs[0]);

  Reply failed;
  failed.CallId = 10;
  failed.Failed = true;
  failed.ErrorClass = "EOleException";
  failed.ErrorMessage = "单据不存在";
  const std::string frame = EncodeReplyFrame(failed);
  // The message is bytes (bin), not MessagePack text.
  EXPECT_NE(frame.find(Hex("c4 0a")), std::string::npos);
  back = DecodeReply(Body(frame));
  EXPECT_TRUE(back.Failed);
  EXPECT_EQ(back.ErrorClass, "EOleException");
  EXPECT_EQ(back.ErrorMessage, failed.ErrorMessage);
}

TEST(MessageWire, RefusesBadRequestsAndTellsTheCallIdWhenKnown) {
  struct Case {
    const char* name;
    std::string body;
    std::optional<uint64_t> callId;
  } cases[] = {
      {"empty", "", std::nullopt},
      {"four elements", Hex("94 01 a1 41 a1 42 00"), std::nullopt},
      {"call id negative", Hex("95 ff a1 41 a1 42 00 90"), std::nullopt},
      {"class is a number", Hex("95 07 01 a1 42 00 90"), 7},
      {"kind 3", Hex("95 07 a1 41 a1 42 03 90"), 7},
      {"args not an array", Hex("95 07 a1 41 a1 42 00 c0"), 7},
      {"bad argument", Hex("95 07 a1 41 a1 42 00 91 91 04"), 7},
      {"args claim 2^32", Hex("95 07 a1 41 a1 42 00 dd ffffffff"), 7},
      {"trailing", Hex("95 07 a1 41 a1 42 00 90 00"), 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<uint64_t> callId;
    EXPECT_THROW(DecodeRequest(c.body, {}, &callId), EWireFormat);
    EXPECT_EQ(callId, c.callId);
  }
  std::optional<uint64_t> callId;
  const Request fine = DecodeRequest(Hex("95 07 a1 41 c4 01 42 01 90"), {}, &callId);
  EXPECT_EQ(fine.Operation, "B");  // names may also come as bin
  EXPECT_EQ(callId, 7u);
}

TEST(MessageWire, FramesAboveTheLimitAreNotWritten) {
  WireLimits limits;
  limits.MaxFrameBytes = 100;
  Request request;
  request.Args = {Variant(std::string(60, 'x'))};
  EXPECT_NO_THROW(EncodeRequestFrame(request, limits));
  request.Args = {Variant(std::string(100, 'x'))};
  EXPECT_THROW(EncodeRequestFrame(request, limits), EBadArgument);
}

TEST(FrameReaderTest, CutsAStreamIntoFrames) {
  const std::string a = Hex("00000002 9100");
  const std::string b = Hex("00000000");
  const std::string c = Hex("00000003 920305");
  const std::string stream = a + b + c;
  // Any way of cutting the stream gives the same frames.
  for (size_t chunk : {size_t{1}, size_t{3}, size_t{5}, stream.size()}) {
    SCOPED_TRACE(chunk);
    FrameReader reader(16);
    for (size_t i = 0; i < stream.size(); i += chunk) {
      ASSERT_TRUE(reader.Feed(std::string_view(stream).substr(i, chunk)));
    }
    EXPECT_FALSE(reader.HasPartialFrame());
    EXPECT_EQ(reader.CompleteFrames(), 3u);
    EXPECT_EQ(reader.BufferedBytes(), 5u);
    std::string body;
    ASSERT_TRUE(reader.TakeFrame(body));
    EXPECT_EQ(body, Hex("9100"));
    ASSERT_TRUE(reader.TakeFrame(body));
    EXPECT_EQ(body, "");
    ASSERT_TRUE(reader.TakeFrame(body));
    EXPECT_EQ(body, Hex("920305"));
    EXPECT_FALSE(reader.TakeFrame(body));
    EXPECT_EQ(reader.BufferedBytes(), 0u);
  }
}

TEST(FrameReaderTest, PartialFramesAreReported) {
  FrameReader reader(16);
  EXPECT_FALSE(reader.HasPartialFrame());
  ASSERT_TRUE(reader.Feed(Hex("00")));
  EXPECT_TRUE(reader.HasPartialFrame());
  ASSERT_TRUE(reader.Feed(Hex("000002 91")));
  EXPECT_TRUE(reader.HasPartialFrame());
  EXPECT_EQ(reader.CompleteFrames(), 0u);
  ASSERT_TRUE(reader.Feed(Hex("00")));
  EXPECT_FALSE(reader.HasPartialFrame());
  EXPECT_EQ(reader.CompleteFrames(), 1u);
}

TEST(FrameReaderTest, LengthAboveTheLimitBreaksTheStream) {
  struct Case {
    const char* prefix;
    bool fits;
  } cases[] = {{"00000010", true}, {"00000011", false}, {"ffffffff", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prefix);
    FrameReader reader(16);
    const bool fed = reader.Feed(Hex(c.prefix) + std::string(16, 'x'));
    EXPECT_EQ(fed, c.fits);
    EXPECT_EQ(reader.Broken(), !c.fits);
    EXPECT_EQ(reader.CompleteFrames(), c.fits ? 1u : 0u);
    if (!c.fits) {
      // Nothing is held for the frame that will never be read.
      EXPECT_LE(reader.BufferedBytes(), 4u);
      EXPECT_FALSE(reader.Feed(Hex("00000001 00")));
      std::string body;
      EXPECT_FALSE(reader.TakeFrame(body));
    }
  }
}

}  // namespace
}  // namespace platform::remote

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"
#include "platform/core/NumText.h"
#include "platform/core/Variant.h"

namespace platform {
namespace {

class NoMembers : public Dispatch {
 public:
  Variant Invoke(std::string_view, std::vector<Variant>&) override { return {}; }
  Variant GetProperty(std::string_view) override { return {}; }
  void PutProperty(std::string_view, const Variant&) override {}
  std::string ClassName() const override { return "NoMembers"; }
};

/* The conversions read the system code page and the date settings; both are
   put in place here and given back afterwards. */
class VariantConvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSystemCodePage(CP_GBK);
    savedSettings_ = GlobalFormatSettings();
    GlobalFormatSettings() = FormatSettings();
  }
  void TearDown() override {
    SetSystemCodePage(std::nullopt);
    GlobalFormatSettings() = savedSettings_;
  }

 private:
  FormatSettings savedSettings_;
};

/* Converts through the As... method of the asked kind, so that the table
   below checks those methods one by one. */
Variant Convert(const Variant& from, VarType to) {
  switch (to) {
    case VarType::Boolean:
      return Variant(from.AsBoolean());
    case VarType::SmallInt:
      return Variant(from.AsSmallInt());
    case VarType::Integer:
      return Variant(from.AsInteger());
    case VarType::Double:
      return Variant(from.AsDouble());
    case VarType::Currency:
      return Variant(from.AsCurrency());
    case VarType::Date:
      return Variant(from.AsDate());
    case VarType::String:
      return Variant(from.AsString());
    case VarType::OleStr:
      return Variant(from.AsWideString());
    case VarType::Dispatch:
      return Variant(from.AsDispatch());
    default:
      ADD_FAILURE() << "no As method for " << VarTypeName(to);
      return {};
  }
}

const std::optional<Variant> kRaises;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ConvCase {
  Variant from;
  VarType to;
  std::optional<Variant> expected;  // kRaises: EVariantError
};

// One row per rule; the kinds are named by the Variant constructors.
const ConvCase kConversions[] = {
    // Booleans: true is -1 and "True".
    {Variant(true), VarType::Integer, Variant(-1)},
    {Variant(true), VarType::SmallInt, Variant(int16_t{-1})},
    {Variant(false), VarType::Integer, Variant(0)},
    {Variant(true), VarType::Double, Variant(-1.0)},
    {Variant(true), VarType::Currency, Variant(Currency{-10000})},
    {Variant(true), VarType::String, Variant("True")},
    {Variant(false), VarType::String, Variant("False")},
    {Variant(true), VarType::OleStr, Variant(u"True")},
    // Text to Boolean: the words in any case, or a number.
    {Variant("True"), VarType::Boolean, Variant(true)},
    {Variant("fALSE"), VarType::Boolean, Variant(false)},
    {Variant(u"TRUE"), VarType::Boolean, Variant(true)},
    {Variant("0"), VarType::Boolean, Variant(false)},
    {Variant("2"), VarType::Boolean, Variant(true)},
    {Variant(" -0.5 "), VarType::Boolean, Variant(true)},
    {Variant("0.0"), VarType::Boolean, Variant(false)},
    {Variant("yes"), VarType::Boolean, kRaises},
    {Variant(""), VarType::Boolean, kRaises},
    // Numbers to Boolean: non-zero is true.
    {Variant(0), VarType::Boolean, Variant(false)},
    {Variant(int16_t{-3}), VarType::Boolean, Variant(true)},
    {Variant(0.25), VarType::Boolean, Variant(true)},
    {Variant(0.0), VarType::Boolean, Variant(false)},
    {Variant(Currency{1}), VarType::Boolean, Variant(true)},
    {Variant(DateTime{0}), VarType::Boolean, Variant(false)},
    // Fractions to whole numbers: halves to even; out of range raises.
    {Variant(2.5), VarType::Integer, Variant(2)},
    {Variant(3.5), VarType::Integer, Variant(4)},
    {Variant(-2.5), VarType::Integer, Variant(-2)},
    {Variant(-3.5), VarType::Integer, Variant(-4)},
    {Variant(2.4999), VarType::Integer, Variant(2)},
    {Variant(2147483647.0), VarType::Integer, Variant(INT32_MAX)},
    {Variant(2147483647.4), VarType::Integer, Variant(INT32_MAX)},
    {Variant(2147483647.5), VarType::Integer, kRaises},
    {Variant(-2147483648.0), VarType::Integer, Variant(INT32_MIN)},
    {Variant(-2147483649.0), VarType::Integer, kRaises},
    {Variant(1e300), VarType::Integer, kRaises},
    {Variant(kNaN), VarType::Integer, kRaises},
    {Variant(32767), VarType::SmallInt, Variant(int16_t{32767})},
    {Variant(32768), VarType::SmallInt, kRaises},
    {Variant(-32769), VarType::SmallInt, kRaises},
    {Variant(-32767.5), VarType::SmallInt, Variant(int16_t{-32768})},
    {Variant(Currency{25000}), VarType::Integer, Variant(2)},
    {Variant(Currency{35000}), VarType::Integer, Variant(4)},
    {Variant(Currency{-25000}), VarType::Integer, Variant(-2)},
    {Variant(Currency{-35001}), VarType::Integer, Variant(-4)},
    {Variant(Currency{-34999}), VarType::Integer, Variant(-3)},
    {Variant(Currency{INT64_MAX}), VarType::Integer, kRaises},
    {Variant(DateTime{45000.5}), VarType::Integer, Variant(45000)},
    {Variant(DateTime{45001.5}), VarType::Integer, Variant(45002)},
    {Variant(int16_t{-7}), VarType::Integer, Variant(-7)},
    // Text to whole numbers.
    {Variant("42"), VarType::Integer, Variant(42)},
    {Variant("  42  "), VarType::Integer, Variant(42)},
    {Variant("-7"), VarType::Integer, Variant(-7)},
    {Variant("+7"), VarType::SmallInt, Variant(int16_t{7})},
    {Variant("2.5"), VarType::Integer, Variant(2)},
    {Variant("3.5"), VarType::Integer, Variant(4)},
    {Variant("1e3"), VarType::Integer, Variant(1000)},
    {Variant("$FF"), VarType::Integer, Variant(255)},
    {Variant("0x10"), VarType::Integer, Variant(16)},
    {Variant("true"), VarType::Integer, Variant(-1)},
    {Variant(u"42"), VarType::Integer, Variant(42)},
    {Variant("2147483648"), VarType::Integer, kRaises},
    {Variant("abc"), VarType::Integer, kRaises},
    {Variant(""), VarType::Integer, kRaises},
    {Variant("12abc"), VarType::Integer, kRaises},
    {Variant("1,5"), VarType::Integer, kRaises},
    {Variant("- 5"), VarType::Integer, kRaises},
    // Floating numbers.
    {Variant(7), VarType::Double, Variant(7.0)},
    {Variant("1.5"), VarType::Double, Variant(1.5)},
    {Variant(" -2.25E2 "), VarType::Double, Variant(-225.0)},
    {Variant(".5"), VarType::Double, Variant(0.5)},
    {Variant("5."), VarType::Double, Variant(5.0)},
    {Variant("1e-400"), VarType::Double, Variant(0.0)},
    {Variant("1e400"), VarType::Double, kRaises},
    {Variant("inf"), VarType::Double, kRaises},
    {Variant("nan"), VarType::Double, kRaises},
    {Variant("1.5.2"), VarType::Double, kRaises},
    {Variant(Currency{15000}), VarType::Double, Variant(1.5)},
    {Variant(DateTime{1.25}), VarType::Double, Variant(1.25)},
    // Currency: four decimals, halves to even, exact for long amounts.
    {Variant("1.23456"), VarType::Currency, Variant(Currency{12346})},
    {Variant("0.00005"), VarType::Currency, Variant(Currency{0})},
    {Variant("0.00015"), VarType::Currency, Variant(Currency{2})},
    {Variant("-0.00015"), VarType::Currency, Variant(Currency{-2})},
    {Variant("0.000050001"), VarType::Currency, Variant(Currency{1})},
    {Variant("922337203685477.5807"), VarType::Currency, Variant(Currency{INT64_MAX})},
    {Variant("-922337203685477.5808"), VarType::Currency, Variant(Currency{INT64_MIN})},
    {Variant("922337203685477.5808"), VarType::Currency, kRaises},
    {Variant("1e3"), VarType::Currency, Variant(Currency{10000000})},
    {Variant("abc"), VarType::Currency, kRaises},
    {Variant(1.5), VarType::Currency, Variant(Currency{15000})},
    {Variant(1e300), VarType::Currency, kRaises},
    {Variant(3), VarType::Currency, Variant(Currency{30000})},
    // Numbers to text.
    {Variant(42), VarType::String, Variant("42")},
    {Variant(int16_t{-5}), VarType::String, Variant("-5")},
    {Variant(1.5), VarType::String, Variant("1.5")},
    {Variant(1e20), VarType::String, Variant("1E20")},
    {Variant(Currency{15000}), VarType::String, Variant("1.5")},
    {Variant(Currency{-1}), VarType::String, Variant("-0.0001")},
    {Variant(Currency{1000000}), VarType::String, Variant("100")},
    {Variant(Currency{INT64_MIN}), VarType::String, Variant("-922337203685477.5808")},
    // Dates to and from text, by the short date and long time formats.
    {Variant(DateTime{45000}), VarType::String, Variant("2023/03/15")},
    {Variant(DateTime{45000.5}), VarType::String, Variant("2023/03/15 12:00:00")},
    {Variant(DateTime{45000}), VarType::OleStr, Variant(u"2023/03/15")},
    {Variant("2024/01/05"), VarType::Date, Variant(DateTime{45296})},
    {Variant("2024/01/05 06:00"), VarType::Date, Variant(DateTime{45296.25})},
    {Variant(u"2024/1/5"), VarType::Date, Variant(DateTime{45296})},
    {Variant("2024/02/30"), VarType::Date, kRaises},
    {Variant("abc"), VarType::Date, kRaises},
    {Variant(2.5), VarType::Date, Variant(DateTime{2.5})},
    {Variant(7), VarType::Date, Variant(DateTime{7})},
    // Wide and byte strings meet in the system code page (936 here).
    {Variant(u"确定"), VarType::String, Variant("确定")},
    {Variant("确定"), VarType::OleStr, Variant(u"确定")},
    {Variant("abc"), VarType::String, Variant("abc")},
    // Empty reads as nothing of each kind.
    {Variant(), VarType::Boolean, Variant(false)},
    {Variant(), VarType::Integer, Variant(0)},
    {Variant(), VarType::SmallInt, Variant(int16_t{0})},
    {Variant(), VarType::Double, Variant(0.0)},
    {Variant(), VarType::Currency, Variant(Currency{0})},
    {Variant(), VarType::Date, Variant(DateTime{0})},
    {Variant(), VarType::String, Variant("")},
    {Variant(), VarType::OleStr, Variant(u"")},
    {Variant(), VarType::Dispatch, Variant(DispatchPtr())},
    // Null, arrays and objects convert to nothing else.
    {Variant::Null(), VarType::Boolean, kRaises},
    {Variant::Null(), VarType::Integer, kRaises},
    {Variant::Null(), VarType::Double, kRaises},
    {Variant::Null(), VarType::Currency, kRaises},
    {Variant::Null(), VarType::Date, kRaises},
    {Variant::Null(), VarType::String, kRaises},
    {Variant::Null(), VarType::OleStr, kRaises},
    {Variant::Null(), VarType::Dispatch, kRaises},
    {VarArrayOf({1}), VarType::Integer, kRaises},
    {VarArrayOf({1}), VarType::String, kRaises},
    {VarArrayOf({1}), VarType::OleStr, kRaises},
    {VarArrayOf({1}), VarType::Boolean, kRaises},
    {Variant(DispatchPtr(std::make_shared<NoMembers>())), VarType::String, kRaises},
    {Variant(DispatchPtr(std::make_shared<NoMembers>())), VarType::Double, kRaises},
    {Variant(5), VarType::Dispatch, kRaises},
    {Variant("x"), VarType::Dispatch, kRaises},
};

TEST_F(VariantConvTest, ConversionTable) {
  int row = 0;
  for (const ConvCase& c : kConversions) {
    SCOPED_TRACE(testing::Message()
                 << "row " << row++ << ": " << VarTypeName(c.from.Type()) << " "
                 << VarToStr(c.from.IsArray() || c.from.Type() == VarType::Dispatch ? Variant("-")
                                                                                    : c.from)
                 << " to " << VarTypeName(c.to));
    if (!c.expected) {
      EXPECT_THROW(Convert(c.from, c.to), EVariantError);
      // ChangeType raises the same way, except that Empty and Null stay.
      if (!c.from.IsNull()) {
        EXPECT_THROW(c.from.ChangeType(c.to), EVariantError);
      }
      continue;
    }
    EXPECT_EQ(Convert(c.from, c.to), *c.expected);
    if (!c.from.IsEmpty()) {
      EXPECT_EQ(c.from.ChangeType(c.to), *c.expected);
    }
  }
}

TEST_F(VariantConvTest, ErrorMessagesNameBothKinds) {
  const struct {
    Variant from;
    VarType to;
    const char* message;
  } cases[] = {
      {Variant("abc"), VarType::Integer,
       "Could not convert variant of type (String) into type (Integer)"},
      {Variant::Null(), VarType::String,
       "Could not convert variant of type (Null) into type (String)"},
      {Variant(u"x"), VarType::Boolean,
       "Could not convert variant of type (OleStr) into type (Boolean)"},
      {VarArrayOf({}), VarType::String,
       "Could not convert variant of type (Array of Variant) into type (String)"},
      {Variant(1e10), VarType::Integer,
       "Overflow while converting variant of type (Double) into type (Integer)"},
      {Variant(40000), VarType::SmallInt,
       "Overflow while converting variant of type (Integer) into type (SmallInt)"},
  };
  for (const auto& c : cases) {
    try {
      Convert(c.from, c.to);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const EVariantError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST_F(VariantConvTest, ChangeTypeKeepsEmptyAndNull) {
  EXPECT_TRUE(Variant().ChangeType(VarType::Integer).IsEmpty());
  EXPECT_TRUE(Variant::Null().ChangeType(VarType::String).IsNull());
  EXPECT_TRUE(Variant(5).ChangeType(VarType::Empty).IsEmpty());
  EXPECT_TRUE(Variant("x").ChangeType(VarType::Null).IsNull());
  const Variant array = VarArrayOf({1, "a"});
  EXPECT_EQ(array.ChangeType(VarType::Array), array);
  EXPECT_THROW(Variant(5).ChangeType(VarType::Array), EVariantError);
  const Variant object{DispatchPtr(std::make_shared<NoMembers>())};
  EXPECT_EQ(object.ChangeType(VarType::Dispatch), object);
}

TEST_F(VariantConvTest, WideTextGoesThroughTheSystemCodePage) {
  SetSystemCodePage(CP_OEM_US);
  EXPECT_EQ(Variant(u"确定").AsString(), "??");
  EXPECT_EQ(VarToStr(Variant(u"ab")), "ab");
  SetSystemCodePage(CP_GBK);
  EXPECT_EQ(VarToWideStr(Variant("确定")), u"确定");
  EXPECT_EQ(VarToWideStr(Variant()), u"");
  EXPECT_EQ(VarToStr(Variant()), "");
  EXPECT_EQ(VarToStr(Variant(1.5)), "1.5");
  EXPECT_THROW(VarToStr(VarArrayOf({})), EVariantError);
}

TEST_F(VariantConvTest, DatesFollowTheSettings) {
  GlobalFormatSettings().ShortDateFormat = "dd-mm-yyyy";
  GlobalFormatSettings().DateSeparator = '-';
  EXPECT_EQ(Variant(DateTime{45296}).AsString(), "05-01-2024");
  EXPECT_EQ(Variant("05-01-2024").AsDate(), DateTime{45296});
  EXPECT_THROW(Variant("2024/01/05").AsDate(), EVariantError);
}

TEST(CurrencyFromDouble, RoundsHalfToEvenAtFourDecimals) {
  const struct {
    double value;
    int64_t scaled;
  } cases[] = {
      // Each of these times 10000 is exactly a half in binary.
      {0.00005, 0},     {-0.00025, -2}, {0.00035, 4},       {2.00005, 20000},
      {1.23455, 12346}, {1.5, 15000},   {-1.23456, -12346}, {-900000000000.0, -9000000000000000},
  };
  for (const auto& c : cases) EXPECT_EQ(Currency::FromDouble(c.value).Scaled, c.scaled) << c.value;
  EXPECT_THROW(Currency::FromDouble(922337203685478.0), EVariantError);
  EXPECT_THROW(Currency::FromDouble(-1e19), EVariantError);
  EXPECT_THROW(Currency::FromDouble(kNaN), EVariantError);
  EXPECT_DOUBLE_EQ(Currency{-12345}.ToDouble(), -1.2345);
}

// ---------------------------------------------------------------------------
// Number texts

TEST(NumText, FloatToStrGeneralForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {-1.0, "-1"},
      {100.0, "100"},
      {0.1, "0.1"},
      {-0.5, "-0.5"},
      {1.5, "1.5"},
      {0.1 + 0.2, "0.3"},  // 15 digits hide the binary error
      {1.0 / 3.0, "0.333333333333333"},
      {2.0 / 3.0, "0.666666666666667"},
      {0.0001, "0.0001"},  // the smallest value still written plainly
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {1.5e-5, "1.5E-5"},
      {-1.25e-10, "-1.25E-10"},
      {123456789012345.0, "123456789012345"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E15"},
      {1234567890123456.0, "1.23456789012346E15"},
      {9999999999999999.0, "1E16"},
      {1e20, "1E20"},
      {-2.5e100, "-2.5E100"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      {kNaN, "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.text;
}

TEST(NumText, TryStrToFloatGrammar) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"1.5", 1.5},
      {"  1.5  ", 1.5},
      {"-1.5e3", -1500.0},
      {"+2", 2.0},
      {"1E-5", 1e-5},
      {".5", 0.5},
      {"5.", 5.0},
      {"007", 7.0},
      {"1e+2", 100.0},
      {"1e-400", 0.0},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {"e1", std::nullopt},
      {"1,5", std::nullopt},
      {"1 2", std::nullopt},
      {"--1", std::nullopt},
      {"inf", std::nullopt},
      {"nan", std::nullopt},
      {"0x10", std::nullopt},
      {"\t1", std::nullopt},
      {"1e400", std::nullopt},
      {"1e99999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(TryStrToFloat(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumText, FloatTextRoundTripsWithinFifteenDigits) {
  std::mt19937_64 random(20240105);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int k = 0; k < 20000; ++k) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    const std::string text = FloatToStr(value);
    const std::optional<double> back = TryStrToFloat(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_LE(std::fabs(*back - value), std::fabs(value) * 1e-14) << text;
    // Reading and writing again gives the same text.
    EXPECT_EQ(FloatToStr(*back), text);
  }
}

TEST(NumText, IntegerTexts) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  const struct {
    int64_t value;
    int digits;
    const char* text;
  } cases[] = {
      {255, 4, "00FF"},
      {0, 0, "0"},
      {0xABC, 1, "ABC"},
      {-1, 8, "FFFFFFFFFFFFFFFF"},
      {16, 1, "10"},
      {7, 0, "7"},
      {INT64_MIN, 2, "8000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(IntToHex(c.value, c.digits), c.text);
}

}  // namespace
}  // namespace platform

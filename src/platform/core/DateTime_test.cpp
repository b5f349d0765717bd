#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"

namespace platform {
namespace {

DateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return ComposeDateTime(EncodeDate(y, m, d), EncodeTime(h, n, s, ms));
}

struct Parts {
  int y, m, d, h, n, s, ms;
  friend bool operator==(const Parts&, const Parts&) = default;
};

Parts Decode(DateTime value) {
  Parts p{};
  DecodeDate(value, p.y, p.m, p.d);
  DecodeTime(value, p.h, p.n, p.s, p.ms);
  return p;
}

std::ostream& operator<<(std::ostream& os, const Parts& p) {
  return os << p.y << '-' << p.m << '-' << p.d << ' ' << p.h << ':' << p.n << ':' << p.s << '.'
            << p.ms;
}

// ---------------------------------------------------------------------------
// Encoding and decoding

TEST(DateEncoding, KnownDates) {
  // Day numbers and weekdays checked against an independent calendar.
  const struct {
    int y, m, d;
    double value;
    int dayOfWeek;  // 1 = Sunday
  } cases[] = {
      {1899, 12, 30, 0, 7},       {1899, 12, 29, -1, 6},     {1900, 1, 1, 2, 2},
      {1900, 2, 28, 60, 4},       {1900, 3, 1, 61, 5},       {2000, 2, 29, 36585, 3},
      {2023, 3, 15, 45000, 4},    {2024, 1, 5, 45296, 6},    {2024, 2, 29, 45351, 5},
      {1752, 9, 14, -53797, 5},   {1600, 2, 29, -109512, 3}, {1, 1, 1, -693593, 2},
      {9999, 12, 31, 2958465, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    DateTime encoded;
    ASSERT_TRUE(TryEncodeDate(c.y, c.m, c.d, encoded));
    EXPECT_EQ(encoded.Value, c.value);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d).Value, c.value);
    EXPECT_EQ(Decode(DateTime{c.value}), (Parts{c.y, c.m, c.d, 0, 0, 0, 0}));
    EXPECT_EQ(DayOfWeek(DateTime{c.value}), c.dayOfWeek);
  }
}

TEST(DateEncoding, EveryDayOfTheRangeRoundTrips) {
  // Walks all days from 1 January 0001 to 31 December 9999: each decodes to
  // the calendar day after the previous one, encodes back to itself and
  // moves the weekday on by one.
  auto daysIn = [](int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
  };
  int y = 1, m = 1, d = 1, dow = 2;
  for (int day = -693593; day <= 2958465; ++day) {
    int dy = 0, dm = 0, dd = 0;
    DecodeDate(DateTime{static_cast<double>(day)}, dy, dm, dd);
    if (dy != y || dm != m || dd != d) {
      FAIL() << "day " << day << " decodes to " << dy << '-' << dm << '-' << dd << ", expected "
             << y << '-' << m << '-' << d;
    }
    DateTime back;
    if (!TryEncodeDate(y, m, d, back) || back.Value != day)
      FAIL() << "day " << day << " encodes to " << back.Value;
    if (DayOfWeek(DateTime{static_cast<double>(day)}) != dow) FAIL() << "weekday of " << day;
    dow = dow % 7 + 1;
    if (++d > daysIn(y, m)) {
      d = 1;
      if (++m > 12) m = 1, ++y;
    }
  }
  EXPECT_EQ(y, 10000);
}

TEST(DateEncoding, InvalidDatesAndTimesAreRefused) {
  const struct {
    int y, m, d;
  } dates[] = {
      {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1},   {2023, 2, 29}, {1900, 2, 29}, {2024, 2, 30},
      {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1}, {2024, 1, 0},  {2024, 1, 32},
  };
  for (const auto& c : dates) {
    DateTime result{123};
    EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, result)) << c.y << '-' << c.m << '-' << c.d;
    EXPECT_EQ(result.Value, 123);
    EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError);
  }
  const struct {
    int h, n, s, ms;
  } times[] = {{24, 0, 0, 0}, {-1, 0, 0, 0},   {0, 60, 0, 0},
               {0, 0, 60, 0}, {0, 0, 0, 1000}, {0, 0, 0, -1}};
  for (const auto& c : times) {
    DateTime result;
    EXPECT_FALSE(TryEncodeTime(c.h, c.n, c.s, c.ms, result)) << c.h << ':' << c.n << ':' << c.s;
    EXPECT_THROW(EncodeTime(c.h, c.n, c.s, c.ms), EConvertError);
  }
  EXPECT_EQ(EncodeTime(12, 0, 0, 0).Value, 0.5);
  EXPECT_EQ(EncodeTime(23, 59, 59, 999).Value, 86399999.0 / 86400000.0);
}

TEST(DateEncoding, LeapYears) {
  for (int year : {4, 1600, 1904, 2000, 2024, 2400, 9996}) EXPECT_TRUE(IsLeapYear(year)) << year;
  for (int year : {1, 1700, 1800, 1900, 2023, 2100, 9999}) EXPECT_FALSE(IsLeapYear(year)) << year;
}

TEST(DateEncoding, TimeOfDayAndNegativeValues) {
  const struct {
    double value;
    Parts parts;
  } cases[] = {
      {0.25, {1899, 12, 30, 6, 0, 0, 0}},
      {-0.5, {1899, 12, 30, 12, 0, 0, 0}},  // the fraction counts forward
      {-1.0, {1899, 12, 29, 0, 0, 0, 0}},
      {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
      {-2.75, {1899, 12, 28, 18, 0, 0, 0}},
      {-693593.5, {1, 1, 1, 12, 0, 0, 0}},
      {45296.5 + 1.0 / 86400000, {2024, 1, 5, 12, 0, 0, 1}},
      {45296.999999999, {2024, 1, 6, 0, 0, 0, 0}},  // rounds to the millisecond
      {2958465.99999, {9999, 12, 31, 23, 59, 59, 136}},
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(DateTime{c.value}), c.parts) << c.value;
}

TEST(DateEncoding, ComposeFollowsTheNegativeRule) {
  EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)).Value, -1.25);
  EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 30), EncodeTime(6, 0, 0, 0)).Value, 0.25);
  EXPECT_EQ(ComposeDateTime(EncodeDate(1900, 1, 1), EncodeTime(18, 0, 0, 0)).Value, 2.75);
  // Composing and decoding give back the parts on both sides of the epoch.
  for (int year : {1, 1066, 1899, 1900, 2024, 9999}) {
    const DateTime v = At(year, 12, 29, 7, 8, 9, 10);
    EXPECT_EQ(Decode(v), (Parts{year, 12, 29, 7, 8, 9, 10})) << year;
  }
}

TEST(DateEncoding, ValuesOutsideTheRangeDecodeToZeros) {
  const double cases[] = {2958466.0,
                          -693594.0,
                          1e300,
                          -1e300,
                          std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
  for (double value : cases) {
    EXPECT_EQ(Decode(DateTime{value}), (Parts{0, 0, 0, 0, 0, 0, 0})) << value;
    EXPECT_EQ(DayOfWeek(DateTime{value}), 0) << value;
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd mmm ddd hh:nn", DateTime{value}), "0000/00/00   00:00");
  }
}

// ---------------------------------------------------------------------------
// Formatting

class DateFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemCodePage(CP_GBK); }
  void TearDown() override { SetSystemCodePage(std::nullopt); }
  FormatSettings settings_;
};

TEST_F(DateFormatTest, Patterns) {
  const DateTime friday = At(2024, 1, 5, 14, 7, 9, 45);
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"yyyy-mm-dd", "2024-01-05"},
      {"yy/m/d", "24/1/5"},
      {"y", "24"},
      {"yyy", "2024"},
      {"YYYY", "2024"},
      {"mmm mmmm", "Jan January"},
      {"ddd dddd", "Fri Friday"},
      {"aaa aaaa", "Fri Friday"},
      {"ddddd", "2024/01/05"},
      {"dddddd", "2024/01/05"},
      {"hh:nn:ss.zzz", "14:07:09.045"},
      {"h:n:s.z", "14:7:9.45"},
      {"hhh zzzz", "14 045"},
      {"hh:mm", "14:07"},  // m right after h is the minute
      {"hh:mm:ss", "14:07:09"},
      {"mm/dd hh", "01/05 14"},
      {"h am/pm", "2 pm"},
      {"hh AM/PM", "02 PM"},
      {"h a/p", "2 p"},
      {"h A/P", "2 P"},
      {"h ampm", "2 PM"},
      {"t", "14:07"},
      {"tt", "14:07:09"},
      {"c", "2024/01/05 14:07:09"},
      {"", "2024/01/05 14:07:09"},
      {"'yyyy' yyyy", "yyyy 2024"},
      {"\"d\"d", "d5"},
      {"'unclosed", "unclosed"},
      {"q!", "q!"},
      {"yyyy年mm月dd日", "2024年01月05日"},
      {"亂yyyy", "亂2024"},  // the second byte of the first character is a "y"
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDateTime(c.pattern, friday, settings_), c.text) << c.pattern;
}

TEST_F(DateFormatTest, LeadBytesOnlyInDoubleByteCodePages) {
  // In a single-byte code page the same bytes are two characters, and the
  // second one is a year field.
  SetSystemCodePage(CP_OEM_US);
  EXPECT_EQ(FormatDateTime("亂", At(2024, 1, 5), settings_),
            "\x81"
            "24");
}

TEST_F(DateFormatTest, TwelveHourClockAroundMidnightAndNoon) {
  const struct {
    int h, n;
    const char* text;
  } cases[] = {
      {0, 30, "12:30 am"},
      {11, 59, "11:59 am"},
      {12, 0, "12:00 pm"},
      {23, 1, "11:01 pm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTime("h:nn am/pm", At(2024, 1, 5, c.h, c.n), settings_), c.text);
  }
  // The marker must come before the next hour field to count.
  EXPECT_EQ(FormatDateTime("hh h am/pm", At(2024, 1, 5, 15), settings_), "15 3 pm");
  // Quoted "am/pm" does not make a 12-hour clock.
  EXPECT_EQ(FormatDateTime("hh 'am/pm'", At(2024, 1, 5, 15), settings_), "15 am/pm");
}

TEST_F(DateFormatTest, SeparatorsAndNamesComeFromTheSettings) {
  settings_.DateSeparator = '-';
  settings_.TimeSeparator = '.';
  settings_.ShortMonthNames[0] = "一月";
  settings_.TimeAMString = "上午";
  const DateTime v = At(2024, 1, 5, 9, 30);
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn", v, settings_), "2024-01-05 09.30");
  EXPECT_EQ(FormatDateTime("mmm ampm", v, settings_), "一月 上午");
}

TEST_F(DateFormatTest, ShortFormsAndTheTimeRule) {
  const struct {
    DateTime value;
    const char* dateTime;
    const char* date;
    const char* time;
  } cases[] = {
      {At(2024, 1, 5), "2024/01/05", "2024/01/05", "00:00:00"},
      {At(2024, 1, 5, 0, 0, 0, 500), "2024/01/05", "2024/01/05", "00:00:00"},  // ms do not count
      {At(2024, 1, 5, 0, 0, 1), "2024/01/05 00:00:01", "2024/01/05", "00:00:01"},
      {DateTime{0.5}, "1899/12/30 12:00:00", "1899/12/30", "12:00:00"},
      {DateTime{-1.25}, "1899/12/29 06:00:00", "1899/12/29", "06:00:00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTimeToStr(c.value, settings_), c.dateTime);
    EXPECT_EQ(DateToStr(c.value, settings_), c.date);
    EXPECT_EQ(TimeToStr(c.value, settings_), c.time);
  }
}

TEST_F(DateFormatTest, SelfReferringSettingsStopAtTwoLevels) {
  settings_.ShortDateFormat = "c";
  EXPECT_EQ(FormatDateTime("c", At(2024, 1, 5, 14, 7, 9), settings_), "  14:07:09");
}

// ---------------------------------------------------------------------------
// Reading

class DateParseTest : public ::testing::Test {
 protected:
  // Two-number dates and two-digit years depend on the current year.
  ScopedClock clock_{[] { return At(2024, 6, 15, 10, 0, 0); }};
  FormatSettings settings_;
};

TEST_F(DateParseTest, Texts) {
  const double t1407 = (14 * 60 + 7) / 1440.0;
  const struct {
    const char* format;
    char separator;
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"yyyy/mm/dd", '/', "2024/01/05", 45296},
      {"yyyy/mm/dd", '/', " 2024 / 1 / 5 ", 45296},
      {"yyyy/mm/dd", '/', "2024/01/05/", 45296},
      {"yyyy/mm/dd", '/', "2024/01/05 14:07", 45296 + t1407},
      {"yyyy/mm/dd", '/', "2024/01/05 2:07 PM", 45296 + t1407},
      {"yyyy/mm/dd", '/', "2024/01/05 pm 2:07", 45296 + t1407},
      {"yyyy/mm/dd", '/', "2024/01/05 14:07:09.45", At(2024, 1, 5, 14, 7, 9, 45).Value},
      {"yyyy/mm/dd", '/', "1899/12/29 06:00", -1.25},
      {"yyyy/mm/dd", '/', "0001/01/01", -693593},
      {"yyyy/mm/dd", '/', "9999/12/31 23:59:59.999", At(9999, 12, 31, 23, 59, 59, 999).Value},
      {"yyyy/mm/dd", '/', "24/01/05", 45296},  // two-digit years: 1974..2073
      {"yyyy/mm/dd", '/', "74/01/05", EncodeDate(1974, 1, 5).Value},
      {"yyyy/mm/dd", '/', "73/01/05", EncodeDate(2073, 1, 5).Value},
      {"yyyy/mm/dd", '/', "024/01/05", EncodeDate(24, 1, 5).Value},  // three digits are a year
      {"yyyy/mm/dd", '/', "01/05", 45296},                           // month and day of this year
      {"yyyy/mm/dd", '/', "14:07", t1407},                           // a time alone
      {"yyyy/mm/dd", '/', "12", 0.5},
      {"yyyy/mm/dd", '/', "12 AM", 0.0},
      {"yyyy/mm/dd", '/', "12 PM", 0.5},
      {"yyyy/mm/dd", '/', "13 PM", std::nullopt},
      {"yyyy/mm/dd", '/', "0 AM", std::nullopt},
      {"yyyy/mm/dd", '/', "2024/02/30", std::nullopt},
      {"yyyy/mm/dd", '/', "2024-01-05", std::nullopt},
      {"yyyy/mm/dd", '/', "20240105", std::nullopt},
      {"yyyy/mm/dd", '/', "2024/01/05 xyz", std::nullopt},
      {"yyyy/mm/dd", '/', "2024/01/05 14:07 x", std::nullopt},
      {"yyyy/mm/dd", '/', "2024/01/05 25:00", std::nullopt},
      {"yyyy/mm/dd", '/', "10000/01/01", std::nullopt},
      {"yyyy/mm/dd", '/', "", std::nullopt},
      {"yyyy/mm/dd", '/', "abc", std::nullopt},
      {"dd-mm-yyyy", '-', "05-01-2024", 45296},
      {"dd-mm-yyyy", '-', "05-01", 45296},
      {"dd-mm-yyyy", '-', "05/01/2024", std::nullopt},
      {"m/d/yyyy", '/', "1/5/2024", 45296},
      {"m/d/yyyy", '/', "1/5", 45296},
      {"m/d/yyyy", '/', "13/5/2024", std::nullopt},
  };
  for (const auto& c : cases) {
    settings_.ShortDateFormat = c.format;
    settings_.DateSeparator = c.separator;
    DateTime result{-99};
    const bool ok = TryStrToDateTime(c.text, result, settings_);
    EXPECT_EQ(ok, c.value.has_value()) << '"' << c.text << "\" as " << c.format;
    if (ok && c.value) {
      EXPECT_NEAR(result.Value, *c.value, 1e-9) << c.text;
    }
  }
}

TEST_F(DateParseTest, WrittenTextReadsBack) {
  for (const char* format : {"yyyy/mm/dd", "dd/mm/yyyy", "mm/dd/yyyy"}) {
    settings_.ShortDateFormat = format;
    for (DateTime v : {At(1, 1, 1), At(1899, 12, 29, 6, 0, 0), At(2024, 2, 29, 23, 59, 59),
                       At(9999, 12, 31, 0, 0, 1)}) {
      DateTime back;
      ASSERT_TRUE(TryStrToDateTime(DateTimeToStr(v, settings_), back, settings_))
          << DateTimeToStr(v, settings_);
      EXPECT_EQ(back, v) << DateTimeToStr(v, settings_);
    }
  }
}

// ---------------------------------------------------------------------------
// The clock

TEST(ClockOverride, ScopesNestAndRestore) {
  const DateTime first = At(2024, 1, 5, 14, 7, 9);
  const DateTime second = At(1999, 12, 31, 23, 59, 59);
  ScopedClock outer([&] { return first; });
  EXPECT_EQ(Now(), first);
  EXPECT_EQ(Date(), EncodeDate(2024, 1, 5));
  {
    ScopedClock inner([&] { return second; });
    EXPECT_EQ(Now(), second);
    EXPECT_EQ(Date(), EncodeDate(1999, 12, 31));
  }
  EXPECT_EQ(Now(), first);
}

TEST(ClockOverride, TodayBeforeTheEpochKeepsItsDay) {
  ScopedClock clock([] { return DateTime{-1.25}; });
  EXPECT_EQ(Date().Value, -1.0);
}

}  // namespace
}  // namespace platform

#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

/* The platform's date-time number: whole days since 30 December 1899, the
   fraction is the time of day. Valid values run from 1 January of year 1
   (-693593) to 31 December 9999 (2958465). Before 30 December 1899 the whole
   part is negative but the fraction still counts the time forward from
   midnight: -1.25 is 29 December 1899 06:00, and -0.5 is the same moment as
   0.5 (30 December 1899 12:00). Values are read to the millisecond. */
struct DateTime {
  double Value = 0;
  friend bool operator==(DateTime, DateTime) = default;
};

/* The locale settings the platform's text conversions use. Tests and the
   950 start-up rule change them through GlobalFormatSettings(). Names are
   indexed from 0: month 1 is ShortMonthNames[0], Sunday is ShortDayNames[0]. */
struct FormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string ShortTimeFormat = "hh:nn";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  /* A year read from text with one or two digits is placed in the hundred
     years that start this many years before the current year (0: in the
     current century). */
  int TwoDigitYearCenturyWindow = 50;
};
FormatSettings& GlobalFormatSettings();

bool IsLeapYear(int year);
/* False for a year outside 1..9999 or a month or day that does not exist. */
bool TryEncodeDate(int year, int month, int day, DateTime& result);
/* False unless hour 0..23, minute and second 0..59 and msec 0..999. */
bool TryEncodeTime(int hour, int minute, int second, int msec, DateTime& result);
/* As the Try forms; raise EConvertError ("Invalid argument to date encode",
   "Invalid argument to time encode") on invalid input. */
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeTime(int hour, int minute, int second, int msec);
/* A date plus a time of day, by the rule for dates before 1899 (the time is
   subtracted from a negative date). */
DateTime ComposeDateTime(DateTime date, DateTime time);
/* Decoding a value outside the valid range (or not a number) gives all parts
   0; neither raises. */
void DecodeDate(DateTime value, int& year, int& month, int& day);
void DecodeTime(DateTime value, int& hour, int& minute, int& second, int& msec);
/* 1 = Sunday ... 7 = Saturday; 0 for a value outside the valid range. */
int DayOfWeek(DateTime value);

/* The current moment and today, from the clock (the system clock, local
   time, unless a test has put its own in place). Date() is Now() without
   its time of day. */
DateTime Now();
DateTime Date();
using Clock = std::function<DateTime()>;
/* Puts a clock in place for the lifetime of the object; the previous clock
   comes back on destruction. Scopes nest. */
class ScopedClock {
 public:
  explicit ScopedClock(Clock clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock previous_;
};

/* Formats a date-time by the platform's pattern rules (letters in any case):
     y, yy  two-digit year; yyy, yyyy  four-digit year
     m, mm  month (mm zero-padded); mmm, mmmm  short and long month name;
            m or mm right after an h token is the minute
     d, dd  day; ddd, dddd  short and long day name; ddddd, dddddd  short date
     h, hh  hour (12-hour when an am/pm or a/p follows before the next h)
     n, nn  minute;  s, ss  second;  z  millisecond;  zzz  padded to 3
     t, tt  short and long time format;  c  short date, then the long time
            when hour, minute or second is not zero
     am/pm, a/p  the pattern's own letters for before / after noon;
     ampm   TimeAMString / TimePMString
     /  :   the separators of the settings
     '..' and ".."  literal text; any other character is copied.
   An empty pattern means "c". A value outside the valid range formats with
   its parts as 0 and empty names. */
std::string FormatDateTime(std::string_view pattern, DateTime value,
                           const FormatSettings& settings = GlobalFormatSettings());

/* Short date, then the long time when the time part is not zero (pattern "c"). */
std::string DateTimeToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());
/* Pattern "ddddd" and "tt". */
std::string DateToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());
std::string TimeToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());

/* Reads a date, a time or both (date first) and nothing else but blanks. A
   date is two or three numbers with the date separator, in the order of the
   short date format (year, month, day when it starts with y; day first for
   d; month first otherwise); with two numbers the year is the clock's
   current year, and a year written with one or two digits is placed by
   TwoDigitYearCenturyWindow. A time is hour[:minute[:second[.msec]]] with
   the time separator and an optional AM/PM (or the settings' strings) before
   or after it. False when the text is not a date or the date does not exist. */
bool TryStrToDateTime(std::string_view text, DateTime& result,
                      const FormatSettings& settings = GlobalFormatSettings());

}  // namespace platform

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

/* The platform's date-time number: whole days since 30 December 1899, the
   fraction is the time of day. Valid values run from 1 January of year 1
   (-693593) to 31 December 9999 (2958465). */
struct DateTime {
  double Value = 0;
  friend bool operator==(DateTime, DateTime) = default;
};

/* The locale settings the platform's text conversions use. Tests and the
   950 start-up rule change them through GlobalFormatSettings(). */
struct FormatSettings {
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char DecimalSeparator = '.';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongTimeFormat = "hh:nn:ss";
};
FormatSettings& GlobalFormatSettings();

bool IsLeapYear(int year);
/* False for a year outside 1..9999 or a month or day that does not exist. */
bool TryEncodeDate(int year, int month, int day, DateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, DateTime& result);
/* As the Try forms; raise EConvertError on invalid input. */
DateTime EncodeDate(int year, int month, int day);
DateTime EncodeTime(int hour, int minute, int second, int msec);
/* Decoding a value outside the valid range gives all parts 0. */
void DecodeDate(DateTime value, int& year, int& month, int& day);
void DecodeTime(DateTime value, int& hour, int& minute, int& second, int& msec);
/* 1 = Sunday ... 7 = Saturday. */
int DayOfWeek(DateTime value);

/* The current moment and today, from the clock (the system clock unless a
   test has put its own in place). */
DateTime Now();
DateTime Date();
using Clock = std::function<DateTime()>;
/* Puts a clock in place for the lifetime of the object; the previous clock
   comes back on destruction. */
class ScopedClock {
 public:
  explicit ScopedClock(Clock clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  Clock previous_;
};

/* Formats a date-time by the platform's pattern rules: y, yy, yyyy, m, mm,
   mmm, mmmm, d, dd, ddd, dddd, ddddd (short date), h, hh, n, nn, s, ss, z,
   zzz, t, tt, am/pm, a/p, "/" and ":" (the separators of the settings),
   c, quoted text in '' or "". An empty pattern means "c". */
std::string FormatDateTime(std::string_view pattern, DateTime value,
                           const FormatSettings& settings = GlobalFormatSettings());

/* Short date, then the long time when the time part is not zero. */
std::string DateTimeToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());
std::string DateToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());
std::string TimeToStr(DateTime value, const FormatSettings& settings = GlobalFormatSettings());

/* Reads a date, a time or both (date first) written in the order of the
   short date format with the date separator, and a time with the time
   separator. False when the text is not a date. */
bool TryStrToDateTime(std::string_view text, DateTime& result,
                      const FormatSettings& settings = GlobalFormatSettings());

}  // namespace platform

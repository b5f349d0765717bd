#include "platform/core/DateTime.h"

#include <cmath>
#include <cstdint>
#include <ctime>
#include <utility>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"

namespace platform {

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kMinDay = -693593;  // 1 January 0001
constexpr int64_t kMaxDay = 2958465;  // 31 December 9999

// Days from 1 January 1970 for a proleptic Gregorian date, and back
// (H. Hinnant's civil calendar algorithms; exact for every year we accept).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

/* A date-time split into its day number (days since 30 December 1899) and
   the milliseconds into that day, by the platform's rule: the value is
   rounded to the millisecond, the day is truncated toward zero and the time
   of day is the magnitude of what is left. */
struct Split {
  bool Valid = false;
  int64_t Day = 0;
  int64_t Ms = 0;
};

Split SplitValue(DateTime value) {
  Split s;
  // Checked before multiplying so that huge values never reach the integer.
  if (!std::isfinite(value.Value) || value.Value < kMinDay - 1.0 || value.Value > kMaxDay + 1.0) {
    return s;
  }
  const auto ms =
      static_cast<int64_t>(std::nearbyint(value.Value * static_cast<double>(kMsPerDay)));
  s.Day = ms / kMsPerDay;
  s.Ms = (ms < 0 ? -ms : ms) % kMsPerDay;
  s.Valid = s.Day >= kMinDay && s.Day <= kMaxDay;
  return s;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

DateTime SystemNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  DateTime date;
  DateTime time;
  if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date)) return {};
  // A leap second shows as second 60; keep it within the minute.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  TryEncodeTime(local.tm_hour, local.tm_min, second, static_cast<int>(ts.tv_nsec / 1000000), time);
  return ComposeDateTime(date, time);
}

Clock& CurrentClock() {
  static Clock clock;
  return clock;
}

// ---------------------------------------------------------------------------
// FormatDateTime

bool IsLeadByte(unsigned char c, int codePage) {
  return (codePage == CP_GBK || codePage == CP_BIG5) && c >= 0x81 && c <= 0xFE;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k) {
    if (Upper(text[pos + k]) != Upper(prefix[k])) return false;
  }
  return true;
}

class DateFormatter {
 public:
  DateFormatter(DateTime value, const FormatSettings& settings)
      : settings_(settings), codePage_(SystemCodePage()) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, minute_, second_, msec_);
    dayOfWeek_ = DayOfWeek(value);
  }

  std::string Run(std::string_view pattern) {
    Append(pattern.empty() ? std::string_view("c") : pattern);
    return std::move(out_);
  }

 private:
  void Number(int value, int digits) {
    std::string text = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
    if (value < 0) text.insert(0, 1, '-');
    out_ += text;
  }

  template <size_t N>
  void Name(const std::array<std::string, N>& names, int oneBased) {
    if (oneBased >= 1 && oneBased <= static_cast<int>(N)) out_ += names[oneBased - 1];
  }

  // True when an am/pm marker follows before the next hour letter, so that
  // the hour is written on the 12-hour clock.
  bool AmPmFollows(std::string_view f, size_t pos) const {
    bool quoted = false;
    while (pos < f.size()) {
      const char c = f[pos];
      if (IsLeadByte(static_cast<unsigned char>(c), codePage_)) {
        pos += 2;
        continue;
      }
      if ((c == 'a' || c == 'A') && !quoted) {
        return StartsWithNoCase(f, pos, "am/pm") || StartsWithNoCase(f, pos, "a/p") ||
               StartsWithNoCase(f, pos, "ampm");
      }
      if (c == 'h' || c == 'H') return false;
      if (c == '\'' || c == '"') quoted = !quoted;
      ++pos;
    }
    return false;
  }

  // Nested formats (c, ddddd, t) go two levels deep at most, so a settings
  // pattern that names itself cannot recurse without end.
  void Append(std::string_view f) {
    if (depth_ >= 2) return;
    ++depth_;
    size_t i = 0;
    while (i < f.size()) {
      const char starter = f[i];
      if (IsLeadByte(static_cast<unsigned char>(starter), codePage_)) {
        out_.append(f.substr(i, 2));
        i += 2;
        continue;
      }
      ++i;
      char token = Upper(starter);
      if (token >= 'A' && token <= 'Z') {
        if (token == 'M' && lastToken_ == 'H') token = 'N';
        lastToken_ = token;
      }
      // Repeats of exactly the same character form one field.
      int count = 1;
      auto takeCount = [&] {
        while (i < f.size() && f[i] == starter) {
          ++count;
          ++i;
        }
      };
      switch (token) {
        case 'Y':
          takeCount();
          if (count <= 2) {
            Number(year_ % 100, 2);
          } else {
            Number(year_, 4);
          }
          break;
        case 'M':
          takeCount();
          if (count <= 2) {
            Number(month_, count);
          } else if (count == 3) {
            Name(settings_.ShortMonthNames, month_);
          } else {
            Name(settings_.LongMonthNames, month_);
          }
          break;
        case 'D':
          takeCount();
          if (count <= 2) {
            Number(day_, count);
          } else if (count == 3) {
            Name(settings_.ShortDayNames, dayOfWeek_);
          } else if (count == 4) {
            Name(settings_.LongDayNames, dayOfWeek_);
          } else {
            Append(settings_.ShortDateFormat);
          }
          break;
        case 'H': {
          takeCount();
          if (AmPmFollows(f, i)) use12Hour_ = true;
          int h = hour_;
          if (use12Hour_) {
            if (h == 0) {
              h = 12;
            } else if (h > 12) {
              h -= 12;
            }
          }
          Number(h, count > 2 ? 2 : count);
          break;
        }
        case 'N':
          takeCount();
          Number(minute_, count > 2 ? 2 : count);
          break;
        case 'S':
          takeCount();
          Number(second_, count > 2 ? 2 : count);
          break;
        case 'Z':
          takeCount();
          Number(msec_, count > 3 ? 3 : count);
          break;
        case 'T':
          takeCount();
          Append(count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat);
          break;
        case 'C':
          takeCount();
          Append(settings_.ShortDateFormat);
          if (hour_ != 0 || minute_ != 0 || second_ != 0) {
            out_ += ' ';
            Append(settings_.LongTimeFormat);
          }
          break;
        case 'A': {
          // The marker is written with the pattern's own letters.
          const size_t at = i - 1;
          if (StartsWithNoCase(f, at, "am/pm")) {
            out_.append(f.substr(hour_ >= 12 ? at + 3 : at, 2));
            i = at + 5;
            use12Hour_ = true;
          } else if (StartsWithNoCase(f, at, "a/p")) {
            out_.append(f.substr(hour_ >= 12 ? at + 2 : at, 1));
            i = at + 3;
            use12Hour_ = true;
          } else if (StartsWithNoCase(f, at, "ampm")) {
            out_ += hour_ < 12 ? settings_.TimeAMString : settings_.TimePMString;
            i = at + 4;
            use12Hour_ = true;
          } else if (StartsWithNoCase(f, at, "aaaa")) {
            Name(settings_.LongDayNames, dayOfWeek_);
            i = at + 4;
          } else if (StartsWithNoCase(f, at, "aaa")) {
            Name(settings_.ShortDayNames, dayOfWeek_);
            i = at + 3;
          } else {
            out_ += starter;
          }
          break;
        }
        case '/':
          if (settings_.DateSeparator != '\0') out_ += settings_.DateSeparator;
          break;
        case ':':
          if (settings_.TimeSeparator != '\0') out_ += settings_.TimeSeparator;
          break;
        case '\'':
        case '"': {
          const size_t start = i;
          while (i < f.size() && f[i] != starter) {
            i += IsLeadByte(static_cast<unsigned char>(f[i]), codePage_) ? 2 : 1;
          }
          if (i > f.size()) i = f.size();  // a lead byte at the very end
          out_.append(f.substr(start, i - start));
          if (i < f.size()) ++i;
          break;
        }
        default:
          out_ += starter;
          break;
      }
    }
    --depth_;
  }

  const FormatSettings& settings_;
  int codePage_;
  int year_ = 0, month_ = 0, day_ = 0, dayOfWeek_ = 0;
  int hour_ = 0, minute_ = 0, second_ = 0, msec_ = 0;
  std::string out_;
  int depth_ = 0;
  char lastToken_ = ' ';
  bool use12Hour_ = false;
};

// ---------------------------------------------------------------------------
// TryStrToDateTime: a small scanner over the text; blanks are spaces.

class Scanner {
 public:
  Scanner(std::string_view text, const FormatSettings& settings)
      : text_(text), settings_(settings) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  void Reset() { pos_ = 0; }

  void Blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  // Up to four digits (reading stops once the number reaches 1000).
  bool Number(int& value, int& digits) {
    Blanks();
    size_t i = pos_;
    int n = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9' && n < 1000) {
      n = n * 10 + (text_[i] - '0');
      ++i;
    }
    if (i == pos_) return false;
    digits = static_cast<int>(i - pos_);
    value = n;
    pos_ = i;
    return true;
  }

  bool Char(char c) {
    Blanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool Symbol(std::string_view symbol) {
    if (symbol.empty()) return false;
    Blanks();
    if (!StartsWithNoCase(text_, pos_, symbol)) return false;
    pos_ += symbol.size();
    return true;
  }

  bool Date(DateTime& result) {
    enum class Order { MDY, DMY, YMD };
    Order order = Order::MDY;
    for (char c : settings_.ShortDateFormat) {
      const char u = Upper(c);
      if (u == 'Y' || u == 'E') {
        order = Order::YMD;
        break;
      }
      if (u == 'M') break;
      if (u == 'D') {
        order = Order::DMY;
        break;
      }
    }
    const char sep = settings_.DateSeparator;
    int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
    if (!(Number(n1, l1) && Char(sep) && Number(n2, l2))) return false;
    int y = 0, m = 0, d = 0;
    if (Char(sep)) {
      if (!Number(n3, l3)) return false;
      int yearDigits = 0;
      switch (order) {
        case Order::MDY:
          y = n3, yearDigits = l3, m = n1, d = n2;
          break;
        case Order::DMY:
          y = n3, yearDigits = l3, m = n2, d = n1;
          break;
        case Order::YMD:
          y = n1, yearDigits = l1, m = n2, d = n3;
          break;
      }
      if (yearDigits <= 2) {
        int current = 0, cm = 0, cd = 0;
        DecodeDate(platform::Date(), current, cm, cd);
        const int window = settings_.TwoDigitYearCenturyWindow;
        const int base = current - window;
        y += base / 100 * 100;
        if (window > 0 && y < base) y += 100;
      }
    } else {
      int cm = 0, cd = 0;
      DecodeDate(platform::Date(), y, cm, cd);
      if (order == Order::DMY) {
        d = n1, m = n2;
      } else {
        m = n1, d = n2;
      }
    }
    Char(sep);  // a trailing separator is allowed
    Blanks();
    return TryEncodeDate(y, m, d, result);
  }

  bool Time(DateTime& result) {
    int baseHour = -1;
    if (Symbol(settings_.TimeAMString) || Symbol("AM")) {
      baseHour = 0;
    } else if (Symbol(settings_.TimePMString) || Symbol("PM")) {
      baseHour = 12;
    }
    int hour = 0, minute = 0, second = 0, msec = 0, digits = 0;
    if (!Number(hour, digits)) return false;
    if (Char(settings_.TimeSeparator)) {
      if (!Number(minute, digits)) return false;
      if (Char(settings_.TimeSeparator)) {
        if (!Number(second, digits)) return false;
        if (Char(settings_.DecimalSeparator) && !Number(msec, digits)) return false;
      }
    }
    if (baseHour < 0) {
      if (Symbol(settings_.TimeAMString) || Symbol("AM")) {
        baseHour = 0;
      } else if (Symbol(settings_.TimePMString) || Symbol("PM")) {
        baseHour = 12;
      }
    }
    if (baseHour >= 0) {
      if (hour == 0 || hour > 12) return false;
      if (hour == 12) hour = 0;
      hour += baseHour;
    }
    Blanks();
    return TryEncodeTime(hour, minute, second, msec, result);
  }

 private:
  std::string_view text_;
  const FormatSettings& settings_;
  size_t pos_ = 0;
};

}  // namespace

FormatSettings& GlobalFormatSettings() {
  static FormatSettings settings;
  return settings;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool TryEncodeDate(int year, int month, int day, DateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return false;
  }
  result.Value = static_cast<double>(DaysFromCivil(year, month, day) - kEpochDays);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, DateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999) {
    return false;
  }
  const int64_t ms = ((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + msec;
  result.Value = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  return true;
}

DateTime EncodeDate(int year, int month, int day) {
  DateTime result;
  if (!TryEncodeDate(year, month, day, result)) {
    throw EConvertError("Invalid argument to date encode");
  }
  return result;
}

DateTime EncodeTime(int hour, int minute, int second, int msec) {
  DateTime result;
  if (!TryEncodeTime(hour, minute, second, msec, result)) {
    throw EConvertError("Invalid argument to time encode");
  }
  return result;
}

DateTime ComposeDateTime(DateTime date, DateTime time) {
  return DateTime{date.Value < 0 ? date.Value - time.Value : date.Value + time.Value};
}

void DecodeDate(DateTime value, int& year, int& month, int& day) {
  const Split s = SplitValue(value);
  if (!s.Valid) {
    year = month = day = 0;
    return;
  }
  CivilFromDays(s.Day + kEpochDays, year, month, day);
}

void DecodeTime(DateTime value, int& hour, int& minute, int& second, int& msec) {
  const Split s = SplitValue(value);
  if (!s.Valid) {
    hour = minute = second = msec = 0;
    return;
  }
  int64_t ms = s.Ms;
  msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  second = static_cast<int>(ms % 60);
  ms /= 60;
  minute = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

int DayOfWeek(DateTime value) {
  const Split s = SplitValue(value);
  if (!s.Valid) return 0;
  // Day 0, 30 December 1899, was a Saturday (7).
  return static_cast<int>(((s.Day + 6) % 7 + 7) % 7) + 1;
}

DateTime Now() {
  const Clock& clock = CurrentClock();
  return clock ? clock() : SystemNow();
}

DateTime Date() {
  const DateTime now = Now();
  const Split s = SplitValue(now);
  if (s.Valid) return DateTime{static_cast<double>(s.Day)};
  return DateTime{std::isfinite(now.Value) ? std::trunc(now.Value) : 0.0};
}

ScopedClock::ScopedClock(Clock clock)
    : previous_(std::exchange(CurrentClock(), std::move(clock))) {}

ScopedClock::~ScopedClock() { CurrentClock() = std::move(previous_); }

std::string FormatDateTime(std::string_view pattern, DateTime value,
                           const FormatSettings& settings) {
  return DateFormatter(value, settings).Run(pattern);
}

std::string DateTimeToStr(DateTime value, const FormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}

std::string DateToStr(DateTime value, const FormatSettings& settings) {
  return FormatDateTime("ddddd", value, settings);
}

std::string TimeToStr(DateTime value, const FormatSettings& settings) {
  return FormatDateTime("tt", value, settings);
}

bool TryStrToDateTime(std::string_view text, DateTime& result, const FormatSettings& settings) {
  Scanner scan(text, settings);
  DateTime date;
  DateTime time;
  if (scan.Date(date) && (scan.AtEnd() || (scan.Time(time) && scan.AtEnd()))) {
    result = ComposeDateTime(date, time);
    return true;
  }
  scan.Reset();
  if (scan.Time(time) && scan.AtEnd()) {
    result = time;
    return true;
  }
  return false;
}

}  // namespace platform

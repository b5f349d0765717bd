#include "runtime/LibStrs.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "platform/core/CodePage.h"
#include "platform/core/Format.h"
#include "platform/core/NumText.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"

namespace LibStrs {

using platform::DateTime;
using platform::Variant;
using platform::VarType;

namespace {

// The last day the platform's dates reach, 9999-12-31.
constexpr double kLastDate = 2958465.0;

/* Year, month and day of a date value; nullopt for a value outside the
   platform's range (DecodeDate then gives all parts 0). */
struct Ymd {
  int Year, Month, Day;
};
std::optional<Ymd> Decode(DateTime date) {
  Ymd ymd{};
  platform::DecodeDate(date, ymd.Year, ymd.Month, ymd.Day);
  if (ymd.Year == 0) return std::nullopt;
  return ymd;
}

std::string FirstChar(std::string_view separator) {
  return separator.empty() ? std::string() : std::string(1, separator.front());
}

std::string Ymd8(int year, int month, int day) {
  return platform::Format("%.4d%.2d%.2d", {year, month, day});
}

/* The position of separator in text at or after from; npos when absent or
   when separator is empty (the platform's Pos finds no empty text). */
size_t Find(std::string_view text, std::string_view separator, size_t from = 0) {
  if (separator.empty()) return std::string_view::npos;
  return text.find(separator, from);
}

/* One text of a Variant converted the way each of the two Variant
   conversions asks. */
Variant WideToCodePageValue(const Variant& text, int codePage) {
  return Variant(WideToCodePage(text.AsWideString(), codePage));
}
Variant CodePageToWideValue(const Variant& text, int codePage) {
  // The text's system-code-page bytes are what gets read in codePage.
  return Variant(CodePageToWide(text.AsString(), codePage));
}
using TextConversion = Variant (*)(const Variant&, int);

/* Converts the texts of value in place; errors propagate to the caller. */
void ConvertTexts(Variant& value, int codePage, TextConversion convert) {
  if (value.IsEmpty() || value.IsNull()) return;
  if (value.IsString()) {
    value = convert(value, codePage);
    return;
  }
  if (!value.IsArray()) return;
  platform::VarArray& array = value.Array();
  if (array.DimCount() == 1) {
    const platform::ArrayBound b = array.Bounds(1);
    for (int32_t i = b.Low; i <= b.High; ++i) {
      Variant& item = array.At(i);
      if (item.IsArray() || item.IsString()) ConvertTexts(item, codePage, convert);
    }
  } else if (array.DimCount() == 2) {
    // Cells of a table are texts or plain values; arrays in them stay as they are.
    const platform::ArrayBound rows = array.Bounds(1);
    const platform::ArrayBound cols = array.Bounds(2);
    for (int32_t i = rows.Low; i <= rows.High; ++i) {
      for (int32_t j = cols.Low; j <= cols.High; ++j) {
        Variant& cell = array.At(i, j);
        if (cell.IsString()) cell = convert(cell, codePage);
      }
    }
  }
}

/* value with its texts converted; on an error, the log line "<tag> <message>"
   and the unconverted copy. */
Variant ConvertOrLog(const Variant& value, int codePage, TextConversion convert,
                     std::string_view tag) {
  Variant result = value;
  try {
    ConvertTexts(result, codePage, convert);
    return result;
  } catch (const std::exception& e) {
    WriteLog("libstrs", std::string(tag) + " " + e.what(), "D");
  } catch (...) {
    WriteLog("libstrs", std::string(tag) + " unknown error", "D");
  }
  return value;
}

/* The parsed edit mask: one slot per character of the edit text. */
enum class LetterCase { AsTyped, Upper, Lower };
struct MaskSlot {
  bool Input;       // a place for one character of the value
  char Literal;     // the character shown in a literal place
  LetterCase Case;  // how an input place shows letters
};
struct ParsedMask {
  std::vector<MaskSlot> Slots;
  bool Reverse = false;  // "!": the value fills the places from the right
  char Blank = '_';
};

bool IsMaskCharacter(char c) {
  return c != 0 && std::string_view("LlAaCc09#").find(c) != std::string_view::npos;
}

ParsedMask ParseMask(std::string_view mask) {
  ParsedMask parsed;
  const platform::FormatSettings& settings = platform::GlobalFormatSettings();
  LetterCase letterCase = LetterCase::AsTyped;
  size_t k = 0;
  for (; k < mask.size() && mask[k] != ';'; ++k) {
    const char c = mask[k];
    if (c == '\\') {
      if (k + 1 < mask.size()) parsed.Slots.push_back({false, mask[++k], letterCase});
    } else if (c == '!') {
      parsed.Reverse = true;
    } else if (c == '<' && k + 1 < mask.size() && mask[k + 1] == '>') {
      letterCase = LetterCase::AsTyped;  // "<>" ends case conversion
      ++k;
    } else if (c == '>') {
      letterCase = LetterCase::Upper;
    } else if (c == '<') {
      letterCase = LetterCase::Lower;
    } else if (IsMaskCharacter(c)) {
      parsed.Slots.push_back({true, 0, letterCase});
    } else if (c == '/') {
      parsed.Slots.push_back({false, settings.DateSeparator, letterCase});
    } else if (c == ':') {
      parsed.Slots.push_back({false, settings.TimeSeparator, letterCase});
    } else {
      parsed.Slots.push_back({false, c, letterCase});
    }
  }
  // The second field ("0": literals are not kept in the text) does not change
  // the characters entered; the third names the blank character.
  if (k < mask.size()) {
    const size_t third = mask.find(';', k + 1);
    if (third != std::string_view::npos && third + 1 < mask.size()) {
      parsed.Blank = mask[third + 1];
    }
  }
  return parsed;
}

char ApplyCase(LetterCase letterCase, char c) {
  if (letterCase == LetterCase::Upper && c >= 'a' && c <= 'z') return static_cast<char>(c - 32);
  if (letterCase == LetterCase::Lower && c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
  return c;
}

/* The characters of the input places after value is set as the text of a
   masked edit: value is laid on the places from the left (from the right
   after "!"); a value character equal to the literal of a literal place is
   taken by that place, so values with and without literals both fit. */
std::string EnterUnderMask(std::string_view value, const ParsedMask& mask) {
  const auto places = static_cast<std::ptrdiff_t>(mask.Slots.size());
  const auto length = static_cast<std::ptrdiff_t>(value.size());
  std::string edit(mask.Slots.size(), mask.Blank);
  const std::ptrdiff_t step = mask.Reverse ? -1 : 1;
  std::ptrdiff_t v = mask.Reverse ? length - 1 : 0;
  for (std::ptrdiff_t n = 0; n < places; ++n) {
    const std::ptrdiff_t k = mask.Reverse ? places - 1 - n : n;
    const MaskSlot& slot = mask.Slots[static_cast<size_t>(k)];
    if (v < 0 || v >= length) break;
    const char c = value[static_cast<size_t>(v)];
    if (!slot.Input) {
      if (c == slot.Literal) v += step;
      continue;
    }
    edit[static_cast<size_t>(k)] = ApplyCase(slot.Case, c);
    v += step;
  }
  return edit;
}

struct ButtonCaption {
  const char* Name;
  const char* Caption;
};
const ButtonCaption kButtonCaptions[] = {
    {"Yes", "是(&Y)"},       {"No", "否(&N)"},         {"OK", "确定"},         {"Cancel", "取消"},
    {"Abort", "中断(&A)"},   {"Retry", "重试(&R)"},    {"Ignore", "忽略(&I)"}, {"All", "全部(&A)"},
    {"NoToAll", "全否(&o)"}, {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
};

std::string ToSlashes(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

std::string PadRight(std::string_view text, const std::vector<int>& widthAndPadChar) {
  std::string out(text);
  if (widthAndPadChar.empty()) return out;
  const int width = widthAndPadChar[0];
  const char pad = widthAndPadChar.size() > 1 ? static_cast<char>(widthAndPadChar[1]) : ' ';
  if (static_cast<int64_t>(out.size()) < width) out.append(width - out.size(), pad);
  return out;
}

std::string GetField(std::string_view text, std::string_view separator, int index) {
  int counter = 1;
  std::string_view field;
  for (;;) {
    const size_t at = Find(text, separator);
    if (at == std::string_view::npos) {
      field = text;
      break;
    }
    field = text.substr(0, at);
    if (counter == index) break;
    text.remove_prefix(at + separator.size());
    ++counter;
  }
  return counter == index ? std::string(field) : std::string();
}

int CountFields(std::string_view text, std::string_view separator) {
  if (text.empty()) return 0;
  int count = 1;
  for (size_t at = Find(text, separator); at != std::string_view::npos;
       at = Find(text, separator, at + 1)) {
    ++count;
  }
  return count;
}

void SplitFirst(std::string& text, std::string_view separator, std::string& head) {
  const size_t at = Find(text, separator);
  if (at == std::string::npos) {
    head = std::move(text);
    text.clear();
    return;
  }
  head = text.substr(0, at);
  text.erase(0, at + separator.size());
}

std::string DateToDisplay(int kind, std::string_view separator, DateTime date) {
  if (date.Value == 0) return {};
  const auto ymd = Decode(date);
  if (!ymd) return {};
  const std::string sep = FirstChar(separator);
  const int minguo = ymd->Year - 1911;
  switch (kind) {
    case 1:
      return platform::Format("%.4d%s%.2d%s%.2d", {ymd->Year, sep, ymd->Month, sep, ymd->Day});
    case 2:
      return platform::Format("%.2d%s%.2d%s%.4d", {ymd->Month, sep, ymd->Day, sep, ymd->Year});
    case 3:
      return platform::Format("%.2d%s%.2d%s%.4d", {ymd->Day, sep, ymd->Month, sep, ymd->Year});
    case 4:
      return platform::Format("%.2d%s%.2d%s%.2d", {minguo, sep, ymd->Month, sep, ymd->Day});
    case 5:
      return platform::Format("%.3d%s%.2d%s%.2d", {minguo, sep, ymd->Month, sep, ymd->Day});
    default:
      return {};
  }
}

std::string MonthToDisplay(int kind, std::string_view separator, DateTime date) {
  if (date.Value == 0) return {};
  const auto ymd = Decode(date);
  if (!ymd) return {};
  const std::string sep = FirstChar(separator);
  const int minguo = ymd->Year - 1911;
  switch (kind) {
    case 1:
      return platform::Format("%.4d%s%.2d", {ymd->Year, sep, ymd->Month});
    case 2:
    case 3:
      return platform::Format("%.2d%s%.4d", {ymd->Month, sep, ymd->Year});
    case 4:
      return platform::Format("%.2d%s%.2d", {minguo, sep, ymd->Month});
    case 5:
      return platform::Format("%.3d%s%.2d", {minguo, sep, ymd->Month});
    default:
      return {};
  }
}

DateTime DisplayToDate(std::string_view text, int kind, std::string_view separator) {
  if (platform::Trim(text).empty()) return {};
  std::string rest(text);
  int parts[3];
  for (int& part : parts) {
    std::string head;
    SplitFirst(rest, separator, head);
    part = platform::StrToIntDef(platform::Trim(head), -1);
  }
  if (parts[0] <= 0 || parts[1] <= 0 || parts[2] <= 0) return {};
  int64_t year, month, day;
  switch (kind) {
    case 1:
      year = parts[0], month = parts[1], day = parts[2];
      break;
    case 2:
      year = parts[2], month = parts[0], day = parts[1];
      break;
    case 3:
      year = parts[2], month = parts[1], day = parts[0];
      break;
    case 4:
    case 5:
      year = int64_t{parts[0]} + 1911, month = parts[1], day = parts[2];
      break;
    default:
      return {};
  }
  DateTime first;
  if (year > 9999 ||
      !platform::TryEncodeDate(static_cast<int>(year), static_cast<int>(month), 1, first)) {
    return {};
  }
  // A day past the month's end runs on into the following months.
  const double value = first.Value + static_cast<double>(day - 1);
  if (value > kLastDate) return {};
  return DateTime{value};
}

DateTime YmdToDate(std::string_view text) {
  if (text.size() != 8) return {};
  const int year = platform::StrToIntDef(text.substr(0, 4), 0);
  const int month = platform::StrToIntDef(text.substr(4, 2), 0);
  const int day = platform::StrToIntDef(text.substr(6, 2), 0);
  DateTime result;
  if (year == 0 || month == 0 || day == 0) return {};
  if (!platform::TryEncodeDate(year, month, day, result)) return {};
  return result;
}

bool IsValidYmd(std::string_view text) {
  if (text.empty()) return true;
  const int year = platform::StrToIntDef(platform::Copy(text, 1, 4), 0);
  const int month = platform::StrToIntDef(platform::Copy(text, 5, 2), 0);
  const int day = platform::StrToIntDef(platform::Copy(text, 7, 2), 0);
  DateTime ignored;
  if (!platform::TryEncodeDate(year, month, day, ignored)) return false;
#if VK_COMPAT_BUILD
  return true;
#else
  return text >= "17530101" && text <= "99991231";
#endif
}

Variant Iif(bool condition, const Variant& a, const Variant& b) { return condition ? a : b; }

bool IsEmptyOrNull(const Variant& value) { return value.IsEmpty() || value.IsNull(); }

std::string DateAdd(const Variant& value, std::string_view unit, int n) {
  try {
    DateTime date;
    if (value.IsString()) {
      date = YmdToDate(value.AsString());
    } else if (value.Type() == VarType::Date) {
      date = value.AsDate();
    } else {
      return {};
    }
    if (date.Value == 0) return {};
    if (platform::SameText(unit, "D")) {
      const auto moved = Decode(DateTime{date.Value + n});
      if (!moved) return {};
      return Ymd8(moved->Year, moved->Month, moved->Day);
    }
    if (!platform::SameText(unit, "M")) return {};
    const auto ymd = Decode(date);
    if (!ymd) return {};
    const int64_t total = int64_t{n} + 12 * int64_t{ymd->Year} + ymd->Month;
    int64_t year = total / 12;
    int64_t month = total % 12;
    if (month == 0) {
      month = 12;
      --year;
    }
    if (year < 1 || year > 9999 || month < 1) return {};
    int day = ymd->Day;
    const int last = DaysInMonth(static_cast<int>(year), static_cast<int>(month));
    if (day > last) day = last;
    return Ymd8(static_cast<int>(year), static_cast<int>(month), day);
  } catch (...) {
    return {};
  }
}

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool trimResult) {
  std::string out(text);
  if (!oldText.empty() && !platform::SameText(oldText, newText)) {
    if (newText.find(oldText) != std::string_view::npos) {
      // Searching again from the start would find the new text forever.
      for (size_t at = out.find(oldText); at != std::string::npos;
           at = out.find(oldText, at + newText.size())) {
        out.replace(at, oldText.size(), newText);
      }
    } else {
      // A new occurrence can only begin within the replaced part or just
      // before it: everything further left was searched already.
      for (size_t at = out.find(oldText); at != std::string::npos;) {
        out.replace(at, oldText.size(), newText);
        const size_t back = oldText.size() - 1;
        at = out.find(oldText, at > back ? at - back : 0);
      }
    }
  }
  return trimResult ? platform::Trim(out) : out;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && platform::IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::string GetTempDir() { return platform::TempDir(); }

bool IsLocalHostAddress(std::string_view text) { return text == "127.0.0.1"; }

std::string WideToCodePage(std::u16string_view text, int codePage) {
  text = text.substr(0, text.find(u'\0'));
  if (!platform::IsSupportedCodePage(codePage)) return platform::WideToAnsi(text);
  return platform::WideToBytes(text, codePage);
}

std::u16string CodePageToWide(std::string_view bytes, int codePage) {
  bytes = bytes.substr(0, bytes.find('\0'));
  if (!platform::IsSupportedCodePage(codePage)) return platform::AnsiToWide(bytes);
  return platform::BytesToWide(bytes, codePage);
}

Variant VarWideToCodePage(const Variant& value, int codePage) {
  return ConvertOrLog(value, codePage, WideToCodePageValue, "LINE[2735]");
}

Variant VarCodePageToWide(const Variant& value, int codePage) {
  return ConvertOrLog(value, codePage, CodePageToWideValue, "LINE[115]");
}

std::string JoinCounted(std::string_view prefix, const Variant& counted) {
  const Variant& head = counted[0];
  std::string out(prefix);
  out += kFieldSeparator;
  out += platform::VarToStr(head);
  out += kFieldSeparator;
  const int32_t n = head.AsInteger();
  for (int32_t i = 1; i <= n; ++i) {
    out += platform::VarToStr(counted[i]);
    out += kFieldSeparator;
  }
  return out;
}

std::string StripMask(std::string_view value, std::string_view mask) {
  if (mask.empty()) return std::string(value);
  const ParsedMask parsed = ParseMask(mask);
  const std::string edit = EnterUnderMask(value, parsed);
  std::string out;
  for (size_t k = 0; k < parsed.Slots.size(); ++k) {
    if (!parsed.Slots[k].Input) continue;
    out += edit[k] == parsed.Blank ? ' ' : edit[k];
  }
  return out;
}

std::string MsgButtonCaption(std::string_view name) {
  for (const ButtonCaption& entry : kButtonCaptions) {
    if (name == entry.Name) return entry.Caption;
  }
  return std::string(name);
}

double TextToFloatDef(std::string_view text, double defaultValue) {
  // Leading blanks are skipped; trailing ones are left over and spoil the number.
  if (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') return defaultValue;
  const auto number = platform::TryStrToFloat(text);
  return number ? *number : defaultValue;
}

std::string GetInstallPath() {
  try {
    platform::Registry registry(platform::RegRoot::LocalMachine);
    if (!registry.OpenKeyReadOnly(kBrantorKey)) return {};
    std::string path = registry.ReadString("ClientPath");
    if (path.empty()) path = registry.ReadString("ServerPath");
    return ToSlashes(std::move(path));
  } catch (...) {
    return {};
  }
}

bool WriteLog(std::string_view name, std::string_view text, std::string_view period) {
  std::string base;
  try {
    base = GetInstallPath();
    if (base.empty()) base = platform::ProgramFolder();
  } catch (...) {
    return false;
  }
  return WriteLogIn(base, name, text, period);
}

bool WriteLogIn(std::string_view baseFolder, std::string_view name, std::string_view text,
                std::string_view period) {
  try {
    const DateTime now = platform::Now();
    const char* stamp = period == "M" ? "yyyymm" : period == "Y" ? "yyyy" : "yyyymmdd";
    std::string fileName =
        "Alert_" + std::string(name) + "_" + platform::FormatDateTime(stamp, now);
    if (name.find('.') == std::string_view::npos) fileName += ".log";
    const std::string line =
        "[" + platform::FormatDateTime("YYYY/MM/DD hh:nn:ss:zzz", now) + "] " + std::string(text);
    return AppendLogLine(baseFolder, fileName, line);
  } catch (...) {
    return false;
  }
}

bool AppendLogLine(std::string_view baseFolder, std::string_view fileName, std::string_view line) {
  try {
    const std::string folder =
        platform::ExcludeTrailingPathDelimiter(baseFolder) + platform::PathDelim + "Log";
    if (!platform::ForceDirectories(folder)) return false;
    const std::string path = folder + platform::PathDelim + std::string(fileName);
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    const std::string bytes = std::string(line) + "\r\n";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
  } catch (...) {
    return false;
  }
}

}  // namespace LibStrs

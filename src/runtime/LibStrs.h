#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Variant.h"

/* Free functions every option form uses to move dates, field-separated texts
   and Variant data between the screen, the condition lists and the
   application server. Texts are byte strings in the system's ANSI code page;
   positions are 1-based. Apart from JoinCounted, nothing here raises on bad
   input: the result is an empty text, 0 or false. A date value of 0 means
   "no date". */
namespace LibStrs {

/* Separators of the program's own records and of the request's values. */
inline constexpr char kFieldSeparator[] = "\x03";  // fields of a record
inline constexpr char kRangeMark[] = "\x04";       // first element of a range value
inline constexpr char kListMark[] = "\x05";        // first element of a list value

/* The suite's registry key under the local machine root. */
inline constexpr char kBrantorKey[] = "Software\\VRK\\Brantor";

/* Text followed by copies of a pad character up to Width. widthAndPadChar holds
   Width and, optionally, the pad character's code (a blank when absent).
   Text comes back unchanged when it is not shorter than Width or the list is
   empty. */
std::string PadRight(std::string_view text, const std::vector<int>& widthAndPadChar);

/* The index-th field (1-based) of text, fields divided by separator (compared
   case-sensitively). Empty when text has fewer fields or index < 1; a
   trailing separator gives an empty last field. An empty separator makes the
   whole text field 1. */
std::string GetField(std::string_view text, std::string_view separator, int index);

/* 0 for an empty text, else the number of occurrences of separator plus 1.
   Occurrences may overlap: each search resumes one character after the start
   of the previous one. */
int CountFields(std::string_view text, std::string_view separator);

/* Cuts text at the first separator: head gets the part before it, text keeps
   the part after it. Without a separator, head gets all of text and text
   becomes empty. */
void SplitFirst(std::string& text, std::string_view separator, std::string& head);

/* A date in the company date format of a kind:
     1 "%.4d%s%.2d%s%.2d" year, month, day   4 "%.2d%s%.2d%s%.2d" Minguo year (year - 1911)
     2 "%.2d%s%.2d%s%.4d" month, day, year   5 "%.3d%s%.2d%s%.2d" Minguo year, month, day
     3 "%.2d%s%.2d%s%.4d" day, month, year
   with the first character of separator as %s (nothing when it is empty).
   Empty for date 0, another kind or a value outside the platform's range. */
std::string DateToDisplay(int kind, std::string_view separator, platform::DateTime date);
/* Year and month of a date in the company format of that kind: "%.4d%s%.2d"
   (kind 1), month first "%.2d%s%.4d" (2, 3), Minguo "%.2d%s%.2d" (4) and
   "%.3d%s%.2d" (5). Empty as for DateToDisplay. */
std::string MonthToDisplay(int kind, std::string_view separator, platform::DateTime date);

/* Reads a date written in the company format of kind 1..5, split at the whole
   separator text. A day past the month's end runs on into the next month;
   anything after a third separator is ignored. 0 when the text is blank, a
   part is not a positive whole number, the month is outside 1..12 or the
   date falls outside the platform's range. */
platform::DateTime DisplayToDate(std::string_view text, int kind, std::string_view separator);

/* The date of a yyyymmdd text; 0 unless the text has exactly 8 characters that
   make a real date. */
platform::DateTime YmdToDate(std::string_view text);

/* True for an empty text; otherwise true when characters 1-4, 5-6 and 7-8 are
   year, month and day of a real date and the text lies between "17530101" and
   "99991231" (the compatibility build leaves out that range check).
   Characters after the eighth are not looked at. */
bool IsValidYmd(std::string_view text);

/* a when condition holds, else b. */
platform::Variant Iif(bool condition, const platform::Variant& a, const platform::Variant& b);

/* True when value is unassigned or null. */
bool IsEmptyOrNull(const platform::Variant& value);

/* The yyyymmdd text of value moved by n months (unit "M") or n days ("D"),
   the unit in any case. value is a yyyymmdd text or a date. A month move keeps
   the day, reduced to the month's last day when needed. Empty for another
   unit, another kind of value, no date, or a result outside years 1..9999. */
std::string DateAdd(const platform::Variant& value, std::string_view unit, int n);

/* Replaces every occurrence of oldText by newText, searching again from the
   start after each replacement, so occurrences formed by a replacement go
   too. Nothing is replaced when the two are equal ignoring case, or when
   oldText is empty. A newText containing oldText is put in once per original
   occurrence (the repeated search would never end). Trimmed of blanks and
   control characters at both ends when trimResult. */
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool trimResult);

/* 28..31 by the Gregorian calendar; 0 for a month outside 1..12. */
int DaysInMonth(int year, int month);

/* The system temporary folder, with a trailing "/". */
std::string GetTempDir();

/* True when text is exactly "127.0.0.1". */
bool IsLocalHostAddress(std::string_view text);

/* Wide text as bytes in a code page, up to the first zero character. A code
   page this platform cannot convert falls back to the system code page. */
std::string WideToCodePage(std::u16string_view text, int codePage);
/* Bytes read in a code page as wide text, up to the first zero character.
   Falls back to the system code page as WideToCodePage does. */
std::u16string CodePageToWide(std::string_view bytes, int codePage);

/* A copy of value with its texts converted: a single text (wide or bytes)
   becomes bytes in codePage (VarWideToCodePage) or wide text read from the
   bytes of its system-code-page form in codePage (VarCodePageToWide). A
   one-dimensional array is converted element by element, nested arrays
   included; a two-dimensional array has its text cells converted but its
   nested arrays left alone; other values come back as they are. On an error
   a line goes to the "libstrs" log and the unconverted copy is returned. */
platform::Variant VarWideToCodePage(const platform::Variant& value, int codePage);
platform::Variant VarCodePageToWide(const platform::Variant& value, int codePage);

/* prefix, code 3, N, code 3, then items 1..N each followed by code 3, where
   N is element 0 of the counted array. Raises EVariantError when value is not
   an array, element 0 is not a number or an item lies outside its bounds. */
std::string JoinCounted(std::string_view prefix, const platform::Variant& counted);

/* value as it reads after being entered in a masked edit under mask and the
   mask then being removed: only the characters of the input places remain,
   the blank character reading as " ". The mask is "format[;save[;blank]]":
   L l A a C c 0 9 # are input places; "\" makes the next character a
   literal; "/" and ":" are the date and time separators of the format
   settings; ">" and "<" upper- and lower-case the letters after them ("<>"
   stops that); "!" lays the value from the right; anything else is a
   literal. value is laid on the places one character each, from the left
   (from the right after "!"); a character equal to a literal place's literal
   is taken by it, so values with and without literals both fit. Places left
   over are blank, characters left over are dropped. The blank character
   defaults to "_"; an empty mask changes nothing. */
std::string StripMask(std::string_view value, std::string_view mask);

/* Chinese caption of a message-dialog button by its kind name ("Yes", "OK",
   ...), compared case-sensitively; any other name comes back unchanged. */
std::string MsgButtonCaption(std::string_view name);

/* The decimal number in text ("." as decimal point, optional sign and
   exponent, leading blanks allowed); defaultValue when anything else,
   trailing blanks included, is in the text. */
double TextToFloatDef(std::string_view text, double defaultValue);

/* The installation folder from the registry key "Software/VRK/Brantor" of the
   local machine: "ClientPath", else "ServerPath", with "\" read as "/"; empty
   when neither is set. No trailing "/" is added. */
std::string GetInstallPath();

/* Appends "[YYYY/MM/DD hh:nn:ss:zzz] " + text and CR LF to the log file
   <base>/Log/Alert_<name>_<stamp>[.log], base being GetInstallPath or, when
   empty, the program's folder. period "M" stamps YYYYMM, "Y" YYYY, anything
   else YYYYMMDD; ".log" is left off when name holds a ".". Creates the
   folders. False when the line could not be written; never raises. */
bool WriteLog(std::string_view name, std::string_view text, std::string_view period);

/* WriteLog with the base folder given (the auto-update log uses the program's
   folder). */
bool WriteLogIn(std::string_view baseFolder, std::string_view name, std::string_view text,
                std::string_view period);

/* Appends line + CR LF to <base>/Log/<fileName>, creating the folders. False
   on any failure; never raises. The log writers share it. */
bool AppendLogLine(std::string_view baseFolder, std::string_view fileName, std::string_view line);

}  // namespace LibStrs

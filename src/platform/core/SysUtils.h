#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Texts. Byte strings; case rules apply to ASCII letters only.

/* Removes leading and trailing characters up to and including the blank
   (blanks and control characters), as the platform's Trim does. */
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
/* <0, 0, >0 like strcmp (bytes unsigned), ignoring ASCII case. */
int CompareText(std::string_view a, std::string_view b);
/* LowerCase and SameText for names in the system code page: the second byte
   of a double-byte character (which may fall among the ASCII letters) is
   left as it is, so two different characters never compare equal. */
std::string AnsiLowerCase(std::string_view text);
bool AnsiSameText(std::string_view a, std::string_view b);
/* 1-based position of needle in text, 0 when absent or when needle is
   empty (the platform's Pos). */
size_t Pos(std::string_view needle, std::string_view text);
/* Copy(text, index, count) with a 1-based index, as the platform's Copy: an
   index below 1 counts as 1 (count is not reduced), a count running past the
   end stops there, an index past the end or a count below 1 gives "". */
std::string Copy(std::string_view text, int64_t index, int64_t count);

/* Decimal or "$" / "0x" hexadecimal, optional sign, surrounding blanks not
   allowed (the platform's StrToInt rules). Decimal must lie in the 32-bit
   signed range; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1). */
std::optional<int32_t> TryStrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t defaultValue);

// Files and folders. The path separator is "/".

constexpr char PathDelim = '/';
/* True for an existing file (or a link to one); false for a folder. */
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
/* Creates a folder and any missing parents; true when it exists afterwards. */
bool ForceDirectories(const std::string& path);
/* The whole content of a settings or text file, in the system code page: a
   file starting with a UTF-8 or UTF-16LE byte-order mark is converted from
   that form without the mark; any other file is returned byte for byte.
   nullopt for a missing or unreadable file or a folder. */
std::optional<std::string> ReadTextFile(const std::string& path);
/* Folder part with its trailing separator ("" for a bare name). */
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
/* Extension with its dot, from the last dot of the file name part ("" when
   none). ChangeFileExt puts ext (with its dot) in its place, or appends it. */
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
/* Adds "/" unless the path ends in one ("" gives "/"); Exclude removes one
   trailing "/". */
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// Facts about the machine and the running program.

/* The machine's name (host name up to its first dot, upper case); "" when
   it cannot be told. */
std::string ComputerName();
/* The login name of the user running the program. */
std::string UserName();
/* "<system> <release> <machine>" from uname, e.g. "Linux 6.1.0-18-amd64 x86_64". */
std::string OSVersionText();
/* Version numbers of the running kernel as major.minor.build ("6.1.0"),
   missing parts written as 0. */
std::string OSVersionNumbers();
/* The temporary folder ($TMPDIR, else /tmp) with a trailing separator. */
std::string TempDir();
/* Full path of the running program file, and its folder with a trailing separator. */
std::string ProgramFileName();
std::string ProgramFolder();
/* Full path of the shared library (or program) that holds the given address;
   "" when it cannot be told. */
std::string ModuleFileName(const void* addressInModule);

}  // namespace platform

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
/* <0, 0, >0 like strcmp, ignoring ASCII case. */
int CompareText(std::string_view a, std::string_view b);
/* 1-based position of needle in text, 0 when absent (the platform's Pos). */
size_t Pos(std::string_view needle, std::string_view text);
/* Copy(text, index, count) with a 1-based index; out-of-range parts are cut. */
std::string Copy(std::string_view text, int64_t index, int64_t count);

/* Decimal or "$" / "0x" hexadecimal, optional sign, surrounding blanks not
   allowed (the platform's StrToInt rules). */
std::optional<int32_t> TryStrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t defaultValue);

// Files and folders. The path separator is "/".

constexpr char PathDelim = '/';
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
/* Creates a folder and any missing parents; true when it exists afterwards. */
bool ForceDirectories(const std::string& path);
/* Folder part with its trailing separator ("" for a bare name). */
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);
/* Extension with its dot ("" when none). */
std::string ExtractFileExt(std::string_view path);
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// Facts about the machine and the running program.

/* The machine's name (host name up to its first dot, upper case). */
std::string ComputerName();
/* The login name of the user running the program. */
std::string UserName();
/* "<system> <release> <machine>" from uname, e.g. "Linux 6.1.0-18-amd64 x86_64". */
std::string OSVersionText();
/* Version numbers of the running kernel as major.minor.build ("6.1.0"). */
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

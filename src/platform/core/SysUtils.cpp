#include "platform/core/SysUtils.h"

#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/core/CodePage.h"

namespace platform {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

bool StatPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string TrimLeft(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(AsciiLower(a[i]));
    int cb = static_cast<unsigned char>(AsciiLower(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

std::string AnsiLowerCase(std::string_view text) {
  const int codePage = SystemCodePage();
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<unsigned char>(out[i]), codePage))
      ++i;  // the trail byte is part of the character, not a letter
    else
      out[i] = AsciiLower(out[i]);
  }
  return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiLowerCase(a) == AnsiLowerCase(b);
}

size_t Pos(std::string_view needle, std::string_view text) {
  if (needle.empty()) return 0;
  size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string Copy(std::string_view text, int64_t index, int64_t count) {
  const int64_t length = static_cast<int64_t>(text.size());
  int64_t start = index < 1 ? 0 : index - 1;
  if (start >= length || count < 1) return {};
  int64_t take = std::min(count, length - start);
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(take)));
}

std::optional<int32_t> TryStrToInt(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    i += 1;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  // Hexadecimal takes all 32 bits; decimal only the signed range.
  const uint64_t limit = hex ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    unsigned digit;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (hex && AsciiLower(c) >= 'a' && AsciiLower(c) <= 'f')
      digit = static_cast<unsigned>(AsciiLower(c) - 'a' + 10);
    else
      return std::nullopt;
    value = value * (hex ? 16 : 10) + digit;
    if (value > limit) return std::nullopt;
  }
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

int32_t StrToIntDef(std::string_view text, int32_t defaultValue) {
  return TryStrToInt(text).value_or(defaultValue);
}

bool FileExists(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info;
  return StatPath(path, info) && S_ISDIR(info.st_mode);
}

bool ForceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return DirectoryExists(path);
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, n);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;

  if (bytes.starts_with("\xEF\xBB\xBF"))
    return WideToAnsi(Utf8ToWide(std::string_view(bytes).substr(3)));
  if (bytes.starts_with("\xFF\xFE")) {
    std::u16string wide((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
      wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                      static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
    return WideToAnsi(wide);
  }
  return bytes;
}

std::string ExtractFilePath(std::string_view path) {
  size_t slash = path.rfind(PathDelim);
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t slash = path.rfind(PathDelim);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t at = path.find_last_of("./");
  if (at == std::string_view::npos || path[at] != '.') return {};
  return std::string(path.substr(at));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t at = path.find_last_of("./");
  if (at == std::string_view::npos || path[at] != '.') at = path.size();
  std::string out(path.substr(0, at));
  out += ext;
  return out;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != PathDelim) out += PathDelim;
  return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  if (!path.empty() && path.back() == PathDelim) path.remove_suffix(1);
  return std::string(path);
}

std::string ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  std::string host(name);
  host = host.substr(0, host.find('.'));
  return UpperCase(host);
}

std::string UserName() {
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
      found->pw_name && *found->pw_name)
    return found->pw_name;
  // Containers often run under a number without a passwd entry.
  for (const char* var : {"USER", "LOGNAME"}) {
    const char* value = std::getenv(var);
    if (value && *value) return value;
  }
  return {};
}

std::string OSVersionText() {
  struct utsname info;
  if (uname(&info) != 0) return {};
  return std::string(info.sysname) + " " + info.release + " " + info.machine;
}

std::string OSVersionNumbers() {
  struct utsname info;
  if (uname(&info) != 0) return "0.0.0";
  // The release is "6.1.0-18-amd64" or the like: take the leading numbers.
  std::string_view release = info.release;
  std::string out;
  size_t i = 0;
  for (int part = 0; part < 3; ++part) {
    if (part > 0) out += '.';
    size_t start = i;
    while (i < release.size() && release[i] >= '0' && release[i] <= '9') ++i;
    out += i > start ? std::string(release.substr(start, i - start)) : std::string("0");
    if (i < release.size() && release[i] == '.' && i > start)
      ++i;
    else
      i = release.size();  // the numbers end here; the rest are zeros
  }
  return out;
}

std::string TempDir() {
  const char* dir = std::getenv("TMPDIR");
  return IncludeTrailingPathDelimiter(dir && *dir ? dir : "/tmp");
}

std::string ProgramFileName() {
  std::vector<char> buffer(PATH_MAX + 1);
  for (;;) {
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramFolder() { return ExtractFilePath(ProgramFileName()); }

std::string ModuleFileName(const void* addressInModule) {
  if (addressInModule == nullptr) return {};
  Dl_info info;
  struct link_map* map = nullptr;
  if (dladdr1(addressInModule, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0)
    return {};
  // The running program itself has no name in the loader's list.
  if (map == nullptr || map->l_name == nullptr || map->l_name[0] == '\0') return ProgramFileName();
  char resolved[PATH_MAX];
  if (realpath(map->l_name, resolved) != nullptr) return resolved;
  return map->l_name;
}

}  // namespace platform

#include "platform/core/Registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/core/SysUtils.h"

namespace platform {

namespace {

std::mutex g_fileMutex;
std::optional<std::string> g_fileOverride;

struct Value {
  bool isDword = false;
  std::string text;
  uint32_t dword = 0;
};

// Values by folded name.
using ValueMap = std::map<std::string, Value>;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitKey(std::string_view path) {
  std::vector<std::string> parts;
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && IsSeparator(path[i])) ++i;
    size_t start = i;
    while (i < path.size() && !IsSeparator(path[i])) ++i;
    if (i > start) parts.emplace_back(path.substr(start, i - start));
  }
  return parts;
}

std::string FoldPath(const std::vector<std::string>& parts, size_t from = 0) {
  std::string out;
  for (size_t i = from; i < parts.size(); ++i) {
    if (i > from) out += '\\';
    out += AnsiLowerCase(parts[i]);
  }
  return out;
}

std::optional<RegRoot> RootOf(std::string_view name) {
  if (SameText(name, "HKEY_LOCAL_MACHINE") || SameText(name, "HKLM")) return RegRoot::LocalMachine;
  if (SameText(name, "HKEY_CURRENT_USER") || SameText(name, "HKCU")) return RegRoot::CurrentUser;
  if (SameText(name, "HKEY_CLASSES_ROOT") || SameText(name, "HKCR")) return RegRoot::ClassesRoot;
  return std::nullopt;
}

/* Reads a quoted text starting at line[pos] == '"'. On success pos is just
   past the closing quote. */
std::optional<std::string> ParseQuoted(std::string_view line, size_t& pos) {
  std::string out;
  size_t i = pos + 1;
  while (i < line.size()) {
    char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return out;
    }
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
      out += line[i + 1];
      i += 2;
      continue;
    }
    out += c;
    ++i;
  }
  return std::nullopt;  // no closing quote
}

bool RestIsBlank(std::string_view line, size_t pos) {
  return Trim(line.substr(std::min(pos, line.size()))).empty();
}

// One to eight hexadecimal digits, as export files write dword values.
std::optional<uint32_t> ParseDword(std::string_view text) {
  std::string digits = LowerCase(Trim(text));
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    if (c >= '0' && c <= '9')
      value = value * 16 + static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      value = value * 16 + static_cast<uint32_t>(c - 'a' + 10);
    else
      return std::nullopt;
  }
  return value;
}

/* Applies one "name"=value line to the values of the current key. Lines
   that cannot be read are left out. */
void ApplyValueLine(std::string_view line, ValueMap& values) {
  size_t pos = 0;
  std::string name;
  if (line[0] == '@') {
    pos = 1;
  } else {
    std::optional<std::string> quoted = ParseQuoted(line, pos);
    if (!quoted) return;
    name = std::move(*quoted);
  }
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  if (pos >= line.size() || line[pos] != '=') return;
  ++pos;
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
  std::string_view data = line.substr(pos);
  std::string folded = AnsiLowerCase(name);

  if (data.starts_with('"')) {
    size_t end = 0;
    std::optional<std::string> text = ParseQuoted(data, end);
    if (!text || !RestIsBlank(data, end)) return;
    values[folded] = Value{false, std::move(*text), 0};
  } else if (data.size() >= 6 && SameText(data.substr(0, 6), "dword:")) {
    std::optional<uint32_t> dword = ParseDword(data.substr(6));
    if (!dword) return;
    values[folded] = Value{true, {}, *dword};
  } else if (Trim(data) == "-") {
    values.erase(folded);
  }
}

struct ScanResult {
  bool exists = false;
  ValueMap values;
};

/* Looks for one key (given by its folded path below the root) in the
   registry file, collecting its values from every place it is written. */
ScanResult Scan(RegRoot root, const std::string& target) {
  ScanResult result;
  if (target.empty()) result.exists = true;  // the root itself
  std::optional<std::string> text = ReadTextFile(RegistryFile());
  if (!text) return result;

  bool inTarget = false;
  std::string_view rest = *text;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view raw = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

    // Blanks around a line mean nothing; inner ones are kept.
    size_t first = 0;
    while (first < raw.size() && static_cast<unsigned char>(raw[first]) <= ' ') ++first;
    size_t last = raw.size();
    while (last > first && static_cast<unsigned char>(raw[last - 1]) <= ' ') --last;
    std::string_view line = raw.substr(first, last - first);
    if (line.empty() || line[0] == ';') continue;

    if (line[0] == '[') {
      inTarget = false;
      if (line.back() != ']' || line.size() < 3 || line[1] == '-') continue;
      std::vector<std::string> parts = SplitKey(line.substr(1, line.size() - 2));
      if (parts.empty() || RootOf(parts[0]) != root) continue;
      std::string path = FoldPath(parts, 1);
      if (path == target) {
        inTarget = true;
        result.exists = true;
      } else if (path.size() > target.size() && path.starts_with(target) &&
                 (target.empty() || path[target.size()] == '\\')) {
        result.exists = true;  // a key below the target implies the target
      }
      continue;
    }
    if (inTarget && (line[0] == '"' || line[0] == '@')) ApplyValueLine(line, result.values);
  }
  return result;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  struct passwd* entry = getpwuid(geteuid());
  return entry && entry->pw_dir ? entry->pw_dir : "";
}

}  // namespace

struct Registry::Key {
  std::vector<std::string> parts;
  ValueMap values;
};

std::string RegistryFile() {
  {
    std::lock_guard lock(g_fileMutex);
    if (g_fileOverride) return *g_fileOverride;
  }
  const char* env = std::getenv("VRK_REGISTRY");
  if (env && *env) return env;
  return HomeFolder() + "/.config/vrk/registry.reg";
}

void SetRegistryFile(std::optional<std::string> path) {
  std::lock_guard lock(g_fileMutex);
  g_fileOverride = std::move(path);
}

Registry::Registry(RegRoot root) : root_(root) {}

std::vector<std::string> Registry::Resolve(std::string_view key) const {
  std::vector<std::string> parts;
  bool relative = key.empty() || !IsSeparator(key[0]);
  if (relative && open_) parts = open_->parts;
  for (std::string& part : SplitKey(key)) parts.push_back(std::move(part));
  return parts;
}

bool Registry::OpenKeyReadOnly(std::string_view key) {
  std::vector<std::string> parts = Resolve(key);
  ScanResult found = Scan(root_, FoldPath(parts));
  if (!found.exists) return false;
  open_ = std::make_shared<const Key>(Key{std::move(parts), std::move(found.values)});
  return true;
}

void Registry::CloseKey() { open_.reset(); }

bool Registry::KeyExists(std::string_view key) const {
  return Scan(root_, FoldPath(Resolve(key))).exists;
}

std::string Registry::CurrentPath() const {
  if (!open_) return {};
  std::string out;
  for (const std::string& part : open_->parts) {
    if (!out.empty()) out += '\\';
    out += part;
  }
  return out;
}

bool Registry::ValueExists(std::string_view name) const {
  return open_ && open_->values.contains(AnsiLowerCase(name));
}

std::string Registry::ReadString(std::string_view name) const {
  if (!open_) return {};
  auto it = open_->values.find(AnsiLowerCase(name));
  if (it == open_->values.end() || it->second.isDword) return {};
  return it->second.text;
}

std::optional<int32_t> Registry::ReadInteger(std::string_view name) const {
  if (!open_) return std::nullopt;
  auto it = open_->values.find(AnsiLowerCase(name));
  if (it == open_->values.end()) return std::nullopt;
  if (it->second.isDword) return static_cast<int32_t>(it->second.dword);
  return TryStrToInt(it->second.text);
}

}  // namespace platform

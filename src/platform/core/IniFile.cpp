#include "platform/core/IniFile.h"

#include <optional>
#include <unordered_map>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"

namespace platform {

namespace {

// The platform reads a value into a buffer of 2048 bytes with its end mark.
constexpr size_t kMaxValue = 2047;

/* Cuts a text to kMaxValue bytes without leaving the lead byte of a
   double-byte character at its end. */
std::string CutValue(std::string text) {
  if (text.size() <= kMaxValue) return text;
  const int codePage = SystemCodePage();
  size_t end = 0;
  while (end < kMaxValue) {
    size_t width = IsDBCSLeadByte(static_cast<unsigned char>(text[end]), codePage) ? 2 : 1;
    if (end + width > kMaxValue) break;
    end += width;
  }
  text.resize(end);
  return text;
}

std::string StripQuotes(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

struct IniFile::Data {
  struct Entry {
    std::string key;
    std::string value;  // quotes stripped, cut to kMaxValue
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> byKey;  // folded key -> entry
  };
  std::vector<Section> sections;
  std::unordered_map<std::string, size_t> byName;  // folded name -> section

  const Section* Find(std::string_view name) const {
    auto it = byName.find(AnsiLowerCase(Trim(name)));
    return it == byName.end() ? nullptr : &sections[it->second];
  }

  const Entry* Find(std::string_view section, std::string_view key) const {
    const Section* found = Find(section);
    if (found == nullptr) return nullptr;
    auto it = found->byKey.find(AnsiLowerCase(Trim(key)));
    return it == found->byKey.end() ? nullptr : &found->entries[it->second];
  }

  void Load(std::string_view text) {
    Section* current = nullptr;  // nullptr: lines here are not read
    while (!text.empty()) {
      size_t end = text.find('\n');
      std::string line = Trim(text.substr(0, end));
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      if (line.empty() || line[0] == ';') continue;

      if (line[0] == '[') {
        size_t close = line.rfind(']');
        if (close == std::string::npos) continue;  // not a section line; the last one goes on
        std::string name = Trim(std::string_view(line).substr(1, close - 1));
        auto [it, added] = byName.emplace(AnsiLowerCase(name), sections.size());
        if (added) {
          sections.push_back(Section{std::move(name), {}, {}});
          current = &sections.back();
        } else {
          current = nullptr;  // the first section of that name is the one read
        }
        continue;
      }

      size_t equals = line.find('=');
      if (current == nullptr || equals == std::string::npos) continue;
      std::string key = Trim(std::string_view(line).substr(0, equals));
      if (key.empty()) continue;
      auto [it, added] = current->byKey.emplace(AnsiLowerCase(key), current->entries.size());
      if (!added) continue;  // the first occurrence wins
      std::string value = CutValue(StripQuotes(Trim(std::string_view(line).substr(equals + 1))));
      current->entries.push_back(Entry{std::move(key), std::move(value)});
    }
  }
};

IniFile::IniFile(std::string fileName)
    : fileName_(std::move(fileName)), data_(std::make_unique<Data>()) {
  if (std::optional<std::string> text = ReadTextFile(fileName_)) data_->Load(*text);
}

IniFile::~IniFile() = default;

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  if (const Data::Entry* entry = data_->Find(section, key)) return entry->value;
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  return CutValue(std::string(defaultValue));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
  const Data::Entry* entry = data_->Find(section, key);
  return entry ? StrToIntDef(entry->value, defaultValue) : defaultValue;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const {
  const Data::Section* found = data_->Find(section);
  return found != nullptr && !found->entries.empty();
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return data_->Find(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Data::Section* found = data_->Find(section)) {
    for (const Data::Entry& entry : found->entries) keys.push_back(entry.key);
  }
  return keys;
}

std::vector<std::string> IniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::string> lines;
  if (const Data::Section* found = data_->Find(section)) {
    for (const Data::Entry& entry : found->entries) lines.push_back(entry.key + "=" + entry.value);
  }
  return lines;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Data::Section& section : data_->sections) names.push_back(section.name);
  return names;
}

}  // namespace platform

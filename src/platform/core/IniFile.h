#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/* A settings file read with the platform's INI rules:
   - "[Section]" lines open a section; "key=value" lines belong to the last
     section; sections and keys compare without regard to case; the first
     occurrence of a section or key wins;
   - keys and values are trimmed of blanks; a value wrapped in a matching pair
     of double or single quotes loses them; lines starting with ";" are
     comments; lines before the first section are ignored;
   - a value is read to at most 2047 bytes, as the platform's reader does;
   - a missing or unreadable file reads as an empty file, never an error.
   The file is read once, when the object is made; it is never written. */
class IniFile {
 public:
  explicit IniFile(std::string fileName);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  /* Decimal, "$" hex or "0x" hex; the default when the value is missing or
     not a number that fits 32 bits. */
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  /* "0" is false, any other number true; the default when not a number. */
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  /* The keys of a section, in file order. */
  std::vector<std::string> ReadSection(std::string_view section) const;
  /* The lines of a section as "key=value", in file order. */
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  /* The section names, in file order. */
  std::vector<std::string> ReadSections() const;

 private:
  struct Data;
  std::string fileName_;
  std::unique_ptr<Data> data_;
};

}  // namespace platform

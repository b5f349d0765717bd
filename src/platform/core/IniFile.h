#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/* A settings file read with the platform's INI rules:
   - "[Section]" lines open a section (the name is trimmed; text after the
     last "]" is ignored; a "[" line without "]" opens nothing and the
     section before it goes on); "key=value" lines belong to the last
     section; sections and keys compare without regard to case;
   - the first occurrence of a key wins; a section written a second time is
     not read again (its lines are not seen);
   - keys and values are trimmed of blanks; a value wrapped in a matching pair
     of double or single quotes loses them; lines starting with ";" are
     comments; lines before the first section, lines without "=" and lines
     with an empty key (a line of only "=") are ignored;
   - a value is read to at most 2047 bytes, as the platform's reader does
     (never ending in half a double-byte character of the system code page);
   - lines end in LF or CR LF; a file with a UTF-8 or UTF-16LE byte-order
     mark is read in that form and converted to the system code page;
   - a missing or unreadable file reads as an empty file, never an error.
   The file is read once, when the object is made; it is never written.
   Section and key arguments are trimmed before they are looked up. */
class IniFile {
 public:
  explicit IniFile(std::string fileName);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  /* The value, or defaultValue when the key is missing; like the platform's
     reader, trailing blanks of the default are dropped and it is cut to
     2047 bytes too. An empty value is returned as "", not as the default. */
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  /* Decimal, "$" hex or "0x" hex; the default when the value is missing or
     not a number that fits 32 bits. */
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  /* "0" is false, any other number true; the default when not a number. */
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  /* A section exists when it holds at least one key (the platform asks for
     the section's keys); ValueExists is true for a key with an empty value. */
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  /* The keys of a section, in file order, as written. */
  std::vector<std::string> ReadSection(std::string_view section) const;
  /* The lines of a section as "key=value", in file order, each value as
     ReadString gives it (an empty value gives "key="). */
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  /* The section names, in file order, each once, empty sections included. */
  std::vector<std::string> ReadSections() const;

 private:
  struct Data;
  std::string fileName_;
  std::unique_ptr<Data> data_;
};

}  // namespace platform

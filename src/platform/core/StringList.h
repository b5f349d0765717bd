#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/* The platform's string list: byte strings, each with an optional object
   value (an integer the size of a pointer), read as "Name=Value" pairs where
   needed. Names compare without regard to case. Index errors raise
   EListError-style Exception "List index out of bounds (<i>)". */
class StringList {
 public:
  enum class Duplicates { Accept, Ignore, Error };

  StringList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const;
  void Set(int index, std::string text);
  intptr_t Object(int index) const;
  void SetObject(int index, intptr_t object);

  /* Adds at the end, or at the sorted place when Sorted; returns the index.
     With Sorted and Duplicates::Ignore an existing text is not added again
     (its index is returned); with Duplicates::Error that raises. */
  int Add(std::string text, intptr_t object = 0);
  void Insert(int index, std::string text, intptr_t object = 0);
  void Delete(int index);
  void Clear();

  /* Index of a text (case-insensitive), -1 when absent. */
  int IndexOf(std::string_view text) const;
  /* Index of the first "Name=..." entry with that name, -1 when absent. */
  int IndexOfName(std::string_view name) const;
  /* Name and value of an entry ("" name for an entry without "="). */
  std::string Name(int index) const;
  std::string ValueFromIndex(int index) const;
  /* Value of the first entry of that name ("" when absent). Setting a value
     replaces the entry, adds one when absent, and deletes it when the value
     is empty. */
  std::string Value(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);

  /* All entries, each followed by CR LF. Setting splits at CR LF, LF or CR
     (a final line break gives no extra entry). */
  std::string Text() const;
  void SetText(std::string_view text);
  /* Entries separated by commas; entries holding blanks, commas or quotes
     are double-quoted with inner quotes doubled. Setting reads that form. */
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  bool Sorted() const { return sorted_; }
  /* Turning Sorted on sorts the list (case-insensitive, stable). */
  void SetSorted(bool sorted);
  void SetDuplicates(Duplicates duplicates) { duplicates_ = duplicates; }

  const std::vector<std::string>& Strings() const { return items_; }

 private:
  void CheckIndex(int index) const;
  std::vector<std::string> items_;
  std::vector<intptr_t> objects_;
  bool sorted_ = false;
  Duplicates duplicates_ = Duplicates::Ignore;
};

}  // namespace platform

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/* The platform's string list: byte strings, each with an optional object
   value (an integer the size of a pointer), read as "Name=Value" pairs where
   needed. Names and texts compare without regard to ASCII case. Every error
   raises platform::Exception; an index outside the list gives
   "List index out of bounds (<i>)". */
class StringList {
 public:
  enum class Duplicates { Accept, Ignore, Error };

  StringList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const;
  /* Replaces the text of an entry; raises on a sorted list, where the new
     text could break the order. */
  void Set(int index, std::string text);
  intptr_t Object(int index) const;
  void SetObject(int index, intptr_t object);

  /* Adds at the end, or at the sorted place when Sorted; returns the index.
     With Sorted, a text equal to existing ones goes after them (Accept), is
     not added again and the existing index is returned (Ignore), or raises
     "String list does not allow duplicates" (Error). Unsorted lists accept
     everything. */
  int Add(std::string text, intptr_t object = 0);
  /* Inserts before index (0..Count); raises on a sorted list. */
  void Insert(int index, std::string text, intptr_t object = 0);
  void Delete(int index);
  void Clear();

  /* Index of the first entry equal to text (case-insensitive), -1 when absent. */
  int IndexOf(std::string_view text) const;
  /* Index of the first "Name=..." entry with that name, -1 when absent.
     Entries without "=" have no name and never match. */
  int IndexOfName(std::string_view name) const;
  /* Name (before the first "=") and value (after it) of an entry; both are ""
     for an entry without "=". */
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
  /* Entries separated by commas; entries holding blanks (any byte up to
     " "), commas or quotes are double-quoted with inner quotes doubled, and a
     list of one empty entry is "". Setting reads that form: entries are
     separated by commas or blanks, quoted entries may hold both, blanks
     around entries are dropped and a trailing comma adds nothing. */
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  bool Sorted() const { return sorted_; }
  /* Turning Sorted on sorts the list (case-insensitive, stable); duplicates
     already in the list stay. */
  void SetSorted(bool sorted);
  void SetDuplicates(Duplicates duplicates) { duplicates_ = duplicates; }

  const std::vector<std::string>& Strings() const { return items_; }

 private:
  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  void InsertItem(int index, std::string text, intptr_t object);
  std::vector<std::string> items_;
  std::vector<intptr_t> objects_;
  bool sorted_ = false;
  Duplicates duplicates_ = Duplicates::Ignore;
};

}  // namespace platform

#include "platform/core/StringList.h"

#include <algorithm>
#include <numeric>

#include "platform/core/Exception.h"

namespace platform {

namespace {

unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

// ASCII-only, so that the lead and trail bytes of double-byte text compare
// as they are.
int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char ca = Lower(static_cast<unsigned char>(a[i]));
    const unsigned char cb = Lower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The comma form's separators: every byte from 1 up to the blank.
bool IsBlank(unsigned char c) { return c >= 1 && c <= ' '; }

std::string_view NameOf(std::string_view entry) {
  const size_t eq = entry.find('=');
  return eq == std::string_view::npos ? std::string_view() : entry.substr(0, eq);
}

}  // namespace

void StringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

void StringList::CheckUnsorted() const {
  if (sorted_) throw Exception("Operation not allowed on sorted string list");
}

const std::string& StringList::operator[](int index) const {
  CheckIndex(index);
  return items_[index];
}

void StringList::Set(int index, std::string text) {
  CheckUnsorted();
  CheckIndex(index);
  items_[index] = std::move(text);
}

intptr_t StringList::Object(int index) const {
  CheckIndex(index);
  return objects_[index];
}

void StringList::SetObject(int index, intptr_t object) {
  CheckIndex(index);
  objects_[index] = object;
}

void StringList::InsertItem(int index, std::string text, intptr_t object) {
  items_.insert(items_.begin() + index, std::move(text));
  objects_.insert(objects_.begin() + index, object);
}

int StringList::Add(std::string text, intptr_t object) {
  if (!sorted_) {
    InsertItem(Count(), std::move(text), object);
    return Count() - 1;
  }
  auto less = [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; };
  const auto first = std::lower_bound(items_.begin(), items_.end(), text, less);
  const int at = static_cast<int>(first - items_.begin());
  if (first != items_.end() && CompareNoCase(*first, text) == 0) {
    if (duplicates_ == Duplicates::Ignore) return at;
    if (duplicates_ == Duplicates::Error) throw Exception("String list does not allow duplicates");
    const auto after = std::upper_bound(first, items_.end(), text, less);
    const int end = static_cast<int>(after - items_.begin());
    InsertItem(end, std::move(text), object);
    return end;
  }
  InsertItem(at, std::move(text), object);
  return at;
}

void StringList::Insert(int index, std::string text, intptr_t object) {
  CheckUnsorted();
  if (index < 0 || index > Count())
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  InsertItem(index, std::move(text), object);
}

void StringList::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  objects_.erase(objects_.begin() + index);
}

void StringList::Clear() {
  items_.clear();
  objects_.clear();
}

int StringList::IndexOf(std::string_view text) const {
  if (sorted_) {
    const auto it = std::lower_bound(
        items_.begin(), items_.end(), text,
        [](const std::string& a, std::string_view b) { return CompareNoCase(a, b) < 0; });
    if (it != items_.end() && CompareNoCase(*it, text) == 0)
      return static_cast<int>(it - items_.begin());
    return -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareNoCase(items_[i], text) == 0) return i;
  return -1;
}

int StringList::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string_view entry = items_[i];
    const size_t eq = entry.find('=');
    if (eq != std::string_view::npos && CompareNoCase(entry.substr(0, eq), name) == 0) return i;
  }
  return -1;
}

std::string StringList::Name(int index) const { return std::string(NameOf((*this)[index])); }

std::string StringList::ValueFromIndex(int index) const {
  const std::string& entry = (*this)[index];
  const size_t eq = entry.find('=');
  return eq == std::string::npos ? std::string() : entry.substr(eq + 1);
}

std::string StringList::Value(std::string_view name) const {
  const int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void StringList::SetValue(std::string_view name, std::string_view value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string entry = std::string(name) + "=" + std::string(value);
  if (index < 0) {
    Add(std::move(entry));
  } else if (sorted_) {
    // The new text keeps the name, but a sorted list must place it again.
    const intptr_t object = objects_[index];
    Delete(index);
    Add(std::move(entry), object);
  } else {
    items_[index] = std::move(entry);
  }
}

std::string StringList::Text() const {
  std::string result;
  for (const std::string& item : items_) {
    result += item;
    result += "\r\n";
  }
  return result;
}

void StringList::SetText(std::string_view text) {
  Clear();
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      Add(std::string(text.substr(pos)));
      break;
    }
    Add(std::string(text.substr(pos, end - pos)));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
}

std::string StringList::CommaText() const {
  if (Count() == 1 && items_[0].empty()) return "\"\"";
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) result += ',';
    const std::string& item = items_[i];
    const bool quote = std::any_of(item.begin(), item.end(), [](char ch) {
      const auto c = static_cast<unsigned char>(ch);
      return c <= ' ' || c == '"' || c == ',';
    });
    if (!quote) {
      result += item;
      continue;
    }
    result += '"';
    for (char c : item) {
      if (c == '"') result += '"';
      result += c;
    }
    result += '"';
  }
  return result;
}

void StringList::SetCommaText(std::string_view text) {
  Clear();
  size_t p = 0;
  // The text ends at a NUL byte, as the platform's character scanner does.
  const size_t n = std::min(text.size(), text.find('\0'));
  auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  auto skipBlanks = [&] {
    while (p < n && IsBlank(at(p))) ++p;
  };
  skipBlanks();
  while (p < n) {
    std::string entry;
    if (text[p] == '"') {
      // A quoted entry runs to the next single quote; doubled quotes are one.
      // An entry whose closing quote is missing takes the rest of the text.
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            entry += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        entry += text[p++];
      }
    } else {
      const size_t start = p;
      while (p < n && at(p) > ' ' && text[p] != ',') ++p;
      entry.assign(text.substr(start, p - start));
    }
    Add(std::move(entry));
    skipBlanks();
    if (p < n && text[p] == ',') {
      ++p;
      skipBlanks();
    }
  }
}

void StringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) {
    std::vector<size_t> order(items_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
      return CompareNoCase(items_[a], items_[b]) < 0;
    });
    std::vector<std::string> items;
    std::vector<intptr_t> objects;
    items.reserve(order.size());
    objects.reserve(order.size());
    for (size_t i : order) {
      items.push_back(std::move(items_[i]));
      objects.push_back(objects_[i]);
    }
    items_ = std::move(items);
    objects_ = std::move(objects);
  }
  sorted_ = sorted;
}

}  // namespace platform

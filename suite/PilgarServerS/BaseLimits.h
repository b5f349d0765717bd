#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace pilgar {

/* A user's base-data limits, as the rights answer sends them and the client
   hands them back in the property BaseLimited: fields separated by the
   character with code 3 — the limit group, the number n of entries, then n
   entries. An entry "TABLE=code,code,..." lets the user see only those
   codes of the lookup table TABLE (upper case; blanks around codes are
   dropped). Entries of another form are ignored. */
class BaseLimits {
 public:
  /* Reads the text (UTF-8). An empty or malformed text gives no limits; a
     count larger than the entries present reads the entries present. */
  static BaseLimits Parse(std::string_view text);

  /* True when TABLE has no limit or the code is among its codes. */
  bool Allows(std::string_view table, std::string_view code) const;
  bool Empty() const { return limits_.empty(); }

 private:
  std::map<std::string, std::set<std::string>> limits_;
};

}  // namespace pilgar

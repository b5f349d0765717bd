#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "suite/PilgarServerS/BaseLimits.h"
#include "suite/db/Database.h"

namespace pilgar {

/* The checks and lookups of the suite's master tables, by table code and
   kind ("CMSMB" "01", ...). A key is an array of key fields (or a single
   value); fields are compared trimmed, except the scheme names of "GENES",
   which compare byte for byte. Answer rows are arrays 0..n-1 of columns, texts
   in GB. The row layouts of every table and kind are listed in Catalog.cpp. */
class Catalog {
 public:
  explicit Catalog(suitedb::Database& db) : db_(db) {}

  /* The row the key names, or nullopt when there is none, when the limits
     hide it, or when the table and kind are unknown. */
  std::optional<platform::Variant> Check(std::string_view table, std::string_view kind,
                                         const platform::Variant& key, const BaseLimits& limits);

  /* The lookup window's content: [column captions, rows], each row an array
     of columns with the code first, at most 2000 rows. The key narrows the
     rows (a blank field narrows nothing); searchText (UTF-8) keeps the rows
     whose code starts with it or whose name contains it. Raises
     platform::Exception for an unknown table or kind. */
  platform::Variant Lookup(std::string_view table, std::string_view kind,
                           const platform::Variant& key, std::string_view searchText,
                           const BaseLimits& limits);

  static bool Knows(std::string_view table, std::string_view kind);

 private:
  suitedb::Database& db_;
};

}  // namespace pilgar

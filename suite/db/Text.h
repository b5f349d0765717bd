#pragma once

#include <string>
#include <string_view>

#include "platform/core/Variant.h"
#include "suite/db/Database.h"

namespace suitedb {

/* Texts cross the module boundary in the database code page (936, GB) and
   are kept in the database as UTF-8. */
constexpr int kDbCodePage = 936;

/* A text the client sent, as UTF-8: a byte string is read as GB, a wide
   string as UTF-16, anything else by its text form (Empty and Null give ""). */
std::string FromClient(const platform::Variant& value);
/* A text for the client: the UTF-8 text as a GB byte string. */
platform::Variant ToClient(std::string_view utf8);
/* The UTF-8 text in GB bytes. */
std::string Utf8ToGb(std::string_view utf8);
/* The exact bytes of a text the client sent: a byte string as it is, a wide
   string in GB, anything else by its text form. */
std::string ClientBytes(const platform::Variant& value);

/* A column of the current row for the client: text as a GB byte string, a
   blob as its bytes, an integer as Integer (Double beyond 32 bits), a real
   as Double, NULL as Null. */
platform::Variant ColumnToClient(const Statement& row, int column);
/* All columns of the current row as an array 0..n-1 of ColumnToClient. */
platform::Variant RowToClient(const Statement& row);

}  // namespace suitedb

#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Dispatch.h"
#include "suite/db/Database.h"

namespace pilgar {

/* The automation object "PilgarServerS.dmSystem": the server side of the
   host's counter, validation and lookup services. One object serves one
   client connection and opens its own connection to the configured
   database at the first call that needs it. Texts go out as GB byte
   strings; texts coming in may be GB byte strings or wide strings.

   Members (a failure of the database or the configuration raises an error
   from the call, unless stated otherwise):
   - GetSysInfo(CompanyID) -> [0..1, 0..N-1]: row 0 setting names, row 1
     their values; the company's own values over the defaults of every company.
   - GetCounter(Name, Value, [CompanyID, DbName]) -> for Name "SimpleSQL"
     (any case) and Value [SQL text, column names]: an array of rows, each an
     array of the named columns (comma-separated names; all columns when
     empty). Only one read-only SELECT (or WITH ... SELECT) without
     parameters runs; anything else, an unknown column, more than 10000 rows
     or a query that runs too long answers the text "ERROR: <reason>". For
     any other Name: a named counter of the company, moved by Value (an
     integer, 1 when empty), answering its new value.
   - CheckValue and QueryData(Table, Kind, DbName, Key, out Row) -> Boolean;
     Row receives the answer row, or unassigned when the key names nothing,
     the property BaseLimited hides it, or table and kind are unknown. The
     two answer alike.
   - property BaseLimited: the base-data limit text the next checks honour.
   - GetMessage(Type, Number) -> the message text ("%s" marks arguments); an
     unknown code answers a text naming the type and number.
   - LookupRows(Table, Kind, DbName, Key, SearchText, BaseLimited) ->
     [column captions, rows] (see Catalog).
   - GetFileList([file name]) -> "<Modify>yyyy/mm/dd hh:nn:ss</Modify><Path>
     full name</Path>" of the file of that name (folder part ignored, letter
     case ignored) in the first work folder holding it; "" when none does. */
class SystemService : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "PilgarServerS.dmSystem";
  SystemService();
  ~SystemService() override;

 private:
  suitedb::Database& Db();
  platform::Variant GetSysInfo(const platform::Variant& company);
  platform::Variant GetCounter(const platform::Variant& name, const platform::Variant& value,
                               const platform::Variant& place);
  platform::Variant SimpleSql(const platform::Variant& value);
  platform::Variant CheckValue(std::vector<platform::Variant>& args);
  platform::Variant GetMessage(const platform::Variant& type, const platform::Variant& number);
  platform::Variant LookupRows(std::vector<platform::Variant>& args);
  platform::Variant GetFileList(const platform::Variant& names);

  std::optional<suitedb::Database> db_;
  std::string baseLimited_;  // UTF-8
};

}  // namespace pilgar

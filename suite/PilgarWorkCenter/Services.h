#pragma once

#include <memory>
#include <string>

#include "platform/core/Dispatch.h"
#include "suite/PilgarWorkCenter/ServerLink.h"

namespace pilgarwc {

/* The host's counter service (Com_Counter). Both members forward to the
   system server and answer what it answers:
   - GetSysInfo(CompanyID) -> [0..1, 0..N-1] setting names and values;
   - GetCounter(Name, Value[, [CompanyID, DbName]]) -> the counter's new
     value, or for "SimpleSQL" the rows of a read-only query (or a text
     "ERROR: ..."). */
class CounterService : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "PilgarWorkCenter.Counter";
  explicit CounterService(std::shared_ptr<ServerLink> link);

 private:
  std::shared_ptr<ServerLink> link_;
};

/* The host's validation service (Com_Validator).
   - property BaseLimited: the user's base-data limits (text) that the
     following checks honour; kept here and handed to the server when set.
   - CheckValue and QueryData(Table, Kind, DbName, Key[, out Row]) ->
     Boolean: whether the key names a row the limits let the user see; Row
     receives that row (an array of columns), or unassigned. */
class ValidatorService : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "PilgarWorkCenter.Validator";
  explicit ValidatorService(std::shared_ptr<ServerLink> link);

 private:
  std::shared_ptr<ServerLink> link_;
  platform::Variant baseLimited_{""};
};

/* The host's lookup service (Com_F2Window); both members open a modal
   window and so need the host's running Qt application (without one they
   raise EOleError).
   - F2GetData(A) with A an array 0..18 (0..16 from the earlier generation):
     0 table, 1 kind, 2 key, 3 multiple choice, 4 starting search text,
     6 DbName, 14 BaseLimited; the rest is accepted and not used. Shows the
     lookup window on the server's LookupRows and answers the chosen rows
     (an array of rows, each an array of columns, code first), or unassigned
     when the user chose nothing or left. Another shape of A raises
     EBadArgument; a table the server cannot look up raises its error.
   - ShowInputDay([Minguo flag, yyyymmdd, DbName]) -> the date the user
     chose in the date picker as yyyymmdd, or "" when the picker was left. */
class LookupService : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "PilgarWorkCenter.F2Window";
  explicit LookupService(std::shared_ptr<ServerLink> link);

 private:
  platform::Variant F2GetData(const platform::Variant& args);
  platform::Variant ShowInputDay(const platform::Variant& args);

  std::shared_ptr<ServerLink> link_;
};

/* A text argument as GB bytes: byte strings as they are, wide strings
   converted to code page 936, unassigned and null as "". */
std::string GbText(const platform::Variant& value);

}  // namespace pilgarwc

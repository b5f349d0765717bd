#include "outside/HostServices.h"

#include <vector>

#include "platform/core/Dispatch.h"

namespace Outside {

using platform::CallMethod;
using platform::VarArrayOf;
using platform::Variant;

Variant CreateHostObject() { return Variant(platform::CreateOleObject(kHostClassName)); }

Variant ComCounter(const Variant& host) { return CallMethod(host, "Com_Counter"); }
Variant ComValidator(const Variant& host) { return CallMethod(host, "Com_Validator"); }
Variant ComF2Window(const Variant& host) { return CallMethod(host, "Com_F2Window"); }

Variant GetMessage(const Variant& host, const std::string& type, const std::string& number) {
  return CallMethod(host, "GetMessage", {Variant(type), Variant(number)});
}

Variant GetFileList(const Variant& host, const std::string& fileName) {
  return CallMethod(host, "GetFileList", {VarArrayOf({Variant(fileName)})});
}

Variant CallHelp(const Variant& host, const std::string& letters, const std::string& number) {
  return CallMethod(host, "CallHelp", {VarArrayOf({Variant(letters), Variant(number)})});
}

Variant GetSysInfo(const Variant& counter, const std::string& companyID) {
  return CallMethod(counter, "GetSysInfo", {Variant(companyID)});
}

Variant GetCounter(const Variant& counter, const std::string& name, const Variant& value,
                   const std::string& companyID, const std::string& dbName) {
  return CallMethod(counter, "GetCounter",
                    {Variant(name), value, VarArrayOf({Variant(companyID), Variant(dbName)})});
}

void SetBaseLimited(const Variant& validator, const Variant& limits) {
  platform::PutProperty(validator, "BaseLimited", limits);
}

namespace {

// CheckValue and QueryData share their form: the row is the out argument.
bool CheckOrQuery(const char* operation, const Variant& validator, const std::string& table,
                  const std::string& kind, const std::string& dbName, const Variant& key,
                  Variant& row) {
  std::vector<Variant> args = {Variant(table), Variant(kind), Variant(dbName), key, row};
  const Variant answer = CallMethod(validator, operation, args);
  row = args[4];
  return answer.AsBoolean();
}

}  // namespace

bool CheckValue(const Variant& validator, const std::string& table, const std::string& kind,
                const std::string& dbName, const Variant& key, Variant& row) {
  return CheckOrQuery("CheckValue", validator, table, kind, dbName, key, row);
}

bool QueryData(const Variant& validator, const std::string& table, const std::string& kind,
               const std::string& dbName, const Variant& key, Variant& row) {
  return CheckOrQuery("QueryData", validator, table, kind, dbName, key, row);
}

Variant F2GetData(const Variant& lookup, const Variant& args) {
  return CallMethod(lookup, "F2GetData", {args});
}

Variant ShowInputDay(const Variant& lookup, bool minguo, const std::string& start,
                     const std::string& dbName) {
  return CallMethod(lookup, "ShowInputDay",
                    {VarArrayOf({Variant(minguo), Variant(start), Variant(dbName)})});
}

}  // namespace Outside

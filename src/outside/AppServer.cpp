#include "outside/AppServer.h"

#include "platform/core/Dispatch.h"

namespace Outside {

using platform::CallMethod;
using platform::VarArrayOf;
using platform::Variant;

Variant CreateServerObject(const std::string& className) {
  return Variant(platform::CreateOleObject(className));
}

Variant LoadTable(const Variant& server, const std::string& userID,
                  const std::string& programCode) {
  return CallMethod(server, "LoadTable", {VarArrayOf({Variant(userID), Variant(programCode)})});
}

Variant InsertConTable(const Variant& server, const Variant& record) {
  return CallMethod(server, "InsertConTable", {record});
}

Variant DeleteConTable(const Variant& server, const Variant& key) {
  return CallMethod(server, "DeleteConTable", {key});
}

Variant ChangeConName(const Variant& server, const Variant& oldKey, const Variant& newKey) {
  return CallMethod(server, "ChangeConName", {oldKey, newKey});
}

Variant GetPower(const Variant& server, const std::string& dbName, const std::string& userID,
                 const std::string& programCode) {
  return CallMethod(
      server, "GetPower",
      {VarArrayOf({Variant(dbName), Variant(userID), Variant(programCode), Variant("")})});
}

Variant SQLType(const Variant& server) { return CallMethod(server, "SQLType"); }

Variant Request(const Variant& server, const Variant& request) {
  return CallMethod(server, "Request", {request});
}

Variant Request1(const Variant& server, const Variant& request, const Variant& options) {
  return CallMethod(server, "Request1", {request, options});
}

Variant UpdateStatus1(const Variant& server, const Variant& id, const Variant& texts,
                      const Variant& time) {
  return CallMethod(server, "UpdateStatus1", {id, texts, time});
}

Variant ErrorDescript(const Variant& server) { return CallMethod(server, "ErrorDescript"); }

Variant AS_GetRecords(const Variant& server, const std::string& providerName) {
  return CallMethod(server, "AS_GetRecords", {Variant(providerName)});
}

}  // namespace Outside

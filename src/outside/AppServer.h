#pragma once

#include <string>

#include "platform/core/Variant.h"

/* The application server's operations ("ReportCounterS.dmReportCounter"),
   called by name on the server object the socket connection hands out, or
   on one made in this process. Answers that are texts come back as
   Variants: the callers decide how to read them. */
namespace Outside {

/* The server class the report windows connect to. */
inline constexpr char kReportServerClass[] = "ReportCounterS.dmReportCounter";

/* A server object made in this process by class name (the local address). */
platform::Variant CreateServerObject(const std::string& className);

/* LoadTable([UserID, ProgramCode]): "" on success, else a message. */
platform::Variant LoadTable(const platform::Variant& server, const std::string& userID,
                            const std::string& programCode);
/* InsertConTable(Record 0..6) / DeleteConTable(Key) / ChangeConName(Old, New). */
platform::Variant InsertConTable(const platform::Variant& server, const platform::Variant& record);
platform::Variant DeleteConTable(const platform::Variant& server, const platform::Variant& key);
platform::Variant ChangeConName(const platform::Variant& server, const platform::Variant& oldKey,
                                const platform::Variant& newKey);
/* GetPower([DbName, UserID, ProgramCode, ""]): the rights answer. */
platform::Variant GetPower(const platform::Variant& server, const std::string& dbName,
                           const std::string& userID, const std::string& programCode);
/* SQLType(): the server's database kind. */
platform::Variant SQLType(const platform::Variant& server);
/* Request(Request) and Request1(Request, Options): the job identifier, or
   "ERROR". */
platform::Variant Request(const platform::Variant& server, const platform::Variant& request);
platform::Variant Request1(const platform::Variant& server, const platform::Variant& request,
                           const platform::Variant& options);
/* UpdateStatus1(ID, Texts, Time). */
platform::Variant UpdateStatus1(const platform::Variant& server, const platform::Variant& id,
                                const platform::Variant& texts, const platform::Variant& time);
/* ErrorDescript(): the reason of the last failure. */
platform::Variant ErrorDescript(const platform::Variant& server);
/* AS_GetRecords(ProviderName): [field names, rows]. */
platform::Variant AS_GetRecords(const platform::Variant& server, const std::string& providerName);

}  // namespace Outside

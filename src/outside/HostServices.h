#pragma once

#include <string>

#include "platform/core/Variant.h"

/* The calls the program makes on the outside world by name: the host
   object and its services (this header), the application server
   (AppServer.h), the queue manager and the browser (Automation.h) and the
   report's server module (ServerModule.h). Every function takes the object
   as a Variant and typed arguments; errors of the call (an unknown member,
   refused arguments, a failure inside, no object) reach the caller as the
   platform's exceptions, so that each caller decides what a failed call
   means. */
namespace Outside {

/* The class name a program running on its own creates the host object by. */
inline constexpr char kHostClassName[] = "PilgarWorkCenter.Manager";

// ---- Host object -----------------------------------------------------------

/* A new host object by class name (stand-alone mode). */
platform::Variant CreateHostObject();
/* The counter, validation and lookup services: Com_Counter(),
   Com_Validator(), Com_F2Window(). */
platform::Variant ComCounter(const platform::Variant& host);
platform::Variant ComValidator(const platform::Variant& host);
platform::Variant ComF2Window(const platform::Variant& host);
/* GetMessage(Type, Number): the message text ("%s" marks arguments). */
platform::Variant GetMessage(const platform::Variant& host, const std::string& type,
                             const std::string& number);
/* GetFileList([FileName]): the file information of a work library. */
platform::Variant GetFileList(const platform::Variant& host, const std::string& fileName);
/* CallHelp([Letters, Number]): opens a help page. */
platform::Variant CallHelp(const platform::Variant& host, const std::string& letters,
                           const std::string& number);

// ---- Counter service ---------------------------------------------------------

/* GetSysInfo(CompanyID): [0..1, 0..n-1], row 0 the names, row 1 the values. */
platform::Variant GetSysInfo(const platform::Variant& counter, const std::string& companyID);
/* GetCounter(Name, Value, [CompanyID, DbName]). */
platform::Variant GetCounter(const platform::Variant& counter, const std::string& name,
                             const platform::Variant& value, const std::string& companyID,
                             const std::string& dbName);

// ---- Validation service ------------------------------------------------------

/* Writes the property BaseLimited. */
void SetBaseLimited(const platform::Variant& validator, const platform::Variant& limits);
/* CheckValue(Table, Kind, DbName, Key, Row) and QueryData(...): the answer
   read as a Boolean; Row receives the out argument. */
bool CheckValue(const platform::Variant& validator, const std::string& table,
                const std::string& kind, const std::string& dbName, const platform::Variant& key,
                platform::Variant& row);
bool QueryData(const platform::Variant& validator, const std::string& table,
               const std::string& kind, const std::string& dbName, const platform::Variant& key,
               platform::Variant& row);

// ---- Lookup service ----------------------------------------------------------

/* F2GetData(Args): the rows chosen, or unassigned. */
platform::Variant F2GetData(const platform::Variant& lookup, const platform::Variant& args);
/* ShowInputDay([Minguo, Start yyyymmdd, DbName]): the chosen date or empty. */
platform::Variant ShowInputDay(const platform::Variant& lookup, bool minguo,
                               const std::string& start, const std::string& dbName);

}  // namespace Outside

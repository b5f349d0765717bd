#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/core/Dispatch.h"
#include "suite/ReportCounterS/JobRequest.h"
#include "suite/db/Database.h"

namespace reportcounter {

/* The automation object "ReportCounterS.dmReportCounter": the application
   server's report module. One object serves one client connection; it keeps
   the user and program given to LoadTable and the text of its last failure,
   and opens its own connection to the configured database at the first call
   that needs it. Answers that are texts go out as GB byte strings; an empty
   text means success and any other text is a message for the user.

   - LoadTable([UserID, ProgramCode]) -> "": the provider "pvdConSave" now
     serves that user's schemes of that program.
   - AS_GetRecords(ProviderName, ...) -> for "pvdConSave": [field names, rows]
     with the fields NCONDITION, CREATOR, PROGRAMME, CREATE_DATE, SCONDITION,
     VCONDITION, rows ordered by name; scheme texts come back as the exact
     bytes stored. Another provider raises an error.
   - InsertConTable(record 0..6) -> "" or a message: stores [name, user, date
     yyyymmdd (today when empty), program, property list, value text,
     replace]; an existing scheme of that name is replaced only when replace
     is true. Names, users, programs and both texts are kept byte for byte.
   - DeleteConTable([name, user, program]) -> "" or a message (no such scheme).
   - ChangeConName(old key, new key) -> "" or a message (no such scheme, the
     new name is empty or already used).
   - GetPower([DbName, UserID, ProgramCode, ""]) -> [0..5]: 0 user code,
     1 "user,program,group,rights" (the rights text: Y/N flags, 7th export,
     8th prices and amounts; the program's own row, else the user's row for
     every program, else all "N"), 2 user name, 3 program name, 4 the
     base-data limit group, 5 the limits counted: [n, entry 1 .. entry n].
   - SQLType() -> kSqlType (the SQLite database kind of this server).
   - Request(request) and Request1(request, computer name) -> the new job's
     identifier (8-digit number followed by the time yyyymmddhhnnss), stored
     with the whole request before it is answered, or "ERROR" with the reason
     left for ErrorDescript.
   - UpdateStatus1(id, texts, time) -> "" or a message (no such job): marks
     the job finished with the given texts.
   - ErrorDescript() -> the reason of the last "ERROR" (or other failure). */
class ReportCounter : public platform::AutoObject {
 public:
  static constexpr char kClassName[] = "ReportCounterS.dmReportCounter";
  static constexpr int32_t kSqlType = 5;
  ReportCounter();
  ~ReportCounter() override;

 private:
  suitedb::Database& Db();
  platform::Variant LoadTable(const platform::Variant& keys);
  platform::Variant GetRecords(const platform::Variant& provider);
  platform::Variant InsertConTable(const platform::Variant& record);
  platform::Variant DeleteConTable(const platform::Variant& key);
  platform::Variant ChangeConName(const platform::Variant& oldKey, const platform::Variant& newKey);
  platform::Variant GetPower(const platform::Variant& request);
  platform::Variant Request(const platform::Variant& request, const char* operation,
                            const std::string& computer);
  /* Stores the job in one transaction and returns its identifier. */
  std::string StoreJob(const platform::Variant& request, const JobFacts& facts,
                       const char* operation, const std::string& computer);
  platform::Variant UpdateStatus(const platform::Variant& id, const platform::Variant& texts,
                                 const platform::Variant& time);
  /* Records the failure for ErrorDescript and returns it as the answer. */
  platform::Variant Refuse(std::string message);

  std::optional<suitedb::Database> db_;
  std::string user_;       // bytes as sent to LoadTable
  std::string program_;    // bytes as sent to LoadTable
  std::string lastError_;  // GB
};

}  // namespace reportcounter

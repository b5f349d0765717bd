#include "suite/ReportCounterS/ReportCounter.h"

#include <cstdint>

#include "platform/core/DateTime.h"
#include "platform/core/Format.h"
#include "platform/core/SysUtils.h"
#include "suite/ReportCounterS/JobRequest.h"
#include "suite/db/ServerConfig.h"
#include "suite/db/TaggedJson.h"
#include "suite/db/Text.h"

namespace reportcounter {

using platform::Variant;
using suitedb::Blob;
using suitedb::ClientBytes;
using suitedb::FromClient;
using suitedb::ToClient;

namespace {

constexpr char kProvider[] = "pvdConSave";

std::vector<Variant> Elements(const Variant& value) {
  if (value.IsArray()) return value.Array().Items();
  return {value};
}

Variant ToArray(std::vector<Variant> items, int32_t low = 0) {
  platform::VarArray array({{low, low + static_cast<int32_t>(items.size()) - 1}});
  for (size_t i = 0; i < items.size(); ++i)
    array.At(low + static_cast<int32_t>(i)) = std::move(items[i]);
  return Variant(std::move(array));
}

std::string Moment(platform::DateTime value) {
  const platform::FormatSettings settings;
  return platform::FormatDateTime("yyyy-mm-dd hh:nn:ss", value, settings);
}

// A scheme's key: name, user and program, each as the exact bytes sent.
struct SchemeKey {
  std::string Name, User, Program;
};

std::optional<SchemeKey> ReadKey(const Variant& key) {
  if (!key.IsArray() || key.DimCount() != 1) return std::nullopt;
  const std::vector<Variant> parts = key.Array().Items();
  if (parts.size() < 3) return std::nullopt;
  return SchemeKey{ClientBytes(parts[0]), ClientBytes(parts[1]), ClientBytes(parts[2])};
}

bool SchemeExists(suitedb::Database& db, const SchemeKey& key) {
  return db
      .QueryText(
          "SELECT 1 FROM condition_scheme WHERE ncondition = ? AND creator = ? AND "
          "programme = ?",
          {Blob{key.Name}, Blob{key.User}, Blob{key.Program}})
      .has_value();
}

}  // namespace

ReportCounter::ReportCounter() : AutoObject(kClassName) {
  AddMethod("LoadTable", 1, 1, [this](std::vector<Variant>& a) { return LoadTable(a[0]); });
  // The data set's fetch call; the arguments after the provider's name are not used.
  AddMethod("AS_GetRecords", 1, 7, [this](std::vector<Variant>& a) { return GetRecords(a[0]); });
  AddMethod("InsertConTable", 1, 1,
            [this](std::vector<Variant>& a) { return InsertConTable(a[0]); });
  AddMethod("DeleteConTable", 1, 1,
            [this](std::vector<Variant>& a) { return DeleteConTable(a[0]); });
  AddMethod("ChangeConName", 2, 2,
            [this](std::vector<Variant>& a) { return ChangeConName(a[0], a[1]); });
  AddMethod("GetPower", 1, 1, [this](std::vector<Variant>& a) { return GetPower(a[0]); });
  AddMethod("SQLType", 0, 0, [](std::vector<Variant>&) { return Variant(kSqlType); });
  AddMethod("Request", 1, 1,
            [this](std::vector<Variant>& a) { return Request(a[0], "Request", ""); });
  AddMethod("Request1", 1, 2, [this](std::vector<Variant>& a) {
    return Request(a[0], "Request1", a.size() > 1 ? FromClient(a[1]) : "");
  });
  AddMethod("UpdateStatus1", 1, 3, [this](std::vector<Variant>& a) {
    return UpdateStatus(a[0], a.size() > 1 ? a[1] : Variant(), a.size() > 2 ? a[2] : Variant());
  });
  AddMethod("ErrorDescript", 0, 0, [this](std::vector<Variant>&) { return Variant(lastError_); });
}

ReportCounter::~ReportCounter() = default;

suitedb::Database& ReportCounter::Db() {
  if (!db_) db_.emplace(suitedb::OpenServerDatabase());
  return *db_;
}

Variant ReportCounter::Refuse(std::string message) {
  lastError_ = std::move(message);
  return Variant(lastError_);
}

Variant ReportCounter::LoadTable(const Variant& keys) {
  const std::vector<Variant> parts = Elements(keys);
  if (!keys.IsArray() || parts.size() < 2) return Refuse("LoadTable 需要 [用户代号, 程序代号]");
  user_ = ClientBytes(parts[0]);
  program_ = ClientBytes(parts[1]);
  return Variant("");
}

Variant ReportCounter::GetRecords(const Variant& provider) {
  if (!platform::SameText(platform::Trim(FromClient(provider)), kProvider))
    throw platform::Exception("no provider named " + FromClient(provider));
  std::vector<Variant> fields;
  for (const char* name :
       {"NCONDITION", "CREATOR", "PROGRAMME", "CREATE_DATE", "SCONDITION", "VCONDITION"})
    fields.emplace_back(name);
  std::vector<Variant> rows;
  suitedb::Statement query = Db().Prepare(
      "SELECT ncondition, creator, programme, create_date, scondition, vcondition "
      "FROM condition_scheme WHERE creator = ? AND programme = ? ORDER BY ncondition");
  query.BindAll({Blob{user_}, Blob{program_}});
  while (query.Step()) {
    std::vector<Variant> row;
    for (int c = 0; c < 6; ++c)
      row.push_back(c == 3 ? ToClient(query.ColumnText(c)) : Variant(query.ColumnText(c)));
    rows.push_back(ToArray(std::move(row)));
  }
  return platform::VarArrayOf({ToArray(std::move(fields)), ToArray(std::move(rows))});
}

Variant ReportCounter::InsertConTable(const Variant& record) {
  if (!record.IsArray() || record.DimCount() != 1 || record.LowBound() != 0 ||
      record.HighBound() < 5)
    return Refuse("方案记录必须是 0..6 的数组");
  const SchemeKey key{ClientBytes(record[0]), ClientBytes(record[1]), ClientBytes(record[3])};
  if (platform::Trim(key.Name).empty()) return Refuse("方案名不可空白!");
  std::string date = platform::Trim(FromClient(record[2]));
  if (date.empty()) {
    const platform::FormatSettings settings;
    date = platform::FormatDateTime("yyyymmdd", platform::Date(), settings);
  }
  const bool replace = record.HighBound() >= 6 && !record[6].IsNull() && record[6].AsBoolean();
  const std::string properties = ClientBytes(record[4]);
  const std::string values = ClientBytes(record[5]);
  suitedb::Database& db = Db();
  suitedb::Transaction transaction(db);
  if (SchemeExists(db, key) && !replace) return Refuse("此方案名称已经存在：" + key.Name);
  db.Execute(
      "INSERT INTO condition_scheme (ncondition, creator, programme, create_date, scondition, "
      "vcondition) VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (ncondition, creator, programme) "
      "DO UPDATE SET create_date = excluded.create_date, scondition = excluded.scondition, "
      "vcondition = excluded.vcondition",
      {Blob{key.Name}, Blob{key.User}, Blob{key.Program}, date, Blob{properties}, Blob{values}});
  transaction.Commit();
  return Variant("");
}

Variant ReportCounter::DeleteConTable(const Variant& keyValue) {
  const std::optional<SchemeKey> key = ReadKey(keyValue);
  if (!key) return Refuse("方案键值必须是 [方案名, 用户代号, 程序代号]");
  const int deleted = Db().Execute(
      "DELETE FROM condition_scheme WHERE ncondition = ? AND creator = ? AND programme = ?",
      {Blob{key->Name}, Blob{key->User}, Blob{key->Program}});
  if (deleted == 0) return Refuse("找不到要删除的方案：" + key->Name);
  return Variant("");
}

Variant ReportCounter::ChangeConName(const Variant& oldValue, const Variant& newValue) {
  const std::optional<SchemeKey> from = ReadKey(oldValue);
  const std::optional<SchemeKey> to = ReadKey(newValue);
  if (!from || !to) return Refuse("方案键值必须是 [方案名, 用户代号, 程序代号]");
  if (platform::Trim(to->Name).empty()) return Refuse("方案名不可空白!");
  suitedb::Database& db = Db();
  suitedb::Transaction transaction(db);
  if (!SchemeExists(db, *from)) return Refuse("找不到要更名的方案：" + from->Name);
  if (from->Name == to->Name && from->User == to->User && from->Program == to->Program)
    return Variant("");
  if (SchemeExists(db, *to)) return Refuse("此方案名称已经存在：" + to->Name);
  db.Execute(
      "UPDATE condition_scheme SET ncondition = ?, creator = ?, programme = ? "
      "WHERE ncondition = ? AND creator = ? AND programme = ?",
      {Blob{to->Name}, Blob{to->User}, Blob{to->Program}, Blob{from->Name}, Blob{from->User},
       Blob{from->Program}});
  transaction.Commit();
  return Variant("");
}

Variant ReportCounter::GetPower(const Variant& request) {
  const std::vector<Variant> parts = Elements(request);
  const std::string user = parts.size() > 1 ? platform::Trim(FromClient(parts[1])) : "";
  const std::string program =
      parts.size() > 2 ? platform::UpperCase(platform::Trim(FromClient(parts[2]))) : "";
  suitedb::Database& db = Db();
  std::string name, group;
  {
    suitedb::Statement who = db.Prepare("SELECT name, group_id FROM app_user WHERE user_id = ?");
    who.Bind(1, user);
    if (who.Step()) {
      name = who.ColumnText(0);
      group = who.ColumnText(1);
    }
  }
  const std::string rights =
      db.QueryText(
            "SELECT rights FROM user_right WHERE user_id = ?1 AND program_code IN (?2, '*') "
            "ORDER BY program_code = '*' LIMIT 1",
            {user, program})
          .value_or("NNNNNNNN");
  const std::string programName =
      db.QueryText("SELECT name FROM program WHERE code = ?", {program}).value_or("");
  std::string limitGroup;
  std::vector<Variant> limits = {Variant(int32_t{0})};
  suitedb::Statement entries =
      db.Prepare("SELECT limit_group, entry FROM user_limit WHERE user_id = ? ORDER BY seq");
  entries.Bind(1, user);
  while (entries.Step()) {
    limitGroup = entries.ColumnText(0);
    limits.push_back(ToClient(entries.ColumnText(1)));
  }
  limits[0] = Variant(static_cast<int32_t>(limits.size() - 1));
  return platform::VarArrayOf(
      {ToClient(user), ToClient(user + "," + program + "," + group + "," + rights), ToClient(name),
       ToClient(programName), ToClient(limitGroup), ToArray(std::move(limits))});
}

std::string ReportCounter::StoreJob(const Variant& request, const JobFacts& facts,
                                    const char* operation, const std::string& computer) {
  const std::string stored = suitedb::VariantToJsonText(request);
  const platform::DateTime now = platform::Now();
  suitedb::Database& db = Db();
  suitedb::Transaction transaction(db);
  // The write lock is held from here on, so the next number is ours alone.
  const int64_t seq =
      std::stoll(db.QueryText("SELECT coalesce(max(seq), 0) + 1 FROM job", {}).value());
  const platform::FormatSettings settings;
  const std::string id =
      platform::Format("%.8d", {seq}) + platform::FormatDateTime("yyyymmddhhnnss", now, settings);
  db.Execute(
      "INSERT INTO job (seq, job_id, operation, user_id, program_code, company_id, db_name, "
      "program_kind, gen_mode, status, created_at, run_at, updated_at, computer_name, "
      "request_json) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {seq, id, std::string(operation), facts.UserID, facts.ProgramCode, facts.CompanyID,
       facts.DbName, facts.ProgramKind,
       facts.GenerationMode ? suitedb::SqlValue(int64_t{*facts.GenerationMode})
                            : suitedb::SqlValue(nullptr),
       std::string(std::string_view(operation) == "Request1" ? "L" : "Q"), Moment(now), facts.RunAt,
       Moment(now), computer, stored});
  // Committed before the answer: a job the client was told about is never lost.
  transaction.Commit();
  lastError_.clear();
  return id;
}

Variant ReportCounter::Request(const Variant& request, const char* operation,
                               const std::string& computer) {
  JobFacts facts;
  std::optional<std::string> problem;
  try {
    problem = CheckRequest(request, facts);
  } catch (const platform::Exception& e) {
    problem = "作业请求的内容无法读取：" + e.Message();
  }
  if (problem) {
    Refuse(*problem);
    return Variant("ERROR");
  }
  try {
    return ToClient(StoreJob(request, facts, operation, computer));
  } catch (const std::exception& e) {
    Refuse(std::string("作业无法保存：") + e.what());
    return Variant("ERROR");
  }
}

Variant ReportCounter::UpdateStatus(const Variant& id, const Variant& texts, const Variant& time) {
  const platform::DateTime when =
      time.Type() == platform::VarType::Date ? time.AsDate() : platform::Now();
  const std::string jobId = platform::Trim(FromClient(id));
  const int changed =
      Db().Execute("UPDATE job SET status = 'F', status_text = ?, updated_at = ? WHERE job_id = ?",
                   {FromClient(texts), Moment(when), jobId});
  if (changed == 0) return Refuse("找不到作业：" + suitedb::Utf8ToGb(jobId));
  return Variant("");
}

}  // namespace reportcounter

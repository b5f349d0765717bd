#include "suite/PilgarServerS/SystemService.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>

#include "platform/core/SysUtils.h"
#include "suite/PilgarServerS/BaseLimits.h"
#include "suite/PilgarServerS/Catalog.h"
#include "suite/db/ServerConfig.h"
#include "suite/db/Text.h"

namespace pilgar {

using platform::Variant;
using suitedb::FromClient;
using suitedb::ToClient;

namespace {

constexpr int kMaxSqlRows = 10000;
// A query gets this many progress calls (each after 1000 engine steps) before it is stopped.
constexpr int kMaxSqlProgress = 20000;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::vector<Variant> Elements(const Variant& value) {
  if (value.IsArray()) return value.Array().Items();
  return {value};
}

Variant ToArray(std::vector<Variant> items) {
  platform::VarArray array({{0, static_cast<int32_t>(items.size()) - 1}});
  for (size_t i = 0; i < items.size(); ++i) array.At(static_cast<int32_t>(i)) = std::move(items[i]);
  return Variant(std::move(array));
}

Variant SqlError(std::string_view reason) { return Variant("ERROR: " + std::string(reason)); }

// The first word of the SQL text after blanks and comments, upper case.
std::string FirstKeyword(std::string_view sql) {
  size_t i = 0;
  for (;;) {
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    if (sql.substr(i, 2) == "--") {
      const size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? sql.size() : end + 1;
    } else if (sql.substr(i, 2) == "/*") {
      const size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? sql.size() : end + 2;
    } else {
      break;
    }
  }
  size_t end = i;
  while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) ++end;
  return platform::UpperCase(sql.substr(i, end - i));
}

int StopLongQuery(void* counter) { return ++*static_cast<int*>(counter) > kMaxSqlProgress; }

std::string NormalisedNumber(std::string number) {
  number = platform::Trim(number);
  if (!number.empty() && number[0] == '-') number.erase(0, 1);
  bool digits = !number.empty();
  for (const char c : number) digits = digits && c >= '0' && c <= '9';
  if (digits && number.size() < 6) number.insert(0, 6 - number.size(), '0');
  return number;
}

std::string ModifyStamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  std::tm local{};
  localtime_r(&info.st_mtime, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y/%m/%d %H:%M:%S", &local);
  return buffer;
}

}  // namespace

SystemService::SystemService() : AutoObject(kClassName) {
  AddMethod("GetSysInfo", 1, 1, [this](std::vector<Variant>& a) { return GetSysInfo(a[0]); });
  AddMethod("GetCounter", 2, 3, [this](std::vector<Variant>& a) {
    return GetCounter(a[0], a[1], a.size() > 2 ? a[2] : Variant());
  });
  AddMethod("CheckValue", 4, 5, [this](std::vector<Variant>& a) { return CheckValue(a); });
  AddMethod("QueryData", 4, 5, [this](std::vector<Variant>& a) { return CheckValue(a); });
  AddProperty(
      "BaseLimited", [this] { return ToClient(baseLimited_); },
      [this](const Variant& v) { baseLimited_ = FromClient(v); });
  AddMethod("GetMessage", 2, 2, [this](std::vector<Variant>& a) { return GetMessage(a[0], a[1]); });
  AddMethod("LookupRows", 4, 6, [this](std::vector<Variant>& a) { return LookupRows(a); });
  AddMethod("GetFileList", 1, 1, [this](std::vector<Variant>& a) { return GetFileList(a[0]); });
}

SystemService::~SystemService() = default;

suitedb::Database& SystemService::Db() {
  if (!db_) db_.emplace(suitedb::OpenServerDatabase());
  return *db_;
}

Variant SystemService::GetSysInfo(const Variant& company) {
  const std::string companyId = platform::Trim(FromClient(company));
  suitedb::Statement rows = Db().Prepare(
      "SELECT name, value FROM sys_setting WHERE company_id = ?1 "
      "UNION ALL SELECT d.name, d.value FROM sys_setting d WHERE d.company_id = '*' "
      "AND NOT EXISTS (SELECT 1 FROM sys_setting o WHERE o.company_id = ?1 AND o.name = d.name) "
      "ORDER BY 1");
  rows.Bind(1, companyId);
  std::vector<std::pair<Variant, Variant>> settings;
  while (rows.Step())
    settings.emplace_back(ToClient(rows.ColumnText(0)), ToClient(rows.ColumnText(1)));
  platform::VarArray answer({{0, 1}, {0, static_cast<int32_t>(settings.size()) - 1}});
  for (size_t i = 0; i < settings.size(); ++i) {
    answer.At(0, static_cast<int32_t>(i)) = std::move(settings[i].first);
    answer.At(1, static_cast<int32_t>(i)) = std::move(settings[i].second);
  }
  return Variant(std::move(answer));
}

Variant SystemService::GetCounter(const Variant& name, const Variant& value, const Variant& place) {
  const std::string counter = platform::Trim(FromClient(name));
  if (platform::SameText(counter, "SimpleSQL")) return SimpleSql(value);
  const std::vector<Variant> where = Elements(place);
  const std::string company = where.empty() ? "" : platform::Trim(FromClient(where[0]));
  const int64_t step = value.IsEmpty() || value.IsNull() ? 1 : value.AsInteger();
  suitedb::Database& db = Db();
  suitedb::Transaction transaction(db);
  suitedb::Statement next = db.Prepare(
      "INSERT INTO counter (company_id, name, value) VALUES (?1, ?2, ?3) "
      "ON CONFLICT (company_id, name) DO UPDATE SET value = value + excluded.value "
      "RETURNING value");
  next.BindAll({company, counter, step});
  next.Step();
  const int64_t result = next.ColumnInt(0);
  next.Reset();
  transaction.Commit();
  if (result >= INT32_MIN && result <= INT32_MAX) return Variant(static_cast<int32_t>(result));
  return Variant(static_cast<double>(result));
}

Variant SystemService::SimpleSql(const Variant& value) {
  const std::vector<Variant> parts = Elements(value);
  if (!value.IsArray() || parts.empty()) return SqlError("SimpleSQL expects [SQL text, columns]");
  const std::string sql = FromClient(parts[0]);
  const std::string wanted = parts.size() > 1 ? platform::Trim(FromClient(parts[1])) : "";
  const std::string keyword = FirstKeyword(sql);
  if (keyword != "SELECT" && keyword != "WITH") return SqlError("only a SELECT query is allowed");

  suitedb::Database& db = Db();
  std::string_view rest;
  std::optional<suitedb::Statement> query;
  try {
    query.emplace(db.Handle(), sql, &rest);
  } catch (const suitedb::DbError& e) {
    return SqlError(e.Message());
  }
  if (!db.HoldsNoStatement(rest)) return SqlError("only one statement is allowed");
  if (!query->ReadOnly()) return SqlError("the query would change data");
  if (query->ParameterCount() > 0) return SqlError("the query may not have parameters");

  const int columnCount = query->ColumnCount();
  std::vector<int> columns;
  if (wanted.empty()) {
    for (int c = 0; c < columnCount; ++c) columns.push_back(c);
  } else {
    size_t start = 0;
    while (start <= wanted.size()) {
      const size_t comma = wanted.find(',', start);
      const std::string name =
          platform::Trim(wanted.substr(start, comma == std::string::npos ? comma : comma - start));
      int found = -1;
      for (int c = 0; c < columnCount && found < 0; ++c)
        if (platform::SameText(name, query->ColumnName(c))) found = c;
      if (found < 0) return SqlError("no column " + name + " in the result");
      columns.push_back(found);
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }

  int progress = 0;
  sqlite3_progress_handler(db.Handle(), 1000, StopLongQuery, &progress);
  std::vector<Variant> rows;
  std::string failure;
  try {
    while (failure.empty() && query->Step()) {
      if (rows.size() >= kMaxSqlRows) {
        failure = "more than 10000 rows";
        break;
      }
      std::vector<Variant> row;
      for (const int c : columns) row.push_back(suitedb::ColumnToClient(*query, c));
      rows.push_back(ToArray(std::move(row)));
    }
  } catch (const suitedb::DbError& e) {
    failure = progress > kMaxSqlProgress ? "the query ran too long" : e.Message();
  }
  sqlite3_progress_handler(db.Handle(), 0, nullptr, nullptr);
  if (!failure.empty()) return SqlError(failure);
  return ToArray(std::move(rows));
}

Variant SystemService::CheckValue(std::vector<Variant>& args) {
  Catalog catalog(Db());
  const std::optional<Variant> row = catalog.Check(FromClient(args[0]), FromClient(args[1]),
                                                   args[3], BaseLimits::Parse(baseLimited_));
  if (args.size() > 4) args[4] = row.value_or(Variant());
  return Variant(row.has_value());
}

Variant SystemService::GetMessage(const Variant& type, const Variant& number) {
  const std::string t = platform::UpperCase(platform::Trim(FromClient(type)));
  const std::string n = NormalisedNumber(FromClient(number));
  const std::optional<std::string> text =
      Db().QueryText("SELECT text FROM message WHERE msg_type = ? AND msg_number = ?", {t, n});
  if (text) return ToClient(*text);
  // The client formats the text with its arguments: a "%" of ours must stay a "%".
  std::string shown = t + "/" + n;
  std::string escaped;
  for (const char c : shown) escaped += c == '%' ? std::string("%%") : std::string(1, c);
  return ToClient(U8(u8"找不到讯息（类型/编号 ") + escaped + U8(u8"），请通知系统管理员。"));
}

Variant SystemService::LookupRows(std::vector<Variant>& args) {
  Catalog catalog(Db());
  const std::string search = args.size() > 4 ? FromClient(args[4]) : "";
  const BaseLimits limits = BaseLimits::Parse(args.size() > 5 ? FromClient(args[5]) : baseLimited_);
  return catalog.Lookup(FromClient(args[0]), FromClient(args[1]), args[3], search, limits);
}

Variant SystemService::GetFileList(const Variant& names) {
  const std::vector<Variant> items = Elements(names);
  if (items.empty()) return Variant("");
  std::string name = FromClient(items[0]);
  for (char& c : name)
    if (c == '\\') c = '/';
  name = platform::ExtractFileName(name);
  if (name.empty()) return Variant("");
  const suitedb::ServerConfig config = suitedb::LoadServerConfig();
  for (const std::string& folder : config.WorkFolders) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string found = entry.path().filename().string();
      if (!entry.is_regular_file(error) || !platform::SameText(found, name)) continue;
      const std::string path = folder + found;
      return ToClient("<Modify>" + ModifyStamp(path) + "</Modify><Path>" + path + "</Path>");
    }
  }
  return Variant("");
}

}  // namespace pilgar

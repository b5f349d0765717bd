#include "suite/PilgarServerS/Catalog.h"

#include <utility>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "suite/db/Text.h"

namespace pilgar {

using platform::Variant;
using suitedb::SqlValue;
using suitedb::Statement;

namespace {

constexpr int kMaxLookupRows = 2000;

// Parameters of the SQL texts below:
//   ?1 .. ?5    the key fields
//   ?10         the search text, trimmed ('' when none)
//   ?11, ?12    the search text as a prefix pattern and as a contains pattern
//   ?21 .. ?25  the key fields as prefix patterns
// Patterns escape their wildcards with '\'.
struct Limited {
  int Column;         // column of the answer row holding a code
  const char* Table;  // the limit that applies to it
};

struct Definition {
  const char* Table;
  const char* Kind;
  const char* CheckSql;   // one row for a full key
  const char* LookupSql;  // the lookup window's rows
  std::vector<const char8_t*> Captions;
  std::vector<Limited> Limits;
  bool ExactKey = false;  // key fields are bytes compared as they are
};

#define VK_SEARCH(code, name) \
  "(?10 = '' OR " code " LIKE ?11 ESCAPE '\\' OR " name " LIKE ?12 ESCAPE '\\')"

// Row layouts (column: content):
//  ADMMB 01  0 name, 1 kind, 2 system, 3 no-direct-query flag, 4 log flag (Y: jobs are
//            logged), 5 server class, 6 version, 7 English name
//  ADMMB 11  0 code, 1 name, 2 kind, 3 no-direct-query flag (Y: no direct query), 4 log flag
//  GENES 01  0 scheme name, 1 user, 2 program, 3 date saved; key [name, user, program]
//  CMSMT 01  0 footer id, 1 footer pickable (Y), 2 footer on every page, 3-5 footer lines,
//            6 sign-off id, 7 sign-off pickable, 8 sign-off on every page, 9-11 sign-off lines
//  CMSMS 01  check: 0 id, 1-3 lines, 4 name, 5 block kind; key [kind "1" footer / "2"
//            sign-off, id]; lookup rows: 0 id, 1 name, 2-4 lines
//  CMSMA 02  0 web-report site address, 1 description, 2 site id; key [site id or ""]
//  CMSMB 01  0 code, 1 name, 2 short name, 3 address                 (limit CMSMB)
//  CMSMF 01  0 code, 1 name, 2 symbol, 3 rate                        (limit CMSMF)
//  PURMA 01  0 code, 1 short name, 2 full name, 3 contact, 4 phone, 5 currency (limit PURMA)
//  ASTTO 01  0 type, 1 number, 2 document date, 3 acceptance date, 4 supplier, 5 supplier
//            name, 6 plant, 7 currency, 8 approval, 9 closing; key [type, number]
//            (limits PURMA on the supplier, CMSMB on the plant)
//  VRKMA 01, 04  0 code, 1 name, 2 mobile, 3 mail, 4 group
const std::vector<Definition>& Definitions() {
  static const std::vector<Definition> definitions = {
      {"ADMMB",
       "01",
       "SELECT name, kind, module, no_direct_query, log_flag, server_class, version, name_en "
       "FROM program WHERE code = ?1",
       "SELECT code, name, kind, module FROM program WHERE " VK_SEARCH("code",
                                                                       "name") " ORDER BY code",
       {u8"程序代号", u8"程序名称", u8"类别", u8"系统"},
       {}},
      {"ADMMB",
       "11",
       "SELECT code, name, kind, no_direct_query, log_flag FROM program WHERE code = ?1",
       "SELECT code, name, kind, no_direct_query FROM program WHERE " VK_SEARCH(
           "code", "name") " ORDER BY code",
       {u8"程序代号", u8"程序名称", u8"类别", u8"不可直接查询"},
       {}},
      {"GENES",
       "01",
       "SELECT ncondition, creator, programme, create_date FROM condition_scheme "
       "WHERE ncondition = ?1 AND creator = ?2 AND programme = ?3",
       "SELECT ncondition, creator, programme, create_date FROM condition_scheme "
       "WHERE (length(?2) = 0 OR creator = ?2) AND (length(?3) = 0 OR programme = ?3) "
       "ORDER BY ncondition",
       {u8"方案名称", u8"创建者", u8"程序代号", u8"创建日期"},
       {},
       true},
      {"CMSMT",
       "01",
       "SELECT note_id, note_pickable, note_every_page, note1, note2, note3, sign_id, "
       "sign_pickable, sign_every_page, sign1, sign2, sign3 FROM report_setting "
       "WHERE program_code = ?1",
       "SELECT program_code, note_id, sign_id FROM report_setting WHERE " VK_SEARCH(
           "program_code", "program_code") " ORDER BY program_code",
       {u8"程序代号", u8"页脚编号", u8"签核编号"},
       {}},
      {"CMSMS",
       "01",
       "SELECT block_id, line1, line2, line3, name, block_kind FROM report_block "
       "WHERE block_kind = ?1 AND block_id = ?2",
       "SELECT block_id, name, line1, line2, line3 FROM report_block "
       "WHERE (?1 = '' OR block_kind = ?1) AND " VK_SEARCH("block_id",
                                                           "name") " ORDER BY block_kind, block_id",
       {u8"编号", u8"名称", u8"第一行", u8"第二行", u8"第三行"},
       {}},
      {"CMSMA",
       "02",
       "SELECT url, description, site_id FROM web_site WHERE active = 'Y' "
       "AND (?1 = '' OR site_id = ?1) ORDER BY site_id LIMIT 1",
       "SELECT site_id, description, url FROM web_site WHERE active = 'Y' AND " VK_SEARCH(
           "site_id", "description") " ORDER BY site_id",
       {u8"站点", u8"说明", u8"网址"},
       {}},
      {"CMSMB",
       "01",
       "SELECT code, name, short_name, address FROM plant WHERE code = ?1",
       "SELECT code, name, short_name, address FROM plant WHERE " VK_SEARCH(
           "code", "name") " ORDER BY code",
       {u8"工厂编号", u8"工厂名称", u8"简称", u8"地址"},
       {{0, "CMSMB"}}},
      {"CMSMF",
       "01",
       "SELECT code, name, symbol, rate FROM currency WHERE code = ?1",
       "SELECT code, name, symbol, rate FROM currency WHERE " VK_SEARCH("code",
                                                                        "name") " ORDER BY code",
       {u8"币种", u8"名称", u8"符号", u8"汇率"},
       {{0, "CMSMF"}}},
      {"PURMA",
       "01",
       "SELECT code, short_name, full_name, contact, phone, currency FROM supplier "
       "WHERE code = ?1",
       "SELECT code, short_name, full_name, contact, phone, currency FROM supplier "
       "WHERE " VK_SEARCH("code", "full_name") " ORDER BY code",
       {u8"供应商编号", u8"简称", u8"全称", u8"联系人", u8"电话", u8"币种"},
       {{0, "PURMA"}}},
      {"ASTTO",
       "01",
       "SELECT r.doc_type, r.doc_no, r.doc_date, r.accept_date, r.supplier, s.short_name, "
       "r.plant, r.currency, r.approval, r.closing FROM receipt r "
       "JOIN supplier s ON s.code = r.supplier WHERE r.doc_type = ?1 AND r.doc_no = ?2",
       "SELECT r.doc_type, r.doc_no, r.doc_date, r.accept_date, r.supplier, s.short_name, "
       "r.plant, r.currency, r.approval, r.closing FROM receipt r "
       "JOIN supplier s ON s.code = r.supplier "
       "WHERE (?1 = '' OR r.doc_type LIKE ?21 ESCAPE '\\') "
       "AND (?2 = '' OR r.doc_no LIKE ?22 ESCAPE '\\') AND " VK_SEARCH(
           "r.doc_no", "s.short_name") " ORDER BY r.doc_date DESC, r.doc_type, r.doc_no",
       {u8"单别", u8"单号", u8"单据日期", u8"验收日期", u8"供应商", u8"供应商简称", u8"工厂",
        u8"币种", u8"审核", u8"结账"},
       {{4, "PURMA"}, {6, "CMSMB"}}},
      {"VRKMA",
       "01",
       "SELECT user_id, name, mobile, mail, group_id FROM app_user "
       "WHERE user_id = ?1 AND active = 'Y'",
       "SELECT user_id, name, mobile, mail FROM app_user WHERE active = 'Y' AND " VK_SEARCH(
           "user_id", "name") " ORDER BY user_id",
       {u8"用户代号", u8"姓名", u8"手机号码", u8"邮箱地址"},
       {}},
      {"VRKMA",
       "04",
       "SELECT user_id, name, mobile, mail, group_id FROM app_user "
       "WHERE user_id = ?1 AND active = 'Y'",
       "SELECT user_id, name, mobile, mail FROM app_user WHERE active = 'Y' AND " VK_SEARCH(
           "user_id", "name") " ORDER BY user_id",
       {u8"用户代号", u8"姓名", u8"手机号码", u8"邮箱地址"},
       {}},
  };
  return definitions;
}

#undef VK_SEARCH

const Definition* Find(std::string_view table, std::string_view kind) {
  const std::string t = platform::UpperCase(platform::Trim(table));
  const std::string k = platform::Trim(kind);
  for (const Definition& d : Definitions())
    if (t == d.Table && k == d.Kind) return &d;
  return nullptr;
}

std::string EscapeLike(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// The key's fields, in order: an array gives its elements, anything else is one field.
std::vector<Variant> KeyFields(const Variant& key) {
  if (key.IsArray()) return key.Array().Items();
  return {key};
}

// Binds the parameters the statement uses: key fields, search texts and patterns.
void BindParameters(Statement& statement, const Definition& d, const Variant& key,
                    std::string_view search) {
  const std::vector<Variant> fields = KeyFields(key);
  const std::string trimmedSearch = platform::Trim(search);
  for (int p = 1; p <= statement.ParameterCount(); ++p) {
    SqlValue value = std::string();
    const int keyIndex = p <= 5 ? p - 1 : (p >= 21 && p <= 25 ? p - 21 : -1);
    if (keyIndex >= 0) {
      const Variant field = keyIndex < static_cast<int>(fields.size())
                                ? fields[static_cast<size_t>(keyIndex)]
                                : Variant();
      if (d.ExactKey) {
        // Kept in a local string that outlives the binding: Bind copies it.
        const std::string bytes = suitedb::ClientBytes(field);
        statement.Bind(p, suitedb::Blob{bytes});
        continue;
      }
      const std::string text = platform::Trim(suitedb::FromClient(field));
      value = p <= 5 ? text : EscapeLike(text) + "%";
    } else if (p == 10) {
      value = trimmedSearch;
    } else if (p == 11) {
      value = EscapeLike(trimmedSearch) + "%";
    } else if (p == 12) {
      value = "%" + EscapeLike(trimmedSearch) + "%";
    }
    statement.Bind(p, value);
  }
}

bool Visible(const Definition& d, const Statement& row, const BaseLimits& limits) {
  for (const Limited& l : d.Limits)
    if (!limits.Allows(l.Table, row.ColumnText(l.Column))) return false;
  return true;
}

}  // namespace

bool Catalog::Knows(std::string_view table, std::string_view kind) {
  return Find(table, kind) != nullptr;
}

std::optional<Variant> Catalog::Check(std::string_view table, std::string_view kind,
                                      const Variant& key, const BaseLimits& limits) {
  const Definition* d = Find(table, kind);
  if (!d) return std::nullopt;
  Statement statement = db_.Prepare(d->CheckSql);
  BindParameters(statement, *d, key, "");
  if (!statement.Step() || !Visible(*d, statement, limits)) return std::nullopt;
  return suitedb::RowToClient(statement);
}

Variant Catalog::Lookup(std::string_view table, std::string_view kind, const Variant& key,
                        std::string_view searchText, const BaseLimits& limits) {
  const Definition* d = Find(table, kind);
  if (!d)
    throw platform::Exception("no lookup for table " + std::string(table) + " kind " +
                              std::string(kind));
  platform::VarArray captions({{0, static_cast<int32_t>(d->Captions.size()) - 1}});
  for (size_t i = 0; i < d->Captions.size(); ++i)
    captions.At(static_cast<int32_t>(i)) =
        suitedb::ToClient(reinterpret_cast<const char*>(d->Captions[i]));
  Statement statement = db_.Prepare(d->LookupSql);
  BindParameters(statement, *d, key, searchText);
  std::vector<Variant> rows;
  while (rows.size() < kMaxLookupRows && statement.Step())
    if (Visible(*d, statement, limits)) rows.push_back(suitedb::RowToClient(statement));
  platform::VarArray rowArray({{0, static_cast<int32_t>(rows.size()) - 1}});
  for (size_t i = 0; i < rows.size(); ++i)
    rowArray.At(static_cast<int32_t>(i)) = std::move(rows[i]);
  return platform::VarArrayOf({Variant(std::move(captions)), Variant(std::move(rowArray))});
}

}  // namespace pilgar

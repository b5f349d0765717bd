#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "platform/core/DateTime.h"
#include "platform/core/Dispatch.h"
#include "suite/ReportCounterS/test/SampleRequest.h"
#include "suite/db/TaggedJson.h"
#include "suite/db/TestInstallation.h"
#include "suite/db/Text.h"

namespace reportcounter {
namespace {

using platform::VarArrayOf;
using platform::Variant;

constexpr char kFields[][12] = {"NCONDITION",  "CREATOR",    "PROGRAMME",
                                "CREATE_DATE", "SCONDITION", "VCONDITION"};

std::string Gb(const char8_t* utf8) {
  return suitedb::Utf8ToGb(reinterpret_cast<const char*>(utf8));
}

// A one-off request as the report window sends it: environment 1..14,
// captions and values 1..n, texts as wide strings.
Variant JobRequest(const std::u16string& user = u"U001", int conditions = 3) {
  test::TSampleRequest shape;
  shape.User = user;
  shape.Conditions = conditions;
  shape.GenerationMode = 2;
  shape.RunAt = 45357.25;
  shape.Recipients = u"<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"U001\"/></Root>";
  shape.Field = [](int i) { return u"sp0" + std::u16string(1, static_cast<char16_t>(u'0' + i)); };
  Variant request = test::SampleJobRequest(shape);
  request[2][conditions] = VarArrayOf({Variant(int32_t{2}), Variant(u"验收日"), Variant(true)});
  return request;
}

Variant PeriodicRequest() {
  Variant request = JobRequest();
  request.Redim(4);
  request[3] = VarArrayOf({Variant(u"Y"), Variant(u"08:30"), VarArrayOf({Variant(int32_t{1})}),
                           VarArrayOf({Variant(int32_t{0})})});
  request[4] = VarArrayOf({Variant(int32_t{1}), Variant(u"sp03\x03"
                                                        u"D\x03"
                                                        u"3")});
  return request;
}

class ReportCounterTest : public ::testing::Test {
 protected:
  ReportCounterTest() : server_(platform::CreateOleObject("ReportCounterS.dmReportCounter")) {}

  Variant Call(std::string_view name, std::vector<Variant> args = {}) {
    return platform::CallMethod(server_, name, args);
  }
  static Variant Record(const Variant& name, const std::string& properties,
                        const std::string& values, bool replace, const char* user = "U001") {
    return VarArrayOf({name, Variant(user), Variant("20240305"), Variant("PVQR82"),
                       Variant(properties), Variant(values), Variant(replace)});
  }
  static Variant Key(const Variant& name, const char* user = "U001") {
    return VarArrayOf({name, Variant(user), Variant("PVQR82")});
  }
  // The rows "pvdConSave" serves after LoadTable, as the client data set fetches them.
  Variant Schemes(const char* user = "U001") {
    EXPECT_EQ(Call("LoadTable", {VarArrayOf({Variant(user), Variant("PVQR82")})}).AsString(), "");
    const Variant answer = Call("AS_GetRecords", {Variant("pvdConSave")});
    EXPECT_EQ(answer[0].HighBound(), 5);
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(answer[0][i].AsString(), kFields[i]);
    return answer[1];
  }
  int64_t JobCount() {
    return std::stoll(install_.Open().QueryText("SELECT count(*) FROM job", {}).value());
  }

  suitedb::TestInstallation install_{VK_BIN_DIR};
  Variant server_;
};

TEST_F(ReportCounterTest, SchemesComeBackByteForByte) {
  struct Case {
    Variant Name;
    std::string StoredName;
    std::string Values;
  };
  const std::string awkward =
      "sp01.style=\x03"
      "1\r\nsp04\x03"
      "S001\x01\xBA\xE3\x04S002\x04\r\n'\"%s%d\\";
  const Case cases[] = {
      {Variant("\xB7\xBD\xB0\xB8\xD2\xBB"), "\xB7\xBD\xB0\xB8\xD2\xBB", awkward},
      {Variant(u"方案二"), Gb(u8"方案二"), ""},
      {Variant("it's \"100%\" %s"), "it's \"100%\" %s", "x"},
      {Variant("  spaced  "), "  spaced  ", "y"},
      {Variant("a\x01\x03\x04\r\nb"), "a\x01\x03\x04\r\nb", "z"},
      {Variant(std::string("\xFF\x80\x81", 3)), std::string("\xFF\x80\x81", 3), "\xFF"},
      {Variant("\xCA\xAE\xB8\xF6\xD7\xD6\xB5\xC4\xC3\xFB\xB3\xC6\xB9\xB2\xB6\xFE\xCA\xAE\xD7\xD6"),
       "\xCA\xAE\xB8\xF6\xD7\xD6\xB5\xC4\xC3\xFB\xB3\xC6\xB9\xB2\xB6\xFE\xCA\xAE\xD7\xD6",
       "20 bytes"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Call("InsertConTable", {Record(c.Name, "sp01.style;sp04.text;", c.Values, false)})
                  .AsString(),
              "")
        << c.StoredName;
  const Variant rows = Schemes();
  ASSERT_EQ(rows.HighBound() + 1, static_cast<int>(std::size(cases)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.StoredName);
    bool found = false;
    for (int i = 0; i <= rows.HighBound(); ++i) {
      if (rows[i][0].AsString() != c.StoredName) continue;
      found = true;
      EXPECT_EQ(rows[i][1].AsString(), "U001");
      EXPECT_EQ(rows[i][2].AsString(), "PVQR82");
      EXPECT_EQ(rows[i][3].AsString(), "20240305");
      EXPECT_EQ(rows[i][4].AsString(), "sp01.style;sp04.text;");
      EXPECT_EQ(rows[i][5].AsString(), c.Values);
    }
    EXPECT_TRUE(found);
    // The scheme dialog's existence check finds it by the same bytes.
    Variant object = platform::CreateOleObject("PilgarServerS.dmSystem");
    std::vector<Variant> args = {Variant("GENES"), Variant("01"), Variant("VRKDEMO"),
                                 Key(Variant(c.StoredName)), Variant()};
    EXPECT_TRUE(platform::CallMethod(object, "CheckValue", args).AsBoolean());
  }
}

TEST_F(ReportCounterTest, SchemesBelongToTheirUserAndProgram) {
  EXPECT_EQ(Call("AS_GetRecords", {Variant("pvdConSave")})[1].HighBound(), -1);
  Call("InsertConTable", {Record(Variant("mine"), "p;", "v", false, "U001")});
  Call("InsertConTable", {Record(Variant("theirs"), "p;", "v", false, "U002")});
  Call("InsertConTable",
       {VarArrayOf({Variant("other"), Variant("U001"), Variant(""), Variant("PVQR81"),
                    Variant("p;"), Variant("v"), Variant(false)})});
  const Variant rows = Schemes("U001");
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][0].AsString(), "mine");
  EXPECT_THROW(Call("AS_GetRecords", {Variant("pvdOther")}), platform::EOleError);
}

TEST_F(ReportCounterTest, ExistingNameIsRefusedUnlessReplaced) {
  ASSERT_EQ(Call("InsertConTable", {Record(Variant("A"), "p;", "first", false)}).AsString(), "");
  const std::string refusal =
      Call("InsertConTable", {Record(Variant("A"), "p;", "second", false)}).AsString();
  EXPECT_FALSE(refusal.empty());
  EXPECT_EQ(Call("ErrorDescript").AsString(), refusal);
  Variant rows = Schemes();
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][5].AsString(), "first");
  EXPECT_EQ(Call("InsertConTable", {Record(Variant("A"), "q;", "third", true)}).AsString(), "");
  rows = Schemes();
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][4].AsString(), "q;");
  EXPECT_EQ(rows[0][5].AsString(), "third");
  // Names compare byte for byte: another letter case is another scheme.
  EXPECT_EQ(Call("InsertConTable", {Record(Variant("a"), "p;", "lower", false)}).AsString(), "");
  EXPECT_FALSE(
      Call("InsertConTable", {Record(Variant("   "), "p;", "v", false)}).AsString().empty());
  EXPECT_FALSE(Call("InsertConTable", {VarArrayOf({Variant("short")})}).AsString().empty());
}

TEST_F(ReportCounterTest, RenameAndDelete) {
  Call("InsertConTable", {Record(Variant("old"), "p;", "v1", false)});
  Call("InsertConTable", {Record(Variant("taken"), "p;", "v2", false)});
  struct Case {
    Variant From;
    Variant To;
    bool Accepted;
  };
  const Case cases[] = {
      {Key(Variant("old")), Key(Variant("taken")), false},
      {Key(Variant("missing")), Key(Variant("new")), false},
      {Key(Variant("old")), Key(Variant(" ")), false},
      {Key(Variant("old")), Key(Variant("old")), true},
      {Key(Variant("old")), Key(Variant("\xD0\xC2 new")), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Call("ChangeConName", {c.From, c.To}).AsString().empty(), c.Accepted)
        << c.From[0].AsString() << " -> " << c.To[0].AsString();
  Variant rows = Schemes();
  ASSERT_EQ(rows.HighBound(), 1);
  EXPECT_EQ(rows[0][0].AsString(), "taken");
  EXPECT_EQ(rows[1][0].AsString(), "\xD0\xC2 new");
  EXPECT_EQ(rows[1][5].AsString(), "v1");

  EXPECT_EQ(Call("DeleteConTable", {Key(Variant("taken"))}).AsString(), "");
  EXPECT_FALSE(Call("DeleteConTable", {Key(Variant("taken"))}).AsString().empty());
  EXPECT_FALSE(Call("DeleteConTable", {Key(Variant("\xD0\xC2 new"), "U002")}).AsString().empty());
  rows = Schemes();
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][0].AsString(), "\xD0\xC2 new");
}

TEST_F(ReportCounterTest, RightsAnswerAsTheWindowReadsThem) {
  struct Case {
    const char* User;
    bool Flag7;
    bool Flag8;
    std::string BaseLimited;  // joined as the window joins elements 4 and 5
  };
  const Case cases[] = {
      {"DS", true, true,
       "\x03"
       "0\x03"},
      {"U002", true, false,
       "\x03"
       "0\x03"},  // its own PVQR82 row wins over '*'
      {"U003", false, false,
       "WH01\x03"
       "2\x03"
       "CMSMB=P01,P02\x03"
       "CMSMF=RMB\x03"},
      {"U004", true, true,
       "WH02\x03"
       "1\x03"
       "CMSMB=P03\x03"},  // a short rights text
      {"NOBODY", false, false,
       "\x03"
       "0\x03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.User);
    const Variant answer =
        Call("GetPower",
             {VarArrayOf({Variant("VRKDEMO"), Variant(c.User), Variant("PVQR82"), Variant("")})});
    ASSERT_EQ(answer.HighBound(), 5);
    // Element 1: the fourth comma field is the rights text.
    const std::string text = answer[1].AsString();
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
      fields.push_back(text.substr(start, comma - start));
    fields.push_back(text.substr(start));
    ASSERT_EQ(fields.size(), 4u) << text;
    EXPECT_EQ(fields[0], c.User);
    EXPECT_EQ(fields[1], "PVQR82");
    const std::string& rights = fields[3];
    EXPECT_EQ(rights.size() < 7 || rights[6] != 'N', c.Flag7) << rights;
    EXPECT_EQ(rights.size() < 8 || rights[7] != 'N', c.Flag8) << rights;
    std::string joined = answer[4].AsString() + "\x03" + platform::VarToStr(answer[5][0]) + "\x03";
    for (int i = 1; i <= answer[5][0].AsInteger(); ++i) joined += answer[5][i].AsString() + "\x03";
    EXPECT_EQ(joined, c.BaseLimited);
  }
  const Variant named = Call(
      "GetPower", {VarArrayOf({Variant(""), Variant("U001"), Variant("pvqr82"), Variant("")})});
  EXPECT_EQ(named[2].AsString(), Gb(u8"张伟"));
  EXPECT_EQ(named[3].AsString(), Gb(u8"进货单明细表"));
  EXPECT_EQ(Call("SQLType"), Variant(int32_t{5}));
}

TEST_F(ReportCounterTest, RequestStoresExactlyWhatArrivedAndAnswersAnIdentifier) {
  const platform::ScopedClock clock([] { return platform::DateTime{45356.5}; });
  std::set<std::string> ids;
  for (const Variant& request : {JobRequest(), PeriodicRequest(), JobRequest(u"U002", 15)}) {
    const std::string id = Call("Request", {request}).AsString();
    ASSERT_NE(id, "ERROR") << Call("ErrorDescript").AsString();
    EXPECT_GE(id.size(), 8u);
    EXPECT_EQ(id.substr(id.size() - 14), "20240305120000");
    EXPECT_TRUE(ids.insert(id.substr(0, 8)).second) << "first 8 characters repeat: " << id;
    suitedb::Database db = install_.Open();
    suitedb::Statement row = db.Prepare(
        "SELECT request_json, operation, user_id, program_code, company_id, db_name, status, "
        "created_at, run_at, gen_mode FROM job WHERE job_id = ?");
    row.Bind(1, id);
    ASSERT_TRUE(row.Step());
    EXPECT_EQ(suitedb::JsonTextToVariant(row.ColumnText(0)), request);
    EXPECT_EQ(row.ColumnText(1), "Request");
    EXPECT_EQ(row.ColumnText(2), suitedb::FromClient(request[0][5]));
    EXPECT_EQ(row.ColumnText(3), "PVQR82");
    EXPECT_EQ(row.ColumnText(4), "VRK");
    EXPECT_EQ(row.ColumnText(5), "VRKDEMO");
    EXPECT_EQ(row.ColumnText(6), "Q");
    EXPECT_EQ(row.ColumnText(7), "2024-03-05 12:00:00");
    EXPECT_EQ(row.ColumnText(8), "2024-03-06 06:00:00");
    EXPECT_EQ(row.ColumnInt(9), 2);
  }
}

TEST_F(ReportCounterTest, MalformedRequestsAnswerErrorWithAReason) {
  auto with = [](auto change) {
    Variant request = JobRequest();
    change(request);
    return request;
  };
  const Variant cases[] = {
      Variant(u"PVQR82"),
      Variant(),
      VarArrayOf(
          {Variant(int32_t{1}), Variant(int32_t{2}), Variant(int32_t{3}), Variant(int32_t{4})}),
      with([](Variant& r) { r.Redim(3); }),
      with([](Variant& r) { r[0][1] = Variant(u" "); }),
      with([](Variant& r) { r[0][1] = VarArrayOf({Variant(u"PVQR82")}); }),
      with([](Variant& r) { r[0][2] = Variant(int32_t{12}); }),
      with([](Variant& r) { r[0][3] = Variant(int32_t{4}); }),
      with([](Variant& r) { r[0][3] = Variant(u"three"); }),
      with([](Variant& r) { r[0][5] = Variant(u""); }),
      with([](Variant& r) { r[1][2] = Variant(u"not an array"); }),
      with([](Variant& r) {
        r[0] = VarArrayOf({Variant(u"PVQR82"), Variant(int32_t{2})});
      }),
      with([](Variant& r) {
        r = PeriodicRequest();
        r[4][0] = Variant(int32_t{2});
      }),
      with([](Variant& r) {
        r = PeriodicRequest();
        r[3] = Variant(u"Y");
      }),
  };
  const int64_t before = JobCount();
  std::set<std::string> reasons;
  for (const Variant& request : cases) {
    SCOPED_TRACE(suitedb::VariantToJsonText(request).substr(0, 200));
    EXPECT_EQ(Call("Request", {request}).AsString(), "ERROR");
    const std::string reason = Call("ErrorDescript").AsString();
    EXPECT_FALSE(reason.empty());
    reasons.insert(reason);
  }
  EXPECT_GE(reasons.size(), 8u);
  EXPECT_EQ(JobCount(), before);
  // A good request afterwards clears the reason.
  EXPECT_NE(Call("Request", {JobRequest()}).AsString(), "ERROR");
  EXPECT_EQ(Call("ErrorDescript").AsString(), "");
}

TEST_F(ReportCounterTest, Request1RegistersALocalRunThatUpdateStatus1Finishes) {
  const std::string id = Call("Request1", {JobRequest(), Variant("PC-07")}).AsString();
  ASSERT_NE(id, "ERROR");
  EXPECT_EQ(Call("UpdateStatus1", {Variant(id), Variant("\xCD\xEA\xB3\xC9; "),
                                   Variant(platform::DateTime{45357.75})})
                .AsString(),
            "");
  suitedb::Database db = install_.Open();
  suitedb::Statement row = db.Prepare(
      "SELECT operation, computer_name, status, status_text, updated_at FROM job WHERE job_id = ?");
  row.Bind(1, id);
  ASSERT_TRUE(row.Step());
  EXPECT_EQ(row.ColumnText(0), "Request1");
  EXPECT_EQ(row.ColumnText(1), "PC-07");
  EXPECT_EQ(row.ColumnText(2), "F");
  EXPECT_EQ(row.ColumnText(3), reinterpret_cast<const char*>(u8"完成; "));
  EXPECT_EQ(row.ColumnText(4), "2024-03-06 18:00:00");
  EXPECT_FALSE(
      Call("UpdateStatus1", {Variant("ERROR"), Variant(""), Variant()}).AsString().empty());
}

TEST_F(ReportCounterTest, ConnectionsOnSeveralThreadsNeverShareAnIdentifier) {
  constexpr int kThreads = 4;
  constexpr int kJobs = 15;
  std::vector<std::vector<std::string>> answers(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &answers] {
      Variant server = platform::CreateOleObject("ReportCounterS.dmReportCounter");
      for (int j = 0; j < kJobs; ++j)
        answers[static_cast<size_t>(t)].push_back(
            platform::CallMethod(server, "Request", {JobRequest()}).AsString());
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::set<std::string> ids;
  for (const auto& list : answers)
    for (const std::string& id : list) {
      EXPECT_NE(id, "ERROR");
      ids.insert(id);
    }
  EXPECT_EQ(ids.size(), static_cast<size_t>(kThreads * kJobs));
  EXPECT_EQ(JobCount(), kThreads * kJobs);
}

}  // namespace
}  // namespace reportcounter

// Every call of the application server's report module through vksocketd
// on the default installation, as the report window makes them: condition
// schemes, rights, job requests stored exactly as sent, local runs and the
// text of the last failure.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "platform/core/Dispatch.h"
#include "platform/remote/SocketConnection.h"
#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"
#include "suite/ReportCounterS/test/SampleRequest.h"
#include "suite/db/Database.h"
#include "suite/db/TaggedJson.h"

namespace pilgarwc::test {
namespace {

using platform::VarArrayOf;
using platform::Variant;

// A one-off job request as the report window sends it (wide texts, a date,
// bounds from 1), with the given number of conditions.
Variant JobRequest(int conditions) {
  reportcounter::test::TSampleRequest shape;
  shape.Conditions = conditions;
  shape.GenerationMode = 1;
  // Built, then moved in: g++ 12 warns falsely (restrict) on assigning the
  // literal itself when optimising.
  shape.DataType = std::u16string(u"B");
  Variant request = reportcounter::test::SampleJobRequest(shape);
  request[2][1] = VarArrayOf({Variant(u"\x05"), VarArrayOf({Variant(u"S001"), Variant(u"供应商")}),
                              VarArrayOf({Variant(u"S002")})});
  request[2][conditions] = VarArrayOf({Variant(int32_t{2}), Variant(u"验收日")});
  return request;
}

class ReportCounterSocketTest : public ::testing::Test {
 protected:
  ReportCounterSocketTest() {
    connection_.SetAddress("localhost");
    connection_.SetPort(Suite::Get().Port());
    connection_.SetServerName("ReportCounterS.dmReportCounter");
    connection_.SetCallTimeout(std::chrono::seconds(10));
    connection_.Open();
    server_ = connection_.AppServer();
  }
  Variant Call(std::string_view name, std::vector<Variant> args = {}) {
    return platform::CallMethod(server_, name, args);
  }
  // The scheme rows the provider serves for a user of PVQR82.
  Variant Schemes(const char* user) {
    EXPECT_EQ(Call("LoadTable", {VarArrayOf({Variant(user), Variant("PVQR82")})}).AsString(), "");
    const Variant answer = Call("AS_GetRecords", {Variant("pvdConSave")});
    EXPECT_EQ(answer[0][0].AsString(), "NCONDITION");
    return answer[1];
  }
  static Variant Key(const Variant& name, const char* user) {
    return VarArrayOf({name, Variant(user), Variant("PVQR82")});
  }
  suitedb::Database Db() { return suitedb::Database::Open(Suite::Get().DatabaseFile()); }

  platform::remote::TSocketConnection connection_;
  Variant server_;
};

TEST_F(ReportCounterSocketTest, SchemesAreStoredRenamedAndDeletedByteForByte) {
  const char* user = "U006";
  const std::string name = "方案\x01一";
  const std::string values =
      "sp01\x03"
      "AB  -123        \x04\r\nsp04\x03S001\x01供应商\x04\r\n";
  EXPECT_EQ(Call("InsertConTable",
                 {VarArrayOf({Variant(name), Variant(user), Variant("20240305"), Variant("PVQR82"),
                              Variant("sp01.text;sp04.items;"), Variant(values), Variant(false)})})
                .AsString(),
            "");
  // The same name again is refused, with the reason kept for ErrorDescript.
  const std::string refusal =
      Call("InsertConTable",
           {VarArrayOf({Variant(name), Variant(user), Variant(""), Variant("PVQR82"), Variant("p;"),
                        Variant("v"), Variant(false)})})
          .AsString();
  EXPECT_FALSE(refusal.empty());
  EXPECT_EQ(Call("ErrorDescript").AsString(), refusal);

  Variant rows = Schemes(user);
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][0].AsString(), name);
  EXPECT_EQ(rows[0][3].AsString(), "20240305");
  EXPECT_EQ(rows[0][4].AsString(), "sp01.text;sp04.items;");
  EXPECT_EQ(rows[0][5].AsString(), values);

  EXPECT_EQ(
      Call("ChangeConName", {Key(Variant(name), user), Key(Variant("新方案"), user)}).AsString(),
      "");
  rows = Schemes(user);
  ASSERT_EQ(rows.HighBound(), 0);
  EXPECT_EQ(rows[0][0].AsString(), "新方案");
  EXPECT_FALSE(Call("DeleteConTable", {Key(Variant(name), user)}).AsString().empty());
  EXPECT_EQ(Call("DeleteConTable", {Key(Variant("新方案"), user)}).AsString(), "");
  EXPECT_EQ(Schemes(user).HighBound(), -1);
}

TEST_F(ReportCounterSocketTest, RightsCarryTheFlagsAndTheCountedLimits) {
  const Variant answer =
      Call("GetPower",
           {VarArrayOf({Variant("VRKDEMO"), Variant("U003"), Variant("PVQR82"), Variant("")})});
  ASSERT_EQ(answer.HighBound(), 5);
  EXPECT_EQ(answer[0].AsString(), "U003");
  EXPECT_EQ(answer[1].AsString().rfind("U003,PVQR82,", 0), 0u) << answer[1].AsString();
  EXPECT_EQ(answer[2].AsString(), "李娜");
  EXPECT_EQ(answer[4].AsString(), "WH01");
  EXPECT_EQ(answer[5],
            VarArrayOf({Variant(int32_t{2}), Variant("CMSMB=P01,P02"), Variant("CMSMF=RMB")}));
  EXPECT_EQ(Call("SQLType").AsInteger(), 5);
}

TEST_F(ReportCounterSocketTest, RequestStoresExactlyTheRequestSent) {
  for (int conditions : {3, 15}) {
    const Variant request = JobRequest(conditions);
    const std::string id = Call("Request", {request}).AsString();
    ASSERT_NE(id, "ERROR") << Call("ErrorDescript").AsString();
    EXPECT_EQ(Call("ErrorDescript").AsString(), "");
    suitedb::Database db = Db();
    suitedb::Statement row =
        db.Prepare("SELECT request_json, operation, user_id, status FROM job WHERE job_id = ?");
    row.Bind(1, id);
    ASSERT_TRUE(row.Step()) << id;
    EXPECT_EQ(suitedb::JsonTextToVariant(row.ColumnText(0)), request);
    EXPECT_EQ(row.ColumnText(1), "Request");
    EXPECT_EQ(row.ColumnText(2), "U001");
    EXPECT_EQ(row.ColumnText(3), "Q");
  }
}

TEST_F(ReportCounterSocketTest, AMalformedRequestAnswersErrorAndSaysWhy) {
  Variant request = JobRequest(3);
  request[0][3] = Variant(int32_t{4});  // four conditions announced, three sent
  const int64_t before = std::stoll(Db().QueryText("SELECT count(*) FROM job", {}).value_or("0"));
  EXPECT_EQ(Call("Request", {request}).AsString(), "ERROR");
  EXPECT_FALSE(Call("ErrorDescript").AsString().empty());
  EXPECT_EQ(std::stoll(Db().QueryText("SELECT count(*) FROM job", {}).value_or("0")), before);
  EXPECT_THROW(Call("NoSuchOperation"), platform::EUnknownName);
}

TEST_F(ReportCounterSocketTest, Request1RegistersALocalRunThatUpdateStatus1Finishes) {
  const std::string id = Call("Request1", {JobRequest(3), Variant("PC-07")}).AsString();
  ASSERT_NE(id, "ERROR") << Call("ErrorDescript").AsString();
  EXPECT_EQ(
      Call("UpdateStatus1", {Variant(id), Variant("完成; "), Variant(platform::DateTime{45357.75})})
          .AsString(),
      "");
  suitedb::Database db = Db();
  suitedb::Statement row =
      db.Prepare("SELECT operation, computer_name, status, status_text FROM job WHERE job_id = ?");
  row.Bind(1, id);
  ASSERT_TRUE(row.Step());
  EXPECT_EQ(row.ColumnText(0), "Request1");
  EXPECT_EQ(row.ColumnText(1), "PC-07");
  EXPECT_EQ(row.ColumnText(2), "F");
  EXPECT_EQ(row.ColumnText(3), reinterpret_cast<const char*>(u8"完成; "));
  const std::string missing =
      Call("UpdateStatus1", {Variant("00000000"), Variant(""), Variant()}).AsString();
  EXPECT_FALSE(missing.empty());
}

}  // namespace
}  // namespace pilgarwc::test

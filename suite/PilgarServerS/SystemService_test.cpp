#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "platform/core/Dispatch.h"
#include "platform/core/Format.h"
#include "platform/core/Registry.h"
#include "suite/db/TestInstallation.h"
#include "suite/db/Text.h"

namespace pilgar {
namespace {

using platform::VarArrayOf;
using platform::Variant;

// Texts of the database are UTF-8; the object answers GB bytes.
std::string Gb(const char8_t* utf8) {
  return suitedb::Utf8ToGb(reinterpret_cast<const char*>(utf8));
}

class SystemServiceTest : public ::testing::Test {
 protected:
  SystemServiceTest() : object_(platform::CreateOleObject("PilgarServerS.dmSystem")) {}

  Variant Call(std::string_view name, std::vector<Variant> args) {
    return platform::CallMethod(object_, name, args);
  }
  // CheckValue or QueryData; the row comes back through the out argument.
  bool Check(const char* method, const char* table, const char* kind, const Variant& key,
             Variant& row) {
    std::vector<Variant> args = {Variant(table), Variant(kind), Variant("VRKDEMO"), key, Variant()};
    const bool found = platform::CallMethod(object_, method, args).AsBoolean();
    row = args[4];
    return found;
  }

  suitedb::TestInstallation install_{VK_BIN_DIR};
  Variant object_;
};

TEST_F(SystemServiceTest, SystemSettingsAreNamesOverValuesWithCompanyOverrides) {
  struct Case {
    const char* Company;
    std::map<std::string, std::string> Expected;
  };
  const Case cases[] = {
      {"VRK",
       {{"Sys001", "1"},
        {"Sys002", "/"},
        {"VRK002", Gb(u8"（示范账套）")},
        {"SYS007", Gb(u8"商品大类")},
        {"SYS010", ""},
        {"SYS026", "2"},
        {"SYS181", "Y"}}},
      {"VRK2", {{"Sys001", "4"}, {"Sys002", "."}, {"VRK002", ""}, {"SYS181", "N"}}},
      {"NOSUCH", {{"Sys001", "1"}, {"SYS026", "1"}, {"SYS181", "Y"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Company);
    const Variant info = Call("GetSysInfo", {Variant(c.Company)});
    ASSERT_EQ(info.DimCount(), 2);
    EXPECT_EQ(info.LowBound(1), 0);
    EXPECT_EQ(info.HighBound(1), 1);
    EXPECT_EQ(info.LowBound(2), 0);
    std::map<std::string, std::string> settings;
    for (int i = 0; i <= info.HighBound(2); ++i) {
      const bool added =
          settings.emplace(info.At(0, i).AsString(), info.At(1, i).AsString()).second;
      EXPECT_TRUE(added) << "setting named twice: " << info.At(0, i).AsString();
    }
    EXPECT_GE(settings.size(), 13u);
    for (const auto& [name, value] : c.Expected) EXPECT_EQ(settings[name], value) << name;
  }
}

TEST_F(SystemServiceTest, EveryMessageTheProgramUsesHasATextThatFormats) {
  struct Case {
    const char* Type;
    const char* Number;
    int Arguments;  // "%s" in the text
  };
  const Case cases[] = {
      {"E", "000001", 1}, {"E", "000005", 1}, {"E", "000006", 1}, {"E", "000013", 1},
      {"E", "000015", 1}, {"E", "000016", 1}, {"E", "000030", 1}, {"E", "000036", 1},
      {"E", "000037", 1}, {"E", "000038", 1}, {"E", "100082", 2}, {"I", "000003", 1},
      {"I", "000004", 1}, {"I", "000005", 1}, {"I", "000008", 0}, {"I", "000009", 0},
      {"I", "000010", 0}, {"I", "000011", 0}, {"W", "000002", 3}, {"W", "000003", 3},
      {"W", "000004", 1}, {"W", "000014", 1}, {"R", "100235", 0}, {"R", "100236", 0},
      {"R", "200235", 0},
  };
  const Variant unknown = Call("GetMessage", {Variant("E"), Variant("999999")});
  std::vector<platform::FormatArg> ten;
  for (int i = 0; i < 10; ++i) ten.emplace_back(Variant("A" + std::to_string(i)));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Type) + ";" + c.Number);
    const std::string text = Call("GetMessage", {Variant(c.Type), Variant(c.Number)}).AsString();
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text, unknown.AsString());
    int placeholders = 0;
    for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
      ++placeholders;
    EXPECT_EQ(placeholders, c.Arguments);
    EXPECT_EQ(text.find('%'), c.Arguments ? text.find("%s") : std::string::npos);
    // The client formats every text with ten arguments.
    const std::string formatted = platform::Format(text, ten);
    if (c.Arguments) {
      EXPECT_NE(formatted.find("A0"), std::string::npos);
    }
  }
  // Numbers are six digits; a shorter or negative number names the same message.
  EXPECT_EQ(Call("GetMessage", {Variant("I"), Variant("4")}),
            Call("GetMessage", {Variant("I"), Variant("-000004")}));
  EXPECT_EQ(Call("GetMessage", {Variant(u"i"), Variant(int32_t{4})}).AsString(),
            Gb(u8"作业已提交，作业编号：%s"));
}

TEST_F(SystemServiceTest, UnknownMessageNamesTheCodeAndSurvivesFormatting) {
  const std::string text = Call("GetMessage", {Variant("E"), Variant("12%s")}).AsString();
  EXPECT_NE(text.find("E/12%%s"), std::string::npos) << text;
  EXPECT_NE(platform::Format(text, {"x"}).find("E/12%s"), std::string::npos);
}

TEST_F(SystemServiceTest, ChecksAnswerTheRowsTheProgramReads) {
  suitedb::Database db = install_.Open();
  const std::string receiptType =
      db.QueryText("SELECT doc_type FROM receipt ORDER BY doc_no LIMIT 1", {}).value();
  const std::string receiptNo =
      db.QueryText("SELECT doc_no FROM receipt ORDER BY doc_no LIMIT 1", {}).value();
  const std::string supplier = db.QueryText("SELECT min(code) FROM supplier", {}).value();
  db.Execute("INSERT INTO condition_scheme VALUES (?, ?, ?, '20240301', ?, ?)",
             {suitedb::Blob{"\xB7\xBD\xB0\xB8 1 "}, suitedb::Blob{"U001"}, suitedb::Blob{"PVQR82"},
              suitedb::Blob{"sp01.style;"}, suitedb::Blob{"x"}});

  struct Case {
    const char* Table;
    const char* Kind;
    Variant Key;
    bool Found;
    int Column;
    std::string Value;
  };
  const Case cases[] = {
      {"ADMMB", "01", VarArrayOf({Variant("PVQR82")}), true, 0, Gb(u8"进货单明细表")},
      {"ADMMB", "01", VarArrayOf({Variant(u"pvqr82")}), true, 4, "Y"},
      {"ADMMB", "01", VarArrayOf({Variant("PVQR82")}), true, 7, "Goods Receipt List"},
      {"ADMMB", "01", VarArrayOf({Variant("PVQR99")}), false, 0, ""},
      {"ADMMB", "11", VarArrayOf({Variant("PVQR81")}), true, 3, "Y"},
      {"ADMMB", "11", VarArrayOf({Variant("PVQR82")}), true, 3, "N"},
      {"GENES", "01",
       VarArrayOf({Variant("\xB7\xBD\xB0\xB8 1 "), Variant("U001"), Variant("PVQR82")}), true, 3,
       "20240301"},
      {"GENES", "01",
       VarArrayOf({Variant("\xB7\xBD\xB0\xB8 1"), Variant("U001"), Variant("PVQR82")}), false, 0,
       ""},
      {"GENES", "01",
       VarArrayOf({Variant("\xB7\xBD\xB0\xB8 1 "), Variant("U002"), Variant("PVQR82")}), false, 0,
       ""},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR82")}), true, 0, "N01"},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR82")}), true, 1, "Y"},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR82")}), true, 3, Gb(u8"本报表仅供内部使用")},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR82")}), true, 6, "S01"},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR81")}), true, 7, "N"},
      {"CMSMT", "01", VarArrayOf({Variant("PVQR82")}), true, 11, Gb(u8"核准：")},
      {"CMSMT", "01", VarArrayOf({Variant("PURR01")}), false, 0, ""},
      {"CMSMS", "01", VarArrayOf({Variant("1"), Variant("N02")}), true, 1, Gb(u8"金额单位：元")},
      {"CMSMS", "01", VarArrayOf({Variant("2"), Variant("S01")}), true, 3, Gb(u8"核准：")},
      {"CMSMS", "01", VarArrayOf({Variant("2"), Variant("N02")}), false, 0, ""},
      {"CMSMA", "02", VarArrayOf({Variant("")}), true, 0, "http://127.0.0.1:8080/VrkWebReport"},
      {"CMSMB", "01", VarArrayOf({Variant("P01")}), true, 1, Gb(u8"上海总厂")},
      {"CMSMB", "01", VarArrayOf({Variant(" P02 ")}), true, 0, "P02"},
      {"CMSMB", "01", VarArrayOf({Variant("P99")}), false, 0, ""},
      {"CMSMB", "01", Variant("P03"), true, 0, "P03"},
      {"CMSMF", "01", VarArrayOf({Variant("USD")}), true, 1, Gb(u8"美元")},
      {"CMSMF", "01", VarArrayOf({Variant("usd")}), false, 0, ""},
      {"PURMA", "01", VarArrayOf({Variant(supplier)}), true, 0, supplier},
      {"PURMA", "01", VarArrayOf({Variant("S99999")}), false, 0, ""},
      {"ASTTO", "01", VarArrayOf({Variant(receiptType), Variant(receiptNo)}), true, 1, receiptNo},
      {"ASTTO", "01", VarArrayOf({Variant(receiptType), Variant("00000000000")}), false, 0, ""},
      {"VRKMA", "04", VarArrayOf({Variant("U001")}), true, 1, Gb(u8"张伟")},
      {"VRKMA", "04", VarArrayOf({Variant("U001")}), true, 3, "zhangwei@vrk.example"},
      {"VRKMA", "04", VarArrayOf({Variant("NOBODY")}), false, 0, ""},
      {"NOSUCH", "01", VarArrayOf({Variant("P01")}), false, 0, ""},
      {"CMSMB", "99", VarArrayOf({Variant("P01")}), false, 0, ""},
  };
  for (const char* method : {"CheckValue", "QueryData"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(method) + " " + c.Table + " " + c.Kind + " " + c.Value);
      Variant row("stale");
      EXPECT_EQ(Check(method, c.Table, c.Kind, c.Key, row), c.Found);
      if (!c.Found) {
        EXPECT_TRUE(row.IsEmpty());
        continue;
      }
      ASSERT_TRUE(row.IsArray());
      EXPECT_EQ(row.LowBound(), 0);
      ASSERT_LE(c.Column, row.HighBound());
      EXPECT_EQ(platform::VarToStr(row[c.Column]), c.Value);
    }
  }
  // The program reads element 7 of ADMMB 01 and elements 0-11 of CMSMT 01.
  Variant row;
  ASSERT_TRUE(Check("CheckValue", "ADMMB", "01", VarArrayOf({Variant("PVQR82")}), row));
  EXPECT_EQ(row.HighBound(), 7);
  ASSERT_TRUE(Check("CheckValue", "CMSMT", "01", VarArrayOf({Variant("PVQR82")}), row));
  EXPECT_EQ(row.HighBound(), 11);
}

TEST_F(SystemServiceTest, BaseLimitedHidesCodesOutsideTheLimit) {
  suitedb::Database db = install_.Open();
  const std::string type =
      db.QueryText("SELECT doc_type FROM receipt WHERE plant = 'P03'", {}).value();
  const std::string number =
      db.QueryText("SELECT doc_no FROM receipt WHERE plant = 'P03' AND doc_type = ?", {type})
          .value();
  const Variant p03 = VarArrayOf({Variant("P03")});
  const Variant receipt = VarArrayOf({Variant(type), Variant(number)});
  Variant row;
  platform::PutProperty(object_, "BaseLimited",
                        Variant(std::string("WH01\x03"
                                            "2\x03"
                                            "CMSMB=P01, P02\x03"
                                            "CMSMF=RMB\x03")));
  EXPECT_FALSE(Check("CheckValue", "CMSMB", "01", p03, row));
  EXPECT_TRUE(Check("CheckValue", "CMSMB", "01", VarArrayOf({Variant("P02")}), row));
  EXPECT_FALSE(Check("QueryData", "CMSMF", "01", VarArrayOf({Variant("USD")}), row));
  EXPECT_FALSE(Check("CheckValue", "ASTTO", "01", receipt, row));
  EXPECT_TRUE(Check("CheckValue", "ADMMB", "01", VarArrayOf({Variant("PVQR82")}), row));
  // A count of zero, an empty text or a malformed one limits nothing.
  for (const char* text : {"WH01\x03"
                           "0\x03"
                           "CMSMB=P01\x03",
                           "", "garbage"}) {
    platform::PutProperty(object_, "BaseLimited", Variant(text));
    EXPECT_TRUE(Check("CheckValue", "CMSMB", "01", p03, row)) << text;
    EXPECT_TRUE(Check("CheckValue", "ASTTO", "01", receipt, row)) << text;
  }
}

TEST_F(SystemServiceTest, LookupRowsAnswerCaptionsAndRowsCodeFirst) {
  struct Case {
    const char* Table;
    const char* Kind;
    Variant Key;
    const char* Search;
    const char* Limits;
    int Captions;
    int Rows;  // -1: compare with the database below
    const char* FirstCode;
  };
  suitedb::Database db = install_.Open();
  const int suppliers = std::stoi(db.QueryText("SELECT count(*) FROM supplier", {}).value());
  const Case cases[] = {
      {"CMSMB", "01", VarArrayOf({Variant("")}), "", "", 4, 6, "P01"},
      {"CMSMB", "01", VarArrayOf({Variant("")}), "P03", "", 4, 1, "P03"},
      {"CMSMB", "01", VarArrayOf({Variant("")}), "",
       "G\x03"
       "1\x03"
       "CMSMB=P02,P05\x03",
       4, 2, "P02"},
      {"CMSMF", "01", VarArrayOf({Variant("")}), "", "", 4, 6, "EUR"},
      {"PURMA", "01", VarArrayOf({Variant("")}), "", "", 6, suppliers, "S00001"},
      {"PURMA", "01", VarArrayOf({Variant("")}), "100%", "", 6, 0, ""},
      {"CMSMS", "01", VarArrayOf({Variant("1")}), "", "", 5, 3, "N01"},
      {"CMSMS", "01", VarArrayOf({Variant("2")}), "S02", "", 5, 1, "S02"},
      {"VRKMA", "04", VarArrayOf({Variant("")}), "", "", 4, 8, "DS"},
      {"VRKMA", "04", VarArrayOf({Variant("")}), "\xD5\xC5", "", 4, 1, "U001"},  // 张 in GB
      {"ADMMB", "01", VarArrayOf({Variant("")}), "PVQ", "", 4, 2, "PVQR81"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Table) + " " + c.Search);
    const Variant answer =
        Call("LookupRows", {Variant(c.Table), Variant(c.Kind), Variant("VRKDEMO"), c.Key,
                            Variant(c.Search), Variant(c.Limits)});
    ASSERT_EQ(answer.HighBound(), 1);
    EXPECT_EQ(answer[0].HighBound() + 1, c.Captions);
    const Variant& rows = answer[1];
    ASSERT_TRUE(rows.IsArray());
    EXPECT_EQ(rows.HighBound() + 1, c.Rows);
    if (c.Rows > 0) {
      EXPECT_EQ(rows[0][0].AsString(), c.FirstCode);
    }
    for (int i = 0; i <= rows.HighBound(); ++i) EXPECT_EQ(rows[i].HighBound() + 1, c.Captions);
  }
  // The receipt lookup narrows by the type and number the user has typed.
  const Variant receipts =
      Call("LookupRows", {Variant("ASTTO"), Variant("01"), Variant("VRKDEMO"),
                          VarArrayOf({Variant("3402"), Variant("")}), Variant(""), Variant("")});
  ASSERT_GE(receipts[1].HighBound(), 0);
  for (int i = 0; i <= receipts[1].HighBound(); ++i)
    EXPECT_EQ(receipts[1][i][0].AsString(), "3402");
  EXPECT_THROW(Call("LookupRows", {Variant("NOSUCH"), Variant("01"), Variant(""), Variant("")}),
               platform::EOleError);
}

TEST_F(SystemServiceTest, SimpleSqlReadsVrkintmaAsTheClientAsks) {
  const Variant portal = Call(
      "GetCounter", {Variant("SIMPLESQL"),
                     VarArrayOf({Variant("SELECT MA003 FROM VRKINTMA WHERE MA001='StartupPortal' "),
                                 Variant("MA003")}),
                     VarArrayOf({Variant("VRK"), Variant("VRKDEMO")})});
  ASSERT_EQ(portal.HighBound(), 0);
  EXPECT_EQ(portal[0][0].AsString(), "N");
  const Variant address = Call(
      "GetCounter", {Variant("SimpleSQL"),
                     VarArrayOf({Variant(u"SELECT MA003 FROM VRKINTMA WHERE MA001='Portal WS' "),
                                 Variant(u"MA003")}),
                     VarArrayOf({Variant("VRK"), Variant("VRKDEMO")})});
  ASSERT_EQ(address.HighBound(), 0);
  EXPECT_EQ(address[0][0].AsString(), "");
  // Several columns in the order asked, or all of them.
  const Variant two =
      Call("GetCounter",
           {Variant("SimpleSQL"),
            VarArrayOf({Variant("SELECT * FROM VRKINTMA ORDER BY MA001"), Variant("ma003, MA001")}),
            Variant()});
  ASSERT_EQ(two.HighBound(), 2);
  EXPECT_EQ(two[0][1].AsString(), "MailServer");
  EXPECT_EQ(two[0][0].AsString(), "mail.vrk.example");
  const Variant all = Call(
      "GetCounter",
      {Variant("SimpleSQL"),
       VarArrayOf({Variant("SELECT count(*), 1.5, NULL FROM VRKINTMA"), Variant("")}), Variant()});
  EXPECT_EQ(all[0][0], Variant(int32_t{3}));
  EXPECT_EQ(all[0][1], Variant(1.5));
  EXPECT_TRUE(all[0][2].IsNull());
}

TEST_F(SystemServiceTest, SimpleSqlRefusesAnythingButOneReadOnlyQuery) {
  const char* refused[] = {
      "DELETE FROM VRKINTMA",
      "UPDATE VRKINTMA SET MA003 = 'Y'",
      "INSERT INTO VRKINTMA (MA001) VALUES ('x')",
      "SELECT 1; DELETE FROM VRKINTMA",
      "SELECT 1; SELECT 2",
      "SELECT 1; garbage",
      "WITH x AS (SELECT 1) DELETE FROM VRKINTMA",
      "WITH x AS (SELECT 1) INSERT INTO VRKINTMA (MA001) SELECT 'y' FROM x",
      "/* SELECT */ DROP TABLE VRKINTMA",
      "PRAGMA journal_mode = DELETE",
      "ATTACH DATABASE ':memory:' AS other",
      "VACUUM",
      "SELECT ?",
      "SELECT :name",
      "SELEC MA003 FROM VRKINTMA",
      "SELECT NOPE FROM VRKINTMA",
      "",
      "   ",
      "SELECT MA003 FROM VRKINTMA -- ok\n; DELETE FROM VRKINTMA",
  };
  for (const char* sql : refused) {
    const Variant answer = Call(
        "GetCounter", {Variant("SimpleSQL"), VarArrayOf({Variant(sql), Variant("")}), Variant()});
    ASSERT_EQ(answer.Type(), platform::VarType::String) << sql;
    EXPECT_EQ(answer.AsString().rfind("ERROR: ", 0), 0u) << sql << " -> " << answer.AsString();
  }
  // Nothing was changed, and a query may still end with a semicolon and a comment.
  const Variant count =
      Call("GetCounter",
           {Variant("SimpleSQL"),
            VarArrayOf({Variant("SELECT count(*) AS n FROM VRKINTMA WHERE MA003 = 'N'; -- done"),
                        Variant("N")}),
            Variant()});
  ASSERT_TRUE(count.IsArray());
  EXPECT_EQ(count[0][0], Variant(int32_t{1}));
  struct Case {
    const char* Sql;
    const char* Columns;
    const char* Reason;
  };
  const Case limits[] = {
      {"SELECT MA003 FROM VRKINTMA", "MA009", "no column MA009"},
      {"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 10001) SELECT x FROM "
       "c",
       "", "more than 10000 rows"},
      {"WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT count(*) FROM c", "",
       "ran too long"},
  };
  for (const Case& c : limits) {
    const Variant answer =
        Call("GetCounter",
             {Variant("SimpleSQL"), VarArrayOf({Variant(c.Sql), Variant(c.Columns)}), Variant()});
    ASSERT_EQ(answer.Type(), platform::VarType::String) << c.Sql;
    EXPECT_NE(answer.AsString().find(c.Reason), std::string::npos) << answer.AsString();
  }
  EXPECT_EQ(Call("GetCounter", {Variant("SimpleSQL"), Variant("SELECT 1"), Variant()}).Type(),
            platform::VarType::String);
}

TEST_F(SystemServiceTest, NamedCountersCountPerCompany) {
  const Variant vrk = VarArrayOf({Variant("VRK"), Variant("VRKDEMO")});
  EXPECT_EQ(Call("GetCounter", {Variant("JOBNO"), Variant(), vrk}), Variant(int32_t{1}));
  EXPECT_EQ(Call("GetCounter", {Variant("jobno"), Variant(int32_t{5}), vrk}), Variant(int32_t{6}));
  EXPECT_EQ(Call("GetCounter", {Variant("JOBNO"), Variant(int32_t{1}),
                                VarArrayOf({Variant("VRK2"), Variant("VRKSZ")})}),
            Variant(int32_t{1}));
  EXPECT_THROW(Call("GetCounter", {Variant("JOBNO"), Variant("many"), vrk}), platform::EOleError);
}

TEST_F(SystemServiceTest, FileListTellsTheStampAndPlaceOfAWorkLibrary) {
  { std::ofstream(install_.Folder() + "S_PKG/PVQR82S.DLL") << "module"; }
  const std::string expectedPath = "<Path>" + install_.Folder() + "S_PKG/PVQR82S.DLL</Path>";
  // "<Modify>yyyy/mm/dd hh:nn:ss</Modify><Path>...</Path>"
  auto wellFormed = [](const std::string& info) {
    const std::string stamp = "dddd/dd/dd dd:dd:dd";
    if (info.rfind("<Modify>", 0) != 0 || info.size() < 8 + stamp.size()) return false;
    for (size_t i = 0; i < stamp.size(); ++i) {
      const char c = info[8 + i];
      if (stamp[i] == 'd' ? !(c >= '0' && c <= '9') : c != stamp[i]) return false;
    }
    return info.compare(8 + stamp.size(), 15, "</Modify><Path>") == 0 && info.size() >= 7 &&
           info.compare(info.size() - 7, 7, "</Path>") == 0;
  };
  for (const Variant& name : {Variant("pvqr82s.dll"), Variant(u"C:\\Vrk\\S_PKG\\PVQR82S.DLL"),
                              Variant("/any/where/Pvqr82s.Dll")}) {
    const std::string info = Call("GetFileList", {VarArrayOf({name})}).AsString();
    EXPECT_TRUE(wellFormed(info)) << info;
    EXPECT_NE(info.find(expectedPath), std::string::npos) << info;
  }
  EXPECT_EQ(Call("GetFileList", {VarArrayOf({Variant("pvqr81s.dll")})}).AsString(), "");
  EXPECT_EQ(Call("GetFileList", {VarArrayOf({Variant("")})}).AsString(), "");
}

TEST_F(SystemServiceTest, CallsFailWhenTheServerIsNotInstalled) {
  const std::string empty = install_.Folder() + "empty.reg";
  { std::ofstream(empty) << "\n"; }
  Variant object = platform::CreateOleObject("PilgarServerS.dmSystem");
  platform::SetRegistryFile(empty);
  EXPECT_THROW(platform::CallMethod(object, "GetMessage", {Variant("E"), Variant("000001")}),
               platform::EOleError);
  platform::SetRegistryFile(install_.RegistryFile());
  EXPECT_FALSE(platform::CallMethod(object, "GetMessage", {Variant("E"), Variant("000001")})
                   .AsString()
                   .empty());
}

}  // namespace
}  // namespace pilgar

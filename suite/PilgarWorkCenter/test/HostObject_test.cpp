// Every call of the host object and its services through the automation
// interface, on the default installation, in process and through vksocketd.
// Each way proves itself: the in-process way's client settings name a port
// nobody listens on, and the socket way's registry has neither the server's
// classes nor its folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/PilgarWorkCenter/Help.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"
#include "suite/PilgarWorkCenter/test/LookupArgs.h"
#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

namespace pilgarwc::test {
namespace {

using platform::CallMethod;
using platform::VarArrayOf;
using platform::Variant;

class HostObjectTest : public SuiteTest, public ::testing::WithParamInterface<Way> {
 protected:
  void SetUp() override {
    way_ = GetParam();
    SuiteTest::SetUp();
    host_ = NewHost();
  }
  Variant host_;
};

INSTANTIATE_TEST_SUITE_P(Ways, HostObjectTest, ::testing::Values(Way::InProcess, Way::Socket),
                         [](const auto& info) { return std::string(WayName(info.param)); });

TEST_P(HostObjectTest, ServicesAreKeptAndAnswerTheCompanySettings) {
  const Variant counter = CallMethod(host_, "Com_Counter");
  EXPECT_EQ(CallMethod(host_, "Com_Counter"), counter);  // the same object
  EXPECT_EQ(CallMethod(host_, "Com_Validator"), CallMethod(host_, "Com_Validator"));
  EXPECT_EQ(CallMethod(host_, "Com_F2Window"), CallMethod(host_, "Com_F2Window"));
  EXPECT_NE(CallMethod(host_, "Com_Validator"), counter);

  const Variant settings = CallMethod(counter, "GetSysInfo", {Variant("VRK")});
  ASSERT_EQ(settings.DimCount(), 2);
  ASSERT_EQ(settings.HighBound(1), 1);
  std::map<std::string, std::string> byName;
  for (int i = settings.LowBound(2); i <= settings.HighBound(2); ++i)
    byName[settings.At(0, i).AsString()] = settings.At(1, i).AsString();
  EXPECT_EQ(byName["Sys001"], "1");
  EXPECT_EQ(byName["Sys002"], "/");
  EXPECT_GT(byName.size(), 4u);
}

TEST_P(HostObjectTest, CountersMoveAndSimpleSqlReadsRows) {
  const Variant counter = CallMethod(host_, "Com_Counter");
  const Variant place = VarArrayOf({Variant("VRK"), Variant("VRKDEMO")});
  const std::string name = std::string("E2E") + WayName(GetParam());
  const int32_t first =
      CallMethod(counter, "GetCounter", {Variant(name), Variant(), place}).AsInteger();
  EXPECT_EQ(CallMethod(counter, "GetCounter", {Variant(name), Variant(int32_t{5}), place}),
            Variant(first + 5));

  const Variant rows = CallMethod(
      counter, "GetCounter",
      {Variant("SimpleSQL"),
       VarArrayOf({Variant("SELECT code, name FROM plant ORDER BY code"), Variant("code,name")}),
       place});
  ASSERT_TRUE(rows.IsArray());
  ASSERT_EQ(rows.HighBound(), 5);
  EXPECT_EQ(rows[0], VarArrayOf({Variant("P01"), Variant("上海总厂")}));
  EXPECT_EQ(rows[5][0].AsString(), "P06");
  const std::string refused =
      CallMethod(
          counter, "GetCounter",
          {Variant("SimpleSQL"), VarArrayOf({Variant("DELETE FROM plant"), Variant("")}), place})
          .AsString();
  EXPECT_EQ(refused.rfind("ERROR: ", 0), 0u) << refused;
}

TEST_P(HostObjectTest, ChecksAndQueriesHonourTheBaseDataLimits) {
  const Variant validator = CallMethod(host_, "Com_Validator");
  const std::string warehouse =
      "WH01\x03"
      "2\x03"
      "CMSMB=P01,P02\x03"
      "CMSMF=RMB\x03";
  struct Case {
    std::string Limits;
    const char* Table;
    const char* Code;
    const char* Name;  // nullptr: refused
  } cases[] = {
      {"", "CMSMB", "P03", "深圳工厂"},      {"", "CMSMF", "USD", "美元"},
      {"", "CMSMB", "P99", nullptr},         {warehouse, "CMSMB", "P01", "上海总厂"},
      {warehouse, "CMSMB", "P03", nullptr},  {warehouse, "CMSMF", "USD", nullptr},
      {warehouse, "CMSMF", "RMB", "人民币"}, {"", "CMSMB", "P03", "深圳工厂"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Table) + " " + c.Code + " limits " +
                 std::to_string(c.Limits.size()));
    platform::PutProperty(validator, "BaseLimited", Variant(c.Limits));
    EXPECT_EQ(platform::GetProperty(validator, "BaseLimited").AsString(), c.Limits);
    for (const char* method : {"CheckValue", "QueryData"}) {
      std::vector<Variant> args = {Variant(c.Table), Variant("01"), Variant("VRKDEMO"),
                                   VarArrayOf({Variant(c.Code)}), Variant("stale")};
      const bool found = CallMethod(validator, method, args).AsBoolean();
      EXPECT_EQ(found, c.Name != nullptr) << method;
      if (c.Name) {
        ASSERT_TRUE(args[4].IsArray()) << method;
        EXPECT_EQ(args[4][0].AsString(), c.Code);
        EXPECT_EQ(args[4][1].AsString(), c.Name);
      } else {
        EXPECT_TRUE(args[4].IsEmpty()) << method;
      }
    }
  }
}

TEST_P(HostObjectTest, MessagesAndFileInformationComeFromTheServer) {
  EXPECT_EQ(CallMethod(host_, "GetMessage", {Variant("E"), Variant("000001")}).AsString(),
            "%s不存在，请重新输入！");
  // Wide texts and a short number name the same message.
  EXPECT_EQ(CallMethod(host_, "GetMessage", {Variant(u"E"), Variant(u"1")}).AsString(),
            "%s不存在，请重新输入！");
  const std::string unknown =
      CallMethod(host_, "GetMessage", {Variant("Z"), Variant("999999")}).AsString();
  EXPECT_NE(unknown.find("Z/999999"), std::string::npos) << unknown;

  const std::string library = Suite::Get().Home() + "S_PKG/PVQR82S.DLL";
  std::ofstream(library) << "module";
  const std::string info =
      CallMethod(host_, "GetFileList", {VarArrayOf({Variant("pvqr82s.dll")})}).AsString();
  EXPECT_EQ(info.rfind("<Modify>", 0), 0u) << info;
  EXPECT_NE(info.find("</Modify><Path>" + library + "</Path>"), std::string::npos) << info;
  EXPECT_EQ(CallMethod(host_, "GetFileList", {VarArrayOf({Variant("nothing.dll")})}).AsString(),
            "");
}

TEST_P(HostObjectTest, HelpOpensThePageOfTheNumberOrSaysItIsMissing) {
  std::vector<std::string> opened;
  SetHelpOpener([&](const std::string& file) {
    opened.push_back(file);
    return true;
  });
  ModalAnswers answers([](vcl::TCustomForm&) { ADD_FAILURE() << "no window expected"; });
  EXPECT_EQ(CallMethod(host_, "CallHelp", {VarArrayOf({Variant("PVQ"), Variant("12820000")})}),
            Variant(true));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], Suite::Get().ClientFolder(GetParam()) + "Help/12820000.html");
  EXPECT_TRUE(std::filesystem::exists(opened[0]));
  EXPECT_TRUE(answers.Messages().empty());

  EXPECT_EQ(CallMethod(host_, "CallHelp", {VarArrayOf({Variant("PVQ"), Variant(u"62170000")})}),
            Variant(false));
  EXPECT_EQ(opened.size(), 1u);
  ASSERT_EQ(answers.Messages().size(), 1u);
  const std::string& message = answers.Messages()[0];
  EXPECT_EQ(message.substr(0, message.find('\r')), "找不到帮助编号 62170000 的说明页面。");

  for (const char* bad : {"../12820000", "", "1282 0000"})
    EXPECT_THROW(CallMethod(host_, "CallHelp", {VarArrayOf({Variant("PVQ"), Variant(bad)})}),
                 platform::EBadArgument)
        << bad;
  EXPECT_EQ(opened.size(), 1u);
}

TEST_P(HostObjectTest, LookupAndDatePickerAnswerThroughTheHost) {
  const Variant lookup = CallMethod(host_, "Com_F2Window");
  const Variant validator = CallMethod(host_, "Com_Validator");
  std::vector<Variant> check = {Variant("CMSMB"), Variant("01"), Variant("VRKDEMO"),
                                VarArrayOf({Variant("P01")}), Variant()};
  ASSERT_TRUE(CallMethod(validator, "CheckValue", check).AsBoolean());

  ModalAnswers answers([](vcl::TCustomForm& form) {
    if (form.ClassName() == "TfrmLookup") {
      EXPECT_EQ(form.Caption(), "进货工厂信息查询 - CMSMB");
      EXPECT_EQ(Part<vcl::TListView>(form, "lvRows")->Items()->Count(), 6);
      vcl::SimulateKey(Part<vcl::TEdit>(form, "edSearch"), vcl::VK_RETURN);
    } else {
      EXPECT_EQ(Part<vcl::TEdit>(form, "edDate")->Text(), "113/03/05");
      Part<vcl::TButton>(form, "btnOk")->Click();
    }
  });
  const Variant rows = CallMethod(
      lookup, "F2GetData", {F2Args("CMSMB", VarArrayOf({Variant("")}), false, Variant("P0"))});
  EXPECT_EQ(rows, VarArrayOf({check[4]}));  // the whole row, as a check answers it
  EXPECT_EQ(CallMethod(lookup, "ShowInputDay",
                       {VarArrayOf({Variant(true), Variant("20240305"), Variant("VRKDEMO")})}),
            Variant("20240305"));
  EXPECT_EQ(answers.Forms(), 2);
}

TEST(HostObjectLinkTest, AServerThatCannotBeReachedFailsTheCall) {
  // A client folder whose settings name a port nobody listens on (the
  // in-process way's port) behind a host name.
  const std::string folder = Suite::Get().Home() + "unreachable/";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "BrantorC.ini")
      << "[Server Information]\nComputerName=localhost\nServerPort=1\n";
  std::ofstream(folder + "registry.reg")
      << "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n\"ClientPath\"=\"" << folder << "\"\n";
  platform::SetRegistryFile(folder + "registry.reg");
  const Variant host(NewHostObject());
  EXPECT_THROW(CallMethod(host, "GetMessage", {Variant("E"), Variant("000001")}),
               platform::EOleError);
  // No client settings at all: the call fails as well.
  platform::SetRegistryFile(folder + "none.reg");
  EXPECT_THROW(CallMethod(Variant(NewHostObject()), "GetMessage", {Variant("E"), Variant("1")}),
               platform::EOleError);
  platform::SetRegistryFile(std::nullopt);
}

TEST(HostObjectLinkTest, AHostThatLinksTheLibraryRegistersTheClass) {
  UseWay(Way::InProcess);
  RegisterHostObject();
  const platform::DispatchPtr host = platform::CreateOleObject("PilgarWorkCenter.Manager");
  EXPECT_NE(dynamic_cast<Manager*>(host.get()), nullptr);
  EXPECT_EQ(CallMethod(Variant(host), "GetMessage", {Variant("E"), Variant("000001")}).AsString(),
            "%s不存在，请重新输入！");
  EXPECT_FALSE(dynamic_cast<Manager&>(*host).Link().Remote());
  platform::UnregisterObjectFactory("PilgarWorkCenter.Manager");
  platform::SetRegistryFile(std::nullopt);
}

}  // namespace
}  // namespace pilgarwc::test

// The window against the suite itself: a default installation written by
// scripts/install.sh, the host object "PilgarWorkCenter.Manager" made by
// class name, and the application server "ReportCounterS.dmReportCounter"
// reached in process (address 127.0.0.1) or through vksocketd.

#include <gtest/gtest.h>

#include "framework/test/Environment.h"
#include "framework/test/Support.h"
#include "outside/AppServer.h"
#include "platform/core/CodePage.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/remote/ClientDataSet.h"
#include "platform/remote/SocketConnection.h"
#include "platform/remote/test/RemoteTestSupport.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"

namespace framework_test {
namespace {

using platform::VarArrayOf;
using platform::Variant;

using platform::remote::test::UnusedPort;

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Suite::Get().Start();
    platform::SetSystemCodePage(936);
    vcl::ClearShownDialogs();
    vcl::Application->SetModalHook([](vcl::TCustomForm& form) {
      if (dynamic_cast<vcl::TMessageForm*>(&form)) form.SetModalResult(vcl::mrOk);
    });
  }
  void TearDown() override {
    if (vcl::IsLiveComponent(window_)) window_->Free();
    vcl::Application->ProcessMessages();
    vcl::Application->SetModalHook(nullptr);
    platform::SetSystemCodePage(std::nullopt);
    platform::SetRegistryFile(std::nullopt);
  }

  // A window of program PVQR82 talking to the report server module, with
  // the suite's host object, on a client whose settings name Address/Port.
  TTestWindow* Window(const std::string& address, int port,
                      const std::string& serverName = Outside::kReportServerClass) {
    platform::SetRegistryFile(Suite::Get().ClientRegistry(address, port));
    window_ = vcl::Create<TTestWindow>(nullptr);
    window_->ServerName = serverName;
    window_->SetModuleFileName(Suite::Get().Home() + "PVQR82C.dll");
    window_->HostObject = Variant(platform::CreateOleObject("PilgarWorkCenter.Manager"));
    return window_;
  }
  static Variant Params(int count = 5) {
    const Variant all[] = {Variant("U001"), Variant("VRK"), Variant("VRKDEMO"), Variant(int32_t{0}),
                           Variant("")};
    Variant params = platform::VarArrayCreate({{0, count - 1}});
    for (int i = 0; i < count; ++i) params[i] = all[i];
    return params;
  }
  static std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& d : vcl::ShownDialogs()) texts.push_back(d.Text);
    return texts;
  }

  TTestWindow* window_ = nullptr;
};

TEST_F(ServerTest, InProcessServerAndTheSuitesServices) {
  TTestWindow* w = Window("127.0.0.1", UnusedPort());
  ASSERT_TRUE(w->Initialize(Params())) << w->MessageTexts;
  EXPECT_TRUE(Texts().empty());
  EXPECT_TRUE(w->LocalServer);
  EXPECT_FALSE(w->MainMidas->Connected());  // nothing went through the socket
  EXPECT_EQ(Outside::SQLType(w->AppServer).AsInteger(), 5);

  // What the host's services answered from the installation.
  EXPECT_EQ(w->ProgramName, "进货单明细表");
  EXPECT_TRUE(w->WantLog());
  EXPECT_EQ(w->CaptionNote, "（示范账套）");
  EXPECT_EQ(w->DateFormatKind(), 1);
  EXPECT_EQ(w->GetSysSetting("SYS007"), "商品大类");

  // Rights through the server, applied by the window.
  w->ApplyRights(Outside::GetPower(w->AppServer, w->DbName, w->UserID, w->ProgramCode));
  EXPECT_TRUE(w->RightsFlag7);
  EXPECT_TRUE(w->RightsFlag8);

  // Validation with the real master data and messages.
  Variant row;
  EXPECT_TRUE(w->ValidateValue("ADMMB", "01", "E", 0, row, VarArrayOf({Variant("PVQR81")})));
  EXPECT_EQ(row, Variant("进货单汇总表"));
  EXPECT_FALSE(w->ValidateValue("ADMMB", "01", "E", 0, row, VarArrayOf({Variant("ZZZZ99")})));
  EXPECT_EQ(Texts(), std::vector<std::string>{"输入的代码不存在，请重新输入！"});

  // The scheme data set over the server's provider.
  const Variant record = VarArrayOf({Variant("方案一"), Variant("U001"), Variant("20240305"),
                                     Variant("PVQR82"), Variant("sp01.Style;"),
                                     Variant("sp_Range\x03"
                                             "A\x03"
                                             "B\r\n"),
                                     Variant(true)});
  EXPECT_EQ(platform::VarToStr(Outside::InsertConTable(w->AppServer, record)), "");
  EXPECT_EQ(platform::VarToStr(Outside::LoadTable(w->AppServer, "U001", "PVQR82")), "");
  w->ClientDataSet1->Open();
  EXPECT_EQ(w->ClientDataSet1->RecordCount(), 1);
  ASSERT_TRUE(w->ClientDataSet1->FindKey({Variant("方案一"), Variant("U001"), Variant("PVQR82")}));
  EXPECT_EQ(w->ClientDataSet1->FieldByName("CREATE_DATE")->AsString(), "20240305");
  EXPECT_EQ(w->ClientDataSet1->FieldByName("SCONDITION")->AsString(), "sp01.Style;");
  w->ClientDataSet1->Close();
  EXPECT_EQ(platform::VarToStr(Outside::DeleteConTable(
                w->AppServer, VarArrayOf({Variant("方案一"), Variant("U001"), Variant("PVQR82")}))),
            "");
}

TEST_F(ServerTest, AnyOtherAddressGoesThroughTheSocket) {
  TTestWindow* w = Window("localhost", Suite::Get().Port());
  ASSERT_TRUE(w->Initialize(Params())) << w->MessageTexts;
  EXPECT_FALSE(w->LocalServer);
  EXPECT_TRUE(w->MainMidas->Connected());
  EXPECT_EQ(w->MainMidas->Address(), "localhost");
  EXPECT_EQ(w->MainMidas->Port(), Suite::Get().Port());
  EXPECT_EQ(Outside::SQLType(w->AppServer).AsInteger(), 5);
  EXPECT_EQ(w->ProgramName, "进货单明细表");
  // Closing a remote window disconnects.
  platform::remote::TSocketConnection* connection = w->MainMidas.get();
  w->FormDestroy(w);
  EXPECT_FALSE(connection->Connected());
}

TEST_F(ServerTest, AnAddressThatDoesNotAnswerGivesE000006) {
  TTestWindow* w = Window("localhost", UnusedPort());
  EXPECT_FALSE(w->Initialize(Params()));
  EXPECT_FALSE(w->LocalServer);
  EXPECT_NE(w->MessageCodes.find("E;000006"), std::string::npos) << w->MessageCodes;
  // The host cannot reach the server either, so the text names the message.
  ASSERT_FALSE(Texts().empty());
  EXPECT_EQ(Texts().back(), "Can not Get Message\rType= E, ID= 000006 ");
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(vcl::IsLiveComponent(w));  // closed by the posted request
}

TEST_F(ServerTest, AServerClassTheServerDoesNotHaveGivesE000006) {
  TTestWindow* w = Window("localhost", Suite::Get().Port(), "No.SuchServer");
  EXPECT_FALSE(w->Initialize(Params()));
  EXPECT_EQ(Texts(), std::vector<std::string>{"无法连接应用服务器，程序即将关闭。"});
  EXPECT_NE(w->MessageCodes.find("E;-1; E;000006; "), std::string::npos) << w->MessageCodes;
}

TEST_F(ServerTest, FewerThanFiveParametersWithTheSuitesTexts) {
  TTestWindow* w = Window("127.0.0.1", UnusedPort());
  EXPECT_FALSE(w->Initialize(Params(4)));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"主程序传入的参数不完整，程序即将关闭。",
                                               "主程序传入的参数不完整，程序即将关闭。 ",
                                               "无法连接应用服务器，程序即将关闭。"}));
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(vcl::IsLiveComponent(w));
}

}  // namespace
}  // namespace framework_test

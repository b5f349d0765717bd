// The host side of the protocol across a real library boundary: the program
// library PVQR82C.dll (both builds) opened on the default installation, and
// the libraries whose class references are missing, whose errors must reach
// the host as the runtime's exception.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry/DLLBaseCtrller.h"
#include "entry/DLLFunc.h"
#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/DesktopHost/PluginHost.h"
#include "suite/DesktopHost/test/Installation.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"

namespace {

using DesktopHost::TPluginHost;
using platform::Variant;

std::vector<int32_t> Codes(const TPluginHost& host) {
  std::vector<int32_t> codes;
  for (const auto& notice : host.Notices()) codes.push_back(notice.Code);
  return codes;
}

// Message dialogs are answered with their default button and their texts
// kept (in the system code page).
class Dialogs {
 public:
  Dialogs() {
    vcl::ClearShownDialogs();
    vcl::Application->SetModalHook([](vcl::TCustomForm& form) {
      if (auto* dialog = dynamic_cast<vcl::TMessageForm*>(&form))
        if (vcl::TButton* button = dialog->DefaultButton())
          form.SetModalResult(button->ModalResult());
    });
  }
  ~Dialogs() { vcl::Application->SetModalHook({}); }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& shown : vcl::ShownDialogs()) texts.push_back(shown.Text);
    return texts;
  }
};

class ProgramLibraryTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { platform::SetSystemCodePage(936); }
  void TearDown() override {
    vcl::Application->ProcessMessages();
    platform::SetSystemCodePage(std::nullopt);
  }
  TPluginHost NewHost() { return TPluginHost(pilgarwc::NewHostObject(), {"DS", "VRK", "VRKDEMO"}); }
};

TEST_P(ProgramLibraryTest, OpensTheWindowOnTheDefaultInstallation) {
  Dialogs dialogs;
  TPluginHost host = NewHost();
  ASSERT_TRUE(host.Load(DesktopHostTest::ProgramLibrary(GetParam()))) << host.LastError();
  auto* controller = host.Controller();
  EXPECT_EQ(controller->ClassName(), "TDLLRPCtrller");
  EXPECT_EQ(host.Execute(5), 0) << host.LastError();
  EXPECT_EQ(Codes(host), (std::vector<int32_t>{256}));

  Variant info;
  ASSERT_EQ(controller->GetProgramInfo(info), 0);
  ASSERT_EQ(info.HighBound(), 3);
  EXPECT_EQ(info[0].AsString(), "DS");
  EXPECT_EQ(info[1].AsString(), "VRK");
  EXPECT_EQ(info[2].AsString(), "PVQR82");        // from the library's file name
  EXPECT_EQ(info[3].AsString(), "进货单明细表");  // the program master's name
  EXPECT_EQ(controller->GetVersionText(), u"870401-0.00.00");

  EXPECT_EQ(host.Show(false), 0);
  EXPECT_EQ(controller->GetVisible(), DLLBaseCtrller::kWordTrue);
  EXPECT_NE(controller->GetWindowHandle(), 0u);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(controller->NoWindow());  // no close request was posted
  host.FreeController();
  EXPECT_EQ(Codes(host), (std::vector<int32_t>{256, 272, 304}));
  EXPECT_EQ(host.Notices().back().ResultCode, 0);
  EXPECT_TRUE(dialogs.Texts().empty()) << dialogs.Texts().front();
}

// E;000038, then (the trail not being empty) no server connection: E;000006
// and a failed initialisation. The window closes once messages run.
TEST_P(ProgramLibraryTest, FewerThanFiveParametersCloseTheWindowOnceMessagesRun) {
  Dialogs dialogs;
  TPluginHost host = NewHost();
  ASSERT_TRUE(host.Load(DesktopHostTest::ProgramLibrary(GetParam()))) << host.LastError();
  EXPECT_EQ(host.Execute(3), -1);
  EXPECT_EQ(host.LastError(), "");  // a failure, not an exception
  ASSERT_GE(dialogs.Texts().size(), 2u);
  EXPECT_NE(dialogs.Texts().front().find("主程序传入的参数不完整"), std::string::npos);
  EXPECT_NE(dialogs.Texts().back().find("无法连接应用服务器"), std::string::npos);
  EXPECT_FALSE(host.Controller()->NoWindow());
  vcl::Application->ProcessMessages();
  EXPECT_TRUE(host.Controller()->NoWindow());
  EXPECT_EQ(Codes(host), (std::vector<int32_t>{256, 304}));
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramLibraryTest,
                         ::testing::ValuesIn(DesktopHostTest::ProgramBuilds()),
                         [](const auto& info) { return info.param ? "Compat" : "Current"; });

// The library's own error reaches the host as the runtime's exception class,
// caught by type on this side of the boundary.
TEST(BrokenLibraries, GetControllerWithoutControllerClassRaisesToTheHost) {
  void* library = ::dlopen(DesktopHostTest::TestLibrary("NoControllerClass.dll").c_str(),
                           RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  auto getController = reinterpret_cast<TGetController>(::dlsym(library, "GetController"));
  ASSERT_NE(getController, nullptr);
  try {
    getController();
    ADD_FAILURE() << "no exception";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "VRK DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  }

  TPluginHost host(nullptr, {"DS", "VRK", "VRKDEMO"});
  EXPECT_FALSE(host.Load(DesktopHostTest::TestLibrary("NoControllerClass.dll")));
  EXPECT_EQ(host.LastError(),
            "VRK DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible");
  EXPECT_EQ(host.Controller(), nullptr);
}

TEST(BrokenLibraries, ExecuteWithoutWindowClassRaisesToTheHost) {
  TPluginHost host(nullptr, {"DS", "VRK", "VRKDEMO"});
  ASSERT_TRUE(host.Load(DesktopHostTest::TestLibrary("NoWindowClass.dll"))) << host.LastError();
  try {
    host.Controller()->Execute(host.Params());
    ADD_FAILURE() << "no exception";
  } catch (const platform::Exception& e) {
    EXPECT_EQ(e.Message(), "VRK DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  }
  EXPECT_EQ(host.Execute(5), -1);
  EXPECT_EQ(host.LastError(), "VRK DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  EXPECT_TRUE(host.Controller()->NoWindow());
  EXPECT_TRUE(host.Notices().empty());
}

TEST(BrokenLibraries, MissingFileOrExport) {
  TPluginHost host(nullptr, {"DS", "VRK", "VRKDEMO"});
  EXPECT_FALSE(host.Load("/nonexistent/PVQR82C.dll"));
  EXPECT_EQ(host.LastError().rfind("cannot load /nonexistent/PVQR82C.dll", 0), 0u)
      << host.LastError();
  EXPECT_FALSE(host.Load(std::string(VK_BIN_DIR) + "/Vklanguage.dll"));
  EXPECT_NE(host.LastError().find("has no export GetController"), std::string::npos);
  EXPECT_FALSE(host.Loaded());
}

TEST(HostParameters, CutToTheAskedCount) {
  TPluginHost host(nullptr, {"U001", "VRK2", "VRKSZ"});
  host.SetMainWindow(4711);
  host.SetExtra(Variant("PVQR82"));
  const Variant all = host.Params();
  ASSERT_EQ(all.LowBound(), 0);
  ASSERT_EQ(all.HighBound(), 4);
  EXPECT_EQ(all[0], Variant("U001"));
  EXPECT_EQ(all[1], Variant("VRK2"));
  EXPECT_EQ(all[2], Variant("VRKSZ"));
  EXPECT_EQ(all[3], Variant(int32_t{4711}));
  EXPECT_EQ(all[4], Variant("PVQR82"));
  EXPECT_EQ(host.Params(3).HighBound(), 2);
  EXPECT_EQ(host.Params(0).HighBound(), -1);
}

}  // namespace

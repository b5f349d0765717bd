// TDLLRPCtrller with a test window: what the host is told and when (notices
// in order with the window's own handlers), the outcome handed back, and the
// operations' answers with and without a window.

#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "entry/DLLFunc.h"
#include "entry/DLLRPCtrller.h"
#include "entry/test/TestWindow.h"
#include "platform/core/CodePage.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"

namespace {

using DLLBaseCtrller::TDLLBaseController;
using DLLRPCtrller::TDLLRPCtrller;
using EntryTest::EventLog;
using EntryTest::TfrmTestWindow;
using platform::Variant;
using Log = std::vector<std::string>;

Variant Params(int count) {
  const Variant all[5] = {Variant("DS"), Variant("VRK"), Variant("VRKDEMO"), Variant(int32_t{0}),
                          Variant("PVQR82")};
  Variant params = platform::VarArrayCreate({{0, count - 1}});
  for (int i = 0; i < count; ++i) params[i] = all[i];
  return params;
}

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetSystemCodePage(936);
    EventLog().clear();
    DLLRPCtrller::InitializeUnit();
    DLLRPCtrller::frmBaseGeneClass = DLLRPCtrller::FormClassOf<TfrmTestWindow>();
    DLLRPCtrller::SetLibraryFileName("/opt/vrk/PVQR82C.dll");
    controller = GetController();
    controller->HostObject = Variant(platform::DispatchPtr(new platform::AutoObject("Test.Host")));
    controller->OnNotify = vcl::MakeEvent<&ControllerTest::OnNotify>(this);
  }

  void TearDown() override {
    delete controller;
    vcl::Application->ProcessMessages();
    vcl::Application->SetModalHook({});
    DLLRPCtrller::SetLibraryFileName(std::nullopt);
    platform::SetSystemCodePage(std::nullopt);
    EXPECT_EQ(EntryTest::LiveWindows(), 0) << "a window outlived its controller";
  }

  // The host's notice handler: the notice in the shared log, and the
  // outcome fields as the host could read them at that moment.
  void OnNotify(int32_t code, vcl::TObject* sender) {
    EventLog().push_back("notice " + std::to_string(code));
    EXPECT_EQ(sender, static_cast<vcl::TObject*>(controller));
    auto* self = static_cast<TDLLBaseController*>(sender);
    seen[code] = {self->ResultCode, platform::VarToStr(self->ResultValue), self->ClassName()};
  }

  TDLLRPCtrller& Rp() { return *static_cast<TDLLRPCtrller*>(controller); }
  TfrmTestWindow* Window() { return dynamic_cast<TfrmTestWindow*>(Rp().Form); }

  struct Seen {
    int32_t resultCode;
    std::string resultValue;
    std::string className;
  };
  TDLLBaseController* controller = nullptr;
  std::map<int32_t, Seen> seen;
};

// Answers the next modal windows with Answer(form) and counts them.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(vcl::TCustomForm&)> answer) {
    vcl::Application->SetModalHook([this, answer](vcl::TCustomForm& form) {
      ++count;
      answer(form);
    });
  }
  ~ModalAnswer() { vcl::Application->SetModalHook({}); }
  int count = 0;
};

TEST_F(ControllerTest, ExecuteNotifiesCreationBeforeInitialising) {
  ASSERT_EQ(controller->ClassName(), "TDLLRPCtrller");
  EXPECT_TRUE(controller->NoWindow());
  EXPECT_EQ(controller->Execute(Params(5)), 0);
  EXPECT_EQ(EventLog(), (Log{"notice 256", "initialize DS"}));
  ASSERT_NE(Window(), nullptr);
  EXPECT_FALSE(controller->NoWindow());
  EXPECT_EQ(controller->GetVisible(), 0);  // created hidden; the host shows it
  EXPECT_EQ(Window()->Owner(), nullptr);
  EXPECT_EQ(Window()->GivenModuleFileName(), "/opt/vrk/PVQR82C.dll");
  // The host object reached the window before Initialize.
  EXPECT_EQ(Window()->HostObjectAtInitialize, controller->HostObject);
  EXPECT_EQ(Window()->UserID, "DS");
  // The hooks are in place and the window's own handlers saved.
  EXPECT_EQ(Window()->OnShow, vcl::MakeEvent<&TDLLRPCtrller::DoShow>(&Rp()));
  EXPECT_EQ(Window()->OnHide, vcl::MakeEvent<&TDLLRPCtrller::DoHide>(&Rp()));
  EXPECT_EQ(Window()->OnDestroy, vcl::MakeEvent<&TDLLRPCtrller::DoDestroy>(&Rp()));
  EXPECT_TRUE(Rp().SavedOnShow.Assigned());
  EXPECT_TRUE(Rp().SavedOnDestroy.Assigned());
}

TEST_F(ControllerTest, LibraryFileNameIsTheFileHoldingTheController) {
  DLLRPCtrller::SetLibraryFileName(std::nullopt);
  // In this test program the controller's code is in the program itself.
  EXPECT_EQ(DLLRPCtrller::LibraryFileName(), platform::ProgramFileName());
}

TEST_F(ControllerTest, ShowAndHideCallTheWindowsHandlerBeforeTheNotice) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  EventLog().clear();
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  EXPECT_EQ(controller->GetVisible(), DLLBaseCtrller::kWordTrue);
  controller->SetVisible(DLLBaseCtrller::kWordFalse);
  EXPECT_EQ(controller->GetVisible(), 0);
  EXPECT_EQ(EventLog(), (Log{"window show", "notice 272", "window hide", "notice 288"}));
}

TEST_F(ControllerTest, ShowingRestoresAMinimisedWindow) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  Window()->SetWindowState(vcl::wsMinimized);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  EXPECT_EQ(Window()->WindowState(), vcl::wsNormal);
  EXPECT_TRUE(Window()->Visible());
}

TEST_F(ControllerTest, CancelInAModalRunLeavesResultCode2AfterNotice304) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  EventLog().clear();
  ModalAnswer answer(
      [](vcl::TCustomForm& form) { static_cast<TfrmTestWindow&>(form).btnCancel->Click(); });
  const Variant result = controller->ShowModal();
  EXPECT_EQ(result.Type(), platform::VarType::Integer);
  EXPECT_EQ(result.AsInteger(), vcl::mrCancel);
  // The window frees itself once messages run.
  vcl::Application->ProcessMessages();
  EXPECT_EQ(EventLog(), (Log{"window show", "notice 272", "window hide", "notice 288",
                             "window destroy", "notice 304"}));
  ASSERT_TRUE(seen.count(304));
  EXPECT_EQ(seen[304].resultCode, 2);  // already set when the host heard of it
  EXPECT_EQ(controller->ResultCode, 2);
  EXPECT_TRUE(controller->ResultValue.IsEmpty());
  EXPECT_TRUE(controller->NoWindow());
}

TEST_F(ControllerTest, SubmittedJobLeavesResultCode1AndTheJobIdentifier) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  ModalAnswer answer([](vcl::TCustomForm& form) { form.SetModalResult(vcl::mrYes); });
  Window()->btnOk->Click();
  EXPECT_EQ(answer.count, 1);  // the confirmation
  vcl::Application->ProcessMessages();
  ASSERT_TRUE(seen.count(304));
  EXPECT_EQ(seen[304].resultCode, 1);
  EXPECT_EQ(seen[304].resultValue, "J0001");
  EXPECT_EQ(controller->ResultCode, 1);
  EXPECT_EQ(controller->ResultValue, Variant("J0001"));
  EXPECT_TRUE(controller->NoWindow());
}

TEST_F(ControllerTest, ExecuteTwiceFailsAndTheHooksStillFireOncePerEvent) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  TfrmTestWindow* window = Window();
  EXPECT_EQ(controller->Execute(Params(5)), -1);
  EXPECT_EQ(Window(), window);  // the same window stays
  EXPECT_EQ(window->Initializations, 2);
  EXPECT_EQ(Rp().SavedOnShow.Data, window);  // not hooked onto itself
  EventLog().clear();
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  controller->SetVisible(DLLBaseCtrller::kWordFalse);
  controller->FreeWindow();
  EXPECT_EQ(EventLog(), (Log{"window show", "notice 272", "window hide", "notice 288",
                             "window destroy", "notice 304"}));
  EXPECT_TRUE(controller->NoWindow());
}

TEST_F(ControllerTest, ALaterExecuteMakesAFreshWindow) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->FreeWindow();
  EventLog().clear();
  EXPECT_EQ(controller->Execute(Params(5)), 0);
  EXPECT_EQ(EventLog(), (Log{"notice 256", "initialize DS"}));
  EXPECT_EQ(Window()->Initializations, 1);
}

TEST_F(ControllerTest, FreeingTheControllerWithItsWindowOpenSends304First) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  EventLog().clear();
  delete controller;
  EXPECT_EQ(EventLog(), (Log{"window destroy", "notice 304"}));
  // The handler still saw the whole controller.
  EXPECT_EQ(seen[304].className, "TDLLRPCtrller");
  EXPECT_EQ(EntryTest::LiveWindows(), 0);
  controller = nullptr;
}

TEST_F(ControllerTest, ClosedWindowFreedBeforeItsReleaseRunsGoesOnce) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  Window()->Close();  // posts its own release
  EventLog().clear();
  controller->FreeWindow();
  vcl::Application->ProcessMessages();  // the posted release finds nothing
  EXPECT_EQ(EventLog(), (Log{"window destroy", "notice 304"}));
  controller->FreeWindow();  // nothing left to free
  EXPECT_EQ(EventLog().size(), 2u);
}

// A host that lets the program go as soon as it hears that the window is
// gone: it frees the controller from its notice handler.
struct FreeingHost {
  TDLLBaseController* controller = nullptr;
  std::vector<int32_t> notices;
  void OnNotify(int32_t code, vcl::TObject*) {
    notices.push_back(code);
    if (code == DLLBaseCtrller::kNoticeDestroyed) delete std::exchange(controller, nullptr);
  }
};

TEST_F(ControllerTest, TheHostMayFreeTheControllerOnNotice304) {
  const struct {
    const char* how;
    std::function<void(TDLLBaseController&, TfrmTestWindow&)> end;
  } cases[] = {
      {"Cancel",
       [](TDLLBaseController&, TfrmTestWindow& w) {
         w.btnCancel->Click();
         vcl::Application->ProcessMessages();
       }},
      {"FreeWindow", [](TDLLBaseController& c, TfrmTestWindow&) { c.FreeWindow(); }},
  };
  for (const auto& c : cases) {
    FreeingHost host;
    host.controller = controller;
    controller->OnNotify = vcl::MakeEvent<&FreeingHost::OnNotify>(&host);
    ASSERT_EQ(controller->Execute(Params(5)), 0) << c.how;
    controller->SetVisible(DLLBaseCtrller::kWordTrue);
    c.end(*controller, *Window());
    EXPECT_EQ(host.controller, nullptr) << c.how;
    EXPECT_EQ(host.notices, (std::vector<int32_t>{256, 272, 304})) << c.how;
    EXPECT_EQ(EntryTest::LiveWindows(), 0) << c.how;
    // A fresh controller for the next case and for TearDown.
    controller = GetController();
    controller->HostObject = Variant(platform::DispatchPtr(new platform::AutoObject("Test.Host")));
  }
}

TEST_F(ControllerTest, WithoutOnNotifyEverythingWorksAndNothingIsSent) {
  controller->OnNotify = {};
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  controller->SetVisible(DLLBaseCtrller::kWordFalse);
  ModalAnswer answer(
      [](vcl::TCustomForm& form) { static_cast<TfrmTestWindow&>(form).btnCancel->Click(); });
  EXPECT_EQ(controller->ShowModal().AsInteger(), vcl::mrCancel);
  vcl::Application->ProcessMessages();
  controller->DoFifthNotice();
  EXPECT_EQ(EventLog(), (Log{"initialize DS", "window show", "window hide", "window show",
                             "window hide", "window destroy"}));
  EXPECT_EQ(controller->ResultCode, 2);
  EXPECT_TRUE(seen.empty());
}

TEST_F(ControllerTest, WithoutAWindowEachOperationGivesItsEmptyAnswer) {
  Variant info("untouched");
  EXPECT_EQ(controller->GetVersionText(), u"");
  EXPECT_EQ(controller->GetVisible(), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  EXPECT_EQ(controller->GetWindowHandle(), 0u);
  EXPECT_EQ(controller->ShowModal(), Variant(int32_t{2}));
  EXPECT_EQ(controller->GetProgramInfo(info), -1);
  EXPECT_EQ(info, Variant("untouched"));
  controller->FreeWindow();
  EXPECT_EQ(controller->SetCondition(platform::VarArrayOf({"zero", "one"})), -1);
  EXPECT_EQ(controller->HostMessage(5, 0, Variant("v")), -1);
  EXPECT_TRUE(controller->NoWindow());
  EXPECT_TRUE(EventLog().empty());
}

TEST_F(ControllerTest, ProgramInfoHasFourTextsWithBounds0To3) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  Variant info;
  EXPECT_EQ(controller->GetProgramInfo(info), 0);
  ASSERT_TRUE(info.IsArray());
  EXPECT_EQ(info.DimCount(), 1);
  EXPECT_EQ(info.LowBound(), 0);
  EXPECT_EQ(info.HighBound(), 3);
  const char* expected[] = {"DS", "VRK", "TSTQR1", "测试程序"};  // the code in upper case
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(info[i].Type(), platform::VarType::String) << i;
    EXPECT_EQ(info[i].AsString(), expected[i]) << i;
  }
  EXPECT_EQ(controller->GetVersionText(), u"870401-0.00.00");
}

TEST_F(ControllerTest, WindowHandleLeadsBackToTheWindow) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  const DLLBaseCtrller::HWND handle = controller->GetWindowHandle();
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(QWidget::find(static_cast<WId>(handle)), Window()->Handle());
  EXPECT_EQ(controller->GetWindowHandle(), handle);
}

TEST_F(ControllerTest, HostMessageForwardsTypes5And9Only) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  const struct {
    int32_t type;
    const char* value;
    int32_t result;
  } cases[] = {{5, "five", 0}, {0, "zero", -1}, {1, "one", -1},  {4, "four", -1},
               {6, "six", -1}, {9, "nine", 0},  {10, "ten", -1}, {-5, "minus", -1}};
  std::string last = "";
  for (const auto& c : cases) {
    EXPECT_EQ(controller->HostMessage(c.type, 123, Variant(c.value)), c.result) << c.type;
    if (c.result == 0) last = c.value;
    // [false, Value] reaches the window, which keeps Value; other types leave it.
    EXPECT_EQ(platform::VarToStr(Window()->GivenHostRequest()), last) << c.type;
  }
}

TEST_F(ControllerTest, SetConditionForwardsElementOneOfAnArray) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  Variant fromOne = platform::VarArrayCreate({{1, 2}});
  fromOne[1] = Variant("first");
  fromOne[2] = Variant("second");
  const struct {
    const char* name;
    Variant params;
    int32_t result;
    const char* forwarded;  // what the window keeps afterwards
  } cases[] = {
      {"null", Variant::Null(), -1, ""},
      {"unassigned", Variant(), -1, ""},
      {"text", Variant("one"), -1, ""},
      {"array", platform::VarArrayOf({"zero", "one"}), 0, "one"},
      {"one element", platform::VarArrayOf({"only"}), -1, "one"},
      {"bounds 1 to 2", fromOne, 0, "first"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(controller->SetCondition(c.params), c.result) << c.name;
    EXPECT_EQ(platform::VarToStr(Window()->GivenHostRequest()), c.forwarded) << c.name;
  }
}

TEST_F(ControllerTest, ErrorsInsideTheWindowAreSwallowed) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  // A request whose mode is not a number makes the window raise.
  const Variant bad = platform::VarArrayOf({platform::VarArrayOf({"not a mode"})});
  EXPECT_EQ(controller->SetCondition(platform::VarArrayOf({int32_t{0}, bad})), -1);
  EXPECT_EQ(controller->HostMessage(9, 0, bad), -1);
  EXPECT_FALSE(controller->NoWindow());
}

TEST_F(ControllerTest, FailedInitialisationKeepsTheWindow) {
  Variant params = Params(5);
  params[0] = Variant("FAIL");
  EXPECT_EQ(controller->Execute(params), -1);
  EXPECT_EQ(EventLog(), (Log{"notice 256", "initialize FAIL"}));
  EXPECT_FALSE(controller->NoWindow());
}

TEST_F(ControllerTest, ModalRunOfAVisibleWindowCountsAsCancelled) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  EXPECT_EQ(controller->ShowModal().AsInteger(), vcl::mrCancel);
  EXPECT_EQ(controller->GetVisible(), DLLBaseCtrller::kWordTrue);
}

TEST_F(ControllerTest, NestedModalDialogOfTheWindow) {
  ASSERT_EQ(controller->Execute(Params(5)), 0);
  controller->SetVisible(DLLBaseCtrller::kWordTrue);
  ModalAnswer answer([](vcl::TCustomForm& form) {
    static_cast<vcl::TEdit*>(form.FindComponent("edAnswer"))->SetText("答案");
    form.SetModalResult(vcl::mrOk);
  });
  Window()->btnAsk->Click();
  EXPECT_EQ(Window()->Caption(), "答案");
}

// Execute without a window class raises the runtime's general exception
// with the platform's exact text, and creates nothing.
TEST_F(ControllerTest, ExecuteWithoutWindowClassRaises) {
  DLLRPCtrller::frmBaseGeneClass = nullptr;
  try {
    controller->Execute(Params(5));
    ADD_FAILURE() << "no exception";
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message(), "VRK DLL Internal Error :\rNot Assign \"frmBaseGeneClass\" varible");
  }
  EXPECT_TRUE(controller->NoWindow());
  EXPECT_TRUE(EventLog().empty());
}

TEST_F(ControllerTest, AWindowThatCannotBeMadeFailsWithoutRaising) {
  static const DLLBaseCtrller::TClassRef<BaseGene::TfrmBaseGene, vcl::TComponent*> broken{
      &TfrmTestWindow::StaticClassInfo, [](vcl::TComponent*) -> BaseGene::TfrmBaseGene* {
        throw platform::Exception("no window today");
      }};
  DLLRPCtrller::frmBaseGeneClass = &broken;
  EXPECT_EQ(controller->Execute(Params(5)), -1);
  EXPECT_TRUE(controller->NoWindow());
  EXPECT_TRUE(EventLog().empty());
}

TEST_F(ControllerTest, ClassReferencesNameTheirClasses) {
  EXPECT_EQ(DLLBaseCtrller::DLLControllerClass->ClassName(), "TDLLRPCtrller");
  EXPECT_EQ(DLLRPCtrller::frmBaseGeneClass->ClassName(), "TfrmTestWindow");
}

}  // namespace

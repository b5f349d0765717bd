// The window as built and as it comes to life: its components and what is
// published, the order of its virtual operations, creation, the module
// file name (stand-alone mode included), Initialize with its failures, the
// identity check, registration, show and close.

#include <gtest/gtest.h>

#include <cstring>

#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "framework/BaseGene.h"
#include "framework/test/Support.h"
#include "platform/remote/ClientDataSet.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/TypInfo.h"

namespace framework_test {
namespace {

using BaseGene::TfrmBaseGene;

// ---------------------------------------------------------------------------
// The order of the virtual operations.

// The vtable slot of a virtual member function (Itanium C++ ABI: the
// pointer's first word is 1 + the byte offset of the slot).
template <class M>
std::ptrdiff_t SlotOf(M member) {
  static_assert(sizeof(M) == 2 * sizeof(std::ptrdiff_t));
  std::ptrdiff_t words[2];
  std::memcpy(words, &member, sizeof words);
  EXPECT_EQ(words[0] & 1, 1) << "not virtual";
  return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(SlotOrderTest, VirtualOperationsFollowTheBaseWindowsInTheirOrder) {
  const std::vector<std::pair<const char*, std::ptrdiff_t>> slots = {
    {"ApplyLanguageBelowBase", SlotOf(&VKForm::TVKForm::ApplyLanguageBelowBase)},
    {"ArrangeSystemPage", SlotOf(&TfrmBaseGene::ArrangeSystemPage)},
    {"BuildRequest", SlotOf(&TfrmBaseGene::BuildRequest)},
    {"RegisterFields", SlotOf(&TfrmBaseGene::RegisterFields)},
    {"SetRequired", SlotOf(&TfrmBaseGene::SetRequired)},
    {"GenerateLocally", SlotOf(&TfrmBaseGene::GenerateLocally)},
#if !VK_COMPAT_BUILD
    {"PrepareDataSets", SlotOf(&TfrmBaseGene::PrepareDataSets)},
#endif
    {"ConnectServices", SlotOf(&TfrmBaseGene::ConnectServices)},
    {"Initialize", SlotOf(&TfrmBaseGene::Initialize)},
    {"FillConditionValues", SlotOf(&TfrmBaseGene::FillConditionValues)},
    {"ApplyPreset", SlotOf(&TfrmBaseGene::ApplyPreset)},
    {"FillEnvironment", SlotOf(&TfrmBaseGene::FillEnvironment)},
    {"FillConditionCaptions", SlotOf(&TfrmBaseGene::FillConditionCaptions)},
    {"AfterRights", SlotOf(&TfrmBaseGene::AfterRights)},
    {"OpenLookup", SlotOf(&TfrmBaseGene::OpenLookup)},
    {"PrepareConnection", SlotOf(&TfrmBaseGene::PrepareConnection)},
    {"SaveScheme", SlotOf(&TfrmBaseGene::SaveScheme)},
    {"RestoreScheme", SlotOf(&TfrmBaseGene::RestoreScheme)},
    {"RefreshSchemeList", SlotOf(&TfrmBaseGene::RefreshSchemeList)},
    {"SchemeOpened", SlotOf(&TfrmBaseGene::SchemeOpened)},
    {"RunHostMode", SlotOf(&TfrmBaseGene::RunHostMode)},
    {"BeforeRestoreValue", SlotOf(&TfrmBaseGene::BeforeRestoreValue)},
    {"AfterRestoreValue", SlotOf(&TfrmBaseGene::AfterRestoreValue)},
    // The dynamic operations come after the slot table.
    {"LookupKey", SlotOf(&TfrmBaseGene::LookupKey)},
    {"CreateHostServices", SlotOf(&TfrmBaseGene::CreateHostServices)},
    {"CreateLookupWindow", SlotOf(&TfrmBaseGene::CreateLookupWindow)},
  };
  for (size_t i = 1; i < slots.size(); ++i)
    EXPECT_EQ(slots[i].second, slots[i - 1].second + 1)
        << slots[i].first << " should follow " << slots[i - 1].first;
}

// ---------------------------------------------------------------------------

class CreationTest : public SandboxTest {};

TEST_F(CreationTest, LayoutAsTheWindowResourceDescribesIt) {
  TTestWindow* w = NewWindow();
  EXPECT_EQ(w->Caption(), "frmBaseGene");
  EXPECT_EQ(w->Width(), 509);
  EXPECT_EQ(w->Height(), 355);
  EXPECT_EQ(w->BorderIcons(), vcl::BorderIcon(vcl::biMaximize));
  EXPECT_EQ(w->Font()->Name(), "宋体");
  EXPECT_EQ(w->Font()->Height(), -13);
  EXPECT_TRUE(w->KeyPreview());
  EXPECT_EQ(w->Position(), vcl::poScreenCenter);

  // Components by name: class, caption or hint, and the settings that matter.
  struct Part {
    const char* name;
    const char* className;
    const char* caption;
    const char* hint;
  } parts[] = {
      {"pnlCondition", "TPanel", "", ""},
      {"lblCondition", "TLabel", " 条件方案", ""},
      {"ToolBar1", "TToolBar", "", ""},
      {"btnInsert", "TToolButton", "保存(&S)", "保存"},
      {"btnOpen", "TToolButton", "开启(&O)", "开启"},
      {"btnDelete", "TToolButton", "删除(&D)", "删除"},
      {"ToolButton1", "TToolButton", "ViewIcon", ""},
      {"lstCondition", "TListView", "", ""},
      {"Splitter1", "TSplitter", "", ""},
      {"pgOption", "TExtPageControl", "", "请输入选项条件"},
      {"tsOption1", "TTabSheet", "基本选项", ""},
      {"tsOption2", "TTabSheet", "系统选项", ""},
      {"lblToday", "TDBLabel", "制表日期", ""},
      {"edPrintDate", "TMaskEdit", "", "[F2]日期快手"},
      {"btnPrintDate", "TF2Button", "", "日期快手"},
      {"Panel1", "TPanel", "", ""},
      {"btnOk", "TBitBtn", "确定", "确定"},
      {"btnCancel", "TBitBtn", "取消", "取消"},
  };
  for (const Part& p : parts) {
    auto* c = dynamic_cast<vcl::TControl*>(w->FindComponent(p.name));
    ASSERT_NE(c, nullptr) << p.name;
    EXPECT_EQ(c->ClassName(), p.className) << p.name;
    EXPECT_EQ(c->Caption(), p.caption) << p.name;
    EXPECT_EQ(c->Hint(), p.hint) << p.name;
  }
  struct Item {
    const char* name;
    const char* caption;
    const char* handler;
  } items[] = {
      {"N2", "开启(&O)", "btnOpenClick"},        {"N3", "删除(&D)", "btnDeleteClick"},
      {"N7", "大型图标(&G)", "ViewIconExecute"}, {"N8", "小型图标(&M)", "ViewSmallIconExecute"},
      {"N9", "清单(&L)", "ViewListExecute"},     {"N10", "详细信息(&D)", "ViewReportExecute"},
  };
  for (const Item& i : items) {
    auto* item = dynamic_cast<vcl::TMenuItem*>(w->FindComponent(i.name));
    ASSERT_NE(item, nullptr) << i.name;
    EXPECT_EQ(item->Caption(), i.caption);
    EXPECT_EQ(w->MethodName(item->OnClick.Method().Code), i.handler) << i.name;
  }
  EXPECT_TRUE(w->N7->Checked());
  EXPECT_TRUE(w->N10->RadioItem());

  EXPECT_EQ(w->pnlCondition->Align(), vcl::alLeft);
  EXPECT_EQ(w->pnlCondition->Width(), 151);
  EXPECT_EQ(w->lblCondition->Height(), 21);
  EXPECT_EQ(w->Panel1->Align(), vcl::alBottom);
  EXPECT_EQ(w->Panel1->Height(), 43);
  EXPECT_EQ(w->pgOption->Align(), vcl::alClient);
  EXPECT_EQ(w->pgOption->PageCount(), 2);
  EXPECT_EQ(w->Splitter1->Width(), 3);
  EXPECT_TRUE(w->ToolBar1->Flat());
  EXPECT_EQ(w->ToolBar1->ButtonWidth(), 25);
  EXPECT_EQ(w->ToolBar1->ButtonHeight(), 24);
  EXPECT_EQ(w->ToolBar1->Images(), w->ImageList1);
  EXPECT_EQ(w->ImageList1->Width(), 18);
  EXPECT_EQ(w->ImageList2->Width(), 24);
  EXPECT_EQ(w->btnInsert->ImageIndex(), 1);
  EXPECT_EQ(w->btnOpen->ImageIndex(), 2);
  EXPECT_EQ(w->btnDelete->ImageIndex(), 3);
  EXPECT_EQ(w->ToolButton1->ImageIndex(), 4);
  EXPECT_EQ(w->ToolButton1->Style(), vcl::tbsDropDown);
  EXPECT_EQ(w->ToolButton1->DropdownMenu(), w->mnList);
  EXPECT_FALSE(w->lstCondition->ColumnClick());
  EXPECT_EQ(w->lstCondition->LargeImages(), w->ImageList2);
  EXPECT_EQ(w->lstCondition->SmallImages(), w->ImageList1);
  EXPECT_EQ(w->lstCondition->SortType(), vcl::stText);
  EXPECT_EQ(w->lstCondition->PopupMenu(), w->muOperation);
  EXPECT_EQ(w->MethodName(w->lstCondition->OnDblClick.Method().Code), "btnOpenClick");
  EXPECT_EQ(w->MethodName(w->lstCondition->OnEdited.Method().Code), "lstConditionEdited");
  EXPECT_EQ(w->MethodName(w->pgOption->OnChange.Method().Code), "pgOptionChange");
  EXPECT_EQ(w->MethodName(w->pgOption->OnChanging.Method().Code), "pgOptionChanging");
  EXPECT_EQ(w->MethodName(w->tsOption2->OnShow.Method().Code), "tsOption2Show");
  EXPECT_EQ(w->MethodName(w->btnCancel->OnClick.Method().Code), "btnCancelClick");
  EXPECT_TRUE(w->btnCancel->Cancel());
  EXPECT_EQ(w->btnCancel->ModalResult(), vcl::mrCancel);
  EXPECT_EQ(w->btnPrintDate->F2Control(), w->edPrintDate);
  EXPECT_EQ(w->btnPrintDate->GlyphIndex(), 9);
  EXPECT_EQ(w->btnPrintDate->Gap(), 2);
  EXPECT_EQ(w->lblToday->FocusControl(), w->edPrintDate);
  EXPECT_EQ(w->lblToday->Gap(), 4);
  EXPECT_EQ(w->edPrintDate->Width(), 85);

  EXPECT_EQ(w->ClientDataSet1->ProviderName(), "pvdConSave");
  EXPECT_EQ(w->ClientDataSet1->RemoteServer(), w->MainMidas.get());
  EXPECT_EQ(w->ClientDataSet1->IndexName(), "Index1");
  EXPECT_EQ(w->ClientDataSet1->ActiveIndexFields(), "NCONDITION;CREATOR;PROGRAMME");
  EXPECT_EQ(w->MainMidas->ObjectBroker(), w->ObjBroker.get());
}

TEST_F(CreationTest, PublishedPropertiesAndHandlers) {
  TTestWindow* w = InitializedWindow();
  // The three events are read only and are the window's own handlers, as
  // the registered date field carries them.
  for (const char* name : {"OnDateFieldEnter", "OnDateFieldExit", "OnRequiredExit"}) {
    const vcl::TPropInfo* p = vcl::GetPropInfo(w, name);
    ASSERT_NE(p, nullptr) << name;
    EXPECT_EQ(p->Kind, vcl::TTypeKind::tkMethod);
    EXPECT_FALSE(p->Writable()) << name;
    EXPECT_THROW(vcl::SetMethodProp(w, name, vcl::TMethod{}), vcl::EPropertyError);
  }
  EXPECT_EQ(vcl::GetMethodProp(w, "OnDateFieldEnter"), w->edPrintDate->OnEnter.Method());
  EXPECT_EQ(vcl::GetMethodProp(w, "OnDateFieldExit"), w->edPrintDate->OnExit.Method());
  vcl::SetPropValue(w, "WantLog", platform::Variant(true));
  EXPECT_TRUE(w->WantLog());
  EXPECT_EQ(vcl::GetPropValue(w, "WantLog"), platform::Variant(true));

  for (const char* handler : {"FormCreate",
                              "FormShow",
                              "FormClose",
                              "FormDestroy",
                              "FormKeyDown",
                              "FormKeyPress",
                              "FormResize",
                              "btnOkClick",
                              "btnCancelClick",
                              "btnInsertClick",
                              "btnOpenClick",
                              "btnDeleteClick",
                              "lstConditionEdited",
                              "lstConditionKeyDown",
                              "pgOptionChange",
                              "pgOptionChanging",
                              "tsOption2Show",
                              "ViewIconExecute",
                              "ViewSmallIconExecute",
                              "ViewListExecute",
                              "ViewReportExecute",
                              "ToolButton1Click"})
    EXPECT_NE(w->MethodAddress(handler), nullptr) << handler;
  // The form's own events are its published handlers.
  EXPECT_EQ(w->MethodName(w->OnCreate.Method().Code), "FormCreate");
  EXPECT_EQ(w->MethodName(w->OnKeyPress.Method().Code), "FormKeyPress");
  EXPECT_EQ(w->MethodName(w->OnClose.Method().Code), "FormClose");
}

TEST_F(CreationTest, CreationStep) {
  vcl::Application->SetHintHidePause(2500);
  TTestWindow* w = NewWindow();
  EXPECT_EQ(w->VersionText, "870401-0.00.00");
  EXPECT_EQ(vcl::Application->HintHidePause(), 500000);
  EXPECT_EQ(w->FocusBack, w);
  EXPECT_TRUE(w->Interactive);
  EXPECT_FALSE(w->InputError);
  EXPECT_FALSE(w->QuietMessages);
  EXPECT_FALSE(w->SystemPageArranged);
  EXPECT_TRUE(w->CompanyID.empty());
  EXPECT_TRUE(w->btnPrintDate->Flat());
  EXPECT_EQ(w->edPrintDate->ImeName(), "");
  // The creation step ran through the virtual slot of the most derived class.
#if VK_COMPAT_BUILD
  EXPECT_EQ(w->Calls, std::vector<std::string>{});
#else
  EXPECT_EQ(w->Calls, std::vector<std::string>{"PrepareDataSets"});
#endif
  vcl::TCreateParams params;
  params.WndParent = w;
  w->CreateParams(params);
  EXPECT_EQ(params.WndParent, nullptr);
}

TEST_F(CreationTest, SetConditionCount) {
  TTestWindow* w = NewWindow();
  struct Case {
    int reserved, count, n, expected;
  } cases[] = {
      {1, 0, 0, 1},    // the base registration: the print date only
      {4, 4, 11, 15},  // reserved raised to 4, SetConditionCount(0) gave 4
      {4, 15, 3, 3},   // more than reserved already: N alone
      {1, 1, 11, 12}, {0, 0, 5, 5},
  };
  for (const Case& c : cases) {
    w->ReservedConditions = c.reserved;
    w->ConditionCount = c.count;
    w->SetConditionCount(c.n);
    EXPECT_EQ(w->ConditionCount, c.expected) << c.reserved << "/" << c.count << "/" << c.n;
  }
}

// ---------------------------------------------------------------------------
// Initialize.

TEST_F(CreationTest, InitializeRunsItsStepsInOrderAndConnectsInProcess) {
  TTestWindow* w = NewWindow();
  w->Calls.clear();
  ASSERT_TRUE(w->Initialize(HostParams()));
  EXPECT_EQ(w->Calls, (std::vector<std::string>{"Initialize", "ConnectServices",
                                                "CreateHostServices", "RegisterFields",
                                                "CreateLookupWindow", "PrepareConnection"}));
  EXPECT_EQ(w->UserID, "U001");
  EXPECT_EQ(w->CompanyID, "VRK");
  EXPECT_EQ(w->DbName, "VRKDEMO");
  EXPECT_EQ(w->HostWindow, 0);
  EXPECT_EQ(w->HostExtra, platform::Variant("extra"));
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(w->ReservedConditions, 1);
  EXPECT_EQ(w->ConditionCount, 1);
  EXPECT_EQ(w->EnvCount, 9);
  EXPECT_EQ(w->ProgramKind, "R");
  EXPECT_EQ(w->ServiceFlags, 0);
  EXPECT_EQ(w->ProgramCode, "PVQR82");
  EXPECT_EQ(w->ServerClass, "PVQR82S.Class1");
  EXPECT_EQ(w->DateFields, "edPrintDate");
  EXPECT_TRUE(w->HostRequest.IsNull());
  EXPECT_TRUE(w->PresetChecked);
  EXPECT_FALSE(w->PresetApplied);
  EXPECT_EQ(w->CaptionNote, "测试公司");
  // In process: the server object made here and handed to the connection.
  EXPECT_TRUE(w->LocalServer);
  EXPECT_EQ(gServersMade, 1);
  EXPECT_EQ(platform::CallMethod(w->AppServer, "SQLType").AsInteger(), 5);
  EXPECT_EQ(w->MainMidas->AppServer(), w->AppServer);
  EXPECT_EQ(w->MainMidas->Address(), "127.0.0.1");
  EXPECT_EQ(w->MainMidas->Port(), 211);
  EXPECT_EQ(w->MainMidas->ObjectBroker(), nullptr);
  EXPECT_TRUE(DialogTexts().empty());
  EXPECT_EQ(w->MessageCodes, "");

  // A second Initialize changes nothing.
  w->Calls.clear();
  EXPECT_FALSE(w->Initialize(platform::VarArrayOf(
      {platform::Variant("U999"), platform::Variant("X"), platform::Variant("Y")})));
  EXPECT_EQ(w->Calls, std::vector<std::string>{"Initialize"});
  EXPECT_EQ(w->UserID, "U001");
  EXPECT_EQ(gServersMade, 1);
}

TEST_F(CreationTest, HostWindowFromParameterThree) {
  TTestWindow* w = NewWindow();
  platform::Variant params = HostParams();
  params[3] = platform::Variant(123456789.0);  // a handle beyond 32 bits arrives as a number
  ASSERT_TRUE(w->Initialize(params));
  EXPECT_EQ(w->HostWindow, 123456789);
}

TEST_F(CreationTest, FewerThanFiveParametersCloseTheWindowAfterInitialising) {
  host_.Messages["E;000038"] = "参数不完整。%s";
  host_.Messages["E;000006"] = "无法连接应用服务器。%s";
  for (int count : {3, 4}) {
    vcl::ClearShownDialogs();
    TTestWindow* w = NewWindow();
    EXPECT_FALSE(w->Initialize(HostParams(count))) << count;
    // The window still read its parameters and services; the message trail
    // made the connection step refuse, which reports E;000006 too.
    EXPECT_EQ(w->CompanyID, "VRK");
    EXPECT_EQ(w->ProgramCode, "PVQR82");
    EXPECT_EQ(DialogTexts(),
              (std::vector<std::string>{"E000038:参数不完整。", "E000038:参数不完整。 ",
                                        "E000006:无法连接应用服务器。"}))
        << count;
    EXPECT_EQ(gServersMade, 0);
    // The posted close request frees the window once messages run.
    EXPECT_TRUE(Alive(w));
    vcl::Application->ProcessMessages();
    EXPECT_FALSE(Alive(w)) << count;
  }
}

TEST_F(CreationTest, IdentityCheckRefusesAWindowOfAnotherProgram) {
  host_.Messages["E;000036"] = "程序模块与窗口不符。%s";
  TTestWindow* w = NewWindow();
  w->SetModuleFileName(Path("PURR01C.dll"));
  w->Calls.clear();
  EXPECT_TRUE(w->Initialize(HostParams()));
  EXPECT_EQ(w->ProgramCode, "PURR01");
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000036:程序模块与窗口不符。"});
  // No connection was tried.
  EXPECT_EQ(gServersMade, 0);
  EXPECT_EQ(std::count(w->Calls.begin(), w->Calls.end(), "PrepareConnection"), 0);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
}

TEST_F(CreationTest, IdentityComparesLettersFourToSixIgnoringCase) {
  struct Case {
    const char* windowName;
    const char* module;
    bool accepted;
  } cases[] = {
      {"frmPvqTest", "PVQR82C.dll", true},  {"frmPVQ", "pvqr82c.dll", true},
      {"frmPvqTest", "PVXR82C.dll", false}, {"frmPv", "PVQR82C.dll", false},
      {"xxxPvqTest", "PVQR82C.dll", true},  // only letters 4 to 6 count
  };
  for (const Case& c : cases) {
    vcl::ClearShownDialogs();
    TTestWindow* w = NewWindow();
    w->SetName(c.windowName);
    w->SetModuleFileName(Path(c.module));
    EXPECT_TRUE(w->Initialize(HostParams()));
    EXPECT_EQ(DialogTexts().empty(), c.accepted) << c.windowName << " " << c.module;
    EXPECT_EQ(w->LocalServer, c.accepted) << c.windowName;
  }
  vcl::Application->ProcessMessages();
}

TEST_F(CreationTest, NoServerNameOrUnreadableSettingsGiveE000006) {
  host_.Messages["E;000006"] = "无法连接应用服务器。%s";
  // No server name from PrepareConnection.
  TTestWindow* w = NewWindow();
  w->ServerName = "";
  EXPECT_FALSE(w->Initialize(HostParams()));
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000006:无法连接应用服务器。"});
  // A server class nobody can make: the failure is recorded, then reported.
  vcl::ClearShownDialogs();
  TTestWindow* w2 = NewWindow();
  w2->ServerName = "No.SuchServer";
  EXPECT_FALSE(w2->Initialize(HostParams()));
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000006:无法连接应用服务器。"});
  EXPECT_NE(w2->MessageCodes.find("E;-1; "), std::string::npos);
  EXPECT_NE(w2->MessageTexts.find("Invalid class string"), std::string::npos) << w2->MessageTexts;
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
  EXPECT_FALSE(Alive(w2));
}

TEST_F(CreationTest, AnExceptionWhileInitialisingIsRecordedAndFails) {
  TTestWindow* w = NewWindow();
  EXPECT_FALSE(w->Initialize(platform::Variant("not an array")));
  EXPECT_EQ(w->MessageCodes, "E;-1; ");
  EXPECT_NE(w->MessageTexts.find("Variant"), std::string::npos) << w->MessageTexts;
  EXPECT_TRUE(DialogTexts().empty());
}

// ---------------------------------------------------------------------------
// Module file name and stand-alone mode.

TEST_F(CreationTest, AModuleOtherThanDllRunsStandAlone) {
  TTestWindow* w = vcl::Create<TTestWindow>(nullptr);
  w->Calls.clear();
  w->SetModuleFileName(Path("PVQR82C.exe"));
  EXPECT_TRUE(w->StandAlone());
  EXPECT_EQ(w->ModuleFileName, Path("PVQR82C.exe"));
  EXPECT_EQ(w->Calls.front(), "Initialize");
  EXPECT_EQ(w->UserID, "DS");
  EXPECT_EQ(w->CompanyID, "VRK");
  EXPECT_EQ(w->DbName, "VRKDEMO");
  EXPECT_EQ(w->ProgramCode, "PVQR82");
  // The host object was made by class name (the test's registered host).
  EXPECT_EQ(w->HostObject, host_.Object());
  EXPECT_FALSE(host_.CallsOf("Com_Counter").empty());
  // Three parameters are fewer than five: E;000038 (before the host object
  // exists, so with the text of a missing host) and a posted close.
  ASSERT_FALSE(DialogTexts().empty());
  EXPECT_EQ(DialogTexts().front(), "Can not Get Message\rType= E, ID= 000038 ");
  w->Free();
  vcl::Application->ProcessMessages();
}

TEST_F(CreationTest, DllInAnyCaseDoesNotInitialise) {
  for (const char* name : {"PVQR82C.dll", "PVQR82C.DLL", "PVQR82C.Dll"}) {
    TTestWindow* w = vcl::Create<TTestWindow>(nullptr);
    w->Calls.clear();
    w->SetModuleFileName(Path(name));
    EXPECT_FALSE(w->StandAlone()) << name;
    EXPECT_TRUE(w->Calls.empty()) << name;
    EXPECT_TRUE(w->CompanyID.empty());
    w->Free();
  }
}

// ---------------------------------------------------------------------------
// Program name, show and close.

TEST_F(CreationTest, ProgramNameFromTheProgramMaster) {
  host_.Rows["ADMMB"] = {
      true,
      platform::VarArrayOf({platform::Variant("进货单明细表"), platform::Variant("R"),
                            platform::Variant(""), platform::Variant(""), platform::Variant("Y")})};
  TTestWindow* w = InitializedWindow();
  EXPECT_EQ(w->ProgramName, "进货单明细表");
  EXPECT_EQ(w->CaptionTitle, "进货单明细表");
  EXPECT_TRUE(w->WantLog());
  EXPECT_EQ(host_.CallsOf("CheckValue").front(),
            "CheckValue('ADMMB','01','VRKDEMO',['PVQR82'],<empty>)");
  ShowWindow(w);
  EXPECT_EQ(w->Caption(), "进货单明细表[测试公司]");
}

TEST_F(CreationTest, ProgramNameCasesOfTheAnswer) {
  struct Case {
    bool found;
    platform::Variant row;
    const char* ui;
    const char* name;
    bool log;
  } cases[] = {
      // An English interface takes element 7 when there is one.
      {true,
       platform::VarArrayOf({platform::Variant("进货单明细表"), platform::Variant(""),
                             platform::Variant(""), platform::Variant(""), platform::Variant("N"),
                             platform::Variant(""), platform::Variant(""),
                             platform::Variant("Goods Receipt List")}),
       "437", "Goods Receipt List", false},
      {true,
       platform::VarArrayOf({platform::Variant("进货单明细表"), platform::Variant(""),
                             platform::Variant(""), platform::Variant(""), platform::Variant("N"),
                             platform::Variant(""), platform::Variant(""),
                             platform::Variant("Goods Receipt List")}),
       "936", "进货单明细表", false},
      // An answer that cannot be read gives the program code.
      {true, platform::Variant("not a row"), "936", "PVQR82", false},
      {true, platform::VarArrayOf({platform::Variant("short")}), "936", "PVQR82", false},
      // No such program: no name.
      {false, platform::Variant(), "936", "", false},
  };
  for (const Case& c : cases) {
    WriteClientSettings("", c.ui);
    host_.Rows["ADMMB"] = {c.found, c.row};
    TTestWindow* w = InitializedWindow();
    EXPECT_EQ(w->ProgramName, c.name) << c.name;
    EXPECT_EQ(w->CaptionTitle, c.name);
    EXPECT_EQ(w->WantLog(), c.log);
  }
}

TEST_F(CreationTest, ShowSetsTheCaptionFocusesTheFirstPageAndConvertsOnce) {
  TTestWindow* w = InitializedWindow();
  auto* edit = w->Add<vcl::TEdit>("edFirst", w->tsOption1);
  w->pgOption->SetActivePage(w->tsOption2);
  EXPECT_FALSE(w->Converted);
  ShowWindow(w);
  EXPECT_EQ(w->Caption(), "[测试公司]");  // no program name from the fake master
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
  EXPECT_EQ(w->ActiveControl(), edit);
  EXPECT_TRUE(w->Converted);
  ASSERT_EQ(w->lstCondition->Columns()->Count(), 2);
  EXPECT_EQ(w->lstCondition->Columns()->Items(0)->Caption(), "方案名称");
  EXPECT_EQ(w->lstCondition->Columns()->Items(0)->Alignment(), vcl::taRightJustify);
  EXPECT_EQ(w->lstCondition->Columns()->Items(1)->Caption(), "创建时间");
  EXPECT_EQ(w->lstCondition->Columns()->Items(1)->Alignment(), vcl::taLeftJustify);
  EXPECT_GT(w->lstCondition->Columns()->Items(0)->Width(),
            w->lstCondition->Canvas()->TextWidth("方案名称") - 1);
  // Shown again: still two columns.
  w->Hide();
  ShowWindow(w);
  EXPECT_EQ(w->lstCondition->Columns()->Count(), 2);
}

TEST_F(CreationTest, SystemPageIsArrangedTheFirstTimeItIsShown) {
  TTestWindow* w = InitializedWindow();
  w->SetBounds(0, 0, 200, 90);
  ShowWindow(w);
  w->Calls.clear();
  w->pgOption->SetActivePage(w->tsOption2);
  w->pgOption->SetActivePage(w->tsOption1);
  w->pgOption->SetActivePage(w->tsOption2);
  EXPECT_EQ(w->Calls, std::vector<std::string>{"ArrangeSystemPage"});
  EXPECT_TRUE(w->SystemPageArranged);
  EXPECT_EQ(w->Width(), 315);
  EXPECT_EQ(w->Height(), 110);
  EXPECT_EQ(w->tsOption2->Font()->Size(), 9);
  EXPECT_EQ(w->lblToday->Left(), 8);
  EXPECT_EQ(w->lblToday->Top(), 12);
  EXPECT_EQ(w->edPrintDate->Left(), 60);
  EXPECT_EQ(w->edPrintDate->Top(), 8);
  EXPECT_EQ(w->edPrintDate->Width(), 85);
  EXPECT_EQ(w->btnPrintDate->Left(), w->edPrintDate->Left() + w->edPrintDate->Width() + 2);
  EXPECT_EQ(w->btnPrintDate->Top(), w->edPrintDate->Top());
}

TEST_F(CreationTest, ClosingFreesTheWindowAndReleasesTheServices) {
  TTestWindow* w = InitializedWindow();
  ShowWindow(w);
  std::weak_ptr<platform::Dispatch> server = w->AppServer.AsDispatch();
  // Cancel closes; the window frees itself once the event loop runs.
  w->btnCancel->Click();
  EXPECT_TRUE(Alive(w));
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
  EXPECT_TRUE(server.expired());
}

}  // namespace
}  // namespace framework_test

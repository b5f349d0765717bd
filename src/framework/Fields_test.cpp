// Date fields and their saved handlers, required fields with their colours,
// click hooks and checks, host requests with presets, and the check made
// when the user changes pages.

#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "controls/VkSpin.h"
#include "framework/test/Support.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "runtime/LibRTTI.h"

namespace framework_test {
namespace {

using SelectPnl::TSelectPanel;

// Handlers a field had before the window hooked it: each counts its calls.
class Handlers : public vcl::TComponent {
 public:
  Handlers() : vcl::TComponent(nullptr) {}
  void Enter(vcl::TObject*) { ++enters; }
  void Exit(vcl::TObject*) { ++exits; }
  void Click(vcl::TObject*) { ++clicks; }
  void ClickOther(vcl::TObject*) { ++otherClicks; }
  int enters = 0, exits = 0, clicks = 0, otherClicks = 0;
};

class FieldsTest : public SandboxTest {
 protected:
  void TearDown() override {
    handlers_.Free();
    SandboxTest::TearDown();
  }
  Handlers& handlers_ = *new Handlers;
};

// ---------------------------------------------------------------------------
// Date fields.

TEST_F(FieldsTest, RegistrationPutsNewListsInFrontOfTheBase) {
  TTestWindow* w = InitializedWindow();
  for (const char* name : {"edDate", "meStartDate", "meEndDate", "sp03"})
    w->Add<vcl::TMaskEdit>(name, w->tsOption1);
  EXPECT_EQ(w->DateFields, "edPrintDate");
  w->RegisterDateFields(" edDate,meStartDate,meEndDate ");
  EXPECT_EQ(w->DateFields, "edDate,meStartDate,meEndDate,edPrintDate");
  // The same list again, or the whole list, changes nothing.
  w->RegisterDateFields("edDate,meStartDate,meEndDate");
  EXPECT_EQ(w->DateFields, "edDate,meStartDate,meEndDate,edPrintDate");
  w->RegisterDateFields("edDate,meStartDate,meEndDate,edPrintDate");
  EXPECT_EQ(w->DateFields, "edDate,meStartDate,meEndDate,edPrintDate");
  w->RegisterDateFields("meStartDate");
  EXPECT_EQ(w->DateFields, "edDate,meStartDate,meEndDate,edPrintDate");
  // Every later registration goes in front.
  w->RegisterDateFields("sp03");
  EXPECT_EQ(w->DateFields, "sp03,edDate,meStartDate,meEndDate,edPrintDate");
  // A list naming edPrintDate replaces the old one.
  w->RegisterDateFields("meEndDate,edPrintDate");
  EXPECT_EQ(w->DateFields, "meEndDate,edPrintDate");
  EXPECT_FALSE(dynamic_cast<vcl::TWinControl*>(w->FindComponent("edDate"))->OnExit.Assigned());
}

TEST_F(FieldsTest, HookedFieldsCallTheirOwnHandlersThroughTheWindow) {
  TTestWindow* w = InitializedWindow();
  auto* edit = w->Add<vcl::TMaskEdit>("edDate", w->tsOption1);
  edit->OnEnter = vcl::MakeEvent<&Handlers::Enter>(&handlers_);
  edit->OnExit = vcl::MakeEvent<&Handlers::Exit>(&handlers_);
  const vcl::TMethod ownEnter = edit->OnEnter.Method();
  const vcl::TMethod ownExit = edit->OnExit.Method();

  w->RegisterDateFields("edDate");
  EXPECT_EQ(edit->OnEnter.Method(), w->OnDateFieldEnter().Method());
  EXPECT_EQ(edit->OnExit.Method(), w->OnDateFieldExit().Method());
  edit->OnEnter(edit);
  edit->OnExit(edit);
  EXPECT_EQ(handlers_.enters, 1);
  EXPECT_EQ(handlers_.exits, 1);
  EXPECT_FALSE(w->InputError);

  // Registering again (another list) unhooks and hooks anew: the first
  // saved handler stays the one called, once per event.
  w->Add<vcl::TMaskEdit>("meStartDate", w->tsOption1);
  w->RegisterDateFields("meStartDate");
  EXPECT_EQ(w->DateFields, "meStartDate,edDate,edPrintDate");
  EXPECT_EQ(edit->OnExit.Method(), w->OnDateFieldExit().Method());
  edit->OnExit(edit);
  EXPECT_EQ(handlers_.exits, 2);
  int saved = 0;
  for (int i = 0; i < w->SavedDateHandlers->Count(); ++i)
    saved += w->SavedDateHandlers->Get(i) == "edDate.OnExit.Code";
  EXPECT_EQ(saved, 2);  // saved at each hook; the first entry is the one used

  // A list with edPrintDate replaces the old one: edDate gets its own
  // handlers back.
  w->RegisterDateFields("edPrintDate");
  EXPECT_EQ(edit->OnEnter.Method(), ownEnter);
  EXPECT_EQ(edit->OnExit.Method(), ownExit);
}

TEST_F(FieldsTest, FieldsWithoutHandlersGetNoneBack) {
  TTestWindow* w = InitializedWindow();
  EXPECT_EQ(w->edPrintDate->OnExit.Method(), w->OnDateFieldExit().Method());
  EXPECT_EQ(w->SavedDateHandlers->IndexOf("edPrintDate.OnExit.Code"), -1);
  auto* edit = w->Add<vcl::TMaskEdit>("edDate", w->tsOption1);
  w->RegisterDateFields("edDate");
  EXPECT_TRUE(edit->OnExit.Assigned());
  w->RegisterDateFields("edPrintDate");
  EXPECT_FALSE(edit->OnExit.Assigned());
  EXPECT_FALSE(edit->OnEnter.Assigned());
  // Unknown names are kept in the list and skipped.
  w->RegisterDateFields("noSuchField");
  EXPECT_EQ(w->DateFields, "noSuchField,edPrintDate");
}

TEST_F(FieldsTest, APanelRegisteredAsDateFieldTakesTheCompanyFormat) {
  host_.Settings = {{"Sys001", "4"}, {"Sys002", "-"}};
  TTestWindow* w = InitializedWindow();
  auto* panel = w->Add<TSelectPanel>("sp03", w->tsOption1);
  w->RegisterDateFields("sp03");
  EXPECT_EQ(panel->ValueType(), SelectPnl::vt_Date);
  EXPECT_EQ(panel->DateSign(), "-");
  EXPECT_EQ(panel->DateType(), SelectPnl::dt_YYMMDD);
  EXPECT_EQ(panel->OnExit.Method(), w->OnDateFieldExit().Method());
}

TEST_F(FieldsTest, LeavingADateFieldForCancelRunsNoCheckAndNoHandler) {
  TTestWindow* w = InitializedWindow();
  auto* edit = w->Add<vcl::TMaskEdit>("edDate", w->tsOption1);
  edit->OnExit = vcl::MakeEvent<&Handlers::Exit>(&handlers_);
  w->RegisterDateFields("edDate");
  ShowWindow(w);
  edit->SetFocus();
  w->InputError = true;
  w->btnCancel->SetFocus();  // runs edDate's exit with the Cancel button focused
#if VK_COMPAT_BUILD
  EXPECT_EQ(handlers_.exits, 1);  // no exemption in the earlier generation
  EXPECT_FALSE(w->InputError);
#else
  EXPECT_EQ(handlers_.exits, 0);
  EXPECT_TRUE(w->InputError);  // nothing was even reset
#endif
  // Leaving for another control runs the handler.
  auto* other = w->Add<vcl::TEdit>("edOther", w->tsOption1);
  edit->SetFocus();
  other->SetFocus();
#if VK_COMPAT_BUILD
  EXPECT_EQ(handlers_.exits, 2);
#else
  EXPECT_EQ(handlers_.exits, 1);
#endif
}

// ---------------------------------------------------------------------------
// Required fields.

TEST_F(FieldsTest, RequiredItemsAreColouredByPanelPart) {
  struct Case {
    const char* item;
    bool begin, final, list;
  } cases[] = {
      {"sp01", true, true, true},       {"sp01;Y;0", true, true, true},
      {"sp01;Y;1", true, false, false}, {"sp01;N;2", false, true, false},
      {"sp01;1;3", false, false, true}, {"sp01;Y;7", true, true, true},  // outside 0..3: 0
      {"sp01;Y;x", true, true, true},
  };
  for (const Case& c : cases) {
    TTestWindow* win = NewWindow();
    auto* panel = win->Add<TSelectPanel>("sp01", win->tsOption1);
    ASSERT_TRUE(win->Initialize(HostParams()));
    const vcl::TColor plain = panel->edBegin()->Color();
    win->SetRequired(c.item);
    EXPECT_EQ(panel->edBegin()->Color() == BaseGene::kRequiredColour, c.begin) << c.item;
    EXPECT_EQ(panel->edFinal()->Color() == BaseGene::kRequiredColour, c.final) << c.item;
    EXPECT_EQ(panel->ListBox()->Color() == BaseGene::kRequiredColour, c.list) << c.item;
    EXPECT_NE(plain, BaseGene::kRequiredColour);
  }
}

TEST_F(FieldsTest, ColourSnapshotWalksPanelsContainersAndControls) {
  TTestWindow* w = NewWindow();
  w->Add<TSelectPanel>("sp01", w->tsOption1);
  auto* group = w->Add<vcl::TGroupBox>("grpInner", w->tsOption1);
  auto* inner = w->Add<vcl::TEdit>("edInner", group);
  inner->SetColor(0x123456);
  w->Add<VkSpin::TVkSpinEdit>("seDays", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  const vcl::TStringList& snapshot = *w->ColourSnapshot;
  for (const char* name : {"sp01.edBegin", "sp01.edFinal", "sp01.ListBox", "edInner", "seDays",
                           "edPrintDate", "lstCondition"})
    EXPECT_GE(snapshot.IndexOfName(name), 0) << name;
  EXPECT_EQ(snapshot.Values("edInner"), std::to_string(0x123456));
  // Containers are walked into, not recorded.
  for (const char* name : {"grpInner", "pgOption", "tsOption1", "Panel1", "sp01"})
    EXPECT_EQ(snapshot.IndexOfName(name), -1) << name;
}

TEST_F(FieldsTest, SettingRequiredTwiceRestoresColoursAndKeepsOneHandlerPerClick) {
  TTestWindow* w = NewWindow();
  auto* first = w->Add<vcl::TEdit>("ed01", w->tsOption1);
  auto* second = w->Add<vcl::TEdit>("ed02", w->tsOption1);
  first->SetColor(0x010101);
  second->SetColor(0x020202);
  ASSERT_TRUE(w->Initialize(HostParams()));

  w->SetRequired("ed01");
  EXPECT_EQ(first->Color(), BaseGene::kRequiredColour);
  EXPECT_EQ(second->Color(), 0x020202);
  EXPECT_EQ(w->btnOk->OnClick.Method(), w->OnRequiredExit().Method());

  w->SetRequired("ed02;Y, ed01;N");
  EXPECT_EQ(second->Color(), BaseGene::kRequiredColour);
  EXPECT_EQ(first->Color(), BaseGene::kRequiredColour);
  w->SetRequired("ed02");
  EXPECT_EQ(first->Color(), 0x010101);  // restored from the snapshot
  EXPECT_EQ(second->Color(), BaseGene::kRequiredColour);
  EXPECT_EQ(w->RequiredFields, "ed02");

  // Both filled: OK runs the window's own handler exactly once per click.
  first->SetText("x");
  second->SetText("y");
  w->btnOk->Click();
  EXPECT_EQ(w->OkClicks, 1);
  w->btnOk->Click();
  EXPECT_EQ(w->OkClicks, 2);

  // An empty list undoes the hooks.
  w->SetRequired("");
  EXPECT_EQ(second->Color(), 0x020202);
  EXPECT_EQ(w->MethodName(w->btnOk->OnClick.Method().Code), "");
  w->btnOk->Click();
  EXPECT_EQ(w->OkClicks, 3);
}

TEST_F(FieldsTest, ItemsNamingNoComponentHookNothing) {
  TTestWindow* w = NewWindow();
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption1);
  auto* query = w->Add<vcl::TButton>("btnQuery", w->Panel1);
  query->OnClick = vcl::MakeEvent<&Handlers::Click>(&handlers_);
  ASSERT_TRUE(w->Initialize(HostParams()));
  w->SetRequired("noSuch;Y;0");
  EXPECT_EQ(w->RequiredFields, "noSuch;Y;0");
  EXPECT_NE(w->btnOk->OnClick.Method(), w->OnRequiredExit().Method());
  // The next list undoes only what was hooked: the buttons keep their own
  // handlers rather than losing them.
  w->SetRequired("noOther;Y");
  w->btnOk->Click();
  query->Click();
  EXPECT_EQ(w->OkClicks, 1);
  EXPECT_EQ(handlers_.clicks, 1);
  // Hooked at last, each still runs its own handler once per click.
  edit->SetText("x");
  w->SetRequired("ed05;Y");
  EXPECT_EQ(w->btnOk->OnClick.Method(), w->OnRequiredExit().Method());
  w->btnOk->Click();
  query->Click();
  EXPECT_EQ(w->OkClicks, 2);
  EXPECT_EQ(handlers_.clicks, 2);
}

TEST_F(FieldsTest, CheckRequiredSkipsNumberAndNFlagsAndFindsTheFirstMissing) {
  host_.Messages["E;000037"] = "必须输入的字段不可空白！%s";
  TTestWindow* w = NewWindow();
  auto* panel = w->Add<TSelectPanel>("sp01", w->tsOption1);
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption1);
  auto* label = w->Add<vcl::TLabel>("lbl06", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  (void)label;
  struct Case {
    const char* list;
    bool missing;
  } cases[] = {
      {"sp01;N;0", false},  // coloured, never checked
      {"sp01;1;0", false},  // a number as flag: not checked
      {"sp01;-2", false},      {"ed05;N", false},
      {"lbl06;Y", false},  // no Text property: never empty
      {"noSuch;Y", false},     {"ed05;Y", true},
      {"ed05", true},      // no flag: checked
      {"sp01;Y;0", true},  // range mode with empty begin and end
      {"ed05;N,sp01;Y", true},
  };
  for (const Case& c : cases) {
    vcl::ClearShownDialogs();
    EXPECT_EQ(w->CheckRequired(c.list), c.missing) << c.list;
    EXPECT_EQ(DialogTexts().size(), c.missing ? 1u : 0u) << c.list;
  }
  edit->SetText("  x ");
  panel->edBegin()->SetText("A");
  panel->edFinal()->SetText("B");
  EXPECT_FALSE(w->CheckRequired("ed05;Y,sp01;Y"));
}

TEST_F(FieldsTest, OkWithARangePanelMissingItsEndShowsItsPageAndFocusesItsBegin) {
  host_.Messages["E;000037"] = "必须输入的字段不可空白！%s";
  TTestWindow* w = NewWindow();
  auto* page = new vcl::TTabSheet(w);
  page->SetName("tsOption3");
  page->SetPageControl(w->pgOption);
  auto* panel = w->Add<TSelectPanel>("sp01", page);
  ASSERT_TRUE(w->Initialize(HostParams()));
  ShowWindow(w);
  panel->edBegin()->SetText("A001");
  w->SetRequired("sp01;Y;0");
  w->pgOption->SetActivePage(w->tsOption1);

  w->btnOk->Click();
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000037:必须输入的字段不可空白！"});
  EXPECT_TRUE(w->InputError);
  EXPECT_EQ(w->OkClicks, 0);
  EXPECT_EQ(w->pgOption->ActivePage(), page);
  EXPECT_EQ(w->ActiveControl(), panel->edBegin());

  // In list mode an empty list is what is missing, and the list is focused.
  panel->SetStyle(SelectPnl::sp_Discrete);
  w->pgOption->SetActivePage(w->tsOption1);
  w->btnOk->Click();
  EXPECT_EQ(w->ActiveControl(), panel->ListBox());
  panel->ListBox()->AddRow({"A001"});
  w->btnOk->Click();
  EXPECT_FALSE(w->InputError);
  EXPECT_EQ(w->OkClicks, 1);
}

TEST_F(FieldsTest, AMissingDisabledFieldIsNotFocused) {
  TTestWindow* w = NewWindow();
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption2);
  ASSERT_TRUE(w->Initialize(HostParams()));
  ShowWindow(w);
  edit->SetEnabled(false);
  vcl::TWinControl* before = w->ActiveControl();
  EXPECT_TRUE(w->CheckRequired("ed05;Y"));
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
  EXPECT_EQ(w->ActiveControl(), before);
}

TEST_F(FieldsTest, BlankTextOfEditMasks) {
  TTestWindow* w = NewWindow();
  auto* date = w->Add<vcl::TMaskEdit>("meDate", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  struct Case {
    const char* mask;
    const char* text;
    bool missing;
  } cases[] = {
      {"9999/99/99;1; ", "", true},  // shows "    /  /  ": still empty
      {"9999/99/99;1;_", "", true},
      {"9999/99/99;1; ", "2024/03/05", false},
      {"9999/99/99;1; ", "2024", false},
      {"9999/99/99;0; ", "", true},  // literals not kept: blank is ""
      {"!aaaa-aaaaaaaaaaa;0; ", "", true},
      {"!aaaa-aaaaaaaaaaa;0; ", "AB", false},
      {"", "", true},
      {"", " ", true},
  };
  for (const Case& c : cases) {
    date->SetEditMask(c.mask);
    date->SetText(c.text);
    EXPECT_EQ(w->CheckRequired("meDate;Y"), c.missing) << c.mask << " [" << c.text << "]";
  }
}

TEST_F(FieldsTest, ActionButtonsAndThePeriodicSwitch) {
  TTestWindow* w = NewWindow();
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption1);
  auto* query = w->Add<vcl::TButton>("btnQuery", w->Panel1);
  auto* other = w->Add<vcl::TButton>("btnOther", w->Panel1);
  auto* period = w->Add<vcl::TSpeedButton>("btnPeriod", w->Panel1);
  period->SetGroupIndex(2);
  period->SetAllowAllUp(true);
  auto* periodic = new vcl::TTabSheet(w);
  periodic->SetName("tsPeriodOption");
  periodic->SetPageControl(w->pgOption);
  query->OnClick = vcl::MakeEvent<&Handlers::Click>(&handlers_);
  period->OnClick = vcl::MakeEvent<&Handlers::ClickOther>(&handlers_);
  ASSERT_TRUE(w->Initialize(HostParams()));
  ShowWindow(w);
  w->SetRequired("ed05;Y");
  EXPECT_EQ(query->OnClick.Method(), w->OnRequiredExit().Method());
  EXPECT_EQ(period->OnClick.Method(), w->OnRequiredExit().Method());
  EXPECT_FALSE(other->OnClick.Assigned());

  // btnQuery checks the fields; with the field empty its handler is skipped
  // and, as the active page is not the last, the periodic switch goes up
  // and the last page's tab is hidden.
  period->SetDown(true);
  query->Click();
  EXPECT_TRUE(w->InputError);
  EXPECT_EQ(handlers_.clicks, 0);
  EXPECT_FALSE(period->Down());
  EXPECT_FALSE(periodic->TabVisible());

  // The periodic switch itself, while up, does not check: the current
  // InputError decides.
  w->InputError = false;
  period->Click();
  EXPECT_EQ(handlers_.otherClicks, 1);
  // While down it checks (here: the field is missing).
  periodic->SetTabVisible(true);
  period->SetDown(true);
  period->Click();
  EXPECT_EQ(handlers_.otherClicks, 1);
  EXPECT_TRUE(w->InputError);

  // Filled: every button calls its own handler.
  edit->SetText("CNY");
  query->Click();
  EXPECT_EQ(handlers_.clicks, 1);
  w->btnOk->Click();
  EXPECT_EQ(w->OkClicks, 1);

  // A missing field on the last page shows that page: the switch and the
  // tab stay as they are.
  w->Add<vcl::TEdit>("edTimes", periodic);
  w->SetRequired("ed05;Y,edTimes;Y");
  periodic->SetTabVisible(true);
  period->SetDown(true);
  w->btnOk->Click();
  EXPECT_TRUE(w->InputError);
  EXPECT_EQ(w->pgOption->ActivePage(), periodic);
  EXPECT_TRUE(period->Down());
  EXPECT_TRUE(periodic->TabVisible());
  EXPECT_EQ(w->OkClicks, 1);
}

// ---------------------------------------------------------------------------
// Host requests.

platform::Variant Preset(const std::vector<const char*>& names) {
  platform::Variant items = platform::VarArrayCreate({{0, static_cast<int32_t>(names.size()) - 1}});
  platform::Variant values =
      platform::VarArrayCreate({{0, static_cast<int32_t>(names.size()) - 1}});
  for (size_t i = 0; i < names.size(); ++i) {
    items[static_cast<int32_t>(i)] =
        platform::VarArrayOf({platform::Variant("caption"), platform::Variant(names[i])});
    values[static_cast<int32_t>(i)] = platform::Variant("v");
  }
  return platform::VarArrayOf({items, values});
}

platform::Variant HostRequest(int mode, bool checked, const platform::Variant& preset) {
  return platform::VarArrayOf(
      {platform::Variant(true),
       platform::VarArrayOf({platform::Variant(int32_t{mode}),
                             platform::VarArrayOf({platform::Variant(checked), preset})})});
}

TEST_F(FieldsTest, HostRequestModes) {
  host_.Messages["W;000014"] = "预设条件无法套用。%s";
  struct Case {
    int mode;
    bool checked;
    std::vector<const char*> components;
    bool presetAnswer;
    int okClicks;
    bool runs;
    bool interactive;
    bool applied;
    size_t messages;
  } cases[] = {
      {0,
       true,
       {"ed05", "cbo07", "chk09", "sp01", "rg02", "me01"},
       false,
       0,
       false,
       true,
       false,
       0},
      {1, true, {"ed05"}, false, 1, false, true, true, 0},
      {2, true, {"ed05"}, false, 1, false, false, true, 0},
      {3, true, {"ed05"}, false, 0, true, false, true, 0},
      {1, true, {"noSuch"}, false, 0, false, true, false, 1},  // W;000014, no OK
      {1, true, {"lbl08"}, false, 0, false, true, false, 1},   // a label takes no value
      {3, true, {"noSuch"}, false, 0, false, false, false, 1},
      {1, false, {"noSuch"}, true, 1, false, true, true, 0},  // applied by the descendant
      {1, false, {"ed05"}, false, 0, false, true, false, 0},  // the descendant refused
  };
  for (const Case& c : cases) {
    vcl::ClearShownDialogs();
    TTestWindow* w = NewWindow();
    w->Add<vcl::TEdit>("ed05", w->tsOption1);
    w->Add<vcl::TComboBox>("cbo07", w->tsOption1);
    w->Add<vcl::TCheckBox>("chk09", w->tsOption1);
    w->Add<SelectPnl::TSelectPanel>("sp01", w->tsOption1);
    w->Add<vcl::TRadioGroup>("rg02", w->tsOption1);
    w->Add<vcl::TMemo>("me01", w->tsOption1);
    w->Add<vcl::TLabel>("lbl08", w->tsOption1);
    ASSERT_TRUE(w->Initialize(HostParams()));
    w->PresetAnswer = c.presetAnswer;
    w->Calls.clear();
    w->ApplyHostRequest(HostRequest(c.mode, c.checked, Preset(c.components)));
    EXPECT_EQ(w->OkClicks, c.okClicks) << c.mode << " " << c.components[0];
    EXPECT_EQ(
        std::count(w->Calls.begin(), w->Calls.end(), "RunHostMode(" + std::to_string(c.mode) + ")"),
        c.runs ? 1 : 0)
        << c.mode;
    EXPECT_EQ(w->Interactive, c.interactive) << c.mode;
    EXPECT_EQ(w->PresetApplied, c.applied && c.mode != 0) << c.mode << " " << c.components[0];
    EXPECT_EQ(w->PresetChecked, c.checked);
    EXPECT_EQ(std::count(w->Calls.begin(), w->Calls.end(), "ApplyPreset"), c.checked ? 0 : 1);
    EXPECT_EQ(DialogTexts().size(), c.messages) << c.mode << " " << c.components[0];
    EXPECT_TRUE(w->Converted);
  }
}

TEST_F(FieldsTest, HostRequestsWithoutPresetOrArray) {
  TTestWindow* w = InitializedWindow();
  w->ApplyHostRequest(platform::VarArrayOf({platform::Variant(false), platform::Variant("text")}));
  EXPECT_EQ(w->HostRequest, platform::Variant("text"));
  EXPECT_FALSE(w->Converted);  // nothing more happened
  w->ApplyHostRequest(platform::VarArrayOf(
      {platform::Variant(false), platform::VarArrayOf({platform::Variant(int32_t{2})})}));
  EXPECT_FALSE(w->Interactive);
  EXPECT_FALSE(w->PresetApplied);
  EXPECT_EQ(w->OkClicks, 0);
  EXPECT_TRUE(w->Converted);
  // The preset part not an array, or its list not an array: nothing applied.
  w->ApplyHostRequest(HostRequest(1, true, platform::Variant("no list")));
  EXPECT_TRUE(w->Interactive);
  EXPECT_EQ(w->OkClicks, 0);
}

// ---------------------------------------------------------------------------
// Page changes.

TEST_F(FieldsTest, PageChangeIsRefusedWhileTheFieldLeftHasAnError) {
  TTestWindow* w = InitializedWindow();
  auto* edit = w->Add<vcl::TEdit>("ed05", w->tsOption1);
  struct Checker {
    TTestWindow* window;
    bool fail;
    bool quiet;
    void Exit(vcl::TObject*) {
      quiet = window->QuietMessages;
      window->InputError = fail;
    }
  } checker{w, true, false};
  edit->OnExit = vcl::MakeEvent<&Checker::Exit>(&checker);
  ShowWindow(w);
  edit->SetFocus();

  EXPECT_FALSE(w->pgOption->UserSelect(w->tsOption2));
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
  EXPECT_TRUE(checker.quiet);  // the check ran with only errors shown
  EXPECT_FALSE(w->QuietMessages);

  checker.fail = false;
  edit->SetFocus();
  EXPECT_TRUE(w->pgOption->UserSelect(w->tsOption2));
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
}

TEST_F(FieldsTest, PageChangingAsksThePanelOfThePartLeft) {
  TTestWindow* w = InitializedWindow();
  auto* panel = w->Add<TSelectPanel>("sp01", w->tsOption1);
  struct Checker {
    TTestWindow* window;
    vcl::TObject* sender = nullptr;
    void Exit(vcl::TObject* s) {
      sender = s;
      window->InputError = true;
    }
  } checker{w};
  panel->OnExit = vcl::MakeEvent<&Checker::Exit>(&checker);
  ShowWindow(w);
  panel->edFinal()->SetFocus();
  bool allow = true;
  w->pgOptionChanging(w->pgOption, allow);
  EXPECT_FALSE(allow);
  EXPECT_EQ(checker.sender, panel);
}

}  // namespace
}  // namespace framework_test

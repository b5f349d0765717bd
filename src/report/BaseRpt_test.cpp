// The report window on the default installation: registration, the date
// types, the report defaults and the footer and sign-off blocks, the output
// flags and the data type, the report's environment entries, its scheme
// properties, the enabling of its report buttons and the system page.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/F2Button.h"
#include "report/test/ReportTestSupport.h"
#include "suite/db/Database.h"

namespace ReportTest {
namespace {

using platform::VarArrayOf;
using platform::Variant;
using Strings = std::vector<std::string>;

class BaseRptTest : public ReportWindowTest {};

TEST_F(BaseRptTest, RegistrationReservesFourConditionsAndFourteenEnvironmentEntries) {
  auto* base = Open<TfrmTestBaseRpt>();
  ASSERT_TRUE(Initialized);
  EXPECT_EQ(base->EnvCount, 14);
  EXPECT_EQ(base->ReservedConditions, 4);
  EXPECT_EQ(base->ConditionCount, 4);  // sign-off, footer, date type, print date

  TfrmTestPvqr82* design = vcl::Create<TfrmTestPvqr82>(nullptr);
  const int designWidth = design->Width();
  design->Free();
  auto* report = OpenReport();
  ASSERT_TRUE(Initialized);
  EXPECT_EQ(report->EnvCount, 14);
  EXPECT_EQ(report->ReservedConditions, 4);
  EXPECT_EQ(report->ConditionCount, 15);
  EXPECT_EQ(report->ProgramKind, "R");
  EXPECT_EQ(report->OutputFlags, 1);
  EXPECT_EQ(report->DateFields, "sp03,edDate,meStartDate,meEndDate,edPrintDate");
  // The current build widens the window; the earlier generation keeps it.
  EXPECT_EQ(report->Width(), designWidth + (VK_COMPAT_BUILD ? 0 : 80));
}

TEST_F(BaseRptTest, DateTypeFollowsTheCompanyFormatAndGregorianOnlyDropsTheMinguoTypes) {
  const Strings all = {"公历 YYYYMMDD", "公历 MMDDYYYY", "公历 DDMMYYYY", "民国年 YYMMDD",
                       "民国年 YYYMMDD"};
  const Strings gregorian(all.begin(), all.begin() + 3);
  struct Case {
    const char* Company;
    const char* Database;
    const char* Sys001;  // nullptr: as installed
    int Index;
    Strings Items;
  } cases[] = {
      {"VRK", "VRKDEMO", nullptr, 0, gregorian},  // SYS026 "2"
      {"VRK", "VRKDEMO", "3", 2, gregorian},
      {"VRK2", "VRKSZ", nullptr, 3, all},  // Sys001 "4"
      {"VRK2", "VRKSZ", "abc", 0, all},    // not a number: format 1
      {"VRK2", "VRKSZ", "5", 4, all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Company) + " " + (c.Sys001 ? c.Sys001 : "-"));
    if (c.Sys001) SetCompanySetting(c.Company, "Sys001", c.Sys001);
    auto* form = OpenReport({.Company = c.Company, .Database = c.Database});
    ASSERT_TRUE(Initialized);
    Strings items;
    for (int i = 0; i < form->cboDateType->Items()->Count(); ++i)
      items.push_back(form->cboDateType->Items()->Get(i));
    EXPECT_EQ(items, c.Items);
    EXPECT_EQ(form->cboDateType->ItemIndex(), c.Index);
  }
}

TEST_F(BaseRptTest, ReportDefaultsFillTheBlocksAndLockThoseTheSettingsDoNotLetPick) {
  struct Case {
    const char* Module;
    Strings Note;  // id and three lines
    bool NotePickable;
    Strings SignIn;
    bool SignInPickable;
  } cases[] = {
      {"PVQR82C.dll",
       {"N01", "本报表仅供内部使用", "如有疑问请联系采购部", ""},
       true,
       {"S01", "制表：", "审核：", "核准："},
       true},
      {"PVQR81C.dll",
       {"N02", "金额单位：元", "数据截至打印日", "财务部制"},
       false,
       {"S02", "经办：", "主管：", ""},
       false},
      // No settings row for the program: empty and editable.
      {"PVQR83C.dll", {"", "", "", ""}, true, {"", "", "", ""}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Module);
    auto* form = OpenReport({.Module = c.Module});
    ASSERT_TRUE(Initialized);
    struct Block {
      vcl::TEdit* Edits[4];
      F2Button::TF2Button* Button;
      const Strings& Expected;
      bool Pickable;
    } blocks[] = {
        {{form->edNoteID, form->edNote1, form->edNote2, form->edNote3},
         form->btnNote,
         c.Note,
         c.NotePickable},
        {{form->edSignInID, form->edSignIn1, form->edSignIn2, form->edSignIn3},
         form->btnSignIn,
         c.SignIn,
         c.SignInPickable},
    };
    for (const Block& b : blocks) {
      EXPECT_EQ(b.Button->Enabled(), b.Pickable);
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.Edits[i]->Text(), b.Expected[i]) << b.Edits[i]->Name();
        EXPECT_EQ(b.Edits[i]->ReadOnly(), !b.Pickable) << b.Edits[i]->Name();
      }
    }

    // What was loaded travels with the job, locked or not.
    ASSERT_TRUE(form->BuildRequest());
    const Variant values = form->Request[2];
    EXPECT_EQ(Texts(values[12]), (Strings{"每页打印签核", "False", c.SignIn[0], c.SignIn[1],
                                          c.SignIn[2], c.SignIn[3]}));
    EXPECT_EQ(Texts(values[13]),
              (Strings{"每页打印页脚", "False", c.Note[0], c.Note[1], c.Note[2], c.Note[3]}));
  }
}

TEST_F(BaseRptTest, LoadingABlockByIdentifier) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  TakeMessages();
  struct Case {
    bool Footer;
    const char* Id;
    bool Warn;
    bool Result;
    Strings Block;  // id and lines afterwards
    Strings Messages;
  } cases[] = {
      {true, "N02", true, true, {"N02", "金额单位：元", "数据截至打印日", "财务部制"}, {}},
      {true, "N03", true, true, {"N03", "", "", ""}, {}},
      {false, "S03", true, true, {"S03", "收货员：", "仓库主管：", "质检："}, {}},
      // A sign-off identifier is not a footer, and the other way round.
      {true, "S01", true, false, {"", "", "", ""}, {"页脚编号不存在！"}},
      {false, "N01", true, false, {"", "", "", ""}, {"签核编号不存在！"}},
      {true, "N99", false, true, {"", "", "", ""}, {}},
      {false, "", true, true, {"", "", "", ""}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Footer ? "footer " : "sign-off ") + c.Id);
    vcl::TEdit* edits[] = {
        c.Footer ? form->edNoteID : form->edSignInID, c.Footer ? form->edNote1 : form->edSignIn1,
        c.Footer ? form->edNote2 : form->edSignIn2, c.Footer ? form->edNote3 : form->edSignIn3};
    for (vcl::TEdit* e : edits) e->SetText("old");
    EXPECT_EQ(c.Footer ? form->LoadFooter(c.Id, c.Warn) : form->LoadSignOff(c.Id, c.Warn),
              c.Result);
    Strings block;
    for (vcl::TEdit* e : edits) block.push_back(e->Text());
    EXPECT_EQ(block, c.Block);
    EXPECT_EQ(TakeMessages(), c.Messages);
  }
  EXPECT_NE(form->MessageCodes.find("W;000004;"), std::string::npos);
}

TEST_F(BaseRptTest, LeavingAnIdentifierChecksItOnlyWhenItChanged) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  form->Show();
  form->pgOption->SetActivePage(form->tsOption2);
  TakeMessages();

  // Entered and left unchanged: no query, so a line typed by hand stays.
  form->edNoteID->SetFocus();
  EXPECT_EQ(form->EnteredID, "N01");
  form->edNote1->SetText("typed by hand");
  form->edNote1->SetFocus();
  EXPECT_EQ(form->edNote1->Text(), "typed by hand");
  EXPECT_TRUE(TakeMessages().empty());

  // Changed to a known block: loaded.
  form->edSignInID->SetFocus();
  EXPECT_EQ(form->EnteredID, "S01");
  form->edSignInID->SetText("S02");
  form->edNote2->SetFocus();
  EXPECT_EQ(form->edSignIn1->Text(), "经办：");
  EXPECT_EQ(form->edSignIn2->Text(), "主管：");
  EXPECT_TRUE(TakeMessages().empty());

  // Changed to an unknown one: the warning names the field, the block is
  // emptied and the focus goes back.
  form->edNoteID->SetFocus();
  form->edNoteID->SetText("N77");
  form->edNote3->SetFocus();
  EXPECT_EQ(TakeMessages(), (Strings{"页脚编号不存在！"}));
  EXPECT_EQ(form->ActiveControl(), form->edNoteID);
  EXPECT_EQ(form->edNoteID->Text(), "");
  EXPECT_EQ(form->edNote1->Text(), "");

  // An emptied identifier is accepted and empties the block.
  form->edSignInID->SetFocus();
  form->edSignInID->SetText("");
  form->edNote3->SetFocus();
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(form->ActiveControl(), form->edNote3);
  EXPECT_EQ(form->edSignIn1->Text(), "");
}

TEST_F(BaseRptTest, OutputBoxesGiveTheFlagsOfEnvironmentEntry13) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  EXPECT_TRUE(form->chkView->Checked());
  EXPECT_FALSE(form->chkHTML->Checked());
  EXPECT_FALSE(form->chkDirectPrint->Enabled());
  TakeMessages();
  struct Step {
    BtChkBox::TBitCheckBox* Box;
    int Flags;
    bool Refused;
  } steps[] = {
      {form->chkHTML, 3, false},  // report and HTML
      {form->chkView, 2, false},  // HTML only
      {form->chkHTML, 2, true},   // none: refused, the flags stay
      {form->chkView, 1, false},  // report only
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Box->Name());
    s.Box->Click();
    EXPECT_EQ(form->OutputFlags, s.Flags);
    EXPECT_EQ(TakeMessages(), s.Refused ? Strings{"请至少选择一种报表生成方式。"} : Strings{});
    if (s.Refused) {  // the boxes stay as the user left them
      EXPECT_FALSE(form->chkView->Checked());
      EXPECT_FALSE(form->chkHTML->Checked());
    }
    ASSERT_TRUE(form->BuildRequest());
    const Variant env = form->Request[0];
    EXPECT_EQ(env.LowBound(), 1);
    EXPECT_EQ(env.HighBound(), 14);
    EXPECT_EQ(env[13].AsInteger(), s.Flags);
  }
}

TEST_F(BaseRptTest, DataTypeIsUpperCaseTrimmedAndAtMostTenCharacters) {
  auto* form = OpenReport();
  const struct {
    const char* Code;
    const char* Stored;
  } cases[] = {
      {"a", "A"},
      {"  ab c  ", "AB C"},
      {"abcdefghijkl", "ABCDEFGHIJ"},
      {"  abcdefghijkl", "ABCDEFGHIJ"},
      {"", ""},
  };
  for (const auto& c : cases) {
    form->SetDataType(c.Code);
    EXPECT_EQ(form->DataType, c.Stored) << c.Code;
  }
  // Entry 14 of a plain report window carries it as it is stored.
  auto* base = Open<TfrmTestBaseRpt>();
  base->SetDataType(" xyz ");
  ASSERT_TRUE(base->BuildRequest());
  EXPECT_EQ(base->Request[0][14].AsString(), "XYZ");
}

TEST_F(BaseRptTest, SchemesStoreTheFooterAndSignOffControlsLast) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  const std::string tail =
      "edNoteID.text;edNote1.text;edNote2.text;edNote3.text;chkNoteEPPrint.checked;"
      "edSignInID.text;edSignIn1.text;edSignIn2.text;edSignIn3.text;chkSignInEPPrint.checked;";
  const std::string& properties = form->SchemeProperties;
  ASSERT_GE(properties.size(), tail.size());
  EXPECT_EQ(properties.substr(properties.size() - tail.size()), tail);
  EXPECT_EQ(properties.find("edNoteID"), properties.size() - tail.size());  // once
}

TEST_F(BaseRptTest, FooterAndSignOffLookupsFillTheirBlock) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  LookupScript script;
  form->Lookups = &script;
  script.Rows = VarArrayOf({VarArrayOf(
      {Variant("N02"), Variant("财务页脚"), Variant("L1"), Variant("L2"), Variant("L3")})});
  form->LookupKey(vcl::VK_F2, form->edNoteID);
  script.Rows = VarArrayOf({VarArrayOf(
      {Variant("S03"), Variant("仓库签核"), Variant("M1"), Variant("M2"), Variant("")})});
  form->LookupKey(vcl::VK_F2, form->edSignInID);
  EXPECT_EQ(form->EnteredID, "S03");
  ASSERT_EQ(script.Calls.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(script.Calls[i].Table, "CMSMS");
    EXPECT_EQ(script.Calls[i].Kind, "01");
    EXPECT_FALSE(script.Calls[i].Multi);
    EXPECT_EQ(script.Calls[i].Text, "");
    EXPECT_EQ(Texts(script.Calls[i].Key), (Strings{i == 0 ? "1" : "2"}));
  }
  EXPECT_EQ((Strings{form->edNoteID->Text(), form->edNote1->Text(), form->edNote2->Text(),
                     form->edNote3->Text()}),
            (Strings{"N02", "L1", "L2", "L3"}));
  EXPECT_EQ((Strings{form->edSignInID->Text(), form->edSignIn1->Text(), form->edSignIn2->Text(),
                     form->edSignIn3->Text()}),
            (Strings{"S03", "M1", "M2", ""}));

  // Nothing chosen, or an answer without rows: the block stays.
  for (const Variant& nothing : {Variant(), platform::VarArrayCreate({{0, -1}})}) {
    script.Rows = nothing;
    form->LookupKey(vcl::VK_F2, form->edNoteID);
    EXPECT_EQ((Strings{form->edNoteID->Text(), form->edNote1->Text()}), (Strings{"N02", "L1"}));
    EXPECT_EQ(form->EnteredID, "S03");
  }
}

// ---------------------------------------------------------------------------
// The report buttons.

struct ButtonState {
  bool Query, Design, Web;
};

ButtonState Buttons(TfrmTestPvqr82* form) {
#if VK_COMPAT_BUILD
  return {form->btnQuery->Enabled(), form->btnDesign->Enabled(), false};
#else
  return {form->btnQuery->Enabled(), form->btnDesign->Enabled(), form->btnWebDesign->Enabled()};
#endif
}

void ExpectButtons(TfrmTestPvqr82* form, ButtonState expected) {
  const ButtonState s = Buttons(form);
  EXPECT_EQ(s.Query, expected.Query) << "btnQuery";
  EXPECT_EQ(s.Design, expected.Design) << "btnDesign";
#if !VK_COMPAT_BUILD
  EXPECT_EQ(s.Web, expected.Web) << "btnWebDesign";
#endif
}

TEST_F(BaseRptTest, ReportButtonsFollowTheLocalServerTheProgramAndThePeriodicSwitch) {
  struct Case {
    const char* Module;
    bool NoDirectQuery;  // "ADMMB" kind "11" says "Y"
  } cases[] = {{"PVQR82C.dll", false}, {"PVQR81C.dll", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Module);
    auto* form = OpenReport({.Module = c.Module});
    ASSERT_TRUE(Initialized);
    ASSERT_TRUE(form->LocalServer);
    // The earlier generation knows no "ADMMB" rule.
    const bool query = !(c.NoDirectQuery && !VK_COMPAT_BUILD);
    ExpectButtons(form, {query, true, true});

    vcl::SimulateClick(form->btnPeriod);
    ASSERT_TRUE(form->btnPeriod->Down());
    ExpectButtons(form, {false, false, false});

    vcl::SimulateClick(form->btnPeriod);
    ASSERT_FALSE(form->btnPeriod->Down());
    ExpectButtons(form, {query, true, true});
  }
}

class RemoteServerTest : public BaseRptTest {
 protected:
  void SetUp() override {
    way_ = pilgarwc::test::Way::Socket;
    BaseRptTest::SetUp();
  }
};

TEST_F(RemoteServerTest, DirectQueryAndDesignNeedTheServerOnThisComputer) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  EXPECT_FALSE(form->LocalServer);
  ExpectButtons(form, {false, false, true});
  vcl::SimulateClick(form->btnPeriod);
  ASSERT_TRUE(form->btnPeriod->Down());
  ExpectButtons(form, {false, false, false});
  vcl::SimulateClick(form->btnPeriod);
  ExpectButtons(form, {false, false, true});
}

#if !VK_COMPAT_BUILD
TEST_F(BaseRptTest, WebReportButtonIsShownUnlessTheCompanySaysN) {
  struct Case {
    const char* Company;
    const char* Database;
    bool Shown;
  } cases[] = {{"VRK", "VRKDEMO", true}, {"VRK2", "VRKSZ", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Company);
    auto* form = OpenReport({.Company = c.Company, .Database = c.Database});
    ASSERT_TRUE(Initialized);
    form->Show();
    EXPECT_EQ(form->btnWebDesign->Visible(), c.Shown);
    EXPECT_EQ(form->btnWebDesign->Left(), form->btnPeriod->Left() + form->btnPeriod->Width() + 15);
  }
}
#endif

// ---------------------------------------------------------------------------
// The system page.

TEST_F(BaseRptTest, SystemPageLayout) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  form->Show();
  form->pgOption->SetActivePage(form->tsOption2);
  EXPECT_GE(form->Width(), 585);
  EXPECT_GE(form->Height(), 460);

  struct Place {
    const char* Name;
    int Left, Top, Width, Height;  // -1: not fixed
    int TabOrder;                  // -1: not fixed
  };
  const Place places[] = {
    {"lblToday", 8, 9, -1, -1, -1},
    {"edPrintDate", 70, 5, 75, -1, 0},
    {"lblDateType", 224, 9, -1, -1, -1},
    {"cboDateType", 280, 5, -1, -1, 1},
    {"grpGenTime", -1, 31, 225, -1, 2},
    {"grpGenType", 242, 31, 146, 62, 3},
    {"chkView", 8, 13, -1, -1, -1},
    {"chkHTML", 8, 28, -1, -1, -1},
    {"chkDirectPrint", 8, 43, -1, -1, -1},
#if VK_COMPAT_BUILD
    {"grpAlarm", 242, 96, 146, -1, 4},
#else
    {"chkNotify", 241, 120, -1, -1, 4},
    {"btnNotify", 350, 116, -1, -1, -1},
#endif
    {"grpNote", 8, 152, 420, 99, 5},
    {"lblNoteID", 22, 16, -1, -1, -1},
    {"lblNote1", 10, 39, -1, -1, -1},
    {"lblNote2", 10, 59, -1, -1, -1},
    {"lblNote3", 10, 79, -1, -1, -1},
    {"edNoteID", 53, 12, 65, -1, -1},
    {"edNote1", 53, 34, 365, -1, -1},
    {"edNote2", 53, 54, 365, -1, -1},
    {"edNote3", 53, 74, 365, -1, -1},
    {"chkNoteEPPrint", 148, 15, 261, -1, -1},
    {"grpSignIn", 8, 256, 420, 99, 6},
    {"lblSignInID", 22, 16, -1, -1, -1},
    {"lblSignIn1", 9, 38, -1, -1, -1},
    {"lblSignIn2", 9, 58, -1, -1, -1},
    {"lblSignIn3", 9, 78, -1, -1, -1},
    {"edSignInID", 53, 12, 65, -1, -1},
    {"edSignIn1", 53, 34, 365, -1, -1},
    {"edSignIn2", 53, 54, 365, -1, -1},
    {"edSignIn3", 53, 74, 365, -1, -1},
    {"chkSignInEPPrint", 148, 16, -1, -1, -1},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.Name);
    auto* c = dynamic_cast<vcl::TControl*>(form->FindComponent(p.Name));
    ASSERT_NE(c, nullptr);
    if (p.Left >= 0) {
      EXPECT_EQ(c->Left(), p.Left);
    }
    if (p.Top >= 0) {
      EXPECT_EQ(c->Top(), p.Top);
    }
    if (p.Width >= 0) {
      EXPECT_EQ(c->Width(), p.Width);
    }
    if (p.Height >= 0) {
      EXPECT_EQ(c->Height(), p.Height);
    }
    if (p.TabOrder >= 0) {
      EXPECT_EQ(dynamic_cast<vcl::TWinControl*>(c)->TabOrder(), p.TabOrder);
    }
  }
  // The lookup buttons sit beside their edits.
  EXPECT_EQ(form->btnNote->F2Control(), form->edNoteID);
  EXPECT_EQ(form->btnSignIn->F2Control(), form->edSignInID);
  EXPECT_EQ(form->btnPrintDate->F2Control(), form->edPrintDate);
  EXPECT_EQ(form->btnNote->Left(), form->edNoteID->Left() + form->edNoteID->Width() + 2);
}

}  // namespace
}  // namespace ReportTest

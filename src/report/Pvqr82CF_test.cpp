// The goods-receipt list's window on the default installation: its
// controls after initialisation, the fifteen captions and values of its
// job, the price right, its lookups and the exit checks of the plant and
// currency codes.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioGroup.h"
#include "platform/vcl/ComCtrls.h"
#include "report/test/ReportTestSupport.h"

namespace ReportTest {
namespace {

using platform::VarArrayOf;
using platform::Variant;
using SelectPnl::TSelectPanel;
using Strings = std::vector<std::string>;

constexpr char kRange[] = "\x04";
constexpr char kList[] = "\x05";
constexpr char kBlankReceipt[] = "    -           ";

class Pvqr82Test : public ReportWindowTest {};

TEST(ReceiptNumberText, IsReLaidThroughTheMaskWithItsLiteral) {
  const struct {
    const char* Text;
    const char* Mask;
    const char* Laid;
  } cases[] = {
      {"AB  123        ", Pvqr82CF::kReceiptMask, "AB  -123        "},   // as the edit's Text
      {"AB  -123        ", Pvqr82CF::kReceiptMask, "AB  -123        "},  // as a list row
      {"3101-00000000001", Pvqr82CF::kReceiptMask, "3101-00000000001"},
      {"", Pvqr82CF::kReceiptMask, kBlankReceipt},
      {"AB-123", "", "AB123"},
      {" A-1-2 ", "", "A12"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Pvqr82CF::ReceiptNumberText(c.Text, c.Mask), c.Laid) << c.Text << " / " << c.Mask;
}

TEST_F(Pvqr82Test, InitialisationSetsLimitsDefaultsAndPageEnds) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  EXPECT_EQ(form->Name(), "frmPvqr82");

  EXPECT_EQ(form->sp01->EditMask(), "!aaaa-aaaaaaaaaaa;0; ");
  for (vcl::TCustomEdit* e : {static_cast<vcl::TCustomEdit*>(form->sp01->edBegin()),
                              static_cast<vcl::TCustomEdit*>(form->sp01->edFinal())})
    EXPECT_EQ(e->MaxLength(), 16);
  for (vcl::TCustomEdit* e : {static_cast<vcl::TCustomEdit*>(form->sp04->edBegin()),
                              static_cast<vcl::TCustomEdit*>(form->sp04->edFinal())})
    EXPECT_EQ(e->MaxLength(), 10);
  EXPECT_EQ(form->ed05->MaxLength(), 6);
  EXPECT_EQ(form->ed06->MaxLength(), 4);

  EXPECT_EQ(form->rg02->ItemIndex(), 0);
  EXPECT_EQ(form->rg02->Columns(), 2);
  EXPECT_EQ(form->cbo07->ItemIndex(), 0);
  EXPECT_EQ(form->cbo08->ItemIndex(), 0);
  EXPECT_FALSE(form->chk09->Checked());
  EXPECT_FALSE(form->chk10->Checked());
  const auto& ends = form->PageEndControls;
  EXPECT_NE(std::find(ends.begin(), ends.end(), form->ed06), ends.end());
  EXPECT_NE(std::find(ends.begin(), ends.end(), form->chk11), ends.end());

  // The second condition page comes right after the first.
  EXPECT_EQ(form->pgOption->Pages(1), form->TabSheet1);
  EXPECT_EQ(form->TabSheet1->Caption(), "高级选项");
  EXPECT_EQ(form->pgOption->Pages(form->pgOption->PageCount() - 1), form->tsPeriodOption);
}

TEST_F(Pvqr82Test, SelectPanelsAreSetUpAsTheWindowDescribesThem) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  struct Case {
    TSelectPanel* Panel;
    const char* Caption;
    SelectPnl::TSelectStyle Style;
    SelectPnl::TValueType ValueType;  // sp03 as a registered date field
    bool UseVertical;
    int GlyphIndex;
    const char* Hint1;
    const char* Hint5;
  } cases[] = {
      {form->sp01, "选择进货单号", SelectPnl::sp_UserChoice, SelectPnl::vt_String, false, 8,
       "[F2]进货单号信息查询", "[F2]进货单号信息查询"},
      {form->sp03, "选择日期", SelectPnl::sp_Range, SelectPnl::vt_Date, true, 9, "[F2]日期快手",
       "多选-己选择的信息"},
      {form->sp04, "选择供应商编号", SelectPnl::sp_UserChoice, SelectPnl::vt_String, false, 61,
       "[F2]供应商编号信息查询", "[F2]供应商编号信息查询"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Panel->Name());
    EXPECT_EQ(c.Panel->Caption(), c.Caption);
    EXPECT_EQ(c.Panel->Style(), c.Style);
    EXPECT_EQ(c.Panel->ValueType(), c.ValueType);
    EXPECT_EQ(c.Panel->UseVertical(), c.UseVertical);
    EXPECT_EQ(c.Panel->GlyphIndex(), c.GlyphIndex);
    EXPECT_TRUE(c.Panel->UserChoice());
    EXPECT_TRUE(c.Panel->IsRangeMode());
    EXPECT_EQ(c.Panel->HintWord(), "区间选择");
    EXPECT_EQ(c.Panel->OtherWidth(), 353);
    EXPECT_EQ(c.Panel->OtherHeight(), 45);
    EXPECT_EQ(c.Panel->BeginWords()->Get(1), "起");
    EXPECT_EQ(c.Panel->FinalWords()->Get(0), "止");
    ASSERT_EQ(c.Panel->ChildHints()->Count(), 9);
    EXPECT_EQ(c.Panel->ChildHints()->Get(0), "用户自定输入方式");
    EXPECT_EQ(c.Panel->ChildHints()->Get(1), c.Hint1);
    EXPECT_EQ(c.Panel->ChildHints()->Get(5), c.Hint5);
    EXPECT_EQ(c.Panel->ChildHints()->Get(8), "多选-删除己选信息");
    EXPECT_EQ(c.Panel->edBegin()->Hint(), c.Hint1);
  }
}

// ---------------------------------------------------------------------------
// The request.

TEST_F(Pvqr82Test, TheJobCarriesFifteenCaptionsWithTheirControls) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  ASSERT_TRUE(form->BuildRequest());
  const Variant captions = form->Request[1];
  ASSERT_EQ(captions.LowBound(), 1);
  ASSERT_EQ(captions.HighBound(), 15);
  const Strings expected[] = {
      {"选择进货单号", "sp01"},      {"日期选择", "rg02"},        {"选择日期", "sp03"},
      {"选择供应商编号", "sp04"},    {"选择进货工厂", "ed05"},    {"选择币种", "ed06"},
      {"选择审核状态", "cbo07"},     {"选择结账状态", "cbo08"},   {"仅打印暂不付款者", "chk09"},
      {"仅打印无采购单者", "chk10"}, {"打印单价金额", "chk11"},   {"签核", "grpSignIn"},
      {"页脚", "grpNote"},           {"日期类型", "cboDateType"}, {"制表日期", "edPrintDate"},
  };
  for (int i = 1; i <= 15; ++i) EXPECT_EQ(Texts(captions[i]), expected[i - 1]) << i;
}

TEST_F(Pvqr82Test, DefaultValuesOfTheFifteenConditions) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  ASSERT_TRUE(form->BuildRequest());
  const Variant values = form->Request[2];
  ASSERT_EQ(values.LowBound(), 1);
  ASSERT_EQ(values.HighBound(), 15);
  const Strings expected[] = {
      {kRange, kBlankReceipt, kBlankReceipt},
      {"1", "单据日"},
      {kRange, "", ""},
      {kRange, "", ""},
      {""},
      {""},
      {"1", "已审核"},
      {"1", "未结账"},
      {"N"},
      {"N"},
      {"Y"},
      {"每页打印签核", "False", "S01", "制表：", "审核：", "核准："},
      {"每页打印页脚", "False", "N01", "本报表仅供内部使用", "如有疑问请联系采购部", ""},
      {"1", "公历 YYYYMMDD"},
      {""},
  };
  for (int i = 1; i <= 15; ++i) {
    const Variant& v = values[i];
    EXPECT_EQ(v.IsArray() ? Texts(v) : Strings{platform::VarToStr(v)}, expected[i - 1]) << i;
  }
  EXPECT_EQ(form->Request[0][14].AsString(), "A");
}

TEST_F(Pvqr82Test, EachControlGivesItsValueItsOwnWay) {
  struct Case {
    const char* Name;
    std::function<void(TfrmTestPvqr82*)> Enter;
    int Element;
    Strings Value;
    const char* DataType;
  } cases[] = {
      {"acceptance dates", [](auto* f) { f->rg02->SetItemIndex(1); }, 2, {"2", "验收日"}, "B"},
      {"all approvals", [](auto* f) { f->cbo07->SetItemIndex(3); }, 7, {"4", "全部"}, "A"},
      {"cancelled", [](auto* f) { f->cbo07->SetItemIndex(2); }, 7, {"3", "作废"}, "A"},
      {"all closings", [](auto* f) { f->cbo08->SetItemIndex(2); }, 8, {"3", "全部"}, "A"},
      {"chk09", [](auto* f) { f->chk09->SetChecked(true); }, 9, {"Y"}, "A"},
      {"chk10", [](auto* f) { f->chk10->SetChecked(true); }, 10, {"Y"}, "A"},
      {"chk11 off", [](auto* f) { f->chk11->SetChecked(false); }, 11, {"N"}, "A"},
      {"plant", [](auto* f) { f->ed05->SetText("P01"); }, 5, {"P01"}, "A"},
      {"currency", [](auto* f) { f->ed06->SetText("USD"); }, 6, {"USD"}, "A"},
      {"dates end first",
       [](auto* f) {
         f->sp03->edBegin()->SetText("2024/03/05");
         f->sp03->edFinal()->SetText("2024/01/15");
       },
       3,
       {kRange, "20240115", "20240305"},
       "A"},
      {"begin date only",
       [](auto* f) { f->sp03->edBegin()->SetText("2024/03/05"); },
       3,
       {kRange, "20240305", ""},
       "A"},
      {"supplier range",
       [](auto* f) {
         f->sp04->edBegin()->SetText("S001");
         f->sp04->edFinal()->SetText("S009");
       },
       4,
       {kRange, "S001", "S009"},
       "A"},
      {"receipt range",
       [](auto* f) {
         f->sp01->edBegin()->SetText("AB  -123        ");
         f->sp01->edFinal()->SetText("AC  -9          ");
       },
       1,
       {kRange, "AB  -123        ", "AC  -9          "},
       "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* form = OpenReport();
    ASSERT_TRUE(Initialized);
    c.Enter(form);
    ASSERT_TRUE(form->BuildRequest());
    const Variant& v = form->Request[2][c.Element];
    EXPECT_EQ(v.IsArray() ? Texts(v) : Strings{platform::VarToStr(v)}, c.Value);
    EXPECT_EQ(form->Request[0][14].AsString(), c.DataType);
  }
}

TEST_F(Pvqr82Test, PicksTravelAsListsOfRows) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  form->sp04->SetUserChoice(false);
  form->sp04->ListBox()->AddRow({"S001", "甲公司"});
  form->sp04->ListBox()->AddRow({"S002", "乙公司"});
  form->sp01->SetUserChoice(false);
  form->sp01->ListBox()->AddRow({"AB  -123        "});
  form->sp01->ListBox()->AddRow({"C   -9          "});
  ASSERT_TRUE(form->BuildRequest());

  const Variant suppliers = form->Request[2][4];
  ASSERT_EQ(suppliers.LowBound(), 0);
  ASSERT_EQ(suppliers.HighBound(), 2);
  EXPECT_EQ(suppliers[0].AsString(), kList);
  EXPECT_EQ(Texts(suppliers[1]), (Strings{"S001", "甲公司"}));
  EXPECT_EQ(Texts(suppliers[2]), (Strings{"S002", "乙公司"}));

  const Variant receipts = form->Request[2][1];
  ASSERT_EQ(receipts.HighBound(), 2);
  EXPECT_EQ(receipts[0].AsString(), kList);
  EXPECT_EQ(Texts(receipts[1]), (Strings{"AB  -123        "}));
  EXPECT_EQ(Texts(receipts[2]), (Strings{"C   -9          "}));
}

TEST_F(Pvqr82Test, PrintingPricesFollowsTheUsersRight) {
  struct Case {
    const char* User;
    bool Right;  // position 8 of the rights text is not "N"
  } cases[] = {
      {"DS", true},     // YYYYYYYY
      {"U002", false},  // YYYYYYYN for this program
      {"U003", false},  // YNNNYYNN
      {"U004", true},   // YNNNYY: no eighth flag
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.User);
    auto* form = OpenReport({.User = c.User});
    ASSERT_TRUE(Initialized);
    EXPECT_EQ(form->RightsFlag8, c.Right);
    EXPECT_EQ(form->chk11->Checked(), c.Right);
    EXPECT_EQ(form->chk11->Enabled(), c.Right);
    ASSERT_TRUE(form->BuildRequest());
    EXPECT_EQ(form->Request[2][11].AsString(), c.Right ? "Y" : "N");
  }
}

// ---------------------------------------------------------------------------
// Lookups.

TEST_F(Pvqr82Test, ReceiptLookupInRangeModeLaysTheChosenNumberIntoTheEdit) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  LookupScript script;
  form->Lookups = &script;
  script.Rows = VarArrayOf({VarArrayOf({Variant("AB"), Variant("123"), Variant("20240105")})});
  form->sp01->edBegin()->SetText("XY  -45         ");
  form->LookupKey(vcl::VK_F2, form->sp01->edBegin());

  ASSERT_EQ(script.Calls.size(), 1u);
  const LookupCall& call = script.Calls[0];
  EXPECT_EQ(call.Table, "ASTTO");
  EXPECT_EQ(call.Kind, "01");
  EXPECT_FALSE(call.Multi);
  EXPECT_EQ(call.Text, "");
  EXPECT_EQ(Texts(call.Key), (Strings{"XY  ", "45         "}));
  EXPECT_EQ(form->sp01->edBegin()->EditText(), "AB  -123        ");
  EXPECT_EQ(form->sp01->edFinal()->EditText(), kBlankReceipt);

  // Nothing chosen, or an answer without rows: the edit keeps its number.
  for (const Variant& nothing : {Variant(), platform::VarArrayCreate({{0, -1}})}) {
    script.Rows = nothing;
    form->LookupKey(vcl::VK_F2, form->sp01->edBegin());
    EXPECT_EQ(form->sp01->edBegin()->EditText(), "AB  -123        ");
  }
  EXPECT_EQ(script.Calls.size(), 3u);
}

TEST_F(Pvqr82Test, ReceiptLookupInListModeAddsEveryChosenNumber) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  LookupScript script;
  form->Lookups = &script;
  form->sp01->SetUserChoice(false);
  script.Rows = VarArrayOf({VarArrayOf({Variant("AB"), Variant("123")}),
                            VarArrayOf({Variant("3101"), Variant("20240100001")})});
  form->LookupKey(vcl::VK_F2, form->sp01->ListBox());
  ASSERT_EQ(script.Calls.size(), 1u);
  EXPECT_TRUE(script.Calls[0].Multi);
  vcl::TListItems* items = form->sp01->Items();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(items->Item(0)->Caption(), "AB  -123        ");
  EXPECT_EQ(items->Item(1)->Caption(), "3101-20240100001");
}

TEST_F(Pvqr82Test, CodeLookupsAskTheirTableWithTheEditsText) {
  struct Case {
    const char* Name;
    std::function<vcl::TWinControl*(TfrmTestPvqr82*)> Control;
    const char* Typed;
    const char* Table;
    Variant Rows;
    const char* Result;
  } cases[] = {
      {"ed05", [](auto* f) { return f->ed05; }, "P0", "CMSMB",
       VarArrayOf({VarArrayOf({Variant("P04"), Variant("天津工厂")})}), "P04"},
      {"ed06", [](auto* f) { return f->ed06; }, "U", "CMSMF",
       VarArrayOf({VarArrayOf({Variant("USD"), Variant("美元")})}), "USD"},
      {"sp04 begin", [](auto* f) { return f->sp04->edBegin(); }, "S0", "PURMA",
       VarArrayOf({VarArrayOf({Variant("S00012"), Variant("某公司")})}), "S00012"},
      {"ed05, nothing chosen", [](auto* f) { return f->ed05; }, "P0", "CMSMB", Variant(), "P0"},
      {"ed06, no rows", [](auto* f) { return f->ed06; }, "U", "CMSMF",
       platform::VarArrayCreate({{0, -1}}), "U"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* form = OpenReport();
    ASSERT_TRUE(Initialized);
    LookupScript script;
    form->Lookups = &script;
    script.Rows = c.Rows;
    vcl::TWinControl* control = c.Control(form);
    control->SetText(c.Typed);
    form->LookupKey(vcl::VK_F2, control);
    ASSERT_EQ(script.Calls.size(), 1u);
    EXPECT_EQ(script.Calls[0].Table, c.Table);
    EXPECT_EQ(script.Calls[0].Kind, "01");
    EXPECT_FALSE(script.Calls[0].Multi);
    EXPECT_EQ(script.Calls[0].Text, c.Typed);
    EXPECT_EQ(Texts(script.Calls[0].Key), (Strings{""}));
    EXPECT_EQ(control->Text(), c.Result);
  }
}

TEST_F(Pvqr82Test, PlantLookupThroughTheHostsLookupWindow) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  int windows = 0;
  OnForm = [&windows](vcl::TCustomForm& lookup) {
    ++windows;
    auto* rows = dynamic_cast<vcl::TListView*>(lookup.FindComponent("lvRows"));
    ASSERT_NE(rows, nullptr);
    ASSERT_GE(rows->Items()->Count(), 4);
    rows->SetSelected(rows->Items()->Item(3));
    dynamic_cast<vcl::TButton*>(lookup.FindComponent("btnOk"))->Click();
  };
  form->LookupKey(vcl::VK_F2, form->ed05);
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(form->ed05->Text(), "P04");
}

TEST_F(Pvqr82Test, F2OnADateEditAsksTheDatePicker) {
  struct Case {
    const char* Name;
    bool Pick;
    const char* Result;
  } cases[] = {
      {"a date picked", true, "2024/03/20"},
      {"the picker cancelled", false, "2024/01/05"},
  };
  for (const Case& c : cases) {
    auto* form = OpenReport();
    ASSERT_TRUE(Initialized);
    for (vcl::TCustomEdit* edit : {static_cast<vcl::TCustomEdit*>(form->sp03->edBegin()),
                                   static_cast<vcl::TCustomEdit*>(form->sp03->edFinal())}) {
      SCOPED_TRACE(std::string(c.Name) + ", " + edit->Name());
      edit->SetText("2024/01/05");
      int windows = 0;
      OnForm = [&windows, &c](vcl::TCustomForm& picker) {
        ++windows;
        if (!c.Pick) {
          picker.SetModalResult(vcl::mrCancel);
          return;
        }
        auto* date = dynamic_cast<vcl::TEdit*>(picker.FindComponent("edDate"));
        ASSERT_NE(date, nullptr);
        date->SetText("2024/03/20");
        dynamic_cast<vcl::TButton*>(picker.FindComponent("btnOk"))->Click();
      };
      form->LookupKey(vcl::VK_F2, edit);
      EXPECT_EQ(windows, 1);
      EXPECT_EQ(edit->Text(), c.Result);
    }
  }
}

TEST_F(Pvqr82Test, F2OnAPanelsChoiceBoxLooksNothingUp) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  LookupScript script;
  form->Lookups = &script;
  script.Rows = VarArrayOf({VarArrayOf({Variant("AB"), Variant("123")})});
  int windows = 0;
  OnForm = [&windows](vcl::TCustomForm& window) {
    ++windows;
    window.SetModalResult(vcl::mrCancel);
  };
  for (TSelectPanel* panel : {form->sp01, form->sp03, form->sp04}) {
    SCOPED_TRACE(panel->Name());
    const std::string caption = panel->ChoiceBox()->Caption();
    const std::string begin = panel->edBegin()->Text();
    form->LookupKey(vcl::VK_F2, panel->ChoiceBox());
    EXPECT_EQ(panel->ChoiceBox()->Caption(), caption);
    EXPECT_EQ(panel->edBegin()->Text(), begin);
    EXPECT_EQ(panel->Items()->Count(), 0);
  }
  EXPECT_TRUE(script.Calls.empty());
  EXPECT_EQ(windows, 0);
}

// ---------------------------------------------------------------------------
// Condition schemes.

TEST_F(Pvqr82Test, ASchemeOfTheConditionsComesBackIntoAnotherWindow) {
  auto* source = OpenReport();
  ASSERT_TRUE(Initialized);
  // The conditions' controls, page by page in tab order, before the report
  // window's footer and sign-off controls.
  const std::string conditions =
      "sp01.style;rg02.itemindex;sp03.style;sp04.style;ed05.text;ed06.text;"
      "cbo07.itemindex;cbo08.itemindex;chk09.checked;chk10.checked;chk11.checked;";
  const std::string properties = source->SchemeProperties;
  ASSERT_EQ(properties.substr(0, conditions.size()), conditions);
  EXPECT_EQ(properties.substr(conditions.size(), 14), "edNoteID.text;");

  source->sp01->edBegin()->SetText("AB  -123        ");
  source->sp01->edFinal()->SetText("3101-20240100001");
  source->rg02->SetItemIndex(1);
  source->sp03->edBegin()->SetText("2024/02/10");
  source->sp03->edFinal()->SetText("2024/01/05");
  source->sp04->SetUserChoice(false);
  source->sp04->ListBox()->AddRow({"S001", "甲公司"});
  source->sp04->ListBox()->AddRow({"S002"});
  source->ed05->SetText("P01");
  source->ed06->SetText("USD");
  source->cbo07->SetItemIndex(2);
  source->cbo08->SetItemIndex(1);
  source->chk09->SetChecked(true);
  source->chk11->SetChecked(false);
  source->edNote2->SetText("第二行");
  // The date range's record as the scheme dialog leaves it: no shifts.
  const std::string etx = "\x03";
  source->SchemeDateRules->Add("0" + etx + "sp03" + etx + "N" + etx + "0" + etx + "0" + etx + "0" +
                               etx + "0" + etx + "N" + etx + "0" + etx + "0" + etx + "0" + etx +
                               "0" + etx + "D");
  ASSERT_TRUE(source->BuildRequest());
  const std::string values = source->SchemeValueText(properties);

  auto* target = OpenReport();
  ASSERT_TRUE(Initialized);
  ASSERT_TRUE(target->RestoreScheme(properties, values));
  ASSERT_TRUE(target->BuildRequest());
  for (int i = 1; i <= 15; ++i)
    EXPECT_EQ(Show(target->Request[2][i]), Show(source->Request[2][i])) << i;
  EXPECT_EQ(Show(target->Request[2][3]), "['\x04','20240105','20240210']");
  EXPECT_EQ(target->Request[0][14].AsString(), "B");
}

// ---------------------------------------------------------------------------
// Exit checks.

TEST_F(Pvqr82Test, PlantAndCurrencyAreCheckedOnExit) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  form->Show();
  TakeMessages();
  const Strings refused = {"输入的代码不存在，请重新输入！"};
  struct Case {
    const char* Edit;
    const char* Code;
    bool Error;
  } cases[] = {
      {"ed05", "P01", false}, {"ed05", "P99", true}, {"ed05", "", false}, {"ed05", "   ", true},
      {"ed06", "USD", false}, {"ed06", "usd", true}, {"ed06", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Edit) + " '" + c.Code + "'");
    auto* edit = dynamic_cast<vcl::TEdit*>(form->FindComponent(c.Edit));
    // Elsewhere first, leaving both code edits empty.
    form->ed05->SetText("");
    form->ed06->SetText("");
    form->sp04->edBegin()->SetFocus();
    TakeMessages();
    form->InputError = !c.Error;
    edit->SetText(c.Code);
    if (edit == form->ed05)
      form->ed05Exit(edit);
    else
      form->ed06Exit(edit);
    EXPECT_EQ(form->InputError, c.Error);
    EXPECT_EQ(TakeMessages(), c.Error ? refused : Strings{});
    if (c.Error) {
      EXPECT_EQ(form->ActiveControl(), edit);
      EXPECT_EQ(edit->SelText(), c.Code);
    }
  }
}

TEST_F(Pvqr82Test, LeavingForCancelIsNotCheckedInTheCurrentBuild) {
  auto* form = OpenReport();
  ASSERT_TRUE(Initialized);
  form->Show();
  TakeMessages();
  form->ed05->SetText("P99");
  form->btnCancel->SetFocus();
  form->ed05Exit(form->ed05);
  // The earlier generation checks whatever has the focus.
  EXPECT_EQ(form->InputError, VK_COMPAT_BUILD != 0);
  EXPECT_EQ(TakeMessages().size(), VK_COMPAT_BUILD ? 1u : 0u);
}

TEST_F(Pvqr82Test, AnOpenedSchemeRunsBothChecksPlantFirst) {
  struct Case {
    const char* Plant;
    const char* Currency;
    size_t Messages;
    bool Error;
    const char* Focused;
  } cases[] = {
      {"P99", "XXX", 2, true, "ed06"},   // both wrong: the currency's check runs last
      {"P99", "USD", 1, false, "ed05"},  // the currency's check clears the error flag
      {"P01", "XXX", 1, true, "ed06"},
      {"P01", "", 0, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Plant) + "/" + c.Currency);
    auto* form = OpenReport();
    ASSERT_TRUE(Initialized);
    form->Show();
    form->sp04->edBegin()->SetFocus();
    TakeMessages();
    form->ed05->SetText(c.Plant);
    form->ed06->SetText(c.Currency);
    form->SchemeOpened();
    EXPECT_EQ(TakeMessages().size(), c.Messages);
    EXPECT_EQ(form->InputError, c.Error);
    if (*c.Focused) {
      EXPECT_EQ(form->ActiveControl()->Name(), c.Focused);
    }
  }
}

}  // namespace
}  // namespace ReportTest

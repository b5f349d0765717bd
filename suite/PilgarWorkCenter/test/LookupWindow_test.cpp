// The lookup window opened through the lookup service and answered
// headlessly through the modal hook: searching, single and multiple choice,
// leaving, the key and the base-data limits, and what refuses to open.

#include <gtest/gtest.h>

#include "platform/core/CodePage.h"
#include "platform/core/Dispatch.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/PilgarWorkCenter/LookupWindow.h"
#include "suite/PilgarWorkCenter/test/LookupArgs.h"
#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

namespace pilgarwc::test {
namespace {

using platform::CallMethod;
using platform::VarArrayOf;
using platform::Variant;

// The codes (column 0) of the rows the window lists.
std::vector<std::string> ListedCodes(vcl::TCustomForm& form) {
  std::vector<std::string> codes;
  vcl::TListItems* items = Part<vcl::TListView>(form, "lvRows")->Items();
  for (int i = 0; i < items->Count(); ++i) codes.push_back(items->Item(i)->Caption());
  return codes;
}

std::vector<std::string> Codes(const Variant& rows) {
  std::vector<std::string> codes;
  if (!rows.IsArray()) return codes;
  for (const Variant& row : rows.Array().Items()) codes.push_back(row[0].AsString());
  return codes;
}

using Strings = std::vector<std::string>;

class LookupWindowTest : public SuiteTest {
 protected:
  void SetUp() override {
    SuiteTest::SetUp();
    lookup_ = CallMethod(NewHost(), "Com_F2Window");
  }
  Variant Lookup(const Variant& args) { return CallMethod(lookup_, "F2GetData", {args}); }
  Variant lookup_;
};

TEST_F(LookupWindowTest, TypingFiltersTheRowsByCodeOrName) {
  ModalAnswers answers([](vcl::TCustomForm& form) {
    EXPECT_EQ(form.ClassName(), "TfrmLookup");
    EXPECT_EQ(form.Caption(), "币种信息查询 - CMSMF");
    auto* search = Part<vcl::TEdit>(form, "edSearch");
    auto* rows = Part<vcl::TListView>(form, "lvRows");
    EXPECT_EQ(search->Text(), "");
    EXPECT_FALSE(rows->MultiSelect());
    EXPECT_EQ(rows->ViewStyle(), vcl::vsReport);
    ASSERT_EQ(rows->Columns()->Count(), 4);
    EXPECT_EQ(rows->Columns()->Items(0)->Caption(), "币种");
    EXPECT_EQ(rows->Columns()->Items(1)->Caption(), "名称");
    EXPECT_EQ(ListedCodes(form), (Strings{"EUR", "HKD", "JPY", "NTD", "RMB", "USD"}));
    EXPECT_EQ(rows->Items()->Item(4)->SubItems()->Get(0), "人民币");

    vcl::SimulateText(search, "h");  // a code starts with it
    EXPECT_EQ(ListedCodes(form), (Strings{"HKD"}));
    vcl::SimulateKey(search, vcl::VK_BACK);
    EXPECT_EQ(ListedCodes(form).size(), 6u);
    search->SetText("元");  // names that hold it
    EXPECT_EQ(ListedCodes(form), (Strings{"EUR", "JPY", "USD"}));
    search->SetText("XYZ");
    EXPECT_TRUE(ListedCodes(form).empty());
    search->SetText("us");
    // A single choice starts on the first row: Enter takes it.
    vcl::SimulateKey(search, vcl::VK_RETURN);
  });
  EXPECT_EQ(Codes(Lookup(F2Args("CMSMF", VarArrayOf({Variant("")}), false, Variant("")))),
            (Strings{"USD"}));
  EXPECT_EQ(answers.Forms(), 1);
}

TEST_F(LookupWindowTest, TheStartingTextNarrowsTheFirstRowsAndStaysInTheSearchBox) {
  struct Case {
    Variant Text;
    int SystemCodePage;
    const char* Shown;
    Strings Codes;
  } cases[] = {
      {Variant("P0"), 936, "P0", {"P01", "P02", "P03", "P04", "P05", "P06"}},
      {Variant("P03"), 936, "P03", {"P03"}},
      {Variant("苏州"), 936, "苏州", {"P02"}},
      // A wide text arrives as GB bytes, whatever the system's code page.
      {Variant(u"苏州"), 936, "苏州", {"P02"}},
      {Variant(u"苏州"), 950, "苏州", {"P02"}},
      {Variant(u"苏州"), 437, "苏州", {"P02"}},
      {Variant(), 936, "", {"P01", "P02", "P03", "P04", "P05", "P06"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Shown) + " in " + std::to_string(c.SystemCodePage));
    platform::SetSystemCodePage(c.SystemCodePage);
    Strings listed;
    std::string shown;
    ModalAnswers answers([&](vcl::TCustomForm& form) {
      listed = ListedCodes(form);
      shown = Part<vcl::TEdit>(form, "edSearch")->Text();
      Part<vcl::TButton>(form, "btnCancel")->Click();
    });
    EXPECT_TRUE(Lookup(F2Args("CMSMB", VarArrayOf({Variant("")}), false, c.Text)).IsEmpty());
    EXPECT_EQ(listed, c.Codes);
    EXPECT_EQ(shown, c.Shown);
  }
}

TEST_F(LookupWindowTest, SingleChoiceTakesTheChosenRowByButtonEnterOrDoubleClick) {
  enum How { Button, Enter, DoubleClick };
  for (How how : {Button, Enter, DoubleClick}) {
    SCOPED_TRACE(how);
    ModalAnswers answers([how](vcl::TCustomForm& form) {
      auto* rows = Part<vcl::TListView>(form, "lvRows");
      ASSERT_EQ(rows->Items()->Count(), 6);
      EXPECT_TRUE(rows->Items()->Item(0)->Selected());  // where a single choice starts
      rows->SetSelected(rows->Items()->Item(3));
      EXPECT_EQ(rows->SelCount(), 1);
      if (how == Button) Part<vcl::TButton>(form, "btnOk")->Click();
      if (how == Enter) vcl::SimulateKey(rows, vcl::VK_RETURN);
      if (how == DoubleClick) rows->DblClick();
    });
    const Variant rows = Lookup(F2Args("CMSMB", VarArrayOf({Variant("")}), false, Variant("")));
    ASSERT_EQ(Codes(rows), (Strings{"P04"}));
    EXPECT_EQ(rows[0].HighBound(), 3);  // every column of the row
    EXPECT_EQ(rows[0][1].AsString(), "天津工厂");
  }
}

TEST_F(LookupWindowTest, MultipleChoiceAnswersEveryChosenRowInListOrder) {
  ModalAnswers answers([](vcl::TCustomForm& form) {
    auto* rows = Part<vcl::TListView>(form, "lvRows");
    EXPECT_TRUE(rows->MultiSelect());
    EXPECT_EQ(rows->SelCount(), 0);  // nothing is chosen for the user
    rows->Items()->Item(4)->SetSelected(true);
    rows->Items()->Item(1)->SetSelected(true);
    rows->Items()->Item(2)->SetSelected(true);
    EXPECT_EQ(rows->SelCount(), 3);
    Part<vcl::TButton>(form, "btnOk")->Click();
  });
  EXPECT_EQ(Codes(Lookup(F2Args("CMSMF", VarArrayOf({Variant("")}), true, Variant("")))),
            (Strings{"HKD", "JPY", "RMB"}));
}

TEST_F(LookupWindowTest, LeavingOrChoosingNothingAnswersUnassigned) {
  enum How { Escape, Cancel, OkWithNothing, DoubleClickOnNothing };
  for (How how : {Escape, Cancel, OkWithNothing, DoubleClickOnNothing}) {
    SCOPED_TRACE(how);
    ModalAnswers answers([how](vcl::TCustomForm& form) {
      auto* rows = Part<vcl::TListView>(form, "lvRows");
      rows->Items()->Item(0)->SetSelected(true);
      if (how == Escape) vcl::SimulateKey(Part<vcl::TEdit>(form, "edSearch"), vcl::VK_ESCAPE);
      if (how == Cancel) Part<vcl::TButton>(form, "btnCancel")->Click();
      if (how == OkWithNothing) {
        rows->ClearSelection();
        Part<vcl::TButton>(form, "btnOk")->Click();
      }
      if (how == DoubleClickOnNothing) {
        rows->ClearSelection();
        rows->DblClick();  // stays open: the hook returns with no result
        EXPECT_EQ(form.ModalResult(), vcl::mrNone);
      }
    });
    EXPECT_TRUE(Lookup(F2Args("CMSMF", VarArrayOf({Variant("")}), true, Variant(""))).IsEmpty());
    EXPECT_EQ(answers.Forms(), 1);
  }
}

TEST_F(LookupWindowTest, KeyAndBaseDataLimitsNarrowTheRows) {
  struct Case {
    const char* Table;
    Variant Key;
    const char* Limits;
    bool Compat;
  } cases[] = {
      {"CMSMB", VarArrayOf({Variant("")}),
       "WH02\x03"
       "1\x03"
       "CMSMB=P03\x03",
       false},
      {"CMSMB", VarArrayOf({Variant("")}),
       "WH02\x03"
       "1\x03"
       "CMSMB=P03\x03",
       true},
      {"ASTTO", VarArrayOf({Variant("3402"), Variant("")}), "", false},
      {"ASTTO", VarArrayOf({Variant("3402"), Variant("")}), "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Table) + (c.Compat ? " 17 elements" : " 19 elements"));
    Strings listed;
    std::vector<std::string> types;
    ModalAnswers answers([&](vcl::TCustomForm& form) {
      listed = ListedCodes(form);
      Part<vcl::TButton>(form, "btnOk")->Click();
    });
    const Variant rows = Lookup(F2Args(c.Table, c.Key, false, Variant(""), c.Limits, c.Compat));
    ASSERT_FALSE(listed.empty());
    if (std::string(c.Table) == "CMSMB") {
      EXPECT_EQ(listed, (Strings{"P03"}));
    } else {
      for (const std::string& type : listed) EXPECT_EQ(type, "3402");
      ASSERT_TRUE(rows.IsArray());
      EXPECT_EQ(rows[0][0].AsString(), "3402");
      EXPECT_EQ(rows[0].HighBound(), 9);  // type, number, dates, supplier, ...
    }
  }
}

TEST_F(LookupWindowTest, WhatCannotBeLookedUpFailsBeforeAWindowOpens) {
  ModalAnswers answers([](vcl::TCustomForm&) { ADD_FAILURE() << "a window opened"; });
  EXPECT_THROW(Lookup(F2Args("NOSUCH", VarArrayOf({Variant("")}), false, Variant(""))),
               platform::EOleError);
  Variant shortArgs = platform::VarArrayCreate({{0, 4}});
  EXPECT_THROW(Lookup(shortArgs), platform::EBadArgument);
  EXPECT_THROW(Lookup(Variant("CMSMB")), platform::EBadArgument);
  Variant shifted = platform::VarArrayCreate({{1, 19}});
  EXPECT_THROW(Lookup(shifted), platform::EBadArgument);
  EXPECT_EQ(answers.Forms(), 0);
}

TEST(LookupCaptionTest, NamesTheTableAndItsCode) {
  EXPECT_EQ(LookupCaption("purma"), "供应商编号信息查询 - PURMA");
  EXPECT_EQ(LookupCaption(" ASTTO "), "进货单号信息查询 - ASTTO");
  EXPECT_EQ(LookupCaption("XYZAB"), "XYZAB 信息查询");
}

}  // namespace
}  // namespace pilgarwc::test

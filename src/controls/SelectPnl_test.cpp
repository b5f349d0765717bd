#include "controls/SelectPnl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "controls/test/ControlsFixture.h"
#include "platform/core/CodePage.h"
#include "platform/vcl/StdCtrls.h"

namespace {

using controls_test::ControlsTest;
using controls_test::FakeGlyphs;
using controls_test::SenderLog;
using namespace SelectPnl;

class SelectPanelTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    sp = Add<TSelectPanel>("sp01");
    sp->SetBounds(10, 10, 353, 45);
    sp->SetCaption("供应商");
    edOther = Add<vcl::TEdit>("edOther");
    edOther->SetBounds(10, 300, 100, 21);
  }
  // Rows of the list: caption and sub-items joined by "|".
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    vcl::TListItems* items = sp->Items();
    for (int i = 0; i < items->Count(); ++i) {
      std::string row = items->Item(i)->Caption();
      vcl::TStrings* subs = items->Item(i)->SubItems();
      for (int s = 0; s < subs->Count(); ++s) row += "|" + subs->Get(s);
      rows.push_back(row);
    }
    return rows;
  }
  // Enters the range and leaves the panel, as the user does.
  void EnterAndLeave(const std::string& begin, const std::string& final) {
    sp->edBegin()->SetText(begin);
    sp->edFinal()->SetText(final);
    sp->edBegin()->SetFocus();
    edOther->SetFocus();
  }
  TSelectPanel* sp = nullptr;
  vcl::TEdit* edOther = nullptr;
};

TEST_F(SelectPanelTest, ANewPanelOwnsItsNamedPartsAndHandsOutTheHints) {
  EXPECT_EQ(sp->Width(), 353);
  EXPECT_EQ(sp->Height(), 45);
  struct Part {
    const char* name;
    vcl::TControl* control;
    const char* className;
    const char* hint;  // nullptr: none
  };
  const Part parts[] = {
      {"ChoiceBox", sp->ChoiceBox(), "TYenCheckBox", "用户自定输入方式"},
      {"RangePanel", sp->RangePanel(), "TPanel", nullptr},
      {"BeginLabel", sp->BeginLabel(), "TLabel", nullptr},
      {"edBegin", sp->edBegin(), "TYenMaskEdit", "区间选择-起始信息"},
      {"BeginButton", sp->BeginButton(), "TF2Button", "区间选择-起始信息开窗"},
      {"FinalLabel", sp->FinalLabel(), "TLabel", nullptr},
      {"edFinal", sp->edFinal(), "TYenMaskEdit", "区间选择-截止信息"},
      {"FinalButton", sp->FinalButton(), "TF2Button", "区间选择-截止信息开窗"},
      {"ListPanel", sp->ListPanel(), "TPanel", nullptr},
      {"ListBox", sp->ListBox(), "TYenListView", "多选-己选择的信息"},
      {"ListButton", sp->ListButton(), "TF2Button", "多选-信息开窗"},
      {"DeleteButton", sp->DeleteButton(), "TGSpeedButton", "多选-删除一笔信息"},
      {"ClearButton", sp->ClearButton(), "TGSpeedButton", "多选-删除己选信息"},
  };
  for (const Part& p : parts) {
    SCOPED_TRACE(p.name);
    EXPECT_EQ(sp->FindComponent(p.name), p.control);
    EXPECT_EQ(p.control->ClassName(), p.className);
    if (p.hint) {
      EXPECT_EQ(p.control->Hint(), p.hint);
    }
  }
  EXPECT_EQ(sp->RangePanel()->Caption(), " ");
  EXPECT_EQ(sp->RangePanel()->BevelOuter(), vcl::bvNone);
  EXPECT_EQ(sp->edBegin()->Parent(), sp->RangePanel());
  EXPECT_EQ(sp->ListBox()->Parent(), sp->ListPanel());
  EXPECT_EQ(sp->ChoiceBox()->Caption(), "区间选择");
  EXPECT_EQ(sp->edBegin()->Height(), 24);
  EXPECT_EQ(sp->BeginButton()->F2Control(), sp->edBegin());
  for (vcl::TControl* b : {static_cast<vcl::TControl*>(sp->BeginButton()),
                           static_cast<vcl::TControl*>(sp->DeleteButton())}) {
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 23);
  }
  EXPECT_EQ(sp->BeginButton()->GlyphIndex(), 8);
  EXPECT_EQ(sp->DeleteButton()->GlyphIndex(), 47);
  EXPECT_EQ(sp->ClearButton()->GlyphIndex(), 4);
  EXPECT_EQ(sp->ClearButton()->NumGlyphs(), 2);
  vcl::TListView* list = sp->ListBox();
  EXPECT_EQ(list->ViewStyle(), vcl::vsReport);
  EXPECT_TRUE(list->MultiSelect());
  EXPECT_TRUE(list->RowSelect());
  EXPECT_TRUE(list->ReadOnly());
  EXPECT_FALSE(list->ShowColumnHeaders());
  EXPECT_EQ(list->SortType(), vcl::stNone);
  EXPECT_EQ(list->Cursor(), vcl::crHandPoint);
  EXPECT_EQ(sp->BlankText(), "");
  EXPECT_EQ(sp->SortColumn(), 0);
  EXPECT_TRUE(sp->SortAscending());
}

TEST_F(SelectPanelTest, ChildHintsAreHandedOutAsFarAsTheListReaches) {
  vcl::TStringList hints;
  hints.SetText("a\nb\nc");
  sp->SetChildHints(&hints);
  EXPECT_EQ(sp->ChildHints()->Count(), 3);
  EXPECT_EQ(sp->ChoiceBox()->Hint(), "a");
  EXPECT_EQ(sp->BeginButton()->Hint(), "c");
  EXPECT_EQ(sp->edFinal()->Hint(), "区间选择-截止信息");  // beyond the list: kept
  sp->ChildHints()->Put(1, "起始");                       // any change of the list is handed out
  EXPECT_EQ(sp->edBegin()->Hint(), "起始");
}

struct StyleCase {
  TSelectStyle style;
  bool userChoice;
  bool choiceVisible, rangeVisible, listVisible, rangeMode;
};

TEST_F(SelectPanelTest, EachStyleShowsItsParts) {
  const StyleCase cases[] = {
      {sp_Range, true, false, true, false, true},
      {sp_Discrete, true, false, false, true, false},
      {sp_UserChoice, true, true, true, false, true},
      {sp_UserChoice, false, true, false, true, false},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.style << "/" << c.userChoice);
    sp->SetStyle(c.style);
    sp->SetUserChoice(c.userChoice);
    EXPECT_EQ(sp->ChoiceBox()->Visible(), c.choiceVisible);
    EXPECT_EQ(sp->RangePanel()->Visible(), c.rangeVisible);
    EXPECT_EQ(sp->ListPanel()->Visible(), c.listVisible);
    EXPECT_EQ(sp->IsRangeMode(), c.rangeMode);
  }
}

TEST_F(SelectPanelTest, LeavingOrEnteringTheRangeStyleSwapsTheSizes) {
  sp->SetStyle(sp_Discrete);
  EXPECT_EQ(sp->Width(), 200);
  EXPECT_EQ(sp->Height(), 105);
  EXPECT_EQ(sp->OtherWidth(), 353);
  EXPECT_EQ(sp->OtherHeight(), 45);
  sp->SetStyle(sp_UserChoice);  // between list styles: no swap
  EXPECT_EQ(sp->Width(), 200);
  sp->SetStyle(sp_Range);
  EXPECT_EQ(sp->Width(), 353);
  EXPECT_EQ(sp->OtherWidth(), 200);

  sp->SetUseVertical(true);  // swaps too
  EXPECT_EQ(sp->Height(), 105);
  EXPECT_EQ(sp->OtherHeight(), 45);
  sp->SetStyle(sp_Discrete);  // vertical: no swap
  EXPECT_EQ(sp->Height(), 105);
  sp->SetUseVertical(false);  // only in sp_Range
  EXPECT_TRUE(sp->UseVertical());
}

TEST_F(SelectPanelTest, APanelBeingLoadedKeepsItsStoredSize) {
  form->BeginLoad();
  auto* loaded = new TSelectPanel(form);
  loaded->SetParent(form);
  loaded->SetBounds(0, 0, 200, 105);
  loaded->SetOtherWidth(353);
  loaded->SetOtherHeight(45);
  loaded->SetStyle(sp_Discrete);
  form->EndLoad();
  EXPECT_EQ(loaded->Width(), 200);
  EXPECT_EQ(loaded->OtherWidth(), 353);
}

struct StyleLog {
  TSelectStyle seenOld = sp_Range, seenNew = sp_Range, storedDuringChange = sp_Range;
  bool allow = true;
  bool redirect = false;
  TSelectPanel* panel = nullptr;
  void Changing(vcl::TObject*, TSelectStyle oldStyle, bool& allowChange, TSelectStyle& newStyle) {
    seenOld = oldStyle;
    allowChange = allow;
    if (redirect) newStyle = sp_UserChoice;
  }
  void Change(vcl::TObject*, TSelectStyle oldStyle, TSelectStyle newStyle) {
    seenOld = oldStyle;
    seenNew = newStyle;
    storedDuringChange = panel->Style();
  }
};

TEST_F(SelectPanelTest, OnStyleChangingMayVetoOrRedirectTheChange) {
  StyleLog log;
  log.panel = sp;
  sp->OnStyleChanging = vcl::MakeEvent<&StyleLog::Changing>(&log);
  sp->OnStyleChange = vcl::MakeEvent<&StyleLog::Change>(&log);
  log.allow = false;
  sp->SetStyle(sp_Discrete);
  EXPECT_EQ(sp->Style(), sp_Range);
  EXPECT_EQ(sp->Width(), 353);
  EXPECT_TRUE(sp->RangePanel()->Visible());

  log.allow = true;
  log.redirect = true;
  sp->SetStyle(sp_Discrete);
  EXPECT_EQ(sp->Style(), sp_UserChoice);
  EXPECT_EQ(log.seenOld, sp_Range);
  EXPECT_EQ(log.seenNew, sp_UserChoice);
  EXPECT_EQ(log.storedDuringChange, sp_Range);  // stored after OnStyleChange
  EXPECT_TRUE(sp->ChoiceBox()->Visible());
}

TEST_F(SelectPanelTest, TheChoiceBoxSwitchesBetweenRangeAndList) {
  sp->SetStyle(sp_UserChoice);
  SenderLog typeClicks;
  sp->OnTypeClick = typeClicks.Event();
  ASSERT_TRUE(sp->ChoiceBox()->Checked());
  vcl::SimulateClick(sp->ChoiceBox());
  EXPECT_FALSE(sp->UserChoice());
  EXPECT_FALSE(sp->RangePanel()->Visible());
  EXPECT_TRUE(sp->ListPanel()->Visible());
  EXPECT_EQ(typeClicks.senders, std::vector<vcl::TObject*>{sp});
  sp->SetUserChoice(true);  // from code: the same, with the box checked
  EXPECT_TRUE(sp->ChoiceBox()->Checked());
  EXPECT_TRUE(sp->RangePanel()->Visible());
  EXPECT_EQ(typeClicks.senders.size(), 2u);

  sp->SetStyle(sp_Range);  // elsewhere neither the box nor the setter acts
  sp->SetUserChoice(false);
  EXPECT_TRUE(sp->UserChoice());
  EXPECT_EQ(typeClicks.senders.size(), 2u);
}

TEST_F(SelectPanelTest, EditMaskSetsBlankTextAndKeepsTheBeginText) {
  SenderLog changes;
  sp->edBegin()->SetText("2005/03/01");
  sp->edBegin()->OnChange = changes.Event();
  sp->SetEditMask("9999/99/99;1; ");
  EXPECT_EQ(sp->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(sp->edBegin()->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(sp->edFinal()->EditMask(), "9999/99/99;1; ");
  EXPECT_EQ(sp->BlankText(), "    /  /  ");
  EXPECT_EQ(sp->edBegin()->Text(), "2005/03/01");
  EXPECT_TRUE(changes.senders.empty());
  EXPECT_FALSE(sp->edBegin()->ChangeEventsOff);
  sp->edBegin()->SetText("2006/01/01");  // change events are on again
  EXPECT_EQ(changes.senders.size(), 1u);
}

TEST_F(SelectPanelTest, AddRowMakesDataColumnsAndPadsTheRows) {
  sp->SetStyle(sp_Discrete);
  TYenListView* list = sp->ListBox();
  list->AddRow({"A"});
  list->AddRow({"B", "x"});  // the edge case: A gets one empty sub-item
  ASSERT_EQ(sp->ColumnCaptions()->Count(), 2);
  EXPECT_EQ(sp->ColumnCaptions()->Get(0), "Data1");
  EXPECT_EQ(sp->ColumnCaptions()->Get(1), "Data2");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A|", "B|x"}));
  list->AddRow({"C", "y", "供应商名称"});
  EXPECT_EQ(sp->ColumnCaptions()->Get(2), "Data3");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A||", "B|x|", "C|y|供应商名称"}));
  list->AddRow({});
  EXPECT_EQ(list->Items()->Count(), 3);
}

TEST_F(SelectPanelTest, ColumnsAreSizedToTheirLongestTextUnlessAutoSizeIsOff) {
  TYenListView* list = sp->ListBox();
  int w = list->Canvas()->TextWidth("W");
  list->AddRow({"AB", "供应商"});  // "供应商" is six bytes
  list->AddRow({"ABCDEFG", "x"});
  EXPECT_EQ(sp->Columns()->Items(0)->Width(), 7 * w);
  EXPECT_EQ(sp->Columns()->Items(1)->Width(), 6 * w);
  sp->SetColumnsAutoSize(false);
  sp->Columns()->Items(0)->SetWidth(50);
  list->AddRow({"ABCDEFGHIJKL"});
  EXPECT_EQ(sp->Columns()->Items(0)->Width(), 50);
  sp->SetColumnsAutoSize(true);  // sizes at once
  EXPECT_EQ(sp->Columns()->Items(0)->Width(), 12 * w);
}

struct DuplicateCase {
  TCheckDuplicate check;
  std::vector<std::vector<std::string>> added;
  std::vector<std::string> rows;
};

TEST_F(SelectPanelTest, DuplicateChecksDropEqualNeighbours) {
  platform::SetSystemCodePage(936);  // GB: which bytes are lead bytes
  const DuplicateCase cases[] = {
      {cd_CaseInsensitive, {{"AB"}, {"ab"}}, {"AB"}},  // the edge case
      {cd_CheckCase, {{"AB"}, {"ab"}}, {"AB", "ab"}},
      {cd_CheckCase, {{"AB"}, {"AB", "second"}}, {"AB|"}},
      {cd_None, {{"AB"}, {"AB"}}, {"AB", "AB"}},
      // GB texts whose second bytes are letters are not folded together.
      {cd_CaseInsensitive, {{"\xB0\x61"}, {"\xB0\x41"}}, {"\xB0\x41", "\xB0\x61"}},
  };
  for (const DuplicateCase& c : cases) {
    SCOPED_TRACE(c.check);
    sp->Items()->Clear();
    sp->SetCheckDuplicate(c.check);
    for (const auto& row : c.added) sp->ListBox()->AddRow(row);
    std::vector<std::string> rows = Rows(), expected = c.rows;
    std::sort(rows.begin(), rows.end());  // the order is not what is tested here
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
  }
  platform::SetSystemCodePage(std::nullopt);
}

TEST_F(SelectPanelTest, ACheckOtherThanNoneSortsAndDropsAtOnceOutsideRangeMode) {
  for (const char* caption : {"b", "a", "b"}) sp->ListBox()->Items()->Add()->SetCaption(caption);
  sp->SetCheckDuplicate(cd_CaseInsensitive);  // range mode: sorted, nothing dropped yet
  EXPECT_TRUE(sp->SortListBox());
  EXPECT_EQ(sp->ListBox()->SortType(), vcl::stText);
  EXPECT_EQ(Rows().size(), 3u);
  sp->SetStyle(sp_Discrete);
  sp->SetCheckDuplicate(cd_CaseInsensitive);
  EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(SelectPanelTest, ClickingAColumnSortsItAndClickingAgainReverses) {
  sp->SetStyle(sp_Discrete);
  TYenListView* list = sp->ListBox();
  list->AddRow({"b", "2"});
  list->AddRow({"A", "3"});
  list->AddRow({"c", "1"});
  list->AddRow({"d", "2"});
  list->HeaderClicked(1);
  EXPECT_EQ(sp->SortColumn(), 1);
  EXPECT_TRUE(sp->SortAscending());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"c|1", "b|2", "d|2", "A|3"}));  // ties: caption
  list->HeaderClicked(1);  // the edge case: twice sorts descending
  EXPECT_FALSE(sp->SortAscending());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A|3", "d|2", "b|2", "c|1"}));
  list->HeaderClicked(0);  // another column: ascending, ignoring case
  EXPECT_TRUE(sp->SortAscending());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A|3", "b|2", "c|1", "d|2"}));
}

TEST_F(SelectPanelTest, EqualCaptionsAreOrderedByTheFirstSubItem) {
  TYenListView* list = sp->ListBox();
  list->AddRow({"a", "9"});
  list->AddRow({"A", "1"});
  sp->SortByColumn(1);
  sp->SortByColumn(0);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"A|1", "a|9"}));
}

struct ExitCase {
  const char* what;
  TValueType type;
  TDateType dateType;
  const char* begin;
  const char* final;
  const char* expectBegin;
  const char* expectFinal;
};

TEST_F(SelectPanelTest, LeavingThePanelPutsTheRangeInOrderByValueType) {
  const ExitCase cases[] = {
      {"string swapped", vt_String, dt_NoneCare, "B", "A", "A", "B"},
      {"string, final empty", vt_String, dt_NoneCare, "A", "", "A", ""},
      {"string, trimmed", vt_String, dt_NoneCare, " B ", "A  ", "A", "B"},
      {"time", vt_Time, dt_NoneCare, "12:30", "08:00", "08:00", "12:30"},
      {"number 10 to 9", vt_Number, dt_NoneCare, "10", "9", "9", "10"},
      {"number 9 to 10", vt_Number, dt_NoneCare, "9", "10", "9", "10"},
      {"number x to 5", vt_Number, dt_NoneCare, "x", "5", "x", "5"},
      {"number to x", vt_Number, dt_NoneCare, "5", "x", "x", "5"},
      {"date, year and month", vt_Date, dt_YYYYMMDD, "2005/03", "2005/01/15", "2005/01/15",
       "2005/03"},
      {"date, none-care compares text", vt_Date, dt_NoneCare, "2005/3/1", "2005/10/1", "2005/10/1",
       "2005/3/1"},
      {"date, day first", vt_Date, dt_DDMMYYYY, "15/01/2005", "01/02/2005", "15/01/2005",
       "01/02/2005"},
      {"date, month first", vt_Date, dt_MMDDYYYY, "02/2005", "01/15/2005", "01/15/2005", "02/2005"},
      {"date, Minguo two digits", vt_Date, dt_YYMMDD, "94/01/01", "93/12/31", "93/12/31",
       "94/01/01"},
      {"date, Minguo three digits", vt_Date, dt_YYYMMDD, "094/01/01", "093/12/31", "093/12/31",
       "094/01/01"},
      {"date, impossible begin", vt_Date, dt_YYYYMMDD, "2005/02/30", "2005/01/01", "2005/02/30",
       "2005/01/01"},
      {"float", vt_Float, dt_NoneCare, "1,5", "1.25", "1.25", "1.5"},
      {"float, longer is not larger", vt_Float, dt_NoneCare, "10.0", "9.99", "9.99", "10.0"},
      {"float, negative", vt_Float, dt_NoneCare, "-2", "-10", "-10", "-2"},
      {"float, not a number", vt_Float, dt_NoneCare, "abc", "1", "abc", "1"},
      {"other mask", vt_OtherMask, dt_NoneCare, "B", "A", "B", "A"},
  };
  for (const ExitCase& c : cases) {
    SCOPED_TRACE(c.what);
    sp->SetValueType(c.type);
    sp->SetDateType(c.dateType);
    EnterAndLeave(c.begin, c.final);
    EXPECT_EQ(sp->edBegin()->Text(), c.expectBegin);
    EXPECT_EQ(sp->edFinal()->Text(), c.expectFinal);
  }
}

struct DiscardCase {
  const char* what;
  TValueType type;
  bool useDiscard;
  bool autoChange;
  bool swapped;
};

TEST_F(SelectPanelTest, TheDiscardTextAndAutoChangeDateSiteStopTheOrdering) {
  const DiscardCase cases[] = {
      {"string, discard used", vt_String, true, true, false},
      {"string, discard not used", vt_String, false, true, true},
      {"date, discard used", vt_Date, true, true, false},
      {"date, no auto change", vt_Date, false, false, false},
      {"date, auto change", vt_Date, false, true, true},
  };
  sp->SetDiscard("ZZZ");
  for (const DiscardCase& c : cases) {
    SCOPED_TRACE(c.what);
    sp->SetValueType(c.type);
    sp->SetUseDiscard(c.useDiscard);
    sp->SetAutoChangeDateSite(c.autoChange);
    EnterAndLeave("ZZZ", "AAA");
    EXPECT_EQ(sp->edBegin()->Text(), c.swapped ? "AAA" : "ZZZ");
  }
}

TEST_F(SelectPanelTest, BlankMaskedTextsStayBlankAndAreNeverOrdered) {
  sp->SetEditMask("9999/99/99;1; ");
  sp->SetValueType(vt_Date);
  sp->SetDateType(dt_YYYYMMDD);
  EnterAndLeave("2005/01/15", "");
  EXPECT_EQ(sp->edBegin()->Text(), "2005/01/15");
  EXPECT_EQ(sp->edFinal()->Text(), sp->BlankText());
  EnterAndLeave("", "2005/01/15");  // BlankText reads as no date, yet is left alone
  EXPECT_EQ(sp->edBegin()->Text(), sp->BlankText());
  EnterAndLeave("2005/03/", "2005/01/15");  // partly typed: blanks kept, no date
  EXPECT_EQ(sp->edBegin()->EditText(), "2005/03/  ");
  EnterAndLeave("2005/03/01", "2005/01/15");
  EXPECT_EQ(sp->edBegin()->Text(), "2005/01/15");
  EXPECT_EQ(sp->edFinal()->Text(), "2005/03/01");
}

TEST_F(SelectPanelTest, AMaskFromTheRightKeepsItsBlanks) {
  sp->SetEditMask("!9999;1; ");
  sp->SetValueType(vt_Number);
  EnterAndLeave("10", "9");
  EXPECT_EQ(sp->edBegin()->Text(), "   9");
  EXPECT_EQ(sp->edFinal()->Text(), "  10");
}

struct ExitLog {
  TSelectPanel* panel = nullptr;
  std::vector<std::string> begins;
  void Exit(vcl::TObject* sender) {
    if (sender == panel) begins.push_back(panel->edBegin()->Text());
  }
};

TEST_F(SelectPanelTest, OnExitRunsAfterTheOrdering) {
  ExitLog log{sp, {}};
  sp->OnExit = vcl::MakeEvent<&ExitLog::Exit>(&log);
  EnterAndLeave("B", "A");
  EXPECT_EQ(log.begins, std::vector<std::string>{"A"});
  sp->edBegin()->SetFocus();
  sp->edFinal()->SetFocus();  // moving inside the panel is no exit
  EXPECT_EQ(log.begins.size(), 1u);
}

struct DateCase {
  const char* text;
  TDateType type;
  int value;
};

TEST(ExitDateTest, RangeTextsReadAsDatesByDateType) {
  const DateCase cases[] = {
      {"2005/01/15", dt_YYYYMMDD, 20050115},
      {"2005/03", dt_YYYYMMDD, 20050301},  // year and month: the first day
      {" 2005/3/1 ", dt_YYYYMMDD, 20050301},
      {"01/15/2005", dt_MMDDYYYY, 20050115},
      {"12/2004", dt_MMDDYYYY, 20041201},
      {"15/01/2005", dt_DDMMYYYY, 20050115},
      {"02/2005", dt_DDMMYYYY, 20050201},
      {"94/01/01", dt_YYMMDD, 20050101},  // the Minguo edge case
      {"94/1", dt_YYMMDD, 20050101},
      {"094/01/01", dt_YYYMMDD, 20050101},
      {"2004/02/29", dt_YYYYMMDD, 20040229},
      {"2005/02/29", dt_YYYYMMDD, 0},  // impossible
      {"2005/13/01", dt_YYYYMMDD, 0},
      {"2005/xx/01", dt_YYYYMMDD, 0},  // not a number
      {"20050101", dt_YYYYMMDD, 0},    // no separator
      {"2005/01/01/01", dt_YYYYMMDD, 0},
      {"", dt_YYYYMMDD, 0},
      {"    /  /  ", dt_YYYYMMDD, 0},  // the blank text
      {"2005/01/15", dt_NoneCare, 0},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ExitDateValue(c.text, c.type, "/", "    /  /  "), c.value);
  }
  EXPECT_EQ(ExitDateValue("2005-01-15", dt_YYYYMMDD, "-", ""), 20050115);
  EXPECT_EQ(ExitDateValue("2005.01.15", dt_YYYYMMDD, "/", ""), 0);
}

TEST(FloatTextTest, NumbersAreRewrittenWithAPointAndComparedExactly) {
  const std::pair<const char*, const char*> texts[] = {
      {"1,5", "1.5"},
      {"+3", "3"},
      {".5", "0.5"},
      {" 7 ", "7"},
      {"-0,50", "-0.50"},
      {"5.", "5"},
      {"abc", "abc"},
      {"1.2.3", "1.2.3"},
      {"-", "-"},
      {"", ""},
      {"12345678901234567890.1", "12345678901234567890.1"},
  };
  for (auto [text, normal] : texts) EXPECT_EQ(NormaliseFloatText(text), normal) << text;
  struct Cmp {
    const char *a, *b;
    int sign;
  };
  const Cmp cmps[] = {{"1.5", "1.50", 0},   {"-0", "0", 0},
                      {"9.99", "10", -1},   {"-10", "-2", -1},
                      {"abc", "0", 0},      {"0.1", "0.09", 1},
                      {"-0.1", "0.05", -1}, {"100000000000000000001", "100000000000000000000", 1}};
  for (const Cmp& c : cmps) {
    int r = CompareFloatTexts(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
}

struct LookupCase {
  TSelectStyle style;
  int button;  // 0 BeginButton, 1 FinalButton, 2 ListButton
};

TEST_F(SelectPanelTest, LookupButtonsFocusTheirTargetBeforeTheRequest) {
  struct OpenLog {
    std::vector<vcl::TWinControl*> targets;
    void Open(vcl::TObject*, vcl::TWinControl* target) { targets.push_back(target); }
  } opened;
  sp->OnOpenWinClick = vcl::MakeEvent<&OpenLog::Open>(&opened);
  const LookupCase cases[] = {{sp_Range, 0}, {sp_Range, 1}, {sp_Discrete, 2}};
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.button);
    sp->SetStyle(c.style);
    form->Lookups.clear();
    form->FocusedAtLookup.clear();
    opened.targets.clear();
    edOther->SetFocus();
    vcl::TControl* buttons[] = {sp->BeginButton(), sp->FinalButton(), sp->ListButton()};
    vcl::TWinControl* targets[] = {sp->edBegin(), sp->edFinal(), sp->ListBox()};
    vcl::SimulateClick(buttons[c.button]);
    // One request, to the panel's window, for the focused target.
    ASSERT_EQ(form->Lookups, std::vector<vcl::TControl*>{targets[c.button]});
    EXPECT_TRUE(form->FocusedAtLookup[0]);
    EXPECT_EQ(opened.targets, std::vector<vcl::TWinControl*>{targets[c.button]});
  }
}

struct DeleteGate {
  bool allow = true;
  int asked = 0;
  void Delete(vcl::TObject*, bool& a) {
    ++asked;
    a = allow;
  }
};

TEST_F(SelectPanelTest, DeleteAndClearButtons) {
  sp->SetStyle(sp_Discrete);
  for (const char* c : {"a", "b", "c"}) sp->ListBox()->AddRow({c});
  sp->Items()->Item(0)->SetSelected(true);
  sp->Items()->Item(2)->SetSelected(true);
  DeleteGate gate;
  sp->OnDeleteClick = vcl::MakeEvent<&DeleteGate::Delete>(&gate);
  gate.allow = false;
  vcl::SimulateClick(sp->DeleteButton());
  EXPECT_EQ(gate.asked, 1);
  EXPECT_EQ(Rows().size(), 3u);
  gate.allow = true;
  vcl::SimulateClick(sp->DeleteButton());
  EXPECT_EQ(Rows(), std::vector<std::string>{"b"});

  SenderLog cleared;
  sp->OnClearClick = cleared.Event();
  edOther->SetFocus();
  vcl::SimulateClick(sp->ClearButton());
  EXPECT_TRUE(Rows().empty());
  EXPECT_TRUE(sp->ListBox()->Focused());
  EXPECT_EQ(cleared.senders, std::vector<vcl::TObject*>{sp});
}

TEST_F(SelectPanelTest, AGlyphThatCannotBeLoadedFallsBackToZeroOnAllThreeButtons) {
  sp->SetGlyphIndex(9);
  for (auto* b : {sp->BeginButton(), sp->FinalButton(), sp->ListButton()})
    EXPECT_EQ(b->GlyphIndex(), 9);
  FakeGlyphs::FailingId = 12;
  sp->SetGlyphIndex(12);
  EXPECT_EQ(sp->GlyphIndex(), 9);
  for (auto* b : {sp->BeginButton(), sp->FinalButton(), sp->ListButton()}) {
    EXPECT_EQ(b->GlyphIndex(), 0);
    EXPECT_TRUE(b->Glyph()->Empty());
  }
  EXPECT_EQ(Messages(), std::vector<std::string>{"读取 BMP 发生错误"});
  sp->SetGlyphIndex(60);  // above the maximum: no glyph, but no failure either
  EXPECT_EQ(sp->GlyphIndex(), 60);
  EXPECT_EQ(sp->ListButton()->Caption(), "60");
}

TEST_F(SelectPanelTest, CanOpenWinShowsOrHidesTheLookupButtons) {
  int withButtons = sp->edBegin()->Width();
  sp->SetCanOpenWin(false);
  for (auto* b : {sp->BeginButton(), sp->FinalButton(), sp->ListButton()})
    EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(sp->DeleteButton()->Visible());
  EXPECT_GT(sp->edBegin()->Width(), withButtons);
  sp->SetCanOpenWin(true);
  EXPECT_TRUE(sp->FinalButton()->Visible());
  EXPECT_EQ(sp->edBegin()->Width(), withButtons);
}

TEST_F(SelectPanelTest, SetFocusGoesToTheListOutsideRangeMode) {
  sp->SetFocus();
  EXPECT_EQ(form->ActiveControl(), sp);
  sp->SetStyle(sp_Discrete);
  edOther->SetFocus();
  sp->SetFocus();
  EXPECT_EQ(form->ActiveControl(), sp->ListBox());
}

TEST_F(SelectPanelTest, EnablingReachesEveryControlInside) {
  sp->SetEnabled(false);
  for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
           sp->ChoiceBox(), sp->RangePanel(), sp->edBegin(), sp->BeginButton(), sp->FinalLabel(),
           sp->ListBox(), sp->DeleteButton(), sp->ClearButton()})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  sp->SetEnabled(true);
  EXPECT_TRUE(sp->edFinal()->Enabled());
  EXPECT_TRUE(sp->ClearButton()->Enabled());
}

struct MouseLog {
  std::vector<std::tuple<vcl::TObject*, int, int>> downs;
  void Down(vcl::TObject* s, vcl::TMouseButton, vcl::TShiftState, int x, int y) {
    downs.emplace_back(s, x, y);
  }
};
struct PanelKeyLog {
  std::vector<std::pair<vcl::TObject*, char>> keys;
  void Press(vcl::TObject* s, char& k) { keys.emplace_back(s, k); }
};

TEST_F(SelectPanelTest, EventsOfThePartsReachThePanel) {
  SenderLog clicks;
  MouseLog mouse;
  PanelKeyLog keys;
  sp->OnClick = clicks.Event();
  sp->OnMouseDown = vcl::MakeEvent<&MouseLog::Down>(&mouse);
  sp->OnKeyPress = vcl::MakeEvent<&PanelKeyLog::Press>(&keys);

  sp->edBegin()->Click();
  sp->RangePanel()->Click();
  EXPECT_EQ(clicks.senders, (std::vector<vcl::TObject*>{sp->edBegin(), sp}));

  sp->edBegin()->Perform(vcl::WM_LBUTTONDOWN, 0, vcl::MakeLParam(3, 4));
  sp->BeginButton()->Perform(vcl::WM_LBUTTONDOWN, 0, vcl::MakeLParam(3, 4));
  ASSERT_EQ(mouse.downs.size(), 2u);
  EXPECT_EQ(mouse.downs[0], std::make_tuple(static_cast<vcl::TObject*>(sp->edBegin()), 3, 4));
  int x = 3 + sp->RangePanel()->Left() + sp->BeginButton()->Left();
  int y = 4 + sp->RangePanel()->Top() + sp->BeginButton()->Top();
  EXPECT_EQ(mouse.downs[1], std::make_tuple(static_cast<vcl::TObject*>(sp), x, y));

  sp->edFinal()->SetFocus();
  vcl::SimulateText(sp->edFinal(), "7");
  EXPECT_EQ(keys.keys, (std::vector<std::pair<vcl::TObject*, char>>{{sp->edFinal(), '7'}}));
}

struct SelectLog {
  std::vector<std::tuple<vcl::TObject*, bool, int>> calls;
  void Select(vcl::TObject* s, vcl::TListItem*, bool selected, int index) {
    calls.emplace_back(s, selected, index);
  }
};

TEST_F(SelectPanelTest, ListSelectionsReachOnItemSelect) {
  SelectLog log;
  sp->OnItemSelect = vcl::MakeEvent<&SelectLog::Select>(&log);
  sp->ListBox()->AddRow({"a"});
  sp->ListBox()->AddRow({"b"});
  sp->Items()->Item(1)->SetSelected(true);
  ASSERT_EQ(log.calls.size(), 1u);
  EXPECT_EQ(log.calls[0], std::make_tuple(static_cast<vcl::TObject*>(sp), true, 1));
}

TEST_F(SelectPanelTest, AListPressFirstTakesTheFocus) {
  sp->SetStyle(sp_Discrete);
  edOther->SetFocus();
  EXPECT_TRUE(sp->ListBox()->AcceptMousePress(vcl::mbLeft, 5, 5));
  EXPECT_TRUE(sp->ListBox()->Focused());
  edOther->SetFocus();
  EXPECT_TRUE(sp->ListBox()->AcceptMousePress(vcl::mbRight, 5, 5));
  EXPECT_FALSE(sp->ListBox()->Focused());
  sp->SetStyle(sp_Range);  // the list is hidden: it cannot take the focus
  EXPECT_FALSE(sp->ListBox()->AcceptMousePress(vcl::mbLeft, 5, 5));
}

TEST_F(SelectPanelTest, HintWordCaptionsAndSizesTheChoiceBox) {
  sp->SetHintWord("区间");
  EXPECT_EQ(sp->ChoiceBox()->Caption(), "区间");
  vcl::TCanvas c;
  c.Font()->Assign(sp->ChoiceBox()->Font());
  EXPECT_EQ(sp->ChoiceBox()->Width(), c.TextWidth("区间") + 24);
  EXPECT_EQ(sp->ChoiceBox()->Height(), c.TextHeight("区间") + 2);
}

TEST_F(SelectPanelTest, WordsKeepTwoEntriesForTheTwoLayouts) {
  vcl::TStringList words;
  words.SetText("从\n自\n多余");
  sp->SetBeginWords(&words);
  EXPECT_EQ(sp->BeginWords()->Count(), 2);
  EXPECT_EQ(sp->BeginLabel()->Caption(), "从");  // horizontal: entry 0
  sp->SetUseVertical(true);
  EXPECT_EQ(sp->BeginLabel()->Caption(), "自");  // vertical: entry 1
  EXPECT_EQ(sp->FinalLabel()->Caption(), "止");
  words.SetText("到");
  sp->SetFinalWords(&words);
  EXPECT_EQ(sp->FinalWords()->Count(), 1);
  EXPECT_EQ(sp->FinalLabel()->Caption(), "到");  // one entry serves both layouts
}

TEST_F(SelectPanelTest, ListPropertiesPassToTheList) {
  vcl::TStringList captions;
  captions.SetText("代码\n名称");
  sp->SetColumnCaptions(&captions);
  ASSERT_EQ(sp->Columns()->Count(), 2);
  EXPECT_EQ(sp->Columns()->Items(1)->Caption(), "名称");
  EXPECT_TRUE(sp->Columns()->Items(1)->AutoSize());
  EXPECT_EQ(sp->ColumnCaptions()->Text(), "代码\r\n名称\r\n");
  sp->SetShowColumnHeader(true);
  EXPECT_TRUE(sp->ListBox()->ShowColumnHeaders());
  sp->SetHideSelection(true);
  EXPECT_TRUE(sp->ListBox()->HideSelection());
  sp->SetSortListBox(true);
  EXPECT_EQ(sp->ListBox()->SortType(), vcl::stText);

  auto* other = Add<TSelectPanel>("sp03");
  other->ListBox()->AddRow({"P01", "总厂"});
  other->Columns()->Items(0)->SetWidth(77);
  sp->SetItems(other->Items());
  sp->SetColumns(other->Columns());
  EXPECT_EQ(Rows(), std::vector<std::string>{"P01|总厂"});
  EXPECT_EQ(sp->Columns()->Items(0)->Caption(), "Data1");
  EXPECT_EQ(sp->Columns()->Items(0)->Width(), 77);
}

TEST_F(SelectPanelTest, ChangeEventsOffSilencesAnEdit) {
  auto* ed = Add<TYenMaskEdit>();
  SenderLog changes;
  ed->OnChange = changes.Event();
  ed->ChangeEventsOff = true;
  ed->SetText("a");
  ed->ChangeEventsOff = false;
  ed->SetText("b");
  EXPECT_EQ(changes.senders, std::vector<vcl::TObject*>{ed});
}

}  // namespace

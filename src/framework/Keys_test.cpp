// Keys and Enter, page changes and their focusing, the lookup request
// message, window moves and focus changes.

#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QWidget>

#include "controls/F2Button.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioGroup.h"
#include "framework/ModuleProperties.h"
#include "framework/test/Support.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

namespace framework_test {
namespace {

using vcl::SimulateKey;

class KeysTest : public SandboxTest {
 protected:
  // A shown window with two edits on its first page.
  TTestWindow* Shown(bool wantLookup = false) {
    TTestWindow* w = NewWindow();
    w->WantLookup = wantLookup;
    first_ = w->Add<vcl::TEdit>("ed01", w->tsOption1);
    second_ = w->Add<vcl::TEdit>("ed02", w->tsOption1);
    EXPECT_TRUE(w->Initialize(HostParams()));
    ShowWindow(w);
    return w;
  }
  vcl::TEdit* first_ = nullptr;
  vcl::TEdit* second_ = nullptr;
};

TEST_F(KeysTest, EscapeClosesAndFreesTheWindow) {
  TTestWindow* w = Shown();
  SimulateKey(first_, vcl::VK_ESCAPE);
  vcl::Application->ProcessMessages();
  EXPECT_FALSE(Alive(w));
}

TEST_F(KeysTest, F1AsksTheHostForTheProgramsHelp) {
  TTestWindow* w = Shown();
  SimulateKey(first_, vcl::VK_F1);
  EXPECT_EQ(host_.CallsOf("CallHelp"), std::vector<std::string>{"CallHelp(['PVQ','12820000'])"});
  // A program code that names no help asks for none.
  TTestWindow* other = NewWindow();
  other->SetModuleFileName(Path("PVQX82C.dll"));
  ASSERT_TRUE(other->Initialize(HostParams()));
  vcl::Word key = vcl::VK_F1;
  other->FormKeyDown(other, key, 0);
  EXPECT_EQ(host_.CallsOf("CallHelp").size(), 1u);
  (void)w;
}

TEST_F(KeysTest, F2AndTheLookupButtonOpenTheDatePickerForThePrintDate) {
  host_.PickedDate = "20240401";
  TTestWindow* w = Shown(true);
  w->pgOption->SetActivePage(w->tsOption2);
  w->edPrintDate->SetFocus();
  SimulateKey(w->edPrintDate, vcl::VK_F2);
  EXPECT_EQ(w->Lookups, std::vector<vcl::TWinControl*>{w->edPrintDate});
  EXPECT_EQ(w->edPrintDate->Text(), "2024/04/01");
  // The picker starts on today when the text is not a yyyymmdd text.
  EXPECT_EQ(host_.CallsOf("ShowInputDay"),
            std::vector<std::string>{"ShowInputDay([false,'20240305','VRKDEMO'])"});

  // The lookup button sends the lookup request for its edit.
  host_.PickedDate = "20240502";
  auto* other = w->Add<vcl::TEdit>("edOther", w->tsOption2);
  other->SetFocus();
  w->btnPrintDate->Click();
  EXPECT_EQ(w->Lookups.size(), 2u);
  EXPECT_EQ(w->Lookups.back(), w->edPrintDate);
  EXPECT_EQ(w->ActiveControl(), w->edPrintDate);
  EXPECT_EQ(w->edPrintDate->Text(), "2024/05/02");
}

TEST_F(KeysTest, F2WithoutADatePickerKeepsThePrintDate) {
  TTestWindow* w = Shown(false);  // no lookup service
  w->pgOption->SetActivePage(w->tsOption2);
  w->edPrintDate->SetFocus();
  w->edPrintDate->SetText("2024/03/01");
  SimulateKey(w->edPrintDate, vcl::VK_F2);
  EXPECT_EQ(w->Lookups, std::vector<vcl::TWinControl*>{w->edPrintDate});
  EXPECT_EQ(w->edPrintDate->Text(), "2024/03/01");
  EXPECT_TRUE(host_.CallsOf("ShowInputDay").empty());
}

TEST_F(KeysTest, TheLookupMessageNamesItsControl) {
  TTestWindow* w = Shown();
  vcl::SendMessage(w, F2Button::kLookupMessage, 0, reinterpret_cast<vcl::LPARAM>(second_));
  EXPECT_EQ(w->Lookups, std::vector<vcl::TWinControl*>{second_});
  EXPECT_EQ(w->ActiveControl(), second_);  // the control was focused
  // A disabled control is looked up without being focused.
  first_->SetEnabled(false);
  vcl::SendMessage(w, F2Button::kLookupMessage, 0, reinterpret_cast<vcl::LPARAM>(first_));
  EXPECT_EQ(w->Lookups.back(), first_);
  EXPECT_EQ(w->ActiveControl(), second_);
}

TEST_F(KeysTest, CtrlAltVShowsTheModulePropertiesAndOnlyThatShiftState) {
  TTestWindow* w = Shown();
  w->ModuleFileName = platform::ProgramFileName();
  std::map<std::string, std::string> shown;
  vcl::Application->SetModalHook([&](vcl::TCustomForm& form) {
    modals_.push_back(form.ClassName());
    if (auto* dialog = dynamic_cast<BaseGene::TfrmModuleProperties*>(&form)) {
      for (vcl::TLabel* label : {dialog->lblFileName, dialog->lblSize, dialog->lblFileVersion,
                                 dialog->lblProductVersion, dialog->lblModified})
        shown[label->Name()] = label->Caption();
      dialog->btnClose->Click();
    }
  });
  const struct {
    vcl::TShiftState shift;
    size_t dialogs;
  } cases[] = {
      {vcl::ssCtrl | vcl::ssAlt, 1},
      {vcl::ssCtrl | vcl::ssAlt | vcl::ssShift, 0},
      {vcl::ssCtrl, 0},
      {vcl::ssAlt, 0},
      {0, 0},
  };
  for (const auto& c : cases) {
    modals_.clear();
    SimulateKey(first_, 'V', c.shift);
    EXPECT_EQ(modals_.size(), c.dialogs) << c.shift;
  }
  EXPECT_EQ(shown["lblFileName"], platform::ProgramFileName());
  EXPECT_EQ(shown["lblFileVersion"], "9.8.7.6");  // the version record of this program
  EXPECT_EQ(shown["lblProductVersion"], "9.8");
  EXPECT_NE(shown["lblSize"], "-");
  EXPECT_NE(shown["lblModified"], "-");

  // A module file that is missing shows its name only.
  w->ModuleFileName = Path("gone/PVQR82C.dll");
  SimulateKey(first_, 'V', vcl::ssCtrl | vcl::ssAlt);
  EXPECT_EQ(shown["lblFileName"], Path("gone/PVQR82C.dll"));
  EXPECT_EQ(shown["lblFileVersion"], "-");
}

TEST_F(KeysTest, CtrlTabAndPageKeysTurnThePages) {
  TTestWindow* w = Shown();
  first_->SetFocus();
  const struct {
    vcl::Word key;
    vcl::TShiftState shift;
    vcl::TTabSheet* page;
  } steps[] = {
      {vcl::VK_TAB, vcl::ssCtrl, w->tsOption2},
      {vcl::VK_TAB, vcl::ssCtrl, w->tsOption1},  // wraps
      {vcl::VK_NEXT, vcl::ssCtrl, w->tsOption2},
      {vcl::VK_TAB, vcl::ssCtrl | vcl::ssShift, w->tsOption1},
      {vcl::VK_PRIOR, vcl::ssCtrl, w->tsOption2},
      {vcl::VK_NEXT, 0, w->tsOption2},  // without Ctrl nothing turns
  };
  for (const auto& s : steps) {
    vcl::Word key = s.key;
    w->FormKeyDown(w, key, s.shift);
    EXPECT_EQ(w->pgOption->ActivePage(), s.page) << s.key << "/" << s.shift;
    EXPECT_EQ(key == 0, (s.shift & vcl::ssCtrl) != 0) << "the key is used up";
  }
}

// ---------------------------------------------------------------------------
// Enter.

TEST_F(KeysTest, EnterMovesToTheNextControl) {
  TTestWindow* w = Shown();
  first_->SetFocus();
  SimulateKey(first_, vcl::VK_RETURN);
  EXPECT_EQ(w->ActiveControl(), second_);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
}

TEST_F(KeysTest, EnterInAGridWalksItsCellsAndAddsARowAtTheEnd) {
  TTestWindow* w = Shown();
  auto* grid = w->Add<vcl::TStringGrid>("sgItems", w->tsOption1);
  grid->SetColCount(3);
  grid->SetRowCount(2);
  grid->SetFocus();
  grid->SetCol(1);
  grid->SetRow(1);
  char key = 13;
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(grid->Col(), 2);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->RowCount(), 2);
  key = 13;
  w->FormKeyPress(w, key);  // last column of the last row
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);  // the first non-fixed column
  grid->SetCol(2);
  grid->SetRow(1);
  key = 13;
  w->FormKeyPress(w, key);  // last column, not the last row
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);
  EXPECT_EQ(w->ActiveControl(), grid);
}

TEST_F(KeysTest, EnterInAMemoBreaksTheLineOnItsFirstTwoLines) {
  TTestWindow* w = Shown();
  auto* memo = w->Add<vcl::TMemo>("meNote", w->tsOption1);
  auto* after = w->Add<vcl::TEdit>("ed03", w->tsOption1);
  memo->Lines()->SetText("a\r\nb\r\nc\r\n");
  for (int line : {0, 1}) {
    memo->SetFocus();
    memo->SetCaretPos({0, line});
    char key = 13;
    w->FormKeyPress(w, key);
    EXPECT_EQ(key, 13) << line;  // kept: the memo breaks the line
    EXPECT_EQ(w->ActiveControl(), memo);
  }
  memo->SetCaretPos({0, 2});
  char key = 13;
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(w->ActiveControl(), after);

  // As the end of its page, a memo on its third line turns the page.
  w->PageEndControls.push_back(memo);
  memo->SetFocus();
  memo->SetCaretPos({0, 1});
  key = 13;
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, 13);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption1);
  memo->SetCaretPos({0, 2});
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
}

TEST_F(KeysTest, PageEndsTurnThePageButNeverWrap) {
  TTestWindow* w = Shown();
  w->PageEndControls.push_back(second_);
  second_->SetFocus();
  SimulateKey(second_, vcl::VK_RETURN);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
  EXPECT_EQ(w->ActiveControl(), w->edPrintDate);  // the page's first control

  // On the last page a page end stays there.
  w->PageEndControls.push_back(w->edPrintDate);
  char key = 13;
  w->FormKeyPress(w, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
  EXPECT_EQ(w->ActiveControl(), w->edPrintDate);
}

TEST_F(KeysTest, PanelPartsAndRadioButtonsCountAsTheirOwner) {
  TTestWindow* w = Shown();
  auto* panel = w->Add<SelectPnl::TSelectPanel>("sp01", w->tsOption1);
  auto* group = w->Add<VkRadioGroup::TVkRadioGroup>("rg02", w->tsOption1);
  group->Items()->SetText("A\r\nB\r\n");
  group->SetItemIndex(0);
  w->PageEndControls = {panel, group};
  struct Case {
    vcl::TWinControl* control;
    bool turns;
  } cases[] = {
      {panel->edBegin(), false},  // never an end
      {panel->edFinal(), true},
      {group->Buttons(0), true},
      {first_, false},
  };
  for (const Case& c : cases) {
    w->pgOption->SetActivePage(w->tsOption1);
    c.control->SetFocus();
    char key = 13;
    w->FormKeyPress(w, key);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(w->pgOption->ActivePage() == w->tsOption2, c.turns) << c.control->Name();
  }
  panel->SetStyle(SelectPnl::sp_Discrete);
  w->pgOption->SetActivePage(w->tsOption1);
  panel->ListBox()->SetFocus();
  char key = 13;
  w->FormKeyPress(w, key);
  EXPECT_EQ(w->pgOption->ActivePage(), w->tsOption2);
}

// ---------------------------------------------------------------------------
// Page change focusing.

TEST_F(KeysTest, PageChangeFocusesTheFirstEnabledControlInTabOrder) {
  struct Case {
    std::vector<bool> enabled;
    int focused;  // -1: none
  } cases[] = {
      {{true, true, true}, 0},
      {{false, true, true}, 1},
      {{false, false, true}, 2},
      {{false, false, false}, -1},
  };
  for (const Case& c : cases) {
    TTestWindow* w = NewWindow();
    std::vector<vcl::TEdit*> edits;
    for (size_t i = 0; i < c.enabled.size(); ++i)
      edits.push_back(w->Add<vcl::TEdit>("ed" + std::to_string(i), w->tsOption2));
    // Tab order differs from creation order.
    edits[2]->SetTabOrder(0);
    edits[0]->SetTabOrder(1);
    edits[1]->SetTabOrder(2);
    // ed2, ed0, ed1 by tab order; the case lists them in that order.
    std::vector<vcl::TEdit*> byOrder = {edits[2], edits[0], edits[1]};
    for (size_t i = 0; i < byOrder.size(); ++i) byOrder[i]->SetEnabled(c.enabled[i]);
    w->edPrintDate->SetTabOrder(99);  // last, and disabled when nothing is to be found
    w->edPrintDate->SetEnabled(c.focused >= 0);
    ASSERT_TRUE(w->Initialize(HostParams()));
    ShowWindow(w);
    w->pgOption->SetActivePage(w->tsOption2);
    vcl::TWinControl* before = w->ActiveControl();
    w->pgOptionChange(w->pgOption);
    if (c.focused < 0) {
      EXPECT_EQ(w->ActiveControl(), before);  // the focus did not move
    } else {
      EXPECT_EQ(w->ActiveControl(), byOrder[static_cast<size_t>(c.focused)]) << c.focused;
    }
  }
}

TEST_F(KeysTest, PageChangeFocusesAPanelsBeginInRangeModeElseItsList) {
  TTestWindow* w = NewWindow();
  auto* panel = w->Add<SelectPnl::TSelectPanel>("sp01", w->tsOption1);
  panel->SetStyle(SelectPnl::sp_UserChoice);
  ASSERT_TRUE(w->Initialize(HostParams()));
  ShowWindow(w);
  EXPECT_EQ(w->ActiveControl(), panel->edBegin());  // user choice with the range chosen
  panel->SetUserChoice(false);
  w->pgOptionChange(w->pgOption);
  EXPECT_EQ(w->ActiveControl(), panel->ListBox());
}

// ---------------------------------------------------------------------------
// Window moves, resizing and focus changes.

class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST_F(KeysTest, MovingOrResizingRepaintsTheHostWindow) {
  PaintCounter host;
  host.resize(100, 80);
  host.show();
  vcl::Application->ProcessMessages();
  TTestWindow* w = Shown();
  w->HostWindow = static_cast<intptr_t>(host.winId());
  const int before = host.paints;
  w->WindowMoved(w->Left() + 10, w->Top() + 5);
  EXPECT_EQ(host.paints, before + 1);
  w->SetBounds(w->Left(), w->Top(), w->Width() + 20, w->Height());
  EXPECT_EQ(host.paints, before + 2);
  // Without a host window nothing is repainted.
  w->HostWindow = 0;
  w->WindowMoved(w->Left() + 10, w->Top() + 5);
  EXPECT_EQ(host.paints, before + 2);
}

TEST_F(KeysTest, FocusChangesAreRemembered) {
  TTestWindow* w = Shown();
  second_->SetFocus();
  EXPECT_EQ(w->FocusBack, second_);
  first_->SetFocus();
  EXPECT_EQ(w->FocusBack, first_);
}

}  // namespace
}  // namespace framework_test

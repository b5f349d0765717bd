// Where the select panel puts its parts, for each style.
#include <gtest/gtest.h>

#include "controls/SelectPnl.h"
#include "controls/test/ControlsFixture.h"

namespace {

using controls_test::ControlsTest;
using namespace SelectPnl;

class SelectPanelLayoutTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    sp = Add<TSelectPanel>("sp01");
    sp->SetCaption("收料单号");
    vcl::TCanvas c;
    c.Font()->Assign(sp->Font());
    captionHeight = c.TextHeight(sp->Caption());
    c.Font()->Assign(sp->ChoiceBox()->Font());
    boxTextHeight = c.TextHeight(sp->HintWord());
  }
  static int Right(const vcl::TControl* c) { return c->Left() + c->Width(); }
  static int Bottom(const vcl::TControl* c) { return c->Top() + c->Height(); }
  // The rectangle both inner panels fill, below Top.
  void ExpectInnerRect(vcl::TControl* inner, int top) {
    EXPECT_EQ(inner->Left(), 2);
    EXPECT_EQ(inner->Top(), top);
    EXPECT_EQ(Right(inner), sp->Width() - 2);
    EXPECT_EQ(Bottom(inner), sp->Height() - 2);
  }
  TSelectPanel* sp = nullptr;
  int captionHeight = 0;
  int boxTextHeight = 0;
};

TEST_F(SelectPanelLayoutTest, HorizontalRangeRowWithLookupButtons) {
  ExpectInnerRect(sp->RangePanel(), captionHeight + 3);
  ExpectInnerRect(sp->ListPanel(), captionHeight + 3);
  EXPECT_FALSE(sp->ChoiceBox()->Visible());
  vcl::TLabel* bl = sp->BeginLabel();
  vcl::TLabel* fl = sp->FinalLabel();
  EXPECT_EQ(bl->Caption(), "起");
  EXPECT_EQ(fl->Caption(), "止");
  int top = (sp->RangePanel()->Height() - 24) / 2;
  int edit = (sp->RangePanel()->Width() - 2 - bl->Width() - 2 * 23 - fl->Width() - 8) / 2;
  EXPECT_EQ(bl->Left(), 2);
  EXPECT_EQ(sp->edBegin()->Left(), Right(bl) + 1);
  EXPECT_EQ(sp->edBegin()->Width(), edit);
  EXPECT_EQ(sp->BeginButton()->Left(), Right(sp->edBegin()) + 2);
  EXPECT_EQ(fl->Left(), Right(sp->BeginButton()) + 2);
  EXPECT_EQ(sp->edFinal()->Left(), Right(fl) + 2);
  EXPECT_EQ(sp->edFinal()->Width(), edit);
  EXPECT_EQ(sp->FinalButton()->Left(), Right(sp->edFinal()) + 2);
  for (vcl::TControl* c : std::initializer_list<vcl::TControl*>{
           bl, sp->edBegin(), sp->BeginButton(), fl, sp->edFinal(), sp->FinalButton()})
    EXPECT_EQ(c->Top(), top) << c->Name();
}

TEST_F(SelectPanelLayoutTest, HorizontalRangeRowWithoutLookupButtons) {
  sp->SetCanOpenWin(false);
  vcl::TLabel* bl = sp->BeginLabel();
  vcl::TLabel* fl = sp->FinalLabel();
  int edit = (sp->RangePanel()->Width() - 2 - bl->Width() - fl->Width() - 4) / 2;
  EXPECT_EQ(sp->edBegin()->Width(), edit);
  EXPECT_EQ(fl->Left(), Right(sp->edBegin()) + 4);
  EXPECT_EQ(sp->edFinal()->Left(), Right(fl) + 2);
}

TEST_F(SelectPanelLayoutTest, VerticalRangeRow) {
  sp->SetUseVertical(true);  // 200 x 105 now
  ASSERT_EQ(sp->Height(), 105);
  vcl::TPanel* rp = sp->RangePanel();
  ExpectInnerRect(rp, captionHeight + 3);
  int a = (rp->Height() - 2 * 24) / 3;
  vcl::TLabel* bl = sp->BeginLabel();
  EXPECT_EQ(bl->Left(), 2);
  EXPECT_EQ(bl->Top(), a);
  EXPECT_EQ(sp->edBegin()->Left(), Right(bl) + 2);
  EXPECT_EQ(sp->edBegin()->Top(), a);
  EXPECT_EQ(Right(sp->edBegin()), rp->Width() - 23 - 4);
  EXPECT_EQ(sp->BeginButton()->Left(), Right(sp->edBegin()) + 1);
  EXPECT_EQ(sp->FinalLabel()->Left(), 2);
  EXPECT_EQ(sp->FinalLabel()->Top(), a + a + 24);
  EXPECT_EQ(sp->edFinal()->Left(), sp->edBegin()->Left());
  EXPECT_EQ(sp->edFinal()->Top(), a + a + 24);
  EXPECT_EQ(sp->edFinal()->Width(), sp->edBegin()->Width());
  EXPECT_EQ(sp->FinalButton()->Left(), sp->BeginButton()->Left());
  EXPECT_EQ(sp->FinalButton()->Top(), sp->edFinal()->Top());

  sp->SetCanOpenWin(false);
  EXPECT_EQ(Right(sp->edBegin()), rp->Width() - 2);
}

TEST_F(SelectPanelLayoutTest, ListWithItsButtonsBeside) {
  sp->SetStyle(sp_Discrete);
  vcl::TPanel* lp = sp->ListPanel();
  ExpectInnerRect(lp, captionHeight + 3);
  vcl::TListView* list = sp->ListBox();
  EXPECT_EQ(list->Left(), 0);
  EXPECT_EQ(list->Top(), 0);
  EXPECT_EQ(list->Height(), lp->Height());
  EXPECT_EQ(list->Width(), lp->Width() - 23 - 3);
  EXPECT_EQ(sp->ListButton()->Left(), Right(list) + 2);
  EXPECT_EQ(sp->ListButton()->Top(), 0);
  EXPECT_EQ(sp->DeleteButton()->Left(), sp->ListButton()->Left());
  EXPECT_EQ(sp->DeleteButton()->Top(), 23);
  EXPECT_EQ(sp->ClearButton()->Left(), sp->ListButton()->Left());
  EXPECT_EQ(sp->ClearButton()->Top(), 46);
}

TEST_F(SelectPanelLayoutTest, UserChoiceShowsTheBoxAboveTheChosenPart) {
  sp->SetStyle(sp_UserChoice);
  vcl::TControl* box = sp->ChoiceBox();
  EXPECT_TRUE(box->Visible());
  EXPECT_EQ(box->Left(), 16);
  EXPECT_EQ(box->Top(), captionHeight + 1);
  EXPECT_EQ(box->Height(), boxTextHeight + 2);
  int top = box->Top() + boxTextHeight + 2;
  ExpectInnerRect(sp->RangePanel(), top);
  ExpectInnerRect(sp->ListPanel(), top);
  // The range row is laid out vertically here, labelled with entry 1.
  EXPECT_EQ(sp->FinalLabel()->Left(), 2);
  EXPECT_EQ(sp->edFinal()->Left(), sp->edBegin()->Left());
  // The chosen part is in front.
  vcl::TWinControl* parent = sp->RangePanel()->Parent();
  EXPECT_EQ(parent->Controls(parent->ControlCount() - 1), sp->RangePanel());
  sp->SetUserChoice(false);
  EXPECT_EQ(parent->Controls(parent->ControlCount() - 1), sp->ListPanel());
}

TEST_F(SelectPanelLayoutTest, ResizingOrANewFontLaysOutAgain) {
  sp->SetWidth(500);
  EXPECT_EQ(sp->RangePanel()->Width(), 496);
  // The row fills the width (the halving may leave a pixel either way).
  EXPECT_NEAR(Right(sp->FinalButton()), 496, 1);
  sp->Font()->SetHeight(-20);
  vcl::TCanvas c;
  c.Font()->Assign(sp->Font());
  EXPECT_EQ(sp->RangePanel()->Top(), c.TextHeight("") + 3);
}

}  // namespace

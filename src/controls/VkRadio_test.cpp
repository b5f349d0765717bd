#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "controls/VkRadioButton.h"
#include "controls/VkRadioGroup.h"
#include "controls/test/ControlsFixture.h"
#include "platform/vcl/ExtCtrls.h"

namespace {

using controls_test::ControlsTest;
using controls_test::SenderLog;
using VkRadioButton::TVkRadioButton;
using VkRadioGroup::TVkGroupButton;
using VkRadioGroup::TVkRadioGroup;

class VkRadioButtonTest : public ControlsTest {
 protected:
  TVkRadioButton* Radio(vcl::TWinControl* parent, int top) {
    auto* r = Add<TVkRadioButton>("", parent);
    r->SetTop(top);
    return r;
  }
};

TEST_F(VkRadioButtonTest, CheckingOneUnchecksTheOthersOfItsParentOnly) {
  auto* pnA = Add<vcl::TPanel>("pnA");
  auto* pnB = Add<vcl::TPanel>("pnB");
  TVkRadioButton* a[3] = {Radio(pnA, 0), Radio(pnA, 20), Radio(pnA, 40)};
  TVkRadioButton* b[2] = {Radio(pnB, 0), Radio(pnB, 20)};
  auto* plain = Add<vcl::TRadioButton>("", pnA);
  plain->SetChecked(true);
  a[0]->SetChecked(true);
  b[1]->SetChecked(true);
  SenderLog clicks;
  a[1]->OnClick = clicks.Event();

  a[1]->SetChecked(true);
  EXPECT_FALSE(a[0]->Checked());
  EXPECT_TRUE(a[1]->Checked());
  EXPECT_FALSE(a[2]->Checked());
  EXPECT_TRUE(b[1]->Checked());   // another panel: not affected
  EXPECT_TRUE(plain->Checked());  // not one of ours
  EXPECT_EQ(clicks.senders, std::vector<vcl::TObject*>{a[1]});
  EXPECT_TRUE(a[1]->TabStop());
  EXPECT_FALSE(a[0]->TabStop());
}

TEST_F(VkRadioButtonTest, ClicksDisabledCheckSilentlyAndUncheckingNeverClicks) {
  auto* r = Add<TVkRadioButton>();
  SenderLog clicks;
  r->OnClick = clicks.Event();
  r->SetClicksDisabled(true);
  r->SetChecked(true);
  r->SetClicksDisabled(false);
  r->SetChecked(false);
  EXPECT_TRUE(clicks.senders.empty());
  EXPECT_FALSE(r->TabStop());
}

TEST_F(VkRadioButtonTest, UserClicksDoubleClicksAndTheAcceleratorCheckTheButton) {
  auto* ed = Add<vcl::TEdit>();
  auto* r1 = Add<TVkRadioButton>();
  auto* r2 = Add<TVkRadioButton>();
  r2->SetTop(30);
  r2->SetCaption("每天(&D)");
  SenderLog clicks, doubles;
  r1->OnClick = clicks.Event();
  r1->OnDblClick = doubles.Event();
  vcl::SimulateClick(r1);
  EXPECT_TRUE(r1->Checked());
  EXPECT_EQ(clicks.senders.size(), 1u);
  vcl::SimulateClick(r1);  // already checked: stays so, no second click
  EXPECT_TRUE(r1->Checked());
  EXPECT_EQ(clicks.senders.size(), 1u);
  r1->Perform(vcl::WM_LBUTTONDBLCLK, 0, 0);
  EXPECT_EQ(doubles.senders.size(), 1u);

  ed->SetFocus();
  vcl::SimulateKey(ed, 'D', vcl::ssAlt);
  EXPECT_TRUE(r2->Checked());
  EXPECT_TRUE(r2->Focused());
  EXPECT_FALSE(r1->Checked());
}

TEST(VkRadioCaptionTest, CaptionOffsetGrowsWithTheFontSize) {
  const std::pair<int, int> cases[] = {{6, 17},  {8, 17},  {9, 19},  {15, 19}, {16, 20}, {17, 20},
                                       {18, 21}, {23, 21}, {24, 23}, {29, 23}, {30, 25}, {35, 25},
                                       {36, 27}, {41, 27}, {42, 29}, {43, 29}, {44, 31}, {60, 31},
                                       {61, 39}, {80, 39}, {81, 44}, {200, 44}};
  for (auto [size, offset] : cases) EXPECT_EQ(VkRadioButton::CaptionOffset(size), offset) << size;
}

TEST_F(VkRadioButtonTest, TheCaptionAreaIsFilledWithTheButtonsColourFromTheOffset) {
  auto* r = Add<TVkRadioButton>();
  r->SetBounds(10, 10, 120, 20);
  r->SetColor(vcl::clRed);
  r->Font()->SetSize(9);  // offset 19
  // What the window shows there: the parent's ground, the indicator, and the
  // caption area the button fills itself.
  QWidget* w = r->Handle();
  QImage img = w->parentWidget()->grab(w->geometry()).toImage();
  const QRgb red = qRgb(255, 0, 0);
  EXPECT_EQ(img.pixel(19, 2), red);
  EXPECT_EQ(img.pixel(119, 17), red);
  EXPECT_NE(img.pixel(17, 2), red);
}

class VkRadioGroupTest : public ControlsTest {
 protected:
  TVkRadioGroup* Group(int items, int columns) {
    auto* g = Add<TVkRadioGroup>("grp");
    g->SetBounds(0, 0, 210, 100);
    g->SetColumns(columns);
    for (int i = 0; i < items; ++i) g->Items()->Add("item" + std::to_string(i));
    return g;
  }
};

TEST_F(VkRadioGroupTest, OneGroupButtonPerItemInColumns) {
  TVkRadioGroup* g = Group(3, 2);
  ASSERT_EQ(g->ButtonCount(), 3);
  EXPECT_EQ(g->Buttons(0)->ClassName(), "TVkGroupButton");
  EXPECT_EQ(g->Buttons(0)->Owner(), g);
  EXPECT_EQ(g->Buttons(2)->Caption(), "item2");
  vcl::TCanvas c;
  c.Font()->Assign(g->Font());
  int textHeight = c.TextHeight("0");
  int rows = 2, height = (100 - textHeight - 5) / rows;
  EXPECT_EQ(g->Buttons(0)->Left(), 8);
  EXPECT_EQ(g->Buttons(1)->Left(), 8);
  EXPECT_EQ(g->Buttons(2)->Left(), 108);  // (210 - 10) / 2 = 100 wide
  EXPECT_EQ(g->Buttons(2)->Width(), 100);
  EXPECT_EQ(g->Buttons(0)->Height(), height);
  EXPECT_EQ(g->Buttons(1)->Top() - g->Buttons(0)->Top(), height);
  EXPECT_EQ(g->Buttons(2)->Top(), g->Buttons(0)->Top());
  g->SetColumns(1);
  EXPECT_EQ(g->Buttons(2)->Left(), 8);
  EXPECT_EQ(g->Buttons(2)->Width(), 200);
}

TEST_F(VkRadioGroupTest, ItemIndexIsClampedAndChecksItsButton) {
  TVkRadioGroup* g = Group(3, 1);
  EXPECT_EQ(g->ItemIndex(), -1);
  const std::pair<int, int> cases[] = {{1, 1}, {5, 2}, {-7, -1}, {0, 0}};
  for (auto [set, expected] : cases) {
    SCOPED_TRACE(set);
    g->SetItemIndex(set);
    EXPECT_EQ(g->ItemIndex(), expected);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(g->Buttons(i)->Checked(), i == expected);
  }
}

TEST_F(VkRadioGroupTest, AClickOnAButtonSetsItemIndexAndClicksTheGroup) {
  TVkRadioGroup* g = Group(3, 1);
  SenderLog clicks;
  g->OnClick = clicks.Event();
  vcl::SimulateClick(g->Buttons(2));
  EXPECT_EQ(g->ItemIndex(), 2);
  EXPECT_EQ(clicks.senders, std::vector<vcl::TObject*>{g});
  g->SetItemIndex(0);  // from code to another item: clicks too, as on the platform
  EXPECT_EQ(clicks.senders.size(), 2u);
}

TEST_F(VkRadioGroupTest, ChangingItemsKeepsAnIndexInRange) {
  TVkRadioGroup* g = Group(3, 1);
  g->SetItemIndex(1);
  g->Items()->Add("item3");
  EXPECT_EQ(g->ItemIndex(), 1);
  EXPECT_TRUE(g->Buttons(1)->Checked());
  g->SetItemIndex(3);
  g->Items()->Delete(3);
  EXPECT_EQ(g->ItemIndex(), -1);
  EXPECT_EQ(g->ButtonCount(), 3);
}

struct GroupKeyLog {
  std::vector<char> keys;
  void Press(vcl::TObject*, char& key) { keys.push_back(key); }
};

TEST_F(VkRadioGroupTest, KeysOfTheButtonsReachTheGroup) {
  TVkRadioGroup* g = Group(2, 1);
  GroupKeyLog log;
  g->OnKeyPress = vcl::MakeEvent<&GroupKeyLog::Press>(&log);
  g->Buttons(0)->SetFocus();
  vcl::SimulateKey(g->Buttons(0), 'X');
  EXPECT_EQ(log.keys, std::vector<char>{'x'});
}

}  // namespace

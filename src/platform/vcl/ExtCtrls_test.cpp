#include "platform/vcl/ExtCtrls.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

class RadioGroupTest : public FormFixture {};

TEST_F(RadioGroupTest, ItemIndexChecksItsButtonAndClicksAsOnThePlatform) {
  auto* group = Add<TRadioGroup>("rdoQueue");
  group->OnClick = Recorder();
  group->Items()->SetText("立即\r\n排程\r\n定时");
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(group->ItemIndex(), -1);
  group->SetItemIndex(1);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_EQ(log.Count(), 1u);  // code changes click too
  group->SetItemIndex(1);
  EXPECT_EQ(log.Count(), 1u);
  group->SetItemIndex(9);  // clamped to the last item
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_FALSE(group->Buttons(1)->Checked());
  SimulateClick(group->Buttons(0));
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(log.entries, (std::vector<std::string>{"rdoQueue", "rdoQueue", "rdoQueue"}));
  // New items keep the index and click nothing.
  group->Items()->Add("每周");
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_TRUE(group->Buttons(0)->Checked());
  EXPECT_EQ(log.Count(), 3u);
  group->SetItemIndex(-5);
  EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(RadioGroupTest, ButtonsAreArrangedInColumns) {
  auto* group = Add<TRadioGroup>();
  group->SetBounds(0, 0, 210, 85);
  group->SetColumns(2);
  group->Items()->SetText("a\r\nb\r\nc");
  int textHeight = QFontMetrics(group->Font()->ToQFont()).height();
  int buttonHeight = (85 - textHeight - 5) / 2;
  int top = textHeight + 1 + ((85 - textHeight - 5) % 2) / 2;
  struct Place {
    int left, top;
  };
  const Place expected[] = {{8, top}, {8, top + buttonHeight}, {8 + 100, top}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(group->Buttons(i)->Left(), expected[i].left);
    EXPECT_EQ(group->Buttons(i)->Top(), expected[i].top);
    EXPECT_EQ(group->Buttons(i)->Width(), 100);
    EXPECT_EQ(group->Buttons(i)->Height(), buttonHeight);
  }
}

TEST_F(RadioGroupTest, KeysOnAButtonReachTheGroup) {
  auto* group = Add<TRadioGroup>("rdo");
  group->Items()->SetText("a\r\nb");
  group->SetItemIndex(0);
  std::vector<Word> keys;
  struct Rec {
    std::vector<Word>* keys;
    void Key(TObject* sender, Word& key, TShiftState) {
      keys->push_back(key);
      EXPECT_EQ(dynamic_cast<TRadioGroup*>(sender) != nullptr, true);
    }
  } rec{&keys};
  group->OnKeyDown = MakeEvent<&Rec::Key>(&rec);
  group->Buttons(0)->SetFocus();
  SimulateKey(group->Buttons(0), VK_F2);
  EXPECT_EQ(keys, (std::vector<Word>{VK_F2}));
}

class AlignTest : public FormFixture {};

TEST_F(AlignTest, AlignedControlsShareTheClientAreaInTheirOrder) {
  form->SetBounds(0, 0, 509, 355);
  auto* left = Add<TPanel>("pnlCondition");
  left->SetWidth(151);
  left->SetAlign(alLeft);
  auto* bottom = Add<TPanel>("Panel1");
  bottom->SetHeight(43);
  bottom->SetAlign(alBottom);
  auto* splitter = Add<TSplitter>("Splitter1");
  splitter->SetLeft(200);
  auto* client = Add<TPanel>("pgOption");
  client->SetAlign(alClient);
  int cw = form->ClientWidth(), ch = form->ClientHeight();
  EXPECT_EQ(bottom->BoundsRect(), (TRect{0, ch - 43, cw, ch}));
  EXPECT_EQ(left->BoundsRect(), (TRect{0, 0, 151, ch - 43}));
  EXPECT_EQ(splitter->BoundsRect(), (TRect{151, 0, 154, ch - 43}));
  EXPECT_EQ(client->BoundsRect(), (TRect{154, 0, cw, ch - 43}));
  // The splitter drags the panel it sits against.
  EXPECT_EQ(splitter->ResizeControl(), left);
  splitter->MouseDown(mbLeft, 0, 1, 10);
  splitter->MouseMove(ssLeft, 21, 10);
  splitter->MouseUp(mbLeft, 0, 21, 10);
  EXPECT_EQ(left->Width(), 171);
  EXPECT_EQ(client->Left(), 174);
  // Resizing the window lays them out again.
  form->SetBounds(0, 0, 609, 455);
  EXPECT_EQ(client->Width(), form->ClientWidth() - 174);
  EXPECT_EQ(bottom->Top(), form->ClientHeight() - 43);
}

TEST_F(AlignTest, PanelBordersAndBevelsShrinkTheAreaOfAlignedChildren) {
  auto* panel = Add<TPanel>();
  panel->SetBounds(0, 0, 200, 100);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  auto* inner = new TPanel(form);
  inner->SetParent(panel);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), (TRect{4, 4, 196, 96}));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(inner->BoundsRect(), (TRect{3, 3, 197, 97}));
}

}  // namespace
}  // namespace vcl

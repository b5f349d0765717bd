#include "controls/F2Button.h"

#include <gtest/gtest.h>

#include "controls/test/ControlsFixture.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace {

using controls_test::ControlsTest;
using controls_test::SenderLog;
using F2Button::TF2Button;

class F2ButtonTest : public ControlsTest {
 protected:
  vcl::TEdit* Edit(int left, int top, int width, int height, const std::string& name = "") {
    auto* ed = Add<vcl::TEdit>(name);
    ed->SetBounds(left, top, width, height);
    return ed;
  }
};

TEST_F(F2ButtonTest, ANewButtonIsAFlatMagnifierThatAlignsItself) {
  auto* b = Add<TF2Button>();
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(b->GlyphIndex(), 8);
  EXPECT_TRUE(b->AutoAlign());
  EXPECT_EQ(b->Gap(), 2);
  EXPECT_EQ(b->F2Control(), nullptr);
}

struct AlignCase {
  int left, top, width, height, gap;
  vcl::TRect expected;
};

TEST_F(F2ButtonTest, BindingMakesASquareBesideTheControl) {
  const AlignCase cases[] = {
      {40, 30, 100, 21, 2, {142, 30, 163, 51}},  // 21 high, gap 2: 21 x 21 at the right edge + 2
      {10, 5, 85, 24, 0, {95, 5, 119, 29}},
      {0, 100, 60, 18, 7, {67, 100, 85, 118}},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(c.gap);
    auto* ed = Edit(c.left, c.top, c.width, c.height);
    auto* b = Add<TF2Button>();
    b->SetGap(c.gap);
    b->SetF2Control(ed);
    EXPECT_EQ(b->BoundsRect(), c.expected);
  }
}

TEST_F(F2ButtonTest, GapAndAutoAlignRealignOnlyWhileAutoAlignIsSet) {
  auto* ed = Edit(40, 30, 100, 21);
  auto* b = Add<TF2Button>();
  b->SetF2Control(ed);
  b->SetGap(6);
  EXPECT_EQ(b->Left(), 146);
  b->SetAutoAlign(false);
  b->SetGap(2);
  EXPECT_EQ(b->Left(), 146);
  ed->SetLeft(0);  // the button does not follow at run time
  EXPECT_EQ(b->Left(), 146);
  b->SetAutoAlign(true);
  EXPECT_EQ(b->Left(), 102);

  auto* loose = Add<TF2Button>();
  loose->SetAutoAlign(false);
  loose->SetBounds(1, 2, 23, 23);
  loose->SetF2Control(ed);
  EXPECT_EQ(loose->BoundsRect(), (vcl::TRect{1, 2, 24, 25}));
}

TEST_F(F2ButtonTest, ASecondButtonForTheSameEditIsRefusedWithAMessage) {
  auto* ed = Edit(0, 0, 100, 21);
  auto* other = Edit(0, 40, 100, 21);
  auto* first = Add<TF2Button>();
  first->SetF2Control(ed);
  auto* second = Add<TF2Button>();
  second->SetF2Control(other);
  second->SetF2Control(ed);
  EXPECT_EQ(Messages(), std::vector<std::string>{"不能同时有两个 F2Button 指到同一个 Edit."});
  EXPECT_EQ(vcl::ShownDialogs()[0].DialogType, vcl::mtError);
  EXPECT_EQ(second->F2Control(), other);
  // Unbinding the first frees the edit for another button.
  first->SetF2Control(nullptr);
  second->SetF2Control(ed);
  EXPECT_EQ(second->F2Control(), ed);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(F2ButtonTest, TheRuleLooksAtTheComponentsTheButtonsParentOwns) {
  // A panel that owns its buttons: the rule applies among them.
  auto* pnl = Add<vcl::TPanel>("pnl");
  auto* ed = Edit(0, 0, 100, 21);
  auto* a = new TF2Button(pnl);
  a->SetParent(pnl);
  a->SetF2Control(ed);
  auto* b = new TF2Button(pnl);
  b->SetParent(pnl);
  b->SetF2Control(ed);
  EXPECT_EQ(b->F2Control(), nullptr);
  EXPECT_EQ(Messages().size(), 1u);
  // A button parented elsewhere does not see them.
  auto* c = Add<TF2Button>();
  c->SetF2Control(ed);
  EXPECT_EQ(c->F2Control(), ed);
  EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(F2ButtonTest, AClickFocusesTheEditAndSendsTheLookupRequestToItsWindow) {
  auto* ed = Edit(0, 0, 100, 21, "edPrintDate");
  auto* elsewhere = Edit(0, 40, 100, 21);
  auto* b = Add<TF2Button>();
  b->SetF2Control(ed);
  size_t lookupsAtClick = 99;
  struct Probe {
    controls_test::TLookupForm* form;
    size_t* seen;
    void Click(vcl::TObject*) { *seen = form->Lookups.size(); }
  } probe{form, &lookupsAtClick};
  b->OnClick = vcl::MakeEvent<&Probe::Click>(&probe);
  elsewhere->SetFocus();
  vcl::SimulateClick(b);
  EXPECT_EQ(lookupsAtClick, 0u);  // OnClick runs first
  ASSERT_EQ(form->Lookups.size(), 1u);
  EXPECT_EQ(form->Lookups[0], ed);
  EXPECT_TRUE(form->FocusedAtLookup[0]);
  EXPECT_EQ(form->ActiveControl(), ed);
}

struct ClickCase {
  const char* what;
  bool enabled;
  bool visible;
};

TEST_F(F2ButtonTest, NoRequestForAnEditThatIsDisabledOrCannotTakeTheFocus) {
  const ClickCase cases[] = {{"disabled", false, true}, {"hidden", true, false}};
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.what);
    form->Lookups.clear();
    auto* ed = Edit(0, 0, 100, 21);
    ed->SetEnabled(c.enabled);
    ed->SetVisible(c.visible);
    auto* b = Add<TF2Button>();
    SenderLog clicks;
    b->OnClick = clicks.Event();
    b->SetF2Control(ed);
    b->Click();
    EXPECT_EQ(clicks.senders.size(), 1u);
    EXPECT_TRUE(form->Lookups.empty());
    EXPECT_NE(form->ActiveControl(), ed);
  }
}

TEST_F(F2ButtonTest, AFreedEditUnbindsItself) {
  auto* ed = Edit(0, 0, 100, 21);
  auto* b = Add<TF2Button>();
  b->SetF2Control(ed);
  ed->Free();
  EXPECT_EQ(b->F2Control(), nullptr);
  b->Click();
  EXPECT_TRUE(form->Lookups.empty());
}

TEST_F(F2ButtonTest, TheRequestGoesToTheEditsOwnerOrElseItsForm) {
  auto* pnl = Add<vcl::TPanel>("pnl");
  auto* ownedByPanel = new vcl::TEdit(pnl);
  ownedByPanel->SetParent(pnl);
  auto* ownerless = new vcl::TEdit(nullptr);
  ownerless->SetParent(form);
  auto* onForm = Edit(0, 0, 10, 10);
  EXPECT_EQ(F2Button::LookupWindow(onForm), form);
  EXPECT_EQ(F2Button::LookupWindow(ownedByPanel), pnl);
  EXPECT_EQ(F2Button::LookupWindow(ownerless), form);
  EXPECT_EQ(F2Button::LookupWindow(nullptr), nullptr);
  F2Button::SendLookupRequest(ownerless);
  EXPECT_EQ(form->Lookups, std::vector<vcl::TControl*>{ownerless});
}

}  // namespace

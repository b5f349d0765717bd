#include "platform/vcl/Mask.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/test/Fixture.h"

namespace vcl {
namespace {

using test::FormFixture;

struct MaskCase {
  const char* mask;
  const char* input;     // set as Text
  const char* editText;  // what the control shows
  const char* text;      // what Text reads back
  const char* blank;     // EditText of an empty value
};

const MaskCase kMasks[] = {
    // Dates with literals saved, and without.
    {"!9999/99/99;1;_", "2005/01/15", "2005/01/15", "2005/01/15", "____/__/__"},
    {"9999/99/99;0;_", "20050115", "2005/01/15", "20050115", "____/__/__"},
    {"9999/99/99;1;_", "20050115", "2005/01/15", "2005/01/15", "____/__/__"},
    // A short value fills from the left, or from the right with "!".
    {"999;1;_", "12", "12_", "12 ", "___"},
    {"!999;1;_", "12", "_12", " 12", "___"},
    // Case conversion and another blank character.
    {">LL-000;1;*", "ab-123", "AB-123", "AB-123", "**-***"},
    {"<ll>LL;1;_", "ABcd", "abCD", "abCD", "____"},
    // An escaped mask character is a literal; "_" shows a blank.
    {"\\A00;1;_", "A12", "A12", "A12", "A__"},
    {"00_00;0;_", "1234", "12 34", "1234", "__ __"},
    // Year and month, no literals saved.
    {"9999/99;0;_", "200503", "2005/03", "200503", "____/__"},
    // Without a mask the text is as given.
    {"", "x y", "x y", "x y", ""},
};

class MaskTest : public FormFixture {};

TEST_F(MaskTest, TextAndEditTextFollowTheMaskRules) {
  for (const MaskCase& c : kMasks) {
    SCOPED_TRACE(c.mask);
    auto* me = Add<TMaskEdit>();
    me->SetEditMask(c.mask);
    EXPECT_EQ(me->EditText(), c.blank);
    me->SetText(c.input);
    EXPECT_EQ(me->EditText(), c.editText);
    EXPECT_EQ(me->Text(), c.text);
    EXPECT_EQ(FormatMaskText(c.mask, c.input), c.editText);
    // A formatted entry reads back exactly.
    me->SetText(me->Text());
    EXPECT_EQ(me->EditText(), c.editText);
    EXPECT_EQ(qobject_cast<QLineEdit*>(me->Handle())->text().toStdString(), c.editText);
    if (c.mask[0]) {
      EXPECT_EQ(me->MaxLength(), static_cast<int>(std::string(c.editText).size()));
    }
  }
}

TEST_F(MaskTest, BlankTextOfAMaskFoundTheWayTheOptionFormFindsIt) {
  // Switch the save field to 0, clear, switch back, read: the blank text.
  auto* me = Add<TMaskEdit>("meStartDate");
  me->SetEditMask("!9999/99/99;1;_");
  me->SetText("2005/01/15");
  std::string user = me->Text();
  me->SetEditMask("!9999/99/99;0;_");
  me->SetText("");
  me->SetEditMask("!9999/99/99;1;_");
  EXPECT_EQ(me->Text(), "    /  /  ");
  me->SetText(user);
  EXPECT_EQ(me->Text(), "2005/01/15");
}

TEST_F(MaskTest, TypingFillsPositionsSkipsLiteralsAndRefusesWrongCharacters) {
  auto* me = Add<TMaskEdit>("edDate");
  me->SetEditMask("9999/99/99;1;_");
  me->OnChange = Recorder();
  me->SetFocus();
  me->SetSelStart(0);
  SimulateText(me, "2005x0115");
  EXPECT_EQ(me->EditText(), "2005/01/15");
  EXPECT_EQ(log.Count(), 8u);  // the refused x changed nothing
  SimulateKey(me, VK_BACK);
  EXPECT_EQ(me->EditText(), "2005/01/1_");
  EXPECT_TRUE(me->Modified());
}

// Entering selects the whole text and leaves the caret at its end; typing
// then replaces the selection from its first position.
TEST_F(MaskTest, TypingAfterEnteringReplacesTheSelectedText) {
  const struct {
    const char* mask;
    const char* before;
    const char* typed;
    const char* editText;
  } cases[] = {
      {"!aaaa-aaaaaaaaaaa;0; ", "", "340124010100001", "3401-24010100001"},
      {"9999/99/99;1;_", "2005/01/15", "2024", "2024/__/__"},
      {"9999/99/99;1;_", "2005/01/15", "x", "2005/01/15"},  // refused: nothing changes
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mask + std::string(" ") + c.typed);
    auto* other = Add<TEdit>();
    auto* me = Add<TMaskEdit>();
    me->SetEditMask(c.mask);
    me->SetText(c.before);
    other->SetFocus();
    me->SetFocus();
    ASSERT_TRUE(me->AutoSelect());
    SimulateText(me, c.typed);
    EXPECT_EQ(me->EditText(), c.editText);
  }
}

// A window that focuses its first edit while it is being shown: the edit is
// entered before its widget exists, and typing still starts at its start.
TEST_F(MaskTest, AnEditFocusedAsItsWindowShowsTakesTypingFromItsStart) {
  auto* window = Create<TForm>(nullptr);
  auto* me = new TMaskEdit(window);
  me->SetParent(window);
  me->SetEditMask("!aaaa-aaaaaaaaaaa;0; ");
  struct FocusOnShow {
    TMaskEdit* edit;
    void Show(TObject*) { edit->SetFocus(); }
  } focus{me};
  window->OnShow = MakeEvent<&FocusOnShow::Show>(&focus);
  window->Show();
  ASSERT_EQ(window->ActiveControl(), me);
  SimulateText(me, "3401");
  EXPECT_EQ(me->EditText(), "3401-           ");
  window->Free();
}

// A date field gets its mask when it is entered: the text shown anew leaves
// the caret at the start, where typing fills the date.
TEST_F(MaskTest, AMaskGivenOnEnteringTakesTypingFromTheStart) {
  auto* other = Add<TEdit>();
  auto* me = Add<TMaskEdit>("edPrintDate");
  struct DateMaskOnEnter {
    TMaskEdit* edit;
    void Enter(TObject*) { edit->SetEditMask("9999/99/99;1; "); }
  } dateMask{me};
  me->OnEnter = MakeEvent<&DateMaskOnEnter::Enter>(&dateMask);
  other->SetFocus();
  me->SetFocus();
  SimulateText(me, "20240215");
  EXPECT_EQ(me->Text(), "2024/02/15");
  // Text set from code while the field has the focus: typing starts anew.
  me->SetText("2023/01/01");
  SimulateText(me, "2025");
  EXPECT_EQ(me->Text(), "2025/01/01");
}

TEST_F(MaskTest, LeavingWithARequiredPositionEmptyKeepsTheFocus) {
  auto* me = Add<TMaskEdit>("ed01");
  auto* other = Add<TEdit>("ed02");
  me->SetEditMask("000;1;_");
  me->OnExit = Recorder();
  me->SetFocus();
  me->SetSelStart(0);
  SimulateText(me, "1");
  ClearShownDialogs();
  Application->SetModalHook([](TCustomForm& f) { f.SetModalResult(mrOk); });
  other->SetFocus();
  ASSERT_EQ(ShownDialogs().size(), 1u);
  EXPECT_EQ(ShownDialogs()[0].DialogType, mtError);
  EXPECT_EQ(form->ActiveControl(), me);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_THROW(me->ValidateEdit(), EDBEditError);
  // Set from code, the same text is not checked on leaving.
  me->SetText("1");
  other->SetFocus();
  EXPECT_EQ(form->ActiveControl(), other);
}

}  // namespace
}  // namespace vcl

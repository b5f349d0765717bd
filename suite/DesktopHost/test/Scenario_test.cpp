// The scenario language: how lines are read, keys named and property paths
// followed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/DesktopHost/Scenario.h"

namespace {

using DesktopHost::TScenario;

TEST(ScenarioParse, ReadsCommandsArgumentsQuotesAndComments) {
  const std::string text =
      "# a comment line\n"
      "\n"
      "open PVQR82 modal params=3   # trailing comment\n"
      "set sp01.edBegin.Text \"A 001 \\\"x\\\"\"\r\n"
      "type \"a#b\\tc\"\n"
      "key Ctrl+Tab\n";
  std::vector<TScenario::TLine> lines;
  std::string error;
  ASSERT_TRUE(TScenario::Parse(text, lines, error)) << error;
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Number, 3);
  EXPECT_EQ(lines[0].Command, "open");
  EXPECT_EQ(lines[0].Args, (std::vector<std::string>{"PVQR82", "modal", "params=3"}));
  EXPECT_EQ(lines[1].Args, (std::vector<std::string>{"sp01.edBegin.Text", "A 001 \"x\""}));
  EXPECT_EQ(lines[2].Args, (std::vector<std::string>{"a#b\tc"}));
  EXPECT_EQ(lines[3].Number, 6);
}

TEST(ScenarioParse, RefusesWhatItCannotRun) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"open PVQR82\nfly away\n", "line 2: unknown command \"fly\""},
      {"set onlypath\n", "line 1: \"set\" takes 2 arguments"},
      {"key\n", "line 1: \"key\" takes 1 arguments"},
      {"wait 1 2\n", "line 1: \"wait\" takes 0 to 1 arguments"},
      {"echo fine\ntype \"unclosed\n", "line 2: unclosed quote"},
      {"expect-result\n", "line 1: \"expect-result\" takes 1 to 2 arguments"},
  };
  for (const auto& c : cases) {
    std::vector<TScenario::TLine> lines;
    std::string error;
    EXPECT_FALSE(TScenario::Parse(c.text, lines, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(ScenarioKeys, NamesModifiersAndLetters) {
  const struct {
    const char* text;
    bool ok;
    vcl::Word key;
    vcl::TShiftState shift;
  } cases[] = {
      {"F2", true, vcl::VK_F2, 0},
      {"f12", true, vcl::VK_F12, 0},
      {"Enter", true, vcl::VK_RETURN, 0},
      {"Esc", true, vcl::VK_ESCAPE, 0},
      {"Ctrl+Tab", true, vcl::VK_TAB, vcl::ssCtrl},
      {"Ctrl+Shift+Tab", true, vcl::VK_TAB, vcl::ssCtrl | vcl::ssShift},
      {"Ctrl+Alt+V", true, 'V', vcl::ssCtrl | vcl::ssAlt},
      {"ctrl+pagedown", true, vcl::VK_NEXT, vcl::ssCtrl},
      {"a", true, 'A', 0},
      {"7", true, '7', 0},
      {"Shift+Down", true, vcl::VK_DOWN, vcl::ssShift},
      {"F13", false, 0, 0},
      {"Hyper+A", false, 0, 0},
      {"Ctrl+", false, 0, 0},
      {"Banana", false, 0, 0},
  };
  for (const auto& c : cases) {
    vcl::Word key = 0;
    vcl::TShiftState shift = 0;
    EXPECT_EQ(DesktopHost::ParseKey(c.text, key, shift), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(key, c.key) << c.text;
    EXPECT_EQ(shift, c.shift) << c.text;
  }
}

// A form with a panel owning an edit, and a group box parenting a check box
// owned by the form: paths go through owners, through parents, and end in a
// property.
class PathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = vcl::Create<vcl::TForm>(nullptr);
    form->SetName("frmPaths");
    panel = new vcl::TPanel(form);
    panel->SetName("sp01");
    panel->SetParent(form);
    edit = new vcl::TEdit(panel);  // owned by the panel, as a compound control's part
    edit->SetName("edBegin");
    edit->SetParent(panel);
    box = new vcl::TGroupBox(form);
    box->SetName("grpAlarm");
    box->SetParent(form);
    check = new vcl::TCheckBox(form);
    check->SetName("chkAlarm");
    check->SetParent(box);
  }
  void TearDown() override { form->Free(); }
  vcl::TForm* form = nullptr;
  vcl::TPanel* panel = nullptr;
  vcl::TEdit* edit = nullptr;
  vcl::TGroupBox* box = nullptr;
  vcl::TCheckBox* check = nullptr;
};

TEST_F(PathTest, FollowsOwnersAndParentsToTheProperty) {
  std::string last;
  EXPECT_EQ(DesktopHost::ResolvePath(form, "sp01.edBegin.Text", last), edit);
  EXPECT_EQ(last, "Text");
  EXPECT_EQ(DesktopHost::ResolvePath(form, "SP01.EDBEGIN.Text", last), edit);  // any case
  EXPECT_EQ(DesktopHost::ResolvePath(form, "grpAlarm.chkAlarm.Checked", last), check);
  EXPECT_EQ(DesktopHost::ResolvePath(form, "Caption", last), form);
  EXPECT_EQ(DesktopHost::ResolveComponent(form, "sp01.edBegin"), edit);
  EXPECT_EQ(DesktopHost::ResolveComponent(form, "chkAlarm"), check);
}

TEST_F(PathTest, MissingPartsRaise) {
  std::string last;
  for (const char* path : {"sp02.edBegin.Text", "sp01.edFinal.Text", "sp01..Text", ".Text"})
    EXPECT_ANY_THROW(DesktopHost::ResolvePath(form, path, last)) << path;
  EXPECT_ANY_THROW(DesktopHost::ResolveComponent(form, "sp01.edFinal"));
}

}  // namespace

// Coded messages: the texts from the host, the message trail, what is shown
// and what is only recorded, format failures, the dialog the window builds,
// quiet page changes, the Cancel exemption and the focus after an error.

#include <gtest/gtest.h>

#include "framework/test/Support.h"
#include "platform/vcl/StdCtrls.h"

namespace framework_test {
namespace {

class MessagesTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    host_.Messages["E;000005"] = "日期或时间格式不正确！%s";
    host_.Messages["I;000004"] = "作业已提交，编号 %s";
    host_.Messages["I;000008"] = "输入的代码";
    host_.Messages["W;000009"] = "共 %d 笔";
  }
};

TEST_F(MessagesTest, TheTrailRecordsCodesAndTextsAndShowsPositiveNumbers) {
  TTestWindow* w = InitializedWindow();
  struct Step {
    const char* code;
    const char* shownText;  // nullptr: nothing shown
    const char* codes;
    const char* texts;
  } steps[] = {
      // "%s" with no argument: the text with an empty argument.
      {"E;000005", "E000005:日期或时间格式不正确！", "E;000005; ",
       "E000005:日期或时间格式不正确！; "},
      // A negative number: looked up without its sign, recorded, not shown.
      {"I;-000004;J1", nullptr, "E;000005; I;-000004;J1; ",
       "E000005:日期或时间格式不正确！; I000004:作业已提交，编号 J1; "},
      // The same message again: twice among the codes, once among the texts.
      {"E;000005", "E000005:日期或时间格式不正确！", "E;000005; I;-000004;J1; E;000005; ",
       "E000005:日期或时间格式不正确！; I000004:作业已提交，编号 J1; "},
      // An empty code clears the trail.
      {"", nullptr, "", ""},
      // A text that does not fit its arguments: plain, with every argument.
      {"W;000009;abc", "W000009:共 %d 笔\rabc;;;;;;;;;;", "W;000009;abc; ",
       "W000009:共 %d 笔\rabc;;;;;;;;;;; "},
  };
  for (const Step& s : steps) {
    vcl::ClearShownDialogs();
    w->ShowMessageCode(s.code);
    EXPECT_EQ(w->MessageCodes, s.codes) << s.code;
    EXPECT_EQ(w->MessageTexts, s.texts) << s.code;
    if (s.shownText) {
      ASSERT_EQ(vcl::ShownDialogs().size(), 1u) << s.code;
      EXPECT_EQ(vcl::ShownDialogs()[0].Text, s.shownText);
    } else {
      EXPECT_TRUE(vcl::ShownDialogs().empty()) << s.code;
    }
  }
  EXPECT_EQ(host_.CallsOf("GetMessage").back(), "GetMessage('W','000009')");
  EXPECT_EQ(host_.CallsOf("GetMessage")[1], "GetMessage('I','000004')");
}

TEST_F(MessagesTest, DialogTypeFollowsTheMessageType) {
  TTestWindow* w = InitializedWindow();
  const struct {
    const char* code;
    vcl::TMsgDlgType type;
  } cases[] = {
      {"C;000001", vcl::mtWarning},     {"D;000001", vcl::mtWarning},
      {"W;000001", vcl::mtWarning},     {"E;000001", vcl::mtError},
      {"I;000001", vcl::mtInformation}, {"Q;000001", vcl::mtConfirmation},
      {"R;200235", vcl::mtCustom},
  };
  for (const auto& c : cases) {
    vcl::ClearShownDialogs();
    w->ShowMessageCode(c.code);
    ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
    const vcl::TShownDialog& d = vcl::ShownDialogs()[0];
    EXPECT_EQ(d.DialogType, c.type) << c.code;
    ASSERT_EQ(d.Buttons.size(), 1u);
    EXPECT_EQ(d.Buttons[0].Name, "OK");
    EXPECT_EQ(d.Buttons[0].Caption, "确定");  // the Chinese caption of the button
    EXPECT_EQ(d.Caption, w->Caption());
  }
}

TEST_F(MessagesTest, WithoutAHostTheTextNamesTheMessage) {
  TTestWindow* w = NewWindow();
  w->HostObject = platform::Variant();
  EXPECT_EQ(w->GetMessageText("E", "000005"), "Can not Get Message\rType= E, ID= 000005 ");
  w->ShowMessageCode("E;000001;x");
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"Can not Get Message\rType= E, ID= 000001 "});
}

TEST_F(MessagesTest, RecordErrorRecordsWithoutShowing) {
  TTestWindow* w = InitializedWindow();
  w->RecordError("  server gone  ");
  w->RecordError("server gone");
  EXPECT_EQ(w->MessageCodes, "E;-1; E;-1; ");
  EXPECT_EQ(w->MessageTexts, "server gone; ");
  EXPECT_TRUE(DialogTexts().empty());
  w->RecordError("   ");
  EXPECT_EQ(w->MessageCodes, "");
  EXPECT_EQ(w->MessageTexts, "");
}

TEST_F(MessagesTest, ShowMessageTakesTheTypesButtonsUnlessGiven) {
  TTestWindow* w = InitializedWindow();
  const struct {
    const char* type;
    vcl::TMsgDlgButtons buttons;
    std::vector<std::string> names;
    vcl::TMsgDlgType dialog;
  } cases[] = {
      {"C", 0, {"OK", "Cancel"}, vcl::mtWarning},
      {"D", 0, {"Yes", "No", "Cancel"}, vcl::mtWarning},
      {"E", 0, {"OK"}, vcl::mtError},
      {"I", 0, {"OK"}, vcl::mtInformation},
      {"Q", 0, {"OK", "Cancel"}, vcl::mtConfirmation},
      {"W", 0, {"OK", "Cancel"}, vcl::mtWarning},
      {"R", 0, {"OK"}, vcl::mtCustom},
      {"Q", vcl::MsgDlgButtons({vcl::mbYes, vcl::mbNo}), {"Yes", "No"}, vcl::mtConfirmation},
  };
  for (const auto& c : cases) {
    vcl::ClearShownDialogs();
    const int result = w->ShowMessage(c.type, "000003", c.buttons, {"甲", "乙"});
    ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
    const vcl::TShownDialog& d = vcl::ShownDialogs()[0];
    EXPECT_EQ(d.Text, std::string(c.type) + "000003:甲");
    EXPECT_EQ(d.DialogType, c.dialog);
    std::vector<std::string> names;
    for (const auto& b : d.Buttons) names.push_back(b.Name);
    EXPECT_EQ(names, c.names) << c.type;
    EXPECT_EQ(result, d.Buttons[0].ModalResult);  // the hook answers with the first button
  }
  // The trail is not touched.
  EXPECT_EQ(w->MessageCodes, "");
}

TEST_F(MessagesTest, QuietMessagesShowOnlyErrors) {
  TTestWindow* w = InitializedWindow();
  w->QuietMessages = true;
  EXPECT_EQ(w->MessageBox("note", vcl::mtInformation, vcl::MsgDlgButtons({vcl::mbOK})), 0);
  w->ShowMessageCode("W;000001");
  EXPECT_TRUE(DialogTexts().empty());
  EXPECT_EQ(w->MessageCodes, "W;000001; ");  // recorded all the same
  w->ShowMessageCode("E;000005");
  EXPECT_EQ(DialogTexts(), std::vector<std::string>{"E000005:日期或时间格式不正确！"});
}

TEST_F(MessagesTest, AnEnglishInterfaceKeepsTheButtonsEnglish) {
  WriteClientSettings("", "437");
  TTestWindow* w = InitializedWindow();
  w->MessageBox("text", vcl::mtConfirmation, vcl::mbYesNoCancel);
  ASSERT_EQ(vcl::ShownDialogs().size(), 1u);
  std::vector<std::string> captions;
  for (const auto& b : vcl::ShownDialogs()[0].Buttons) captions.push_back(b.Caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
}

TEST_F(MessagesTest, WhileCancelHasTheFocusNothingIsShownOrRecorded) {
  TTestWindow* w = InitializedWindow();
  ShowWindow(w);
  w->btnCancel->SetFocus();
  w->ShowMessageCode("E;000005");
  w->RecordError("lost");
  platform::Variant result("kept");
  const bool valid = w->ValidateValue("CMSMB", "01", "E", 0, result,
                                      platform::VarArrayOf({platform::Variant("X")}));
#if VK_COMPAT_BUILD
  EXPECT_EQ(DialogTexts().size(), 2u);  // E;000005 and the refused value
  EXPECT_FALSE(valid);
  EXPECT_NE(w->MessageCodes, "");
#else
  EXPECT_TRUE(DialogTexts().empty());
  EXPECT_TRUE(valid);  // accepted without asking
  EXPECT_EQ(result, platform::Variant("kept"));
  EXPECT_EQ(w->MessageCodes, "");
  EXPECT_TRUE(host_.CallsOf("CheckValue").size() <= 1u);  // only the program name lookup
#endif
}

TEST_F(MessagesTest, AfterAnErrorTheFocusGoesBack) {
  TTestWindow* w = NewWindow();
  auto* first = w->Add<vcl::TEdit>("ed01", w->tsOption1);
  auto* second = w->Add<vcl::TEdit>("ed02", w->tsOption1);
  ASSERT_TRUE(w->Initialize(HostParams()));
  ShowWindow(w);
  // An exit check that fails while the focus moves on: the error message
  // puts the focus back on the field being left.
  struct Checker {
    TTestWindow* window;
    void Exit(vcl::TObject*) { window->ShowMessageCode("E;000005"); }
  } checker{w};
  first->OnExit = vcl::MakeEvent<&Checker::Exit>(&checker);
  first->SetFocus();
  second->SetFocus();
  EXPECT_EQ(DialogTexts().size(), 1u);
  EXPECT_EQ(w->ActiveControl(), first);
  // A warning leaves the focus where it went.
  first->OnExit = vcl::TNotifyEvent{};
  second->SetFocus();
  w->ShowMessageCode("W;000001");
  EXPECT_EQ(w->ActiveControl(), second);
}

}  // namespace
}  // namespace framework_test

#include "platform/vcl/Forms.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <QWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {
namespace {

// A window that logs its key, focus and message traffic.
class TLogForm : public TForm {
  VCL_CLASS_INFO()
 public:
  explicit TLogForm(TComponent* owner) : TForm(owner) {
    SetKeyPreview(true);
    OnKeyDown = MakeEvent<&TLogForm::FormKeyDown>(this);
    OnKeyPress = MakeEvent<&TLogForm::FormKeyPress>(this);
    OnClose = MakeEvent<&TLogForm::FormClose>(this);
    OnCloseQuery = MakeEvent<&TLogForm::FormCloseQuery>(this);
    for (int i = 0; i < 3; ++i) {
      auto* e = new TEdit(this);
      e->SetName("ed" + std::to_string(i));
      e->SetParent(this);
      e->SetBounds(10, 10 + 30 * i, 100, 21);
      e->OnKeyDown = MakeEvent<&TLogForm::EditKeyDown>(this);
      e->OnKeyPress = MakeEvent<&TLogForm::EditKeyPress>(this);
      e->OnEnter = MakeEvent<&TLogForm::Enter>(this);
      e->OnExit = MakeEvent<&TLogForm::Exit>(this);
      edits.push_back(e);
    }
  }
  void FormKeyDown(TObject*, Word& key, TShiftState) {
    log.push_back("form.down " + std::to_string(key));
    if (key == consumeKey) key = 0;
  }
  void FormKeyPress(TObject*, char& ch) {
    log.push_back("form.press " + std::to_string(static_cast<int>(ch)));
    if (ch == consumeChar) ch = 0;
  }
  void EditKeyDown(TObject* sender, Word& key, TShiftState) {
    log.push_back(static_cast<TComponent*>(sender)->Name() + ".down " + std::to_string(key));
  }
  void EditKeyPress(TObject* sender, char& ch) {
    log.push_back(static_cast<TComponent*>(sender)->Name() + ".press " +
                  std::to_string(static_cast<int>(ch)));
  }
  void Enter(TObject* sender) {
    log.push_back("enter " + static_cast<TComponent*>(sender)->Name());
  }
  void Exit(TObject* sender) {
    log.push_back("exit " + static_cast<TComponent*>(sender)->Name());
    if (refocusOnExit == sender) refocusOnExit->SetFocus();
  }
  void FormClose(TObject*, TCloseAction& action) {
    log.push_back("close");
    action = closeAction;
  }
  void FormCloseQuery(TObject*, bool& canClose) { canClose = allowClose; }
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_FOCUSCHANGED) focusChanges.push_back(reinterpret_cast<TControl*>(m.LParam));
    if (m.Msg == WM_USER + 11) {
      SetModalResult(static_cast<int>(m.WParam));
      return;
    }
    if (m.Msg == WM_USER + 10) {
      lookups.push_back(reinterpret_cast<TControl*>(m.LParam));
      return;
    }
    TForm::WndProc(m);
  }

  std::vector<TEdit*> edits;
  std::vector<std::string> log;
  std::vector<TControl*> lookups;
  std::vector<TControl*> focusChanges;
  Word consumeKey = 0;
  char consumeChar = 1;
  TWinControl* refocusOnExit = nullptr;
  TCloseAction closeAction = caHide;
  bool allowClose = true;
};

const TClassInfo* TLogForm::StaticClassInfo() {
  static const TClassInfo info("TLogForm", TForm::StaticClassInfo());
  return &info;
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = Create<TLogForm>(nullptr);
    form_->Show();
    form_->log.clear();
  }
  void TearDown() override {
    Application->SetModalHook(nullptr);
    if (IsLiveComponent(form_)) form_->Free();
  }
  TLogForm* form_ = nullptr;
};

TEST_F(FormTest, KeyPreviewShowsEveryKeyToTheFormFirst) {
  TEdit* ed = form_->edits[1];
  ed->SetFocus();
  form_->log.clear();
  SimulateKey(ed, 'A');
  EXPECT_EQ(form_->log, (std::vector<std::string>{"form.down 65", "ed1.down 65", "form.press 97",
                                                  "ed1.press 97"}));
  EXPECT_EQ(ed->Text(), "a");
}

TEST_F(FormTest, TheFormUsesUpKeysAndCharacters) {
  TEdit* ed = form_->edits[0];
  ed->SetFocus();
  form_->log.clear();
  form_->consumeKey = VK_F2;
  SimulateKey(ed, VK_F2);
  EXPECT_EQ(form_->log, (std::vector<std::string>{"form.down 113"}));

  form_->log.clear();
  form_->consumeChar = 'x';
  SimulateKey(ed, 'X');
  EXPECT_EQ(form_->log,
            (std::vector<std::string>{"form.down 88", "ed0.down 88", "form.press 120"}));
  EXPECT_EQ(ed->Text(), "");

  // Without KeyPreview the form sees nothing.
  form_->SetKeyPreview(false);
  form_->log.clear();
  SimulateKey(ed, 'B');
  EXPECT_EQ(form_->log, (std::vector<std::string>{"ed0.down 66", "ed0.press 98"}));
}

// F2 that opens a lookup window answered from the keyboard: the window's
// keys come and go inside the handler, and the F2 that goes on to the
// edit's parents afterwards must not reach the form a second time.
TEST_F(FormTest, AKeyWhoseHandlerRunsOtherKeysReachesTheFormOnce) {
  auto* lookup = Create<TLogForm>(nullptr);
  lookup->Show();
  struct OpenLookupOnF2 {
    TLogForm* lookup;
    int opened = 0;
    void Down(TObject*, Word& key, TShiftState) {
      if (key != VK_F2) return;
      ++opened;
      lookup->edits[0]->SetFocus();
      SimulateKey(lookup->edits[0], 'A');
      SimulateKey(lookup->edits[0], VK_RETURN);
    }
  } handler{lookup};
  form_->OnKeyDown = MakeEvent<&OpenLookupOnF2::Down>(&handler);
  TEdit* ed = form_->edits[0];
  ed->SetFocus();
  form_->log.clear();
  SimulateKey(ed, VK_F2);
  EXPECT_EQ(handler.opened, 1);
  EXPECT_EQ(std::count(form_->log.begin(), form_->log.end(), "ed0.down 113"), 1);
  // The lookup window had its keys.
  EXPECT_EQ(lookup->edits[0]->Text(), "a");
  EXPECT_EQ(std::count(lookup->log.begin(), lookup->log.end(), "form.down 13"), 1);
  lookup->Free();
}

TEST_F(FormTest, TabFollowsTabOrderAndRunsExitBeforeEnter) {
  form_->edits[2]->SetTabOrder(0);  // order: ed2, ed0, ed1
  form_->edits[2]->SetFocus();
  form_->log.clear();
  SimulateKey(form_->edits[2], VK_TAB);
  EXPECT_EQ(form_->ActiveControl(), form_->edits[0]);
  SimulateKey(form_->edits[0], VK_TAB, ssShift);
  EXPECT_EQ(form_->ActiveControl(), form_->edits[2]);
  form_->edits[0]->SetEnabled(false);
  SimulateKey(form_->edits[2], VK_TAB);
  EXPECT_EQ(form_->ActiveControl(), form_->edits[1]);
  EXPECT_EQ(form_->log,
            (std::vector<std::string>{"form.down 9", "ed2.down 9", "exit ed2", "enter ed0",
                                      "form.down 9", "ed0.down 9", "exit ed0", "enter ed2",
                                      "form.down 9", "ed2.down 9", "exit ed2", "enter ed1"}));
  EXPECT_EQ(form_->FindNextControl(form_->edits[1], true, true, false), form_->edits[2]);
  // The form is told of each completed move, after the enter/exit handlers.
  ASSERT_GE(form_->focusChanges.size(), 3u);
  EXPECT_EQ(form_->focusChanges.back(), form_->edits[1]);
}

TEST_F(FormTest, AnExitHandlerThatKeepsTheFocusStopsTheMove) {
  form_->edits[0]->SetFocus();
  form_->refocusOnExit = form_->edits[0];
  form_->log.clear();
  form_->edits[1]->SetFocus();
  EXPECT_EQ(form_->ActiveControl(), form_->edits[0]);
  EXPECT_EQ(form_->log, (std::vector<std::string>{"exit ed0", "enter ed0"}));
}

// A click moves the focus before it acts, so the exit check of the control
// being left runs first; when that check keeps the focus, the click is lost.
TEST_F(FormTest, AClickTakesTheFocusFirstAndIsLostWhenAnExitCheckKeepsIt) {
  auto* ok = new TButton(form_);
  ok->SetName("btnOk");
  ok->SetParent(form_);
  ok->SetBounds(10, 200, 75, 25);
  auto* panel = new TPanel(form_);
  panel->SetParent(form_);
  panel->SetBounds(100, 200, 75, 25);
  int clicks = 0;
  struct Counter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicks};
  ok->OnClick = MakeEvent<&Counter::Click>(&counter);

  form_->edits[0]->SetFocus();
  form_->refocusOnExit = form_->edits[0];
  form_->log.clear();
  SimulateClick(ok);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(form_->ActiveControl(), form_->edits[0]);
  EXPECT_EQ(form_->log, (std::vector<std::string>{"exit ed0", "enter ed0"}));

  form_->refocusOnExit = nullptr;
  SimulateClick(ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form_->ActiveControl(), ok);

  // A control outside the tab order does not take the focus by click.
  form_->edits[1]->SetFocus();
  SimulateClick(panel);
  EXPECT_EQ(form_->ActiveControl(), form_->edits[1]);
}

TEST_F(FormTest, LeavingAContainerExitsItAndEnteringOneEntersItOutsideIn) {
  auto* box = new TGroupBox(form_);
  box->SetName("grp");
  box->SetParent(form_);
  auto* inner = new TEdit(form_);
  inner->SetName("edInner");
  inner->SetParent(box);
  box->OnEnter = MakeEvent<&TLogForm::Enter>(form_);
  box->OnExit = MakeEvent<&TLogForm::Exit>(form_);
  inner->OnEnter = MakeEvent<&TLogForm::Enter>(form_);
  inner->OnExit = MakeEvent<&TLogForm::Exit>(form_);
  form_->edits[0]->SetFocus();
  form_->log.clear();
  inner->SetFocus();
  form_->edits[1]->SetFocus();
  EXPECT_EQ(form_->log, (std::vector<std::string>{"exit ed0", "enter grp", "enter edInner",
                                                  "exit edInner", "exit grp", "enter ed1"}));
  box->SetVisible(false);
  EXPECT_THROW(inner->SetFocus(), EInvalidOperation);
}

TEST_F(FormTest, DefaultAndCancelButtonsAnswerEnterAndEsc) {
  auto* ok = new TButton(form_);
  ok->SetParent(form_);
  ok->SetDefault(true);
  auto* cancel = new TButton(form_);
  cancel->SetParent(form_);
  cancel->SetCancel(true);
  std::vector<TObject*> clicks;
  struct Rec {
    std::vector<TObject*>* v;
    void Click(TObject* s) { v->push_back(s); }
  } rec{&clicks};
  ok->OnClick = MakeEvent<&Rec::Click>(&rec);
  cancel->OnClick = MakeEvent<&Rec::Click>(&rec);
  form_->edits[0]->SetFocus();
  SimulateKey(form_->edits[0], VK_RETURN);
  SimulateKey(form_->edits[0], VK_ESCAPE);
  EXPECT_EQ(clicks, (std::vector<TObject*>{ok, cancel}));
  // Enter on a focused button clicks that button.
  cancel->SetFocus();
  SimulateKey(cancel, VK_RETURN);
  EXPECT_EQ(clicks.back(), cancel);
}

TEST_F(FormTest, PostedLookupMessageReachesTheFormThroughTheEventLoop) {
  TEdit* ed = form_->edits[2];
  PostMessage(form_, WM_USER + 10, 0, reinterpret_cast<LPARAM>(ed));
  EXPECT_TRUE(form_->lookups.empty());
  Application->ProcessMessages();
  ASSERT_EQ(form_->lookups.size(), 1u);
  EXPECT_EQ(form_->lookups[0], ed);
  // Sent messages are handled at once.
  SendMessage(form_, WM_USER + 10, 0, reinterpret_cast<LPARAM>(form_->edits[0]));
  EXPECT_EQ(form_->lookups.size(), 2u);
}

TEST_F(FormTest, PostedCloseRequestAndCloseActionFree) {
  form_->closeAction = caFree;
  PostMessage(form_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(form_->Visible());
  Application->ProcessMessages();  // runs WM_CLOSE: OnClose says free
  Application->ProcessMessages();  // the release
  EXPECT_FALSE(IsLiveComponent(form_));
}

TEST_F(FormTest, CloseQueryCanKeepTheFormOpen) {
  form_->allowClose = false;
  form_->Close();
  EXPECT_TRUE(form_->Visible());
  EXPECT_TRUE(form_->log.empty());
  form_->allowClose = true;
  form_->Close();
  EXPECT_FALSE(form_->Visible());
  EXPECT_EQ(form_->log, (std::vector<std::string>{"close"}));
}

TEST_F(FormTest, MessagesToAFreedControlAreDropped) {
  auto* other = Create<TLogForm>(nullptr);
  PostMessage(other, WM_USER + 10, 0, 0);
  other->Free();
  Application->ProcessMessages();  // must not touch the freed form
  SUCCEED();
}

// Windows painted and freed one after another leave nothing behind. Every
// control has a palette of its own, so a pixmap cache would keep one set of
// button faces per window, and Qt (6.4) keeps the text key of each face
// for good, even once the face is evicted or the cache cleared.
TEST(ApplicationTest, WindowsPaintedAndFreedLeaveNoHeapBehind) {
  int argc = 1;
  char name[] = "vcltest";
  char* argv[] = {name, nullptr};
  Application->Initialize(argc, argv);  // the QApplication exists already
  const auto paintWindow = [] {
    auto* form = Create<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 100);
    for (int i = 0; i < 8; ++i) {
      auto* button = new TButton(form);
      button->SetParent(form);
      button->SetBounds(10 + 95 * (i % 4), 10 + 40 * (i / 4), 85, 25);
      button->SetCaption("确定");
    }
    form->Show();
    form->Handle()->grab();
    form->Free();
    Application->ProcessMessages();
  };
  for (int i = 0; i < 5; ++i) paintWindow();  // fonts and glyphs are loaded once
  const long before = static_cast<long>(::mallinfo2().uordblks);
  for (int i = 0; i < 200; ++i) paintWindow();
  const long growth = static_cast<long>(::mallinfo2().uordblks) - before;
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "mallinfo2 does not see the address sanitizer's allocator";
#endif
  // Some tens of KiB come and go with the allocator's free lists; a cache
  // of faces, even a small one, keeps about 2.5 KiB per window.
  EXPECT_LT(growth, 128 * 1024) << "heap in use grew by " << growth << " bytes over 200 windows";
}

class ModalTest : public ::testing::Test {
 protected:
  void TearDown() override { Application->SetModalHook(nullptr); }
};

TEST_F(ModalTest, TheHookAnswersShowModalThroughAButtonsModalResult) {
  auto* form = Create<TLogForm>(nullptr);
  auto* ok = new TButton(form);
  ok->SetName("btnOk");
  ok->SetParent(form);
  ok->SetModalResult(mrOk);
  bool shownInHook = false;
  Application->SetModalHook([&](TCustomForm& f) {
    shownInHook = f.Visible();
    dynamic_cast<TButton*>(f.FindComponent("btnOk"))->Click();
  });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(shownInHook);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->log.back(), "close");
  // A hook that answers nothing gets mrNone back without waiting.
  Application->SetModalHook([](TCustomForm&) {});
  EXPECT_EQ(form->ShowModal(), mrNone);
  // A refused close keeps the form open: no result.
  form->allowClose = false;
  Application->SetModalHook([](TCustomForm& f) { f.SetModalResult(mrCancel); });
  EXPECT_EQ(form->ShowModal(), mrNone);
  form->Free();
}

TEST_F(ModalTest, WithoutAHookANestedEventLoopRunsUntilTheResultIsSet) {
  auto* form = Create<TLogForm>(nullptr);
  // Delivered by the modal loop itself.
  PostMessage(form, WM_USER + 11, mrRetry, 0);
  EXPECT_EQ(form->ShowModal(), mrRetry);
  EXPECT_FALSE(form->Visible());
  EXPECT_THROW(
      {
        form->Show();
        form->ShowModal();
      },
      EInvalidOperation);
  form->Free();
}

TEST_F(ModalTest, MessageDialogsAreRecordedAndAnsweredByTheHook) {
  ClearShownDialogs();
  std::vector<std::string> names;
  Application->SetModalHook([&](TCustomForm& f) {
    auto& dialog = dynamic_cast<TMessageForm&>(f);
    EXPECT_EQ(dialog.Message()->Caption(), "保存吗?");
    for (int i = 0; i < f.ComponentCount(); ++i)
      if (dynamic_cast<TButton*>(f.Components(i))) names.push_back(f.Components(i)->Name());
    dynamic_cast<TButton*>(f.FindComponent("No"))->Click();
  });
  EXPECT_EQ(MessageDlg("保存吗?", mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(names, (std::vector<std::string>{"Yes", "No", "Cancel"}));
  ASSERT_EQ(ShownDialogs().size(), 1u);
  const TShownDialog& d = ShownDialogs()[0];
  EXPECT_EQ(d.Text, "保存吗?");
  EXPECT_EQ(d.Caption, "Confirmation");
  EXPECT_EQ(d.DialogType, mtConfirmation);
  ASSERT_EQ(d.Buttons.size(), 3u);
  EXPECT_EQ(d.Buttons[0].Caption, "&Yes");
  EXPECT_EQ(d.Buttons[2].ModalResult, mrCancel);
  EXPECT_EQ(d.Result, mrNo);

  // Callers may retitle the buttons and set the font before showing.
  TMessageForm* dialog = CreateMessageDialog("出错", mtError, MsgDlgButtons({mbOK}));
  dynamic_cast<TButton*>(dialog->FindComponent("OK"))->SetCaption("确定");
  dialog->SetCaption("PVQR82");
  dialog->Font()->SetName("SimSun");
  dialog->Font()->SetCharset(134);
  Application->SetModalHook([](TCustomForm& f) { SimulateKey(f.ActiveControl(), VK_RETURN); });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  dialog->Free();
  const TShownDialog& e = ShownDialogs().back();
  EXPECT_EQ(e.Caption, "PVQR82");
  EXPECT_EQ(e.Buttons[0].Caption, "确定");
  EXPECT_EQ(e.FontName, "SimSun");
  EXPECT_EQ(e.FontCharset, 134);
}

}  // namespace
}  // namespace vcl

#include "platform/vcl/Classes.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {
namespace {

// A form that records what its handlers saw.
class TRecordingForm : public TForm {
  VCL_CLASS_INFO()
 public:
  explicit TRecordingForm(TComponent* owner) : TForm(owner) {
    edit = new TEdit(this);
    edit->SetName("edName");
    edit->SetParent(this);
    OnDestroy = MakeEvent<&TRecordingForm::FormDestroy>(this);
  }
  void FormDestroy(TObject*) {
    // The whole form is still there while OnDestroy runs.
    componentsAtDestroy = ComponentCount();
    editNameAtDestroy = FindComponent("EDNAME") ? FindComponent("EDNAME")->Name() : "";
    if (destroyLog) destroyLog->push_back("destroy");
  }
  void Clicked(TObject* sender) { clicks.push_back(sender); }
  void Entered(TObject* sender) { entered.push_back(sender); }

  TEdit* edit;
  int componentsAtDestroy = -1;
  std::string editNameAtDestroy;
  std::vector<std::string>* destroyLog = nullptr;
  std::vector<TObject*> clicks;
  std::vector<TObject*> entered;
};

const TClassInfo* TRecordingForm::StaticClassInfo() {
  using P = PropBuilder<TRecordingForm>;
  static const TClassInfo info("TRecordingForm", TForm::StaticClassInfo(), {},
                               {P::PublishedMethod<&TRecordingForm::Clicked>("Clicked"),
                                P::PublishedMethod<&TRecordingForm::Entered>("Entered")});
  return &info;
}

TEST(Ownership, FindComponentIgnoresCaseAndNamesAreUniquePerOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  a->SetName("btnOk");
  auto* b = new TComponent(&owner);
  b->SetName("btnCancel");
  EXPECT_EQ(owner.FindComponent("BTNOK"), a);
  EXPECT_EQ(owner.FindComponent("btncancel"), b);
  EXPECT_EQ(owner.FindComponent("btnHelp"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  EXPECT_THROW(b->SetName("BtnOK"), EComponentError);
  EXPECT_EQ(b->Name(), "btnCancel");
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  // Another owner may use the same name.
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  EXPECT_NO_THROW(c->SetName("btnOk"));
  EXPECT_EQ(a->ComponentIndex(), 0);
  EXPECT_EQ(b->ComponentIndex(), 1);
}

TEST(Ownership, OwnerFreesWhatItOwnsAndFreedComponentsLeaveTheirOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* inner = new TComponent(a);
  EXPECT_TRUE(IsLiveComponent(inner));
  a->Free();
  EXPECT_FALSE(IsLiveComponent(inner));
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(Ownership, OwnerAndParentAreSeparateTrees) {
  auto* form = Create<TForm>(nullptr);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  auto* edit = new TEdit(form);  // owned by the form, shown inside the panel
  edit->SetName("ed01");
  edit->SetParent(panel);
  EXPECT_EQ(edit->Owner(), form);
  EXPECT_EQ(edit->Parent(), panel);
  EXPECT_EQ(panel->ControlCount(), 1);
  EXPECT_EQ(form->ComponentCount(), 2);
  // Freeing the panel frees the controls inside it; they leave their owner.
  panel->Free();
  EXPECT_FALSE(IsLiveComponent(edit));
  EXPECT_EQ(form->ComponentCount(), 0);
  EXPECT_EQ(form->FindComponent("ed01"), nullptr);
  form->Free();
}

TEST(Disposal, OnDestroyRunsOnAWholeFormAndDisposingTwiceIsHarmless) {
  std::vector<std::string> log;
  auto* form = Create<TRecordingForm>(nullptr);
  form->destroyLog = &log;
  TEdit* edit = form->edit;
  form->Dispose();
  EXPECT_EQ(form->componentsAtDestroy, 1);
  EXPECT_EQ(form->editNameAtDestroy, "edName");
  EXPECT_FALSE(IsLiveComponent(edit));
  form->Dispose();  // nothing more happens
  EXPECT_EQ(log.size(), 1u);
  // Calls after disposal do nothing and do not crash.
  form->SetCaption("x");
  form->Show();
  EXPECT_FALSE(form->Visible());
  form->Perform(WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->HandleAllocated());
  form->Free();
  EXPECT_EQ(log.size(), 1u);
}

TEST(Disposal, NoHandlerRunsWhileAFocusedControlGoesAway) {
  auto* form = Create<TRecordingForm>(nullptr);
  form->Show();
  int exits = 0;
  struct Counter {
    int* n;
    void Exit(TObject*) { ++*n; }
  } counter{&exits};
  form->edit->OnExit = MakeEvent<&Counter::Exit>(&counter);
  form->edit->SetFocus();
  EXPECT_EQ(form->ActiveControl(), form->edit);
  form->Free();
  EXPECT_EQ(exits, 0);
}

TEST(Disposal, FreeNotificationClearsReferencesToAFreedControl) {
  auto* form = Create<TForm>(nullptr);
  auto* label = new TLabel(form);
  label->SetParent(form);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  label->SetFocusControl(edit);
  EXPECT_EQ(label->FocusControl(), edit);
  edit->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  form->Free();
}

TEST(Events, BoundMethodsCompareByMethodAndObject) {
  auto* a = Create<TRecordingForm>(nullptr);
  auto* b = Create<TRecordingForm>(nullptr);
  TNotifyEvent e1 = MakeEvent<&TRecordingForm::Clicked>(a);
  TNotifyEvent e2 = MakeEvent<&TRecordingForm::Clicked>(a);
  TNotifyEvent e3 = MakeEvent<&TRecordingForm::Clicked>(b);
  TNotifyEvent e4 = MakeEvent<&TRecordingForm::Entered>(a);
  EXPECT_EQ(e1, e2);
  EXPECT_NE(e1, e3);
  EXPECT_NE(e1, e4);
  EXPECT_EQ(e1.Method().Code, e3.Method().Code);
  EXPECT_NE(e1.Method().Code, e4.Method().Code);
  TNotifyEvent none;
  EXPECT_FALSE(none.Assigned());
  none(a);  // calling an unassigned event does nothing
  a->Free();
  b->Free();
}

TEST(Events, AHandlerSavedAsCodeAndDataIntoAStringListIsPutBack) {
  auto* form = Create<TRecordingForm>(nullptr);
  auto* button = new TButton(form);
  button->SetName("btnOk");
  button->OnClick = MakeEvent<&TRecordingForm::Clicked>(form);

  TStringList saved;
  TMethod m = GetMethodProp(button, "OnClick");
  saved.AddObject("btnOk.OnClick.Code", static_cast<TObject*>(m.Code));
  saved.AddObject("btnOk.OnClick.Data", static_cast<TObject*>(m.Data));
  SetMethodProp(button, "OnClick", TMethod{});
  button->Click();
  EXPECT_TRUE(form->clicks.empty());

  TMethod back{saved.Objects(saved.IndexOf("btnOk.OnClick.Code")),
               saved.Objects(saved.IndexOf("btnOk.OnClick.Data"))};
  SetMethodProp(button, "OnClick", back);
  button->Click();
  ASSERT_EQ(form->clicks.size(), 1u);
  EXPECT_EQ(form->clicks[0], button);
  EXPECT_EQ(button->OnClick, MakeEvent<&TRecordingForm::Clicked>(form));
  form->Free();
}

TEST(Events, PublishedMethodsAreFoundByName) {
  auto* form = Create<TRecordingForm>(nullptr);
  void* code = form->MethodAddress("CLICKED");
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(code, MakeEvent<&TRecordingForm::Clicked>(form).Method().Code);
  EXPECT_EQ(form->MethodAddress("NoSuchMethod"), nullptr);
  EXPECT_EQ(form->MethodName(code), "Clicked");
  // A published method bound by name works as a handler.
  SetMethodProp(form->edit, "OnEnter", TMethod{form->MethodAddress("Entered"), form});
  form->edit->OnEnter(form->edit);
  ASSERT_EQ(form->entered.size(), 1u);
  // A method of another event type is refused.
  struct KeyTarget {
    void Key(TObject*, Word&, TShiftState) {}
  } target;
  TKeyEvent key = MakeEvent<&KeyTarget::Key>(&target);
  (void)key;
  EXPECT_THROW(SetMethodProp(form->edit, "OnKeyDown", TMethod{code, form}), EPropertyError);
  form->Free();
}

TEST(StringLists, ChangeEventsRunOncePerUpdateBracket) {
  TStringList list;
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  list.OnChange = MakeEvent<&Counter::Changed>(&counter);
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.Add("b");
  list.Add("c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(list.Text(), "b\r\nc\r\n");
  list.SetText("x=1\r\ny=2");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(list.Values("Y"), "2");
  EXPECT_EQ(list.IndexOfName("x"), 0);
  EXPECT_THROW(list.Get(5), EStringListError);
}

TEST(StringLists, SortedListsKeepOrderAndRefuseInsert) {
  TStringList list;
  list.SetSorted(true);
  list.Add("pear");
  list.Add("Apple");
  list.Add("mango");
  EXPECT_EQ(list.CommaText(), "Apple,mango,pear");
  EXPECT_EQ(list.Add("apple"), 0);  // duplicates ignored by default
  EXPECT_EQ(list.Count(), 3);
  EXPECT_THROW(list.Insert(0, "z"), EStringListError);
}

}  // namespace
}  // namespace vcl

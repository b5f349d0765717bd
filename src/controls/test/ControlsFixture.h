#pragma once

// A shown window that records the lookup requests it gets, message dialogs
// answered with OK, and an in-memory glyph library.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"

namespace controls_test {

/* A form that keeps the long parameter of every lookup request. */
class TLookupForm : public vcl::TForm {
 public:
  explicit TLookupForm(vcl::TComponent* owner) : vcl::TForm(owner) {}
  void WndProc(vcl::TMessage& m) override {
    if (m.Msg == F2Button::kLookupMessage) {
      auto* target = reinterpret_cast<vcl::TControl*>(m.LParam);
      Lookups.push_back(target);
      FocusedAtLookup.push_back(ActiveControl() == target);
      return;
    }
    vcl::TForm::WndProc(m);
  }
  std::vector<vcl::TControl*> Lookups;
  std::vector<bool> FocusedAtLookup;
};

/* Glyph library stand-in: glyphs 1..MaxId are Width x 16 bitmaps (Width 32
   for glyph 4, else 16); glyph FailingId cannot be loaded. */
struct FakeGlyphs {
  static inline int MaxId = 50;
  static inline int FailingId = -1;
  static bool Load(vcl::TBitmap* bitmap, int number) {
    if (number == FailingId || number < 1 || number > MaxId) return false;
    bitmap->SetSize(number == 4 ? 32 : 16, 16);
    return true;
  }
  static int Max() { return MaxId; }
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeGlyphs::MaxId = 50;
    FakeGlyphs::FailingId = -1;
    GSpdBtn::OverrideGlyphLibrary(&fakeGlyphs_);
    vcl::ClearShownDialogs();
    vcl::Application->SetModalHook([](vcl::TCustomForm& f) { f.SetModalResult(vcl::mrOk); });
    form = vcl::Create<TLookupForm>(nullptr);
    form->SetName("frmTest");
    form->SetBounds(0, 0, 640, 480);
    form->Show();
  }
  void TearDown() override {
    if (vcl::IsLiveComponent(form)) form->Free();
    vcl::Application->SetModalHook(nullptr);
    GSpdBtn::OverrideGlyphLibrary(nullptr);
  }
  /* A control owned by the form, on Parent (the form by default). */
  template <class T>
  T* Add(const std::string& name = "", vcl::TWinControl* parent = nullptr) {
    auto* c = new T(form);
    if (!name.empty()) c->SetName(name);
    c->SetParent(parent ? parent : form);
    return c;
  }
  /* Texts of the message dialogs shown so far. */
  static std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const vcl::TShownDialog& d : vcl::ShownDialogs()) texts.push_back(d.Text);
    return texts;
  }

  TLookupForm* form = nullptr;

 private:
  GSpdBtn::TGlyphLibrary fakeGlyphs_{&FakeGlyphs::Load, &FakeGlyphs::Max};
};

/* Records the senders of notify events. */
struct SenderLog {
  std::vector<vcl::TObject*> senders;
  void Notify(vcl::TObject* sender) { senders.push_back(sender); }
  vcl::TNotifyEvent Event() { return vcl::MakeEvent<&SenderLog::Notify>(this); }
};

}  // namespace controls_test

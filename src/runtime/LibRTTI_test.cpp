#include "runtime/LibRTTI.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace LibRTTI {
namespace {

/* A window whose handlers count what reaches them; the key handler is
   published with another event type than a click. */
class TRttiForm : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  explicit TRttiForm(vcl::TComponent* owner) : vcl::TForm(owner) {
    edit = new vcl::TEdit(this);
    edit->SetName("edCode");
    edit->SetParent(this);
    button = new vcl::TButton(this);
    button->SetName("btnOk");
    button->SetParent(this);
    button->OnMouseDown = vcl::MakeEvent<&TRttiForm::ButtonMouseDown>(this);
  }
  void ButtonClick(vcl::TObject*) { ++clicks; }
  void ButtonMouseDown(vcl::TObject*, vcl::TMouseButton, vcl::TShiftState, int x, int y) {
    downAt = std::to_string(x) + "," + std::to_string(y);
  }
  void EditKeyDown(vcl::TObject*, vcl::Word&, vcl::TShiftState) {}

  vcl::TEdit* edit;
  vcl::TButton* button;
  int clicks = 0;
  std::string downAt;
};

const vcl::TClassInfo* TRttiForm::StaticClassInfo() {
  using P = vcl::PropBuilder<TRttiForm>;
  static const vcl::TClassInfo info("TRttiForm", vcl::TForm::StaticClassInfo(), {},
                                    {P::PublishedMethod<&TRttiForm::ButtonClick>("ButtonClick"),
                                     P::PublishedMethod<&TRttiForm::EditKeyDown>("EditKeyDown")});
  return &info;
}

class LibRttiTest : public ::testing::Test {
 protected:
  void SetUp() override { form_ = vcl::Create<TRttiForm>(nullptr); }
  void TearDown() override { form_->Free(); }
  TRttiForm* form_ = nullptr;
};

TEST_F(LibRttiTest, ReadsAndWritesPublishedPropertiesByName) {
  SetTextProp(form_->edit, "Text", "A01");
  EXPECT_EQ(form_->edit->Text(), "A01");
  EXPECT_EQ(GetTextProp(form_->edit, "text"), "A01");
  SetOrdinalProp(form_->edit, "Width", 120);
  EXPECT_EQ(GetOrdinalProp(form_->edit, "Width"), 120);
  SetOrdinalProp(form_->edit, "Enabled", 0);
  EXPECT_FALSE(form_->edit->Enabled());
  EXPECT_EQ(GetObjectPropValue(form_->edit, "Font"), form_->edit->Font());
  EXPECT_TRUE(HasProperty(form_->edit, "ImeName"));
  EXPECT_FALSE(HasProperty(form_->button, "ImeName"));
}

struct Missing {
  const char* what;
  vcl::TObject* object;
  const char* name;
};

TEST_F(LibRttiTest, AbsentObjectsNamesAndPropertiesReadEmptyAndWriteNothing) {
  const Missing cases[] = {
      {"no object", nullptr, "Text"},
      {"no name", form_->edit, ""},
      {"unknown property", form_->edit, "Nonesuch"},
  };
  for (const Missing& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(HasProperty(c.object, c.name));
    EXPECT_EQ(GetTextProp(c.object, c.name), "");
    EXPECT_EQ(GetOrdinalProp(c.object, c.name), 0);
    EXPECT_EQ(GetObjectPropValue(c.object, c.name), nullptr);
    EXPECT_EQ(GetEventProp(c.object, c.name), vcl::TMethod{});
    SetTextProp(c.object, c.name, "x");
    SetOrdinalProp(c.object, c.name, 1);
    SetEventProp(c.object, c.name, GetEventProp(form_->button, "OnClick"));
  }
  // A property of another kind is not read or written as this one.
  form_->edit->SetText("kept");
  EXPECT_EQ(GetTextProp(form_->edit, "Width"), "");
  EXPECT_EQ(GetOrdinalProp(form_->edit, "Text"), 0);
  SetTextProp(form_->edit, "Font", "Arial");
  SetOrdinalProp(form_->edit, "Text", 5);
  EXPECT_EQ(form_->edit->Text(), "kept");
  // A read-only property keeps its value.
  SetOrdinalProp(form_, "PixelsPerInch", 120);
  EXPECT_EQ(form_->PixelsPerInch(), 96);
}

TEST_F(LibRttiTest, EventsAreReadAndAssignedAsMethodPointers) {
  EXPECT_EQ(GetEventProp(form_->button, "OnClick"), vcl::TMethod{});
  const vcl::TMethod click{form_->MethodAddress("ButtonClick"), form_};
  SetEventProp(form_->button, "OnClick", click);
  EXPECT_EQ(GetEventProp(form_->button, "OnClick"), click);
  form_->button->Click();
  EXPECT_EQ(form_->clicks, 1);
  // A key handler does not fit a click event: the click handler stays.
  SetEventProp(form_->button, "OnClick", {form_->MethodAddress("EditKeyDown"), form_});
  EXPECT_EQ(GetEventProp(form_->button, "OnClick"), click);
}

TEST_F(LibRttiTest, ClickControlPressesAndReleasesTheLeftButton) {
  form_->button->OnClick = vcl::MakeEvent<&TRttiForm::ButtonClick>(form_);
  ClickControl(form_->button, 0, vcl::MakeLParam(3, 4));
  EXPECT_EQ(form_->clicks, 1);
  EXPECT_EQ(form_->downAt, "3,4");
  ClickControl(nullptr);
  EXPECT_EQ(form_->clicks, 1);
}

TEST_F(LibRttiTest, FindPartLooksAtOwnedComponentsThenAtChildControls) {
  EXPECT_EQ(FindPart(form_, "EDCODE"), form_->edit);
  auto* inner = new vcl::TEdit(form_->edit);  // owned by the edit, parented by the form
  inner->SetName("edInner");
  inner->SetParent(form_);
  EXPECT_EQ(FindPart(form_->edit, "edInner"), inner);
  EXPECT_EQ(FindPart(form_, "edInner"), inner);
  EXPECT_EQ(FindPart(form_, "nothing"), nullptr);
  EXPECT_EQ(FindPart(nullptr, "edCode"), nullptr);
}

}  // namespace
}  // namespace LibRTTI

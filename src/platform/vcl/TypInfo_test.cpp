#include "platform/vcl/TypInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace vcl {
namespace {

class PropertyTable : public ::testing::Test {
 protected:
  void SetUp() override { form_ = Create<TForm>(nullptr); }
  void TearDown() override { form_->Free(); }
  template <class T>
  T* Make() {
    auto* c = new T(form_);
    if (auto* control = dynamic_cast<TControl*>(static_cast<TComponent*>(c)))
      control->SetParent(form_);
    return c;
  }
  TForm* form_ = nullptr;
};

struct PropCase {
  const char* cls;
  const char* property;
  TTypeKind kind;
  const char* typeName;
  bool writable;
};

// What the code-page converter, language packages and option forms look up.
const PropCase kProps[] = {
    {"TEdit", "Text", TTypeKind::tkString, "TCaption", true},
    {"TEdit", "Font", TTypeKind::tkClass, "TFont", true},
    {"TEdit", "ImeName", TTypeKind::tkString, "TImeName", true},
    {"TEdit", "Color", TTypeKind::tkInteger, "TColor", true},
    {"TEdit", "OnExit", TTypeKind::tkMethod, "TNotifyEvent", true},
    {"TEdit", "OnKeyDown", TTypeKind::tkMethod, "TKeyEvent", true},
    {"TEdit", "MaxLength", TTypeKind::tkInteger, "Integer", true},
    {"TEdit", "Enabled", TTypeKind::tkEnumeration, "Boolean", true},
    {"TMemo", "Lines", TTypeKind::tkClass, "TStrings", true},
    {"TComboBox", "Items", TTypeKind::tkClass, "TStrings", true},
    {"TComboBox", "Style", TTypeKind::tkEnumeration, "TComboBoxStyle", true},
    {"TComboBox", "ItemIndex", TTypeKind::tkInteger, "Integer", true},
    {"TCheckBox", "Checked", TTypeKind::tkEnumeration, "Boolean", true},
    {"TCheckBox", "State", TTypeKind::tkEnumeration, "TCheckBoxState", true},
    {"TButton", "Caption", TTypeKind::tkString, "TCaption", true},
    {"TButton", "OnClick", TTypeKind::tkMethod, "TNotifyEvent", true},
    {"TButton", "ModalResult", TTypeKind::tkInteger, "TModalResult", true},
    {"TLabel", "FocusControl", TTypeKind::tkClass, "TWinControl", true},
    {"TPanel", "BevelOuter", TTypeKind::tkEnumeration, "TBevelCut", true},
    {"TForm", "Caption", TTypeKind::tkString, "TCaption", true},
    {"TForm", "ImeName", TTypeKind::tkString, "TImeName", true},
    {"TForm", "KeyPreview", TTypeKind::tkEnumeration, "Boolean", true},
    {"TForm", "BorderIcons", TTypeKind::tkSet, "TBorderIcons", true},
    {"TForm", "PixelsPerInch", TTypeKind::tkInteger, "Integer", false},
    {"TRadioGroup", "Items", TTypeKind::tkClass, "TStrings", true},
    {"TMenuItem", "Caption", TTypeKind::tkString, "TCaption", true},
    {"TPopupMenu", "OwnerDraw", TTypeKind::tkEnumeration, "Boolean", true},
    {"TFont", "Charset", TTypeKind::tkInteger, "TFontCharset", true},
    {"TFont", "Style", TTypeKind::tkSet, "TFontStyles", true},
};

TEST_F(PropertyTable, PublishedPropertiesHaveTheirKindTypeAndAccess) {
  std::unique_ptr<TFont> font = std::make_unique<TFont>();
  std::map<std::string, TObject*> objects = {
      {"TEdit", Make<TEdit>()},
      {"TMemo", Make<TMemo>()},
      {"TComboBox", Make<TComboBox>()},
      {"TCheckBox", Make<TCheckBox>()},
      {"TButton", Make<TButton>()},
      {"TLabel", Make<TLabel>()},
      {"TPanel", Make<TPanel>()},
      {"TForm", form_},
      {"TRadioGroup", Make<TRadioGroup>()},
      {"TMenuItem", Make<TMenuItem>()},
      {"TPopupMenu", Make<TPopupMenu>()},
      {"TFont", font.get()},
  };
  for (const PropCase& c : kProps) {
    SCOPED_TRACE(std::string(c.cls) + "." + c.property);
    TObject* object = objects.at(c.cls);
    EXPECT_EQ(object->ClassName(), c.cls);
    const TPropInfo* p = GetPropInfo(object, c.property);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Kind, c.kind);
    EXPECT_EQ(p->TypeName, c.typeName);
    EXPECT_EQ(p->Writable(), c.writable);
    // Names are found without regard to case.
    EXPECT_TRUE(IsPublishedProp(object, platform::UpperCase(c.property)));
  }
  // Only edit-like controls and forms have an input-method name.
  EXPECT_FALSE(IsPublishedProp(objects["TButton"], "ImeName"));
  EXPECT_FALSE(IsPublishedProp(objects["TLabel"], "Text"));
  // A memo is read through Lines; it publishes no Text, as on the platform.
  EXPECT_FALSE(IsPublishedProp(objects["TMemo"], "Text"));
  EXPECT_TRUE(IsPublishedProp(objects["TComboBox"], "Text"));
}

TEST_F(PropertyTable, AccessByNameReadsAndWritesTheControls) {
  auto* edit = Make<TEdit>();
  SetStrProp(edit, "Text", "abc");
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(GetStrProp(edit, "text"), "abc");
  SetOrdProp(edit, "Color", 0xAFFFFF);
  EXPECT_EQ(edit->Color(), 0xAFFFFF);
  SetPropValue(edit, "Color", platform::Variant("clRed"));
  EXPECT_EQ(edit->Color(), clRed);
  SetPropValue(edit, "Enabled", platform::Variant("False"));
  EXPECT_FALSE(edit->Enabled());
  EXPECT_EQ(GetEnumProp(edit, "Enabled"), "False");

  auto* font = dynamic_cast<TFont*>(GetObjectProp(edit, "Font"));
  ASSERT_EQ(font, edit->Font());
  SetOrdProp(font, "Charset", 136);
  SetStrProp(font, "Name", "SimSun");
  SetSetProp(font, "Style", "[fsBold,fsUnderline]");
  EXPECT_EQ(edit->Font()->Charset(), 136);
  EXPECT_EQ(edit->Font()->Name(), "SimSun");
  EXPECT_EQ(GetSetProp(font, "Style"), "[fsBold,fsUnderline]");

  auto* combo = Make<TComboBox>();
  SetEnumProp(combo, "Style", "csOwnerDrawFixed");
  EXPECT_EQ(combo->Style(), csOwnerDrawFixed);
  SetPropValue(combo, "Style", platform::Variant(" csSimple "));
  EXPECT_EQ(combo->Style(), csSimple);
  auto* items = dynamic_cast<TStrings*>(GetObjectProp(combo, "Items"));
  ASSERT_NE(items, nullptr);
  items->SetText("a\r\nb");
  SetOrdProp(combo, "ItemIndex", 1);
  EXPECT_EQ(combo->Text(), "b");
}

TEST_F(PropertyTable, MisuseRaisesPropertyErrors) {
  auto* edit = Make<TEdit>();
  EXPECT_THROW(GetStrProp(edit, "NoSuchProperty"), EPropertyError);
  EXPECT_THROW(GetStrProp(edit, "Color"), EPropertyError);                // wrong kind
  EXPECT_THROW(SetOrdProp(form_, "PixelsPerInch", 120), EPropertyError);  // read-only
  EXPECT_THROW(SetEnumProp(form_, "WindowState", "wsHuge"), EPropertyError);
  EXPECT_THROW(GetStrProp(nullptr, "Text"), EPropertyError);
  EXPECT_EQ(GetPropInfo(edit, ""), nullptr);
  EXPECT_EQ(GetPropInfo(edit, "Text", {TTypeKind::tkInteger}), nullptr);
}

TEST_F(PropertyTable, ClassChainNamesEveryAncestor) {
  auto* combo = Make<TComboBox>();
  std::vector<std::string> chain;
  for (const TClassInfo* c = combo->ClassInfo(); c; c = c->Parent()) chain.push_back(c->Name());
  EXPECT_EQ(chain, (std::vector<std::string>{"TComboBox", "TCustomComboBox", "TWinControl",
                                             "TControl", "TComponent", "TPersistent", "TObject"}));
  EXPECT_TRUE(combo->InheritsFrom("tcustomcombobox"));
  EXPECT_FALSE(combo->InheritsFrom("TCustomEdit"));
  EXPECT_EQ(form_->ClassParent()->Name(), "TCustomForm");
  // Properties come most basic class first, each once.
  auto props = combo->ClassInfo()->Properties();
  ASSERT_FALSE(props.empty());
  EXPECT_EQ(props.front()->Name, "Name");
  int texts = 0;
  for (auto* p : props) texts += p->Name == "Text";
  EXPECT_EQ(texts, 1);
}

}  // namespace
}  // namespace vcl

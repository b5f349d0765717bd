// The published properties of every control, reached by name as language
// packages, the code-page converter and condition schemes reach them.
#include <gtest/gtest.h>

#include <memory>

#include "controls/BtChkBox.h"
#include "controls/DBLabel.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/SelectPnl.h"
#include "controls/VkRadioButton.h"
#include "controls/VkRadioGroup.h"
#include "controls/VkSpin.h"
#include "controls/VrkEdit.h"
#include "controls/test/ControlsFixture.h"
#include "platform/core/Variant.h"
#include "platform/vcl/TypInfo.h"

namespace {

using controls_test::ControlsTest;

struct PropCase {
  const char* name;
  vcl::TTypeKind kind;
  const char* value;  // the default as text; nullptr: not compared
};

class PublishedPropertiesTest : public ControlsTest {
 protected:
  void Check(vcl::TObject* object, std::initializer_list<PropCase> cases) {
    for (const PropCase& c : cases) {
      SCOPED_TRACE(std::string(object->ClassName()) + "." + c.name);
      const vcl::TPropInfo* info = vcl::GetPropInfo(object, c.name);
      ASSERT_NE(info, nullptr);
      EXPECT_EQ(info->Kind, c.kind);
      if (c.value) {
        EXPECT_EQ(platform::VarToStr(vcl::GetPropValue(object, c.name)), c.value);
      }
    }
  }
};

using K = vcl::TTypeKind;

TEST_F(PublishedPropertiesTest, SmallControls) {
  auto* gsb = Add<GSpdBtn::TGSpeedButton>();
  EXPECT_EQ(gsb->Caption(), "");
  Check(gsb, {{"GlyphIndex", K::tkInteger, "0"},
              {"HintIndex", K::tkInteger, "0"},
              {"Glyph", K::tkClass, nullptr},
              {"NumGlyphs", K::tkInteger, "1"},
              {"Flat", K::tkEnumeration, "False"}});
  Check(Add<F2Button::TF2Button>(), {{"F2Control", K::tkClass, nullptr},
                                     {"AutoAlign", K::tkEnumeration, "True"},
                                     {"Gap", K::tkInteger, "2"},
                                     {"GlyphIndex", K::tkInteger, "8"},
                                     {"Flat", K::tkEnumeration, "True"},
                                     {"OnClick", K::tkMethod, nullptr}});
  Check(Add<DBLabel::TDBLabel>(), {{"FocusControl", K::tkClass, nullptr},
                                   {"Pos", K::tkEnumeration, "psLeft"},
                                   {"Gap", K::tkInteger, "4"},
                                   {"AutoAlign", K::tkEnumeration, "True"},
                                   {"AutoCaption", K::tkEnumeration, "True"},
                                   {"Caption", K::tkString, "挂靠标签"}});
  Check(Add<BtChkBox::TBitCheckBox>(), {{"Alignment", K::tkEnumeration, "taRightJustify"},
                                        {"AllowGrayed", K::tkEnumeration, "False"},
                                        {"Checked", K::tkEnumeration, "False"},
                                        {"State", K::tkEnumeration, "cbUnchecked"},
                                        {"CheckedGlyph", K::tkClass, nullptr},
                                        {"UncheckedGlyph", K::tkClass, nullptr},
                                        {"GrayedGlyph", K::tkClass, nullptr},
                                        {"CheckedNumGlyphs", K::tkInteger, "1"},
                                        {"UncheckedNumGlyphs", K::tkInteger, "1"},
                                        {"GrayedNumGlyphs", K::tkInteger, "1"},
                                        {"Caption", K::tkString, ""},
                                        {"Color", K::tkInteger, nullptr},
                                        {"Font", K::tkClass, nullptr},
                                        {"Ctl3D", K::tkEnumeration, "True"},
                                        {"Hint", K::tkString, ""},
                                        {"TabStop", K::tkEnumeration, "True"},
                                        {"TabOrder", K::tkInteger, nullptr},
                                        {"OnClick", K::tkMethod, nullptr},
                                        {"OnKeyDown", K::tkMethod, nullptr},
                                        {"OnMouseDown", K::tkMethod, nullptr}});
  Check(Add<VkSpin::TVkSpinEdit>(),
        {{"Value", K::tkInteger, "0"}, {"OnChange", K::tkMethod, nullptr}});
  Check(Add<VkRadioButton::TVkRadioButton>(), {{"Alignment", K::tkEnumeration, "taRightJustify"},
                                               {"Checked", K::tkEnumeration, "False"},
                                               {"Caption", K::tkString, ""},
                                               {"Ctl3D", K::tkEnumeration, "True"},
                                               {"OnClick", K::tkMethod, nullptr},
                                               {"OnDblClick", K::tkMethod, nullptr}});
  Check(Add<VkRadioGroup::TVkRadioGroup>(), {{"Columns", K::tkInteger, "1"},
                                             {"ItemIndex", K::tkInteger, "-1"},
                                             {"Items", K::tkClass, nullptr},
                                             {"Caption", K::tkString, ""}});
  Check(Add<ExtPage::TExtPageControl>(),
        {{"OnDrawTab", K::tkMethod, nullptr}, {"OwnerDraw", K::tkEnumeration, "True"}});
}

TEST_F(PublishedPropertiesTest, ClassNamesAndTheirAncestors) {
  struct Case {
    std::unique_ptr<vcl::TObject> object;
    const char* name;
    const char* ancestor;
  };
  Case cases[] = {
      {std::make_unique<GSpdBtn::TGSpeedButton>(nullptr), "TGSpeedButton", "TSpeedButton"},
      {std::make_unique<F2Button::TF2Button>(nullptr), "TF2Button", "TGSpeedButton"},
      {std::make_unique<DBLabel::TDBLabel>(nullptr), "TDBLabel", "TLabel"},
      {std::make_unique<BtChkBox::TBitCheckBox>(nullptr), "TBitCheckBox", "TCustomControl"},
      {std::make_unique<SelectPnl::TYenCheckBox>(nullptr), "TYenCheckBox", "TBitCheckBox"},
      {std::make_unique<SelectPnl::TYenMaskEdit>(nullptr), "TYenMaskEdit", "TMaskEdit"},
      {std::make_unique<SelectPnl::TYenListView>(nullptr), "TYenListView", "TListView"},
      {std::make_unique<SelectPnl::TSelectPanel>(nullptr), "TSelectPanel", "TCustomGroupBox"},
      {std::make_unique<VkSpin::TVkSpinEdit>(nullptr), "TVkSpinEdit", "TSpinEdit"},
      {std::make_unique<VkRadioButton::TVkRadioButton>(nullptr), "TVkRadioButton",
       "TButtonControl"},
      {std::make_unique<VkRadioGroup::TVkRadioGroup>(nullptr), "TVkRadioGroup", "TCustomGroupBox"},
      {std::make_unique<ExtPage::TExtPageControl>(nullptr), "TExtPageControl", "TPageControl"},
  };
  for (Case& c : cases) {
    EXPECT_EQ(c.object->ClassName(), c.name);
    EXPECT_TRUE(c.object->InheritsFrom(c.ancestor)) << c.name;
    static_cast<vcl::TComponent*>(c.object.get())->Dispose();
  }
}

TEST_F(PublishedPropertiesTest, SelectPanelPropertiesInTheirStoredOrderWithDefaults) {
  auto* sp = Add<SelectPnl::TSelectPanel>("sp01");
  const char* const order[] = {"AutoChangeDateSite",
                               "BeginWords",
                               "ColumnsAutoSize",
                               "CanOpenWin",
                               "CheckDuplicate",
                               "ChildHints",
                               "ColumnCaptions",
                               "Columns",
                               "DateType",
                               "DateSign",
                               "Discard",
                               "EditMask",
                               "FinalWords",
                               "GlyphIndex",
                               "HintWord",
                               "HideSelection",
                               "Items",
                               "OtherHeight",
                               "OtherWidth",
                               "ShowColumnHeader",
                               "SortListBox",
                               "Style",
                               "UseDiscard",
                               "UserChoice",
                               "UseVertical",
                               "ValueType"};
  // The panel's own properties come after the group box's, in this order.
  std::vector<std::string> own;
  for (const vcl::TPropInfo* p : sp->ClassInfo()->Properties())
    if (!vcl::TCustomGroupBox::StaticClassInfo()->FindProperty(p->Name) && p->Kind != K::tkMethod)
      own.push_back(p->Name);
  EXPECT_EQ(own, std::vector<std::string>(std::begin(order), std::end(order)));

  Check(sp, {{"AutoChangeDateSite", K::tkEnumeration, "True"},
             {"BeginWords", K::tkClass, nullptr},
             {"ColumnsAutoSize", K::tkEnumeration, "True"},
             {"CanOpenWin", K::tkEnumeration, "True"},
             {"CheckDuplicate", K::tkEnumeration, "cd_None"},
             {"DateType", K::tkEnumeration, "dt_NoneCare"},
             {"DateSign", K::tkString, "/"},
             {"Discard", K::tkString, ""},
             {"EditMask", K::tkString, ""},
             {"GlyphIndex", K::tkInteger, "8"},
             {"HintWord", K::tkString, "区间选择"},
             {"HideSelection", K::tkEnumeration, "False"},
             {"OtherHeight", K::tkInteger, "105"},
             {"OtherWidth", K::tkInteger, "200"},
             {"ShowColumnHeader", K::tkEnumeration, "False"},
             {"SortListBox", K::tkEnumeration, "False"},
             {"Style", K::tkEnumeration, "sp_Range"},
             {"UseDiscard", K::tkEnumeration, "False"},
             {"UserChoice", K::tkEnumeration, "True"},
             {"UseVertical", K::tkEnumeration, "False"},
             {"ValueType", K::tkEnumeration, "vt_String"},
             {"Caption", K::tkString, ""},
             {"Width", K::tkInteger, "353"},
             {"Height", K::tkInteger, "45"}});
  auto text = [sp](const char* name) {
    return static_cast<vcl::TStrings*>(vcl::GetObjectProp(sp, name))->Text();
  };
  EXPECT_EQ(text("BeginWords"), "起\r\n起\r\n");
  EXPECT_EQ(text("FinalWords"), "止\r\n止\r\n");
  EXPECT_EQ(static_cast<vcl::TStrings*>(vcl::GetObjectProp(sp, "ChildHints"))->Count(), 9);
  for (const char* event :
       {"OnOpenWinClick", "OnClearClick", "OnDeleteClick", "OnTypeClick", "OnStyleChanging",
        "OnStyleChange", "OnExit", "OnItemSelect", "OnItemChange", "OnItemChanging", "OnKeyDown",
        "OnKeyUp", "OnKeyPress", "OnClick", "OnMouseDown"})
    EXPECT_EQ(vcl::PropType(sp, event), K::tkMethod) << event;
}

TEST_F(PublishedPropertiesTest, WritingByNameGoesThroughTheSetters) {
  auto* sp = Add<SelectPnl::TSelectPanel>("sp01");
  vcl::SetEnumProp(sp, "Style", "sp_Discrete");
  EXPECT_EQ(sp->Width(), 200);  // the size swap of the setter
  EXPECT_TRUE(sp->ListPanel()->Visible());
  vcl::SetPropValue(sp, "CheckDuplicate", platform::Variant("cd_CheckCase"));
  EXPECT_TRUE(sp->SortListBox());
  vcl::TStringList hints;
  hints.SetText("甲\n乙");
  vcl::SetObjectProp(sp, "ChildHints", &hints);
  EXPECT_EQ(sp->edBegin()->Hint(), "乙");
  vcl::TStringList words;
  words.SetText("自\n自");
  vcl::SetObjectProp(sp, "BeginWords", &words);
  EXPECT_EQ(sp->BeginWords()->Get(0), "自");
  vcl::SetStrProp(sp, "HintWord", "区间");
  EXPECT_EQ(sp->ChoiceBox()->Caption(), "区间");
  vcl::SetStrProp(sp, "EditMask", "999;1; ");
  EXPECT_EQ(sp->BlankText(), "   ");

  auto* label = Add<DBLabel::TDBLabel>();
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 26, 13);
  auto* ed = Add<vcl::TEdit>();
  ed->SetBounds(60, 20, 100, 21);
  vcl::SetObjectProp(label, "FocusControl", ed);  // the label's own setter places it
  EXPECT_EQ(label->Left(), 30);
  auto* button = Add<F2Button::TF2Button>();
  vcl::SetObjectProp(button, "F2Control", ed);
  EXPECT_EQ(button->Left(), 162);
  vcl::SetOrdProp(button, "GlyphIndex", 4);
  EXPECT_EQ(button->NumGlyphs(), 2);
}

#if !VK_COMPAT_BUILD
TEST_F(PublishedPropertiesTest, LabelledEdits) {
  Check(Add<VrkEdit::TVkEdit>(), {{"Caption", K::tkString, ""},
                                  {"LabelPosition", K::tkEnumeration, "lpLeft"},
                                  {"LabelSpacing", K::tkInteger, "4"},
                                  {"Text", K::tkString, ""}});
  Check(Add<VrkEdit::TVkDBEdit>(),
        {{"DataField", K::tkString, ""}, {"DataSource", K::tkClass, nullptr}});
  Check(Add<VrkEdit::TVkBtnDBEdit>(), {{"ButtonSpacing", K::tkInteger, "2"},
                                       {"GlyphIndex", K::tkInteger, "8"},
                                       {"ButtonHint", K::tkString, ""},
                                       {"OnDialog", K::tkMethod, nullptr},
                                       {"LabelPosition", K::tkEnumeration, "lpLeft"}});
}
#endif

}  // namespace

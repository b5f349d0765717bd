// The labelled edits exist in the current build only.
#if !VK_COMPAT_BUILD

#include "controls/VrkEdit.h"

#include <gtest/gtest.h>

#include "controls/DBLabel.h"
#include "controls/test/ControlsFixture.h"
#include "platform/vcl/ExtCtrls.h"

namespace {

using controls_test::ControlsTest;
using controls_test::SenderLog;
using VrkEdit::TVkBtnDBEdit;
using VrkEdit::TVkDBEdit;
using VrkEdit::TVkEdit;

class VrkEditTest : public ControlsTest {};

TEST_F(VrkEditTest, TheEditOwnsItsLabelAndCaptionIsTheLabels) {
  auto* ed = Add<TVkEdit>("edVendor");
  vcl::TLabel* label = ed->EditLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Name(), "EditLabel");
  EXPECT_EQ(label->Owner(), ed);
  EXPECT_EQ(label->FocusControl(), ed);
  EXPECT_EQ(label->Parent(), form);
  ed->SetCaption("供应商");
  ed->SetText("V001");
  EXPECT_EQ(label->Caption(), "供应商");
  EXPECT_EQ(ed->Caption(), "供应商");
  EXPECT_EQ(ed->Text(), "V001");
  EXPECT_EQ(vcl::GetStrProp(ed, "Caption"), "供应商");
}

struct LabelCase {
  VrkEdit::TLabelPosition position;
  int spacing;
  int left, top;
};

TEST_F(VrkEditTest, TheLabelIsPlacedByPositionAndSpacing) {
  // Edit at (100, 50), 120 x 21; label 40 x 13.
  const LabelCase cases[] = {
      {VrkEdit::lpAbove, 4, 100, 33},  // 50 - 13 - 4
      {VrkEdit::lpBelow, 4, 100, 75},  // 50 + 21 + 4
      {VrkEdit::lpLeft, 4, 56, 54},    // 100 - 40 - 4; 50 + (21 - 13) / 2
      {VrkEdit::lpRight, 6, 226, 54},  // 100 + 120 + 6
  };
  for (const LabelCase& c : cases) {
    SCOPED_TRACE(c.position);
    auto* ed = Add<TVkEdit>();
    ed->EditLabel()->SetAutoSize(false);
    ed->EditLabel()->SetBounds(0, 0, 40, 13);
    ed->SetLabelSpacing(c.spacing);
    ed->SetLabelPosition(c.position);
    ed->SetBounds(100, 50, 120, 21);
    EXPECT_EQ(ed->EditLabel()->Left(), c.left);
    EXPECT_EQ(ed->EditLabel()->Top(), c.top);
  }
}

TEST_F(VrkEditTest, TheLabelFollowsMovesAndIgnoresANegativeSpacing) {
  auto* ed = Add<TVkEdit>();
  ed->EditLabel()->SetAutoSize(false);
  ed->EditLabel()->SetBounds(0, 0, 40, 13);
  ed->SetBounds(100, 50, 120, 21);
  ed->SetLeft(200);
  EXPECT_EQ(ed->EditLabel()->Left(), 156);
  ed->SetLabelSpacing(-3);
  EXPECT_EQ(ed->LabelSpacing(), 4);
  EXPECT_EQ(ed->EditLabel()->Left(), 156);
  ed->SetLabelSpacing(0);
  EXPECT_EQ(ed->EditLabel()->Left(), 160);
}

TEST_F(VrkEditTest, TheLabelTakesTheEditsParentVisibilityAndEnabledState) {
  auto* pnl = Add<vcl::TPanel>("pnl");
  auto* ed = Add<TVkEdit>();
  ed->SetParent(pnl);
  EXPECT_EQ(ed->EditLabel()->Parent(), pnl);
  ed->SetVisible(false);
  EXPECT_FALSE(ed->EditLabel()->Visible());
  ed->SetVisible(true);
  ed->SetEnabled(false);
  EXPECT_TRUE(ed->EditLabel()->Visible());
  EXPECT_FALSE(ed->EditLabel()->Enabled());
}

TEST_F(VrkEditTest, TheLookupEditsButtonIsASquareBesideTheEdit) {
  auto* ed = Add<TVkBtnDBEdit>("edVendor");
  GSpdBtn::TGSpeedButton* b = ed->Button();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Name(), "F2Button");
  EXPECT_EQ(b->Owner(), ed);
  EXPECT_TRUE(b->Flat());
  EXPECT_EQ(ed->GlyphIndex(), 8);
  EXPECT_EQ(b->Parent(), form);
  ed->SetBounds(40, 30, 100, 21);
  EXPECT_EQ(b->BoundsRect(), (vcl::TRect{142, 30, 163, 51}));
  ed->SetButtonSpacing(5);
  EXPECT_EQ(b->Left(), 145);
  ed->SetGlyphIndex(9);
  ed->SetButtonHint("供应商开窗");
  EXPECT_EQ(b->GlyphIndex(), 9);
  EXPECT_EQ(b->Hint(), "供应商开窗");
  ed->SetEnabled(false);
  EXPECT_FALSE(b->Enabled());
  ed->SetVisible(false);
  EXPECT_FALSE(b->Visible());
}

TEST_F(VrkEditTest, TheButtonRaisesOnDialogOrSendsTheLookupRequest) {
  auto* other = Add<vcl::TEdit>();
  auto* ed = Add<TVkBtnDBEdit>("edVendor");
  ed->SetBounds(40, 30, 100, 21);
  other->SetFocus();
  vcl::SimulateClick(ed->Button());
  ASSERT_EQ(form->Lookups, std::vector<vcl::TControl*>{ed});
  EXPECT_TRUE(form->FocusedAtLookup[0]);

  SenderLog dialogs;
  ed->OnDialog = dialogs.Event();
  other->SetFocus();
  ed->Button()->Click();
  EXPECT_EQ(dialogs.senders, std::vector<vcl::TObject*>{ed});
  EXPECT_EQ(form->Lookups.size(), 1u);
  EXPECT_TRUE(other->Focused());
}

// A data set naming field "NVENDOR" "供应商".
class TVendorDataSet : public vcl::TComponent, public DBLabel::IFieldDisplayLabels {
 public:
  using vcl::TComponent::TComponent;
  bool FieldDisplayLabel(const std::string& field, std::string& label) const override {
    if (field != "NVENDOR") return false;
    label = "供应商";
    return true;
  }
};
class TSource : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  using vcl::TComponent::TComponent;
  vcl::TComponent* DataSet() const { return dataSet; }
  vcl::TComponent* dataSet = nullptr;
};
const vcl::TClassInfo* TSource::StaticClassInfo() {
  using P = vcl::PropBuilder<TSource>;
  static const vcl::TClassInfo info("TSource", vcl::TComponent::StaticClassInfo(),
                                    {P::Object<&TSource::DataSet>("DataSet", "TDataSet")});
  return &info;
}
class TDesignedDBEdit : public TVkDBEdit {
 public:
  using TVkDBEdit::TVkDBEdit;
  void Design() { SetComponentState(vcl::csDesigning, true); }
};

TEST_F(VrkEditTest, AtDesignTimeTheDataFieldGivesTheCaption) {
  auto* source = new TSource(form);
  source->dataSet = new TVendorDataSet(form);
  auto* running = Add<TDesignedDBEdit>();
  running->SetDataSource(source);
  running->SetDataField("NVENDOR");
  EXPECT_EQ(running->Caption(), "");
  auto* designed = Add<TDesignedDBEdit>();
  designed->Design();
  designed->SetDataSource(source);
  designed->SetDataField("NVENDOR");
  EXPECT_EQ(designed->Caption(), "供应商");
  source->Free();
  EXPECT_EQ(designed->DataSource(), nullptr);
}

}  // namespace

#endif  // !VK_COMPAT_BUILD

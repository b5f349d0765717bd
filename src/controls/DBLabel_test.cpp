#include "controls/DBLabel.h"

#include <gtest/gtest.h>

#include <map>

#include "controls/test/ControlsFixture.h"
#include "platform/vcl/StdCtrls.h"

namespace {

using controls_test::ControlsTest;
using DBLabel::TDBLabel;

// A data set that knows the display labels of two fields.
class TFakeDataSet : public vcl::TComponent, public DBLabel::IFieldDisplayLabels {
 public:
  using vcl::TComponent::TComponent;
  bool FieldDisplayLabel(const std::string& field, std::string& label) const override {
    static const std::map<std::string, std::string> labels = {{"NDATE", "验收日期"},
                                                              {"NVENDOR", "供应商"}};
    auto it = labels.find(field);
    if (it == labels.end()) return false;
    label = it->second;
    return true;
  }
};

class TFakeDataSource : public vcl::TComponent {
  VCL_CLASS_INFO()
 public:
  using vcl::TComponent::TComponent;
  vcl::TComponent* DataSet() const { return dataSet_; }
  void SetDataSet(vcl::TComponent* d) { dataSet_ = d; }

 private:
  vcl::TComponent* dataSet_ = nullptr;
};

const vcl::TClassInfo* TFakeDataSource::StaticClassInfo() {
  using P = vcl::PropBuilder<TFakeDataSource>;
  static const vcl::TClassInfo info(
      "TFakeDataSource", vcl::TComponent::StaticClassInfo(),
      {P::Object<&TFakeDataSource::DataSet, &TFakeDataSource::SetDataSet>("DataSet", "TDataSet")});
  return &info;
}

// A data-aware edit: DataSource and DataField published.
class TFakeDBEdit : public vcl::TEdit {
  VCL_CLASS_INFO()
 public:
  using vcl::TEdit::TEdit;
  vcl::TComponent* DataSource() const { return source_; }
  void SetDataSource(vcl::TComponent* s) { source_ = s; }
  const std::string& DataField() const { return field_; }
  void SetDataField(const std::string& f) { field_ = f; }

 private:
  vcl::TComponent* source_ = nullptr;
  std::string field_;
};

const vcl::TClassInfo* TFakeDBEdit::StaticClassInfo() {
  using P = vcl::PropBuilder<TFakeDBEdit>;
  static const vcl::TClassInfo info(
      "TFakeDBEdit", vcl::TEdit::StaticClassInfo(),
      {P::Object<&TFakeDBEdit::DataSource, &TFakeDBEdit::SetDataSource>("DataSource",
                                                                        "TDataSource"),
       P::String<&TFakeDBEdit::DataField, &TFakeDBEdit::SetDataField>("DataField")});
  return &info;
}

class DBLabelTest : public ControlsTest {
 protected:
  // A label 26 x 13 (not sized to its text), so that placements are exact.
  TDBLabel* Label(int width = 26, int height = 13) {
    auto* l = Add<TDBLabel>();
    l->SetAutoSize(false);
    l->SetBounds(0, 0, width, height);
    return l;
  }
  vcl::TEdit* Edit(int left, int top, int height = 21) {
    auto* ed = Add<vcl::TEdit>();
    ed->SetBounds(left, top, 100, height);
    return ed;
  }
};

TEST_F(DBLabelTest, ANewLabelHasItsCaptionAndDefaults) {
  auto* l = Add<TDBLabel>();
  EXPECT_EQ(l->Caption(), "挂靠标签");
  EXPECT_EQ(l->Pos(), DBLabel::psLeft);
  EXPECT_EQ(l->Gap(), 4);
  EXPECT_TRUE(l->AutoAlign());
  EXPECT_TRUE(l->AutoCaption());
}

struct PlaceCase {
  DBLabel::TPos pos;
  int gap, editLeft, editTop, editHeight, labelHeight;
  int left, top;
};

TEST_F(DBLabelTest, PlacementByPosWithNegativeValuesCut) {
  const PlaceCase cases[] = {
      {DBLabel::psLeft, 4, 60, 20, 21, 13, 30, 24},    // 60 - 26 - 4; centred (21 - 13) / 2
      {DBLabel::psLeft, 4, 20, 20, 21, 13, 0, 24},     // would be -10
      {DBLabel::psLeft, 4, 60, 20, 21, 21, 30, 20},    // same height: the control's top
      {DBLabel::psRight, 4, 60, 20, 21, 13, 164, 24},  // 60 + 100 + 4
      {DBLabel::psRight, 2, 60, 20, 12, 13, 162, 20},  // (12 - 13) / 2 is 0
      {DBLabel::psTop, 4, 60, 20, 21, 13, 60, 3},      // 20 - 13 - 4
      {DBLabel::psTop, 4, 60, 10, 21, 13, 60, 0},      // would be -7
      {DBLabel::psBottom, 4, 60, 20, 21, 13, 60, 45},  // 20 + 21 + 4
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pos << " at " << c.editLeft << "," << c.editTop);
    auto* l = Label(26, c.labelHeight);
    l->SetPos(c.pos);
    l->SetGap(c.gap);
    l->SetFocusControl(Edit(c.editLeft, c.editTop, c.editHeight));
    EXPECT_EQ(l->Left(), c.left);
    EXPECT_EQ(l->Top(), c.top);
  }
}

TEST_F(DBLabelTest, ChangingPosOrGapPlacesTheLabelAgainUnlessAutoAlignIsOff) {
  auto* l = Label();
  auto* ed = Edit(60, 20);
  l->SetFocusControl(ed);
  l->SetPos(DBLabel::psTop);
  EXPECT_EQ(l->Top(), 3);
  l->SetGap(8);
  EXPECT_EQ(l->Top(), 0);  // 20 - 13 - 8
  l->SetPos(DBLabel::psBottom);
  EXPECT_EQ(l->Top(), 49);
  l->SetAutoAlign(false);
  l->SetPos(DBLabel::psTop);
  EXPECT_EQ(l->Top(), 49);
  auto* loose = Label();
  loose->SetAutoAlign(false);
  loose->SetBounds(5, 6, 26, 13);
  loose->SetFocusControl(Edit(200, 200));
  EXPECT_EQ(loose->Left(), 5);
  EXPECT_EQ(loose->Top(), 6);
}

TEST_F(DBLabelTest, ASecondLabelForTheSameControlIsRefusedWithAMessage) {
  auto* ed = Edit(60, 20);
  auto* other = Edit(60, 100);
  auto* first = Label();
  first->SetFocusControl(ed);
  auto* second = Label();
  second->SetFocusControl(other);
  int top = second->Top();
  second->SetFocusControl(ed);
  EXPECT_EQ(Messages(), std::vector<std::string>{"不能同时有两个 DBLabel 指到同一个 Control."});
  EXPECT_EQ(second->FocusControl(), other);
  EXPECT_EQ(second->Top(), top);
}

TEST_F(DBLabelTest, TheCaptionComesFromTheDisplayLabelOfTheControlsField) {
  auto* dataSet = new TFakeDataSet(form);
  auto* source = new TFakeDataSource(form);
  source->SetDataSet(dataSet);
  auto* ed = Add<TFakeDBEdit>();
  ed->SetDataSource(source);
  ed->SetDataField("NVENDOR");
  std::string label;
  ASSERT_TRUE(DBLabel::DataFieldDisplayLabel(ed, label));
  EXPECT_EQ(label, "供应商");

  auto* l = Label();
  l->SetFocusControl(ed);
  EXPECT_EQ(l->Caption(), "供应商");
  // Without AutoCaption, or for a field the data set does not know, the
  // caption stays.
  ed->SetDataField("NDATE");
  l->SetAutoCaption(false);
  EXPECT_EQ(l->Caption(), "供应商");
  ed->SetDataField("NOSUCH");
  l->SetAutoCaption(true);
  EXPECT_EQ(l->Caption(), "供应商");
  ed->SetDataField("NDATE");
  l->SetGap(3);
  EXPECT_EQ(l->Caption(), "验收日期");
}

TEST_F(DBLabelTest, ControlsWithoutADataFieldLeaveTheCaptionAlone) {
  auto* source = new TFakeDataSource(form);  // no data set
  auto* dbEdit = Add<TFakeDBEdit>();
  dbEdit->SetDataSource(source);
  dbEdit->SetDataField("NDATE");
  auto* plain = Edit(0, 0);
  std::string label = "unchanged";
  EXPECT_FALSE(DBLabel::DataFieldDisplayLabel(dbEdit, label));
  EXPECT_FALSE(DBLabel::DataFieldDisplayLabel(plain, label));
  EXPECT_FALSE(DBLabel::DataFieldDisplayLabel(nullptr, label));
  EXPECT_EQ(label, "unchanged");
  auto* l = Label();
  l->SetCaption("制表日期");
  l->SetFocusControl(plain);
  EXPECT_EQ(l->Caption(), "制表日期");
}

}  // namespace

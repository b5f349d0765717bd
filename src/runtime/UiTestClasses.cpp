#include "runtime/UiTestClasses.h"

namespace runtime_ui_test {

using vcl::TClassInfo;

namespace {
const vcl::TEnumInfo kListBoxStyleInfo{"TListBoxStyle",
                                       {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"}};

vcl::TSpeedButton* MakeButton(vcl::TWinControl* parent, const std::string& name) {
  auto* button = new vcl::TSpeedButton(parent);
  button->SetName(name);
  button->SetParent(parent);
  return button;
}
}  // namespace

const TClassInfo* TTestSelectPanel::StaticClassInfo() {
  using P = vcl::PropBuilder<TTestSelectPanel>;
  static const TClassInfo info(
      "TSelectPanel", vcl::TCustomControl::StaticClassInfo(),
      {
          P::Object<&TTestSelectPanel::BeginWords, &TTestSelectPanel::SetBeginWords>("BeginWords",
                                                                                     "TStrings"),
          P::Object<&TTestSelectPanel::ChildHints, &TTestSelectPanel::SetChildHints>("ChildHints",
                                                                                     "TStrings"),
          P::Object<&TTestSelectPanel::FinalWords, &TTestSelectPanel::SetFinalWords>("FinalWords",
                                                                                     "TStrings"),
          P::String<&TTestSelectPanel::HintWord, &TTestSelectPanel::SetHintWord>("HintWord"),
      });
  return &info;
}

TTestSelectPanel::TTestSelectPanel(vcl::TComponent* owner)
    : vcl::TCustomControl(owner),
      childHints_(std::make_unique<vcl::TStringList>()),
      beginWords_(std::make_unique<vcl::TStringList>()),
      finalWords_(std::make_unique<vcl::TStringList>()) {
  ListBox = new vcl::TListView(this);
  ListBox->SetName("ListBox");
  ListBox->SetParent(this);
  BeginButton = MakeButton(this, "BeginButton");
  FinalButton = MakeButton(this, "FinalButton");
  ListButton = MakeButton(this, "ListButton");
}

TTestSelectPanel::~TTestSelectPanel() = default;

void TTestSelectPanel::SetChildHints(vcl::TStrings* list) { childHints_->Assign(list); }

void TTestSelectPanel::SetBeginWords(vcl::TStrings* list) {
  beginWords_->Assign(list);
  ++wordSettings;
}

void TTestSelectPanel::SetFinalWords(vcl::TStrings* list) {
  finalWords_->Assign(list);
  ++wordSettings;
}

const TClassInfo* TTestListBox::StaticClassInfo() {
  using P = vcl::PropBuilder<TTestListBox>;
  static const TClassInfo info(
      "TListBox", vcl::TWinControl::StaticClassInfo(),
      {
          P::Object<&TTestListBox::Items, &TTestListBox::SetItems>("Items", "TStrings"),
          P::Enum<&TTestListBox::Style, &TTestListBox::SetStyle>("Style", &kListBoxStyleInfo),
          P::Object<&TTestListBox::TitleFont>("TitleFont", "TFont"),
      });
  return &info;
}

TTestListBox::TTestListBox(vcl::TComponent* owner)
    : vcl::TWinControl(owner),
      items_(std::make_unique<vcl::TStringList>()),
      titleFont_(std::make_unique<vcl::TFont>()) {}

TTestListBox::~TTestListBox() = default;

const TClassInfo* TTestStatusPanel::StaticClassInfo() {
  using P = vcl::PropBuilder<TTestStatusPanel>;
  static const TClassInfo info(
      "TStatusPanel", vcl::TCollectionItem::StaticClassInfo(),
      {P::String<&TTestStatusPanel::Text, &TTestStatusPanel::SetText>("Text")});
  return &info;
}

const TClassInfo* TTestStatusBar::StaticClassInfo() {
  using P = vcl::PropBuilder<TTestStatusBar>;
  static const TClassInfo info("TStatusBar", vcl::TWinControl::StaticClassInfo(),
                               {P::Object<&TTestStatusBar::Panels>("Panels", "TStatusPanels")});
  return &info;
}

TTestStatusBar::TTestStatusBar(vcl::TComponent* owner)
    : vcl::TWinControl(owner), panels_(std::make_unique<vcl::TCollection>()) {}

TTestStatusBar::~TTestStatusBar() = default;

TTestStatusPanel* TTestStatusBar::AddPanel(const std::string& text) {
  auto* panel = new TTestStatusPanel(panels_.get());
  panel->SetText(text);
  return panel;
}

const TClassInfo* TTestLookupEdit::StaticClassInfo() {
  static const TClassInfo info("TVkBtnDBEdit", vcl::TWinControl::StaticClassInfo());
  return &info;
}

TTestLookupEdit::TTestLookupEdit(vcl::TComponent* owner) : vcl::TWinControl(owner) {
  F2Button = MakeButton(this, "F2Button");
}

}  // namespace runtime_ui_test

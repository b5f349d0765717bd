#include "controls/VrkEdit.h"

#if !VK_COMPAT_BUILD

#include "controls/DBLabel.h"
#include "controls/F2Button.h"
#include "platform/vcl/TypInfo.h"

namespace VrkEdit {

const vcl::TEnumInfo LabelPositionInfo{"TLabelPosition",
                                       {"lpAbove", "lpBelow", "lpLeft", "lpRight"}};

// --- TVkEdit -----------------------------------------------------------------

const vcl::TClassInfo* TVkEdit::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkEdit>;
  static const vcl::TClassInfo info(
      "TVkEdit", vcl::TEdit::StaticClassInfo(),
      {
          P::String<&TVkEdit::Caption, &TVkEdit::SetCaption>("Caption", "TCaption"),
          P::Enum<&TVkEdit::LabelPosition, &TVkEdit::SetLabelPosition>("LabelPosition",
                                                                       &LabelPositionInfo),
          P::Integer<&TVkEdit::LabelSpacing, &TVkEdit::SetLabelSpacing>("LabelSpacing"),
      });
  return &info;
}

TVkEdit::TVkEdit(vcl::TComponent* owner) : vcl::TEdit(owner) {
  label_ = new vcl::TLabel(this);
  label_->SetName("EditLabel");
  label_->SetFocusControl(this);
}

std::string TVkEdit::Caption() const { return label_ ? label_->Caption() : std::string(); }

void TVkEdit::SetCaption(const std::string& caption) {
  if (!label_) return;
  label_->SetCaption(caption);
  PlaceLabel();
}

void TVkEdit::SetLabelPosition(TLabelPosition position) {
  labelPosition_ = position;
  PlaceLabel();
}

void TVkEdit::SetLabelSpacing(int spacing) {
  if (spacing < 0) return;
  labelSpacing_ = spacing;
  PlaceLabel();
}

void TVkEdit::PlaceLabel() {
  if (!label_) return;
  int lw = label_->Width(), lh = label_->Height();
  int middle = Top() + (Height() - lh) / 2;
  int x = 0, y = 0;
  switch (labelPosition_) {
    case lpAbove:
      x = Left();
      y = Top() - lh - labelSpacing_;
      break;
    case lpBelow:
      x = Left();
      y = Top() + Height() + labelSpacing_;
      break;
    case lpLeft:
      x = Left() - lw - labelSpacing_;
      y = middle;
      break;
    case lpRight:
      x = Left() + Width() + labelSpacing_;
      y = middle;
      break;
  }
  label_->SetBounds(x, y, lw, lh);
}

void TVkEdit::SetBounds(int left, int top, int width, int height) {
  vcl::TEdit::SetBounds(left, top, width, height);
  PlaceLabel();
}

void TVkEdit::SetParent(vcl::TWinControl* parent) {
  vcl::TEdit::SetParent(parent);
  if (label_) label_->SetParent(parent);
  PlaceLabel();
}

void TVkEdit::SetVisible(bool visible) {
  vcl::TEdit::SetVisible(visible);
  if (label_) label_->SetVisible(visible);
}

void TVkEdit::EnabledChanged() {
  vcl::TEdit::EnabledChanged();
  if (label_) label_->SetEnabled(Enabled());
}

void TVkEdit::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  vcl::TEdit::Notification(component, operation);
  if (operation == vcl::opRemove && component == label_) label_ = nullptr;
}

// --- TVkDBEdit ---------------------------------------------------------------

const vcl::TClassInfo* TVkDBEdit::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkDBEdit>;
  static const vcl::TClassInfo info(
      "TVkDBEdit", TVkEdit::StaticClassInfo(),
      {
          P::String<&TVkDBEdit::DataField, &TVkDBEdit::SetDataField>("DataField", "string"),
          P::Object<&TVkDBEdit::DataSource, &TVkDBEdit::SetDataSource>("DataSource", "TDataSource"),
      });
  return &info;
}

void TVkDBEdit::SetDataSource(vcl::TComponent* source) {
  if (source == dataSource_) return;
  if (dataSource_) dataSource_->RemoveFreeNotification(this);
  dataSource_ = source;
  if (source) source->FreeNotification(this);
}

void TVkDBEdit::SetDataField(const std::string& field) {
  dataField_ = field;
  std::string label;
  if (Designing() && !field.empty() && DBLabel::DataFieldDisplayLabel(this, label))
    SetCaption(label);
}

void TVkDBEdit::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TVkEdit::Notification(component, operation);
  if (operation == vcl::opRemove && component == dataSource_) dataSource_ = nullptr;
}

// --- TVkBtnDBEdit ------------------------------------------------------------

const vcl::TClassInfo* TVkBtnDBEdit::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkBtnDBEdit>;
  static const vcl::TClassInfo info(
      "TVkBtnDBEdit", TVkDBEdit::StaticClassInfo(),
      {
          P::String<&TVkBtnDBEdit::ButtonHint, &TVkBtnDBEdit::SetButtonHint>("ButtonHint"),
          P::Integer<&TVkBtnDBEdit::ButtonSpacing, &TVkBtnDBEdit::SetButtonSpacing>(
              "ButtonSpacing"),
          P::Integer<&TVkBtnDBEdit::GlyphIndex, &TVkBtnDBEdit::SetGlyphIndex>("GlyphIndex"),
          P::Event<&TVkBtnDBEdit::OnDialog>("OnDialog"),
      });
  return &info;
}

TVkBtnDBEdit::TVkBtnDBEdit(vcl::TComponent* owner) : TVkDBEdit(owner) {
  button_ = new GSpdBtn::TGSpeedButton(this);
  button_->SetName("F2Button");
  button_->SetFlat(true);
  button_->SetGlyphIndex(8);
  button_->OnClick = vcl::MakeEvent<&TVkBtnDBEdit::ButtonClick>(this);
  PlaceButton();
}

int TVkBtnDBEdit::GlyphIndex() const { return button_ ? button_->GlyphIndex() : 0; }

void TVkBtnDBEdit::SetGlyphIndex(int index) {
  if (button_) button_->SetGlyphIndex(index);
}

std::string TVkBtnDBEdit::ButtonHint() const { return button_ ? button_->Hint() : std::string(); }

void TVkBtnDBEdit::SetButtonHint(const std::string& hint) {
  if (button_) button_->SetHint(hint);
}

void TVkBtnDBEdit::SetButtonSpacing(int spacing) {
  buttonSpacing_ = spacing;
  PlaceButton();
}

void TVkBtnDBEdit::PlaceButton() {
  if (!button_) return;
  button_->SetBounds(Left() + Width() + buttonSpacing_, Top(), Height(), Height());
}

void TVkBtnDBEdit::SetBounds(int left, int top, int width, int height) {
  TVkDBEdit::SetBounds(left, top, width, height);
  PlaceButton();
}

void TVkBtnDBEdit::SetParent(vcl::TWinControl* parent) {
  TVkDBEdit::SetParent(parent);
  if (button_) button_->SetParent(parent);
  PlaceButton();
}

void TVkBtnDBEdit::SetVisible(bool visible) {
  TVkDBEdit::SetVisible(visible);
  if (button_) button_->SetVisible(visible);
}

void TVkBtnDBEdit::EnabledChanged() {
  TVkDBEdit::EnabledChanged();
  if (button_) button_->SetEnabled(Enabled());
}

void TVkBtnDBEdit::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  TVkDBEdit::Notification(component, operation);
  if (operation == vcl::opRemove && component == button_) button_ = nullptr;
}

void TVkBtnDBEdit::ButtonClick(vcl::TObject*) {
  if (OnDialog.Assigned()) {
    OnDialog(this);
    return;
  }
  if (CanFocus()) SetFocus();
  if (vcl::IsLiveComponent(this) && Focused()) F2Button::SendLookupRequest(this);
}

}  // namespace VrkEdit

#endif  // !VK_COMPAT_BUILD

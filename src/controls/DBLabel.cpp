#include "controls/DBLabel.h"

#include <algorithm>
#include <exception>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/TypInfo.h"

namespace DBLabel {

const vcl::TEnumInfo PosInfo{"TPos", {"psTop", "psLeft", "psRight", "psBottom"}};

bool DataFieldDisplayLabel(vcl::TObject* control, std::string& label) {
  try {
    if (!control || !vcl::GetPropInfo(control, "DataSource", {vcl::TTypeKind::tkClass}) ||
        !vcl::GetPropInfo(control, "DataField", {vcl::TTypeKind::tkString}))
      return false;
    vcl::TObject* source = vcl::GetObjectProp(control, "DataSource");
    if (!source || !vcl::GetPropInfo(source, "DataSet", {vcl::TTypeKind::tkClass})) return false;
    auto* dataSet = dynamic_cast<IFieldDisplayLabels*>(vcl::GetObjectProp(source, "DataSet"));
    if (!dataSet) return false;
    std::string text;
    if (!dataSet->FieldDisplayLabel(vcl::GetStrProp(control, "DataField"), text)) return false;
    label = text;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

const vcl::TClassInfo* TDBLabel::StaticClassInfo() {
  using P = vcl::PropBuilder<TDBLabel>;
  static const vcl::TClassInfo info(
      "TDBLabel", vcl::TLabel::StaticClassInfo(),
      {
          P::Bool<&TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign>("AutoAlign"),
          P::Bool<&TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption>("AutoCaption"),
          P::Object<&TDBLabel::FocusControl, &TDBLabel::SetFocusControl>("FocusControl",
                                                                         "TWinControl"),
          P::Integer<&TDBLabel::Gap, &TDBLabel::SetGap>("Gap"),
          P::Enum<&TDBLabel::Pos, &TDBLabel::SetPos>("Pos", &PosInfo),
      });
  return &info;
}

TDBLabel::TDBLabel(vcl::TComponent* owner) : vcl::TLabel(owner) { SetCaption(kNewCaption); }

void TDBLabel::SetFocusControl(vcl::TWinControl* control) {
  if (control == FocusControl()) return;
  if (control) {
    if (vcl::TWinControl* parent = Parent()) {
      for (int i = 0; i < parent->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TDBLabel*>(parent->Components(i));
        if (other && other != this && other->FocusControl() == control) {
          vcl::MessageDlg(kDuplicateError, vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK}));
          return;
        }
      }
    }
  }
  vcl::TLabel::SetFocusControl(control);
  Attach();
}

void TDBLabel::SetPos(TPos pos) {
  pos_ = pos;
  Attach();
}

void TDBLabel::SetGap(int gap) {
  gap_ = gap;
  Attach();
}

void TDBLabel::SetAutoAlign(bool on) {
  autoAlign_ = on;
  Attach();
}

void TDBLabel::SetAutoCaption(bool on) {
  autoCaption_ = on;
  Attach();
}

void TDBLabel::Attach() {
  vcl::TWinControl* c = FocusControl();
  if (!c) return;
  if (autoCaption_) {
    std::string label;
    if (DataFieldDisplayLabel(c, label)) SetCaption(label);
  }
  if (!autoAlign_) return;
  int left = Left(), top = Top();
  int besideTop = Height() == c->Height() ? c->Top() : c->Top() + (c->Height() - Height()) / 2;
  switch (pos_) {
    case psTop:
      left = c->Left();
      top = c->Top() - Height() - gap_;
      break;
    case psBottom:
      left = c->Left();
      top = c->Top() + c->Height() + gap_;
      break;
    case psLeft:
      left = c->Left() - Width() - gap_;
      top = besideTop;
      break;
    case psRight:
      left = c->Left() + c->Width() + gap_;
      top = besideTop;
      break;
  }
  SetBounds(std::max(0, left), std::max(0, top), Width(), Height());
}

}  // namespace DBLabel

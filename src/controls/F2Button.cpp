#include "controls/F2Button.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/TypInfo.h"

namespace F2Button {

vcl::TControl* LookupWindow(const vcl::TControl* control) {
  if (!control) return nullptr;
  if (auto* owner = dynamic_cast<vcl::TControl*>(control->Owner())) return owner;
  return vcl::GetParentForm(control);
}

vcl::LRESULT SendLookupRequest(vcl::TControl* control) {
  vcl::TControl* window = LookupWindow(control);
  if (!window) return 0;
  return vcl::SendMessage(window, kLookupMessage, 0, reinterpret_cast<vcl::LPARAM>(control));
}

const vcl::TClassInfo* TF2Button::StaticClassInfo() {
  using P = vcl::PropBuilder<TF2Button>;
  static const vcl::TClassInfo info(
      "TF2Button", GSpdBtn::TGSpeedButton::StaticClassInfo(),
      {
          P::Bool<&TF2Button::AutoAlign, &TF2Button::SetAutoAlign>("AutoAlign"),
          P::Object<&TF2Button::F2Control, &TF2Button::SetF2Control>("F2Control", "TWinControl"),
          P::Integer<&TF2Button::Gap, &TF2Button::SetGap>("Gap"),
      });
  return &info;
}

TF2Button::TF2Button(vcl::TComponent* owner) : GSpdBtn::TGSpeedButton(owner) {
  SetFlat(true);
  SetGlyphIndex(8);
}

void TF2Button::SetF2Control(vcl::TWinControl* control) {
  if (control == f2Control_) return;
  if (control) {
    if (vcl::TWinControl* parent = Parent()) {
      for (int i = 0; i < parent->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TF2Button*>(parent->Components(i));
        if (other && other != this && other->F2Control() == control) {
          vcl::MessageDlg(kDuplicateError, vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK}));
          return;
        }
      }
    }
  }
  if (f2Control_) f2Control_->RemoveFreeNotification(this);
  f2Control_ = control;
  if (control) {
    control->FreeNotification(this);
    AlignToControl();
  }
}

void TF2Button::SetAutoAlign(bool on) {
  autoAlign_ = on;
  AlignToControl();
}

void TF2Button::SetGap(int gap) {
  gap_ = gap;
  AlignToControl();
}

void TF2Button::AlignToControl() {
  if (!autoAlign_ || !f2Control_) return;
  int side = f2Control_->Height();
  SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), side, side);
}

void TF2Button::Click() {
  GSpdBtn::TGSpeedButton::Click();
  if (!vcl::IsLiveComponent(this) || Disposed()) return;
  vcl::TWinControl* control = f2Control_;
  if (!control || !control->Enabled()) return;
  if (control->CanFocus()) control->SetFocus();
  if (vcl::IsLiveComponent(control) && control->Focused()) SendLookupRequest(control);
}

void TF2Button::Notification(vcl::TComponent* component, vcl::TOperation operation) {
  GSpdBtn::TGSpeedButton::Notification(component, operation);
  if (operation == vcl::opRemove && component == f2Control_) f2Control_ = nullptr;
}

}  // namespace F2Button

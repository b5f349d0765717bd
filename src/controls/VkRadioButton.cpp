#include "controls/VkRadioButton.h"

#include <QPainter>
#include <QPointer>
#include <QRadioButton>

#include "controls/BtChkBox.h"
#include "controls/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace VkRadioButton {

namespace {

// Qt draws the indicator; the caption is painted by the control. A click
// on the widget only asks the control to check itself.
class RadioWidget : public QRadioButton {
 public:
  RadioWidget(TVkRadioButton* owner, QWidget* parent) : QRadioButton(parent), owner_(owner) {
    setAutoExclusive(false);
  }

 protected:
  void nextCheckState() override {
    if (!vcl::IsLiveComponent(owner_) || owner_->Disposed()) return;
    QPointer<QRadioButton> self(this);
    owner_->SetChecked(true);
    if (self && vcl::IsLiveComponent(owner_)) {
      QSignalBlocker block(this);
      setChecked(owner_->Checked());
    }
  }
  void paintEvent(QPaintEvent* e) override {
    QRadioButton::paintEvent(e);
    if (!vcl::IsLiveComponent(owner_) || owner_->Disposed()) return;
    QPainter p(this);
    owner_->PaintOver(&p);
  }

 private:
  TVkRadioButton* owner_;
};

}  // namespace

int CaptionOffset(int pointSize) {
  struct Step {
    int upTo;
    int offset;
  };
  static const Step kSteps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23},
                                {35, 25}, {41, 27}, {43, 29}, {60, 31}, {80, 39}};
  for (const Step& s : kSteps)
    if (pointSize <= s.upTo) return s.offset;
  return 44;
}

const vcl::TClassInfo* TVkRadioButton::StaticClassInfo() {
  using P = vcl::PropBuilder<TVkRadioButton>;
  static const vcl::TClassInfo info(
      "TVkRadioButton", vcl::TButtonControl::StaticClassInfo(),
      {
          P::Enum<&TVkRadioButton::Alignment, &TVkRadioButton::SetAlignment>(
              "Alignment", &BtChkBox::LeftRightInfo),
          P::String<&TVkRadioButton::Caption, &TVkRadioButton::SetCaption>("Caption", "TCaption"),
          P::Bool<&TVkRadioButton::Checked, &TVkRadioButton::SetChecked>("Checked"),
          P::Bool<&TVkRadioButton::Ctl3D, &TVkRadioButton::SetCtl3D>("Ctl3D"),
      });
  return &info;
}

TVkRadioButton::TVkRadioButton(vcl::TComponent* owner) : vcl::TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

QWidget* TVkRadioButton::CreateWidget(QWidget* parentWidget) {
  return new RadioWidget(this, parentWidget);
}

void TVkRadioButton::InitWidget() {
  vcl::TButtonControl::InitWidget();
  if (auto* b = qobject_cast<QRadioButton*>(Widget())) {
    QSignalBlocker block(b);
    b->setChecked(checked_);
  }
}

void TVkRadioButton::SetChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  SetTabStop(on);
  if (auto* b = qobject_cast<QRadioButton*>(Widget())) {
    QSignalBlocker block(b);
    b->setChecked(on);
  }
  if (!on) return;
  if (vcl::TWinControl* p = Parent()) {
    for (int i = 0; i < p->ControlCount(); ++i) {
      auto* other = dynamic_cast<TVkRadioButton*>(p->Controls(i));
      if (other && other != this) other->SetChecked(false);
    }
  }
  if (!ClicksDisabled()) Click();
}

void TVkRadioButton::SetAlignment(vcl::TAlignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void TVkRadioButton::SetCtl3D(bool on) {
  if (on == ctl3D_) return;
  ctl3D_ = on;
  RecreateWnd();
}

bool TVkRadioButton::DialogChar(char key) {
  if (!vcl::IsAccel(key, Caption()) || !CanFocus()) return false;
  SetFocus();
  SetChecked(true);
  return true;
}

void TVkRadioButton::TextChanged() { Invalidate(); }

void TVkRadioButton::FontChanged() {
  vcl::TButtonControl::FontChanged();
  Invalidate();
}

void TVkRadioButton::EnabledChanged() {
  vcl::TButtonControl::EnabledChanged();
  Invalidate();
}

void TVkRadioButton::AfterPaint() {
  vcl::TCanvas* c = Canvas();
  int left = CaptionOffset(Font()->Size());
  c->Brush()->SetStyle(vcl::bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect({left, 0, Width(), Height()});
  std::string text = ControlsInternal::VisibleCaption(Caption());
  c->Brush()->SetStyle(vcl::bsClear);
  if (!Enabled()) c->Font()->SetColor(vcl::clGrayText);
  c->TextOut(left, (Height() - c->TextHeight(text)) / 2, text);
  c->Brush()->SetStyle(vcl::bsSolid);
}

}  // namespace VkRadioButton

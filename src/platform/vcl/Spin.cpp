#include "platform/vcl/Spin.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QStyle>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

const TClassInfo* TSpinEdit::StaticClassInfo() {
  using P = PropBuilder<TSpinEdit>;
  static const TClassInfo info(
      "TSpinEdit", TCustomEdit::StaticClassInfo(),
      {
          P::Bool<&TSpinEdit::EditorEnabled, &TSpinEdit::SetEditorEnabled>("EditorEnabled"),
          P::Integer<&TSpinEdit::Increment, &TSpinEdit::SetIncrement>("Increment", "LongInt"),
          P::Integer<&TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue>("MaxValue", "LongInt"),
          P::Integer<&TSpinEdit::MinValue, &TSpinEdit::SetMinValue>("MinValue", "LongInt"),
          P::Integer<&TSpinEdit::Value, &TSpinEdit::SetValue>("Value", "LongInt"),
      });
  return &info;
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 121, 22);
  SetTextInternal("0");
}

QWidget* TSpinEdit::CreateWidget(QWidget* parentWidget) {
  QWidget* w = TCustomEdit::CreateWidget(parentWidget);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    QStyle* style = QApplication::style();
    QAction* up =
        e->addAction(style->standardIcon(QStyle::SP_ArrowUp), QLineEdit::TrailingPosition);
    QAction* down =
        e->addAction(style->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    QObject::connect(up, &QAction::triggered, [this] {
      if (!internal::Quiet() && IsLiveComponent(this) && !Disposed() && !ReadOnly()) UpClick();
    });
    QObject::connect(down, &QAction::triggered, [this] {
      if (!internal::Quiet() && IsLiveComponent(this) && !Disposed() && !ReadOnly()) DownClick();
    });
  }
  return w;
}

int TSpinEdit::CheckValue(int value) const {
  if (maxValue_ != minValue_) {
    if (value < minValue_) return minValue_;
    if (value > maxValue_) return maxValue_;
  }
  return value;
}

int TSpinEdit::Value() const {
  auto v = platform::TryStrToInt(platform::Trim(Text()));
  return v ? *v : minValue_;
}

void TSpinEdit::SetValue(int value) { SetText(std::to_string(CheckValue(value))); }

void TSpinEdit::UpClick() { SetValue(Value() + increment_); }
void TSpinEdit::DownClick() { SetValue(Value() - increment_); }

bool TSpinEdit::IsValidChar(char key) const {
  bool valid = key == '.' || key == '+' || key == '-' || (key >= '0' && key <= '9') ||
               (static_cast<unsigned char>(key) < 32 && key != VK_RETURN);
  if (!editorEnabled_ && valid && (static_cast<unsigned char>(key) >= 32 || key == VK_BACK))
    return false;
  return valid;
}

void TSpinEdit::KeyDown(Word& key, TShiftState shift) {
  if (key == VK_UP) {
    UpClick();
  } else if (key == VK_DOWN) {
    DownClick();
  }
  TCustomEdit::KeyDown(key, shift);
}

void TSpinEdit::KeyPress(char& key) {
  if (!IsValidChar(key)) key = 0;
  if (key != 0) TCustomEdit::KeyPress(key);
}

bool TSpinEdit::WantsKey(Word key, TShiftState) const { return key == VK_UP || key == VK_DOWN; }

void TSpinEdit::DoExit() {
  if (CheckValue(Value()) != Value()) SetValue(Value());
  TCustomEdit::DoExit();
}

}  // namespace vcl

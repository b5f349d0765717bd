#include "platform/vcl/Spin.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

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

namespace {

// The platform's spin button: two arrow buttons stacked at the right edge
// inside the edit's frame, each half its height and as wide as a scroll
// arrow; the text keeps clear of them. It follows the edit's size.
class SpinButtons : public QObject {
 public:
  static constexpr int kWidth = 15;

  explicit SpinButtons(QLineEdit* edit)
      : QObject(edit), edit_(edit), up_(MakeButton(Qt::UpArrow)), down_(MakeButton(Qt::DownArrow)) {
    up_->setObjectName("SpinUp");
    down_->setObjectName("SpinDown");
    edit->setTextMargins(0, 0, kWidth, 0);
    edit->installEventFilter(this);
    Place();
  }
  QToolButton* Up() const { return up_; }
  QToolButton* Down() const { return down_; }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize) Place();
    return false;
  }

 private:
  QToolButton* MakeButton(Qt::ArrowType arrow) {
    auto* button = new QToolButton(edit_);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    return button;
  }
  void Place() {
    const int frame = edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit_);
    const int inner = std::max(2, edit_->height() - 2 * frame);
    const int left = std::max(0, edit_->width() - frame - kWidth);
    up_->setGeometry(left, frame, kWidth, inner / 2);
    down_->setGeometry(left, frame + inner / 2, kWidth, inner - inner / 2);
  }

  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace

QWidget* TSpinEdit::CreateWidget(QWidget* parentWidget) {
  QWidget* w = TCustomEdit::CreateWidget(parentWidget);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    auto* buttons = new SpinButtons(e);
    QObject::connect(buttons->Up(), &QToolButton::clicked, [this] {
      if (!internal::Quiet() && IsLiveComponent(this) && !Disposed() && !ReadOnly()) UpClick();
    });
    QObject::connect(buttons->Down(), &QToolButton::clicked, [this] {
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

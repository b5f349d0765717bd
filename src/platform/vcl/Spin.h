#pragma once

#include "platform/vcl/StdCtrls.h"

namespace vcl {

/* The platform's spin edit: an edit holding a whole number, with up and
   down buttons (stacked at its right edge inside the frame, the text kept
   clear of them) and the Up/Down keys that add or take Increment. Value
   reads Text as a number (MinValue when it is not one); setting Value
   writes Text, clamped to MinValue..MaxValue unless both are equal (then
   there are no limits). Only digits, signs and control characters can be
   typed (Enter is passed on). OnChange runs for every text change, code
   and user alike, as for TEdit. Leaving it clamps the value. */
class TSpinEdit : public TCustomEdit {
  VCL_CLASS_INFO()
 public:
  explicit TSpinEdit(TComponent* owner);

  int MinValue() const { return minValue_; }
  void SetMinValue(int v) { minValue_ = v; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int v) { maxValue_ = v; }
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  bool EditorEnabled() const { return editorEnabled_; }
  void SetEditorEnabled(bool on) { editorEnabled_ = on; }
  int Value() const;
  void SetValue(int value);
  int CheckValue(int value) const;
  void UpClick();
  void DownClick();

  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char& key) override;
  bool WantsKey(Word key, TShiftState shift) const override;
  void DoExit() override;

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;

 private:
  bool IsValidChar(char key) const;
  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
  bool editorEnabled_ = true;
};

}  // namespace vcl

#pragma once

#include "platform/vcl/StdCtrls.h"

/* The program's radio button, which paints its own caption. */
namespace VkRadioButton {

/* The left offset of the caption area for a font of PointSize points:
   up to 8 -> 17, 9-15 -> 19, 16-17 -> 20, 18-23 -> 21, 24-29 -> 23,
   30-35 -> 25, 36-41 -> 27, 42-43 -> 29, 44-60 -> 31, 61-80 -> 39,
   larger -> 44. */
int CaptionOffset(int pointSize);

/* A radio button that checks and unchecks itself.

   Checking it (a user click, the caption's accelerator key, or Checked set
   from code) unchecks every other TVkRadioButton with the same parent
   (other kinds of buttons there keep their state), makes it a tab stop
   (an unchecked one is not) and raises OnClick unless ClicksDisabled.
   Unchecking from code raises nothing. A double click raises OnDblClick;
   the accelerator key also focuses the button.
   Painting: after the platform has drawn the button, the caption area
   (from CaptionOffset(font size) to the right edge) is filled with the
   button's colour and the caption is drawn there in the button's font, on
   one line, vertically centred. Enabling repaints; changing Ctl3D makes
   the widget anew. A new button is 113 x 17, unchecked, not a tab stop,
   with Alignment taRightJustify. */
class TVkRadioButton : public vcl::TButtonControl {
  VCL_CLASS_INFO()
 public:
  explicit TVkRadioButton(vcl::TComponent* owner);

  bool Checked() const { return checked_; }
  virtual void SetChecked(bool on);
  vcl::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(vcl::TAlignment alignment);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool on);

  bool DialogChar(char key) override;
  void MessageClick() override { SetChecked(true); }
  void AfterPaint() override;

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;
  void FontChanged() override;
  void EnabledChanged() override;

 private:
  bool checked_ = false;
  vcl::TAlignment alignment_ = vcl::taRightJustify;
  bool ctl3D_ = true;
};

}  // namespace VkRadioButton

#pragma once

#include <memory>
#include <string>

#include "platform/vcl/Controls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

/* The check box drawn with a bitmap per state. */
namespace BtChkBox {

/* Value names of the box's Alignment ("TLeftRight": taLeftJustify,
   taRightJustify) and State ("TCheckBoxState"). */
extern const vcl::TEnumInfo LeftRightInfo;
extern const vcl::TEnumInfo CheckBoxStateInfo;

/* The module's own state images "CHECKED", "UNCHECKED" and "GRAYED" (names
   compared ignoring case): one 13 x 13 image each, its bottom-left pixel's
   colour transparent. False, with Bitmap untouched, for any other name or a
   null bitmap. */
bool LoadStateBitmap(const std::string& name, vcl::TBitmap* bitmap);

/* A check box that draws the bitmap of its state and its caption itself.

   States: Checked is true exactly when State is cbChecked; setting Checked
   sets cbChecked or cbUnchecked. Setting State or Checked from code
   repaints and raises nothing.
   A user click (mouse, the space key, or Click() from code) advances the
   state (unchecked -> grayed when AllowGrayed, else checked; checked ->
   unchecked; grayed -> checked), then raises OnClick, then takes the focus
   when it can. The caption's accelerator key (Alt+key) focuses the box and,
   when it got the focus, advances the state without raising OnClick.
   Glyphs: each state's bitmap holds one or two images side by side (the
   second shown while disabled); a bitmap whose width is a multiple of its
   height sets its count to width / height, and counts are kept within 1..2.
   Setting an absent or empty bitmap loads the state's own image
   (LoadStateBitmap), as a new box has.
   Painting: the box's colour; the state's image vertically centred, at the
   left edge when Alignment is taRightJustify (caption right of the image),
   else at the right edge; the caption on one line, vertically centred, 4
   pixels right of the image (or from x = 1 when the image is on the right);
   a disabled box draws the caption in clGrayText, over a clBtnHighlight
   copy one pixel right and down when Ctl3D is set; a focused box frames its
   caption with a focus rectangle. A new box is 97 x 17, unchecked, a tab
   stop, with Alignment taRightJustify and Ctl3D set. */
class TBitCheckBox : public vcl::TCustomControl {
  VCL_CLASS_INFO()
 public:
  explicit TBitCheckBox(vcl::TComponent* owner);
  ~TBitCheckBox() override;

  vcl::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(vcl::TAlignment alignment);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool on) { allowGrayed_ = on; }
  bool Checked() const { return state_ == vcl::cbChecked; }
  void SetChecked(bool on) { SetState(on ? vcl::cbChecked : vcl::cbUnchecked); }
  vcl::TCheckBoxState State() const { return state_; }
  void SetState(vcl::TCheckBoxState state);
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool on);

  vcl::TBitmap* CheckedGlyph() const { return glyphs_[vcl::cbChecked].get(); }
  void SetCheckedGlyph(vcl::TBitmap* glyph) { SetGlyph(vcl::cbChecked, glyph); }
  vcl::TBitmap* UncheckedGlyph() const { return glyphs_[vcl::cbUnchecked].get(); }
  void SetUncheckedGlyph(vcl::TBitmap* glyph) { SetGlyph(vcl::cbUnchecked, glyph); }
  vcl::TBitmap* GrayedGlyph() const { return glyphs_[vcl::cbGrayed].get(); }
  void SetGrayedGlyph(vcl::TBitmap* glyph) { SetGlyph(vcl::cbGrayed, glyph); }
  int CheckedNumGlyphs() const { return counts_[vcl::cbChecked]; }
  void SetCheckedNumGlyphs(int n) { SetNumGlyphs(vcl::cbChecked, n); }
  int UncheckedNumGlyphs() const { return counts_[vcl::cbUnchecked]; }
  void SetUncheckedNumGlyphs(int n) { SetNumGlyphs(vcl::cbUnchecked, n); }
  int GrayedNumGlyphs() const { return counts_[vcl::cbGrayed]; }
  void SetGrayedNumGlyphs(int n) { SetNumGlyphs(vcl::cbGrayed, n); }

  /* Advances the state as a click does, without OnClick. */
  void Toggle();
  void Click() override;
  bool DialogChar(char key) override;
  void KeyPress(char& key) override;
  void DoEnter() override;
  void DoExit() override;
  void Paint() override;

 protected:
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void EnabledChanged() override;

 private:
  void SetGlyph(vcl::TCheckBoxState state, vcl::TBitmap* glyph);
  void SetNumGlyphs(vcl::TCheckBoxState state, int n);
  void GlyphChanged(vcl::TCheckBoxState state);

  vcl::TAlignment alignment_ = vcl::taRightJustify;
  bool allowGrayed_ = false;
  vcl::TCheckBoxState state_ = vcl::cbUnchecked;
  bool ctl3D_ = true;
  std::unique_ptr<vcl::TBitmap> glyphs_[3];
  int counts_[3] = {1, 1, 1};
};

}  // namespace BtChkBox

#pragma once

#include <memory>

#include "platform/vcl/StdCtrls.h"

class QIcon;

namespace vcl {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

/* The images of a glyph bitmap: NumGlyphs images side by side (up,
   disabled, down, exclusive); the bitmap's bottom-left colour is
   transparent. A glyph whose width is a multiple of its height sets
   NumGlyphs to width / height (1 when that exceeds 4), as on the platform. */
QIcon GlyphIcon(const TBitmap* glyph, int numGlyphs);

/* The platform's button with a glyph (Glyph, NumGlyphs; a second image is
   shown while disabled). Clicks as TButton. */
class TBitBtn : public TButton {
  VCL_CLASS_INFO()
 public:
  explicit TBitBtn(TComponent* owner);
  ~TBitBtn() override;

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind k) { kind_ = k; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l) { layout_ = l; }
  int Margin() const { return margin_; }
  void SetMargin(int m) { margin_ = m; }
  int Spacing() const { return spacing_; }
  void SetSpacing(int s) { spacing_ = s; }

 protected:
  void InitWidget() override;

 private:
  void GlyphChanged();
  void ShowGlyph();
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
};

/* The platform's speed button: a graphic control drawn with its glyph and
   caption. A user click (press and release inside) first updates Down for
   grouped buttons (GroupIndex <> 0: the button goes down and the others of
   its parent and group go up; clicking a down button puts it up only with
   AllowAllUp), then runs OnClick. Click() from code runs OnClick only.
   Setting Down from code: ignored with GroupIndex 0, and a down button
   cannot be put up while AllowAllUp is false (the platform's rules). */
class TSpeedButton : public TGraphicControl {
  VCL_CLASS_INFO()
 public:
  explicit TSpeedButton(TComponent* owner);
  ~TSpeedButton() override;

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int n);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool on);
  bool Flat() const { return flat_; }
  void SetFlat(bool on);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout l);
  int Margin() const { return margin_; }
  void SetMargin(int m);
  int Spacing() const { return spacing_; }
  void SetSpacing(int s);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);

  bool ClickOnMouseUp() const override { return true; }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Paint() override;

 protected:
  void TextChanged() override { Invalidate(); }

 private:
  void GlyphChanged();
  void UpdateExclusive();
  std::unique_ptr<TBitmap> glyph_;
  int numGlyphs_ = 1;
  int groupIndex_ = 0;
  bool down_ = false;
  bool allowAllUp_ = false;
  bool flat_ = false;
  bool pressing_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool transparent_ = true;
};

}  // namespace vcl

#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/StdCtrls.h"

namespace vcl {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

/* The platform's panel: a container drawn with an outer and an inner bevel
   and its caption centred (Alignment). Aligned children keep inside
   BorderWidth and the bevels. */
class TCustomPanel : public TCustomControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomPanel(TComponent* owner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut b);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut b);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int w);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int w);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);

  void AdjustClientRect(TRect& rect) const override;
  void Paint() override;

 protected:
  void TextChanged() override;
  void ColorChanged() override;

 private:
  void Changed();
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
  VCL_CLASS_INFO()
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

class TCustomRadioGroup;

/* The radio button a radio group makes for each item; its key events also
   reach the group. */
class TGroupButton : public TRadioButton {
  VCL_CLASS_INFO()
 public:
  explicit TGroupButton(TCustomRadioGroup* group);
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char& key) override;
};

/* The platform's radio group: a group box with one radio button per item,
   in Columns columns (button width (width - 10) / columns, height (height -
   text height - 5) / rows, first column at left 8). ItemIndex is clamped to
   -1 .. count - 1 and checks its button. OnClick runs when the user clicks
   a button and when ItemIndex is set from code to another item, as on the
   platform; changing Items keeps ItemIndex and runs nothing. */
class TCustomRadioGroup : public TCustomGroupBox {
  VCL_CLASS_INFO()
 public:
  explicit TCustomRadioGroup(TComponent* owner);
  ~TCustomRadioGroup() override;

  TStrings* Items() const;
  void SetItems(TStrings* items);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int Columns() const { return columns_; }
  void SetColumns(int columns);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TRadioButton* Buttons(int index) const;

 protected:
  /* Makes the button for one item; descendants make their own kind. */
  virtual TRadioButton* CreateGroupButton();
  void Resize() override;
  void FontChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TGroupButton;
  void ButtonClick(TObject* sender);
  void UpdateButtons();
  void ArrangeButtons();
  std::unique_ptr<TStringList> items_;
  std::vector<TRadioButton*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
  VCL_CLASS_INFO()
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

/* The platform's splitter: dragging it resizes the aligned control it sits
   against (not below MinSize); OnMoved runs after. */
class TSplitter : public TGraphicControl {
  VCL_CLASS_INFO()
 public:
  explicit TSplitter(TComponent* owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int n) { minSize_ = n; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool on) { beveled_ = on; }
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle s) { resizeStyle_ = s; }
  /* The control the splitter resizes, nullptr when none. */
  TControl* ResizeControl() const;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

  TNotifyEvent OnMoved;

 private:
  int minSize_ = 30;
  bool beveled_ = false;
  TResizeStyle resizeStyle_ = rsPattern;
  bool dragging_ = false;
  int downX_ = 0, downY_ = 0;
};

}  // namespace vcl

#pragma once

// The labelled edits exist in the current build only.
#if !VK_COMPAT_BUILD

#include <string>

#include "controls/GSpdBtn.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

/* Edits that carry their own label, and the data-aware one with a lookup
   button. */
namespace VrkEdit {

enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
extern const vcl::TEnumInfo LabelPositionInfo;

/* An edit that owns a label named "EditLabel" (its focus control is the
   edit). Caption is the label's caption (not the edit's text).

   Placement, each time the edit's bounds, LabelPosition, LabelSpacing or
   Caption change: lpAbove at the edit's left, the label's bottom Spacing
   above the edit; lpBelow at the edit's left, Spacing below it; lpLeft
   ending Spacing left of the edit and lpRight starting Spacing right of it,
   both vertically centred on the edit. A negative LabelSpacing is ignored
   (the old value stays). The label takes the edit's parent, visibility and
   enabled state whenever those change. */
class TVkEdit : public vcl::TEdit {
  VCL_CLASS_INFO()
 public:
  explicit TVkEdit(vcl::TComponent* owner);

  vcl::TLabel* EditLabel() const { return label_; }
  /* The label's caption (hides the control's Caption, which is the text). */
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  TLabelPosition LabelPosition() const { return labelPosition_; }
  void SetLabelPosition(TLabelPosition position);
  int LabelSpacing() const { return labelSpacing_; }
  void SetLabelSpacing(int spacing);

  /* Puts the label in its place now. */
  void PlaceLabel();

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(vcl::TWinControl* parent) override;
  void SetVisible(bool visible) override;

 protected:
  void EnabledChanged() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  vcl::TLabel* label_ = nullptr;
  TLabelPosition labelPosition_ = lpLeft;
  int labelSpacing_ = 4;
};

/* A labelled edit bound to a field of a data set: DataSource (a component
   publishing "DataSet") and DataField. At design time, setting DataField
   takes the label's caption from the field's display label
   (DBLabel::DataFieldDisplayLabel). */
class TVkDBEdit : public TVkEdit {
  VCL_CLASS_INFO()
 public:
  explicit TVkDBEdit(vcl::TComponent* owner) : TVkEdit(owner) {}

  vcl::TComponent* DataSource() const { return dataSource_; }
  void SetDataSource(vcl::TComponent* source);
  const std::string& DataField() const { return dataField_; }
  void SetDataField(const std::string& field);

 protected:
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  vcl::TComponent* dataSource_ = nullptr;
  std::string dataField_;
};

/* A data-aware labelled edit with a lookup button: a TGSpeedButton named
   "F2Button" (flat, glyph 8), square (the edit's height), at the edit's
   top, ButtonSpacing pixels right of the edit; it follows the edit's
   parent, visibility and enabled state. GlyphIndex and ButtonHint are the
   button's. A click on the button raises OnDialog when it is assigned;
   otherwise the edit takes the focus (if it can) and, when it has it, sends
   the lookup request for itself (F2Button::SendLookupRequest). */
class TVkBtnDBEdit : public TVkDBEdit {
  VCL_CLASS_INFO()
 public:
  explicit TVkBtnDBEdit(vcl::TComponent* owner);

  GSpdBtn::TGSpeedButton* Button() const { return button_; }
  int ButtonSpacing() const { return buttonSpacing_; }
  void SetButtonSpacing(int spacing);
  int GlyphIndex() const;
  void SetGlyphIndex(int index);
  std::string ButtonHint() const;
  void SetButtonHint(const std::string& hint);

  /* Puts the button in its place now. */
  void PlaceButton();

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(vcl::TWinControl* parent) override;
  void SetVisible(bool visible) override;

  vcl::TNotifyEvent OnDialog;

 protected:
  void EnabledChanged() override;
  void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

 private:
  void ButtonClick(vcl::TObject* sender);
  GSpdBtn::TGSpeedButton* button_ = nullptr;
  int buttonSpacing_ = 2;
};

}  // namespace VrkEdit

#endif  // !VK_COMPAT_BUILD

#pragma once

#include <memory>
#include <string>

#include "platform/vcl/Controls.h"

class QLineEdit;

namespace vcl {

enum TTextLayout { tlTop, tlCenter, tlBottom };

/* The platform's label: a graphic control showing its caption. With
   ShowAccelChar (default) "&x" underlines x and Alt+x focuses FocusControl.
   With AutoSize (default) the label takes the size of its text whenever the
   caption or font changes. A click (mouse press and release) runs OnClick. */
class TCustomLabel : public TGraphicControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomLabel(TComponent* owner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool on);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  bool ClickOnMouseUp() const override { return true; }
  bool DialogChar(char key) override;
  /* Sizes the label to its text now (as AutoSize does). */
  void AdjustBounds();

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void UpdateLabel();
  bool autoSize_ = true;
  TWinControl* focusControl_ = nullptr;
  bool showAccelChar_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool transparent_ = false;
};

class TLabel : public TCustomLabel {
  VCL_CLASS_INFO()
 public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

/* The platform's edit. OnChange runs after every change of the text: typed
   by the user and set by code (Text, Clear) alike, once per change, and not
   when the new text equals the old one. MaxLength (0: no limit) counts bytes
   in the code page of the font; typing past it is refused. Modified is set
   by typing and cleared by setting Text from code. */
class TCustomEdit : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomEdit(TComponent* owner);

  int MaxLength() const { return maxLength_; }
  virtual void SetMaxLength(int length);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool Modified() const { return modified_; }
  void SetModified(bool on) { modified_ = on; }
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase c);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on) { autoSelect_ = on; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle s);

  /* Selection as byte offsets into Text. */
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);
  std::string SelText() const;
  void SelectAll();
  void Clear() { SetText(""); }

  TNotifyEvent OnChange;

  bool ClickOnMouseUp() const override { return true; }
  void InsertTypedChar(char ch) override;
  QWidget* FocusWidget() override;
  void DoEnter() override;

 protected:
  /* Runs OnChange. Descendants may change the text here (the change
     nests). */
  virtual void Change();
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;
  void SetTextInternal(const std::string& text) override;
  void ColorChanged() override;
  /* The text the widget shows for the current text. */
  virtual QString DisplayText() const;
  /* The user changed the widget's text to Shown. */
  virtual void UserEdited(const QString& shown);
  QLineEdit* LineEdit() const;
  /* Sets the widget's text without reporting it as typed. */
  void ShowText(const QString& shown);

 private:
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool modified_ = false;
  char passwordChar_ = 0;
  TEditCharCase charCase_ = ecNormal;
  bool autoSelect_ = true;
  TBorderStyle borderStyle_ = bsSingle;
  int selStart_ = 0;
  int selLength_ = 0;
};

class TEdit : public TCustomEdit {
  VCL_CLASS_INFO()
 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

/* The platform's memo: its text is Lines. OnChange runs after every change,
   from the user or from code (Lines changed, Text set). Enter inserts a
   line break (WantReturns) unless a key handler used it up. */
class TCustomMemo : public TCustomEdit {
  VCL_CLASS_INFO()
 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const;
  void SetLines(TStrings* lines);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle s);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool on) { wantReturns_ = on; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool on) { wantTabs_ = on; }
  /* The caret: X the byte column, Y the line (0 = first). */
  TPoint CaretPos() const;
  void SetCaretPos(TPoint pos);

  bool WantsKey(Word key, TShiftState shift) const override;
  void InsertTypedChar(char ch) override;
  QWidget* FocusWidget() override;

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  std::string GetText() const override;
  void SetTextInternal(const std::string& text) override;
  void TextChanged() override;
  void ColorChanged() override;

 private:
  void LinesChanged();
  void UserTyped();
  std::unique_ptr<TStringList> lines_;
  bool wordWrap_ = true;
  TScrollStyle scrollBars_ = ssNone;
  bool wantReturns_ = true;
  bool wantTabs_ = false;
  bool updating_ = false;
  TPoint caret_;
};

class TMemo : public TCustomMemo {
  VCL_CLASS_INFO()
 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

/* The platform's combo box. Styles csDropDown and csSimple have an edit
   part; the others are lists (the owner-drawn ones draw their items with
   the control's font). OnChange runs when the user picks an item or types;
   setting ItemIndex, Text or Items from code does not run it. Text is the
   edit part, or the picked item's text for list styles. Setting Text picks
   the item with exactly that text (none when there is none; a list style
   then shows nothing, an edit style keeps the text). Changing Items keeps ItemIndex when it is
   still in range and clears it otherwise. */
class TCustomComboBox : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);
  TStrings* Items() const;
  void SetItems(TStrings* items);
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int n);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int n) { maxLength_ = n; }
  bool Sorted() const { return sorted_; }
  void SetSorted(bool on);
  bool DroppedDown() const;
  void SetDroppedDown(bool on);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h) { itemHeight_ = h; }
  void Clear();

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  bool WantsKey(Word key, TShiftState shift) const override;
  QWidget* FocusWidget() override;

 protected:
  virtual void Change();
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  std::string GetText() const override;
  void SetTextInternal(const std::string& text) override;
  void TextChanged() override;
  void ColorChanged() override;

 private:
  bool Editable() const { return style_ == csDropDown || style_ == csSimple; }
  void ItemsChanged();
  void FillWidget();
  void UserPicked(int index);
  void UserTyped(const QString& text);
  TComboBoxStyle style_ = csDropDown;
  std::unique_ptr<TStringList> items_;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  int maxLength_ = 0;
  int itemHeight_ = 16;
  bool sorted_ = false;
};

class TComboBox : public TCustomComboBox {
  VCL_CLASS_INFO()
 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

/* Base of buttons, check boxes and radio buttons. ClicksDisabled stops the
   click that setting Checked from code would run. */
class TButtonControl : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TButtonControl(TComponent* owner);
  ~TButtonControl() override;
  bool ClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool on) { clicksDisabled_ = on; }

  /* A canvas on the widget while it paints, for AfterPaint. */
  TCanvas* Canvas() const { return canvas_.get(); }
  /* Runs after the widget has painted itself (check boxes and radio
     buttons); descendants draw over it on Canvas. The base does nothing. */
  virtual void AfterPaint() {}
  void PaintOver(QPainter* painter);

 private:
  bool clicksDisabled_ = false;
  std::unique_ptr<TCanvas> canvas_;
};

/* The platform's push button. Click (user, Enter on the focused button,
   the default button's Enter, the cancel button's Esc, or code) first sets
   the form's ModalResult to the button's ModalResult (closing a modal form
   when not mrNone), then runs OnClick. */
class TButton : public TButtonControl {
  VCL_CLASS_INFO()
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  void Click() override;
  void MessageClick() override { Click(); }

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TLeftRight { taLeftJustifyLR, taRightJustifyLR };

/* The platform's check box. OnClick runs whenever the state changes: a user
   click (which advances the state: unchecked -> grayed when AllowGrayed,
   else checked; checked -> unchecked; grayed -> checked) and setting
   Checked or State from code alike, unless ClicksDisabled. */
class TCustomCheckBox : public TButtonControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomCheckBox(TComponent* owner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool on) { SetState(on ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool on) { allowGrayed_ = on; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; }
  /* Advances the state as a user click does. */
  virtual void Toggle();
  void MessageClick() override { Toggle(); }

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  VCL_CLASS_INFO()
 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

/* The platform's radio button. Checking it (user click or code) unchecks
   the other radio buttons of the same parent, makes it a tab stop (an
   unchecked one is not) and runs OnClick unless ClicksDisabled; unchecking
   from code runs nothing. */
class TRadioButton : public TButtonControl {
  VCL_CLASS_INFO()
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  virtual void SetChecked(bool on);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a) { alignment_ = a; }
  void MessageClick() override { SetChecked(true); }

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void TextChanged() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

/* The platform's group box: a frame with a caption that holds controls;
   aligned children keep clear of the frame and the caption. */
class TCustomGroupBox : public TCustomControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomGroupBox(TComponent* owner);
  void AdjustClientRect(TRect& rect) const override;

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void TextChanged() override;
};

class TGroupBox : public TCustomGroupBox {
  VCL_CLASS_INFO()
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

}  // namespace vcl

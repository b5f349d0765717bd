#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Classes.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Messages.h"

class QWidget;
class QObject;
class QString;
class QPainter;

namespace vcl {

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBorderStyle { bsNone, bsSingle };

// Shift state: a set of these bits.
enum : uint16_t {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64,
};
using TShiftState = uint16_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TCursor = int16_t;
inline constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                         crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9,
                         crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
                         crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17,
                         crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
                         crSizeAll = -22;

// Virtual key codes of the platform. Letters and digits are their upper-case
// ASCII codes ('A' = 65, '0' = 48).
enum : Word {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_PAUSE = 19,
  VK_CAPITAL = 20,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112,
  VK_F2 = 113,
  VK_F3 = 114,
  VK_F4 = 115,
  VK_F5 = 116,
  VK_F6 = 117,
  VK_F7 = 118,
  VK_F8 = 119,
  VK_F9 = 120,
  VK_F10 = 121,
  VK_F11 = 122,
  VK_F12 = 123,
};

using TKeyEvent = TEvent<TObject* /*Sender*/, Word& /*Key*/, TShiftState>;
using TKeyPressEvent = TEvent<TObject* /*Sender*/, char& /*Key*/>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int /*X*/, int /*Y*/>;

/* Creation parameters a control may adjust before its window is made.
   WndParent is the control that owns a top-level window (nullptr: the
   desktop). */
struct TCreateParams {
  std::string Caption;
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  TWinControl* WndParent = nullptr;
};

/* The platform's TControl: position, size, alignment, visibility, caption,
   font, colour, hint, mouse events and window messages.

   The Qt widget is made on demand (Handle(), or when the control's parent
   gets its widget) and shows the control's state; the state lives in the
   control, so every property works before, with and after the widget.
   Texts are bytes; the widget shows them decoded in the code page of the
   control's font character set (platform::CodePageOfCharset), and what the
   user types comes back encoded the same way. Changing Font.Charset shows
   the same bytes decoded anew.

   Freeing a control frees the controls it parents (as the platform does) and
   its widget; no event handler runs while it goes. */
class TControl : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  void SetClientWidth(int w) { SetWidth(w + width_ - ClientWidth()); }
  void SetClientHeight(int h) { SetHeight(h + height_ - ClientHeight()); }
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  /* Visible, and every parent is showing (a form: shown). */
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  /* Caption and Text are the same text on the platform's controls. */
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& text);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  bool ShowHint() const;
  void SetShowHint(bool on);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool on) { parentShowHint_ = on; }

  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* font) { font_->Assign(font); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool on);
  TColor Color() const { return color_; }
  virtual void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu);

  /* Handles a message now, through WndProc; returns its Result. */
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  /* The message handler. The base version runs the platform's own handling
     (mouse buttons, focus messages, CM_RELEASE, WM_CLOSE on forms);
     overrides handle their messages and pass the rest to the inherited one. */
  virtual void WndProc(TMessage& message);

  bool HandleAllocated() const;
  /* The control's widget, made now when it does not exist yet. */
  QWidget* Handle();
  /* The widget key events are sent to (an inner editor where there is one). */
  virtual QWidget* FocusWidget();

  /* Clicks the control: runs OnClick (descendants add what a click does,
     such as toggling a check box or setting a form's ModalResult). */
  virtual void Click();
  virtual void DblClick();
  void BringToFront();
  void SendToBack();
  void Invalidate();
  void Repaint();
  void Refresh() { Repaint(); }
  void Update();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;

  /* Layer internals, used by the event routing and by descendants. */
  QString QtText(const std::string& bytes) const;
  std::string FromQtText(const QString& text) const;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  /* Whether a mouse press and release on the widget makes a click (controls
     whose widget has no click signal of its own). */
  virtual bool ClickOnMouseUp() const { return false; }
  /* Alt+Key was pressed on the control's form: a control whose caption has
     "&Key" (case-insensitive) acts on it and returns true. The base version
     returns false; labels focus their FocusControl. */
  virtual bool DialogChar(char key);
  /* Asked before a mouse press reaches the widget; false swallows it (after
     OnMouseDown has run). */
  virtual bool AcceptMousePress(TMouseButton /*button*/, int /*x*/, int /*y*/) { return true; }
  /* What a left-button press and release sent as messages do to a control
     whose widget makes its own clicks (buttons, check boxes): the base
     version does nothing. */
  virtual void MessageClick() {}
  TCustomForm* ParentForm() const;
  void CreateWidgetNow(QWidget* parentWidget);
  void ApplyGeometry();
  void ParentFontChanged();
  void ParentColorChanged();

 protected:
  /* Makes the widget, as a child of ParentWidget (nullptr: top level). The
     base version makes a plain widget. */
  virtual QWidget* CreateWidget(QWidget* parentWidget);
  /* Pushes the control's whole state into a new widget. Overrides call the
     inherited one first. */
  virtual void InitWidget();
  virtual void DestroyWidget();
  QWidget* Widget() const;

  virtual std::string GetText() const { return text_; }
  /* Stores the text and shows it; the base version stores into text_ and
     calls TextChanged. */
  virtual void SetTextInternal(const std::string& text);
  virtual void TextChanged();
  /* The font changed (also its charset: show the texts decoded anew). */
  virtual void FontChanged();
  virtual void ColorChanged();
  virtual void EnabledChanged();
  virtual void VisibleChanged();
  /* After the size changed; runs OnResize. */
  virtual void Resize();
  /* The rectangle this control's widget takes inside its parent's widget. */
  virtual void GetWidgetGeometry(int& x, int& y, int& w, int& h) const;

  void DoDispose() override;
  void Notification(TComponent* component, TOperation operation) override;

  std::string text_;

 private:
  friend class TWinControl;
  void FontChangedInternal();
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool settingParentFont_ = false;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  struct WidgetHolder;
  std::unique_ptr<WidgetHolder> holder_;
  bool mousePressed_ = false;
};

/* The platform's TWinControl: a control that can hold other controls and
   take the focus. Tab order is the order of the parent's tab list; focus
   changes run OnExit on the controls being left and OnEnter on the ones
   being entered (see TCustomForm::SetFocusedControl). */
class TWinControl : public TControl {
  VCL_CLASS_INFO()
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  /* True for the control itself and everything parented inside it. */
  bool ContainsControl(const TControl* control) const;

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool on) { tabStop_ = on; }
  /* Position in the parent's tab list; -1 without a parent. Setting moves
     the control (a value past the end puts it last). */
  int TabOrder() const;
  void SetTabOrder(int order);
  /* Windowed descendants in tab order, depth first. */
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  /* The next (or previous) control after Current in tab order among this
     control's descendants that can take the focus; with CheckTabStop only
     tab stops count; with CheckParent only direct children. Wraps around. */
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  /* Focuses FindNextControl(Current, ...) when there is one. */
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  /* The platform's rule: the form is visible and enabled, and this control
     and every parent up to it are visible and enabled. */
  virtual bool CanFocus() const;
  /* This control is its form's active control. */
  bool Focused() const;
  /* Moves the focus here. Raises EInvalidOperation "Cannot focus a disabled
     or invisible window" when CanFocus is false. */
  virtual void SetFocus();

  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  /* Lays out the aligned children again. */
  void Realign();

  const std::string& ImeName() const { return imeName_; }
  void SetImeName(const std::string& name) { imeName_ = name; }

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  /* Key handling steps, called by the key routing (and by forms with
     KeyPreview). Each runs the matching event; Key or Char set to 0 means
     the key was used up. */
  virtual void KeyDown(Word& key, TShiftState shift);
  virtual void KeyUp(Word& key, TShiftState shift);
  virtual void KeyPress(char& key);
  /* Whether the control uses a key itself, so the form's dialog handling
     (Tab between controls, Enter for the default button, Esc for the cancel
     button) leaves it alone. */
  virtual bool WantsKey(Word key, TShiftState shift) const;
  /* Puts a character the key handlers changed into the control's text
     (edits); the base version ignores it. */
  virtual void InsertTypedChar(char ch);
  virtual void DoEnter();
  virtual void DoExit();

  /* The widget children are placed in (for a group box or a page: its own). */
  virtual QWidget* ClientWidget();
  /* Shrinks Rect to the area aligned children may use. */
  virtual void AdjustClientRect(TRect& rect) const;
  virtual void CreateParams(TCreateParams& params);
  /* Makes the widget again (after a change only a new widget can show). */
  void RecreateWnd();

 protected:
  void InitWidget() override;
  void DoDispose() override;
  void Resize() override;
  void EnabledChanged() override;
  virtual void AlignControls(TRect& rect);
  virtual void ControlsChanged() {}

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool aligning_ = false;
  std::string imeName_;
};

/* A control drawn by its class: Paint() draws on Canvas() while the widget
   paints. */
class TGraphicControl : public TControl {
  VCL_CLASS_INFO()
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  virtual void Paint() {}
  void PaintWith(QPainter* painter);

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;

 private:
  std::unique_ptr<TCanvas> canvas_;
};

/* A windowed control drawn by its class (the platform's TCustomControl). */
class TCustomControl : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  virtual void Paint() {}
  void PaintWith(QPainter* painter);
  bool ClickOnMouseUp() const override { return true; }

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;

 private:
  std::unique_ptr<TCanvas> canvas_;
};

/* The control that owns a widget (or the nearest ancestor widget that
   belongs to a control); nullptr when none. */
TControl* FindControl(const QObject* widget);
/* The form a control is on (its top-most parent when that is a form). */
TCustomForm* GetParentForm(const TControl* control);
/* "short|long" hints: the part before or after the bar. */
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

/* Sends a key to a control the way a real key press arrives: a Qt key
   press and release on the control's focus widget, through the same
   routing (form preview, the control's key events, dialog keys, Qt's own
   handling). The character typed is derived from the key (letters lower
   case unless Shift, Enter 13, Esc 27, Backspace 8, Tab 9). */
void SimulateKey(TControl* control, Word key, TShiftState shift = 0);
/* Types a text into a control, one key press per byte (ASCII only). */
void SimulateText(TControl* control, const std::string& text);
/* A left click at (x, y) of the control's widget through Qt mouse events
   (press, release); the centre when x and y are negative. */
void SimulateClick(TControl* control, int x = -1, int y = -1);

/* True when Caption marks Key as its accelerator ("&k", ignoring case). */
bool IsAccel(char key, const std::string& caption);

/* Qt key and modifiers to the platform's key code and shift state; 0 for a
   key without a code. */
Word KeyFromQt(int qtKey);
int KeyToQt(Word key);
TShiftState ShiftFromQt(int modifiers);

}  // namespace vcl

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Controls.h"

namespace vcl {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter
};
enum TFormBorderStyle {
  bsNoneForm,
  bsSingleForm,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = uint8_t;  // bit n = TBorderIcon n
constexpr TBorderIcons BorderIcon(TBorderIcon i) { return static_cast<TBorderIcons>(1u << i); }

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                              mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9,
                              mrYesToAll = 10;

using TCloseEvent = TEvent<TObject* /*Sender*/, TCloseAction& /*Action*/>;
using TCloseQueryEvent = TEvent<TObject* /*Sender*/, bool& /*CanClose*/>;

class TButton;

/* The platform's form. Width and Height are the outer size; the client area
   is 8 pixels narrower and 27 lower (border and caption).

   Life: Create<T>(owner) runs OnCreate after construction; Show/Visible run
   OnShow before the window appears and OnHide after it goes; Close asks
   OnCloseQuery(CanClose) and then OnClose(Action) with Action caHide
   (caNone keeps the form, caHide hides it, caFree frees it later through
   Release, caMinimize minimises it); freeing runs OnDestroy first.

   Keys: with KeyPreview the form's OnKeyDown/OnKeyPress see each key before
   the focused control and may use it up by setting it to 0. */
class TCustomForm : public TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  int ClientWidth() const override;
  int ClientHeight() const override;
  bool Showing() const override;
  void SetVisible(bool visible) override;
  bool CanFocus() const override;
  void SetFocus() override;

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on) { keyPreview_ = on; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState state);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);
  int PixelsPerInch() const { return 96; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool on) { scaled_ = on; }

  /* The control that has (or gets, when the form is shown) the focus.
     Setting it on a shown form focuses the control. */
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  /* Moves the focus to Control (CanFocus permitting). */
  void FocusControl(TWinControl* control);
  /* The focus bookkeeping: Control becomes the active control; OnExit runs
     on the old control and each of its parents that does not contain the
     new one, then OnEnter from the outermost new parent down to Control. A
     handler that moves the focus elsewhere stops the rest, and the new move
     starts from where the walk had got to (so refocusing the control being
     left from its OnExit runs its OnEnter again). At the end the form gets
     CM_FOCUSCHANGED with the new control as LParam. */
  void SetFocusedControl(TWinControl* control);

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  /* Shows the form modally and returns its modal result. With a modal hook
     installed (TApplication::SetModalHook) the hook runs once the form is
     shown; when it leaves a modal result, ShowModal closes the form and
     returns at once, and when it leaves none ShowModal returns mrNone
     without waiting. Without a hook a nested event loop runs until the
     modal result is set (and OnCloseQuery/OnClose allow closing).
     Raises EInvalidOperation "Cannot make a visible window modal" for a
     shown form. */
  virtual int ShowModal();
  bool Modal() const { return modal_; }
  /* Closes the form (modal: sets ModalResult to mrCancel). */
  void Close();
  /* OnCloseQuery; true when the form may close. */
  virtual bool CloseQuery();
  /* Frees the form after the current event, when the event loop runs. */
  void Release();

  /* The first button with Default (Cancel) set that is visible and enabled. */
  TButton* DefaultButton() const;
  TButton* CancelButton() const;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  void AfterConstruction() override;
  void WndProc(TMessage& message) override;
  void ControlGone(TControl* control);
  /* Called by the layer when Qt resized, moved, activated or closed the
     window. */
  void WindowResized(int clientWidth, int clientHeight);
  void WindowMoved(int left, int top);
  void WindowCloseRequested();
  void WindowActivated(bool active);

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;
  void InitWidget() override;
  void GetWidgetGeometry(int& x, int& y, int& w, int& h) const override;
  void TextChanged() override;
  void BeforeDestruction() override;
  void DoDispose() override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);

 private:
  void CloseModal();
  void ApplyWindowFlags();
  void SelectFirstControl();
  bool keyPreview_ = false;
  TWindowState windowState_ = wsNormal;
  TBorderIcons borderIcons_ =
      BorderIcon(biSystemMenu) | BorderIcon(biMinimize) | BorderIcon(biMaximize);
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  bool scaled_ = true;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focused_ = nullptr;  // how far OnEnter/OnExit have run
  TModalResult modalResult_ = mrNone;
  bool modal_ = false;
  bool shown_ = false;
  bool centred_ = false;
  int focusCount_ = 0;
  bool releasing_ = false;
};

class TForm : public TCustomForm {
  VCL_CLASS_INFO()
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

/* The application object: the event loop, hint settings and the modal hook. */
class TApplication : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  /* Makes the QApplication when none exists yet (programs; tests make their
     own), and turns Qt's pixmap cache off for the process: drawn faces are
     not kept between paints, so windows opened and freed leave nothing. */
  void Initialize(int& argc, char** argv);
  /* Runs every pending event and posted message, then returns. */
  void ProcessMessages();
  /* Runs the event loop until Terminate. */
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }

  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool on) { showHint_ = on; }
  /* Milliseconds a hint stays; default 2500. */
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor c) { hintColor_ = c; }
  void CancelHint();

  /* Called with every form (message dialogs included) that enters
     ShowModal, after it is shown; see TCustomForm::ShowModal. An empty
     function removes the hook. */
  void SetModalHook(std::function<void(TCustomForm&)> hook) { modalHook_ = std::move(hook); }
  const std::function<void(TCustomForm&)>& ModalHook() const { return modalHook_; }

  /* Shows an exception's message in an error message dialog. */
  void ShowException(const std::exception& e);

 private:
  std::string title_;
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool showHint_ = true;
  int hintHidePause_ = 2500;
  int hintPause_ = 500;
  TColor hintColor_ = clInfoBk;
  std::function<void(TCustomForm&)> modalHook_;
};

/* The screen: forms, fonts and the active form. */
class TScreen : public TComponent {
  VCL_CLASS_INFO()
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  /* Names of the installed font families, bytes in the system code page,
     sorted. */
  TStrings* Fonts();
  /* Fonts of icon titles, hints and menus. Changing the hint font changes
     the hint window's font; the menu font is used by owner-drawn menus. */
  TFont* IconFont() const { return iconFont_.get(); }
  TFont* HintFont() const { return hintFont_.get(); }
  TFont* MenuFont() const { return menuFont_.get(); }
  TCustomForm* ActiveForm() const { return activeForm_; }
  TWinControl* ActiveControl() const;
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

 private:
  std::unique_ptr<TStringList> fonts_;
  std::unique_ptr<TFont> iconFont_, hintFont_, menuFont_;
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TCursor cursor_ = crDefault;
};

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace vcl

#include "platform/vcl/Forms.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QPixmapCache>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

#include "platform/core/CodePage.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

namespace {
const TEnumInfo kWindowStateInfo{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
const TEnumInfo kPositionInfo{"TPosition",
                              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                               "poScreenCenter", "poDesktopCenter"}};
const TEnumInfo kFormBorderStyleInfo{
    "TFormBorderStyle",
    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo kBorderIconInfo{"TBorderIcon",
                                {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};

constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 27;
}  // namespace

// --- TCustomForm -----------------------------------------------------------

const TClassInfo* TCustomForm::StaticClassInfo() {
  using P = PropBuilder<TCustomForm>;
  static const TClassInfo info(
      "TCustomForm", TWinControl::StaticClassInfo(),
      {
          P::SetOf<&TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons>(
              "BorderIcons", "TBorderIcons", &kBorderIconInfo),
          P::Enum<&TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle>("BorderStyle",
                                                                           &kFormBorderStyleInfo),
          P::String<&TCustomForm::Caption, &TCustomForm::SetCaption>("Caption", "TCaption"),
          P::Integer<&TCustomForm::ClientHeight, &TCustomForm::SetClientHeight>("ClientHeight"),
          P::Integer<&TCustomForm::ClientWidth, &TCustomForm::SetClientWidth>("ClientWidth"),
          P::String<&TCustomForm::ImeName, &TCustomForm::SetImeName>("ImeName", "TImeName"),
          P::Bool<&TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview>("KeyPreview"),
          P::Integer<&TCustomForm::PixelsPerInch>("PixelsPerInch"),
          P::Enum<&TCustomForm::Position, &TCustomForm::SetPosition>("Position", &kPositionInfo),
          P::Bool<&TCustomForm::Scaled, &TCustomForm::SetScaled>("Scaled"),
          P::Enum<&TCustomForm::WindowState, &TCustomForm::SetWindowState>("WindowState",
                                                                           &kWindowStateInfo),
          P::Object<&TCustomForm::ActiveControl, &TCustomForm::SetActiveControl>("ActiveControl",
                                                                                 "TWinControl"),
          P::Event<&TCustomForm::OnActivate>("OnActivate"),
          P::Event<&TCustomForm::OnClose>("OnClose", "TCloseEvent"),
          P::Event<&TCustomForm::OnCloseQuery>("OnCloseQuery", "TCloseQueryEvent"),
          P::Event<&TCustomForm::OnCreate>("OnCreate"),
          P::Event<&TCustomForm::OnDeactivate>("OnDeactivate"),
          P::Event<&TCustomForm::OnDestroy>("OnDestroy"),
          P::Event<&TCustomForm::OnHide>("OnHide"),
          P::Event<&TCustomForm::OnPaint>("OnPaint"),
          P::Event<&TCustomForm::OnResize>("OnResize"),
          P::Event<&TCustomForm::OnShow>("OnShow"),
      });
  return &info;
}

const TClassInfo* TForm::StaticClassInfo() {
  static const TClassInfo info("TForm", TCustomForm::StaticClassInfo());
  return &info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  TControl::SetVisible(false);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
}

int TCustomForm::ClientWidth() const {
  return borderStyle_ == bsNoneForm ? Width() : std::max(0, Width() - kFrameWidth);
}

int TCustomForm::ClientHeight() const {
  return borderStyle_ == bsNoneForm ? Height() : std::max(0, Height() - kFrameHeight);
}

void TCustomForm::GetWidgetGeometry(int& x, int& y, int& w, int& h) const {
  x = Left();
  y = Top();
  w = ClientWidth();
  h = ClientHeight();
}

bool TCustomForm::Showing() const { return Visible() && !Disposed(); }

QWidget* TCustomForm::CreateWidget(QWidget*) {
  TCreateParams params;
  CreateParams(params);
  QWidget* parent = params.WndParent ? params.WndParent->Handle() : nullptr;
  return new QWidget(parent, Qt::Window);
}

void TCustomForm::InitWidget() {
  TWinControl::InitWidget();
  ApplyWindowFlags();
  Widget()->setFocusPolicy(Qt::NoFocus);
  Widget()->setAutoFillBackground(true);
}

void TCustomForm::ApplyWindowFlags() {
  QWidget* w = Widget();
  if (!w) return;
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (borderStyle_ == bsDialog) flags |= Qt::Dialog;
  if (borderStyle_ == bsNoneForm) flags |= Qt::FramelessWindowHint;
  if (borderIcons_ & BorderIcon(biSystemMenu))
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (borderIcons_ & BorderIcon(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
  if (borderIcons_ & BorderIcon(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
  if (borderIcons_ & BorderIcon(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
  bool wasVisible = w->isVisible();
  internal::QuietScope quiet;
  w->setWindowFlags(flags);
  if (wasVisible) w->show();
}

void TCustomForm::TextChanged() {
  if (QWidget* w = Widget()) w->setWindowTitle(QtText(GetText()));
}

void TCustomForm::SetWindowState(TWindowState state) {
  windowState_ = state;
  QWidget* w = Widget();
  if (!w || !Visible()) return;
  internal::QuietScope quiet;
  switch (state) {
    case wsMinimized:
      w->showMinimized();
      break;
    case wsMaximized:
      w->showMaximized();
      break;
    default:
      w->showNormal();
      break;
  }
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  borderIcons_ = icons;
  ApplyWindowFlags();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  borderStyle_ = style;
  ApplyWindowFlags();
  ApplyGeometry();
}

void TCustomForm::SetPosition(TPosition position) { position_ = position; }

void TCustomForm::SetVisible(bool visible) {
  if (Disposed() || visible == Visible()) return;
  TControl::SetVisible(visible);
  if (visible) {
    DoShow();
    if (!IsLiveComponent(this) || Disposed() || !Visible()) return;
    if ((position_ == poScreenCenter || position_ == poDesktopCenter) && !centred_) {
      centred_ = true;
      int l = std::max(0, (Screen->Width() - Width()) / 2);
      int t = std::max(0, (Screen->Height() - Height()) / 2);
      SetBounds(l, t, Width(), Height());
    }
    QWidget* w = Handle();
    {
      internal::QuietScope quiet;
      if (modal_) w->setWindowModality(Qt::ApplicationModal);
      switch (windowState_) {
        case wsMinimized:
          w->showMinimized();
          break;
        case wsMaximized:
          w->showMaximized();
          break;
        default:
          w->show();
          break;
      }
      w->activateWindow();
    }
    shown_ = true;
    Screen->SetActiveForm(this);
    if (activeControl_ && activeControl_->CanFocus())
      FocusControl(activeControl_);
    else
      SelectFirstControl();
  } else {
    if (QWidget* w = Widget()) {
      internal::QuietScope quiet;
      w->hide();
      w->setWindowModality(Qt::NonModal);
    }
    DoHide();
    if (Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
  }
}

void TCustomForm::SelectFirstControl() {
  if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FocusControl(first);
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled() && !Disposed(); }

void TCustomForm::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (QWidget* w = Widget()) w->activateWindow();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && Visible() && control->CanFocus()) {
    FocusControl(control);
    return;
  }
  activeControl_ = control;
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control || control == this) return;
  SetFocusedControl(control);
  if (activeControl_ == control && IsLiveComponent(control) && control->HandleAllocated()) {
    internal::QuietScope quiet;
    control->FocusWidget()->setFocus(Qt::OtherFocusReason);
  }
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (Disposed()) return;
  if (control == this) control = nullptr;
  TWinControl* target = control ? control : this;
  activeControl_ = target == this ? nullptr : target;
  if (!focused_ || !IsLiveComponent(focused_)) focused_ = this;
  if (focused_ == target) return;
  int count = ++focusCount_;
  // As on the platform: the chain being left moves up before each exit, so
  // a handler that moves the focus starts from where the walk has got to.
  while (focused_ && focused_ != this && !focused_->ContainsControl(target)) {
    TWinControl* leaving = focused_;
    focused_ = focused_->Parent() ? focused_->Parent() : this;
    if (IsLiveComponent(leaving) && !leaving->Disposed()) leaving->DoExit();
    if (count != focusCount_) return;
  }
  while (focused_ != target) {
    TWinControl* entering = target;
    while (entering->Parent() && entering->Parent() != focused_) entering = entering->Parent();
    if (entering->Parent() != focused_) break;
    focused_ = entering;
    entering->DoEnter();
    if (count != focusCount_ || !IsLiveComponent(target)) return;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(activeControl_));
}

void TCustomForm::ControlGone(TControl* control) {
  for (TControl* c = activeControl_; c; c = c->Parent())
    if (c == control) {
      activeControl_ = nullptr;
      break;
    }
  for (TControl* c = focused_; c; c = c->Parent())
    if (c == control) {
      focused_ = control->Parent() ? control->Parent() : this;
      break;
    }
}

TButton* TCustomForm::DefaultButton() const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Default() && b->CanFocus()) return b;
  return nullptr;
}

TButton* TCustomForm::CancelButton() const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  for (TWinControl* c : list)
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Cancel() && b->CanFocus()) return b;
  return nullptr;
}

int TCustomForm::ShowModal() {
  if (Visible() || modal_ || Disposed())
    throw EInvalidOperation("Cannot make a visible window modal");
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  const auto& hook = Application->ModalHook();
  if (hook) {
    if (IsLiveComponent(this) && Visible()) hook(*this);
    if (IsLiveComponent(this) && modalResult_ != mrNone) CloseModal();
  } else {
    QEventLoop loop;
    while (IsLiveComponent(this) && Visible() && modalResult_ == mrNone &&
           !Application->Terminated()) {
      loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
      if (IsLiveComponent(this) && modalResult_ != mrNone) CloseModal();
    }
  }
  if (!IsLiveComponent(this)) return mrCancel;
  int result = modalResult_;
  modal_ = false;
  Hide();
  return result;
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (!IsLiveComponent(this)) return;
  if (action == caNone)
    modalResult_ = mrNone;
  else if (action == caFree)
    Release();
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (Disposed()) return;
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery() || !IsLiveComponent(this)) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (!IsLiveComponent(this) || Disposed()) return;
  switch (action) {
    case caNone:
      break;
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
  }
}

void TCustomForm::Release() {
  if (releasing_ || Disposed()) return;
  releasing_ = true;
  PostMessage(this, CM_RELEASE, 0, 0);
}

void TCustomForm::WndProc(TMessage& m) {
  if (Disposed()) return;
  switch (m.Msg) {
    case CM_RELEASE:
      Free();
      return;
    case WM_CLOSE:
      Close();
      return;
    default:
      TWinControl::WndProc(m);
  }
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  DoCreate();
}

void TCustomForm::DoCreate() { OnCreate(this); }
void TCustomForm::DoDestroy() { OnDestroy(this); }
void TCustomForm::DoShow() { OnShow(this); }
void TCustomForm::DoHide() { OnHide(this); }
void TCustomForm::DoClose(TCloseAction& action) { OnClose(this, action); }

void TCustomForm::BeforeDestruction() {
  DoDestroy();
  TWinControl::BeforeDestruction();
}

void TCustomForm::DoDispose() {
  internal::QuietScope quiet;
  activeControl_ = nullptr;
  focused_ = nullptr;
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->MainForm() == this) Application->SetMainForm(nullptr);
  TWinControl::DoDispose();
}

void TCustomForm::WindowResized(int clientWidth, int clientHeight) {
  int w = clientWidth + (Width() - ClientWidth());
  int h = clientHeight + (Height() - ClientHeight());
  if (w == Width() && h == Height()) return;
  SetBounds(Left(), Top(), w, h);
  Perform(WM_SIZE, 0, MakeLParam(clientWidth, clientHeight));
}

void TCustomForm::WindowMoved(int left, int top) {
  if (left == Left() && top == Top()) return;
  SetBounds(left, top, Width(), Height());
  Perform(WM_MOVE, 0, MakeLParam(left, top));
}

void TCustomForm::WindowCloseRequested() { Close(); }

void TCustomForm::WindowActivated(bool active) {
  if (active) {
    Screen->SetActiveForm(this);
    OnActivate(this);
  } else {
    OnDeactivate(this);
  }
}

// --- TApplication ----------------------------------------------------------

const TClassInfo* TApplication::StaticClassInfo() {
  using P = PropBuilder<TApplication>;
  static const TClassInfo info(
      "TApplication", TComponent::StaticClassInfo(),
      {
          P::Integer<&TApplication::HintHidePause, &TApplication::SetHintHidePause>(
              "HintHidePause"),
          P::Integer<&TApplication::HintPause, &TApplication::SetHintPause>("HintPause"),
          P::Bool<&TApplication::ShowHint, &TApplication::SetShowHint>("ShowHint"),
          P::String<&TApplication::Title, &TApplication::SetTitle>("Title"),
      });
  return &info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}
TApplication::~TApplication() = default;

void TApplication::Initialize(int& argc, char** argv) {
  if (!QCoreApplication::instance()) new QApplication(argc, argv);
  // No pixmap cache. The style caches each button face it draws under a key
  // holding the palette's key, and every control has a palette of its own,
  // so a face kept for one window is never found for another. Qt (6.4) also
  // keeps the text key of every pixmap it has held, after evicting it and
  // after clear(): any cache that accepts entries grows with every window
  // opened in the process. With a zero limit every insert fails and the
  // style paints the face directly (some 20 microseconds more per button
  // repainted).
  QPixmapCache::setCacheLimit(0);
  internal::EnsureRouting();
}

void TApplication::ProcessMessages() {
  if (!QCoreApplication::instance()) return;
  internal::EnsureRouting();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents();
}

void TApplication::Run() {
  if (!QCoreApplication::instance()) return;
  while (!terminated_) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    if (mainForm_ == nullptr && Screen->FormCount() == 0) break;
  }
}

void TApplication::Terminate() { terminated_ = true; }

void TApplication::CancelHint() { QToolTip::hideText(); }

void TApplication::ShowException(const std::exception& e) {
  std::string text = e.what();
  if (auto* pe = dynamic_cast<const platform::Exception*>(&e)) text = pe->Message();
  MessageDlg(text, mtError, MsgDlgButtons({mbOK}), 0);
}

// --- TScreen ---------------------------------------------------------------

const TClassInfo* TScreen::StaticClassInfo() {
  static const TClassInfo info("TScreen", TComponent::StaticClassInfo());
  return &info;
}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner),
      iconFont_(std::make_unique<TFont>()),
      hintFont_(std::make_unique<TFont>()),
      menuFont_(std::make_unique<TFont>()) {}

TScreen::~TScreen() = default;

int TScreen::Width() const {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = app->primaryScreen()) return s->geometry().width();
  return 1024;
}

int TScreen::Height() const {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* s = app->primaryScreen()) return s->geometry().height();
  return 768;
}

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    fonts_ = std::make_unique<TStringList>();
    if (QGuiApplication::instance()) {
      for (const QString& family : QFontDatabase::families())
        fonts_->Add(EncodeText(family, platform::SystemCodePage()));
    }
    fonts_->Sort();
  }
  return fonts_.get();
}

TWinControl* TScreen::ActiveControl() const {
  return activeForm_ ? activeForm_->ActiveControl() : nullptr;
}

void TScreen::SetCursor(TCursor cursor) { cursor_ = cursor; }

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
  if (activeForm_ == form) activeForm_ = nullptr;
}

}  // namespace vcl

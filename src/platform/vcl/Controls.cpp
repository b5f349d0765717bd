#include "platform/vcl/Controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <unordered_map>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Internal.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"

namespace vcl {

// ---------------------------------------------------------------------------
// Internal: widget registry, event routing, posted messages.

namespace internal {

namespace {

std::unordered_map<const QObject*, TControl*>& Registry() {
  static std::unordered_map<const QObject*, TControl*> registry;
  return registry;
}

int g_quiet = 0;

struct SeenEvent {
  const QEvent* event = nullptr;
  int type = 0;
  quint64 stamp = 0;
};
SeenEvent g_lastKey, g_lastMouse;

bool SameEvent(SeenEvent& seen, const QEvent* e, quint64 stamp) {
  return seen.event == e && seen.type == e->type() && seen.stamp == stamp;
}

TShiftState MouseShift(const QMouseEvent* me) {
  TShiftState s = ShiftFromQt(static_cast<int>(me->modifiers()));
  if (me->buttons() & Qt::LeftButton) s |= ssLeft;
  if (me->buttons() & Qt::RightButton) s |= ssRight;
  if (me->buttons() & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

TMouseButton ButtonOf(Qt::MouseButton b) {
  return b == Qt::RightButton ? mbRight : b == Qt::MiddleButton ? mbMiddle : mbLeft;
}

char CharOfKeyEvent(const QKeyEvent* ke) {
  switch (ke->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    default:
      break;
  }
  QString t = ke->text();
  if (t.size() == 1 && t[0].unicode() > 0 && t[0].unicode() < 0x80)
    return static_cast<char>(t[0].unicode());
  return 0;
}

TWinControl* WindowedControlOf(TControl* c) {
  while (c && !dynamic_cast<TWinControl*>(c)) c = c->Parent();
  return static_cast<TWinControl*>(c);
}

// The routing of keys, focus, mouse, hints and top-level window events.
class Router : public QObject {
 public:
  bool eventFilter(QObject* obj, QEvent* e) override {
    if (g_quiet > 0 || !obj->isWidgetType()) return false;
    switch (e->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        return Key(obj, static_cast<QKeyEvent*>(e));
      case QEvent::FocusIn:
        FocusIn(obj);
        return false;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
        return Mouse(obj, static_cast<QMouseEvent*>(e));
      case QEvent::ToolTip:
        return ToolTip(obj, e);
      case QEvent::Close:
        return Close(obj, e);
      case QEvent::Resize:
      case QEvent::Move:
      case QEvent::WindowActivate:
      case QEvent::WindowDeactivate:
        TopLevel(obj, e);
        return false;
      default:
        return false;
    }
  }

 private:
  static TCustomForm* FormOfWindow(QObject* obj) {
    auto it = Registry().find(obj);
    if (it == Registry().end()) return nullptr;
    auto* w = static_cast<QWidget*>(obj);
    if (!w->isWindow()) return nullptr;
    return dynamic_cast<TCustomForm*>(it->second);
  }

  bool Key(QObject* obj, QKeyEvent* ke) {
    if (SameEvent(g_lastKey, ke, ke->timestamp())) return false;  // propagating to a parent
    g_lastKey = {ke, ke->type(), ke->timestamp()};
    TWinControl* control = WindowedControlOf(FindControl(obj));
    if (!control || control->Disposed()) return false;
    const bool handled = RouteKey(control, ke);
    // A handler may have run a modal window whose own keys replaced the
    // one seen last; this key still goes on to the parents, unrouted.
    g_lastKey = {ke, ke->type(), ke->timestamp()};
    return handled;
  }

  QPointer<QObject> droppedPress_;

  void FocusIn(QObject* obj) {
    TWinControl* control = WindowedControlOf(FindControl(obj));
    if (!control || control->Disposed()) return;
    TCustomForm* form = GetParentForm(control);
    if (!form || form->Disposed()) return;
    if (control == form) return;
    if (form->ActiveControl() != control) form->SetFocusedControl(control);
  }

  // A left press on a control that takes the focus by click (one in the
  // tab order, pressed on a part that takes the focus) gives it the focus
  // first: Qt does so for a real press, and here for a simulated one. When
  // the focus does not arrive, because the exit check of the control that
  // had it kept it there, the press and its release are dropped: the click
  // does not act past a refused entry.
  static bool FocusForPress(TControl* control, QObject* obj, QMouseEvent* me) {
    auto* target = dynamic_cast<TWinControl*>(control);
    if (me->button() != Qt::LeftButton || !target || !target->TabStop() ||
        !(static_cast<QWidget*>(obj)->focusPolicy() & Qt::ClickFocus) || !target->CanFocus())
      return true;
    TCustomForm* form = GetParentForm(target);
    if (!form || form == target || form->ActiveControl() == target) return true;
    if (!me->spontaneous()) target->SetFocus();
    return IsLiveComponent(target) && !target->Disposed() && form->ActiveControl() == target;
  }

  bool Mouse(QObject* obj, QMouseEvent* me) {
    quint64 stamp = me->timestamp();
    if (SameEvent(g_lastMouse, me, stamp)) return false;
    g_lastMouse = {me, me->type(), stamp};
    TControl* control = FindControl(obj);
    if (!control || control->Disposed() || !control->HandleAllocated()) return false;
    QPointer<QObject> guard(obj);
    QPoint p = control->Handle()->mapFromGlobal(me->globalPosition().toPoint());
    TShiftState shift = MouseShift(me);
    switch (me->type()) {
      case QEvent::MouseButtonPress:
        if (!FocusForPress(control, obj, me)) {
          droppedPress_ = obj;
          return true;
        }
        control->MouseDown(ButtonOf(me->button()), shift, p.x(), p.y());
        if (!IsLiveComponent(control) || control->Disposed()) return true;
        if (!control->AcceptMousePress(ButtonOf(me->button()), p.x(), p.y())) return true;
        if (me->button() == Qt::RightButton && control->PopupMenu() && IsLiveComponent(control)) {
          control->PopupMenu()->SetPopupComponent(control);
          QPoint g = me->globalPosition().toPoint();
          control->PopupMenu()->Popup(g.x(), g.y());
          return true;
        }
        break;
      case QEvent::MouseButtonRelease:
        if (droppedPress_ == obj) {
          droppedPress_ = nullptr;
          return true;
        }
        control->MouseUp(ButtonOf(me->button()), shift, p.x(), p.y());
        break;
      case QEvent::MouseButtonDblClick:
        control->DblClick();
        break;
      default:
        control->MouseMove(shift, p.x(), p.y());
        break;
    }
    return false;
  }

  bool ToolTip(QObject* obj, QEvent* e) {
    TControl* control = FindControl(obj);
    if (!control || control->Disposed()) return false;
    auto* he = static_cast<QHelpEvent*>(e);
    std::string hint = GetShortHint(control->Hint());
    if (!Application->ShowHint() || !control->ShowHint() || hint.empty()) {
      QToolTip::hideText();
      e->ignore();
      return true;
    }
    QToolTip::setFont(Screen->HintFont()->ToQFont());
    QToolTip::showText(he->globalPos(), DecodeText(hint, Screen->HintFont()->CodePage()),
                       static_cast<QWidget*>(obj), QRect(), Application->HintHidePause());
    return true;
  }

  bool Close(QObject* obj, QEvent* e) {
    TCustomForm* form = FormOfWindow(obj);
    if (!form || form->Disposed()) return false;
    e->ignore();
    form->WindowCloseRequested();
    return true;
  }

  void TopLevel(QObject* obj, QEvent* e) {
    TCustomForm* form = FormOfWindow(obj);
    if (!form || form->Disposed()) return;
    auto* w = static_cast<QWidget*>(obj);
    switch (e->type()) {
      case QEvent::Resize:
        form->WindowResized(w->width(), w->height());
        break;
      case QEvent::Move:
        form->WindowMoved(w->x(), w->y());
        break;
      case QEvent::WindowActivate:
        form->WindowActivated(true);
        break;
      case QEvent::WindowDeactivate:
        form->WindowActivated(false);
        break;
      default:
        break;
    }
  }
};

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct MessageEvent : QEvent {
  MessageEvent(TControl* t, TMessage m) : QEvent(kMessageEvent), target(t), message(m) {}
  TControl* target;
  TMessage message;
};

class MessagePump : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != kMessageEvent) return QObject::event(e);
    auto* me = static_cast<MessageEvent*>(e);
    if (IsLiveComponent(me->target) && !me->target->Disposed()) me->target->WndProc(me->message);
    return true;
  }
};

}  // namespace

void EnsureRouting() {
  static Router* router = nullptr;
  if (!router && QCoreApplication::instance()) {
    router = new Router;
    QCoreApplication::instance()->installEventFilter(router);
  }
}

QObject* Pump() {
  static MessagePump* pump = nullptr;
  if (!pump) pump = new MessagePump;
  return pump;
}

void RegisterWidget(const QObject* widget, TControl* control) { Registry()[widget] = control; }
void UnregisterWidget(const QObject* widget) { Registry().erase(widget); }
TControl* RegisteredControl(const QObject* widget) {
  auto it = Registry().find(widget);
  return it == Registry().end() ? nullptr : it->second;
}

QuietScope::QuietScope() { ++g_quiet; }
QuietScope::~QuietScope() { --g_quiet; }
bool Quiet() { return g_quiet > 0; }

bool RouteKey(TWinControl* control, QKeyEvent* ke) {
  QPointer<QObject> alive(control->Handle());
  TCustomForm* form = GetParentForm(control);
  Word key = KeyFromQt(ke->key());
  TShiftState shift = ShiftFromQt(static_cast<int>(ke->modifiers()));
  if (ke->type() == QEvent::KeyRelease) {
    if (key == 0) return false;
    if (form && form != control && form->KeyPreview()) {
      form->KeyUp(key, shift);
      if (key == 0) return true;
    }
    if (!IsLiveComponent(control) || control->Disposed()) return true;
    control->KeyUp(key, shift);
    return key == 0;
  }
  if (key != 0) {
    if (form && form != control && form->KeyPreview()) {
      form->KeyDown(key, shift);
      if (key == 0) return true;
      if (!IsLiveComponent(control) || control->Disposed()) return true;
    }
    control->KeyDown(key, shift);
    if (key == 0) return true;
    if (!IsLiveComponent(control) || control->Disposed()) return true;
    // Dialog keys: moving between controls, default and cancel buttons.
    if (form && !control->WantsKey(key, shift)) {
      if (key == VK_TAB && !(shift & (ssCtrl | ssAlt))) {
        form->SelectNext(form->ActiveControl(), !(shift & ssShift), true);
        return true;
      }
      if (key == VK_RETURN && shift == 0) {
        // The focused button takes Enter itself; elsewhere the default one.
        TButton* b = dynamic_cast<TButton*>(control);
        if (!b && !dynamic_cast<TButtonControl*>(control)) b = form->DefaultButton();
        if (b) {
          b->Click();
          return true;
        }
      }
      if (key == VK_ESCAPE && shift == 0) {
        if (TButton* b = form->CancelButton()) {
          b->Click();
          return true;
        }
      }
    }
  }
  // Alt+letter: the accelerators of the form's own controls (buttons with
  // a Qt widget answer theirs through Qt).
  if (form && (shift & ssAlt) && !(shift & ssCtrl) && key != 0 &&
      ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    std::vector<TControl*> all;
    std::vector<TWinControl*> stack{form};
    while (!stack.empty()) {
      TWinControl* w = stack.back();
      stack.pop_back();
      for (int i = w->ControlCount() - 1; i >= 0; --i) {
        TControl* c = w->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        all.push_back(c);
        if (auto* cw = dynamic_cast<TWinControl*>(c)) stack.push_back(cw);
      }
    }
    for (TControl* c : all)
      if (IsLiveComponent(c) && c->DialogChar(static_cast<char>(key))) return true;
  }
  char ch = CharOfKeyEvent(ke);
  if (ch == 0 || (shift & (ssCtrl | ssAlt)) != 0) return false;
  char original = ch;
  if (form && form != control && form->KeyPreview()) {
    form->KeyPress(ch);
    if (ch == 0) return true;
    if (!IsLiveComponent(control) || control->Disposed()) return true;
  }
  control->KeyPress(ch);
  if (ch == 0) return true;
  if (ch != original) {
    control->InsertTypedChar(ch);
    return true;
  }
  return !alive;
}

}  // namespace internal

// ---------------------------------------------------------------------------
// Messages.

bool PostMessage(TControl* target, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!target) return false;
  QCoreApplication::postEvent(internal::Pump(),
                              new internal::MessageEvent(target, TMessage{msg, wParam, lParam, 0}));
  return true;
}

LRESULT SendMessage(TControl* target, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!target) return 0;
  return target->Perform(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Keys.

namespace {
struct KeyPair {
  Word vk;
  int qt;
};
const KeyPair kKeys[] = {
    {VK_BACK, Qt::Key_Backspace},   {VK_TAB, Qt::Key_Tab},        {VK_TAB, Qt::Key_Backtab},
    {VK_RETURN, Qt::Key_Return},    {VK_RETURN, Qt::Key_Enter},   {VK_SHIFT, Qt::Key_Shift},
    {VK_CONTROL, Qt::Key_Control},  {VK_MENU, Qt::Key_Alt},       {VK_PAUSE, Qt::Key_Pause},
    {VK_CAPITAL, Qt::Key_CapsLock}, {VK_ESCAPE, Qt::Key_Escape},  {VK_SPACE, Qt::Key_Space},
    {VK_PRIOR, Qt::Key_PageUp},     {VK_NEXT, Qt::Key_PageDown},  {VK_END, Qt::Key_End},
    {VK_HOME, Qt::Key_Home},        {VK_LEFT, Qt::Key_Left},      {VK_UP, Qt::Key_Up},
    {VK_RIGHT, Qt::Key_Right},      {VK_DOWN, Qt::Key_Down},      {VK_INSERT, Qt::Key_Insert},
    {VK_DELETE, Qt::Key_Delete},    {0xBA, Qt::Key_Semicolon},    {0xBB, Qt::Key_Equal},
    {0xBC, Qt::Key_Comma},          {0xBD, Qt::Key_Minus},        {0xBE, Qt::Key_Period},
    {0xBF, Qt::Key_Slash},          {0xC0, Qt::Key_QuoteLeft},    {0xDB, Qt::Key_BracketLeft},
    {0xDC, Qt::Key_Backslash},      {0xDD, Qt::Key_BracketRight}, {0xDE, Qt::Key_Apostrophe},
    {0xBB, Qt::Key_Plus},
};

char CharOfKey(Word key, TShiftState shift) {
  if (key >= 'A' && key <= 'Z') return static_cast<char>((shift & ssShift) ? key : key + 32);
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  switch (key) {
    case VK_RETURN:
      return 13;
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    case VK_SPACE:
      return ' ';
    case 0xBA:
      return ';';
    case 0xBB:
      return (shift & ssShift) ? '+' : '=';
    case 0xBC:
      return ',';
    case 0xBD:
      return (shift & ssShift) ? '_' : '-';
    case 0xBE:
      return '.';
    case 0xBF:
      return '/';
    case 0xC0:
      return '`';
    case 0xDB:
      return '[';
    case 0xDC:
      return '\\';
    case 0xDD:
      return ']';
    case 0xDE:
      return '\'';
    default:
      return 0;
  }
}

Qt::KeyboardModifiers ModifiersOf(TShiftState shift) {
  Qt::KeyboardModifiers m;
  if (shift & ssShift) m |= Qt::ShiftModifier;
  if (shift & ssCtrl) m |= Qt::ControlModifier;
  if (shift & ssAlt) m |= Qt::AltModifier;
  return m;
}

// Made-up events get their own time stamps, so that the routing can tell a
// new event from one that propagates to a parent.
quint64 NextStamp() {
  static quint64 stamp = 1;
  return ++stamp;
}

void SendKey(QWidget* target, int qtKey, Qt::KeyboardModifiers mods, const QString& text) {
  QPointer<QWidget> guard(target);
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  press.setTimestamp(NextStamp());
  QApplication::sendEvent(target, &press);
  if (!guard) return;
  QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
  release.setTimestamp(NextStamp());
  QApplication::sendEvent(target, &release);
}
}  // namespace

Word KeyFromQt(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<Word>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<Word>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return static_cast<Word>(VK_F1 + (qtKey - Qt::Key_F1));
  for (const KeyPair& k : kKeys)
    if (k.qt == qtKey) return k.vk;
  return 0;
}

int KeyToQt(Word key) {
  if (key >= 'A' && key <= 'Z') return Qt::Key_A + (key - 'A');
  if (key >= '0' && key <= '9') return Qt::Key_0 + (key - '0');
  if (key >= VK_F1 && key <= VK_F12) return Qt::Key_F1 + (key - VK_F1);
  for (const KeyPair& k : kKeys)
    if (k.vk == key) return k.qt;
  return 0;
}

TShiftState ShiftFromQt(int modifiers) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  return s;
}

void SimulateKey(TControl* control, Word key, TShiftState shift) {
  if (!control || control->Disposed()) return;
  QWidget* target = control->FocusWidget();
  if (!target) return;
  int qtKey = KeyToQt(key);
  if (key == VK_TAB && (shift & ssShift)) qtKey = Qt::Key_Backtab;
  char ch = (shift & (ssCtrl | ssAlt)) ? 0 : CharOfKey(key, shift);
  QString text =
      ch ? QString(QChar(static_cast<ushort>(static_cast<unsigned char>(ch)))) : QString();
  SendKey(target, qtKey, ModifiersOf(shift), text);
}

void SimulateText(TControl* control, const std::string& text) {
  for (char c : text) {
    if (!control || control->Disposed()) return;
    QWidget* target = control->FocusWidget();
    if (!target) return;
    int qtKey = 0;
    Qt::KeyboardModifiers mods;
    if (c >= 'a' && c <= 'z') {
      qtKey = Qt::Key_A + (c - 'a');
    } else if (c >= 'A' && c <= 'Z') {
      qtKey = Qt::Key_A + (c - 'A');
      mods = Qt::ShiftModifier;
    } else if (c >= '0' && c <= '9') {
      qtKey = Qt::Key_0 + (c - '0');
    } else {
      qtKey = static_cast<unsigned char>(c) < 0x80 ? QChar(static_cast<ushort>(c)).unicode() : 0;
    }
    SendKey(target, qtKey, mods,
            QString(QChar(static_cast<ushort>(static_cast<unsigned char>(c)))));
  }
}

void SimulateClick(TControl* control, int x, int y) {
  if (!control || control->Disposed()) return;
  QWidget* w = control->Handle();
  if (x < 0 || y < 0) {
    // Check boxes and radio buttons take clicks on their indicator, at the left.
    x = qobject_cast<QAbstractButton*>(w) && !qobject_cast<QPushButton*>(w)
            ? std::min(8, w->width() / 2)
            : w->width() / 2;
    y = w->height() / 2;
  }
  QWidget* target = w->childAt(x, y);
  QPoint local(x, y);
  if (target) {
    local = target->mapFrom(w, QPoint(x, y));
  } else {
    target = w;
  }
  QPointer<QWidget> guard(target);
  QPointF lp(local), gp(target->mapToGlobal(local));
  QMouseEvent press(QEvent::MouseButtonPress, lp, gp, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  press.setTimestamp(NextStamp());
  QApplication::sendEvent(target, &press);
  if (!guard) return;
  QMouseEvent release(QEvent::MouseButtonRelease, lp, gp, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  release.setTimestamp(NextStamp());
  QApplication::sendEvent(target, &release);
}

// ---------------------------------------------------------------------------
// Free functions.

TControl* FindControl(const QObject* widget) {
  for (const QObject* o = widget; o; o = o->parent()) {
    if (TControl* c = internal::RegisteredControl(o)) return c;
    if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow() &&
        !internal::RegisteredControl(o))
      continue;
  }
  return nullptr;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

std::string GetShortHint(const std::string& hint) {
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string GetLongHint(const std::string& hint) {
  size_t bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

// ---------------------------------------------------------------------------
// TControl.

namespace {
const TEnumInfo kAlignInfo{"TAlign",
                           {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};

const std::vector<std::pair<std::string, int64_t>>& CursorNames() {
  static const std::vector<std::pair<std::string, int64_t>> names = {
      {"crDefault", crDefault},     {"crNone", crNone},           {"crArrow", crArrow},
      {"crCross", crCross},         {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
      {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},   {"crSizeWE", crSizeWE},
      {"crUpArrow", crUpArrow},     {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
      {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},       {"crVSplit", crVSplit},
      {"crMultiDrag", crMultiDrag}, {"crSQLWait", crSQLWait},     {"crNo", crNo},
      {"crAppStart", crAppStart},   {"crHelp", crHelp},           {"crHandPoint", crHandPoint},
      {"crSizeAll", crSizeAll},
  };
  return names;
}
const bool kCursorIdents = [] {
  RegisterIntegerIdents("TCursor", CursorNames());
  return true;
}();

Qt::CursorShape QtCursor(TCursor c) {
  switch (c) {
    case crCross:
      return Qt::CrossCursor;
    case crIBeam:
      return Qt::IBeamCursor;
    case crSizeNESW:
      return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
      return Qt::SizeVerCursor;
    case crSizeNWSE:
      return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
      return Qt::SizeHorCursor;
    case crUpArrow:
      return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
      return Qt::WaitCursor;
    case crNoDrop:
    case crNo:
      return Qt::ForbiddenCursor;
    case crAppStart:
      return Qt::BusyCursor;
    case crHelp:
      return Qt::WhatsThisCursor;
    case crHandPoint:
      return Qt::PointingHandCursor;
    case crSizeAll:
      return Qt::SizeAllCursor;
    case crNone:
      return Qt::BlankCursor;
    default:
      return Qt::ArrowCursor;
  }
}
}  // namespace

struct TControl::WidgetHolder {
  QPointer<QWidget> widget;
};

const TClassInfo* TControl::StaticClassInfo() {
  using P = PropBuilder<TControl>;
  (void)kCursorIdents;
  static const TClassInfo info(
      "TControl", TComponent::StaticClassInfo(),
      {
          P::Enum<&TControl::Align, &TControl::SetAlign>("Align", &kAlignInfo),
          P::Integer<&TControl::Color, &TControl::SetColor>("Color", "TColor"),
          P::Integer<&TControl::Cursor, &TControl::SetCursor>("Cursor", "TCursor"),
          P::Bool<&TControl::Enabled, &TControl::SetEnabled>("Enabled"),
          P::Object<&TControl::Font, &TControl::SetFont>("Font", "TFont"),
          P::Integer<&TControl::Height, &TControl::SetHeight>("Height"),
          P::String<&TControl::Hint, &TControl::SetHint>("Hint"),
          P::Integer<&TControl::Left, &TControl::SetLeft>("Left"),
          P::Bool<&TControl::ParentColor, &TControl::SetParentColor>("ParentColor"),
          P::Bool<&TControl::ParentFont, &TControl::SetParentFont>("ParentFont"),
          P::Bool<&TControl::ParentShowHint, &TControl::SetParentShowHint>("ParentShowHint"),
          P::Object<&TControl::PopupMenu, &TControl::SetPopupMenu>("PopupMenu", "TPopupMenu"),
          P::Bool<&TControl::ShowHint, &TControl::SetShowHint>("ShowHint"),
          P::Integer<&TControl::Top, &TControl::SetTop>("Top"),
          P::Bool<&TControl::Visible, &TControl::SetVisible>("Visible"),
          P::Integer<&TControl::Width, &TControl::SetWidth>("Width"),
          P::Event<&TControl::OnClick>("OnClick"),
          P::Event<&TControl::OnDblClick>("OnDblClick"),
          P::Event<&TControl::OnMouseDown>("OnMouseDown", "TMouseEvent"),
          P::Event<&TControl::OnMouseMove>("OnMouseMove", "TMouseMoveEvent"),
          P::Event<&TControl::OnMouseUp>("OnMouseUp", "TMouseEvent"),
      });
  return &info;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner),
      font_(std::make_unique<TFont>()),
      holder_(std::make_unique<WidgetHolder>()) {
  font_->SetChangeHook([this] { FontChangedInternal(); });
}

TControl::~TControl() {
  // A plain delete: let go of the widget without running handlers.
  if (!Disposed()) {
    internal::QuietScope quiet;
    if (parent_) parent_->RemoveControl(this);
    DestroyWidget();
  }
}

QWidget* TControl::Widget() const { return holder_ ? holder_->widget.data() : nullptr; }

bool TControl::HandleAllocated() const { return Widget() != nullptr; }

QWidget* TControl::Handle() {
  if (!Widget() && !Disposed()) {
    QWidget* parentWidget = nullptr;
    if (parent_) parentWidget = parent_->ClientWidget();
    CreateWidgetNow(parentWidget);
  }
  return Widget();
}

QWidget* TControl::FocusWidget() { return Handle(); }

void TControl::CreateWidgetNow(QWidget* parentWidget) {
  if (Widget() || Disposed()) return;
  internal::EnsureRouting();
  QWidget* w = CreateWidget(parentWidget);
  holder_->widget = w;
  internal::RegisterWidget(w, this);
  QObject::connect(w, &QObject::destroyed, [w] { internal::UnregisterWidget(w); });
  internal::QuietScope quiet;
  InitWidget();
}

QWidget* TControl::CreateWidget(QWidget* parentWidget) { return new QWidget(parentWidget); }

void TControl::InitWidget() {
  QWidget* w = Widget();
  w->setFont(font_->ToQFont());
  w->setEnabled(enabled_);
  w->setCursor(QtCursor(cursor_));
  ApplyGeometry();
  TextChanged();
  ColorChanged();
  if (parent_) w->setVisible(visible_);
}

void TControl::DestroyWidget() {
  QWidget* w = Widget();
  if (!w) return;
  holder_->widget = nullptr;
  internal::UnregisterWidget(w);
  internal::QuietScope quiet;
  w->hide();
  delete w;
}

void TControl::GetWidgetGeometry(int& x, int& y, int& w, int& h) const {
  x = left_;
  y = top_;
  w = width_;
  h = height_;
}

void TControl::ApplyGeometry() {
  QWidget* wdg = Widget();
  if (!wdg) return;
  int x, y, w, h;
  GetWidgetGeometry(x, y, w, h);
  internal::QuietScope quiet;
  if (wdg->isWindow()) {
    wdg->move(x, y);
    wdg->resize(std::max(0, w), std::max(0, h));
  } else {
    wdg->setGeometry(x, y, std::max(0, w), std::max(0, h));
  }
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
  QWidget* w = Widget();
  if (parent_ && parent_->HandleAllocated()) {
    if (w) {
      internal::QuietScope quiet;
      w->setParent(parent_->ClientWidget());
      ApplyGeometry();
      w->setVisible(visible_);
    } else {
      Handle();
    }
  } else if (w) {
    internal::QuietScope quiet;
    w->hide();
    w->setParent(nullptr);
  }
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
  if (resized) Resize();
  if (parent_ && align_ != alNone && !parent_->aligning_) parent_->Realign();
}

void TControl::Resize() { OnResize(this); }

void TControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  VisibleChanged();
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::VisibleChanged() {
  if (QWidget* w = Widget()) {
    if (!w->isWindow()) w->setVisible(visible_);
  }
}

bool TControl::Showing() const {
  if (!visible_) return false;
  return parent_ ? parent_->Showing() : false;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
}

void TControl::EnabledChanged() {
  if (QWidget* w = Widget()) w->setEnabled(enabled_);
}

void TControl::SetText(const std::string& text) {
  if (text == GetText()) return;
  SetTextInternal(text);
}

void TControl::SetTextInternal(const std::string& text) {
  text_ = text;
  TextChanged();
}

void TControl::TextChanged() {}

void TControl::SetHint(const std::string& hint) { hint_ = hint; }

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool on) {
  showHint_ = on;
  parentShowHint_ = false;
}

void TControl::SetParentFont(bool on) {
  parentFont_ = on;
  if (on) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  settingParentFont_ = true;
  font_->Assign(parent_->Font());
  settingParentFont_ = false;
}

void TControl::FontChangedInternal() {
  if (!settingParentFont_) parentFont_ = false;
  FontChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : self->controls_) c->ParentFontChanged();
  }
}

void TControl::FontChanged() {
  if (QWidget* w = Widget()) {
    internal::QuietScope quiet;
    w->setFont(font_->ToQFont());
    TextChanged();
  }
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  parentColor_ = false;
  ColorChanged();
  if (auto* self = dynamic_cast<TWinControl*>(this))
    for (TControl* c : self->controls_) c->ParentColorChanged();
}

void TControl::SetParentColor(bool on) {
  parentColor_ = on;
  if (on) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->Color();
  ColorChanged();
}

void TControl::ColorChanged() {
  QWidget* w = Widget();
  if (!w) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(color_));
  pal.setColor(QPalette::Base, ToQColor(color_));
  pal.setColor(QPalette::WindowText, ToQColor(font_->Color()));
  pal.setColor(QPalette::Text, ToQColor(font_->Color()));
  // A disabled control shows its texts in the grey-text colour, whatever
  // its font's colour.
  pal.setColor(QPalette::Disabled, QPalette::WindowText, ToQColor(clGrayText));
  pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(clGrayText));
  w->setPalette(pal);
}

void TControl::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (QWidget* w = Widget()) w->setCursor(QtCursor(cursor));
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (popupMenu_ == menu) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

QString TControl::QtText(const std::string& bytes) const {
  return DecodeText(bytes, font_->CodePage());
}

std::string TControl::FromQtText(const QString& text) const {
  return EncodeText(text, font_->CodePage());
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (Disposed()) return;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      mousePressed_ = true;
      MouseDown(mbLeft, ssLeft, LParamX(m.LParam), LParamY(m.LParam));
      break;
    case WM_LBUTTONUP: {
      bool wasPressed = mousePressed_;
      MouseUp(mbLeft, 0, LParamX(m.LParam), LParamY(m.LParam));
      // A press and release sent from code click a button control as they
      // would on the platform (its widget is not involved).
      if (wasPressed && !ClickOnMouseUp() && IsLiveComponent(this) && !Disposed() && enabled_)
        MessageClick();
      break;
    }
    case WM_LBUTTONDBLCLK:
      DblClick();
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, ssRight, LParamX(m.LParam), LParamY(m.LParam));
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, 0, LParamX(m.LParam), LParamY(m.LParam));
      break;
    default:
      break;
  }
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) mousePressed_ = true;
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  bool click = button == mbLeft && mousePressed_ && ClickOnMouseUp() && enabled_;
  if (button == mbLeft) mousePressed_ = false;
  OnMouseUp(this, button, shift, x, y);
  if (click && IsLiveComponent(this) && !Disposed() && x >= 0 && y >= 0 && x < width_ &&
      y < height_)
    Click();
}

void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

bool TControl::DialogChar(char) { return false; }

bool IsAccel(char key, const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return std::toupper(static_cast<unsigned char>(caption[i + 1])) ==
           std::toupper(static_cast<unsigned char>(key));
  }
  return false;
}

void TControl::BringToFront() {
  if (parent_) {
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.push_back(this);
  }
  if (QWidget* w = Widget()) w->raise();
}

void TControl::SendToBack() {
  if (parent_) {
    auto& list = parent_->controls_;
    std::erase(list, this);
    list.insert(list.begin(), this);
  }
  if (QWidget* w = Widget()) w->lower();
}

void TControl::Invalidate() {
  if (QWidget* w = Widget()) w->update();
}

void TControl::Repaint() {
  if (QWidget* w = Widget()) w->repaint();
}

void TControl::Update() {
  if (QWidget* w = Widget()) w->update();
}

void TControl::DoDispose() {
  internal::QuietScope quiet;
  if (TCustomForm* form = GetParentForm(this))
    if (form != this) form->ControlGone(this);
  if (parent_) parent_->RemoveControl(this);
  DestroyWidget();
  TComponent::DoDispose();
}

// ---------------------------------------------------------------------------
// TWinControl.

const TClassInfo* TWinControl::StaticClassInfo() {
  using P = PropBuilder<TWinControl>;
  static const TClassInfo info(
      "TWinControl", TControl::StaticClassInfo(),
      {
          P::Integer<&TWinControl::TabOrder, &TWinControl::SetTabOrder>("TabOrder", "TTabOrder"),
          P::Bool<&TWinControl::TabStop, &TWinControl::SetTabStop>("TabStop"),
          P::Event<&TWinControl::OnEnter>("OnEnter"),
          P::Event<&TWinControl::OnExit>("OnExit"),
          P::Event<&TWinControl::OnKeyDown>("OnKeyDown", "TKeyEvent"),
          P::Event<&TWinControl::OnKeyPress>("OnKeyPress", "TKeyPressEvent"),
          P::Event<&TWinControl::OnKeyUp>("OnKeyUp", "TKeyEvent"),
      });
  return &info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  if (!Disposed()) {
    internal::QuietScope quiet;
    for (TControl* c : std::vector<TControl*>(controls_)) c->parent_ = nullptr;
    controls_.clear();
    tabList_.clear();
  }
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount())
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
  ControlsChanged();
}

void TWinControl::RemoveControl(TControl* control) {
  std::erase(controls_, control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) std::erase(tabList_, w);
  control->parent_ = nullptr;
  if (!Disposed()) {
    ControlsChanged();
    if (control->Align() != alNone) Realign();
  }
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  std::erase(list, this);
  if (order < 0 || order >= static_cast<int>(list.size()))
    list.push_back(this);
  else
    list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
  if (next) next->SetFocus();
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form || !form->Visible() || !form->Enabled()) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  TCustomForm* form = GetParentForm(this);
  return form && form != this && form->ActiveControl() == this;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  form->FocusControl(this);
}

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0 && --alignDisabled_ == 0) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_ || Disposed()) return;
  TRect rect = ClientRect();
  AdjustClientRect(rect);
  aligning_ = true;
  AlignControls(rect);
  aligning_ = false;
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::AlignControls(TRect& rect) {
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    // Same-side controls keep their order by position, as on the platform.
    auto pos = [kind](TControl* c) {
      switch (kind) {
        case alTop:
          return c->Top();
        case alBottom:
          return -(c->Top() + c->Height());
        case alLeft:
          return c->Left();
        case alRight:
          return -(c->Left() + c->Width());
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](TControl* a, TControl* b) { return pos(a) < pos(b); });
    for (TControl* c : list) {
      int w = c->Width(), h = c->Height();
      switch (kind) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
          rect.Top += h;
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
          rect.Bottom -= h;
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, w, rect.Height());
          rect.Left += w;
          break;
        case alRight:
          c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
          rect.Right -= w;
          break;
        case alClient:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
          break;
        default:
          break;
      }
    }
  }
}

void TWinControl::Resize() {
  Realign();
  TControl::Resize();
}

void TWinControl::EnabledChanged() { TControl::EnabledChanged(); }

QWidget* TWinControl::ClientWidget() { return Handle(); }

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = GetText();
  params.X = Left();
  params.Y = Top();
  params.Width = Width();
  params.Height = Height();
}

void TWinControl::InitWidget() {
  TControl::InitWidget();
  Widget()->setFocusPolicy(Qt::StrongFocus);
  // Children get their widgets with the parent's.
  QWidget* client = ClientWidget();
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (!c->HandleAllocated())
      c->CreateWidgetNow(client);
    else if (c->Widget()->parentWidget() != client) {
      c->Widget()->setParent(client);
      c->ApplyGeometry();
      c->Widget()->setVisible(c->Visible());
    }
  }
}

void TWinControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  QWidget* old = Widget();
  QWidget* parentWidget = old->parentWidget();
  bool wasVisible = old->isVisible();
  {
    internal::QuietScope quiet;
    // Children keep their own widgets: lift them out first.
    for (TControl* c : controls_)
      if (c->HandleAllocated()) c->Widget()->setParent(nullptr);
  }
  DestroyWidget();
  CreateWidgetNow(parentWidget);
  if (wasVisible) Widget()->setVisible(true);
}

void TWinControl::KeyDown(Word& key, TShiftState shift) { OnKeyDown(this, key, shift); }
void TWinControl::KeyUp(Word& key, TShiftState shift) { OnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { OnKeyPress(this, key); }

bool TWinControl::WantsKey(Word, TShiftState) const { return false; }
void TWinControl::InsertTypedChar(char) {}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

void TWinControl::DoDispose() {
  internal::QuietScope quiet;
  // Controls inside go with their parent, as on the platform.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    if (IsLiveComponent(c)) c->Free();
  }
  TControl::DoDispose();
}

// ---------------------------------------------------------------------------
// Painted controls.

namespace {
template <class Owner>
class PaintWidget : public QWidget {
 public:
  PaintWidget(Owner* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!IsLiveComponent(owner_) || owner_->Disposed()) return;
    QPainter p(this);
    owner_->PaintWith(&p);
  }

 private:
  Owner* owner_;
};
}  // namespace

const TClassInfo* TGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TGraphicControl", TControl::StaticClassInfo());
  return &info;
}

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

QWidget* TGraphicControl::CreateWidget(QWidget* parentWidget) {
  return new PaintWidget<TGraphicControl>(this, parentWidget);
}

void TGraphicControl::PaintWith(QPainter* painter) {
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  canvas_->BeginPaint(painter);
  Paint();
  canvas_->EndPaint();
}

const TClassInfo* TCustomControl::StaticClassInfo() {
  static const TClassInfo info("TCustomControl", TWinControl::StaticClassInfo());
  return &info;
}

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}
TCustomControl::~TCustomControl() = default;

QWidget* TCustomControl::CreateWidget(QWidget* parentWidget) {
  return new PaintWidget<TCustomControl>(this, parentWidget);
}

void TCustomControl::PaintWith(QPainter* painter) {
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  canvas_->BeginPaint(painter);
  Paint();
  canvas_->EndPaint();
}

}  // namespace vcl

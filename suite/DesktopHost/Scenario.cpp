#include "suite/DesktopHost/Scenario.h"

#include <QCoreApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/TypInfo.h"
#include "suite/DesktopHost/MainWindow.h"
#include "suite/DesktopHost/Screenshot.h"

namespace DesktopHost {

using platform::Variant;

namespace {

// A line that cannot be carried out; the text is UTF-8.
struct LineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

const char* const kDialogTypeNames[] = {"Warning", "Error", "Information", "Confirmation",
                                        "Custom"};

const char* const kButtonNames[] = {"Yes",    "No",  "OK",      "Cancel",   "Abort", "Retry",
                                    "Ignore", "All", "NoToAll", "YesToAll", "Help"};

bool IsButtonName(const std::string& name) {
  return std::any_of(std::begin(kButtonNames), std::end(kButtonNames),
                     [&](const char* b) { return platform::SameText(b, name); });
}

// Splits a line into arguments; false for an unclosed quote.
bool Tokenize(const std::string& line, std::vector<std::string>& out) {
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '#') break;
    std::string token;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char d = line[i++];
        if (d == '"') {
          closed = true;
          break;
        }
        if (d == '\\' && i < line.size()) {
          const char e = line[i++];
          d = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
        }
        token += d;
      }
      if (!closed) return false;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
        token += line[i++];
    }
    out.push_back(std::move(token));
  }
  return true;
}

std::string MessageUtf8(const std::exception& e) { return ToUtf8(ErrorText(e)); }

vcl::TComponent* FindPart(vcl::TObject* object, const std::string& name) {
  if (auto* component = dynamic_cast<vcl::TComponent*>(object)) {
    if (vcl::TComponent* owned = component->FindComponent(name)) return owned;
  }
  if (auto* control = dynamic_cast<vcl::TWinControl*>(object)) {
    for (int i = 0; i < control->ControlCount(); ++i) {
      vcl::TControl* child = control->Controls(i);
      if (platform::SameText(child->Name(), name)) return child;
      if (vcl::TComponent* inner = FindPart(child, name)) return inner;
    }
  }
  if (object && vcl::IsPublishedProp(object, name) &&
      vcl::PropType(object, name) == vcl::TTypeKind::tkClass)
    return dynamic_cast<vcl::TComponent*>(vcl::GetObjectProp(object, name));
  return nullptr;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t dot = path.find('.', start);
    parts.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  for (const std::string& part : parts)
    if (part.empty()) throw LineError("bad path \"" + path + "\"");
  return parts;
}

int ParamCountOption(const std::string& arg) {
  const auto n = platform::TryStrToInt(arg.substr(7));
  if (!n || *n < 0 || *n > 5) throw LineError("params= takes 0 to 5");
  return *n;
}

}  // namespace

// --- Keys and paths ------------------------------------------------------------

bool ParseKey(const std::string& text, vcl::Word& key, vcl::TShiftState& shift) {
  struct Named {
    const char* name;
    vcl::Word key;
  };
  static const Named kNames[] = {
      {"Enter", vcl::VK_RETURN},   {"Return", vcl::VK_RETURN}, {"Esc", vcl::VK_ESCAPE},
      {"Escape", vcl::VK_ESCAPE},  {"Tab", vcl::VK_TAB},       {"Space", vcl::VK_SPACE},
      {"Backspace", vcl::VK_BACK}, {"Delete", vcl::VK_DELETE}, {"Del", vcl::VK_DELETE},
      {"Insert", vcl::VK_INSERT},  {"Home", vcl::VK_HOME},     {"End", vcl::VK_END},
      {"PageUp", vcl::VK_PRIOR},   {"PgUp", vcl::VK_PRIOR},    {"PageDown", vcl::VK_NEXT},
      {"PgDn", vcl::VK_NEXT},      {"Up", vcl::VK_UP},         {"Down", vcl::VK_DOWN},
      {"Left", vcl::VK_LEFT},      {"Right", vcl::VK_RIGHT},
  };
  shift = 0;
  key = 0;
  std::string rest = text;
  while (true) {
    const size_t plus = rest.find('+', 1);
    if (plus == std::string::npos) break;
    const std::string modifier = rest.substr(0, plus);
    if (platform::SameText(modifier, "Ctrl") || platform::SameText(modifier, "Control"))
      shift |= vcl::ssCtrl;
    else if (platform::SameText(modifier, "Shift"))
      shift |= vcl::ssShift;
    else if (platform::SameText(modifier, "Alt"))
      shift |= vcl::ssAlt;
    else
      return false;
    rest = rest.substr(plus + 1);
  }
  if (rest.size() == 1) {
    const char c = rest[0];
    if (c >= 'a' && c <= 'z') key = static_cast<vcl::Word>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) key = static_cast<vcl::Word>(c);
    return key != 0;
  }
  if (rest.size() >= 2 && (rest[0] == 'F' || rest[0] == 'f')) {
    const auto n = platform::TryStrToInt(rest.substr(1));
    if (n && *n >= 1 && *n <= 12) {
      key = static_cast<vcl::Word>(vcl::VK_F1 + *n - 1);
      return true;
    }
  }
  for (const Named& named : kNames) {
    if (platform::SameText(named.name, rest)) {
      key = named.key;
      return true;
    }
  }
  return false;
}

vcl::TObject* ResolvePath(vcl::TComponent* form, const std::string& path, std::string& last) {
  std::vector<std::string> parts = SplitPath(path);
  last = parts.back();
  parts.pop_back();
  vcl::TObject* object = form;
  for (const std::string& part : parts) {
    vcl::TComponent* next = FindPart(object, part);
    if (!next) throw LineError("no component \"" + ToUtf8(part) + "\" in \"" + ToUtf8(path) + "\"");
    object = next;
  }
  return object;
}

vcl::TComponent* ResolveComponent(vcl::TComponent* form, const std::string& path) {
  std::string last;
  vcl::TObject* owner = ResolvePath(form, path, last);
  vcl::TComponent* component = FindPart(owner, last);
  if (!component) throw LineError("no component \"" + ToUtf8(path) + "\"");
  return component;
}

// --- The runner ----------------------------------------------------------------

TScenario::TScenario(TDesktop& desktop, TfrmDesktop* mainWindow, bool modalByDefault)
    : desktop_(desktop), mainWindow_(mainWindow), modalByDefault_(modalByDefault) {}

TScenario::~TScenario() = default;

bool TScenario::Parse(const std::string& text, std::vector<TLine>& lines, std::string& error) {
  lines.clear();
  int number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string raw = text.substr(start, end - start);
    start = end + 1;
    ++number;
    std::vector<std::string> tokens;
    if (!Tokenize(raw, tokens)) {
      error = "line " + std::to_string(number) + ": unclosed quote";
      return false;
    }
    if (tokens.empty()) continue;
    const auto found = Commands().find(tokens[0]);
    if (found == Commands().end()) {
      error = "line " + std::to_string(number) + ": unknown command \"" + tokens[0] + "\"";
      return false;
    }
    const int count = static_cast<int>(tokens.size()) - 1;
    if (count < found->second.MinArgs || count > found->second.MaxArgs) {
      error = "line " + std::to_string(number) + ": \"" + tokens[0] + "\" takes " +
              std::to_string(found->second.MinArgs) +
              (found->second.MaxArgs == found->second.MinArgs
                   ? ""
                   : " to " + std::to_string(found->second.MaxArgs)) +
              " arguments";
      return false;
    }
    TLine line;
    line.Number = number;
    line.Command = tokens[0];
    line.Args.assign(tokens.begin() + 1, tokens.end());
    lines.push_back(std::move(line));
  }
  return true;
}

vcl::TCustomForm* TScenario::CurrentForm() {
  if (!modal_.empty()) return modal_.back();
  auto* controller = desktop_.Host().Controller();
  if (!controller || controller->NoWindow()) throw LineError("no program window");
  QWidget* widget = QWidget::find(static_cast<WId>(controller->GetWindowHandle()));
  auto* form = dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(widget));
  if (!form) throw LineError("the program window cannot be found from its handle");
  return form;
}

int TScenario::Run(const std::vector<TLine>& lines) {
  lines_ = &lines;
  next_ = 0;
  const auto savedHook = vcl::Application->ModalHook();
  vcl::Application->SetModalHook([this](vcl::TCustomForm& form) { OnModal(form); });
  RunLines([] { return false; });
  Print("end");
  stopped_ = true;  // dialogs from here on take their default answers
  if (desktop_.Host().Controller()) {
    desktop_.Host().FreeController();
    vcl::Application->ProcessMessages();
  }
  Print("outcome ResultCode=" + std::to_string(desktop_.LastResultCode()) +
        " ResultValue=" + VariantText(desktop_.LastResultValue()) +
        " notices=" + std::to_string(desktop_.Host().Notices().size()) +
        " messages=" + std::to_string(messages_.size()) + " failures=" + std::to_string(failures_));
  vcl::Application->SetModalHook(savedHook);
  lines_ = nullptr;
  return exitCode_;
}

void TScenario::RunLines(const std::function<bool()>& done) {
  while (!stopped_ && next_ < lines_->size() && !done()) {
    const TLine& line = (*lines_)[next_++];
    try {
      Commands().at(line.Command).Run(*this, line.Args);
      vcl::Application->ProcessMessages();
    } catch (const Failure& failure) {
      Print("FAIL line " + std::to_string(line.Number) + ": " + failure.what());
      ++failures_;
      exitCode_ = std::max(exitCode_, 1);
      stopped_ = true;
    } catch (const LineError& error) {
      Print("error line " + std::to_string(line.Number) + ": " + error.what());
      exitCode_ = 2;
      stopped_ = true;
    } catch (const std::exception& e) {
      Print("error line " + std::to_string(line.Number) + ": " + MessageUtf8(e));
      exitCode_ = 2;
      stopped_ = true;
    }
  }
}

void TScenario::OnModal(vcl::TCustomForm& form) {
  if (dynamic_cast<vcl::TMessageForm*>(&form)) {
    AnswerMessage(form);
    return;
  }
  Print("modal " + form.ClassName() + " " + Quoted(form.Caption()));
  modal_.push_back(&form);
  RunLines([&form] {
    return !vcl::IsLiveComponent(&form) || form.ModalResult() != vcl::mrNone || !form.Visible();
  });
  modal_.pop_back();
  if (vcl::IsLiveComponent(&form))
    Print("modal end " + form.ClassName() + " -> " + std::to_string(form.ModalResult()));
  else
    Print("modal end (freed)");
}

void TScenario::AnswerMessage(vcl::TCustomForm& form) {
  auto& dialog = static_cast<vcl::TMessageForm&>(form);
  TShownMessage shown;
  const int type = static_cast<int>(dialog.DialogType());
  shown.Type = type >= 0 && type < 5 ? kDialogTypeNames[type] : "Custom";
  shown.Caption = ToUtf8(dialog.Caption());
  shown.Text = ToUtf8(dialog.Message() ? dialog.Message()->Caption() : std::string());
  messages_.push_back(shown);

  vcl::TButton* button = nullptr;
  std::string how;
  if (!stopped_ && !answers_.empty()) {
    const std::string wanted = answers_.front();
    answers_.pop_front();
    button = dynamic_cast<vcl::TButton*>(dialog.FindComponent(wanted));
    if (!button) how = " (no button " + wanted + ", default taken)";
  }
  if (!button) {
    button = dialog.DefaultButton() ? dialog.DefaultButton() : dialog.CancelButton();
    if (how.empty()) how = " (default)";
  } else {
    how.clear();
  }
  std::string answer = button ? button->Name() : "none";
  Print("message " + shown.Type + " " + Quoted(dialog.Caption()) + " " +
        Quoted(dialog.Message() ? dialog.Message()->Caption() : std::string()) + " -> " + answer +
        how);
  form.SetModalResult(button ? button->ModalResult() : vcl::mrCancel);
}

void TScenario::RegisterCommand(const std::string& name, int minArgs, int maxArgs, Action action) {
  Commands()[name] = Command{minArgs, maxArgs, std::move(action)};
}

// --- Commands ------------------------------------------------------------------

namespace {

using Args = std::vector<std::string>;

DLLBaseCtrller::TDLLBaseController& NeedController(TScenario& s) {
  auto* controller = s.Desktop().Host().Controller();
  if (!controller) throw LineError("no controller");
  return *controller;
}

void PrintResult(TScenario& s, const std::string& what, int32_t result) {
  const std::string& error = s.Desktop().Host().LastError();
  s.Print(what + " -> " + std::to_string(result) +
          (error.empty() ? "" : " error " + Quoted(error)));
}

void Open(TScenario& s, const Args& args) {
  TOpenOptions options;
  options.Modal = s.ModalByDefault();
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "modal")
      options.Modal = true;
    else if (args[i] == "modeless")
      options.Modal = false;
    else if (args[i] == "nonotify")
      options.Notify = false;
    else if (args[i].rfind("params=", 0) == 0)
      options.ParamCount = ParamCountOption(args[i]);
    else
      throw LineError("unknown option \"" + args[i] + "\"");
  }
  s.Desktop().Open(args[0], options);
}

void Execute(TScenario& s, const Args& args) {
  int count = 5;
  if (!args.empty()) {
    if (args[0].rfind("params=", 0) != 0) throw LineError("unknown option \"" + args[0] + "\"");
    count = ParamCountOption(args[0]);
  }
  NeedController(s);
  PrintResult(s, "execute", s.Desktop().Host().Execute(count));
}

void SetProperty(TScenario& s, const Args& args) {
  std::string name;
  vcl::TObject* object = ResolvePath(s.CurrentForm(), FromUtf8(args[0]), name);
  vcl::SetPropValue(object, name, Variant(FromUtf8(args[1])));
}

std::string PropertyText(TScenario& s, const std::string& path) {
  std::string name;
  vcl::TObject* object = ResolvePath(s.CurrentForm(), FromUtf8(path), name);
  return platform::VarToStr(vcl::GetPropValue(object, name));
}

void GetProperty(TScenario& s, const Args& args) {
  s.Print(args[0] + " = " + Quoted(PropertyText(s, args[0])));
}

void ExpectProperty(TScenario& s, const Args& args) {
  const std::string found = ToUtf8(PropertyText(s, args[0]));
  if (found != args[1])
    throw TScenario::Failure("expected " + args[0] + " = \"" + args[1] + "\", found \"" + found +
                             "\"");
}

vcl::TWinControl* FocusTarget(TScenario& s) {
  vcl::TCustomForm* form = s.CurrentForm();
  return form->ActiveControl() ? form->ActiveControl() : form;
}

void Focus(TScenario& s, const Args& args) {
  auto* control =
      dynamic_cast<vcl::TWinControl*>(ResolveComponent(s.CurrentForm(), FromUtf8(args[0])));
  if (!control) throw LineError("\"" + args[0] + "\" cannot take the focus");
  if (!control->CanFocus()) throw LineError("\"" + args[0] + "\" cannot take the focus now");
  control->SetFocus();
}

void Key(TScenario& s, const Args& args) {
  vcl::Word key = 0;
  vcl::TShiftState shift = 0;
  if (!ParseKey(args[0], key, shift)) throw LineError("unknown key \"" + args[0] + "\"");
  vcl::SimulateKey(FocusTarget(s), key, shift);
}

void Type(TScenario& s, const Args& args) {
  for (const char c : args[0])
    if (static_cast<unsigned char>(c) >= 0x80)
      throw LineError("type takes ASCII text; use set for other text");
  vcl::SimulateText(FocusTarget(s), args[0]);
}

void Click(TScenario& s, const Args& args) {
  vcl::TComponent* component = ResolveComponent(s.CurrentForm(), FromUtf8(args[0]));
  if (auto* item = dynamic_cast<vcl::TMenuItem*>(component)) {
    item->Click();
    return;
  }
  auto* control = dynamic_cast<vcl::TControl*>(component);
  if (!control) throw LineError("\"" + args[0] + "\" cannot be clicked");
  if (!control->Showing()) throw LineError("\"" + args[0] + "\" is not showing");
  vcl::SimulateClick(control);
}

void Answer(TScenario& s, const Args& args) {
  if (!IsButtonName(args[0])) throw LineError("unknown button \"" + args[0] + "\"");
  s.Answers().push_back(args[0]);
}

vcl::TMenuItem* FindMenuItem(vcl::TMenuItem* parent, const std::string& wanted) {
  for (int i = 0; i < parent->Count(); ++i) {
    vcl::TMenuItem* item = parent->Items(i);
    const std::string caption = ToUtf8(item->Caption());
    if (platform::SameText(item->Name(), wanted) || caption == wanted ||
        ToUtf8(vcl::StripHotkey(item->Caption())) == wanted)
      return item;
    if (vcl::TMenuItem* inner = FindMenuItem(item, wanted)) return inner;
  }
  return nullptr;
}

void Menu(TScenario& s, const Args& args) {
  if (!s.MainWindow()) throw LineError("no main window");
  vcl::TMenuItem* item = FindMenuItem(s.MainWindow()->mnMain->Items(), args[0]);
  if (!item) throw LineError("no menu item \"" + args[0] + "\"");
  if (!item->Enabled()) throw LineError("menu item \"" + args[0] + "\" is disabled");
  item->Click();
}

void Wait(TScenario& /*s*/, const Args& args) {
  vcl::Application->ProcessMessages();
  if (args.empty()) return;
  const auto ms = platform::TryStrToInt(args[0]);
  if (!ms || *ms < 0) throw LineError("wait takes milliseconds");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(*ms);
  while (std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    vcl::Application->ProcessMessages();
  }
}

void Info(TScenario& s, const Args& /*args*/) {
  auto& controller = NeedController(s);
  Variant info;
  const int32_t result = controller.GetProgramInfo(info);
  s.Print("info -> " + std::to_string(result) + " " + VariantText(info));
  s.Print("version " + Quoted(platform::WideToAnsi(controller.GetVersionText())));
  s.Print(std::string("visible ") + (controller.GetVisible() ? "true" : "false"));
}

void Expectations(TScenario& s, const Args& args, bool messages) {
  if (messages) {
    auto& list = s.Messages();
    for (size_t i = s.MessageMark(); i < list.size(); ++i) {
      if (list[i].Text.find(args[0]) != std::string::npos ||
          list[i].Caption.find(args[0]) != std::string::npos) {
        s.MessageMark() = i + 1;
        return;
      }
    }
    throw TScenario::Failure("no message with \"" + args[0] + "\"");
  }
  const auto& notices = s.Desktop().Host().Notices();
  size_t at = s.NoticeMark();
  for (const std::string& code : args) {
    const auto wanted = platform::TryStrToInt(code);
    if (!wanted) throw LineError("bad notice code \"" + code + "\"");
    while (at < notices.size() && notices[at].Code != *wanted) ++at;
    if (at == notices.size()) throw TScenario::Failure("no notice " + code + " in order");
    ++at;
  }
  s.NoticeMark() = at;
}

void ExpectResult(TScenario& s, const Args& args) {
  const auto wanted = platform::TryStrToInt(args[0]);
  if (!wanted) throw LineError("bad result code \"" + args[0] + "\"");
  const int32_t found = s.Desktop().LastResultCode();
  if (found != *wanted)
    throw TScenario::Failure("expected ResultCode " + args[0] + ", found " + std::to_string(found));
  if (args.size() > 1) {
    const std::string value = ToUtf8(platform::VarToStr(s.Desktop().LastResultValue()));
    if (value != args[1])
      throw TScenario::Failure("expected ResultValue \"" + args[1] + "\", found \"" + value + "\"");
  }
}

// The built-in commands, registered once.
const bool kRegistered = [] {
  TScenario::RegisterCommand("open", 1, 4, Open);
  TScenario::RegisterCommand("execute", 0, 1, Execute);
  TScenario::RegisterCommand("show", 0, 0, [](TScenario& s, const Args&) {
    NeedController(s).SetVisible(DLLBaseCtrller::kWordTrue);
  });
  TScenario::RegisterCommand("hide", 0, 0, [](TScenario& s, const Args&) {
    NeedController(s).SetVisible(DLLBaseCtrller::kWordFalse);
  });
  TScenario::RegisterCommand("set", 2, 2, SetProperty);
  TScenario::RegisterCommand("get", 1, 1, GetProperty);
  TScenario::RegisterCommand("expect", 2, 2, ExpectProperty);
  TScenario::RegisterCommand("focus", 1, 1, Focus);
  TScenario::RegisterCommand("key", 1, 1, Key);
  TScenario::RegisterCommand("type", 1, 1, Type);
  TScenario::RegisterCommand("click", 1, 1, Click);
  TScenario::RegisterCommand("answer", 1, 1, Answer);
  TScenario::RegisterCommand("menu", 1, 1, Menu);
  TScenario::RegisterCommand("wait", 0, 1, Wait);
  TScenario::RegisterCommand("close", 0, 0,
                             [](TScenario& s, const Args&) { s.CurrentForm()->Close(); });
  TScenario::RegisterCommand("free", 0, 0, [](TScenario& s, const Args&) {
    NeedController(s);
    s.Desktop().Host().FreeWindow();
    s.Print("window freed");
  });
  TScenario::RegisterCommand("free-controller", 0, 0, [](TScenario& s, const Args&) {
    NeedController(s);
    s.Desktop().Host().FreeController();
    s.Print("controller freed");
  });
  TScenario::RegisterCommand("info", 0, 0, Info);
  TScenario::RegisterCommand("host-message", 2, 2, [](TScenario& s, const Args& args) {
    const auto type = platform::TryStrToInt(args[0]);
    if (!type) throw LineError("bad message type \"" + args[0] + "\"");
    PrintResult(s, "host-message",
                NeedController(s).HostMessage(*type, 0, Variant(FromUtf8(args[1]))));
  });
  TScenario::RegisterCommand("condition", 1, 1, [](TScenario& s, const Args& args) {
    Variant params = args[0] == "null"    ? Variant::Null()
                     : args[0] == "empty" ? Variant()
                                          : platform::VarArrayOf({int32_t{0}, FromUtf8(args[0])});
    PrintResult(s, "condition", NeedController(s).SetCondition(params));
  });
  TScenario::RegisterCommand("screenshot", 1, 1, [](TScenario& s, const Args& args) {
    std::string error;
    if (!SaveScreenshot(args[0], error)) throw LineError(error);
    s.Print("screenshot " + args[0]);
  });
  TScenario::RegisterCommand("echo", 0, 16, [](TScenario& s, const Args& args) {
    std::string text;
    for (const std::string& a : args) text += (text.empty() ? "" : " ") + a;
    s.Print(text);
  });
  TScenario::RegisterCommand("expect-message", 1, 1,
                             [](TScenario& s, const Args& args) { Expectations(s, args, true); });
  TScenario::RegisterCommand("expect-notice", 1, 16,
                             [](TScenario& s, const Args& args) { Expectations(s, args, false); });
  TScenario::RegisterCommand("expect-result", 1, 2, ExpectResult);
  return true;
}();

}  // namespace

std::map<std::string, TScenario::Command>& TScenario::Commands() {
  static std::map<std::string, Command> commands;
  return commands;
}

}  // namespace DesktopHost

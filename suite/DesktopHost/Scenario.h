#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"
#include "suite/DesktopHost/Desktop.h"

namespace DesktopHost {

class TfrmDesktop;

/* The scripted mode: a plain-text scenario of actions replayed on the
   opened program window, for automation without a user. One action a line;
   blank lines and text after "#" are ignored; arguments are separated by
   blanks, and a double-quoted argument may hold blanks and the escapes \",
   \\, \n, \r and \t. Texts are UTF-8 and reach the window in the system
   code page.

     open CODE [modal] [params=N] [nonotify]   load, GetController, Execute, show
     execute [params=N]          Execute again on the same controller
     show | hide                 SetVisible(true / false)
     set PATH VALUE              a published property: "sp01.edBegin.Text"
     get PATH                    prints the property's value
     focus PATH                  focuses a control
     key KEY                     a key to the focused control: F2, Enter, Esc,
                                 Tab, Ctrl+Tab, Shift+Tab, Ctrl+Alt+V, A ...
     type "TEXT"                 keys typed into the focused control (ASCII)
     click PATH                  a mouse click on a control, or a menu item's Click
     answer BUTTON               answers the next message dialog: Yes, No, OK,
                                 Cancel, Abort, Retry, Ignore, All, NoToAll, YesToAll
     menu ITEM                   a host menu item, by name (miPVQR82) or caption
     wait [MS]                   processes pending messages (and waits MS)
     close                       closes the current window as its user would
     free | free-controller      FreeWindow / frees the controller
     info                        GetProgramInfo, GetVersionText, GetVisible
     host-message TYPE VALUE     HostMessage(TYPE, 0, VALUE)
     condition VALUE             SetCondition([0, VALUE])
     screenshot FILE             the screen as a PNG file
     echo TEXT                   prints TEXT
     expect PATH VALUE           the property's text must equal VALUE
     expect-message TEXT         a message shown since the last one matched has
                                 TEXT in its text or caption
     expect-notice CODE...       these notices were sent, in this order, since
                                 the last matched one
     expect-result CODE [VALUE]  the controller's ResultCode (and ResultValue)

   The current window is the innermost modal window, else the program's
   window. A modal window other than a message dialog runs the following
   lines while it is open (so "open ... modal" and the program's own modal
   dialogs are driven line by line); a message dialog is answered by the
   next "answer", else by its default button. After each action pending
   messages are processed, as the message loop would.

   Output, one line each: every message dialog ("message TYPE "caption"
   "text" -> BUTTON"), every notice, the results of the calls, and at the
   end "outcome ResultCode=.. ResultValue=.. notices=.. messages=..
   failures=..". Run returns 0 when the scenario ran through, 1 when an
   expectation failed, 2 when a line could not be carried out. */
class TScenario {
 public:
  struct TLine {
    int Number = 0;
    std::string Command;
    std::vector<std::string> Args;
  };

  /* MainWindow may be nullptr (then "menu" fails). */
  TScenario(TDesktop& desktop, TfrmDesktop* mainWindow, bool modalByDefault);
  ~TScenario();

  /* Splits a scenario into lines; false with Error ("line N: ...") for an
     unknown command, a wrong argument count or an unclosed quote. */
  static bool Parse(const std::string& text, std::vector<TLine>& lines, std::string& error);

  /* Runs the lines; the exit code described above. */
  int Run(const std::vector<TLine>& lines);

  /* Extension point: a command with its argument count range. The action
     throws TScenario::Failure for a failed expectation and any other
     exception for a line that cannot be carried out. */
  using Action = std::function<void(TScenario&, const std::vector<std::string>& args)>;
  static void RegisterCommand(const std::string& name, int minArgs, int maxArgs, Action action);

  struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  // For actions.
  TDesktop& Desktop() { return desktop_; }
  TfrmDesktop* MainWindow() { return mainWindow_; }
  /* The innermost modal window, else the program's window; raises when
     there is none. */
  vcl::TCustomForm* CurrentForm();
  /* Writes one output line (UTF-8). */
  void Print(const std::string& line) { desktop_.Log(line); }
  bool ModalByDefault() const { return modalByDefault_; }
  std::deque<std::string>& Answers() { return answers_; }
  /* Message dialogs shown so far, as printed, and how many were matched. */
  struct TShownMessage {
    std::string Type, Caption, Text;  // UTF-8
  };
  std::vector<TShownMessage>& Messages() { return messages_; }
  size_t& MessageMark() { return messageMark_; }
  size_t& NoticeMark() { return noticeMark_; }

 private:
  struct Command {
    int MinArgs;
    int MaxArgs;
    Action Run;
  };
  static std::map<std::string, Command>& Commands();

  void RunLines(const std::function<bool()>& done);
  void OnModal(vcl::TCustomForm& form);
  void AnswerMessage(vcl::TCustomForm& form);

  TDesktop& desktop_;
  TfrmDesktop* mainWindow_;
  bool modalByDefault_;
  const std::vector<TLine>* lines_ = nullptr;
  size_t next_ = 0;
  int exitCode_ = 0;
  bool stopped_ = false;
  int failures_ = 0;
  std::vector<vcl::TCustomForm*> modal_;
  std::deque<std::string> answers_;
  std::vector<TShownMessage> messages_;
  size_t messageMark_ = 0;
  size_t noticeMark_ = 0;
};

/* Reads a key as the scenario writes it ("F2", "Enter", "Ctrl+Tab",
   "Shift+Tab", "Ctrl+Alt+V", "a"): the platform's key code and shift
   state. False for a name it does not know. */
bool ParseKey(const std::string& text, vcl::Word& key, vcl::TShiftState& shift);

/* The object a dotted path names on Form, and the last part's name:
   "sp01.edBegin.Text" gives sp01's part edBegin and "Text". Each part is a
   component owned by the previous one, a control inside it, or a published
   object property of it (names ignore case). Raises when a part is missing. */
vcl::TObject* ResolvePath(vcl::TComponent* form, const std::string& path, std::string& last);
/* The component a dotted path names on Form (every part a component). */
vcl::TComponent* ResolveComponent(vcl::TComponent* form, const std::string& path);

}  // namespace DesktopHost

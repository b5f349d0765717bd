#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entry/DLLBaseCtrller.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

/* The desktop host's side of the plug-in protocol: loading a program's
   library by path, its controller, the host parameters and the notices. No
   user interface here; the main window and the scripted mode drive it. */
namespace DesktopHost {

/* Who is logged in: the first three host parameters. */
struct TLogin {
  std::string UserID;
  std::string CompanyID;
  std::string DbName;
};

/* One notice the controller sent, with the outcome fields as they were at
   that moment. */
struct TNotice {
  int32_t Code = 0;
  int32_t ResultCode = 0;
  platform::Variant ResultValue;
};

/* "created", "shown", "hidden", "destroyed", "fifth", or "" for a code the
   protocol does not know. */
const char* NoticeName(int32_t code);

/* A program library and its controller. The library stays loaded for the
   rest of the process once loaded (code of it may still be referenced by
   the component layer after its controller is gone).

   Every operation that reaches into the plug-in catches what the plug-in
   raises and turns it into a failure with its message (LastError), so the
   host never ends because of a plug-in. */
class TPluginHost {
 public:
  /* HostObject: the automation object handed to every controller. */
  TPluginHost(platform::DispatchPtr hostObject, TLogin login);
  /* Frees the controller (notices still reach OnNotice). */
  ~TPluginHost();
  TPluginHost(const TPluginHost&) = delete;
  TPluginHost& operator=(const TPluginHost&) = delete;

  /* Loads the library at Path (when not loaded yet) and makes a controller
     (when there is none): HostObject and OnNotify are stored in it (with
     NotifyHandler false, OnNotify stays unassigned). False, with LastError
     set, when the library or its export cannot be found or GetController
     raises. */
  bool Load(const std::string& path, bool notifyHandler = true);

  /* The host parameter array: [user, company, database, main window,
     extra], cut to its first Count elements (Count 0..5). */
  platform::Variant Params(int count = 5) const;

  /* Calls Execute with Params(Count). Returns its result; a raised error
     gives -1 with LastError set. False result also without a controller. */
  int32_t Execute(int count = 5);
  /* Shows the window modeless (SetVisible) or modally (ShowModal, whose
     result is returned; 0 for modeless). */
  int32_t Show(bool modal);
  /* FreeWindow on the controller. */
  void FreeWindow();
  /* Deletes the controller (a window still open is freed first, with its
     notice 304). */
  void FreeController();

  DLLBaseCtrller::TDLLBaseController* Controller() const { return controller_; }
  bool Loaded() const { return getController_ != nullptr; }
  const std::string& ModulePath() const { return path_; }
  const TLogin& Login() const { return login_; }
  void SetLogin(TLogin login) { login_ = std::move(login); }
  /* Parameter 3: the handle of the host's main window (0: none). */
  void SetMainWindow(DLLBaseCtrller::HWND handle) { mainWindow_ = handle; }
  /* Parameter 4: the value the window keeps. */
  void SetExtra(platform::Variant extra) { extra_ = std::move(extra); }

  const std::string& LastError() const { return lastError_; }
  const std::vector<TNotice>& Notices() const { return notices_; }

  /* Told of every notice, after it has been recorded. */
  std::function<void(const TNotice&)> OnNotice;

  /* The controller's OnNotify handler. */
  void ControllerNotify(int32_t code, vcl::TObject* sender);

 private:
  using GetControllerFn = DLLBaseCtrller::TDLLBaseController* (*)();

  platform::DispatchPtr hostObject_;
  TLogin login_;
  DLLBaseCtrller::HWND mainWindow_ = 0;
  platform::Variant extra_;
  std::string path_;
  GetControllerFn getController_ = nullptr;
  DLLBaseCtrller::TDLLBaseController* controller_ = nullptr;
  std::vector<TNotice> notices_;
  std::string lastError_;
};

/* The message of an exception: the runtime's message (bytes in the system
   code page), or what() for others. */
std::string ErrorText(const std::exception& e);

/* A text quoted for the host's log, in UTF-8: "..." with backslash, quote,
   CR, LF and tab written as \\, \", \r, \n and \t. */
std::string Quoted(const std::string& ansi);

/* A Variant as the host's log writes it: <unassigned>, <null>, a quoted
   text, a number, true/false, or an array as [a, b, ...]. */
std::string VariantText(const platform::Variant& value);

/* Bytes in the system code page to UTF-8 for the terminal, and back. */
std::string ToUtf8(const std::string& ansi);
std::string FromUtf8(const std::string& utf8);

}  // namespace DesktopHost

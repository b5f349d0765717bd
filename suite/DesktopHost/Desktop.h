#pragma once

#include <functional>
#include <memory>
#include <string>

#include "suite/DesktopHost/PluginHost.h"

/* The desktop host's work, shared by its main window and its scripted mode:
   which library a program code names, opening a program, and the log of
   everything that happens (one UTF-8 line per event, on standard output
   and to whoever listens). */
namespace DesktopHost {

/* How a program is opened. */
struct TOpenOptions {
  bool Modal = false;  // ShowModal instead of SetVisible(true)
  int ParamCount = 5;  // host parameters passed (0..5)
  bool Notify = true;  // false: OnNotify left unassigned
};

class TDesktop {
 public:
  /* ModuleFolder: where the program libraries are ("<folder>/<code>C.dll"). */
  TDesktop(platform::DispatchPtr hostObject, TLogin login, std::string moduleFolder);

  TPluginHost& Host() { return host_; }
  /* The library of a program code: "<folder>/" + upper-case code + "C.dll". */
  std::string ModulePathOf(const std::string& programCode) const;

  /* Loads the program's library (once), makes a controller when there is
     none, calls Execute and, when it succeeded, shows the window. Logs each
     step ("execute -> r", "modal -> r"); a library that cannot be loaded or
     a raised error is shown in an error message (and logged). True when
     Execute succeeded. */
  bool Open(const std::string& programCode, const TOpenOptions& options);

  /* Shows an error message dialog with Text (system code page) and logs it. */
  void ShowError(const std::string& text);

  /* Writes one line (UTF-8) to standard output and to OnLog. */
  void Log(const std::string& line);
  std::function<void(const std::string&)> OnLog;
  /* Whether Log also writes to standard output (default true). */
  void SetEcho(bool on) { echo_ = on; }

  /* The outcome fields as last seen: from the controller when there is
     one, else from the last notice. */
  int32_t LastResultCode() const;
  platform::Variant LastResultValue() const;

 private:
  void Notice(const TNotice& notice);
  TPluginHost host_;
  std::string moduleFolder_;
  bool echo_ = true;
};

}  // namespace DesktopHost

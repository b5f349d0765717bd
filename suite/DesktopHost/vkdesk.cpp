// vkdesk: the suite's desktop host. It opens the report program PVQR82 from
// its menu (loading PVQR82C.dll by path and driving its controller) and logs
// every notice; with --script it replays a scenario headless instead.
//
//   vkdesk [--user U] [--company C] [--db D] [--compat] [--modules DIR]
//          [--open CODE] [--modal] [--screenshot FILE [--delay MS]]
//   vkdesk --script FILE|- [--user U] [--company C] [--db D] [--compat] [--modal]
//
// Without --user, --company and --db the desktop asks in a login dialog (the
// scripted mode takes DS / VRK / VRKDEMO). --compat opens the compatibility
// build of the program (compat/ beside this program). The registry file is
// VRK_REGISTRY, as scripts/install.sh prints it.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "suite/DesktopHost/Desktop.h"
#include "suite/DesktopHost/MainWindow.h"
#include "suite/DesktopHost/Scenario.h"
#include "suite/DesktopHost/Screenshot.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"

namespace {

using namespace DesktopHost;

struct Options {
  TLogin Login;
  bool HaveUser = false, HaveCompany = false, HaveDb = false;
  bool Compat = false;
  std::string Modules;
  std::string Open;
  bool Modal = false;
  std::string Script;
  std::string Screenshot;
  int Delay = 1500;
};

int Usage(const char* message) {
  std::fprintf(stderr,
               "vkdesk: %s\n"
               "usage: vkdesk [--user U] [--company C] [--db D] [--compat] [--modules DIR]\n"
               "              [--open CODE] [--modal] [--screenshot FILE [--delay MS]]\n"
               "       vkdesk --script FILE|- [--user U] [--company C] [--db D] [--compat] "
               "[--modal]\n",
               message);
  return 2;
}

bool ReadOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string delay;
    if (arg == "--user") {
      if (!value(options.Login.UserID)) return false;
      options.HaveUser = true;
    } else if (arg == "--company") {
      if (!value(options.Login.CompanyID)) return false;
      options.HaveCompany = true;
    } else if (arg == "--db") {
      if (!value(options.Login.DbName)) return false;
      options.HaveDb = true;
    } else if (arg == "--compat") {
      options.Compat = true;
    } else if (arg == "--modal") {
      options.Modal = true;
    } else if (arg == "--modules") {
      if (!value(options.Modules)) return false;
    } else if (arg == "--open") {
      if (!value(options.Open)) return false;
    } else if (arg == "--script") {
      if (!value(options.Script)) return false;
    } else if (arg == "--screenshot") {
      if (!value(options.Screenshot)) return false;
    } else if (arg == "--delay") {
      if (!value(delay)) return false;
      options.Delay = platform::StrToIntDef(delay, -1);
      if (options.Delay < 0) {
        error = "--delay takes milliseconds";
        return false;
      }
    } else {
      error = "unknown argument " + arg;
      return false;
    }
  }
  return true;
}

// The suite's texts are GB: unless the environment names a code page, the
// desktop runs with the GB system code page, as the suite's machines do.
void ChooseCodePage() {
  if (std::getenv("VRK_CODEPAGE")) return;
  const int fromLocale =
      platform::CodePageFromEnvironment([](const char* name) { return std::getenv(name); });
  if (fromLocale == platform::CP_OEM_US) ::setenv("VRK_CODEPAGE", "936", 1);
}

bool ReadScript(const std::string& file, std::string& text) {
  if (file == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

// The desktop itself, once the Qt application exists: login, host object,
// main window, and the scenario or the event loop. Returns the exit code.
int RunDesktop(const Options& options, const std::vector<TScenario::TLine>& lines) {
  const bool scripted = !options.Script.empty();
  // Who is logged in: the command line, else the login dialog (the scripted
  // mode takes the demonstration company's administrator).
  TLogin login = options.Login;
  if (!options.HaveUser) login.UserID = "DS";
  if (!options.HaveCompany) login.CompanyID = "VRK";
  if (!options.HaveDb) login.DbName = "VRKDEMO";
  if (!scripted && !(options.HaveUser && options.HaveCompany && options.HaveDb) && !AskLogin(login))
    return 0;

  platform::DispatchPtr hostObject;
  try {
    pilgarwc::RegisterHostObject();
    hostObject = pilgarwc::NewHostObject();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vkdesk: no host object: %s\n", ToUtf8(ErrorText(e)).c_str());
    return 1;
  }

  std::string modules = options.Modules.empty() ? platform::ProgramFolder() : options.Modules;
  if (options.Compat) modules = platform::IncludeTrailingPathDelimiter(modules) + "compat";
  TDesktop desktop(hostObject, login, modules);

  auto* window = vcl::Create<TfrmDesktop>(nullptr, desktop);
  desktop.OnLog = [window](const std::string& line) { window->AddLog(line); };
  vcl::Application->SetMainForm(window);
  window->Show();
  desktop.Host().SetMainWindow(static_cast<DLLBaseCtrller::HWND>(window->Handle()->winId()));
  vcl::Application->ProcessMessages();

  int exitCode = 0;
  if (scripted) {
    TScenario scenario(desktop, window, options.Modal);
    exitCode = scenario.Run(lines);
  } else {
    if (!options.Open.empty()) {
      const std::string code = options.Open;
      const bool modal = options.Modal;
      QTimer::singleShot(0, [window, code, modal] { window->OpenProgram(code, modal); });
    }
    if (!options.Screenshot.empty()) {
      const std::string file = options.Screenshot;
      QTimer::singleShot(options.Delay, [&desktop, file, &exitCode] {
        std::string reason;
        if (SaveScreenshot(file, reason)) {
          desktop.Log("screenshot " + file);
        } else {
          desktop.Log("error " + Quoted(reason));
          exitCode = 1;
        }
        vcl::Application->Terminate();
      });
    }
    vcl::Application->Run();
  }
  desktop.OnLog = nullptr;
  desktop.Host().FreeController();
  if (vcl::IsLiveComponent(window)) window->Free();
  vcl::Application->ProcessMessages();
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ReadOptions(argc, argv, options, error)) return Usage(error.c_str());
  const bool scripted = !options.Script.empty();

  std::vector<TScenario::TLine> lines;
  if (scripted) {
    std::string text;
    if (!ReadScript(options.Script, text)) return Usage(("cannot read " + options.Script).c_str());
    if (!TScenario::Parse(text, lines, error)) {
      std::fprintf(stderr, "vkdesk: %s: %s\n", options.Script.c_str(), error.c_str());
      return 2;
    }
    // Headless unless the caller chose a platform (to watch it on a display).
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  ChooseCodePage();
  // The Qt application is this program's, so that it goes (with the fonts
  // and settings it holds) before the program ends.
  auto qtApplication = std::make_unique<QApplication>(argc, argv);
  vcl::Application->Initialize(argc, argv);
  vcl::Application->SetTitle("VRK");

  const int exitCode = RunDesktop(options, lines);
  // Everything of the desktop is gone by now; the Qt application goes last.
  qtApplication.reset();
  return exitCode;
}

// The goods-receipt window opened and closed 200 times in one host process
// (Execute, shown, closed by its user, freed), on a default installation
// written by scripts/install.sh into a temporary folder: the resident
// memory after the 200 runs against the memory after a first run, which
// loads the libraries, fonts and caches once. The goal is a growth below
// 1 MiB; the exit code is 0 when it is met, 1 otherwise, 2 on a failure.
//
// Usage: window_memory_check [--compat] [--runs N]. Headless
// (QT_QPA_PLATFORM=offscreen) unless QT_QPA_PLATFORM is set.

#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "suite/DesktopHost/PluginHost.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"
#include "tests/e2e/Processes.h"

namespace {

constexpr long kGoalBytes = 1024 * 1024;

// Resident memory of this process, in bytes.
long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

// Opens the window as the host does and closes it as its user would.
void OpenAndClose(DesktopHost::TPluginHost& host) {
  if (host.Execute(5) != 0) throw std::runtime_error("Execute failed: " + host.LastError());
  host.Show(false);
  vcl::Application->ProcessMessages();
  auto* controller = host.Controller();
  QWidget* widget = QWidget::find(static_cast<WId>(controller->GetWindowHandle()));
  auto* form = dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(widget));
  if (!form) throw std::runtime_error("the window cannot be found from its handle");
  form->Close();
  vcl::Application->ProcessMessages();
  if (!controller->NoWindow()) throw std::runtime_error("the window did not go when closed");
}

}  // namespace

int main(int argc, char** argv) {
  bool compat = false;
  int runs = 200;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--compat") {
      compat = true;
    } else if (arg == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: window_memory_check [--compat] [--runs N]\n");
      return 2;
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("VRK_CODEPAGE")) ::setenv("VRK_CODEPAGE", "936", 1);
  vcl::Application->Initialize(argc, argv);

  std::string root;
  int status = 0;
  try {
    char pattern[] = "/tmp/vk-window-memory-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
    root = pattern;
    const e2e::TRun install =
        e2e::Run("/bin/bash", {VK_SOURCE_DIR "/scripts/install.sh", platform::ProgramFolder()},
                 {"VRK_HOME=" + root + "/vrk"});
    if (install.ExitCode != 0) throw std::runtime_error("install.sh failed: " + install.Errors);
    platform::SetRegistryFile(root + "/vrk/registry.reg");

    DesktopHost::TPluginHost host(pilgarwc::NewHostObject(),
                                  DesktopHost::TLogin{"DS", "VRK", "VRKDEMO"});
    const std::string library =
        platform::ProgramFolder() + (compat ? "compat/PVQR82C.dll" : "PVQR82C.dll");
    if (!host.Load(library)) throw std::runtime_error(host.LastError());

    OpenAndClose(host);
    const long before = ResidentBytes();
    for (int i = 0; i < runs; ++i) OpenAndClose(host);
    const long after = ResidentBytes();
    const long growth = after - before;
    std::printf("%s build: resident memory after the first run %.1f MiB, after %d more %.1f MiB\n",
                compat ? "compatibility" : "current", before / 1048576.0, runs, after / 1048576.0);
    std::printf("growth %ld KiB (goal < 1024 KiB: %s)\n", growth / 1024,
                growth < kGoalBytes ? "met" : "missed");
    status = growth < kGoalBytes ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "window_memory_check: %s\n", DesktopHost::ErrorText(e).c_str());
    status = 2;
  }
  vcl::Application->ProcessMessages();
  platform::SetRegistryFile(std::nullopt);
  std::error_code ignored;
  if (!root.empty()) std::filesystem::remove_all(root, ignored);
  return status;
}

// The goods-receipt window opened and closed 200 times in one host process
// (Execute, shown, closed by its user, freed), on a default installation
// written by scripts/install.sh into a temporary folder: the resident
// memory after the 200 runs against the memory after a first run, which
// loads the libraries, fonts and caches once. The goal is a growth below
// 1 MiB; the exit code is 0 when it is met, 1 otherwise, 2 on a failure.
//
// Before each reading the allocator hands back the free memory it keeps
// for reuse (malloc_trim): heap that was freed is not memory the windows
// hold, and keeping it or not is the allocator's choice. Nothing else is
// emptied; Qt's pixmap cache in particular is left as the application's
// start-up set it, so a cache that grows with each window shows here. The
// heap in use (allocated and not freed) is printed beside the resident
// memory.
//
// Usage: window_memory_check [--compat] [--runs N]. Headless
// (QT_QPA_PLATFORM=offscreen) unless QT_QPA_PLATFORM is set.

#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/WindowBenchSupport.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "suite/DesktopHost/PluginHost.h"
#include "suite/db/TestProcesses.h"

namespace {

constexpr long kGoalBytes = 1024 * 1024;

struct TReading {
  long Resident = 0;   // resident memory of the process, in bytes
  long HeapInUse = 0;  // bytes allocated and not freed
};

// Reads the memory after handing the allocator's free memory back.
TReading ReadMemory() {
  ::malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return {resident * ::sysconf(_SC_PAGESIZE), static_cast<long>(::mallinfo2().uordblks)};
}

// Opens the window as the host does and closes it as its user would.
void OpenAndClose(DesktopHost::TPluginHost& host) {
  if (host.Execute(5) != 0) throw std::runtime_error("Execute failed: " + host.LastError());
  host.Show(false);
  vcl::Application->ProcessMessages();
  auto* form = benchsupport::ProgramWindow(host);
  if (!form) throw std::runtime_error("the window cannot be found from its handle");
  form->Close();
  vcl::Application->ProcessMessages();
  if (!host.Controller()->NoWindow()) throw std::runtime_error("the window did not go when closed");
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

  std::unique_ptr<suitedb::TDefaultInstallation> installation;
  int status = 0;
  try {
    installation = std::make_unique<suitedb::TDefaultInstallation>(platform::ProgramFolder(),
                                                                   "vk-window-memory");
    platform::SetRegistryFile(installation->RegistryFile());

    const std::unique_ptr<DesktopHost::TPluginHost> loaded = benchsupport::LoadProgram(compat);
    DesktopHost::TPluginHost& host = *loaded;
    OpenAndClose(host);
    const TReading before = ReadMemory();
    for (int i = 0; i < runs; ++i) OpenAndClose(host);
    const TReading after = ReadMemory();
    const long growth = after.Resident - before.Resident;
    std::printf("%s build: resident memory after the first run %.1f MiB, after %d more %.1f MiB\n",
                compat ? "compatibility" : "current", before.Resident / 1048576.0, runs,
                after.Resident / 1048576.0);
    std::printf("heap in use %+ld KiB\n", (after.HeapInUse - before.HeapInUse) / 1024);
    std::printf("growth %ld KiB (goal < 1024 KiB: %s)\n", growth / 1024,
                growth < kGoalBytes ? "met" : "missed");
    status = growth < kGoalBytes ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "window_memory_check: %s\n", DesktopHost::ErrorText(e).c_str());
    status = 2;
  }
  vcl::Application->ProcessMessages();
  platform::SetRegistryFile(std::nullopt);
  installation.reset();
  return status;
}

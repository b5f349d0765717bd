#include "bench/WindowBenchSupport.h"

#include <benchmark/benchmark.h>

#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "platform/core/SysUtils.h"
#include "suite/PilgarWorkCenter/WorkCenter.h"

namespace benchsupport {

std::map<std::string, std::vector<double>>& Samples() {
  static std::map<std::string, std::vector<double>> samples;
  return samples;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool StartWindowBenchmark(int& argc, char** argv) {
  bool compat = false;
  int kept = 0;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--compat")
      compat = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!std::getenv("VRK_CODEPAGE")) ::setenv("VRK_CODEPAGE", "936", 1);
  benchmark::Initialize(&argc, argv);
  vcl::Application->Initialize(argc, argv);
  return compat;
}

std::unique_ptr<DesktopHost::TPluginHost> LoadProgram(bool compat) {
  auto host = std::make_unique<DesktopHost::TPluginHost>(
      pilgarwc::NewHostObject(), DesktopHost::TLogin{"DS", "VRK", "VRKDEMO"});
  const std::string library =
      platform::ProgramFolder() + (compat ? "compat/PVQR82C.dll" : "PVQR82C.dll");
  if (!host->Load(library)) throw std::runtime_error(host->LastError());
  return host;
}

vcl::TCustomForm* ProgramWindow(DesktopHost::TPluginHost& host) {
  auto* controller = host.Controller();
  if (!controller) return nullptr;
  QWidget* widget = QWidget::find(static_cast<WId>(controller->GetWindowHandle()));
  return dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(widget));
}

}  // namespace benchsupport

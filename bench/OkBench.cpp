// The OK press of the goods-receipt window, from the click on btnOk to the
// message dialog showing the job identifier, against the raw server call
// alone (Request with the very request the window sent, read back from the
// job table), in one host process on a default installation written by
// scripts/install.sh into a temporary folder:
//   - in process: BrantorC.ini names 127.0.0.1, the window and the raw call
//     use a server object made in this process;
//   - over the socket: BrantorC.ini names vksocketd (started on the same
//     installation), the window and the raw call go through it.
// The window submits with "OK without exit" (miOKNoExit) so that it stays
// open between runs; the message dialog is answered by the modal hook the
// moment it is shown. At the end the medians are printed against the goal:
// OK <= 2 x the raw call, each way.
//
// Usage: ok_bench [--compat] [Google Benchmark options]. Headless
// (QT_QPA_PLATFORM=offscreen) unless QT_QPA_PLATFORM is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/WindowBenchSupport.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"
#include "platform/remote/SocketConnection.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/DesktopHost/PluginHost.h"
#include "suite/db/Database.h"
#include "suite/db/TaggedJson.h"
#include "suite/db/TestProcesses.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::Variant;
using namespace benchsupport;

constexpr char kServerClass[] = "ReportCounterS.dmReportCounter";

struct World {
  std::unique_ptr<suitedb::TDefaultInstallation> installation;
  std::string home;  // the installation's folder, ending in "/"
  std::unique_ptr<suitedb::TSocketDaemon> daemon;
  std::unique_ptr<DesktopHost::TPluginHost> host;
  vcl::TCustomForm* window = nullptr;
  Clock::time_point shown;  // when the last message dialog was shown
  std::string message;      // its text
  Variant request;          // the window's last request, as stored
};
World* world = nullptr;

std::string ReadFile(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The client settings name the server: 127.0.0.1 (in process) or vksocketd.
void PointClientAt(const std::string& address, int port) {
  const std::string file = world->home + "BrantorC.ini";
  std::string text = ReadFile(file);
  text = std::regex_replace(text, std::regex("ComputerName=[^\r\n]*"), "ComputerName=" + address);
  text = std::regex_replace(text, std::regex("ServerPort=[^\r\n]*"),
                            "ServerPort=" + std::to_string(port));
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

// Opens the window (connecting as BrantorC.ini says) and submits once with
// "OK without exit", so that later clicks on btnOk leave it open.
void OpenWindow() {
  if (world->host->Controller() && !world->host->Controller()->NoWindow())
    world->host->FreeWindow();
  vcl::Application->ProcessMessages();
  if (world->host->Execute(5) != 0) throw std::runtime_error("Execute failed");
  world->host->Show(false);
  vcl::Application->ProcessMessages();
  world->window = ProgramWindow(*world->host);
  auto* item = dynamic_cast<vcl::TMenuItem*>(world->window->FindComponent("miOKNoExit"));
  if (!item) throw std::runtime_error("no miOKNoExit");
  world->message.clear();
  item->Click();
  vcl::Application->ProcessMessages();
  if (world->message.find("000") == std::string::npos)
    throw std::runtime_error("the first submission showed no job identifier");
}

// The request of the newest job, as the server stored it.
Variant LastRequest() {
  suitedb::Database db = suitedb::Database::Open(world->home + "vrk.db");
  const auto json = db.QueryText("SELECT request_json FROM job ORDER BY seq DESC LIMIT 1", {});
  if (!json) throw std::runtime_error("no job stored");
  return suitedb::JsonTextToVariant(*json);
}

void MeasureOk(benchmark::State& state, const std::string& name) {
  auto* ok = dynamic_cast<vcl::TControl*>(world->window->FindComponent("btnOk"));
  for (auto _ : state) {
    world->message.clear();
    const Clock::time_point start = Clock::now();
    vcl::SimulateClick(ok);
    const double seconds = std::chrono::duration<double>(world->shown - start).count();
    if (world->message.empty() || seconds <= 0) {
      state.SkipWithError("no job identifier shown");
      break;
    }
    state.SetIterationTime(seconds);
    Samples()[name].push_back(seconds * 1000);
    vcl::Application->ProcessMessages();
  }
  world->request = LastRequest();
}

void MeasureRaw(benchmark::State& state, const std::string& name, const Variant& server) {
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    const Variant id = platform::CallMethod(server, "Request", {world->request});
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (platform::VarToStr(id) == "ERROR") {
      state.SkipWithError("the server refused the request");
      break;
    }
    state.SetIterationTime(seconds);
    Samples()[name].push_back(seconds * 1000);
  }
}

void BM_OkInProcess(benchmark::State& state) {
  PointClientAt("127.0.0.1", 211);
  OpenWindow();
  MeasureOk(state, "ok in process");
}

void BM_RawInProcess(benchmark::State& state) {
  const Variant server(platform::CreateOleObject(kServerClass));
  MeasureRaw(state, "raw in process", server);
}

void BM_OkSocket(benchmark::State& state) {
  PointClientAt("localhost", world->daemon->Port());
  OpenWindow();
  MeasureOk(state, "ok socket");
}

void BM_RawSocket(benchmark::State& state) {
  platform::remote::TSocketConnection connection;
  connection.SetAddress("localhost");
  connection.SetPort(world->daemon->Port());
  connection.SetServerName(kServerClass);
  connection.Open();
  MeasureRaw(state, "raw socket", connection.AppServer());
}

// Each raw call runs after the window's runs of its way, with their request.
BENCHMARK(BM_OkInProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_RawInProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_OkSocket)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);
BENCHMARK(BM_RawSocket)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(200);

void Report(const char* what, const std::string& ok, const std::string& raw) {
  const double a = Median(Samples()[ok]);
  const double b = Median(Samples()[raw]);
  std::printf("%-11s OK click to job identifier shown: median %8.3f ms\n", what, a);
  std::printf("%-11s raw Request call                : median %8.3f ms\n", what, b);
  std::printf("%-11s OK / raw call = %6.2f  (goal <= 2.0: %s)\n", what, b > 0 ? a / b : 0.0,
              b > 0 && a <= 2 * b ? "met" : "missed");
}

}  // namespace

int main(int argc, char** argv) {
  const bool compat = StartWindowBenchmark(argc, argv);
  World w;
  world = &w;
  int status = 0;
  try {
    w.installation =
        std::make_unique<suitedb::TDefaultInstallation>(platform::ProgramFolder(), "vk-ok-bench");
    w.home = w.installation->Home();
    platform::SetRegistryFile(w.installation->RegistryFile());
    w.daemon = std::make_unique<suitedb::TSocketDaemon>(platform::ProgramFolder() + "vksocketd",
                                                        w.installation->RegistryFile());
    vcl::Application->SetModalHook([](vcl::TCustomForm& form) {
      if (auto* dialog = dynamic_cast<vcl::TMessageForm*>(&form)) {
        world->shown = Clock::now();
        world->message = dialog->Message() ? dialog->Message()->Caption() : std::string("?");
      }
      form.SetModalResult(vcl::mrOk);
    });
    w.host = LoadProgram(compat);

    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n%s build, platform %s\n", compat ? "compatibility" : "current",
                qPrintable(QGuiApplication::platformName()));
    Report("in process", "ok in process", "raw in process");
    Report("socket", "ok socket", "raw socket");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ok_bench: %s\n", DesktopHost::ErrorText(e).c_str());
    status = 1;
  }
  vcl::Application->SetModalHook(nullptr);
  w.host.reset();
  vcl::Application->ProcessMessages();
  w.daemon.reset();
  platform::SetRegistryFile(std::nullopt);
  w.installation.reset();
  benchmark::Shutdown();
  return status;
}

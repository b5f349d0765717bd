// vksocketd: the socket server. Hosts the suite's server objects for the
// socket connections of the client programs (see SocketServer.h) until it
// receives SIGTERM or SIGINT.

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Registry.h"
#include "suite/SocketServer/ServerArguments.h"
#include "suite/SocketServer/SocketServer.h"

namespace {

std::atomic<socketserver::SocketServer*> running{nullptr};

extern "C" void OnStopSignal(int) {
  if (socketserver::SocketServer* server = running.load()) server->Stop();
}

// Each connection takes a descriptor: raise the soft limit as far as the
// hard limit allows, so that the connection cap, not the limit, decides.
void AllowDescriptors(rlim_t wanted) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= wanted) return;
  limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
  ::setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace socketserver;
  Arguments arguments;
  try {
    arguments = ParseArguments(std::vector<std::string>(argv + 1, argv + argc), PortFromSettings);
  } catch (const platform::Exception& e) {
    std::fprintf(stderr, "vksocketd: %s\n%s", e.Message().c_str(), UsageText());
    return 2;
  }
  if (arguments.Help) {
    std::fputs(UsageText(), stdout);
    return 0;
  }
  if (!arguments.RegistryFile.empty()) platform::SetRegistryFile(arguments.RegistryFile);
  AllowDescriptors(arguments.Options.MaxConnections + 64);

  try {
    SocketServer server(arguments.Options);
    const int port = server.Listen();
    std::signal(SIGPIPE, SIG_IGN);
    running.store(&server);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::printf("vksocketd: listening on %s:%d\n", arguments.Options.ListenAddress.c_str(), port);
    std::fflush(stdout);
    server.Run();
    running.store(nullptr);
    std::printf("vksocketd: stopped\n");
  } catch (const platform::Exception& e) {
    std::fprintf(stderr, "vksocketd: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}

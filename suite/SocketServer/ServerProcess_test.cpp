// The vksocketd program itself: its command line, the port of the server
// settings, and what clients see when the process stops, freezes or dies.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <thread>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/remote/SocketConnection.h"
#include "suite/SocketServer/ServerArguments.h"
#include "suite/SocketServer/ServerTestSupport.h"

extern char** environ;

namespace socketserver {
namespace {

using namespace test;
using platform::CallMethod;
using platform::Variant;
using platform::remote::TSocketConnection;

TEST(ServerArgumentsTest, ReadsTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    int port;
    const char* listen;
    int workers;
    const char* registry;
    int stallSeconds;
  } cases[] = {
      {{}, 4321, "127.0.0.1", 8, "", 10},
      {{"--port", "0"}, 0, "127.0.0.1", 8, "", 10},
      {{"--port", "211", "--listen", "0.0.0.0"}, 211, "0.0.0.0", 8, "", 10},
      {{"--listen", "::1", "--workers", "2", "--registry", "/etc/vrk/suite.reg"},
       4321,
       "::1",
       2,
       "/etc/vrk/suite.reg",
       10},
      {{"--stall-timeout", "3", "--port", "65535"}, 65535, "127.0.0.1", 8, "", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    const Arguments a = ParseArguments(c.args, [] { return 4321; });
    EXPECT_EQ(a.Options.Port, c.port);
    EXPECT_EQ(a.Options.ListenAddress, c.listen);
    EXPECT_EQ(a.Options.Workers, c.workers);
    EXPECT_EQ(a.RegistryFile, c.registry);
    EXPECT_EQ(a.Options.StallTimeout, std::chrono::seconds(c.stallSeconds));
    EXPECT_FALSE(a.Help);
  }
  // The settings are read only when no port is given.
  bool asked = false;
  ParseArguments({"--port", "5"}, [&] {
    asked = true;
    return 1;
  });
  EXPECT_FALSE(asked);
  EXPECT_TRUE(ParseArguments({"--help"}, [] { return 1; }).Help);
}

TEST(ServerArgumentsTest, RefusesBadArguments) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--bogus"}, "Unknown option '--bogus'"},
      {{"211"}, "Unknown option '211'"},
      {{"--port"}, "Missing value for --port"},
      {{"--port", "65536"}, "Invalid value '65536' for --port (0 to 65535)"},
      {{"--port", "-1"}, "Invalid value '-1' for --port (0 to 65535)"},
      {{"--port", "http"}, "Invalid value 'http' for --port (0 to 65535)"},
      {{"--workers", "0"}, "Invalid value '0' for --workers (1 to 256)"},
      {{"--listen", ""}, "Missing value for --listen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      ParseArguments(c.args, [] { return 211; });
      ADD_FAILURE() << "accepted";
    } catch (const platform::EConvertError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

/* A server installation in the test folder: the suite's registry key points
   at it and its BrantorS.ini holds the given text. */
std::string InstallServerSettings(const TestClasses& classes, const std::string& settings) {
  const fs::path install = classes.Folder() / "server";
  fs::create_directories(install);
  std::ofstream(install / "BrantorS.ini") << settings;
  const std::string registry = (classes.Folder() / "suite.reg").string();
  std::ofstream reg(registry);
  reg << "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n\"ServerPath\"=\"" << install.string()
      << "\"\n\n";
  // The test classes, for the program run with this registry file.
  std::ifstream classesFile(classes.RegistryFile());
  reg << classesFile.rdbuf();
  return registry;
}

TEST(ServerArgumentsTest, PortComesFromTheServerSettings) {
  struct Case {
    const char* settings;
    int port;
  } cases[] = {
      {"[DBPasswordCtrl]\nComputerName=srv\nServerPort=2468\n", 2468},
      {"[DBPasswordCtrl]\nServerPort=port\n", 211},
      {"[DBE Setting]\nMainDBType=SQLITE\n", 211},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    TestClasses classes;
    platform::SetRegistryFile(InstallServerSettings(classes, c.settings));
    EXPECT_EQ(PortFromSettings(), c.port);
  }
  // Without the suite's registry key there are no settings to read.
  TestClasses classes;
  platform::SetRegistryFile(classes.RegistryFile());
  EXPECT_EQ(PortFromSettings(), 211);
  platform::SetRegistryFile(std::nullopt);
}

// vksocketd run as a child process, its output (stdout and stderr) read
// through a pipe.
class ServerProcess {
 public:
  ServerProcess(const std::vector<std::string>& args, const std::string& registry) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      if (std::string_view(*e).rfind("VRK_REGISTRY=", 0) != 0) env.emplace_back(*e);
    }
    env.push_back("VRK_REGISTRY=" + registry);
    std::vector<std::string> argv{std::string(VK_BIN_DIR) + "/vksocketd"};
    argv.insert(argv.end(), args.begin(), args.end());
    auto pointers = [](std::vector<std::string>& strings) {
      std::vector<char*> p;
      for (std::string& s : strings) p.push_back(s.data());
      p.push_back(nullptr);
      return p;
    };
    std::vector<char*> argp = pointers(argv);
    std::vector<char*> envp = pointers(env);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(pipeFds[1], 1);
      ::dup2(pipeFds[1], 2);
      ::execve(argp[0], argp.data(), envp.data());
      ::_exit(127);
    }
    ::close(pipeFds[1]);
    out_ = pipeFds[0];
  }

  ~ServerProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(out_);
  }

  /* The port from the line the server prints when it listens; 0 when it
     printed none within 20 s. */
  int Port() {
    const Clock::time_point deadline = Clock::now() + 20s;
    size_t end;
    while ((end = output_.find('\n')) == std::string::npos) {
      if (!ReadSome(deadline)) return 0;
    }
    const std::string line = output_.substr(0, end);
    if (line.rfind("vksocketd: listening on ", 0) != 0) return 0;
    return std::stoi(line.substr(line.rfind(':') + 1));
  }

  void Signal(int sig) { ::kill(pid_, sig); }

  /* The exit status once the process ended within 20 s (all its output read),
     or -1. */
  int Wait() {
    const Clock::time_point deadline = Clock::now() + 20s;
    while (ReadSome(deadline)) {
    }
    int status = 0;
    while (Clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

  const std::string& Output() const { return output_; }

 private:
  // False at the end of the output or at the deadline.
  bool ReadSome(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{out_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[1024];
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
};

class ServerProcessTest : public ::testing::Test {
 protected:
  std::unique_ptr<TSocketConnection> Connect(int port, std::chrono::milliseconds timeout) {
    auto connection = std::make_unique<TSocketConnection>();
    connection->SetAddress("127.0.0.1");
    connection->SetPort(port);
    connection->SetServerName("RemoteTest.Echo");
    connection->SetCallTimeout(timeout);
    connection->Open();
    return connection;
  }

  static std::string Failure(const std::function<void()>& call) {
    try {
      call();
    } catch (const platform::EOleError& e) {
      return e.Message();
    }
    return "(no error)";
  }

  TestClasses classes_;
};

TEST_F(ServerProcessTest, ServesOnTheSettingsPortAndStopsOnSigterm) {
  // A port that is free now, written to the settings.
  int port;
  {
    ServerOptions probe;
    probe.Port = 0;
    SocketServer free(probe);
    port = free.Listen();
  }
  const std::string registry = InstallServerSettings(
      classes_, "[DBPasswordCtrl]\nServerPort=" + std::to_string(port) + "\n");
  ServerProcess server({}, registry);
  ASSERT_EQ(server.Port(), port) << server.Output();
  auto connection = Connect(port, 10s);
  const Variant app = connection->AppServer();
  const int pid = platform::GetProperty(app, "ProcessId").AsInteger();
  EXPECT_NE(pid, ::getpid());

  server.Signal(SIGTERM);
  EXPECT_EQ(server.Wait(), 0) << server.Output();
  EXPECT_NE(server.Output().find("vksocketd: stopped"), std::string::npos);
  EXPECT_EQ(Failure([&] { CallMethod(app, "Echo", {Variant(int32_t{1})}); }),
            "Socket connection lost");
}

TEST_F(ServerProcessTest, ServerKilledDuringACallGivesAnErrorWithinTheDeadline) {
  ServerProcess server({"--port", "0", "--registry", classes_.RegistryFile()}, "");
  const int port = server.Port();
  ASSERT_NE(port, 0) << server.Output();
  auto connection = Connect(port, 5s);
  std::thread killer([&] {
    std::this_thread::sleep_for(300ms);
    server.Signal(SIGKILL);
  });
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(
      Failure([&] { CallMethod(connection->AppServer(), "Sleep", {Variant(int32_t{10000})}); }),
      "Socket connection lost");
  EXPECT_LT(Clock::now() - start, 5s);
  killer.join();
  EXPECT_FALSE(connection->Connected());
}

TEST_F(ServerProcessTest, FrozenServerMissesTheDeadline) {
  ServerProcess server({"--port", "0", "--registry", classes_.RegistryFile()}, "");
  const int port = server.Port();
  ASSERT_NE(port, 0) << server.Output();
  auto connection = Connect(port, 1s);
  server.Signal(SIGSTOP);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(Failure([&] { CallMethod(connection->AppServer(), "Echo", {Variant(int32_t{1})}); }),
            "Server did not answer within 1 s");
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, 1s);
  EXPECT_LT(elapsed, 3s);
}

TEST_F(ServerProcessTest, BadArgumentsEndTheProgramWithUsage) {
  ServerProcess server({"--bogus"}, "");
  EXPECT_EQ(server.Wait(), 2);
  EXPECT_NE(server.Output().find("Unknown option '--bogus'"), std::string::npos);
  EXPECT_NE(server.Output().find("usage: vksocketd"), std::string::npos);
}

TEST_F(ServerProcessTest, AnAddressInUseIsReported) {
  ServerOptions options;
  options.Port = 0;
  SocketServer holder(options);
  const int port = holder.Listen();
  ServerProcess server({"--port", std::to_string(port)}, "");
  EXPECT_EQ(server.Wait(), 1);
  EXPECT_NE(server.Output().find("Cannot listen on 127.0.0.1:" + std::to_string(port)),
            std::string::npos)
      << server.Output();
}

}  // namespace
}  // namespace socketserver

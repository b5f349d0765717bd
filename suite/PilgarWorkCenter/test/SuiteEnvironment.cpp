#include "suite/PilgarWorkCenter/test/SuiteEnvironment.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/PilgarWorkCenter/Help.h"

extern char** environ;

namespace pilgarwc::test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string InstallScript() {
  // VK_TEST_DATA_DIR is <repository>/suite/PilgarWorkCenter/testdata.
  return (fs::path(VK_TEST_DATA_DIR).parent_path().parent_path().parent_path() / "scripts" /
          "install.sh")
      .string();
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file);
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The registry value notation of a folder.
std::string RegFolder(const std::string& folder) {
  std::string escaped;
  for (const char c : folder) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return "\"" + escaped + "\"";
}

// A port nothing listens on: bound for a moment and released.
int UnusedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    Suite::Get().SetUp();
  }
  void TearDown() override {
    Suite::Get().TearDown();
    app_.reset();
  }

 private:
  int argc_ = 1;
  char name_[16] = "pilgarwc_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

const char* WayName(Way way) { return way == Way::InProcess ? "InProcess" : "Socket"; }

Suite& Suite::Get() {
  static Suite suite;
  return suite;
}

std::string Suite::ClientFolder(Way way) const {
  return way == Way::InProcess ? home_ : home_ + "socket-client/";
}

std::string Suite::RegistryFile(Way way) const {
  return way == Way::InProcess ? home_ + "registry.reg" : home_ + "socket-client/registry.reg";
}

void Suite::SetUp() {
  char pattern[] = "/tmp/vk-workcenter-XXXXXX";
  if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
  root_ = pattern;
  home_ = root_ + "/vrk/";

  // The installation exactly as the script writes it.
  const std::string command = "VRK_HOME='" + home_ + "' bash '" + InstallScript() + "' '" +
                              VK_BIN_DIR + "' >/dev/null 2>'" + root_ + "/install.log'";
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("install.sh failed: " + ReadText(root_ + "/install.log"));

  // vksocketd on the installation, on a port of its choosing.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  std::vector<std::string> args = {std::string(VK_BIN_DIR) + "/vksocketd", "--port", "0",
                                   "--registry", home_ + "registry.reg"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  serverPid_ = ::fork();
  if (serverPid_ == 0) {
    ::dup2(pipeFds[1], 1);
    ::dup2(pipeFds[1], 2);
    ::execve(argv[0], argv.data(), environ);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  serverOut_ = pipeFds[0];
  std::string output;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(20);
  while (output.find('\n') == std::string::npos && Clock::now() < deadline) {
    pollfd p{serverOut_, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char buffer[256];
    const ssize_t n = ::read(serverOut_, buffer, sizeof buffer);
    if (n <= 0) break;
    output.append(buffer, static_cast<size_t>(n));
  }
  const std::string prefix = "vksocketd: listening on ";
  if (output.rfind(prefix, 0) != 0) throw std::runtime_error("vksocketd did not start: " + output);
  port_ = std::stoi(output.substr(output.rfind(':', output.find('\n')) + 1));

  // The in-process way: the script's BrantorC.ini (127.0.0.1), with a port
  // nobody listens on.
  std::string client = ReadText(home_ + "BrantorC.ini");
  const size_t portLine = client.find("ServerPort=");
  client.replace(portLine, client.find('\n', portLine) - portLine,
                 "ServerPort=" + std::to_string(UnusedPort()));
  WriteText(home_ + "BrantorC.ini", client);

  // The socket way: a client folder of its own whose registry knows the host
  // object only.
  const std::string socketClient = ClientFolder(Way::Socket);
  fs::create_directories(socketClient);
  fs::create_directory_symlink(home_ + "Help", socketClient + "Help");
  WriteText(socketClient + "BrantorC.ini",
            "[Server Information]\nComputerName=localhost\nServerPort=" + std::to_string(port_) +
                "\n[CodePage]\nUICodePage=936\nDBCodePage=936\n");
  WriteText(RegistryFile(Way::Socket),
            "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n\"ClientPath\"=" +
                RegFolder(socketClient) + "\n\"ProfileType\"=\"0\"\n\n" +
                "[HKEY_CLASSES_ROOT\\PilgarWorkCenter.Manager]\n\"Library\"=\"" + VK_BIN_DIR +
                "/PilgarWorkCenter.dll\"\n\"Factory\"=\"CreatePilgarWorkCenter\"\n");
}

void Suite::TearDown() {
  if (serverPid_ > 0) {
    ::kill(serverPid_, SIGTERM);
    ::waitpid(serverPid_, nullptr, 0);
    serverPid_ = -1;
  }
  if (serverOut_ >= 0) ::close(serverOut_);
  platform::SetRegistryFile(std::nullopt);
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
}

void UseWay(Way way) { platform::SetRegistryFile(Suite::Get().RegistryFile(way)); }

void SuiteTest::SetUp() {
  UseWay(way_);
  platform::SetSystemCodePage(936);
  vcl::ClearShownDialogs();
}

void SuiteTest::TearDown() {
  vcl::Application->SetModalHook(nullptr);
  SetHelpOpener(nullptr);
  platform::SetSystemCodePage(std::nullopt);
  platform::SetRegistryFile(std::nullopt);
}

platform::Variant SuiteTest::NewHost() {
  return platform::Variant(platform::CreateOleObject("PilgarWorkCenter.Manager"));
}

ModalAnswers::ModalAnswers(std::function<void(vcl::TCustomForm&)> onForm)
    : onForm_(std::move(onForm)) {
  vcl::Application->SetModalHook([this](vcl::TCustomForm& form) {
    if (auto* dialog = dynamic_cast<vcl::TMessageForm*>(&form)) {
      messages_.push_back(dialog->Message()->Caption());
      for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* button = dynamic_cast<vcl::TButton*>(form.Components(i))) {
          button->Click();
          return;
        }
      return;
    }
    ++forms_;
    onForm_(form);
  });
}

ModalAnswers::~ModalAnswers() { vcl::Application->SetModalHook(nullptr); }

}  // namespace pilgarwc::test

#include "framework/test/Environment.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace framework_test {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file);
}

}  // namespace

Suite& Suite::Get() {
  static Suite suite;
  return suite;
}

void Suite::Start() {
  if (!home_.empty()) return;
  char pattern[] = "/tmp/vk-framework-XXXXXX";
  if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
  root_ = pattern;
  home_ = root_ + "/vrk/";

  // VK_TEST_DATA_DIR is <repository>/src/framework/testdata.
  const std::string script = (fs::path(VK_TEST_DATA_DIR).parent_path().parent_path().parent_path() /
                              "scripts" / "install.sh")
                                 .string();
  const std::string command = "VRK_HOME='" + home_ + "' bash '" + script + "' '" + VK_BIN_DIR +
                              "' >/dev/null 2>'" + root_ + "/install.log'";
  if (std::system(command.c_str()) != 0)
    throw std::runtime_error("install.sh failed: " + ReadText(root_ + "/install.log"));

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
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (output.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
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
}

std::string Suite::ClientRegistry(const std::string& address, int port) {
  Start();
  const std::string client = home_ + "client" + std::to_string(++clients_) + "/";
  fs::create_directories(client);
  WriteText(client + "BrantorC.ini", "[Server Information]\nComputerName=" + address +
                                         "\nServerPort=" + std::to_string(port) +
                                         "\n[CodePage]\nUICodePage=936\nDBCodePage=936\n");
  // The installation's registry file with this client folder in place of
  // the installation's own.
  std::string registry = ReadText(home_ + "registry.reg");
  const std::string key = "\"ClientPath\"=\"" + home_ + "\"";
  const size_t at = registry.find(key);
  if (at == std::string::npos) throw std::runtime_error("no ClientPath in the registry file");
  registry.replace(at, key.size(), "\"ClientPath\"=\"" + client + "\"");
  WriteText(client + "registry.reg", registry);
  return client + "registry.reg";
}

void Suite::TearDown() {
  if (serverPid_ > 0) {
    ::kill(serverPid_, SIGTERM);
    ::waitpid(serverPid_, nullptr, 0);
    serverPid_ = -1;
  }
  if (serverOut_ >= 0) ::close(serverOut_);
  serverOut_ = -1;
  std::error_code ignored;
  if (!root_.empty()) fs::remove_all(root_, ignored);
  root_.clear();
  home_.clear();
}

}  // namespace framework_test

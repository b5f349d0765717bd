#include "suite/DesktopHost/test/Installation.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/core/Registry.h"

extern char** environ;

namespace DesktopHostTest {

namespace fs = std::filesystem;

namespace {

std::string& Root() {
  static std::string root;
  return root;
}

std::string& HomeFolder() {
  static std::string home;
  return home;
}

std::string ReadText(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
    char pattern[] = "/tmp/vk-desktop-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
    Root() = pattern;
    HomeFolder() = Root() + "/vrk/";
    // VK_TEST_DATA_DIR is <repository>/suite/DesktopHost/testdata.
    const std::string script =
        (fs::path(VK_TEST_DATA_DIR).parent_path().parent_path().parent_path() / "scripts" /
         "install.sh")
            .string();
    const std::string command = "VRK_HOME='" + HomeFolder() + "' bash '" + script + "' '" +
                                VK_BIN_DIR + "' >/dev/null 2>'" + Root() + "/install.log'";
    if (std::system(command.c_str()) != 0)
      throw std::runtime_error("install.sh failed: " + ReadText(Root() + "/install.log"));
    platform::SetRegistryFile(RegistryFile());
  }
  void TearDown() override {
    platform::SetRegistryFile(std::nullopt);
    std::error_code ignored;
    fs::remove_all(Root(), ignored);
    app_.reset();
  }

 private:
  int argc_ = 1;
  char name_[20] = "desktop_host_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

// Reads both pipes until the child closes them or the deadline passes.
void Drain(int out, int err, std::string& output, std::string& errors,
           std::chrono::steady_clock::time_point deadline) {
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  int open = 2;
  while (open > 0 && std::chrono::steady_clock::now() < deadline) {
    if (::poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        fds[i].fd = -1;
        --open;
        continue;
      }
      (i == 0 ? output : errors).append(buffer, static_cast<size_t>(n));
    }
  }
}

}  // namespace

const std::string& Home() { return HomeFolder(); }
std::string RegistryFile() { return HomeFolder() + "registry.reg"; }

std::string ProgramLibrary(bool compat) {
  return std::string(VK_BIN_DIR) + (compat ? "/compat/PVQR82C.dll" : "/PVQR82C.dll");
}

std::vector<bool> ProgramBuilds() {
  if (VK_WITH_COMPAT) return {false, true};
  return {false};
}

std::string TestLibrary(const std::string& fileName) {
  return std::string(VK_BIN_DIR) + "/entry-testlib/" + fileName;
}

std::vector<std::string> TRun::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(Output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TRun RunDesktop(const std::vector<std::string>& arguments, const std::string& input,
                int timeoutSeconds) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC))
    throw std::runtime_error("pipe");
  std::vector<std::string> args = {std::string(VK_BIN_DIR) + "/vkdesk"};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"VRK_REGISTRY=" + RegistryFile(), "QT_QPA_PLATFORM=offscreen",
                                  "LANG=C.UTF-8"};
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("VRK_", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
        entry.rfind("LANG=", 0) == 0)
      continue;
    env.push_back(entry);
  }
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  if (!input.empty()) {
    const ssize_t written = ::write(in[1], input.data(), input.size());
    (void)written;
  }
  ::close(in[1]);
  TRun run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  Drain(out[0], err[0], run.Output, run.Errors, deadline);
  ::close(out[0]);
  ::close(err[0]);
  int status = 0;
  if (std::chrono::steady_clock::now() >= deadline) ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace DesktopHostTest

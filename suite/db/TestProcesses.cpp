#include "suite/db/TestProcesses.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace suitedb {

namespace {

// The name of an entry "NAME=VALUE" (or of a bare "NAME").
std::string NameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

// This process's environment with Overrides put in place of the variables
// of the same names; a bare "NAME" among them leaves the variable out.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> env;
  for (const std::string& o : overrides)
    if (o.find('=') != std::string::npos) env.push_back(o);
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = NameOf(entry);
    bool replaced = false;
    for (const std::string& o : overrides) replaced = replaced || NameOf(o) == name;
    if (!replaced) env.push_back(entry);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& t : texts) pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Reads both pipes until the child closes them or the deadline passes;
// false when the deadline passed first.
bool Drain(int out, int err, std::string& output, std::string& errors,
           std::chrono::steady_clock::time_point deadline) {
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (::poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[8192];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n <= 0) {
        fds[i].fd = -1;
        --open;
        continue;
      }
      (i == 0 ? output : errors).append(buffer, static_cast<size_t>(n));
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> TRun::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(Output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TRun Run(const std::string& program, const std::vector<std::string>& arguments,
         const std::vector<std::string>& environment, const std::string& input,
         int timeoutSeconds) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) || ::pipe2(out, O_CLOEXEC) || ::pipe2(err, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  std::vector<std::string> args = {program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<std::string> env = ChildEnvironment(environment);
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
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
  // Scenarios are small: the pipe takes them whole before the child reads.
  if (!input.empty() && ::write(in[1], input.data(), input.size()) < 0) {
    // The child is gone already; its exit code tells why.
  }
  ::close(in[1]);
  TRun run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  run.TimedOut = !Drain(out[0], err[0], run.Output, run.Errors, deadline);
  ::close(out[0]);
  ::close(err[0]);
  if (run.TimedOut) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

TSocketDaemon::TSocketDaemon(const std::string& program, const std::string& registryFile) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::vector<std::string> args = {program, "--port", "0", "--registry", registryFile};
  std::vector<std::string> env = ChildEnvironment({"VRK_REGISTRY=" + registryFile});
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    ::dup2(out[1], 1);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(out[1]);
  // The first line tells the address: "vksocketd: listening on HOST:PORT".
  std::string line;
  char c;
  pollfd fd = {out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && ::poll(&fd, 1, 10000) > 0 &&
         ::read(out[0], &c, 1) == 1)
    line += c;
  ::close(out[0]);
  const size_t colon = line.rfind(':');
  if (line.rfind("vksocketd: listening on ", 0) != 0 || colon == std::string::npos) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    throw std::runtime_error("vksocketd did not start: " + line);
  }
  port_ = std::stoi(line.substr(colon + 1));
}

TSocketDaemon::~TSocketDaemon() {
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

TDefaultInstallation::TDefaultInstallation(const std::string& binFolder,
                                           const std::string& prefix) {
  std::string pattern = std::filesystem::temp_directory_path().string() + "/" + prefix + "-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  home_ = root_ + "/vrk/";
  const TRun run = Run("/bin/bash", {VK_INSTALL_SCRIPT, binFolder}, {"VRK_HOME=" + home_});
  if (run.ExitCode != 0) {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    throw std::runtime_error("install.sh failed: " + run.Errors);
  }
}

TDefaultInstallation::~TDefaultInstallation() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

}  // namespace suitedb

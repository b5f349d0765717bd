#pragma once

// Child processes of the end-to-end tests: a program run to its end with its
// output captured, and vksocketd kept running for a while.

#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

/* How a child process ended and what it printed. */
struct TRun {
  int ExitCode = -1;   // 128 + signal when it was killed
  std::string Output;  // standard output
  std::string Errors;  // standard error
  bool TimedOut = false;
  std::vector<std::string> Lines() const;
};

/* Runs Program with Arguments and standard input Input, with Environment
   (entries "NAME=VALUE") in place of the variables of the same names of this
   process. The child is killed after TimeoutSeconds. Raises
   std::runtime_error when the child cannot be started. */
TRun Run(const std::string& program, const std::vector<std::string>& arguments,
         const std::vector<std::string>& environment, const std::string& input = {},
         int timeoutSeconds = 60);

/* vksocketd on a port of its own choosing (--port 0), serving the classes of
   RegistryFile, from construction to destruction (SIGTERM, then waited for).
   Raises std::runtime_error when it does not say where it listens. */
class TSocketDaemon {
 public:
  TSocketDaemon(const std::string& program, const std::string& registryFile);
  ~TSocketDaemon();
  TSocketDaemon(const TSocketDaemon&) = delete;
  TSocketDaemon& operator=(const TSocketDaemon&) = delete;

  int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace e2e

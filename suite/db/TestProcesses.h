#pragma once

// Child processes for the tests and measurements of the suite's programs: a
// program run to its end with its output captured, vksocketd kept running
// for a while, and the default installation scripts/install.sh writes.

#include <sys/types.h>

#include <string>
#include <vector>

namespace suitedb {

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
   process; an entry "NAME" without "=" leaves that variable out. The child
   is killed after TimeoutSeconds. Raises std::runtime_error when the child
   cannot be started. */
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

/* The suite's default installation, written by scripts/install.sh for the
   programs of BinFolder into a new temporary folder named after Prefix
   ("/tmp/<prefix>-XXXXXX"): client and server on this machine, the server
   object made in process. The folder is removed on destruction. Raises
   std::runtime_error, with what the script printed on standard error, when
   the script fails. */
class TDefaultInstallation {
 public:
  TDefaultInstallation(const std::string& binFolder, const std::string& prefix);
  ~TDefaultInstallation();
  TDefaultInstallation(const TDefaultInstallation&) = delete;
  TDefaultInstallation& operator=(const TDefaultInstallation&) = delete;

  const std::string& Root() const { return root_; }  // the temporary folder
  const std::string& Home() const { return home_; }  // Root() + "/vrk/"
  std::string RegistryFile() const { return home_ + "registry.reg"; }

 private:
  std::string root_;
  std::string home_;
};

}  // namespace suitedb

#pragma once

#include <memory>
#include <string>

#include "suite/db/TestProcesses.h"

namespace framework_test {

/* The suite around the window for the server tests: one default
   installation written by scripts/install.sh into a temporary folder (made
   on first use, removed at the end), and the socket server vksocketd
   serving it on a port of its choosing. */
class Suite {
 public:
  static Suite& Get();

  /* Installs and starts the socket server the first time; throws when
     either fails. */
  void Start();
  void TearDown();

  /* The installation folder, ending in "/". */
  const std::string& Home() const { return installation_->Home(); }
  int Port() const { return server_->Port(); }
  /* A registry file naming Home as client and server folder, registering
     the suite's classes, with a BrantorC.ini in a client folder of its own
     that names Address and Port as the application server. */
  std::string ClientRegistry(const std::string& address, int port);

 private:
  std::unique_ptr<suitedb::TDefaultInstallation> installation_;
  std::unique_ptr<suitedb::TSocketDaemon> server_;
  int clients_ = 0;
};

}  // namespace framework_test

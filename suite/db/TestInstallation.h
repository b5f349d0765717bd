#pragma once

#include <string>

#include "suite/db/Database.h"

namespace suitedb {

/* A throw-away server installation for tests: a folder holding
   "BrantorS.ini" (database type SQLITE, the database file "suite.db"), a
   work folder "S_PKG/", a seeded database, and a registry file that names
   the folder as ServerPath and registers the suite's modules
   ("ReportCounterS.dmReportCounter", "PilgarServerS.dmSystem") from
   binFolder. The registry file is put in place (SetRegistryFile) for the
   object's lifetime and the folder is removed afterwards. The seeded
   database is made once per process and size and copied for each object. */
class TestInstallation {
 public:
  explicit TestInstallation(const std::string& binFolder, double factor = 0.05);
  ~TestInstallation();
  TestInstallation(const TestInstallation&) = delete;
  TestInstallation& operator=(const TestInstallation&) = delete;

  const std::string& Folder() const { return folder_; }  // ending in "/"
  std::string DatabaseFile() const { return folder_ + "suite.db"; }
  std::string RegistryFile() const { return folder_ + "registry.reg"; }
  /* A connection of the test's own to the installation's database. */
  Database Open() const { return Database::Open(DatabaseFile()); }

 private:
  std::string folder_;
};

}  // namespace suitedb

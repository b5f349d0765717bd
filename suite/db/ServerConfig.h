#pragma once

#include <string>
#include <vector>

#include "suite/db/Database.h"

namespace suitedb {

/* What the server side needs from the suite's configuration (the registry
   value "ServerPath" and "BrantorS.ini"): the database file and the work
   folders. */
struct ServerConfig {
  std::string InstallPath;   // ending in "/"
  std::string DatabaseType;  // [DBE Setting] MainDBType, upper case
  /* [DBE Setting] MainDBName; a relative name is taken from InstallPath. */
  std::string DatabaseFile;
  std::vector<std::string> WorkFolders;  // each ending in "/"
  /* Empty when the configuration can be used; otherwise why not (a missing
     registry key, no database file, a database type other than SQLITE). */
  std::string Error;
};

/* Reads the configuration now (the registry file and the settings file as
   they are at this moment). Never raises; problems go to Error. */
ServerConfig LoadServerConfig();

/* Opens the configured database (which must exist). Raises
   platform::Exception with the configuration's Error, or DbError. */
Database OpenServerDatabase();

}  // namespace suitedb

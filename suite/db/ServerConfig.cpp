#include "suite/db/ServerConfig.h"

#include "platform/core/SysUtils.h"
#include "runtime/BrantorINI.h"

namespace suitedb {

ServerConfig LoadServerConfig() {
  ServerConfig config;
  try {
    const BrantorINI::TBrantorIniS ini;
    config.InstallPath = ini.InstallPath;
    for (const std::string& folder : ini.WorkDLLPaths.Strings())
      config.WorkFolders.push_back(platform::IncludeTrailingPathDelimiter(folder));
    if (!ini.Loaded || ini.InstallPath.empty()) {
      config.Error = "the server installation is not configured (registry value ServerPath" +
                     std::string(ini.LastError.empty() ? "" : ", " + ini.LastError) + ")";
      return config;
    }
    config.DatabaseType = platform::UpperCase(platform::Trim(ini.DBSettings.At(0, 3).AsString()));
    std::string name = platform::Trim(ini.DBSettings.At(0, 4).AsString());
    if (config.DatabaseType != "SQLITE") {
      config.Error = "main database type " + config.DatabaseType + " is not supported (SQLITE)";
    } else if (name.empty()) {
      config.Error = "no main database file ([DBE Setting] MainDBName in " + ini.IniFileName + ")";
    } else {
      config.DatabaseFile = name[0] == '/' ? name : ini.InstallPath + name;
    }
  } catch (const std::exception& e) {
    config.Error = e.what();
  }
  return config;
}

Database OpenServerDatabase() {
  const ServerConfig config = LoadServerConfig();
  if (!config.Error.empty()) throw platform::Exception(config.Error);
  return Database::Open(config.DatabaseFile);
}

}  // namespace suitedb

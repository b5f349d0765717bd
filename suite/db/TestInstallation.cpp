#include "suite/db/TestInstallation.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>

#include "platform/core/Registry.h"
#include "suite/db/Seed.h"

namespace suitedb {

namespace fs = std::filesystem;

namespace {

std::string NewFolder(const std::string& stem) {
  std::random_device random;
  const fs::path folder = fs::temp_directory_path() / (stem + std::to_string(random()));
  fs::create_directories(folder);
  return folder.string() + "/";
}

// One seeded database per size, made at first use and removed at exit.
std::string TemplateDatabase(double factor) {
  static std::mutex mutex;
  struct Templates {
    std::string Folder = NewFolder("vk-suite-template-");
    std::map<double, std::string> Files;
    ~Templates() {
      std::error_code ignored;
      fs::remove_all(Folder, ignored);
    }
  };
  static Templates templates;
  const std::lock_guard lock(mutex);
  auto found = templates.Files.find(factor);
  if (found != templates.Files.end()) return found->second;
  const std::string file =
      templates.Folder + "seed-" + std::to_string(templates.Files.size()) + ".db";
  SeedOptions options;
  options.Factor = factor;
  CreateDatabase(file, options);
  // Fold the write-ahead log into the file, so that a plain copy is complete.
  Database::Open(file).ExecScript("PRAGMA wal_checkpoint(TRUNCATE)");
  return templates.Files[factor] = file;
}

}  // namespace

TestInstallation::TestInstallation(const std::string& binFolder, double factor)
    : folder_(NewFolder("vk-suite-")) {
  fs::copy_file(TemplateDatabase(factor), DatabaseFile());
  fs::create_directories(folder_ + "S_PKG");
  {
    std::ofstream ini(folder_ + "BrantorS.ini");
    ini << "[DBE Setting]\nMainDBType=SQLITE\nMainDBName=suite.db\n"
        << "[DBPasswordCtrl]\nServerPort=211\n";
  }
  {
    std::ofstream reg(RegistryFile());
    reg << "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\n"
        << "\"ServerPath\"=\"" << folder_ << "\"\n"
        << "\"ClientPath\"=\"" << folder_ << "\"\n"
        << "\"ProfileType\"=\"0\"\n\n"
        << "[HKEY_CLASSES_ROOT\\ReportCounterS.dmReportCounter]\n"
        << "\"Library\"=\"" << binFolder << "/ReportCounterS.dll\"\n"
        << "\"Factory\"=\"CreateReportCounterS\"\n\n"
        << "[HKEY_CLASSES_ROOT\\PilgarServerS.dmSystem]\n"
        << "\"Library\"=\"" << binFolder << "/PilgarServerS.dll\"\n"
        << "\"Factory\"=\"CreatePilgarServerS\"\n";
  }
  platform::SetRegistryFile(RegistryFile());
}

TestInstallation::~TestInstallation() {
  platform::SetRegistryFile(std::nullopt);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

}  // namespace suitedb

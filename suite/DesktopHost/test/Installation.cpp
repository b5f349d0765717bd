#include "suite/DesktopHost/test/Installation.h"

#include <memory>

#include <gtest/gtest.h>

#include "platform/core/Registry.h"

extern char** environ;

namespace DesktopHostTest {

namespace {

std::unique_ptr<suitedb::TDefaultInstallation>& Installed() {
  static std::unique_ptr<suitedb::TDefaultInstallation> installation;
  return installation;
}

// The installation for the whole program; the Qt application comes from
// platform_vcl_test_main.
class Environment : public ::testing::Environment {
 public:
  void SetUp() override {
    Installed() = std::make_unique<suitedb::TDefaultInstallation>(VK_BIN_DIR, "vk-desktop");
    platform::SetRegistryFile(RegistryFile());
  }
  void TearDown() override {
    platform::SetRegistryFile(std::nullopt);
    Installed().reset();
  }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

const std::string& Home() { return Installed()->Home(); }
std::string RegistryFile() { return Installed()->RegistryFile(); }

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

TRun RunDesktop(const std::vector<std::string>& arguments, const std::string& input,
                int timeoutSeconds) {
  std::vector<std::string> environment = {"VRK_REGISTRY=" + RegistryFile(),
                                          "QT_QPA_PLATFORM=offscreen", "LANG=C.UTF-8"};
  // The installation's registry file alone says where things are.
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("VRK_", 0) == 0 && entry.rfind("VRK_REGISTRY=", 0) != 0)
      environment.push_back(entry.substr(0, entry.find('=')));
  }
  return suitedb::Run(std::string(VK_BIN_DIR) + "/vkdesk", arguments, environment, input,
                      timeoutSeconds);
}

}  // namespace DesktopHostTest

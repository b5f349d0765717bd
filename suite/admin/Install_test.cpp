// The default installation written by scripts/install.sh: its registry file
// must bring up both server classes on its seeded database, and running the
// script again must keep everything as it is.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"

namespace {

namespace fs = std::filesystem;
using platform::Variant;

std::string Script() {
  // VK_TEST_DATA_DIR is <repository>/suite/admin/testdata.
  return (fs::path(VK_TEST_DATA_DIR).parent_path().parent_path().parent_path() / "scripts" /
          "install.sh")
      .string();
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the script; returns its exit status and its standard output.
int Install(const fs::path& home, std::string& output) {
  const std::string command =
      "VRK_HOME='" + home.string() + "' bash '" + Script() + "' '" + VK_BIN_DIR + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  output.clear();
  char buffer[1024];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  return pclose(pipe);
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    home_ = fs::temp_directory_path() / ("vk-install-" + std::to_string(random())) / "vrk";
  }
  void TearDown() override {
    platform::SetRegistryFile(std::nullopt);
    std::error_code ignored;
    fs::remove_all(home_.parent_path(), ignored);
  }
  fs::path home_;
};

TEST_F(InstallTest, WritesAWorkingInstallationOnceAndKeepsIt) {
  std::string output;
  ASSERT_EQ(Install(home_, output), 0);
  const std::string registry = (home_ / "registry.reg").string();
  EXPECT_EQ(output, "VRK_REGISTRY=" + registry + "\n");
  for (const char* file : {"BrantorC.ini", "BrantorS.ini", "registry.reg", "vrk.db"})
    EXPECT_TRUE(fs::exists(home_ / file)) << file;
  const std::string client = ReadFile(home_ / "BrantorC.ini");
  for (const char* line :
       {"ComputerName=127.0.0.1", "ServerPort=211", "UICodePage=936", "DBCodePage=936"})
    EXPECT_NE(client.find(line), std::string::npos) << line;
  EXPECT_NE(ReadFile(home_ / "BrantorS.ini").find("MainDBType=SQLITE"), std::string::npos);

  platform::SetRegistryFile(registry);
  Variant system = platform::CreateOleObject("PilgarServerS.dmSystem");
  EXPECT_FALSE(platform::CallMethod(system, "GetMessage", {Variant("I"), Variant("000004")})
                   .AsString()
                   .empty());
  Variant server = platform::CreateOleObject("ReportCounterS.dmReportCounter");
  EXPECT_EQ(
      platform::CallMethod(
          server, "InsertConTable",
          {platform::VarArrayOf({Variant("kept"), Variant("DS"), Variant("20240305"),
                                 Variant("PVQR82"), Variant("p;"), Variant("v"), Variant(false)})})
          .AsString(),
      "");

  const std::string before = ReadFile(home_ / "registry.reg") + ReadFile(home_ / "BrantorS.ini");
  ASSERT_EQ(Install(home_, output), 0);
  EXPECT_EQ(output, "VRK_REGISTRY=" + registry + "\n");
  EXPECT_EQ(ReadFile(home_ / "registry.reg") + ReadFile(home_ / "BrantorS.ini"), before);
  // The database was kept: the scheme stored above is still there.
  std::vector<Variant> args = {
      Variant("GENES"), Variant("01"), Variant(""),
      platform::VarArrayOf({Variant("kept"), Variant("DS"), Variant("PVQR82")}), Variant()};
  EXPECT_TRUE(platform::CallMethod(system, "CheckValue", args).AsBoolean());
}

TEST_F(InstallTest, RefusesABinFolderWithoutTheModules) {
  const std::string command = "VRK_HOME='" + home_.string() + "' bash '" + Script() + "' '" +
                              home_.parent_path().string() + "' >/dev/null 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_FALSE(fs::exists(home_ / "registry.reg"));
}

}  // namespace

#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/core/CodePage.h"
#include "platform/core/DateTime.h"
#include "platform/core/Registry.h"

namespace runtime_test {

const std::string kData = VK_TEST_DATA_DIR "/";

/* Gives each test a world of its own: a fresh temporary folder holding the
   registry file (empty until SetRegistry), the installation folders and the
   temporary folder ($TMPDIR); the GB code page; a fixed clock at
   2024-03-05 14:07:09.045; the format settings put back afterwards. */
class SandboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "runtime-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/";
    platform::SetRegistryFile(dir_ + "registry.reg");
    platform::SetSystemCodePage(936);
    savedSettings_ = platform::GlobalFormatSettings();
    if (const char* tmp = std::getenv("TMPDIR")) savedTmpDir_ = tmp;
    std::filesystem::create_directories(dir_ + "tmp");
    setenv("TMPDIR", (dir_ + "tmp").c_str(), 1);
    SetClock(platform::ComposeDateTime(platform::EncodeDate(2024, 3, 5),
                                       platform::EncodeTime(14, 7, 9, 45)));
  }

  void TearDown() override {
    clock_.reset();
    if (savedTmpDir_) {
      setenv("TMPDIR", savedTmpDir_->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    platform::GlobalFormatSettings() = savedSettings_;
    platform::SetSystemCodePage(std::nullopt);
    platform::SetRegistryFile(std::nullopt);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  void SetClock(platform::DateTime moment) {
    clock_.reset();
    clock_.emplace([moment] { return moment; });
  }

  /* A full path inside the sandbox. */
  std::string Path(const std::string& relative) const { return dir_ + relative; }

  /* Writes bytes to a file of the sandbox, creating its folders. */
  std::string WriteFile(const std::string& relative, const std::string& bytes) const {
    const std::filesystem::path path = dir_ + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
    return path.string();
  }

  /* Copies a checked-in fixture file into the sandbox. */
  std::string CopyFixture(const std::string& fixture, const std::string& relative) const {
    std::ifstream in(kData + fixture, std::ios::binary);
    EXPECT_TRUE(in.good()) << fixture;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return WriteFile(relative, bytes.str());
  }

  static std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  /* One string value in registry export notation. */
  static std::string RegValue(const std::string& name, const std::string& value) {
    std::string escaped;
    for (char c : value) {
      if (c == '\\' || c == '"') escaped += '\\';
      escaped += c;
    }
    return "\"" + name + "\"=\"" + escaped + "\"\r\n";
  }

  /* Makes the suite's key exist with the given values (RegValue lines). */
  void SetRegistry(const std::string& values) const {
    WriteFile("registry.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\VRK\\Brantor]\r\n" +
                  values);
  }

  std::string dir_;

 private:
  std::optional<platform::ScopedClock> clock_;
  platform::FormatSettings savedSettings_;
  std::optional<std::string> savedTmpDir_;
};

}  // namespace runtime_test

#include "runtime/VkMsg.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "runtime/RuntimeTestSupport.h"

namespace VkMsg {
namespace {

const std::string kStamp = "[2024/03/05 14:07:09] ";
const std::string kHyphens(34, '-');

class VkMsgTest : public runtime_test::SandboxTest {
 protected:
  // The alert log of the sandbox's day under a base folder.
  std::optional<std::string> AlertLog(const std::string& base) const {
    return ReadFile(base + "/Log/Alert_KORALGenerator_20240305.log");
  }
  // What WriteAlert puts in the file for these texts.
  static std::string Lines(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts) out += kStamp + text + "\r\n";
    return out;
  }
};

TEST_F(VkMsgTest, AlertBasePathPrefersTheRegistryThenTheTemporaryFolder) {
  const struct {
    std::string values;
    std::string expected;
  } cases[] = {
      {RegValue("ClientPath", "/c") + RegValue("ServerPath", "/s"), "/c"},
      {RegValue("ServerPath", "D:\\VRK\\Server"), "D:/VRK/Server"},
      {RegValue("ClientPath", "") + RegValue("ServerPath", ""), Path("tmp/")},
  };
  EXPECT_EQ(GetAlertBasePath(), Path("tmp/"));  // no key
  for (const auto& c : cases) {
    SetRegistry(c.values);
    EXPECT_EQ(GetAlertBasePath(), c.expected) << c.values;
  }
  // A temporary folder longer than the system hands out is no answer.
  setenv("TMPDIR", ("/" + std::string(300, 'x')).c_str(), 1);
  EXPECT_EQ(GetAlertBasePath(), "/tmp");
}

TEST_F(VkMsgTest, WriteAlertAppendsToTheDailyAlertLog) {
  SetRegistry(RegValue("ClientPath", Path("client")));
  ASSERT_TRUE(WriteAlert("first"));
  ASSERT_TRUE(WriteAlert("second"));
  EXPECT_EQ(AlertLog(Path("client")), Lines({"first", "second"}));
}

TEST_F(VkMsgTest, WriteAlertWithoutRegistryUsesTheTemporaryFolder) {
  ASSERT_TRUE(WriteAlert("no key"));
  EXPECT_EQ(AlertLog(Path("tmp")), Lines({"no key"}));
}

TEST_F(VkMsgTest, WriteAlertReportsAnUnwritableFolder) {
  WriteFile("blocker", "x");
  SetRegistry(RegValue("ClientPath", Path("blocker")));
  EXPECT_FALSE(WriteAlert("lost"));
}

TEST_F(VkMsgTest, ExceptionReportNamesTheErrorByItsClass) {
  SetRegistry(RegValue("ClientPath", Path("client")));
  const platform::EWin32Error win32("M", 5);
  const platform::EInOutError io("Disk full", 112);
  const platform::EDBEngineError db({{10024, "Table is busy"}, {8708, "Lock failed"}});
  const platform::EDBEngineError noEntries({});
  const platform::EConvertError percent("'50%' is not a valid integer value");
  const platform::Exception plain("plain");
  const platform::EOleException ole("Access denied", "Host.Object");
  const struct {
    const char* what;
    const platform::Exception* e;
    const char* title;
    const char* programmer;
    std::vector<std::string> lines;
  } cases[] = {
      {"os error",
       &win32,
       "T",
       "P",
       {kHyphens + " on T " + kHyphens, "讯息信息:", "EWin32Error Error 01: Code: 5, Message: M",
        "ErrorMessage Count: 1", "Programer Message: P"}},
      {"io error",
       &io,
       "",
       "",
       {kHyphens + kHyphens, "讯息信息:", "EInOutError Error 01: Code: 112, Message: Disk full",
        "ErrorMessage Count: 1"}},
      {"database error",
       &db,
       "Open",
       "",
       {kHyphens + " on Open " + kHyphens,
        "讯息信息:", "EDBEngineError Error 01: Code: 10024, Message: Table is busy",
        "EDBEngineError Error 02: Code: 8708, Message: Lock failed", "ErrorMessage Count: 2"}},
      {"database error without entries",
       &noEntries,
       "",
       "",
       {kHyphens + kHyphens, "讯息信息:", "ErrorMessage Count: 0"}},
      {"other error, message with a percent sign",
       &percent,
       "",
       "",
       {kHyphens + kHyphens,
        "讯息信息:", "Exception is EConvertError\r\nMessage 01: '50%' is not a valid integer value",
        "ErrorMessage Count: 1"}},
      {"the base class",
       &plain,
       "",
       "",
       {kHyphens + kHyphens, "讯息信息:", "Exception is Exception\r\nMessage 01: plain",
        "ErrorMessage Count: 1"}},
      {"a subclass by its own name",
       &ole,
       "",
       "",
       {kHyphens + kHyphens, "讯息信息:", "Exception is EOleException\r\nMessage 01: Access denied",
        "ErrorMessage Count: 1"}},
      {"no error, blank title", nullptr, "   ", "", {kHyphens + kHyphens}},
      {"no error, programmer message",
       nullptr,
       "",
       "解析 Sa 时发生错误!",
       {kHyphens + kHyphens, "Programer Message: 解析 Sa 时发生错误!"}},
      {"blank programmer message", nullptr, "T", " \t", {kHyphens + " on T " + kHyphens}},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(Path("client/Log"));
    FormatExceptionReport(c.e, c.title, c.programmer);
    EXPECT_EQ(AlertLog(Path("client")), Lines(c.lines)) << c.what;
  }
}

TEST_F(VkMsgTest, ExceptionReportToAnUnwritableFolderDoesNotRaise) {
  WriteFile("blocker", "x");
  SetRegistry(RegValue("ClientPath", Path("blocker")));
  const platform::EWin32Error e("M", 5);
  EXPECT_NO_THROW(FormatExceptionReport(&e, "T", "P"));
}

}  // namespace
}  // namespace VkMsg

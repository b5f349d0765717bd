// vkdesk as automation runs it: scenarios replayed headless in a child
// process, against the tests' program TSTQR1 (its window answers without a
// server) and against PVQR82 on the default installation, in both builds.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "suite/DesktopHost/test/Installation.h"

namespace {

using DesktopHostTest::RunDesktop;
using DesktopHostTest::TRun;
using DesktopHostTest::Utf8;

std::vector<std::string> TestProgram() {
  return {"--modules", std::string(VK_BIN_DIR) + "/entry-testlib", "--script", "-"};
}

// The lines of Run that start with one of the prefixes, in order.
std::vector<std::string> Only(const TRun& run, const std::vector<std::string>& prefixes) {
  std::vector<std::string> kept;
  for (const std::string& line : run.Lines())
    for (const std::string& prefix : prefixes)
      if (line.rfind(prefix, 0) == 0) {
        kept.push_back(line);
        break;
      }
  return kept;
}

std::string Describe(const TRun& run) {
  return "exit " + std::to_string(run.ExitCode) + "\n--- stdout\n" + run.Output + "--- stderr\n" +
         run.Errors;
}

TEST(ScriptedMode, DrivesTheWindowItsDialogsAndAnswers) {
  const TRun run =
      RunDesktop(TestProgram(), Utf8(u8"open TSTQR1\n"
                                     "expect-notice 256 272\n"
                                     "set edPrintDate.Text 20240131\n"
                                     "expect edPrintDate.Text 20240131\n"
                                     "click btnAsk\n"
                                     "set edAnswer.Text \"答案 一\"\n"  // in the dialog
                                     "click btnOk\n"
                                     "expect Caption \"答案 一\"\n"
                                     "answer No\n"
                                     "click btnOk\n"
                                     "expect-message 提交吗\n"
                                     "answer Yes\n"
                                     "click btnOk\n"
                                     "expect-notice 304\n"
                                     "expect-result 1 J0001\n"));
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(Only(run, {"notice", "execute", "modal", "message", "outcome"}),
            (std::vector<std::string>{
                "notice 256 created ResultCode=0 ResultValue=<unassigned>",
                "execute -> 0",
                "notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                Utf8(u8"modal TForm \"问题\""),
                "modal end TForm -> 1",
                Utf8(u8"message Confirmation \"Confirmation\" \"提交吗?\" -> No"),
                Utf8(u8"message Confirmation \"Confirmation\" \"提交吗?\" -> Yes"),
                "notice 304 destroyed ResultCode=1 ResultValue=\"J0001\"",
                "outcome ResultCode=1 ResultValue=\"J0001\" notices=3 messages=2 failures=0",
            }))
      << Describe(run);
}

TEST(ScriptedMode, ModalWindowRunsTheFollowingLines) {
  const TRun run = RunDesktop(TestProgram(),
                              "open TSTQR1 modal\n"
                              "info\n"
                              "click btnCancel\n"
                              "echo after\n");
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(Only(run, {"notice", "modal", "info", "after", "outcome"}),
            (std::vector<std::string>{
                "notice 256 created ResultCode=0 ResultValue=<unassigned>",
                "notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                "modal TfrmTestWindow \"frmBaseGene\"",
                Utf8(u8"info -> 0 [\"DS\", \"VRK\", \"TSTQR1\", \"测试程序\"]"),
                "modal end TfrmTestWindow -> 2",
                "notice 288 hidden ResultCode=0 ResultValue=<unassigned>",
                "modal -> 2",
                // The window frees itself when messages run after the line.
                "notice 304 destroyed ResultCode=2 ResultValue=<unassigned>",
                "after",
                "outcome ResultCode=2 ResultValue=<unassigned> notices=4 messages=0 failures=0",
            }))
      << Describe(run);
}

TEST(ScriptedMode, BadInputCasesOfTheProtocol) {
  const TRun run = RunDesktop(TestProgram(),
                              "open TSTQR1\n"
                              "execute\n"  // twice on the same window
                              "hide\n"
                              "show\n"
                              "free-controller\n"  // with its window open
                              "open TSTQR1 nonotify\n"
                              "close\n");
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(Only(run, {"notice", "execute", "controller", "outcome"}),
            (std::vector<std::string>{
                "controller \"TDLLRPCtrller\" from \"" + std::string(VK_BIN_DIR) +
                    "/entry-testlib/TSTQR1C.dll\"",
                "notice 256 created ResultCode=0 ResultValue=<unassigned>",
                "execute -> 0",
                "notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                "execute -> -1",
                "notice 288 hidden ResultCode=0 ResultValue=<unassigned>",
                "notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                "notice 304 destroyed ResultCode=0 ResultValue=<unassigned>",
                "controller freed",
                // The second controller has no handler: nothing more is heard.
                "controller \"TDLLRPCtrller\" from \"" + std::string(VK_BIN_DIR) +
                    "/entry-testlib/TSTQR1C.dll\"",
                "execute -> 0",
                "outcome ResultCode=0 ResultValue=<unassigned> notices=5 messages=0 failures=0",
            }))
      << Describe(run);
}

TEST(ScriptedMode, ExitCodesOfFailedExpectationsAndErrors) {
  const struct {
    const char* scenario;
    int exitCode;
    const char* line;
  } cases[] = {
      {"open TSTQR1\nexpect-result 1\necho never\n", 1,
       "FAIL line 2: expected ResultCode 1, found 0"},
      {"open TSTQR1\nexpect-message nothing\n", 1, "FAIL line 2: no message with \"nothing\""},
      {"open TSTQR1\nexpect-notice 304\n", 1, "FAIL line 2: no notice 304 in order"},
      {"open TSTQR1\nclick btnMissing\n", 2, "error line 2: no component \"btnMissing\""},
      {"key F2\n", 2, "error line 1: no program window"},
      {"open TSTQR1\nkey Hyper+Q\n", 2, "error line 2: unknown key \"Hyper+Q\""},
      {"menu miNothing\n", 2, "error line 1: no menu item \"miNothing\""},
      {"open TSTQR1\nset Caption\n", 2, nullptr},  // refused before it runs
  };
  for (const auto& c : cases) {
    const TRun run = RunDesktop(TestProgram(), c.scenario);
    EXPECT_EQ(run.ExitCode, c.exitCode) << c.scenario << Describe(run);
    if (!c.line) {
      EXPECT_NE(run.Errors.find("\"set\" takes 2 arguments"), std::string::npos) << Describe(run);
      EXPECT_EQ(run.Output, "") << Describe(run);
      continue;
    }
    const auto lines = run.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end())
        << c.scenario << Describe(run);
    // The run stops there, and still ends with its outcome.
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "never"), lines.end());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("outcome ", 0), 0u) << Describe(run);
  }
}

class ProgramScenario : public ::testing::TestWithParam<bool> {
 protected:
  std::vector<std::string> Arguments() const {
    std::vector<std::string> args = {"--script", "-"};
    if (GetParam()) args.push_back("--compat");
    return args;
  }
};

// Cancel leaves ResultCode 2 in the controller when notice 304 comes.
TEST_P(ProgramScenario, OpensPVQR82FromTheMenuAndClosesByCancel) {
  const TRun run = RunDesktop(Arguments(), Utf8(u8"menu \"PVQR82 进货单明细表\"\n"
                                                "expect-notice 256 272\n"
                                                "info\n"
                                                "key Ctrl+Tab\n"
                                                "key Ctrl+Tab\n"
                                                "click btnCancel\n"
                                                "expect-notice 304\n"
                                                "expect-result 2\n"));
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(Only(run, {"notice", "execute", "info", "version", "message", "outcome"}),
            (std::vector<std::string>{
                "notice 256 created ResultCode=0 ResultValue=<unassigned>",
                "execute -> 0",
                "notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                Utf8(u8"info -> 0 [\"DS\", \"VRK\", \"PVQR82\", \"进货单明细表\"]"),
                "version \"870401-0.00.00\"",
                "notice 304 destroyed ResultCode=2 ResultValue=<unassigned>",
                "outcome ResultCode=2 ResultValue=<unassigned> notices=3 messages=0 failures=0",
            }))
      << Describe(run);
}

// Fewer than five parameters: E;000038, and since a message is on the trail
// the window does not connect (E;000006); Execute fails, the window is not
// shown and goes as soon as messages run.
TEST_P(ProgramScenario, ShortParameterArrayShowsItsMessageAndCloses) {
  const TRun run = RunDesktop(Arguments(), Utf8(u8"open PVQR82 params=3\n"
                                                "expect-message 主程序传入的参数不完整\n"
                                                "expect-message 无法连接应用服务器\n"
                                                "expect-notice 256 304\n"));
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(Only(run, {"notice", "execute"}),
            (std::vector<std::string>{
                "notice 256 created ResultCode=0 ResultValue=<unassigned>",
                "execute -> -1",
                "notice 304 destroyed ResultCode=0 ResultValue=<unassigned>",
            }))
      << Describe(run);
}

// The demonstration scripts/run.sh runs where there is no display.
TEST_P(ProgramScenario, DemonstrationRunsThrough) {
  std::vector<std::string> args = Arguments();
  args[1] =
      (std::filesystem::path(VK_TEST_DATA_DIR).parent_path() / "scenarios" / "demo.txt").string();
  const TRun run = RunDesktop(args, "");
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  EXPECT_EQ(run.Lines().back(),
            "outcome ResultCode=2 ResultValue=<unassigned> notices=3 messages=0 failures=0")
      << Describe(run);
}

INSTANTIATE_TEST_SUITE_P(Builds, ProgramScenario,
                         ::testing::ValuesIn(DesktopHostTest::ProgramBuilds()),
                         [](const auto& info) { return info.param ? "Compat" : "Current"; });

TEST(DesktopWindow, ScreenshotOfTheOpenedProgram) {
  const std::string file = DesktopHostTest::Home() + "shot.png";
  const TRun run = RunDesktop({"--user", "DS", "--company", "VRK", "--db", "VRKDEMO", "--open",
                               "PVQR82", "--screenshot", file, "--delay", "500"},
                              "");
  ASSERT_EQ(run.ExitCode, 0) << Describe(run);
  std::ifstream png(file, std::ios::binary);
  char magic[4] = {};
  png.read(magic, 4);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  EXPECT_GT(std::filesystem::file_size(file), 10000u);
  EXPECT_EQ(Only(run, {"notice 272", "screenshot"}),
            (std::vector<std::string>{"notice 272 shown ResultCode=0 ResultValue=<unassigned>",
                                      "screenshot " + file}));
}

}  // namespace

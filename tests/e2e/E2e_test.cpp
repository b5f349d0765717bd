// The goods-receipt list end to end: each scenario of scenarios/ is replayed
// by the desktop host (vkdesk --script) against a default installation
// written by scripts/install.sh into a temporary folder; the jobs it
// submitted are read back with "vkadmin job ID" and held, element by
// element, against the scenario's expected requests, and the host's
// transcript (notices, results, messages, outcome) against the expected one.
//
// A scenario is NAME.txt (the host's scenario language) and NAME.json:
//   "vkdesk":     extra arguments of vkdesk (for example ["--compat"]);
//   "server":     "embedded" (default: the server object in process) or
//                 "socket" (vksocketd, with BrantorC.ini pointing at it);
//   "displays":   ["xvfb"] runs it a second time on an X display of its own
//                 (xvfb-run, the xcb platform), beside the headless run;
//   "transcript": the host's lines that start with notice, execute, modal,
//                 message or outcome (and any FAIL or error line), in order;
//                 "$job1", "$job2", ... stand for the identifiers of the
//                 jobs the scenario submitted, in order;
//   "jobs":       the stored request of each job, as vkadmin prints it;
//                 "$now" stands for the time of the run, "$any" for anything.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "suite/db/Json.h"
#include "suite/db/TestProcesses.h"
#include "tests/e2e/RequestMatch.h"

namespace {

namespace fs = std::filesystem;
using suitedb::Json;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string Bin(const std::string& program) { return std::string(VK_BIN_DIR) + "/" + program; }

// The installation every scenario runs against, written once.
class Installation : public ::testing::Environment {
 public:
  static const fs::path& Home() { return home_; }
  static std::string RegistryFile() { return (home_ / "registry.reg").string(); }
  static std::vector<std::string> Environment() {
    return {"VRK_REGISTRY=" + RegistryFile(), "VRK_HOME=" + home_.string(), "VRK_CODEPAGE=936",
            "QT_QPA_PLATFORM=offscreen", "LANG=C.UTF-8"};
  }

  void SetUp() override {
    installation_ = std::make_unique<suitedb::TDefaultInstallation>(VK_BIN_DIR, "vk-e2e");
    home_ = fs::path(installation_->Root()) / "vrk";
  }
  void TearDown() override { installation_.reset(); }

 private:
  std::unique_ptr<suitedb::TDefaultInstallation> installation_;
  static inline fs::path home_;
};

const auto* const kInstallation = ::testing::AddGlobalTestEnvironment(new Installation);

// The client settings pointed at vksocketd for as long as the object lives.
class SocketServer {
 public:
  SocketServer()
      : daemon_(Bin("vksocketd"), Installation::RegistryFile()),
        settings_(Installation::Home() / "BrantorC.ini"),
        saved_(ReadFile(settings_)) {
    std::string text = saved_;
    text = std::regex_replace(text, std::regex("ComputerName=[^\r\n]*"), "ComputerName=localhost");
    text = std::regex_replace(text, std::regex("ServerPort=[^\r\n]*"),
                              "ServerPort=" + std::to_string(daemon_.Port()));
    WriteFile(settings_, text);
  }
  ~SocketServer() {
    try {
      WriteFile(settings_, saved_);
    } catch (const std::exception&) {
      // The installation is thrown away at the end anyway.
    }
  }

 private:
  suitedb::TSocketDaemon daemon_;
  fs::path settings_;
  std::string saved_;
};

suitedb::TRun Admin(const std::vector<std::string>& args) {
  return suitedb::Run(Bin("vkadmin"), args, Installation::Environment());
}

// Identifiers of the goods-receipt jobs stored so far, oldest first.
std::vector<std::string> JobIds() {
  const suitedb::TRun run = Admin({"jobs", "--program", "PVQR82"});
  if (run.ExitCode != 0) throw std::runtime_error("vkadmin jobs failed: " + run.Errors);
  std::vector<std::string> ids;
  const std::vector<std::string> lines = run.Lines();
  // A title line, one line a job, a count line.
  for (size_t i = 1; i + 1 < lines.size(); ++i)
    ids.push_back(lines[i].substr(0, lines[i].find(' ')));
  return ids;
}

// The lines of the host's output a scenario states.
std::vector<std::string> Transcript(const suitedb::TRun& run) {
  static const char* const kPrefixes[] = {"notice ",  "execute ", "modal", "message ",
                                          "outcome ", "FAIL ",    "error "};
  std::vector<std::string> kept;
  for (const std::string& line : run.Lines())
    for (const char* prefix : kPrefixes)
      if (line.rfind(prefix, 0) == 0) {
        kept.push_back(line);
        break;
      }
  return kept;
}

std::string Substitute(std::string line, const std::vector<std::string>& ids) {
  for (size_t i = ids.size(); i > 0; --i) {
    const std::string mark = "$job" + std::to_string(i);
    for (size_t at; (at = line.find(mark)) != std::string::npos;)
      line.replace(at, mark.size(), ids[i - 1]);
  }
  return line;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "  " + line + "\n";
  return text;
}

// A program found on the PATH, or "" when there is none.
std::string OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    const fs::path candidate = fs::path(folders.substr(start, end - start)) / program;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    start = end + 1;
  }
  return "";
}

// One run of a scenario: headless (the offscreen platform) or on an X
// display of its own (Xvfb), as its "displays" list asks; headless only
// when it has none.
struct TScenarioRun {
  std::string Name;
  bool Xvfb = false;
};

std::vector<TScenarioRun> ScenarioRuns() {
  std::vector<TScenarioRun> runs;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(VK_E2E_SCENARIOS))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    runs.push_back({name, false});
    try {
      const Json expected = Json::Parse(ReadFile(fs::path(VK_E2E_SCENARIOS) / (name + ".json")));
      if (const Json* displays = expected.Find("displays"))
        for (const Json& d : displays->Items())
          if (d.AsString() == "xvfb") runs.push_back({name, true});
    } catch (const std::exception&) {
      // The headless run reports the file.
    }
  }
  return runs;
}

class Scenario : public ::testing::TestWithParam<TScenarioRun> {};

TEST_P(Scenario, StoredRequestsAndTranscriptAreTheExpectedOnes) {
  const fs::path folder = VK_E2E_SCENARIOS;
  const fs::path script = folder / (GetParam().Name + ".txt");
  const Json expected = Json::Parse(ReadFile(folder / (GetParam().Name + ".json")));

  std::string program = Bin("vkdesk");
  std::vector<std::string> args = {"--script", script.string()};
  if (const Json* extra = expected.Find("vkdesk"))
    for (const Json& a : extra->Items()) args.push_back(a.AsString());
  if (!VK_WITH_COMPAT && std::find(args.begin(), args.end(), "--compat") != args.end())
    GTEST_SKIP() << "the compatibility build is not part of this build";
  std::vector<std::string> environment = Installation::Environment();
  if (GetParam().Xvfb) {
    const std::string xvfb = OnPath("xvfb-run");
    if (xvfb.empty()) GTEST_SKIP() << "xvfb-run is not installed";
    args.insert(args.begin(), {"-a", "-s", "-screen 0 1024x768x24", program});
    program = xvfb;
    for (std::string& variable : environment)
      if (variable.rfind("QT_QPA_PLATFORM=", 0) == 0) variable = "QT_QPA_PLATFORM=xcb";
  }
  std::optional<SocketServer> socket;
  const Json* server = expected.Find("server");
  if (server && server->AsString() == "socket") socket.emplace();

  const std::vector<std::string> before = JobIds();
  e2e::TTimeWindow window;
  window.From = e2e::NowAsDate();
  const suitedb::TRun run = suitedb::Run(program, args, environment);
  window.To = e2e::NowAsDate();
  socket.reset();
  const std::string output = "--- vkdesk exit " + std::to_string(run.ExitCode) + "\n" + run.Output +
                             "--- stderr\n" + run.Errors;
  ASSERT_FALSE(run.TimedOut) << output;
  EXPECT_EQ(run.ExitCode, 0) << output;

  std::vector<std::string> ids = JobIds();
  ASSERT_GE(ids.size(), before.size());
  ASSERT_TRUE(std::equal(before.begin(), before.end(), ids.begin()));
  ids.erase(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(before.size()));

  // The host's side: notices with the outcome they carried, messages, results.
  std::vector<std::string> wanted;
  for (const Json& line : expected.Find("transcript")->Items())
    wanted.push_back(Substitute(line.AsString(), ids));
  const std::vector<std::string> found = Transcript(run);
  EXPECT_EQ(found, wanted) << "expected:\n"
                           << Joined(wanted) << "found:\n"
                           << Joined(found) << output;

  // The server's side: every job the scenario submitted, as stored.
  const std::vector<Json>& jobs = expected.Find("jobs")->Items();
  ASSERT_EQ(ids.size(), jobs.size()) << "jobs submitted:\n" << Joined(ids) << output;
  static const std::regex kJobId("[0-9]{8}[0-9]{14}");
  for (size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE("job " + std::to_string(i + 1) + " " + ids[i]);
    EXPECT_TRUE(std::regex_match(ids[i], kJobId)) << ids[i];
    const suitedb::TRun job = Admin({"job", ids[i]});
    ASSERT_EQ(job.ExitCode, 0) << job.Errors;
    const std::vector<std::string> differences =
        e2e::CompareRequest(jobs[i], Json::Parse(job.Output), window);
    EXPECT_TRUE(differences.empty()) << Joined(differences) << "stored:\n" << job.Output;
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Scenario, ::testing::ValuesIn(ScenarioRuns()),
                         [](const auto& info) {
                           return info.param.Name + (info.param.Xvfb ? "_OnXvfb" : "");
                         });

}  // namespace

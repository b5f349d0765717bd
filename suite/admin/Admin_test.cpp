#include "suite/admin/Admin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "platform/core/Dispatch.h"
#include "suite/db/TaggedJson.h"
#include "suite/db/TestInstallation.h"

namespace suiteadmin {
namespace {

using platform::VarArrayOf;
using platform::Variant;

Variant Request(const char16_t* user, const char16_t* program) {
  Variant env = platform::VarArrayCreate({{1, 12}});
  env[1] = Variant(program);
  env[2] = Variant(int32_t{12});
  env[3] = Variant(int32_t{1});
  env[4] = Variant(u"VRK");
  env[5] = Variant(user);
  env[6] = Variant(u"VRKDEMO");
  env[7] = Variant(platform::DateTime{45356.5});
  env[10] = Variant(int32_t{0});
  Variant captions = platform::VarArrayCreate({{1, 1}});
  captions[1] = VarArrayOf({Variant(u"选择进货单号"), Variant(u"sp01")});
  Variant values = platform::VarArrayCreate({{1, 1}});
  values[1] = VarArrayOf({Variant(u"\x04"), Variant(u"3401-24010100001"), Variant("\xB7\xBD")});
  return VarArrayOf({env, captions, values});
}

class AdminTest : public ::testing::Test {
 protected:
  std::string Submit(const Variant& request) {
    Variant server = platform::CreateOleObject("ReportCounterS.dmReportCounter");
    const std::string id = platform::CallMethod(server, "Request", {request}).AsString();
    EXPECT_NE(id, "ERROR");
    return id;
  }
  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunAdmin(args, out_, err_);
  }

  suitedb::TestInstallation install_{VK_BIN_DIR};
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(AdminTest, JobPrintsTheStoredRequestAsReadableJson) {
  const Variant request = Request(u"U001", u"PVQR82");
  const std::string id = Submit(request);
  ASSERT_EQ(Run({"job", id}), 0) << err_.str();
  const std::string printed = out_.str();
  EXPECT_EQ(suitedb::JsonTextToVariant(printed), request);
  EXPECT_NE(printed.find(reinterpret_cast<const char*>(u8"选择进货单号")), std::string::npos);
  EXPECT_NE(printed.find('\n'), printed.size() - 1) << "not broken over lines";

  // The program itself, reading the configuration through the environment.
  const std::string command =
      "VRK_REGISTRY='" + install_.RegistryFile() + "' '" VK_BIN_DIR "/vkadmin' job " + id;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string fromProgram;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) fromProgram.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0);
  EXPECT_EQ(fromProgram, printed);

  EXPECT_EQ(Run({"job", "00000000"}), 1);
  EXPECT_NE(err_.str().find("no job 00000000"), std::string::npos);
}

TEST_F(AdminTest, JobsListsAndFilters) {
  const std::string first = Submit(Request(u"U001", u"PVQR82"));
  const std::string second = Submit(Request(u"U002", u"PVQR82"));
  const std::string third = Submit(Request(u"U001", u"purr01"));
  struct Case {
    std::vector<std::string> Args;
    std::vector<std::string> Shown;
    std::vector<std::string> Hidden;
    const char* Count;
  };
  const Case cases[] = {
      {{"jobs"}, {first, second, third}, {}, "3 jobs"},
      {{"jobs", "--user", "u002"}, {second}, {first, third}, "1 job\n"},
      {{"jobs", "--program", "PURR01"}, {third}, {first, second}, "1 job\n"},
      {{"jobs", "--user", "U001", "--program", "PVQR82"}, {first}, {second, third}, "1 job\n"},
      {{"--db", install_.DatabaseFile(), "jobs", "--user", "NOBODY"}, {}, {first}, "0 jobs"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Run(c.Args), 0) << err_.str();
    const std::string listing = out_.str();
    EXPECT_EQ(listing.rfind("JOB", 0), 0u) << listing;
    for (const std::string& id : c.Shown) EXPECT_NE(listing.find(id), std::string::npos) << listing;
    for (const std::string& id : c.Hidden)
      EXPECT_EQ(listing.find(id), std::string::npos) << listing;
    EXPECT_NE(listing.find(c.Count), std::string::npos) << listing;
  }
  ASSERT_EQ(Run({"jobs"}), 0);
  EXPECT_LT(out_.str().find(first), out_.str().find(third)) << "oldest first";
  EXPECT_NE(out_.str().find(" Q "), std::string::npos) << "status column";
}

TEST_F(AdminTest, InitCreatesASeededDatabaseOnce) {
  const std::string file = install_.Folder() + "new.db";
  ASSERT_EQ(Run({"--db", file, "init", "--factor", "0.02", "--seed", "9"}), 0) << err_.str();
  EXPECT_NE(out_.str().find("receipt lines"), std::string::npos);
  suitedb::Database db = suitedb::Database::Open(file);
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM supplier", {}), "10");
  EXPECT_EQ(db.QueryText("SELECT count(*) FROM message WHERE msg_type = 'E'", {}), "11");
  EXPECT_EQ(Run({"--db", file, "init"}), 1);
  EXPECT_NE(err_.str().find("already exists"), std::string::npos);
}

TEST_F(AdminTest, RefusesArgumentsOutsideTheUsage) {
  const std::vector<std::string> cases[] = {
      {},
      {"bogus"},
      {"job"},
      {"jobs", "--factor", "2"},
      {"init", "--factor", "many"},
      {"init", "--user", "U001"},
      {"jobs", "--user"},
      {"--db"},
      {"job", "1", "2"},
  };
  for (const auto& args : cases) {
    EXPECT_EQ(Run(args), 2) << testing::PrintToString(args);
    EXPECT_NE(err_.str().find("usage:"), std::string::npos);
  }
}

}  // namespace
}  // namespace suiteadmin

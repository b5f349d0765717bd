#include "suite/admin/Admin.h"

#include <cstdlib>
#include <iomanip>
#include <optional>

#include "suite/db/Database.h"
#include "suite/db/Seed.h"
#include "suite/db/ServerConfig.h"
#include "suite/db/TaggedJson.h"

namespace suiteadmin {

namespace {

constexpr char kUsage[] =
    "usage: vkadmin [--db FILE] jobs [--user U] [--program P]\n"
    "       vkadmin [--db FILE] job ID\n"
    "       vkadmin [--db FILE] init [--factor F] [--seed N]\n";

struct Options {
  std::string Db;
  std::string Command;
  std::string JobId;
  std::string User;
  std::string Program;
  suitedb::SeedOptions Seed;
};

// Reads the arguments; nullopt when they do not fit the usage.
std::optional<Options> Parse(const std::vector<std::string>& args) {
  Options o;
  size_t i = 0;
  auto value = [&](std::string& target) {
    if (i + 1 >= args.size()) return false;
    target = args[++i];
    return true;
  };
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--db") {
      if (!value(o.Db)) return std::nullopt;
    } else if (a == "--user" && o.Command == "jobs") {
      if (!value(o.User)) return std::nullopt;
    } else if (a == "--program" && o.Command == "jobs") {
      if (!value(o.Program)) return std::nullopt;
    } else if ((a == "--factor" || a == "--seed") && o.Command == "init") {
      std::string text;
      if (!value(text)) return std::nullopt;
      char* end = nullptr;
      if (a == "--factor")
        o.Seed.Factor = std::strtod(text.c_str(), &end);
      else
        o.Seed.Seed = std::strtoull(text.c_str(), &end, 10);
      if (text.empty() || *end) return std::nullopt;
    } else if (o.Command.empty() && (a == "jobs" || a == "job" || a == "init")) {
      o.Command = a;
    } else if (o.Command == "job" && o.JobId.empty() && !a.empty() && a[0] != '-') {
      o.JobId = a;
    } else {
      return std::nullopt;
    }
  }
  if (o.Command.empty() || (o.Command == "job" && o.JobId.empty())) return std::nullopt;
  return o;
}

std::string DatabaseFile(const Options& o) {
  if (!o.Db.empty()) return o.Db;
  const suitedb::ServerConfig config = suitedb::LoadServerConfig();
  if (!config.Error.empty()) throw platform::Exception(config.Error);
  return config.DatabaseFile;
}

void ListJobs(suitedb::Database& db, const Options& o, std::ostream& out) {
  suitedb::Statement jobs = db.Prepare(
      "SELECT job_id, user_id, program_code, status, created_at, updated_at, run_at, "
      "operation FROM job WHERE (?1 = '' OR user_id = ?1 COLLATE NOCASE) "
      "AND (?2 = '' OR program_code = ?2 COLLATE NOCASE) ORDER BY seq");
  jobs.BindAll({o.User, o.Program});
  const int widths[] = {24, 10, 9, 7, 20, 20, 20, 0};
  const char* titles[] = {"JOB",     "USER",    "PROGRAM", "STATUS",
                          "CREATED", "UPDATED", "RUN AT",  "OPERATION"};
  auto line = [&](auto cell) {
    for (int c = 0; c < 8; ++c) {
      const std::string text = cell(c);
      out << text;
      if (widths[c] > static_cast<int>(text.size()))
        out << std::string(static_cast<size_t>(widths[c]) - text.size(), ' ');
      else if (c < 7)
        out << ' ';
    }
    out << '\n';
  };
  line([&](int c) { return std::string(titles[c]); });
  int count = 0;
  while (jobs.Step()) {
    line([&](int c) { return jobs.ColumnText(c); });
    ++count;
  }
  out << count << (count == 1 ? " job\n" : " jobs\n");
}

int ShowJob(suitedb::Database& db, const Options& o, std::ostream& out, std::ostream& err) {
  const std::optional<std::string> stored =
      db.QueryText("SELECT request_json FROM job WHERE job_id = ?", {o.JobId});
  if (!stored) {
    err << "vkadmin: no job " << o.JobId << "\n";
    return 1;
  }
  out << suitedb::Json::Parse(*stored).Pretty() << "\n";
  return 0;
}

}  // namespace

int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::optional<Options> options = Parse(args);
  if (!options) {
    err << kUsage;
    return 2;
  }
  try {
    const std::string file = DatabaseFile(*options);
    if (options->Command == "init") {
      const suitedb::SeedCounts counts = suitedb::CreateDatabase(file, options->Seed);
      out << file << ": " << counts.Plants << " plants, " << counts.Currencies << " currencies, "
          << counts.Suppliers << " suppliers, " << counts.Items << " items, " << counts.Receipts
          << " receipts, " << counts.ReceiptLines << " receipt lines\n";
      return 0;
    }
    suitedb::Database db = suitedb::Database::Open(file);
    if (options->Command == "jobs") {
      ListJobs(db, *options, out);
      return 0;
    }
    return ShowJob(db, *options, out, err);
  } catch (const std::exception& e) {
    err << "vkadmin: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace suiteadmin

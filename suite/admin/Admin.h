#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace suiteadmin {

/* The administration commands of the suite's server (arguments without the
   program name):
     [--db FILE] jobs [--user U] [--program P]   list jobs, newest last
     [--db FILE] job ID                          one job's stored request, as
                                                 pretty-printed tagged JSON
     [--db FILE] init [--factor F] [--seed N]    create and seed the database
   Without --db the database is the configured one (registry value
   ServerPath, BrantorS.ini). Output is UTF-8. Returns the exit code: 0 done,
   1 failed (message on err), 2 bad arguments (usage on err). */
int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace suiteadmin

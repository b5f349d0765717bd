// vkadmin: administration of the suite's server database (jobs, set-up).
// See Admin.h for the commands.

#include <iostream>
#include <string>
#include <vector>

#include "suite/admin/Admin.h"

int main(int argc, char** argv) {
  return suiteadmin::RunAdmin(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                              std::cerr);
}

#pragma once

// The world the host's tests run in: a headless Qt application and one
// default installation written by scripts/install.sh into a temporary
// folder (client and server on this machine, the server object made in
// process), whose registry file is in place for the whole test program.

#include <string>
#include <string_view>
#include <vector>

#include "suite/db/TestProcesses.h"

namespace DesktopHostTest {

/* A UTF-8 text from a u8"" literal (narrow literals here are GB bytes). */
inline std::string Utf8(std::u8string_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

/* The installation folder, ending in "/". */
const std::string& Home();
/* Its registry file (what VRK_REGISTRY names for a child process). */
std::string RegistryFile();

/* The libraries the tests load: the program PVQR82 in the current or the
   compatibility build, and the test libraries of src/entry. */
std::string ProgramLibrary(bool compat);
/* The builds to run a test with: false for the current one, true for the
   compatibility one when it is part of this build. */
std::vector<bool> ProgramBuilds();
std::string TestLibrary(const std::string& fileName);

/* What a child process printed and how it ended. */
using TRun = suitedb::TRun;
/* Runs vkdesk with Arguments, Input on its standard input, in the test
   installation, headless, without the VRK_ variables of this process; it is
   killed after TimeoutSeconds. */
TRun RunDesktop(const std::vector<std::string>& arguments, const std::string& input,
                int timeoutSeconds = 60);

}  // namespace DesktopHostTest

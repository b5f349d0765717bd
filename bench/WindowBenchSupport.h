#pragma once

// What the measurements of the program window share: the samples and their
// median, the start of a run (arguments, headless, GB code page), and the
// program loaded in a desktop host as vkdesk loads it.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"
#include "suite/DesktopHost/PluginHost.h"

namespace benchsupport {

/* Milliseconds of each measured run, by name: the benchmarks add to it, the
   report at the end reads it. */
std::map<std::string, std::vector<double>>& Samples();

/* The median of Values; 0 when there are none. */
double Median(std::vector<double> values);

/* Takes "--compat" out of the arguments (argc counts what is left), makes
   the run headless unless QT_QPA_PLATFORM is set and puts it on the GB code
   page unless VRK_CODEPAGE is set, then initialises Google Benchmark and the
   application of the component layer with the rest. Argc must outlive the
   application. Returns whether "--compat" was given. */
bool StartWindowBenchmark(int& argc, char** argv);

/* A desktop host of the suite's host object, logged in as the demonstration
   user, with PVQR82C.dll of the current or the compatibility build loaded
   from the program folder. Raises std::runtime_error with the host's reason
   when the library does not load. */
std::unique_ptr<DesktopHost::TPluginHost> LoadProgram(bool compat);

/* The window the host's controller shows, found from its handle; nullptr
   when there is none. */
vcl::TCustomForm* ProgramWindow(DesktopHost::TPluginHost& host);

}  // namespace benchsupport

// A stand-in for a report's server work library. Its controller records
// every run, one line per run, in the file named by $VK_SERVER_MODULE_LOG:
// the arguments' texts separated by "|" (arrays in brackets). A run whose
// job identifier is "FAIL" or "FAILQUIET" raises; MessageText answers "ran
// <job>" after a run, "failed FAIL" after a failing "FAIL", and "" after a
// failing "FAILQUIET" and before any run.

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/core/Dispatch.h"

namespace {

using platform::Variant;

std::string Render(const Variant& value) {
  if (!value.IsArray()) return platform::VarToStr(value);
  std::string text = "[";
  for (int32_t i = value.LowBound(); i <= value.HighBound(); ++i)
    text += (i > value.LowBound() ? "|" : "") + Render(value[i]);
  return text + "]";
}

class Controller : public platform::AutoObject {
 public:
  Controller() : AutoObject("Test.ServerController") {
    AddMethod("Run", 1, 1, [this](std::vector<Variant>& a) {
      const std::string job = platform::VarToStr(a[0][0]);
      if (const char* log = std::getenv("VK_SERVER_MODULE_LOG"))
        std::ofstream(log, std::ios::app) << Render(a[0]) << "\n";
      if (job == "FAIL" || job == "FAILQUIET") {
        message_ = job == "FAIL" ? "failed " + job : "";
        throw platform::Exception("module run failed");
      }
      message_ = "ran " + job;
      return Variant();
    });
    AddMethod("MessageText", 0, 0, [this](std::vector<Variant>&) { return Variant(message_); });
  }

 private:
  std::string message_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) void GetSvrController(
    platform::DispatchPtr* result) {
  *result = std::make_shared<Controller>();
}

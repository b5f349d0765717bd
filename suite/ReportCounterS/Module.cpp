// The module's one export: the factory the object registry calls for the
// classes registered with this library.

#include <strings.h>

#include <memory>

#include "suite/ReportCounterS/ReportCounter.h"

extern "C" __attribute__((visibility("default"))) void CreateReportCounterS(
    const char* className, platform::DispatchPtr* result) {
  if (strcasecmp(className, reportcounter::ReportCounter::kClassName) == 0)
    *result = std::make_shared<reportcounter::ReportCounter>();
  else
    *result = nullptr;
}

// The module's one export: the factory the object registry calls for the
// classes registered with this library.

#include <strings.h>

#include <memory>

#include "suite/PilgarServerS/SystemService.h"

extern "C" __attribute__((visibility("default"))) void CreatePilgarServerS(
    const char* className, platform::DispatchPtr* result) {
  if (strcasecmp(className, pilgar::SystemService::kClassName) == 0)
    *result = std::make_shared<pilgar::SystemService>();
  else
    *result = nullptr;
}

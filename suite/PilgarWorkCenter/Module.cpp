// The module's one export: the factory the object registry calls for the
// class registered with this library ("PilgarWorkCenter.Manager").

#include <strings.h>

#include "suite/PilgarWorkCenter/WorkCenter.h"

extern "C" __attribute__((visibility("default"))) void CreatePilgarWorkCenter(
    const char* className, platform::DispatchPtr* result) {
  if (strcasecmp(className, pilgarwc::Manager::kClassName) == 0)
    *result = pilgarwc::NewHostObject();
  else
    *result = nullptr;
}

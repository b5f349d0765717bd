#include "platform/core/Dispatch.h"

extern "C" __attribute__((visibility("default"))) void CreateTestObject(const char*, platform::DispatchPtr* result) { *result = nullptr; }

#pragma once

#include "entry/DLLBaseCtrller.h"

/* The library's one export. Everything else in the library is hidden. */
extern "C" {

/* A new controller of the class in DLLControllerClass, made with the plain
   object constructor (no window, fields zero or unassigned); the host owns
   it and frees it with delete. Raises platform::Exception "VRK DLL Internal
   Error :\rNot Assign "DLLControllerClass" varible" when no controller
   class is registered. */
__attribute__((visibility("default"))) DLLBaseCtrller::TDLLBaseController* GetController();
}

/* The type a host looks the export up as (dlsym "GetController"). */
using TGetController = DLLBaseCtrller::TDLLBaseController* (*)();

#include "entry/DLLFunc.h"

#include <string>

#include "platform/core/Exception.h"

DLLBaseCtrller::TDLLBaseController* GetController() {
  if (!DLLBaseCtrller::DLLControllerClass)
    throw platform::Exception(std::string("VRK DLL Internal Error :") + '\r' +
                              "Not Assign \"DLLControllerClass\" varible");
  return DLLBaseCtrller::DLLControllerClass->Create();
}

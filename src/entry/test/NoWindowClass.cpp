// A program library whose main block registers the controller but no window
// class: Execute must raise "VRK DLL Internal Error" to the host.
#include "entry/DLLRPCtrller.h"

namespace {
const bool kLoaded = (DLLRPCtrller::InitializeUnit(), true);
}  // namespace

// A program library whose units register no controller class: GetController
// must raise "VRK DLL Internal Error" to the host that loads it.
#include "entry/DLLFunc.h"

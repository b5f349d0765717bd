// The library of the test program "TSTQR1" (TSTQR1C.dll): the report
// controller with the tests' own option window, so that a host can be tested
// across the library boundary without an application server.
#include "entry/DLLRPCtrller.h"
#include "entry/test/TestWindow.h"

namespace {

void LibraryMain() {
  DLLRPCtrller::InitializeUnit();
  DLLRPCtrller::frmBaseGeneClass = DLLRPCtrller::FormClassOf<EntryTest::TfrmTestWindow>();
}

const bool kLoaded = (LibraryMain(), true);

}  // namespace

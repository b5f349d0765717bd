// The library PVQR82C.dll: its main block and its version record.
//
// Loading the library runs the unit initialisation of DLLRPCtrller (the
// controller class) and then the main block (the window class), in that
// order, from one static initialiser of this file. GetController is the only
// symbol the library exports.

#include "entry/DLLFunc.h"
#include "entry/DLLRPCtrller.h"
#include "report/Pvqr82CF.h"

// The version record, read from the file by the module's properties dialog
// and by `readelf -n`: an ELF note of owner "VRK", type 1, whose descriptor
// is NUL-separated Name=Value entries. The current build is 9.0.0.0 / 9.0,
// the compatibility build 7.0.0.0 / 7.0.
#if VK_COMPAT_BUILD
#define VK_FILE_VERSION "7.0.0.0"
#define VK_PRODUCT_VERSION "7.0"
#else
#define VK_FILE_VERSION "9.0.0.0"
#define VK_PRODUCT_VERSION "9.0"
#endif
asm(".pushsection .note.vrk.version,\"a\",@note\n"
    ".balign 4\n"
    ".long 4\n"
    ".long 2f - 1f\n"
    ".long 1\n"
    ".asciz \"VRK\"\n"
    "1: .ascii \"FileVersion=" VK_FILE_VERSION
    "\\0\"\n"
    ".ascii \"ProductVersion=" VK_PRODUCT_VERSION
    "\\0\"\n"
    ".ascii \"InternalName=PVQR82C\\0\"\n"
    ".ascii \"OriginalFilename=PVQR82C.dll\\0\"\n"
    "2: .balign 4\n"
    ".popsection\n");

namespace {

void LibraryMain() {
  DLLRPCtrller::InitializeUnit();
  DLLRPCtrller::frmBaseGeneClass = DLLRPCtrller::FormClassOf<Pvqr82CF::TfrmPvqr82>();
}

[[maybe_unused]] const bool kLoaded = (LibraryMain(), true);

}  // namespace

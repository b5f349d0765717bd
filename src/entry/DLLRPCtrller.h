#pragma once

#include <optional>
#include <string>

#include "entry/DLLBaseCtrller.h"
#include "framework/BaseGene.h"

/* The report program's controller: it owns the option window of the class
   the library registers (frmBaseGeneClass), hooks its show, hide and
   destroy events to tell the host, passes the host's parameters and
   requests on, and hands the window's outcome back when it is gone.
   Operations the host calls return 0 / -1 and let no exception out of the
   window; the one exception the host may see is Execute's missing window
   class. */
namespace DLLRPCtrller {

/* "class of TfrmBaseGene": made with an owner (the controller passes nil). */
using TfrmBaseGeneClass =
    const DLLBaseCtrller::TClassRef<BaseGene::TfrmBaseGene, vcl::TComponent*>*;

/* The option window class Execute creates; nil until the library's main
   block registers it. */
extern TfrmBaseGeneClass frmBaseGeneClass;

/* The class reference of a window class T (one record per class); the
   window is made the platform's way (vcl::Create: OnCreate runs). */
template <class T>
TfrmBaseGeneClass FormClassOf() {
  static const DLLBaseCtrller::TClassRef<BaseGene::TfrmBaseGene, vcl::TComponent*> ref{
      &T::StaticClassInfo,
      [](vcl::TComponent* owner) -> BaseGene::TfrmBaseGene* { return vcl::Create<T>(owner); }};
  return &ref;
}

/* The unit's initialisation: DLLControllerClass := TDLLRPCtrller. The
   library's main block runs it before it registers the window class. */
void InitializeUnit();

/* The file name Execute gives each new window: this library's own path
   (the window takes its program code from it). SetLibraryFileName puts
   another name in its place, for a test program, which is not the library
   it stands for; nullopt goes back to the library's own. */
std::string LibraryFileName();
void SetLibraryFileName(std::optional<std::string> fileName);

class TDLLRPCtrller : public DLLBaseCtrller::TDLLBaseController {
  VCL_CLASS_INFO()
 public:
  TDLLRPCtrller();
  /* Frees a remaining window first (its destroy hook stores the outcome and
     sends notice 304 while the controller is still whole). */
  ~TDLLRPCtrller() override;

  /* The option window; nil while there is none. Owned by the controller
     until the window frees itself. */
  BaseGene::TfrmBaseGene* Form = nullptr;
  /* The window's own handlers, put back in the chain by the hooks. */
  vcl::TNotifyEvent SavedOnShow;
  vcl::TNotifyEvent SavedOnHide;
  vcl::TNotifyEvent SavedOnDestroy;

  std::u16string GetVersionText() override;
  DLLBaseCtrller::WordBool GetVisible() override;
  void SetVisible(DLLBaseCtrller::WordBool value) override;
  DLLBaseCtrller::HWND GetWindowHandle() override;
  int32_t Execute(const platform::Variant& params) override;
  int32_t SetCondition(const platform::Variant& params) override;
  int32_t HostMessage(int32_t msgType, int32_t ignored, const platform::Variant& value) override;
  platform::Variant ShowModal() override;
  void FreeWindow() override;
  int32_t GetProgramInfo(platform::Variant& info) override;
  bool NoWindow() override;
  /* Each calls the window's saved handler first, then notifies the host. */
  void DoShow(vcl::TObject* sender) override;
  void DoHide(vcl::TObject* sender) override;
  /* Copies ResultCode and ResultValue from the window, runs its saved
     OnDestroy, sends notice 304; Form is nil afterwards in every case. The
     host may free the controller from its 304 handler: nothing of the
     controller is touched after the notice then. */
  void DoDestroy(vcl::TObject* sender) override;

 private:
  /* Makes the window of frmBaseGeneClass, gives it the module file name and
     the host object, notifies 256 and hooks it. */
  void CreateForm();
  /* Passes [flag, value] to the window's ApplyHostRequest; -1 on any error. */
  int32_t ForwardRequest(bool flag, const platform::Variant& value);

  /* The flag of the innermost operation watching for the controller to be
     freed under it (the host may free it from its notice handler); the
     destructor sets it. */
  bool* freedFlag_ = nullptr;
  friend class FreeWatch;
};

}  // namespace DLLRPCtrller

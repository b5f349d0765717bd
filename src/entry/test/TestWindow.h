#pragma once

// A small option window for the controller's tests: the generic window with
// an initialisation that does not reach for any server, and show, hide and
// destroy handlers of its own that write to one event log shared with the
// tests' notice handler, so that the order of window events and notices can
// be read in one place.

#include <string>
#include <vector>

#include "framework/BaseGene.h"

namespace EntryTest {

/* Everything that happened, in order: "window show", "window hide",
   "window destroy", "initialize <user>", "notice <code>" (written by the
   tests' handler), ... */
std::vector<std::string>& EventLog();

class TfrmTestWindow : public BaseGene::TfrmBaseGene {
  VCL_CLASS_INFO()
 public:
  explicit TfrmTestWindow(vcl::TComponent* owner);
  ~TfrmTestWindow() override;

  /* Records the call; false when it fails on purpose (user "FAIL") or the
     window is initialised already; otherwise takes user, company and
     database, the program code "tstqr1" and the name "测试程序". */
  bool Initialize(const platform::Variant& params) override;

  const std::string& GivenModuleFileName() const { return ModuleFileName; }
  const platform::Variant& GivenHostRequest() const { return HostRequest; }
  /* The host object as Initialize found it. */
  platform::Variant HostObjectAtInitialize;
  int Initializations = 0;

  /* btnOk: asks "提交吗?" (Yes/No); Yes accepts the job "J0001" and closes.
     btnCancel: ResultCode 2 and close. btnAsk: a modal dialog "frmAsk" whose
     edAnswer text lands in the window's caption when it is confirmed. */
  void btnOkClick(vcl::TObject* sender);
  void btnCancelClick(vcl::TObject* sender);
  void btnAskClick(vcl::TObject* sender);
  vcl::TButton* btnAsk = nullptr;

 private:
  void WindowShow(vcl::TObject* sender);
  void WindowHide(vcl::TObject* sender);
  void WindowDestroy(vcl::TObject* sender);
};

/* How many test windows exist right now. */
int LiveWindows();

}  // namespace EntryTest

#include "entry/DLLRPCtrller.h"

#include <QGuiApplication>
#include <QWidget>
#include <utility>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"

namespace DLLRPCtrller {

using DLLBaseCtrller::HWND;
using DLLBaseCtrller::kWordFalse;
using DLLBaseCtrller::kWordTrue;
using DLLBaseCtrller::WordBool;
using platform::Variant;

TfrmBaseGeneClass frmBaseGeneClass = nullptr;

void InitializeUnit() {
  DLLBaseCtrller::DLLControllerClass = DLLBaseCtrller::ControllerClassOf<TDLLRPCtrller>();
}

namespace {

std::optional<std::string>& FileNameOverride() {
  static std::optional<std::string> fileName;
  return fileName;
}

// Brings a window to the front and gives it the keyboard (the platform's
// SetForegroundWindow on a window handle).
void SetForegroundWindow(HWND handle) {
  if (QWidget* window = QWidget::find(static_cast<WId>(handle))) {
    // The headless platform has no stacking order to change.
    if (QGuiApplication::platformName() != "offscreen") window->raise();
    window->activateWindow();
  }
}

}  // namespace

// Watches, for the length of one operation, whether the controller is freed
// under it. Watches nest: a controller freed under an inner one is freed for
// the outer ones too. Once freed, nothing of the controller is touched.
class FreeWatch {
 public:
  // Not inlined: in the caller, g++ takes the flag's address handed to the
  // controller for a dangling local, although the destructor takes it back.
  [[gnu::noinline]] explicit FreeWatch(TDLLRPCtrller& controller)
      : slot_(controller.freedFlag_), outer_(std::exchange(slot_, &freed_)) {}
  ~FreeWatch() {
    if (!freed_) {
      slot_ = outer_;
    } else if (outer_) {
      *outer_ = true;
    }
  }
  FreeWatch(const FreeWatch&) = delete;
  FreeWatch& operator=(const FreeWatch&) = delete;
  bool Freed() const { return freed_; }

 private:
  bool freed_ = false;
  bool*& slot_;
  bool* outer_;
};

std::string LibraryFileName() {
  if (FileNameOverride()) return *FileNameOverride();
  return platform::ModuleFileName(&frmBaseGeneClass);
}

void SetLibraryFileName(std::optional<std::string> fileName) {
  FileNameOverride() = std::move(fileName);
}

const vcl::TClassInfo* TDLLRPCtrller::StaticClassInfo() {
  static const vcl::TClassInfo info("TDLLRPCtrller",
                                    DLLBaseCtrller::TDLLBaseController::StaticClassInfo());
  return &info;
}

TDLLRPCtrller::TDLLRPCtrller() = default;

TDLLRPCtrller::~TDLLRPCtrller() {
  if (Form) FreeWindow();
  if (freedFlag_) *freedFlag_ = true;
}

std::u16string TDLLRPCtrller::GetVersionText() {
  if (!Form) return {};
  return platform::AnsiToWide(Form->VersionText);
}

WordBool TDLLRPCtrller::GetVisible() { return Form && Form->Visible() ? kWordTrue : kWordFalse; }

void TDLLRPCtrller::SetVisible(WordBool value) {
  if (!Form) return;
  try {
    Form->SetVisible(value != kWordFalse);
    if (value != kWordFalse && Form) {
      if (Form->WindowState() == vcl::wsMinimized) Form->SetWindowState(vcl::wsNormal);
      SetForegroundWindow(GetWindowHandle());
    }
  } catch (...) {
    // The window's own show and hide handlers may fail; the host only asked
    // for visibility and has nothing to do with the reason.
  }
}

HWND TDLLRPCtrller::GetWindowHandle() {
  if (!Form) return 0;
  try {
    return static_cast<HWND>(Form->Handle()->winId());
  } catch (...) {
    return 0;
  }
}

void TDLLRPCtrller::CreateForm() {
  BaseGene::TfrmBaseGene* form = frmBaseGeneClass->Create(nullptr);
  try {
    form->SetModuleFileName(LibraryFileName());
    form->HostObject = HostObject;
  } catch (...) {
    form->Free();
    throw;
  }
  Form = form;
  // The hooks go in even when the host's notice handler fails, so that the
  // window's end always reaches DoDestroy and Form never outlives it.
  auto hook = [this] {
    SavedOnShow = Form->OnShow;
    Form->OnShow = vcl::MakeEvent<&TDLLRPCtrller::DoShow>(this);
    SavedOnHide = Form->OnHide;
    Form->OnHide = vcl::MakeEvent<&TDLLRPCtrller::DoHide>(this);
    SavedOnDestroy = Form->OnDestroy;
    Form->OnDestroy = vcl::MakeEvent<&TDLLRPCtrller::DoDestroy>(this);
  };
  try {
    DoCreated();
  } catch (...) {
    if (Form == form) hook();
    throw;
  }
  if (Form == form) hook();
}

int32_t TDLLRPCtrller::Execute(const Variant& params) {
  int32_t result = -1;
  if (!Form) {
    if (!frmBaseGeneClass)
      throw platform::Exception(std::string("VRK DLL Internal Error :") + '\r' +
                                "Not Assign \"frmBaseGeneClass\" varible");
    try {
      CreateForm();
    } catch (...) {
      return -1;
    }
  }
  try {
    if (Form && Form->Initialize(params)) result = 0;
  } catch (...) {
    // Initialize records its own failures; anything that still escapes is
    // a failed initialisation for the host.
  }
  return result;
}

int32_t TDLLRPCtrller::ForwardRequest(bool flag, const Variant& value) {
  try {
    Form->ApplyHostRequest(platform::VarArrayOf({flag, value}));
    return 0;
  } catch (...) {
    return -1;
  }
}

int32_t TDLLRPCtrller::SetCondition(const Variant& params) {
  if (!Form || params.IsNull() || !params.IsArray()) return -1;
  try {
    // Element 1 of the host's array is the request; element 0 is not used.
    const Variant request = params[1];
    return ForwardRequest(true, request);
  } catch (...) {
    return -1;
  }
}

int32_t TDLLRPCtrller::HostMessage(int32_t msgType, int32_t /*ignored*/, const Variant& value) {
  if (!Form || (msgType != 5 && msgType != 9)) return -1;
  return ForwardRequest(false, value);
}

Variant TDLLRPCtrller::ShowModal() {
  if (!Form) return Variant(int32_t{vcl::mrCancel});
  try {
    return Variant(int32_t{Form->ShowModal()});
  } catch (...) {
    // A window that cannot run modally (it is already shown) counts as
    // cancelled, as a missing one does.
    return Variant(int32_t{vcl::mrCancel});
  }
}

void TDLLRPCtrller::FreeWindow() {
  if (!Form || Form->Destroying() || Form->Disposed()) return;
  FreeWatch watch(*this);
  try {
    Form->Free();
  } catch (...) {
    // A failing OnDestroy of the window: the window is gone all the same.
  }
  // The host may have freed the controller on notice 304.
  if (!watch.Freed()) Form = nullptr;
}

int32_t TDLLRPCtrller::GetProgramInfo(Variant& info) {
  if (!Form) return -1;
  try {
    Variant result = platform::VarArrayCreate({{0, 3}});
    result[0] = Variant(Form->UserID);
    result[1] = Variant(Form->CompanyID);
    result[2] = Variant(platform::UpperCase(Form->ProgramCode));
    result[3] = Variant(Form->ProgramName);
    info = std::move(result);
    return 0;
  } catch (...) {
    return -1;
  }
}

bool TDLLRPCtrller::NoWindow() { return Form == nullptr; }

void TDLLRPCtrller::DoShow(vcl::TObject* sender) {
  SavedOnShow(sender);
  TDLLBaseController::DoShow(sender);
}

void TDLLRPCtrller::DoHide(vcl::TObject* sender) {
  SavedOnHide(sender);
  TDLLBaseController::DoHide(sender);
}

void TDLLRPCtrller::DoDestroy(vcl::TObject* sender) {
  // Form is nil afterwards whatever the saved handler or the host does,
  // unless the host freed the controller itself in answer to notice 304.
  FreeWatch watch(*this);
  struct Reset {
    TDLLRPCtrller& controller;
    const FreeWatch& watch;
    ~Reset() {
      if (!watch.Freed()) controller.Form = nullptr;
    }
  } reset{*this, watch};
  if (Form) {
    ResultCode = Form->ResultCode;
    ResultValue = Form->ResultValue;
    SavedOnDestroy(sender);
    TDLLBaseController::DoDestroy(sender);
  }
}

}  // namespace DLLRPCtrller

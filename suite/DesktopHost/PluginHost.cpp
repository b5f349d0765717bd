#include "suite/DesktopHost/PluginHost.h"

#include <dlfcn.h>

#include <exception>
#include <utility>

#include "platform/core/CodePage.h"
#include "platform/core/Exception.h"

namespace DesktopHost {

using DLLBaseCtrller::TDLLBaseController;
using platform::Variant;

namespace {
// What the host reports for something raised that is not an exception object.
constexpr char kUnknownError[] = "the program raised an error that is not an exception object";

// Runs a call into the program's library: whatever it raises is kept as the
// host's last error instead of reaching the host's caller. False when the
// call raised.
template <class Call>
bool Guarded(std::string& lastError, Call call) {
  try {
    call();
    return true;
  } catch (const std::exception& e) {
    lastError = ErrorText(e);
  } catch (...) {
    lastError = kUnknownError;
  }
  return false;
}
}  // namespace

const char* NoticeName(int32_t code) {
  switch (code) {
    case DLLBaseCtrller::kNoticeCreated:
      return "created";
    case DLLBaseCtrller::kNoticeShown:
      return "shown";
    case DLLBaseCtrller::kNoticeHidden:
      return "hidden";
    case DLLBaseCtrller::kNoticeDestroyed:
      return "destroyed";
    case DLLBaseCtrller::kNoticeFifth:
      return "fifth";
    default:
      return "";
  }
}

std::string ErrorText(const std::exception& e) {
  if (const auto* pe = dynamic_cast<const platform::Exception*>(&e)) return pe->Message();
  return e.what();
}

std::string ToUtf8(const std::string& ansi) {
  return platform::WideToUtf8(platform::AnsiToWide(ansi));
}

std::string FromUtf8(const std::string& utf8) {
  return platform::WideToAnsi(platform::Utf8ToWide(utf8));
}

std::string Quoted(const std::string& ansi) {
  std::string out = "\"";
  for (const char c : ToUtf8(ansi)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

std::string VariantText(const Variant& value) {
  switch (value.Type()) {
    case platform::VarType::Empty:
      return "<unassigned>";
    case platform::VarType::Null:
      return "<null>";
    case platform::VarType::String:
      return Quoted(value.AsString());
    case platform::VarType::OleStr:
      return Quoted(platform::WideToAnsi(value.AsWideString()));
    case platform::VarType::Boolean:
      return value.AsBoolean() ? "true" : "false";
    case platform::VarType::Dispatch:
      return "<object>";
    case platform::VarType::Array: {
      if (value.DimCount() != 1) return "<array>";
      std::string out = "[";
      for (int32_t i = value.LowBound(); i <= value.HighBound(); ++i) {
        if (i > value.LowBound()) out += ", ";
        out += VariantText(value[i]);
      }
      return out + "]";
    }
    default:
      try {
        return value.AsString();
      } catch (const std::exception&) {
        return "<?>";
      }
  }
}

TPluginHost::TPluginHost(platform::DispatchPtr hostObject, TLogin login)
    : hostObject_(std::move(hostObject)), login_(std::move(login)) {}

TPluginHost::~TPluginHost() { FreeController(); }

bool TPluginHost::Load(const std::string& path, bool notifyHandler) {
  lastError_.clear();
  if (getController_ && path != path_) {
    FreeController();
    getController_ = nullptr;
  }
  if (!getController_) {
    // Never closed: the component layer may still hold code of the library
    // (handlers, posted messages) after its controller is gone.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
      const char* reason = ::dlerror();
      lastError_ = "cannot load " + path + ": " + (reason ? reason : "unknown error");
      return false;
    }
    void* symbol = ::dlsym(library, "GetController");
    if (!symbol) {
      lastError_ = path + " has no export GetController";
      return false;
    }
    getController_ = reinterpret_cast<GetControllerFn>(symbol);
    path_ = path;
  }
  if (controller_) return true;
  if (!Guarded(lastError_, [this] { controller_ = getController_(); })) return false;
  if (!controller_) {
    lastError_ = "GetController returned no controller";
    return false;
  }
  controller_->HostObject = Variant(hostObject_);
  if (notifyHandler) controller_->OnNotify = vcl::MakeEvent<&TPluginHost::ControllerNotify>(this);
  return true;
}

Variant TPluginHost::Params(int count) const {
  const Variant all[5] = {Variant(login_.UserID), Variant(login_.CompanyID), Variant(login_.DbName),
                          Variant(static_cast<int32_t>(mainWindow_)), extra_};
  if (count < 0) count = 0;
  if (count > 5) count = 5;
  Variant params = platform::VarArrayCreate({{0, count - 1}});
  for (int i = 0; i < count; ++i) params[i] = all[i];
  return params;
}

int32_t TPluginHost::Execute(int count) {
  lastError_.clear();
  if (!controller_) {
    lastError_ = "no controller";
    return -1;
  }
  int32_t result = -1;
  Guarded(lastError_, [&] { result = controller_->Execute(Params(count)); });
  return result;
}

int32_t TPluginHost::Show(bool modal) {
  lastError_.clear();
  if (!controller_) return 0;
  int32_t result = -1;
  Guarded(lastError_, [&] {
    if (modal) {
      result = controller_->ShowModal().AsInteger();
    } else {
      controller_->SetVisible(DLLBaseCtrller::kWordTrue);
      result = 0;
    }
  });
  return result;
}

void TPluginHost::FreeWindow() {
  if (!controller_) return;
  Guarded(lastError_, [this] { controller_->FreeWindow(); });
}

void TPluginHost::FreeController() {
  TDLLBaseController* controller = std::exchange(controller_, nullptr);
  if (!controller) return;
  // Notices sent while it goes (304 for an open window) still name it.
  controller_ = controller;
  delete controller;
  controller_ = nullptr;
}

void TPluginHost::ControllerNotify(int32_t code, vcl::TObject* /*sender*/) {
  TNotice notice;
  notice.Code = code;
  if (controller_) {
    notice.ResultCode = controller_->ResultCode;
    notice.ResultValue = controller_->ResultValue;
  }
  notices_.push_back(notice);
  if (OnNotice) OnNotice(notices_.back());
}

}  // namespace DesktopHost

#include "suite/DesktopHost/Desktop.h"

#include <cstdio>
#include <utility>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"

namespace DesktopHost {

TDesktop::TDesktop(platform::DispatchPtr hostObject, TLogin login, std::string moduleFolder)
    : host_(std::move(hostObject), std::move(login)), moduleFolder_(std::move(moduleFolder)) {
  host_.OnNotice = [this](const TNotice& notice) { Notice(notice); };
}

std::string TDesktop::ModulePathOf(const std::string& programCode) const {
  return platform::IncludeTrailingPathDelimiter(moduleFolder_) + platform::UpperCase(programCode) +
         "C.dll";
}

void TDesktop::Log(const std::string& line) {
  if (echo_) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  }
  if (OnLog) OnLog(line);
}

void TDesktop::ShowError(const std::string& text) {
  Log("error " + Quoted(text));
  vcl::MessageDlg(text, vcl::mtError, vcl::MsgDlgButtons({vcl::mbOK}));
}

void TDesktop::Notice(const TNotice& notice) {
  std::string name = NoticeName(notice.Code);
  Log("notice " + std::to_string(notice.Code) + (name.empty() ? "" : " " + name) + " ResultCode=" +
      std::to_string(notice.ResultCode) + " ResultValue=" + VariantText(notice.ResultValue));
}

bool TDesktop::Open(const std::string& programCode, const TOpenOptions& options) {
  const std::string path = ModulePathOf(programCode);
  const bool hadController = host_.Controller() != nullptr;
  // Parameter 4, kept by the window and not used: the code it was opened as.
  host_.SetExtra(platform::Variant(platform::UpperCase(programCode)));
  if (!host_.Load(path, options.Notify)) {
    ShowError(host_.LastError());
    return false;
  }
  if (!hadController)
    Log("controller " + Quoted(host_.Controller()->ClassName()) + " from " + Quoted(path));
  const int32_t executed = host_.Execute(options.ParamCount);
  if (!host_.LastError().empty()) {
    ShowError(host_.LastError());
    return false;
  }
  Log("execute -> " + std::to_string(executed));
  // A window that failed to initialise has shown its reason and asked to
  // close; it is not shown.
  if (executed != 0 || host_.Controller()->NoWindow()) return executed == 0;
  const int32_t shown = host_.Show(options.Modal);
  if (!host_.LastError().empty()) {
    ShowError(host_.LastError());
    return false;
  }
  if (options.Modal) Log("modal -> " + std::to_string(shown));
  return executed == 0;
}

int32_t TDesktop::LastResultCode() const {
  if (auto* controller = host_.Controller()) return controller->ResultCode;
  return host_.Notices().empty() ? 0 : host_.Notices().back().ResultCode;
}

platform::Variant TDesktop::LastResultValue() const {
  if (auto* controller = host_.Controller()) return controller->ResultValue;
  return host_.Notices().empty() ? platform::Variant() : host_.Notices().back().ResultValue;
}

}  // namespace DesktopHost

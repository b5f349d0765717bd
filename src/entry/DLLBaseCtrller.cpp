#include "entry/DLLBaseCtrller.h"

namespace DLLBaseCtrller {

TDLLBaseControllerClass DLLControllerClass = nullptr;

const vcl::TClassInfo* TDLLBaseController::StaticClassInfo() {
  static const vcl::TClassInfo info("TDLLBaseController", vcl::TObject::StaticClassInfo());
  return &info;
}

TDLLBaseController::TDLLBaseController() = default;
TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoCreated() { Notify(kNoticeCreated, this); }
void TDLLBaseController::DoShow(vcl::TObject* /*sender*/) { Notify(kNoticeShown, this); }
void TDLLBaseController::DoHide(vcl::TObject* /*sender*/) { Notify(kNoticeHidden, this); }
void TDLLBaseController::DoDestroy(vcl::TObject* /*sender*/) { Notify(kNoticeDestroyed, this); }
void TDLLBaseController::DoFifthNotice() { Notify(kNoticeFifth, this); }

void TDLLBaseController::Notify(int32_t code, vcl::TObject* /*sender*/) {
  if (OnNotify.Assigned()) OnNotify(code, this);
}

void TDLLBaseController::Reserved() {}

}  // namespace DLLBaseCtrller

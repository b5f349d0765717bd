#include "entry/test/TestWindow.h"

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/StdCtrls.h"

namespace EntryTest {

using platform::Variant;

namespace {
int& Live() {
  static int live = 0;
  return live;
}
}  // namespace

std::vector<std::string>& EventLog() {
  static std::vector<std::string> log;
  return log;
}

int LiveWindows() { return Live(); }

const vcl::TClassInfo* TfrmTestWindow::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmTestWindow>;
  static const vcl::TClassInfo info(
      "TfrmTestWindow", BaseGene::TfrmBaseGene::StaticClassInfo(), {},
      {
          P::PublishedMethod<&TfrmTestWindow::btnOkClick>("btnOkClick"),
          P::PublishedMethod<&TfrmTestWindow::btnCancelClick>("btnCancelClick"),
          P::PublishedMethod<&TfrmTestWindow::btnAskClick>("btnAskClick"),
      });
  return &info;
}

TfrmTestWindow::TfrmTestWindow(vcl::TComponent* owner) : TfrmBaseGene(owner) {
  ++Live();
  SetName("frmTstqr1");
  OnShow = vcl::MakeEvent<&TfrmTestWindow::WindowShow>(this);
  OnHide = vcl::MakeEvent<&TfrmTestWindow::WindowHide>(this);
  OnDestroy = vcl::MakeEvent<&TfrmTestWindow::WindowDestroy>(this);
  btnOk->OnClick = vcl::MakeEvent<&TfrmTestWindow::btnOkClick>(this);
  btnCancel->OnClick = vcl::MakeEvent<&TfrmTestWindow::btnCancelClick>(this);
  btnAsk = new vcl::TButton(this);
  btnAsk->SetName("btnAsk");
  btnAsk->SetCaption("询问");
  btnAsk->SetBounds(8, 8, 75, 25);
  btnAsk->SetParent(tsOption1);
  btnAsk->OnClick = vcl::MakeEvent<&TfrmTestWindow::btnAskClick>(this);
}

TfrmTestWindow::~TfrmTestWindow() { --Live(); }

bool TfrmTestWindow::Initialize(const Variant& params) {
  ++Initializations;
  HostObjectAtInitialize = HostObject;
  const std::string user = params.IsArray() ? params[0].AsString() : "";
  EventLog().push_back("initialize " + user);
  if (user == "FAIL" || !CompanyID.empty()) return false;
  UserID = user;
  CompanyID = params[1].AsString();
  DbName = params[2].AsString();
  ProgramCode = "tstqr1";
  ProgramName = "测试程序";
  return true;
}

void TfrmTestWindow::WindowShow(vcl::TObject*) { EventLog().push_back("window show"); }
void TfrmTestWindow::WindowHide(vcl::TObject*) { EventLog().push_back("window hide"); }
void TfrmTestWindow::WindowDestroy(vcl::TObject*) { EventLog().push_back("window destroy"); }

void TfrmTestWindow::btnOkClick(vcl::TObject*) {
  if (vcl::MessageDlg("提交吗?", vcl::mtConfirmation,
                      vcl::MsgDlgButtons({vcl::mbYes, vcl::mbNo})) != vcl::mrYes)
    return;
  ResultCode = 1;
  ResultValue = Variant("J0001");
  Close();
}

void TfrmTestWindow::btnCancelClick(vcl::TObject*) {
  ResultCode = 2;
  Close();
}

void TfrmTestWindow::btnAskClick(vcl::TObject*) {
  auto* ask = vcl::Create<vcl::TForm>(nullptr);
  ask->SetName("frmAsk");
  ask->SetCaption("问题");
  auto* edit = new vcl::TEdit(ask);
  edit->SetName("edAnswer");
  edit->SetBounds(8, 8, 120, 22);
  edit->SetParent(ask);
  auto* ok = new vcl::TButton(ask);
  ok->SetName("btnOk");
  ok->SetCaption("确定");
  ok->SetModalResult(vcl::mrOk);
  ok->SetBounds(8, 40, 75, 25);
  ok->SetParent(ask);
  if (ask->ShowModal() == vcl::mrOk) SetCaption(edit->Text());
  ask->Free();
}

}  // namespace EntryTest

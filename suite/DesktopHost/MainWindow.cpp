#include "suite/DesktopHost/MainWindow.h"

#include <QMenu>
#include <QMenuBar>

#include "platform/vcl/Dialogs.h"
#include "platform/vcl/TypInfo.h"

namespace DesktopHost {

using vcl::TObject;

// --- TMenuBar ----------------------------------------------------------------

const vcl::TClassInfo* TMenuBar::StaticClassInfo() {
  static const vcl::TClassInfo info("TMenuBar", vcl::TWinControl::StaticClassInfo());
  return &info;
}

TMenuBar::TMenuBar(vcl::TComponent* owner) : TWinControl(owner) {}

QWidget* TMenuBar::CreateWidget(QWidget* parentWidget) {
  auto* bar = new QMenuBar(parentWidget);
  if (!menu_) return bar;
  vcl::TMenuItem* root = menu_->Items();
  for (int i = 0; i < root->Count(); ++i) {
    vcl::TMenuItem* top = root->Items(i);
    QMenu* drop = bar->addMenu(QtText(top->Caption()));
    for (int j = 0; j < top->Count(); ++j) {
      vcl::TMenuItem* item = top->Items(j);
      if (item->Caption() == "-") {
        drop->addSeparator();
        continue;
      }
      QAction* action = drop->addAction(QtText(item->Caption()));
      QObject::connect(action, &QAction::triggered, [item] {
        if (vcl::IsLiveComponent(item) && !item->Disposed()) item->Click();
      });
      QObject::connect(drop, &QMenu::aboutToShow, [action, item] {
        if (vcl::IsLiveComponent(item)) action->setEnabled(item->Enabled());
      });
    }
  }
  return bar;
}

// --- TfrmDesktop -------------------------------------------------------------

const vcl::TClassInfo* TfrmDesktop::StaticClassInfo() {
  using P = vcl::PropBuilder<TfrmDesktop>;
  static const vcl::TClassInfo info(
      "TfrmDesktop", vcl::TForm::StaticClassInfo(), {},
      {
          P::PublishedMethod<&TfrmDesktop::miLoginClick>("miLoginClick"),
          P::PublishedMethod<&TfrmDesktop::miFreeControllerClick>("miFreeControllerClick"),
          P::PublishedMethod<&TfrmDesktop::miExitClick>("miExitClick"),
          P::PublishedMethod<&TfrmDesktop::miPVQR82Click>("miPVQR82Click"),
          P::PublishedMethod<&TfrmDesktop::miPVQR82ModalClick>("miPVQR82ModalClick"),
          P::PublishedMethod<&TfrmDesktop::FormClose>("FormClose"),
      });
  return &info;
}

vcl::TMenuItem* TfrmDesktop::AddItem(vcl::TMenuItem* parent, const char* name,
                                     const std::string& caption, vcl::TNotifyEvent onClick) {
  auto* item = new vcl::TMenuItem(this);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = onClick;
  parent->Add(item);
  return item;
}

TfrmDesktop::TfrmDesktop(vcl::TComponent* owner, TDesktop& desktop)
    : TForm(owner), desktop_(desktop) {
  SetName("frmDesktop");
  SetCaption("VRK 桌面");
  SetBounds(40, 40, 760, 520);

  mnMain = new vcl::TMainMenu(this);
  mnMain->SetName("mnMain");
  miSystem = AddItem(mnMain->Items(), "miSystem", "系统(&S)", {});
  miLogin =
      AddItem(miSystem, "miLogin", "登录(&L)...", vcl::MakeEvent<&TfrmDesktop::miLoginClick>(this));
  miFreeController = AddItem(miSystem, "miFreeController", "释放控制器(&F)",
                             vcl::MakeEvent<&TfrmDesktop::miFreeControllerClick>(this));
  AddItem(miSystem, "miSeparator1", "-", {});
  miExit = AddItem(miSystem, "miExit", "退出(&X)", vcl::MakeEvent<&TfrmDesktop::miExitClick>(this));
  miReport = AddItem(mnMain->Items(), "miReport", "报表(&R)", {});
  miPVQR82 = AddItem(miReport, "miPVQR82", "PVQR82 进货单明细表",
                     vcl::MakeEvent<&TfrmDesktop::miPVQR82Click>(this));
  miPVQR82Modal = AddItem(miReport, "miPVQR82Modal", "PVQR82 进货单明细表（模式窗口）",
                          vcl::MakeEvent<&TfrmDesktop::miPVQR82ModalClick>(this));

  mbMain = new TMenuBar(this);
  mbMain->SetName("mbMain");
  mbMain->SetMenu(mnMain);
  mbMain->SetHeight(24);
  mbMain->SetAlign(vcl::alTop);
  mbMain->SetParent(this);

  lblLogin = new vcl::TLabel(this);
  lblLogin->SetName("lblLogin");
  lblLogin->SetHeight(20);
  lblLogin->SetAlign(vcl::alTop);
  lblLogin->SetParent(this);

  memLog = new vcl::TMemo(this);
  memLog->SetName("memLog");
  memLog->SetReadOnly(true);
  memLog->SetScrollBars(vcl::ssVertical);
  memLog->SetText("");
  memLog->SetAlign(vcl::alClient);
  memLog->SetParent(this);

  OnClose = vcl::MakeEvent<&TfrmDesktop::FormClose>(this);
  ShowLogin();
}

void TfrmDesktop::ShowLogin() {
  const TLogin& login = desktop_.Host().Login();
  lblLogin->SetCaption(" 用户 " + login.UserID + "   公司 " + login.CompanyID + "   数据库 " +
                       login.DbName);
}

void TfrmDesktop::AddLog(const std::string& utf8Line) {
  if (!vcl::IsLiveComponent(memLog) || memLog->Disposed()) return;
  memLog->Lines()->Add(FromUtf8(utf8Line));
}

void TfrmDesktop::OpenProgram(const std::string& programCode, bool modal) {
  TPluginHost& host = desktop_.Host();
  if (host.Controller() && !host.Controller()->NoWindow() &&
      host.ModulePath() == desktop_.ModulePathOf(programCode)) {
    // The program is open already: bring its window back.
    host.Show(false);
    return;
  }
  TOpenOptions options;
  options.Modal = modal;
  desktop_.Open(programCode, options);
}

void TfrmDesktop::miLoginClick(TObject* /*sender*/) {
  TLogin login = desktop_.Host().Login();
  if (!AskLogin(login)) return;
  // A new login starts over: the program open under the old one goes.
  desktop_.Host().FreeController();
  desktop_.Host().SetLogin(login);
  ShowLogin();
  desktop_.Log("login " + Quoted(login.UserID) + " " + Quoted(login.CompanyID) + " " +
               Quoted(login.DbName));
}

void TfrmDesktop::miFreeControllerClick(TObject* /*sender*/) {
  if (!desktop_.Host().Controller()) return;
  desktop_.Host().FreeController();
  desktop_.Log("controller freed");
}

void TfrmDesktop::miExitClick(TObject* /*sender*/) { Close(); }

void TfrmDesktop::miPVQR82Click(TObject* /*sender*/) { OpenProgram("PVQR82", false); }

void TfrmDesktop::miPVQR82ModalClick(TObject* /*sender*/) { OpenProgram("PVQR82", true); }

void TfrmDesktop::FormClose(TObject* /*sender*/, vcl::TCloseAction& /*action*/) {
  desktop_.Host().FreeController();
  vcl::Application->Terminate();
}

// --- Login -------------------------------------------------------------------

bool AskLogin(TLogin& login) {
  auto* form = vcl::Create<vcl::TForm>(nullptr);
  form->SetName("frmLogin");
  form->SetCaption("登录");
  form->SetBorderStyle(vcl::bsDialog);
  form->SetPosition(vcl::poScreenCenter);
  form->SetClientWidth(300);
  form->SetClientHeight(150);
  struct Field {
    const char* label;
    const char* name;
    std::string* value;
  };
  const Field fields[] = {{"用户", "edUser", &login.UserID},
                          {"公司", "edCompany", &login.CompanyID},
                          {"数据库", "edDbName", &login.DbName}};
  vcl::TEdit* edits[3] = {};
  for (int i = 0; i < 3; ++i) {
    auto* label = new vcl::TLabel(form);
    label->SetCaption(fields[i].label);
    label->SetBounds(16, 18 + i * 30, 60, 20);
    label->SetParent(form);
    edits[i] = new vcl::TEdit(form);
    edits[i]->SetName(fields[i].name);
    edits[i]->SetText(*fields[i].value);
    edits[i]->SetBounds(90, 14 + i * 30, 190, 22);
    edits[i]->SetTabStop(true);
    edits[i]->SetParent(form);
  }
  auto* ok = new vcl::TButton(form);
  ok->SetName("btnOk");
  ok->SetCaption("确定");
  ok->SetDefault(true);
  ok->SetModalResult(vcl::mrOk);
  ok->SetBounds(110, 110, 80, 26);
  ok->SetParent(form);
  auto* cancel = new vcl::TButton(form);
  cancel->SetName("btnCancel");
  cancel->SetCaption("取消");
  cancel->SetCancel(true);
  cancel->SetModalResult(vcl::mrCancel);
  cancel->SetBounds(200, 110, 80, 26);
  cancel->SetParent(form);

  const bool confirmed = form->ShowModal() == vcl::mrOk;
  if (confirmed)
    for (int i = 0; i < 3; ++i) *fields[i].value = edits[i]->Text();
  form->Free();
  return confirmed;
}

}  // namespace DesktopHost

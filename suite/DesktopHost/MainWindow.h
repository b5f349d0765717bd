#pragma once

#include <string>

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "suite/DesktopHost/Desktop.h"

namespace DesktopHost {

/* A menu bar showing a main menu: each top item is a drop-down menu whose
   entries run their items' Click (entries are enabled as the items are
   when the menu opens). Sub-items of entries are not shown. */
class TMenuBar : public vcl::TWinControl {
  VCL_CLASS_INFO()
 public:
  explicit TMenuBar(vcl::TComponent* owner);
  vcl::TMainMenu* Menu() const { return menu_; }
  /* Takes effect when the bar's widget is made. */
  void SetMenu(vcl::TMainMenu* menu) { menu_ = menu; }

 protected:
  QWidget* CreateWidget(QWidget* parentWidget) override;

 private:
  vcl::TMainMenu* menu_ = nullptr;
};

/* The desktop host's main window: the suite's menu (系统: login, free the
   controller, exit; 报表: the goods-receipt list, modeless or modal) and
   the log pane with every notice, result and error. */
class TfrmDesktop : public vcl::TForm {
  VCL_CLASS_INFO()
 public:
  TfrmDesktop(vcl::TComponent* owner, TDesktop& desktop);

  vcl::TMainMenu* mnMain = nullptr;
  vcl::TMenuItem* miSystem = nullptr;
  vcl::TMenuItem* miLogin = nullptr;
  vcl::TMenuItem* miFreeController = nullptr;
  vcl::TMenuItem* miExit = nullptr;
  vcl::TMenuItem* miReport = nullptr;
  vcl::TMenuItem* miPVQR82 = nullptr;
  vcl::TMenuItem* miPVQR82Modal = nullptr;
  TMenuBar* mbMain = nullptr;
  vcl::TLabel* lblLogin = nullptr;
  vcl::TMemo* memLog = nullptr;

  /* Opens a program from the menu: brings an existing window to the front,
     else opens it (TDesktop::Open). */
  void OpenProgram(const std::string& programCode, bool modal);
  /* Appends a UTF-8 line to the log pane. */
  void AddLog(const std::string& utf8Line);
  /* Shows who is logged in. */
  void ShowLogin();

  void miLoginClick(vcl::TObject* sender);
  void miFreeControllerClick(vcl::TObject* sender);
  void miExitClick(vcl::TObject* sender);
  void miPVQR82Click(vcl::TObject* sender);
  void miPVQR82ModalClick(vcl::TObject* sender);
  void FormClose(vcl::TObject* sender, vcl::TCloseAction& action);

 private:
  vcl::TMenuItem* AddItem(vcl::TMenuItem* parent, const char* name, const std::string& caption,
                          vcl::TNotifyEvent onClick);
  TDesktop& desktop_;
};

/* The login dialog: user, company and database, prefilled from Login.
   True (and Login changed) when confirmed. */
bool AskLogin(TLogin& login);

}  // namespace DesktopHost

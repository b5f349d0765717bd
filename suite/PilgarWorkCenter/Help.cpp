#include "suite/PilgarWorkCenter/Help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>
#include <cctype>

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Dialogs.h"
#include "runtime/BrantorINI.h"

namespace pilgarwc {

namespace {

HelpOpener& Opener() {
  static HelpOpener opener;
  return opener;
}

bool OpenInBrowser(const std::string& file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(file.c_str())));
}

}  // namespace

void SetHelpOpener(HelpOpener opener) { Opener() = std::move(opener); }

std::string HelpPageFile(const std::string& number) {
  const BrantorINI::TBrantorIniC config;
  if (config.InstallPath.empty()) return {};
  return config.InstallPath + "Help/" + number + ".html";
}

bool ShowHelpPage(const std::string& number) {
  // The number becomes a file name: nothing in it may lead elsewhere.
  bool plain = !number.empty();
  for (const char c : number) plain = plain && std::isalnum(static_cast<unsigned char>(c));
  if (!plain) throw platform::EBadArgument("Help number '" + number + "' is not valid");
  const std::string file = HelpPageFile(number);
  if (file.empty() || !platform::FileExists(file)) {
    // Without the host's application there is nowhere to say so.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    vcl::MessageDlg("找不到帮助编号 " + number + " 的说明页面。\r" + file, vcl::mtInformation,
                    vcl::MsgDlgButtons({vcl::mbOK}));
    return false;
  }
  if (Opener()) return Opener()(file);
  return QCoreApplication::instance() && OpenInBrowser(file);
}

}  // namespace pilgarwc

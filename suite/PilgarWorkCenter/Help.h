#pragma once

#include <functional>
#include <string>

namespace pilgarwc {

/* Opens a help page (a full file name); true when it was handed on. */
using HelpOpener = std::function<bool(const std::string& file)>;

/* Puts an opener in place of the desktop's browser (QDesktopServices), for
   tests and for hosts with their own help viewer; nullptr goes back to the
   browser. */
void SetHelpOpener(HelpOpener opener);

/* The help page of a help number: <ClientPath>/Help/<number>.html, the
   client folder of the suite's registry key; "" when the installation has
   no client folder. */
std::string HelpPageFile(const std::string& number);

/* Opens the help page of the number through the opener and returns its
   answer. A page that does not exist shows an information message naming
   the number (when the host's Qt application runs) and answers false. The number must be letters
   and digits only; anything else raises EBadArgument. */
bool ShowHelpPage(const std::string& number);

}  // namespace pilgarwc

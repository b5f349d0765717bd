#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/SelectPnl.h"
#include "platform/core/Variant.h"
#include "platform/vcl/Dialogs.h"

/* The companion unit of the generic option window: the rules its server
   link and its messages follow, as functions of their inputs. The window's
   own operations of this unit are members of BaseGene::TfrmBaseGene. */
namespace BaseGeneU {

/* The program code of a module file: its name without folder, cut to its
   length minus the extension's length minus 1 for ".Dll" (any case) and
   minus 2 for any other extension, but at least 6 characters; upper case.
   "…/PVQR82C.dll" gives "PVQR82". */
std::string ProgramCodeOf(std::string_view moduleFileName);

/* The select panel's date type for a company date format kind: 1..5 give
   the five types, anything else "none". */
SelectPnl::TDateType PanelDateType(int dateFormatKind);

/* A message code "Type;Number;arg;..." taken apart. A number that does not
   read as a positive integer marks a message that is recorded but not
   shown; its first character (the minus sign) is then dropped from Number.
   At most ten arguments are kept; the others stay empty. */
struct TMessageCode {
  std::string Type;
  std::string Number;
  std::array<std::string, 10> Args;
  bool Shown = false;
};
TMessageCode ParseMessageCode(std::string_view code);

/* A message text formatted with its arguments ("%s" each). When the text
   does not fit the arguments: the text as it is, a carriage return, then
   every argument followed by ";". */
std::string FormatMessageText(const std::string& text, const std::vector<std::string>& args);

/* The message dialog type of a message type letter: "C", "D", "W" warning,
   "E" error, "I" information, "Q" confirmation, any other plain. */
vcl::TMsgDlgType DialogTypeOf(std::string_view type);
/* The default buttons of a message type for ShowMessage: "C" and "W" OK and
   Cancel, "D" Yes, No and Cancel, "Q" OK and Cancel, any other OK. */
vcl::TMsgDlgButtons DefaultButtonsOf(std::string_view type);

/* The help number F1 asks for, from the program code's 4th and 5th
   characters and its last two; nullopt when the code names no help
   ("PVQR82" gives "12820000"). */
std::optional<std::string> HelpNumber(std::string_view programCode);

/* A rights flag: true unless the character at Position (1-based) of the
   rights text is "N" (a missing character counts as not "N"). The rights
   text is the 4th comma field of element 1 of the rights answer. */
bool RightsFlag(std::string_view rightsText, int position);
std::string RightsText(const platform::Variant& answer);

/* The caption an empty goods classification setting ("SYS007".."SYS010",
   any case) shows, by interface code page; nullopt for any other name. */
std::optional<std::string> DefaultClassCaption(std::string_view name, std::string_view uiCodePage);

/* One looked-up row as a select panel shows it: column 0 padded to 4,
   Separator, column 1 padded to 11 (longer values are not cut). A missing
   column is blank; a row that is a single value is its column 0. */
std::string PanelRowText(const platform::Variant& row, std::string_view separator);

/* The operating system's version text "major.minor.build". Tests may put
   another text in place (nullopt: the real one). */
std::string OSVersionText();
void OverrideOSVersionText(std::optional<std::string> text);
/* On this version the report's server module stays loaded after a run. */
inline constexpr char kKeepModuleVersion[] = "4.90.73010104";

/* A module file as the properties dialog shows it. Times are local date
   and time texts; Versions are the Name=Value entries of the module's
   version record (an ELF note of owner "VRK", type 1), empty when the file
   has none. Exists is false (and the rest empty) for a missing file. */
struct TModuleFileInfo {
  bool Exists = false;
  std::string FileName;
  int64_t Size = 0;
  std::string Modified, Accessed, Changed;
  std::vector<std::pair<std::string, std::string>> Versions;
  /* The value of a version entry, "" when absent. */
  std::string Version(std::string_view name) const;
};
TModuleFileInfo ReadModuleFileInfo(const std::string& path);

}  // namespace BaseGeneU

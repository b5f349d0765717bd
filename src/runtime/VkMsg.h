#pragma once

#include <string>
#include <string_view>

namespace platform {
class Exception;
}

/* The alert log and the exception report: failures that must not interrupt
   the user are written to a small daily text file and the program goes on. */
namespace VkMsg {

/* The folder the alert log lives under: the registry value "ClientPath", else
   "ServerPath", of the suite's key ("\" read as "/"); when both are empty the
   temporary folder (if it is at most 255 characters); "/tmp" when that is
   empty too or anything fails. */
std::string GetAlertBasePath();

/* Appends "[<date and time>] " + text and CR LF to
   <GetAlertBasePath>/Log/Alert_KORALGenerator_<YYYYMMDD>.log, the time stamp
   being DateTimeToStr of the clock's present moment. False when the line
   could not be written; never raises. */
bool WriteAlert(std::string_view text);

/* Writes the report of an error through WriteAlert: a header of hyphens with
   the title (when not blank), then for e (nullptr = none) its class, numbered
   messages and their count, then "Programer Message: " + programmerMessage
   when that is not blank. Never raises; lines that cannot be written are
   lost. */
void FormatExceptionReport(const platform::Exception* e, std::string_view title,
                           std::string_view programmerMessage);

}  // namespace VkMsg

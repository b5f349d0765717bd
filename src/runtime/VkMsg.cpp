#include "runtime/VkMsg.h"

#include <string>
#include <vector>

#include "platform/core/DateTime.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"
#include "runtime/LibStrs.h"

namespace VkMsg {

namespace {

// Where the alert log goes when nothing better is known.
constexpr char kFallbackFolder[] = "/tmp";
// The longest temporary folder the system hands out.
constexpr size_t kMaxTempPath = 255;

const std::string kHyphens(34, '-');

std::string ReportHeader(std::string_view title) {
  std::string header = kHyphens;
  if (!platform::Trim(title).empty()) header += " on " + std::string(title) + " ";
  return header + kHyphens;
}

/* The numbered lines describing e, by its class. */
std::vector<std::string> ErrorLines(const platform::Exception& e) {
  std::vector<std::string> lines;
  if (const auto* db = dynamic_cast<const platform::EDBEngineError*>(&e)) {
    int number = 0;
    for (const auto& entry : db->Errors()) {
      lines.push_back(platform::Format("EDBEngineError Error %.2d: Code: %d, Message: %s",
                                       {++number, entry.Code, entry.Message}));
    }
  } else if (const auto* os = dynamic_cast<const platform::EWin32Error*>(&e)) {
    lines.push_back(platform::Format("EWin32Error Error %.2d: Code: %d, Message: %s",
                                     {1, os->ErrorCode(), os->Message()}));
  } else if (const auto* io = dynamic_cast<const platform::EInOutError*>(&e)) {
    lines.push_back(platform::Format("EInOutError Error %.2d: Code: %d, Message: %s",
                                     {1, io->ErrorCode(), io->Message()}));
  } else {
    // The message is appended as it is: it may hold a "%" of its own.
    lines.push_back(std::string("Exception is ") + e.ClassName() + "\r\n" +
                    platform::Format("Message %.2d: ", {1}) + e.Message());
  }
  return lines;
}

}  // namespace

std::string GetAlertBasePath() {
  try {
    platform::Registry registry(platform::RegRoot::LocalMachine);
    std::string path;
    if (registry.OpenKeyReadOnly(LibStrs::kBrantorKey)) {
      path = registry.ReadString("ClientPath");
      if (path.empty()) path = registry.ReadString("ServerPath");
    }
    if (path.empty()) {
      path = platform::TempDir();
      if (path.size() > kMaxTempPath) path.clear();
    }
    if (path.empty()) return kFallbackFolder;
    for (char& c : path) {
      if (c == '\\') c = '/';
    }
    return path;
  } catch (...) {
    return kFallbackFolder;
  }
}

bool WriteAlert(std::string_view text) {
  try {
    const platform::DateTime now = platform::Now();
    const std::string fileName =
        "Alert_KORALGenerator_" + platform::FormatDateTime("yyyymmdd", now) + ".log";
    const std::string line = "[" + platform::DateTimeToStr(now) + "] " + std::string(text);
    return LibStrs::AppendLogLine(GetAlertBasePath(), fileName, line);
  } catch (...) {
    return false;
  }
}

void FormatExceptionReport(const platform::Exception* e, std::string_view title,
                           std::string_view programmerMessage) {
  try {
    WriteAlert(ReportHeader(title));
    if (e != nullptr) {
      WriteAlert("讯息信息:");
      const std::vector<std::string> lines = ErrorLines(*e);
      for (const std::string& line : lines) WriteAlert(line);
      WriteAlert(platform::Format("ErrorMessage Count: %d", {static_cast<int32_t>(lines.size())}));
    }
    if (!platform::Trim(programmerMessage).empty()) {
      WriteAlert("Programer Message: " + std::string(programmerMessage));
    }
  } catch (...) {
    // The report is a last resort; a failure in it has nowhere else to go.
  }
}

}  // namespace VkMsg

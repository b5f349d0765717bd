#include "suite/SocketServer/ServerArguments.h"

#include "platform/core/Exception.h"
#include "platform/core/SysUtils.h"
#include "runtime/BrantorINI.h"

namespace socketserver {

namespace {

int Number(const std::string& option, const std::string& text, int low, int high) {
  const std::optional<int32_t> value = platform::TryStrToInt(text);
  if (!value || *value < low || *value > high) {
    throw platform::EConvertError("Invalid value '" + text + "' for " + option + " (" +
                                  std::to_string(low) + " to " + std::to_string(high) + ")");
  }
  return *value;
}

}  // namespace

Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::function<int()>& settingsPort) {
  Arguments result;
  bool portGiven = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      result.Help = true;
      continue;
    }
    if (option != "--port" && option != "--listen" && option != "--workers" &&
        option != "--registry" && option != "--stall-timeout") {
      throw platform::EConvertError("Unknown option '" + option + "'");
    }
    if (i + 1 >= args.size()) throw platform::EConvertError("Missing value for " + option);
    const std::string& value = args[++i];
    if (option == "--port") {
      result.Options.Port = Number(option, value, 0, 65535);
      portGiven = true;
    } else if (option == "--listen") {
      if (value.empty()) throw platform::EConvertError("Missing value for " + option);
      result.Options.ListenAddress = value;
    } else if (option == "--workers") {
      result.Options.Workers = Number(option, value, 1, 256);
    } else if (option == "--registry") {
      result.RegistryFile = value;
    } else {
      result.Options.StallTimeout = std::chrono::seconds(Number(option, value, 1, 3600));
    }
  }
  if (!portGiven && !result.Help) result.Options.Port = settingsPort();
  return result;
}

int PortFromSettings() {
  const BrantorINI::TBrantorIniS settings;
  const platform::Variant& db = settings.DBSettings;
  if (db.DimCount() == 2 && db.HighBound(1) >= 2 && db.HighBound(2) >= 1) {
    const platform::Variant& port = db.At(2, 1);
    if (port.IsNumeric()) return port.AsInteger();
  }
  return 211;
}

const char* UsageText() {
  return "usage: vksocketd [--port PORT] [--listen ADDRESS] [--workers N]\n"
         "                 [--registry FILE] [--stall-timeout SECONDS]\n"
         "Hosts the suite's server objects for socket connections. Without --port\n"
         "the port is ServerPort of [DBPasswordCtrl] in BrantorS.ini (211 when\n"
         "unset); the address is 127.0.0.1 unless --listen names another.\n";
}

}  // namespace socketserver

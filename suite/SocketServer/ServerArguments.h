#pragma once

#include <functional>
#include <string>
#include <vector>

#include "suite/SocketServer/SocketServer.h"

namespace socketserver {

/* What the command line of vksocketd asks for:

     vksocketd [--port PORT] [--listen ADDRESS] [--workers N]
               [--registry FILE] [--stall-timeout SECONDS]

   Without --port the port is the server settings' (settingsPort is asked
   only then). The address defaults to loopback; --registry names the
   registry file the server objects' classes are looked up in. */
struct Arguments {
  ServerOptions Options;
  std::string RegistryFile;  // empty: the platform's default
  bool Help = false;
};

/* Parses the arguments after the program name. Raises platform::EConvertError
   with a message for the user for an unknown option, a missing value or a
   number out of range. */
Arguments ParseArguments(const std::vector<std::string>& args,
                         const std::function<int()>& settingsPort);

/* The port of the server settings: "BrantorS.ini", section "DBPasswordCtrl",
   key "ServerPort", as the runtime's server reader gives it; 211 when the
   settings cannot be read. */
int PortFromSettings();

/* The usage text printed for --help and after a bad argument. */
const char* UsageText();

}  // namespace socketserver

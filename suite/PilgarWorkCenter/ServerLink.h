#pragma once

#include <memory>
#include <string>

#include "platform/core/Variant.h"

namespace platform::remote {
class TSocketConnection;
}

namespace pilgarwc {

/* The host object's way to the system server "PilgarServerS.dmSystem",
   reached the way the report windows reach their application server: the
   client configuration (BrantorC.ini) names the first server's address and
   port; the address "127.0.0.1" creates the server object in this process
   (CreateOleObject), any other address connects a socket connection whose
   server name is the class. One link holds one server object. */
class ServerLink {
 public:
  static constexpr char kServerClass[] = "PilgarServerS.dmSystem";

  ServerLink();
  ~ServerLink();
  ServerLink(const ServerLink&) = delete;
  ServerLink& operator=(const ServerLink&) = delete;

  /* The server object, made (or connected) at the first call and kept; a
     socket connection that was lost is connected again. Raises EOleError
     when the configuration names no server or the server cannot be reached. */
  platform::Variant Server();

  /* Calls a method of the server object; changed arguments come back in
     args. Errors of the call pass unchanged. */
  platform::Variant Call(const char* name, std::vector<platform::Variant>& args);

  /* True once Server() chose the socket connection (for tests and logs). */
  bool Remote() const { return connection_ != nullptr; }

 private:
  void Open();

  bool opened_ = false;
  platform::Variant local_;
  std::unique_ptr<platform::remote::TSocketConnection> connection_;
};

}  // namespace pilgarwc

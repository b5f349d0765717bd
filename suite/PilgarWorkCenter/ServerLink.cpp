#include "suite/PilgarWorkCenter/ServerLink.h"

#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"
#include "platform/remote/SocketConnection.h"
#include "runtime/BrantorINI.h"

namespace pilgarwc {

using platform::Variant;

ServerLink::ServerLink() = default;
ServerLink::~ServerLink() = default;

void ServerLink::Open() {
  const BrantorINI::TBrantorIniC config;
  if (config.Servers.DimCount() != 2 || config.Servers.HighBound(2) < 0)
    throw platform::EOleError(
        "No application server is configured (" +
        (config.LastError.empty() ? std::string("BrantorC.ini") : config.LastError) + ")");
  const std::string address = platform::VarToStr(config.Servers.At(0, 0));
  const int port = config.Servers.At(1, 0).AsInteger();
  // Exactly this text means "this machine, in this process"; a host name of
  // the local machine still goes through the socket.
  if (address == "127.0.0.1") {
    local_ = Variant(platform::CreateOleObject(kServerClass));
  } else {
    auto connection = std::make_unique<platform::remote::TSocketConnection>();
    connection->SetAddress(address);
    connection->SetPort(port);
    connection->SetServerName(kServerClass);
    connection->Open();
    connection_ = std::move(connection);
  }
  opened_ = true;
}

Variant ServerLink::Server() {
  if (!opened_) Open();
  if (!connection_) return local_;
  return connection_->AppServer();
}

Variant ServerLink::Call(const char* name, std::vector<Variant>& args) {
  return platform::CallMethod(Server(), name, args);
}

}  // namespace pilgarwc

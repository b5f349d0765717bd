#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Variant.h"
#include "platform/remote/Wire.h"

namespace platform::remote {

class Channel;

/* A server the object broker may hand out. */
struct TServerItem {
  std::string ComputerName;
  int Port = 211;
  bool Enabled = true;
  bool HasFailed = false;  // a connection to it failed since the last reset
};

/* A list of servers a connection may use. A connection with a broker asks it
   for a server before connecting, and tells it whether that worked; a server
   that failed is not handed out again until every enabled server has failed,
   when all start afresh. */
class TSimpleObjectBroker {
 public:
  std::vector<TServerItem>& Servers() { return servers_; }
  const std::vector<TServerItem>& Servers() const { return servers_; }
  void AddServer(std::string computerName, int port);

  /* Without load balancing the first usable server in list order is handed
     out; with it, each request starts one place further along the list. */
  bool LoadBalanced() const { return loadBalanced_; }
  void SetLoadBalanced(bool value) { loadBalanced_ = value; }

  /* The server to try next. Raises EOleError "No server available" when no
     server is enabled. */
  const TServerItem& NextServer();
  /* Marks every server of that name as failed (success false) or usable. */
  void SetConnectStatus(std::string_view computerName, bool success);

 private:
  std::vector<TServerItem> servers_;
  bool loadBalanced_ = false;
  size_t start_ = 0;
};

/* The client end of a socket connection to the socket server. The server
   hosts server objects by class name (ServerName), one per connection.

   AppServer is a Variant holding an automation object whose calls, property
   reads and writes travel over the socket; arguments changed by a method come
   back changed. A server object made in this process can be handed in with
   SetAppServer instead (the connection then does not connect).

   Errors reach the caller as platform exceptions: the server's EUnknownName,
   EBadArgument, EOleError and EOleException keep their class and message (any
   other failure on the server arrives as EOleException); a lost connection
   raises EOleError "Socket connection lost" and a call that is not answered
   in time EOleError "Server did not answer within N s", and either leaves the
   connection closed (Connected reads false). Calls are serialised; the
   object is meant for one thread, its server objects for any. */
class TSocketConnection {
 public:
  TSocketConnection();
  ~TSocketConnection();
  TSocketConnection(const TSocketConnection&) = delete;
  TSocketConnection& operator=(const TSocketConnection&) = delete;

  const std::string& Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  /* Class name of the server object ("ReportCounterS.dmReportCounter"). */
  const std::string& ServerName() const { return serverName_; }
  void SetServerName(std::string name) { serverName_ = std::move(name); }

  /* Not owned; nullptr (the default) uses Address and Port. */
  TSimpleObjectBroker* ObjectBroker() const { return broker_; }
  void SetObjectBroker(TSimpleObjectBroker* broker) { broker_ = broker; }

  /* Time allowed for connecting and for each call, 30 s unless changed.
     A change applies to server objects already handed out as well. */
  std::chrono::milliseconds CallTimeout() const { return timeout_; }
  void SetCallTimeout(std::chrono::milliseconds timeout);

  const WireLimits& Limits() const { return limits_; }
  void SetLimits(const WireLimits& limits) { limits_ = limits; }

  /* True while the socket is open. Setting true connects: it opens the socket
     (through the broker when there is one) and has the server create the
     server object, so that an unknown class fails here; raises EOleError when
     that fails. Setting false closes the socket and drops AppServer. */
  bool Connected() const;
  void SetConnected(bool value);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }

  /* The server object: the one handed in, else the remote one (connecting
     first when not connected). */
  Variant AppServer();
  /* Hands in a server object made in this process; closes the socket. */
  void SetAppServer(const Variant& server);

 private:
  void Connect();

  std::string address_;
  int port_ = 211;
  std::string serverName_;
  TSimpleObjectBroker* broker_ = nullptr;
  std::chrono::milliseconds timeout_{30000};
  WireLimits limits_;
  std::shared_ptr<Channel> channel_;
  Variant remote_;
  Variant local_;
};

}  // namespace platform::remote

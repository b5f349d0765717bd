#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/remote/Wire.h"

namespace socketserver {

/* How the server listens and what it allows each client. */
struct ServerOptions {
  std::string ListenAddress = "127.0.0.1";  // numeric address or host name
  int Port = 211;                           // 0 picks a free port
  int Workers = 8;                          // calls running at once
  size_t MaxConnections = 4096;             // more are closed at once
  /* A frame must be complete this long after its first byte arrived, and a
     reply that the client does not read must make progress within it. */
  std::chrono::milliseconds StallTimeout{10000};
  /* Bytes held for all clients together (partial and waiting frames); a
     client whose data would pass it is dropped. */
  size_t MaxBufferedBytes = size_t{256} << 20;
  platform::remote::WireLimits Limits;
};

/* Hosts server objects for socket connections.

   Each connection gets its own server object per class name, created with
   platform::CreateOleObject on its first request for that class and released
   when the connection closes. A connection's requests run one at a time, in
   the order they came, on a pool of worker threads; different connections
   run at the same time.

   A request that cannot be served (unknown class or member, wrong arguments,
   a failing member, a malformed argument list) is answered with an error
   reply carrying the error's class name and message. A connection is
   dropped when its bytes cannot be a request at all (no call id), when a
   length prefix passes MaxFrameBytes, when it stalls (StallTimeout) or when
   it would pass MaxBufferedBytes. */
class SocketServer {
 public:
  explicit SocketServer(ServerOptions options);
  ~SocketServer();
  SocketServer(const SocketServer&) = delete;
  SocketServer& operator=(const SocketServer&) = delete;

  /* Binds and listens. Raises platform::EOleError with the system's reason
     when the address cannot be used. Returns the port (the chosen one when
     Port is 0). */
  int Listen();

  /* Serves until Stop. Then closes every connection, lets the calls that are
     running finish and releases all server objects before returning. */
  void Run();

  /* Asks Run to end; may be called from any thread and from a signal
     handler. */
  void Stop() noexcept;

  /* Open connections, as last counted by Run (for monitoring and tests). */
  size_t ConnectionCount() const { return connectionCount_.load(); }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::atomic<size_t> connectionCount_{0};
};

}  // namespace socketserver

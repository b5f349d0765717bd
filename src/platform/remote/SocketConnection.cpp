#include "platform/remote/SocketConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"

namespace platform::remote {

namespace {

using Clock = std::chrono::steady_clock;

const char kLost[] = "Socket connection lost";
const char kClosed[] = "Socket connection closed";

std::string Seconds(std::chrono::milliseconds timeout) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(timeout.count()) / 1000.0);
  return text;
}

std::string Endpoint(const std::string& host, int port) {
  return host + ":" + std::to_string(port);
}

// Milliseconds left until the deadline, for poll(); 0 once it has passed.
int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return left > 1000000 ? 1000000 : static_cast<int>(left);
}

enum class Wait { Ready, TimedOut, Failed };

Wait WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, MillisecondsLeft(deadline));
    if (n > 0) return Wait::Ready;
    if (n == 0) {
      if (Clock::now() >= deadline) return Wait::TimedOut;
      continue;
    }
    if (errno != EINTR) return Wait::Failed;
  }
}

// Opens a non-blocking TCP socket to host:port within the deadline.
int ConnectSocket(const std::string& host, int port, std::chrono::milliseconds timeout) {
  if (port < 1 || port > 65535) throw EOleError("Invalid port " + std::to_string(port));
  if (host.empty()) throw EOleError("No server address given for the socket connection");
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0) {
    throw EOleError("Cannot find server " + host + ": " + ::gai_strerror(rc));
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  std::string failure = "no address";
  int fd = -1;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) {
      failure = std::strerror(errno);
      continue;
    }
    int rc = ::connect(fd, a->ai_addr, a->ai_addrlen);
    if (rc != 0 && errno == EINPROGRESS) {
      const Wait w = WaitFor(fd, POLLOUT, deadline);
      if (w == Wait::TimedOut) {
        failure = "no answer within " + Seconds(timeout) + " s";
        errno = ETIMEDOUT;
      } else {
        int error = 0;
        socklen_t size = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
        errno = error;
        rc = error == 0 ? 0 : -1;
      }
    }
    if (rc != 0) {
      if (errno != ETIMEDOUT) failure = std::strerror(errno);
      ::close(fd);
      fd = -1;
    }
  }
  ::freeaddrinfo(found);
  if (fd < 0) throw EOleError("Cannot connect to " + Endpoint(host, port) + ": " + failure);
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

// Rebuilds a server-side error as the platform exception of the same class.
[[noreturn]] void RaiseRemoteError(const Reply& reply, const std::string& serverName) {
  const std::string& name = reply.ErrorClass;
  const std::string& message = reply.ErrorMessage;
  if (name == "EUnknownName") {
    EUnknownName error("");
    error.SetMessage(message);
    throw error;
  }
  if (name == "EBadArgument") throw EBadArgument(message);
  if (name == "EOleError") throw EOleError(message);
  throw EOleException(message, serverName);
}

}  // namespace

// The socket of one connection, shared by the connection and every server
// object it handed out, so that an object outliving a closed connection
// fails cleanly instead of touching a closed socket.
class Channel {
 public:
  Channel(int fd, const WireLimits& limits, std::chrono::milliseconds timeout)
      : fd_(fd), limits_(limits), reader_(limits.MaxFrameBytes), timeoutMs_(timeout.count()) {}
  ~Channel() {
    if (fd_ >= 0) ::close(fd_);
  }
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  bool IsOpen() const { return open_.load(); }
  void SetTimeout(std::chrono::milliseconds timeout) { timeoutMs_.store(timeout.count()); }

  void Close(const char* reason) {
    std::lock_guard lock(mutex_);
    Shut(reason);
  }

  /* Sends the request under a fresh call id and waits for its reply. */
  Reply Call(Request& request) {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) throw EOleError(closedReason_);
    request.CallId = nextId_++;
    const std::string frame = EncodeRequestFrame(request, limits_);
    const std::chrono::milliseconds timeout(timeoutMs_.load());
    const Clock::time_point deadline = Clock::now() + timeout;
    const std::string lateText = "Server did not answer within " + Seconds(timeout) + " s";

    size_t sent = 0;
    while (sent < frame.size()) {
      const ssize_t n = ::send(fd_, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
      if (n > 0) {
        sent += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        const Wait w = WaitFor(fd_, POLLOUT, deadline);
        if (w == Wait::TimedOut) Fail(lateText.c_str());
        if (w == Wait::Failed) Fail(kLost);
        continue;
      }
      Fail(kLost);
    }

    std::string body;
    char buffer[65536];
    while (!reader_.TakeFrame(body)) {
      const Wait w = WaitFor(fd_, POLLIN, deadline);
      if (w == Wait::TimedOut) Fail(lateText.c_str());
      if (w == Wait::Failed) Fail(kLost);
      const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
      if (n <= 0) Fail(kLost);
      if (!reader_.Feed(std::string_view(buffer, static_cast<size_t>(n)))) {
        Fail("Socket connection lost: the server sent a message over the size limit");
      }
    }
    Reply reply;
    try {
      reply = DecodeReply(body, limits_);
    } catch (const EWireFormat& e) {
      Fail(("Socket connection lost: " + e.Message()).c_str());
    }
    if (reply.CallId != request.CallId) {
      Fail("Socket connection lost: the server answered another call");
    }
    return reply;
  }

 private:
  void Shut(const char* reason) {
    if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
      closedReason_ = reason;
    }
    open_.store(false);
  }

  // Gives up the connection: after a lost socket or a missed deadline the
  // stream can no longer be trusted to line up with the calls.
  [[noreturn]] void Fail(const char* message) {
    Shut(kLost);
    throw EOleError(message);
  }

  std::mutex mutex_;
  int fd_;
  std::atomic<bool> open_{true};
  std::string closedReason_;
  uint64_t nextId_ = 1;
  WireLimits limits_;
  FrameReader reader_;
  std::atomic<int64_t> timeoutMs_;
};

namespace {

// The server object as the caller sees it: every member goes to the server.
class RemoteObject : public Dispatch {
 public:
  RemoteObject(std::shared_ptr<Channel> channel, std::string className)
      : channel_(std::move(channel)), className_(std::move(className)) {}

  Variant Invoke(std::string_view name, std::vector<Variant>& args) override {
    Reply reply = Call(CallKind::Method, name, args);
    if (reply.RefArgs.size() == args.size()) {
      for (size_t i = 0; i < args.size(); ++i) args[i] = std::move(reply.RefArgs[i]);
    }
    return std::move(reply.Result);
  }

  Variant GetProperty(std::string_view name) override {
    return Call(CallKind::GetProperty, name, {}).Result;
  }

  void PutProperty(std::string_view name, const Variant& value) override {
    Call(CallKind::PutProperty, name, {value});
  }

  std::string ClassName() const override { return className_; }

 private:
  Reply Call(CallKind kind, std::string_view name, std::vector<Variant> args) {
    Request request;
    request.ServerClass = className_;
    request.Operation = std::string(name);
    request.Kind = kind;
    request.Args = std::move(args);
    Reply reply = channel_->Call(request);
    if (reply.Failed) RaiseRemoteError(reply, className_);
    return reply;
  }

  std::shared_ptr<Channel> channel_;
  std::string className_;
};

}  // namespace

// ---------------------------------------------------------------------------
// TSimpleObjectBroker

void TSimpleObjectBroker::AddServer(std::string computerName, int port) {
  TServerItem item;
  item.ComputerName = std::move(computerName);
  item.Port = port;
  servers_.push_back(std::move(item));
}

const TServerItem& TSimpleObjectBroker::NextServer() {
  const size_t count = servers_.size();
  auto pick = [&]() -> const TServerItem* {
    for (size_t step = 0; step < count; ++step) {
      const size_t i = loadBalanced_ ? (start_ + step) % count : step;
      if (servers_[i].Enabled && !servers_[i].HasFailed) {
        if (loadBalanced_) start_ = (i + 1) % count;
        return &servers_[i];
      }
    }
    return nullptr;
  };
  if (const TServerItem* item = pick()) return *item;
  for (TServerItem& item : servers_) item.HasFailed = false;
  if (const TServerItem* item = pick()) return *item;
  throw EOleError("No server available");
}

void TSimpleObjectBroker::SetConnectStatus(std::string_view computerName, bool success) {
  for (TServerItem& item : servers_) {
    if (item.ComputerName == computerName) item.HasFailed = !success;
  }
}

// ---------------------------------------------------------------------------
// TSocketConnection

TSocketConnection::TSocketConnection() = default;

TSocketConnection::~TSocketConnection() { SetConnected(false); }

void TSocketConnection::SetCallTimeout(std::chrono::milliseconds timeout) {
  timeout_ = timeout;
  if (channel_) channel_->SetTimeout(timeout);
}

bool TSocketConnection::Connected() const { return channel_ && channel_->IsOpen(); }

void TSocketConnection::SetConnected(bool value) {
  if (value) {
    if (!Connected()) Connect();
    return;
  }
  if (channel_) channel_->Close(kClosed);
  channel_.reset();
  remote_ = Variant();
  local_ = Variant();
}

void TSocketConnection::Connect() {
  SetConnected(false);
  int fd = -1;
  if (broker_) {
    const size_t attempts = broker_->Servers().empty() ? 1 : broker_->Servers().size();
    for (size_t i = 0; i < attempts && fd < 0; ++i) {
      const TServerItem& server = broker_->NextServer();
      const std::string host = server.ComputerName;
      const int port = server.Port;
      try {
        fd = ConnectSocket(host, port, timeout_);
        broker_->SetConnectStatus(host, true);
        address_ = host;
        port_ = port;
      } catch (const EOleError&) {
        broker_->SetConnectStatus(host, false);
        if (i + 1 == attempts) throw;
      }
    }
  } else {
    fd = ConnectSocket(address_, port_, timeout_);
  }
  auto channel = std::make_shared<Channel>(fd, limits_, timeout_);
  auto object = std::make_shared<RemoteObject>(channel, serverName_);
  if (!serverName_.empty()) {
    // An empty operation has the server create the object and nothing else,
    // so that a class it does not know fails the connection, not a later call.
    try {
      object->GetProperty("");
    } catch (...) {
      channel->Close(kClosed);
      throw;
    }
  }
  channel_ = std::move(channel);
  remote_ = Variant(DispatchPtr(std::move(object)));
}

Variant TSocketConnection::AppServer() {
  if (!local_.IsEmpty()) return local_;
  if (!Connected()) Connect();
  return remote_;
}

void TSocketConnection::SetAppServer(const Variant& server) {
  SetConnected(false);
  local_ = server;
}

}  // namespace platform::remote

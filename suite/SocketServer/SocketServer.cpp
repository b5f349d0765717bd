#include "suite/SocketServer/SocketServer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Exception.h"

namespace socketserver {

using platform::DispatchPtr;
using platform::EOleError;
using platform::Variant;
using namespace platform::remote;
using Clock = std::chrono::steady_clock;

namespace {

// Complete frames a connection may have waiting before the server stops
// reading from it, and reply bytes it may leave unread before the server
// stops running its calls: a client that floods or never reads only holds
// its own buffers.
constexpr size_t kMaxWaitingFrames = 8;
constexpr size_t kMaxUnsentBytes = size_t{1} << 20;
// An error text is cut to this many bytes so that its reply always fits.
constexpr size_t kMaxErrorText = 4096;
// How long accepting pauses when the process is out of descriptors.
constexpr auto kAcceptPause = std::chrono::milliseconds(100);

constexpr uint64_t kListenTag = 0;
constexpr uint64_t kWakeTag = 1;

std::string ClassKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return key;
}

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

struct Connection {
  explicit Connection(uint64_t id, int fd, uint32_t maxFrameBytes)
      : Id(id), Fd(fd), In(maxFrameBytes) {}

  uint64_t Id;
  int Fd;
  FrameReader In;
  std::string Out;
  size_t OutSent = 0;
  bool Busy = false;     // a worker runs one of its calls
  bool Dropped = false;  // the socket is closed; kept until its call ends
  bool ReadPaused = false;
  bool PartialTracked = false;
  uint32_t Registered = EPOLLIN;  // the events epoll watches for it
  Clock::time_point PartialSince;
  Clock::time_point WriteProgress;
  size_t Accounted = 0;  // bytes of In counted in the server's total
  // The server objects of this connection, by class name in upper case. Only
  // the worker running the connection's call touches them.
  std::map<std::string, DispatchPtr> Objects;

  size_t Unsent() const { return Out.size() - OutSent; }
};

using ConnectionPtr = std::shared_ptr<Connection>;

struct Job {
  ConnectionPtr Conn;
  std::string Frame;
};

struct Done {
  uint64_t ConnId = 0;
  std::string Reply;  // a whole frame
  bool Drop = false;  // the frame was not a request at all
};

Reply Failure(uint64_t callId, std::string errorClass, std::string message) {
  Reply reply;
  reply.CallId = callId;
  reply.Failed = true;
  reply.ErrorClass = std::move(errorClass);
  if (message.size() > kMaxErrorText) message.resize(kMaxErrorText);
  reply.ErrorMessage = std::move(message);
  return reply;
}

// Runs one request against the connection's server objects.
Reply Execute(Connection& conn, Request& request) {
  try {
    const std::string key = ClassKey(request.ServerClass);
    auto found = conn.Objects.find(key);
    if (found == conn.Objects.end()) {
      found = conn.Objects.emplace(key, platform::CreateOleObject(request.ServerClass)).first;
    }
    platform::Dispatch& object = *found->second;
    Reply reply;
    reply.CallId = request.CallId;
    if (request.Operation.empty()) return reply;  // the object only had to exist
    switch (request.Kind) {
      case CallKind::Method:
        reply.Result = object.Invoke(request.Operation, request.Args);
        reply.RefArgs = std::move(request.Args);
        break;
      case CallKind::GetProperty:
        if (!request.Args.empty()) throw platform::EBadArgument("Invalid number of parameters");
        reply.Result = object.GetProperty(request.Operation);
        break;
      case CallKind::PutProperty:
        if (request.Args.size() != 1) throw platform::EBadArgument("Invalid number of parameters");
        object.PutProperty(request.Operation, request.Args[0]);
        break;
    }
    return reply;
  } catch (const platform::Exception& e) {
    return Failure(request.CallId, e.ClassName(), e.Message());
  } catch (const std::exception& e) {
    return Failure(request.CallId, "Exception", e.what());
  } catch (...) {
    return Failure(request.CallId, "Exception", "Unknown error");
  }
}

Done Serve(Connection& conn, const std::string& frame, const WireLimits& limits) {
  Done done;
  done.ConnId = conn.Id;
  std::optional<uint64_t> callId;
  Reply reply;
  try {
    Request request = DecodeRequest(frame, limits, &callId);
    reply = Execute(conn, request);
  } catch (const EWireFormat& e) {
    if (!callId) {
      done.Drop = true;
      return done;
    }
    reply = Failure(*callId, "EBadArgument", e.Message());
  }
  try {
    done.Reply = EncodeReplyFrame(reply, limits);
  } catch (const platform::Exception& e) {
    // The result could not be sent (an object, or too large): say so instead.
    done.Reply = EncodeReplyFrame(Failure(reply.CallId, "EOleError", e.Message()), limits);
  }
  return done;
}

}  // namespace

struct SocketServer::Impl {
  explicit Impl(ServerOptions options) : Options(std::move(options)) {}

  ServerOptions Options;
  int ListenFd = -1;
  int WakeFd = -1;
  int Epoll = -1;
  std::atomic<bool> StopRequested{false};

  // Loop state; only the thread in Run touches it.
  std::unordered_map<uint64_t, ConnectionPtr> Connections;
  size_t OpenCount = 0;
  uint64_t NextId = 2;  // 0 and 1 tag the listening socket and the wake-up
  size_t Buffered = 0;
  bool AcceptPaused = false;
  Clock::time_point AcceptResume;
  std::vector<char> ReadBuffer = std::vector<char>(65536);

  // Worker pool.
  std::mutex JobLock;
  std::condition_variable JobReady;
  std::deque<Job> Jobs;
  bool Stopping = false;
  std::vector<std::thread> Workers;
  std::mutex DoneLock;
  std::vector<Done> Finished;

  void Wake() noexcept {
    const uint64_t one = 1;
    ssize_t ignored = ::write(WakeFd, &one, sizeof one);
    (void)ignored;
  }

  void Watch(Connection& conn) {
    const uint32_t wanted =
        (conn.ReadPaused ? 0u : uint32_t{EPOLLIN}) | (conn.Unsent() > 0 ? uint32_t{EPOLLOUT} : 0u);
    if (wanted == conn.Registered) return;
    epoll_event event{};
    event.events = wanted;
    event.data.u64 = conn.Id;
    ::epoll_ctl(Epoll, EPOLL_CTL_MOD, conn.Fd, &event);
    conn.Registered = wanted;
  }

  void Account(Connection& conn) {
    Buffered = Buffered - conn.Accounted + conn.In.BufferedBytes();
    conn.Accounted = conn.In.BufferedBytes();
  }

  void Drop(const ConnectionPtr& conn) {
    if (conn->Dropped) return;
    ::epoll_ctl(Epoll, EPOLL_CTL_DEL, conn->Fd, nullptr);
    ::close(conn->Fd);
    conn->Dropped = true;
    Buffered -= conn->Accounted;
    conn->Accounted = 0;
    --OpenCount;
    // A connection whose call is running stays until the call ends, so that
    // its server objects are released after it, never under it.
    if (!conn->Busy) Connections.erase(conn->Id);
  }

  void AcceptAll() {
    for (;;) {
      const int fd = ::accept4(ListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) {
        if (errno == EINTR || errno == ECONNABORTED) continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
          // The pending connection stays in the queue; try again shortly
          // instead of spinning on a socket that stays readable.
          AcceptPaused = true;
          AcceptResume = Clock::now() + kAcceptPause;
          epoll_event event{};
          event.data.u64 = kListenTag;
          ::epoll_ctl(Epoll, EPOLL_CTL_MOD, ListenFd, &event);
        }
        return;
      }
      if (OpenCount >= Options.MaxConnections) {
        ::close(fd);
        continue;
      }
      int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      auto conn = std::make_shared<Connection>(NextId++, fd, Options.Limits.MaxFrameBytes);
      epoll_event event{};
      event.events = EPOLLIN;
      event.data.u64 = conn->Id;
      if (::epoll_ctl(Epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        ::close(fd);
        continue;
      }
      ++OpenCount;
      Connections.emplace(conn->Id, std::move(conn));
    }
  }

  void ResumeAccepting() {
    AcceptPaused = false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = kListenTag;
    ::epoll_ctl(Epoll, EPOLL_CTL_MOD, ListenFd, &event);
  }

  void Read(const ConnectionPtr& conn) {
    // A bounded number of reads per turn keeps one busy client from starving
    // the others.
    for (int turn = 0; turn < 16 && !conn->ReadPaused; ++turn) {
      const ssize_t n = ::recv(conn->Fd, ReadBuffer.data(), ReadBuffer.size(), 0);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      if (n <= 0) {
        Drop(conn);
        return;
      }
      if (Buffered + static_cast<size_t>(n) > Options.MaxBufferedBytes) {
        Drop(conn);
        return;
      }
      const size_t completeBefore = conn->In.CompleteFrames();
      if (!conn->In.Feed(std::string_view(ReadBuffer.data(), static_cast<size_t>(n)))) {
        Drop(conn);
        return;
      }
      Account(*conn);
      if (conn->In.CompleteFrames() != completeBefore) conn->PartialTracked = false;
      if (conn->In.HasPartialFrame() && !conn->PartialTracked) {
        conn->PartialTracked = true;
        conn->PartialSince = Clock::now();
      }
      if (conn->In.CompleteFrames() >= kMaxWaitingFrames) {
        conn->ReadPaused = true;
        Watch(*conn);
      }
    }
    Dispatch(conn);
  }

  void Dispatch(const ConnectionPtr& conn) {
    if (conn->Busy || conn->Dropped || conn->Unsent() > kMaxUnsentBytes) return;
    std::string frame;
    if (!conn->In.TakeFrame(frame)) return;
    Account(*conn);
    if (conn->ReadPaused && conn->In.CompleteFrames() < kMaxWaitingFrames) {
      conn->ReadPaused = false;
      // The stall clock restarts: the server, not the client, held it up.
      if (conn->In.HasPartialFrame()) conn->PartialSince = Clock::now();
      Watch(*conn);
    }
    conn->Busy = true;
    {
      std::lock_guard lock(JobLock);
      Jobs.push_back(Job{conn, std::move(frame)});
    }
    JobReady.notify_one();
  }

  void Flush(const ConnectionPtr& conn) {
    while (conn->Unsent() > 0) {
      const ssize_t n =
          ::send(conn->Fd, conn->Out.data() + conn->OutSent, conn->Unsent(), MSG_NOSIGNAL);
      if (n > 0) {
        conn->OutSent += static_cast<size_t>(n);
        conn->WriteProgress = Clock::now();
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      Drop(conn);
      return;
    }
    if (conn->Unsent() == 0) {
      conn->Out.clear();
      conn->OutSent = 0;
    }
    Watch(*conn);
    Dispatch(conn);
  }

  void Complete(Done& done) {
    const auto found = Connections.find(done.ConnId);
    if (found == Connections.end()) return;
    const ConnectionPtr conn = found->second;
    conn->Busy = false;
    if (conn->Dropped) {
      Connections.erase(found);
      return;
    }
    if (done.Drop) {
      Drop(conn);
      return;
    }
    if (conn->Unsent() == 0) conn->WriteProgress = Clock::now();
    conn->Out += done.Reply;
    Flush(conn);
  }

  void CompleteAll() {
    std::vector<Done> finished;
    {
      std::lock_guard lock(DoneLock);
      finished.swap(Finished);
    }
    for (Done& done : finished) Complete(done);
  }

  // Drops stalled connections; returns how long epoll may wait.
  int Sweep() {
    const Clock::time_point now = Clock::now();
    Clock::time_point next = now + std::chrono::seconds(1);
    if (AcceptPaused) {
      if (now >= AcceptResume) {
        ResumeAccepting();
      } else {
        next = std::min(next, AcceptResume);
      }
    }
    std::vector<ConnectionPtr> stalled;
    for (auto& [id, conn] : Connections) {
      if (conn->Dropped) continue;
      if (conn->PartialTracked && !conn->ReadPaused && conn->In.HasPartialFrame()) {
        const Clock::time_point limit = conn->PartialSince + Options.StallTimeout;
        if (now >= limit) {
          stalled.push_back(conn);
          continue;
        }
        next = std::min(next, limit);
      }
      if (conn->Unsent() > 0) {
        const Clock::time_point limit = conn->WriteProgress + Options.StallTimeout;
        if (now >= limit) {
          stalled.push_back(conn);
          continue;
        }
        next = std::min(next, limit);
      }
    }
    for (const ConnectionPtr& conn : stalled) Drop(conn);
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::clamp<int64_t>(wait, 0, 1000));
  }

  void WorkerLoop() {
    for (;;) {
      Job job;
      {
        std::unique_lock lock(JobLock);
        JobReady.wait(lock, [&] { return Stopping || !Jobs.empty(); });
        if (Stopping) return;
        job = std::move(Jobs.front());
        Jobs.pop_front();
      }
      Done done = Serve(*job.Conn, job.Frame, Options.Limits);
      job.Conn.reset();
      {
        std::lock_guard lock(DoneLock);
        Finished.push_back(std::move(done));
      }
      Wake();
    }
  }

  void Shutdown() {
    if (ListenFd >= 0) {
      ::close(ListenFd);
      ListenFd = -1;
    }
    for (auto& [id, conn] : Connections) {
      if (!conn->Dropped) ::close(conn->Fd);
      conn->Dropped = true;
    }
    {
      std::lock_guard lock(JobLock);
      Jobs.clear();
      Stopping = true;
    }
    JobReady.notify_all();
    for (std::thread& worker : Workers) worker.join();
    Workers.clear();
    Finished.clear();
    Connections.clear();  // the server objects go with their connections
    OpenCount = 0;
    Buffered = 0;
  }
};

SocketServer::SocketServer(ServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {
  impl_->WakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  impl_->Epoll = ::epoll_create1(EPOLL_CLOEXEC);
  if (impl_->WakeFd < 0 || impl_->Epoll < 0)
    throw EOleError(SystemError("Cannot start the server"));
}

SocketServer::~SocketServer() {
  if (impl_->ListenFd >= 0) ::close(impl_->ListenFd);
  ::close(impl_->Epoll);
  ::close(impl_->WakeFd);
}

int SocketServer::Listen() {
  Impl& s = *impl_;
  const ServerOptions& o = s.Options;
  if (o.Port < 0 || o.Port > 65535) throw EOleError("Invalid port " + std::to_string(o.Port));
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(o.Port);
  const char* host = o.ListenAddress.empty() ? nullptr : o.ListenAddress.c_str();
  if (const int rc = ::getaddrinfo(host, service.c_str(), &hints, &found); rc != 0) {
    throw EOleError("Cannot listen on " + o.ListenAddress + ": " + ::gai_strerror(rc));
  }
  std::string failure;
  for (addrinfo* a = found; a && s.ListenFd < 0; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      failure = SystemError("socket");
      continue;
    }
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
      failure = SystemError("Cannot listen on " + o.ListenAddress + ":" + service);
      ::close(fd);
      continue;
    }
    s.ListenFd = fd;
  }
  ::freeaddrinfo(found);
  if (s.ListenFd < 0) throw EOleError(failure);

  sockaddr_storage address{};
  socklen_t size = sizeof address;
  ::getsockname(s.ListenFd, reinterpret_cast<sockaddr*>(&address), &size);
  return address.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

void SocketServer::Run() {
  Impl& s = *impl_;
  if (s.ListenFd < 0) throw EOleError("The server is not listening");
  epoll_event event{};
  event.events = EPOLLIN;
  event.data.u64 = kListenTag;
  ::epoll_ctl(s.Epoll, EPOLL_CTL_ADD, s.ListenFd, &event);
  event.data.u64 = kWakeTag;
  ::epoll_ctl(s.Epoll, EPOLL_CTL_ADD, s.WakeFd, &event);
  for (int i = 0; i < std::max(1, s.Options.Workers); ++i) {
    s.Workers.emplace_back([&s] { s.WorkerLoop(); });
  }

  std::vector<epoll_event> events(256);
  while (!s.StopRequested.load()) {
    const int wait = s.Sweep();
    connectionCount_.store(s.OpenCount);
    const int n = ::epoll_wait(s.Epoll, events.data(), static_cast<int>(events.size()), wait);
    for (int i = 0; i < n; ++i) {
      const uint64_t tag = events[static_cast<size_t>(i)].data.u64;
      const uint32_t what = events[static_cast<size_t>(i)].events;
      if (tag == kListenTag) {
        s.AcceptAll();
      } else if (tag == kWakeTag) {
        uint64_t count;
        ssize_t ignored = ::read(s.WakeFd, &count, sizeof count);
        (void)ignored;
      } else if (auto found = s.Connections.find(tag); found != s.Connections.end()) {
        const ConnectionPtr conn = found->second;
        if (what & (EPOLLHUP | EPOLLERR)) {
          // Nothing can reach the client any more.
          s.Drop(conn);
          continue;
        }
        if (what & EPOLLOUT) s.Flush(conn);
        if (!conn->Dropped && (what & EPOLLIN)) s.Read(conn);
      }
    }
    s.CompleteAll();
  }
  s.Shutdown();
  connectionCount_.store(0);
}

void SocketServer::Stop() noexcept {
  impl_->StopRequested.store(true);
  impl_->Wake();
}

}  // namespace socketserver

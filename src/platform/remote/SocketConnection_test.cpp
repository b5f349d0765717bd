#include "platform/remote/SocketConnection.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/core/Dispatch.h"
#include "platform/remote/test/RemoteTestSupport.h"

namespace platform::remote {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::UnusedPort;

// What the scripted server does with one request.
struct Action {
  enum Kind { Answer, Silence, HangUp, Raw } kind = Answer;
  Reply reply;
  std::string raw;  // sent as it is for Raw
};

Action Answer(Variant result, std::vector<Variant> refArgs = {}) {
  Action a;
  a.reply.Result = std::move(result);
  a.reply.RefArgs = std::move(refArgs);
  return a;
}

Action Error(std::string errorClass, std::string message) {
  Action a;
  a.reply.Failed = true;
  a.reply.ErrorClass = std::move(errorClass);
  a.reply.ErrorMessage = std::move(message);
  return a;
}

// A server on a loopback port that answers each request as its handler
// says; one thread per connection. It knows nothing of server objects, so
// the client is seen exactly as it talks. The empty operation a connection
// sends to have its server object made is answered without the handler,
// unless answerProbes is false.
class ScriptedServer {
 public:
  using Handler = std::function<Action(const Request&)>;

  explicit ScriptedServer(Handler handler, bool answerProbes = true)
      : handler_(std::move(handler)), answerProbes_(answerProbes) {
    listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listen_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listen_, 16) != 0 ||
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      ADD_FAILURE() << "cannot listen";
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  ~ScriptedServer() {
    stop_ = true;
    acceptor_.join();  // after this no connection thread is added
    for (std::thread& t : threads_) t.join();
    ::close(listen_);
  }

  int Port() const { return port_; }

  std::vector<Request> Seen() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  bool Readable(int fd) {
    while (!stop_) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  void AcceptLoop() {
    while (Readable(listen_)) {
      const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      std::lock_guard lock(mutex_);
      threads_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Serve(int fd) {
    FrameReader reader(1u << 20);
    char buffer[4096];
    std::string body;
    bool open = true;
    while (open && Readable(fd)) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0 || !reader.Feed(std::string_view(buffer, static_cast<size_t>(n)))) break;
      while (open && reader.TakeFrame(body)) {
        const Request request = DecodeRequest(body);
        {
          std::lock_guard lock(mutex_);
          seen_.push_back(request);
        }
        Action action =
            request.Operation.empty() && answerProbes_ ? Answer(Variant()) : handler_(request);
        if (action.kind == Action::Answer) {
          action.reply.CallId = request.CallId;
          const std::string frame = EncodeReplyFrame(action.reply);
          ::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL);
        } else if (action.kind == Action::Raw) {
          ::send(fd, action.raw.data(), action.raw.size(), MSG_NOSIGNAL);
        } else if (action.kind == Action::HangUp) {
          open = false;
        }
      }
    }
    ::close(fd);
  }

  Handler handler_;
  bool answerProbes_;
  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::thread acceptor_;
  std::vector<std::thread> threads_;
  std::vector<Request> seen_;
};

void Point(TSocketConnection& connection, int port) {
  connection.SetAddress("127.0.0.1");
  connection.SetPort(port);
  connection.SetServerName("Test.Remote");
}

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST(SocketConnectionTest, CallsAndPropertiesTravelAndArgumentsComeBack) {
  ScriptedServer server([](const Request& r) {
    if (r.Operation == "Swap") return Answer(Variant("交换"), {r.Args[1], r.Args[0]});
    if (r.Operation == "Value") return Answer(Variant(int32_t{42}));
    return Error("EUnknownName", "no " + r.Operation);
  });
  TSocketConnection connection;
  Point(connection, server.Port());
  EXPECT_FALSE(connection.Connected());
  connection.SetConnected(true);
  EXPECT_TRUE(connection.Connected());
  const Variant app = connection.AppServer();
  EXPECT_EQ(app.AsDispatch()->ClassName(), "Test.Remote");

  std::vector<Variant> args{Variant(u"甲"), Variant(VarArrayOf({Variant(int32_t{1})}))};
  const Variant result = CallMethod(app, "Swap", args);
  EXPECT_EQ(result.AsString(), "交换");
  EXPECT_TRUE(args[0] == VarArrayOf({Variant(int32_t{1})}));
  EXPECT_TRUE(args[1] == Variant(u"甲"));
  EXPECT_EQ(GetProperty(app, "Value").AsInteger(), 42);
  PutProperty(app, "Value", Variant(7.5));

  const std::vector<Request> seen = server.Seen();
  ASSERT_EQ(seen.size(), 4u);
  // Connecting has the server make the object; then the calls in order.
  EXPECT_EQ(seen[0].Operation, "");
  EXPECT_EQ(seen[0].ServerClass, "Test.Remote");
  EXPECT_EQ(seen[1].Kind, CallKind::Method);
  EXPECT_EQ(seen[2].Kind, CallKind::GetProperty);
  EXPECT_TRUE(seen[2].Args.empty());
  EXPECT_EQ(seen[3].Kind, CallKind::PutProperty);
  ASSERT_EQ(seen[3].Args.size(), 1u);
  EXPECT_TRUE(seen[3].Args[0] == Variant(7.5));
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_GT(seen[i].CallId, seen[i - 1].CallId);
}

TEST(SocketConnectionTest, ServerErrorsArriveWithTheirClassAndMessage) {
  struct Case {
    const char* sent;
    const char* raised;
  } cases[] = {
      {"EUnknownName", "EUnknownName"},   {"EBadArgument", "EBadArgument"},
      {"EOleError", "EOleError"},         {"EOleException", "EOleException"},
      {"EVariantError", "EOleException"}, {"Exception", "EOleException"},
  };
  ScriptedServer server(
      [](const Request& r) { return Error(r.Operation, "失败: " + r.Operation); });
  TSocketConnection connection;
  Point(connection, server.Port());
  const Variant app = connection.AppServer();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sent);
    try {
      CallMethod(app, c.sent);
      ADD_FAILURE() << "no error";
    } catch (const EOleError& e) {
      EXPECT_STREQ(e.ClassName(), c.raised);
      EXPECT_EQ(e.Message(), std::string("失败: ") + c.sent);
      if (auto* ole = dynamic_cast<const EOleException*>(&e)) {
        EXPECT_EQ(ole->Source(), "Test.Remote");
      }
    }
    // A failed call leaves the connection as it was.
    EXPECT_TRUE(connection.Connected());
  }
}

TEST(SocketConnectionTest, ConnectingMakesTheServerObjectSoAnUnknownClassFailsThere) {
  ScriptedServer server(
      [](const Request& r) {
        if (r.ServerClass == "Test.Unknown") return Error("EOleError", "Invalid class string");
        return Answer(Variant());
      },
      /*answerProbes=*/false);
  TSocketConnection connection;
  Point(connection, server.Port());
  connection.SetServerName("Test.Unknown");
  EXPECT_THROW(connection.Open(), EOleError);
  EXPECT_FALSE(connection.Connected());
  connection.SetServerName("Test.Remote");
  connection.Open();
  EXPECT_TRUE(connection.Connected());
  // Without a server name there is nothing to make.
  connection.Close();
  connection.SetServerName("");
  connection.Open();
  EXPECT_TRUE(connection.Connected());

  const std::vector<Request> seen = server.Seen();
  ASSERT_EQ(seen.size(), 2u);
  for (const Request& r : seen) {
    EXPECT_EQ(r.Operation, "");
    EXPECT_EQ(r.Kind, CallKind::GetProperty);
  }
  EXPECT_EQ(seen[0].ServerClass, "Test.Unknown");
  EXPECT_EQ(seen[1].ServerClass, "Test.Remote");
}

TEST(SocketConnectionTest, SilentServerMissesTheDeadline) {
  ScriptedServer server([](const Request& r) {
    if (r.Operation == "Wait") return Action{Action::Silence, {}, {}};
    return Answer(Variant(true));
  });
  TSocketConnection connection;
  Point(connection, server.Port());
  const Variant app = connection.AppServer();
  // Changing the deadline reaches objects already handed out.
  connection.SetCallTimeout(300ms);
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(MessageOf([&] { CallMethod(app, "Wait"); }), "Server did not answer within 0.3 s");
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, 300ms);
  EXPECT_LT(elapsed, 3s);
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(MessageOf([&] { CallMethod(app, "Other"); }), "Socket connection lost");
  // Asking for the server object again connects afresh.
  EXPECT_TRUE(CallMethod(connection.AppServer(), "Other").AsBoolean());
  EXPECT_TRUE(connection.Connected());
}

TEST(SocketConnectionTest, BrokenStreamsLoseTheConnection) {
  struct Case {
    const char* name;
    std::function<Action(const Request&)> reply;
    const char* message;
  } cases[] = {
      {"server hangs up",
       [](const Request&) {
         return Action{Action::HangUp, {}, {}};
       },
       "Socket connection lost"},
      {"reply to another call",
       [](const Request& r) {
         Reply reply;
         reply.CallId = r.CallId + 1;
         return Action{Action::Raw, {}, EncodeReplyFrame(reply)};
       },
       "Socket connection lost: the server answered another call"},
      {"not a reply",
       [](const Request&) {
         return Action{Action::Raw, {}, std::string("\0\0\0\2\x91\x00", 6)};
       },
       "Socket connection lost: Malformed message: a reply has four elements"},
      {"length of 4 GiB",
       [](const Request&) {
         return Action{Action::Raw, {}, std::string(4, '\xff')};
       },
       "Socket connection lost: the server sent a message over the size limit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server(c.reply);
    TSocketConnection connection;
    Point(connection, server.Port());
    const Variant app = connection.AppServer();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(MessageOf([&] { CallMethod(app, "Call"); }), c.message);
    EXPECT_LT(Clock::now() - start, 5s);  // well within the 30 s deadline
    EXPECT_FALSE(connection.Connected());
  }
}

TEST(SocketConnectionTest, ConnectFailures) {
  struct Case {
    const char* name;
    std::string address;
    int port;
    const char* message;
  } cases[] = {
      {"nobody listening", "127.0.0.1", UnusedPort(), "Cannot connect to 127.0.0.1:"},
      {"port 0", "127.0.0.1", 0, "Invalid port 0"},
      {"port beyond 65535", "127.0.0.1", 70000, "Invalid port 70000"},
      {"no address", "", 211, "No server address"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSocketConnection connection;
    connection.SetAddress(c.address);
    connection.SetPort(c.port);
    try {
      connection.SetConnected(true);
      ADD_FAILURE() << "connected";
    } catch (const EOleError& e) {
      EXPECT_EQ(e.Message().rfind(c.message, 0), 0u) << e.Message();
    }
    EXPECT_FALSE(connection.Connected());
  }
}

class Local : public AutoObject {
 public:
  Local() : AutoObject("Test.Local") {
    AddProperty("Where", [] { return Variant("here"); });
  }
};

TEST(SocketConnectionTest, ServerObjectHandedInAndObjectsAfterClosing) {
  ScriptedServer server([](const Request&) { return Answer(Variant(int32_t{1})); });
  TSocketConnection connection;
  Point(connection, server.Port());
  const Variant remote = connection.AppServer();
  EXPECT_EQ(CallMethod(remote, "One").AsInteger(), 1);

  // A server object made in process replaces the socket.
  connection.SetAppServer(Variant(DispatchPtr(std::make_shared<Local>())));
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(GetProperty(connection.AppServer(), "Where").AsString(), "here");
  EXPECT_EQ(MessageOf([&] { CallMethod(remote, "One"); }), "Socket connection closed");

  // Closing drops the handed-in object; the next use connects again.
  connection.Close();
  EXPECT_EQ(CallMethod(connection.AppServer(), "One").AsInteger(), 1);
  EXPECT_TRUE(connection.Connected());
}

TEST(SocketConnectionTest, ACallThatCannotBeSentLeavesTheConnectionUsable) {
  ScriptedServer server([](const Request&) { return Answer(Variant(int32_t{1})); });
  TSocketConnection connection;
  Point(connection, server.Port());
  const Variant app = connection.AppServer();
  EXPECT_THROW(CallMethod(app, "Take", {Variant(DispatchPtr(std::make_shared<Local>()))}),
               EBadArgument);
  EXPECT_TRUE(connection.Connected());
  EXPECT_EQ(CallMethod(app, "One").AsInteger(), 1);
}

TEST(ObjectBrokerTest, HandsOutServersInOrderSkippingFailures) {
  TSimpleObjectBroker broker;
  EXPECT_EQ(MessageOf([&] { broker.NextServer(); }), "No server available");
  broker.AddServer("a", 1);
  broker.AddServer("b", 2);
  broker.AddServer("c", 3);
  broker.Servers()[1].Enabled = false;
  EXPECT_EQ(broker.NextServer().ComputerName, "a");
  EXPECT_EQ(broker.NextServer().ComputerName, "a");
  broker.SetConnectStatus("a", false);
  EXPECT_EQ(broker.NextServer().ComputerName, "c");
  broker.SetConnectStatus("c", false);
  // Every enabled server failed: all are tried again.
  EXPECT_EQ(broker.NextServer().ComputerName, "a");
  EXPECT_FALSE(broker.Servers()[2].HasFailed);

  broker.SetLoadBalanced(true);
  std::string order;
  for (int i = 0; i < 4; ++i) order += broker.NextServer().ComputerName;
  EXPECT_EQ(order, "acac");

  for (TServerItem& item : broker.Servers()) item.Enabled = false;
  EXPECT_EQ(MessageOf([&] { broker.NextServer(); }), "No server available");
}

TEST(ObjectBrokerTest, ConnectionFallsBackToTheNextServer) {
  ScriptedServer server([](const Request&) { return Answer(Variant("up")); });
  TSimpleObjectBroker broker;
  broker.AddServer("127.0.0.1", UnusedPort());
  broker.AddServer("localhost", server.Port());
  TSocketConnection connection;
  connection.SetServerName("Test.Remote");
  connection.SetObjectBroker(&broker);
  EXPECT_EQ(CallMethod(connection.AppServer(), "State").AsString(), "up");
  EXPECT_EQ(connection.Address(), "localhost");
  EXPECT_EQ(connection.Port(), server.Port());
  EXPECT_TRUE(broker.Servers()[0].HasFailed);
  EXPECT_FALSE(broker.Servers()[1].HasFailed);

  // With every server down the last failure is raised.
  TSimpleObjectBroker dead;
  dead.AddServer("127.0.0.1", UnusedPort());
  connection.Close();
  connection.SetObjectBroker(&dead);
  EXPECT_EQ(MessageOf([&] { connection.Open(); }).rfind("Cannot connect to 127.0.0.1:", 0), 0u);
}

}  // namespace
}  // namespace platform::remote

#include "suite/SocketServer/SocketServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/core/Dispatch.h"
#include "platform/core/Registry.h"
#include "platform/remote/SocketConnection.h"
#include "suite/SocketServer/ServerTestSupport.h"

namespace socketserver {
namespace {

using namespace test;
using platform::CallMethod;
using platform::GetProperty;
using platform::PutProperty;
using platform::Variant;
using platform::remote::Reply;
using platform::remote::TSocketConnection;

// A server running in a thread of the test, serving the test module's
// classes on a free loopback port.
class SocketServerTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetRegistryFile(classes_.RegistryFile()); }

  void TearDown() override {
    if (server_) {
      server_->Stop();
      thread_.join();
    }
    platform::SetRegistryFile(std::nullopt);
  }

  void Start(ServerOptions options = {}) {
    options.Port = 0;
    server_ = std::make_unique<SocketServer>(options);
    port_ = server_->Listen();
    thread_ = std::thread([this] { server_->Run(); });
  }

  std::unique_ptr<TSocketConnection> Connect(const std::string& serverName = "RemoteTest.Echo") {
    auto connection = std::make_unique<TSocketConnection>();
    connection->SetAddress("127.0.0.1");
    connection->SetPort(port_);
    connection->SetServerName(serverName);
    connection->SetCallTimeout(10s);
    connection->Open();
    return connection;
  }

  // Waits (up to 5 s) until the server counts that many connections.
  bool ConnectionsReach(size_t count) {
    const Clock::time_point deadline = Clock::now() + 5s;
    while (server_->ConnectionCount() != count) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }

  // A normal client is still served.
  void ExpectServing() {
    auto connection = Connect();
    EXPECT_EQ(CallMethod(connection->AppServer(), "Echo", {Variant("仍在服务")}).AsString(),
              "仍在服务");
  }

  TestClasses classes_;
  std::unique_ptr<SocketServer> server_;
  std::thread thread_;
  int port_ = 0;
};

TEST_F(SocketServerTest, EchoesEveryKindAndHandsBackChangedArguments) {
  Start();
  auto connection = Connect();
  const Variant app = connection->AppServer();

  Variant grid = platform::VarArrayCreate({{-1, 0}, {1, 2}});
  grid.At(-1, 1) = Variant("收货单");
  grid.At(0, 2) = Variant(std::u16string{u'x', 0xDC00});
  grid.At(0, 1) = platform::VarArrayOf({Variant(platform::DateTime{45356.5}), Variant::Null()});
  const Variant values[] = {
      Variant(),
      Variant::Null(),
      Variant(true),
      Variant(int16_t{-7}),
      Variant(int32_t{123456789}),
      Variant(2.0),
      Variant(platform::Currency{-15000}),
      Variant(platform::DateTime{45356.25}),
      Variant("确定"),
      Variant(u"确定"),
      grid,
      platform::VarArrayCreate({{5, 4}}),
  };
  for (const Variant& value : values) {
    SCOPED_TRACE(platform::VarTypeName(value.Type()));
    const Variant back = CallMethod(app, "Echo", {value});
    EXPECT_EQ(back.Type(), value.Type());
    EXPECT_TRUE(back == value);
  }

  std::vector<Variant> args{Variant("甲"), Variant(int32_t{2})};
  EXPECT_EQ(CallMethod(app, "Swap", args).AsString(), "swapped");
  EXPECT_TRUE(args[0] == Variant(int32_t{2}));
  EXPECT_TRUE(args[1] == Variant("甲"));

  PutProperty(app, "Value", Variant(u"值"));
  EXPECT_TRUE(GetProperty(app, "Value") == Variant(u"值"));
}

TEST_F(SocketServerTest, EachConnectionHasItsOwnObjectsReleasedWhenItCloses) {
  Start();
  auto first = Connect();
  auto second = Connect();
  const Variant a = first->AppServer();
  const Variant b = second->AppServer();
  EXPECT_EQ(CallMethod(a, "Add", {Variant(int32_t{5})}).AsInteger(), 5);
  EXPECT_EQ(CallMethod(a, "Add", {Variant(int32_t{5})}).AsInteger(), 10);
  EXPECT_EQ(CallMethod(b, "Add", {Variant(int32_t{1})}).AsInteger(), 1);

  // Another class on the same connection is another object.
  TSocketConnection other;
  other.SetAddress("127.0.0.1");
  other.SetPort(port_);
  other.SetServerName("RemoteTest.Echo2");
  EXPECT_EQ(CallMethod(other.AppServer(), "Add", {Variant(int32_t{3})}).AsInteger(), 3);
  EXPECT_EQ(GetProperty(b, "Instances").AsInteger(), 3);

  first->Close();
  other.Close();
  const Clock::time_point deadline = Clock::now() + 5s;
  while (GetProperty(b, "Instances").AsInteger() != 1 && Clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(GetProperty(b, "Instances").AsInteger(), 1);
  EXPECT_EQ(CallMethod(b, "Add", {Variant(int32_t{1})}).AsInteger(), 2);
}

TEST_F(SocketServerTest, FailingRequestsAreAnsweredWithTheirError) {
  Start();
  auto connection = Connect();
  const Variant app = connection->AppServer();
  struct Case {
    const char* name;
    std::function<void()> call;
    const char* errorClass;
    const char* message;
  } cases[] = {
      {"unknown operation", [&] { CallMethod(app, "NoSuch"); }, "EUnknownName",
       "Method 'NoSuch' not supported by automation object"},
      {"wrong argument count", [&] { CallMethod(app, "Echo"); }, "EBadArgument",
       "Invalid number of parameters"},
      {"wrong argument kind",
       [&] {
         CallMethod(app, "Repeat", {Variant("a"), Variant("b")});
       },
       "EBadArgument", "Repeat count must be a number"},
      {"argument that does not convert", [&] { CallMethod(app, "Twice", {Variant("abc")}); },
       "EOleException", "Could not convert variant of type (String) into type (Integer)"},
      {"member that fails", [&] { CallMethod(app, "Fail", {Variant("单据不存在")}); },
       "EOleException", "单据不存在"},
      {"result that cannot be sent", [&] { CallMethod(app, "Self"); }, "EOleError",
       "An automation object cannot be sent over a socket connection"},
      {"writing a read-only property", [&] { PutProperty(app, "Fixed", Variant(true)); },
       "EBadArgument", "Member 'Fixed' cannot be written"},
      {"unknown class", [&] { Connect("RemoteTest.Unknown"); }, "EOleError",
       "Invalid class string"},
      {"class whose module is missing", [&] { Connect("RemoteTest.NoModule"); }, "EOleError", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.call();
      ADD_FAILURE() << "no error";
    } catch (const platform::EOleError& e) {
      EXPECT_STREQ(e.ClassName(), c.errorClass);
      if (*c.message) {
        EXPECT_EQ(e.Message(), c.message);
      }
    }
    // The connection goes on.
    EXPECT_EQ(CallMethod(app, "Echo", {Variant(int32_t{1})}).AsInteger(), 1);
  }
}

// [call id 7, "RemoteTest.Echo", "Echo", 0, args] with the given args bytes.
std::string EchoRequest(const std::string& args) {
  return Hex("95 07 af") + "RemoteTest.Echo" + Hex("a4") + "Echo" + Hex("00") + args;
}

std::string NestedArgs(int depth) {
  std::string bytes = Hex("91");
  for (int i = 0; i < depth; ++i) bytes += Hex("93 cd 200c 91 92 00 00 91");
  return bytes + Hex("91 00");
}

TEST_F(SocketServerTest, BadBytesGetAnErrorOrLoseTheirConnectionOnly) {
  Start();
  auto bystander = Connect();
  struct Case {
    const char* name;
    std::string bytes;
    const char* errorClass;  // nullptr: the connection is dropped
    const char* message;
  } cases[] = {
      {"frame cut inside the value", Frame(Hex("95 07 af") + "Remote"), "EBadArgument",
       "Malformed message: truncated bytes"},
      {"frame cut before the call id", Frame(Hex("95")), nullptr, ""},
      {"length prefix of 4 GiB", Hex("ffffffff") + std::string(100, '\0'), nullptr, ""},
      {"args claiming 2^32 elements", Frame(EchoRequest(Hex("dd ffffffff 91 00"))), "EBadArgument",
       "Malformed message: array of 4294967295 elements is truncated"},
      {"message claiming 2^32 elements", Frame(Hex("dd ffffffff 07 07 07")), nullptr, ""},
      {"nesting of 10^5", Frame(EchoRequest(NestedArgs(100000))), "EBadArgument",
       "Malformed message: arrays nested deeper than 64"},
      {"class name that is a number", Frame(Hex("95 07 01 a4") + "Echo" + Hex("00 90")),
       "EBadArgument", "Malformed message: text expected"},
      {"call kind 7",
       Frame(Hex("95 07 af") + "RemoteTest.Echo" + Hex("a4") + "Echo" + Hex("07 90")),
       "EBadArgument", "Malformed message: integer out of range"},
      {"unknown class", Frame(Hex("95 07 a5") + "No.No" + Hex("a4") + "Echo" + Hex("00 90")),
       "EOleError", "Invalid class string"},
      {"not MessagePack", Frame(Hex("c1")), nullptr, ""},
      {"empty frame", Frame(""), nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RawClient client(port_);
    ASSERT_TRUE(client.Connected());
    client.Send(c.bytes);
    if (c.errorClass) {
      const std::optional<Reply> reply = client.ReadReply(5s);
      ASSERT_TRUE(reply.has_value());
      EXPECT_EQ(reply->CallId, 7u);
      EXPECT_TRUE(reply->Failed);
      EXPECT_EQ(reply->ErrorClass, c.errorClass);
      EXPECT_EQ(reply->ErrorMessage, c.message);
    } else {
      EXPECT_TRUE(client.ClosedWithin(5s));
    }
    EXPECT_EQ(CallMethod(bystander->AppServer(), "Add", {Variant(int32_t{1})}).AsInteger(),
              static_cast<int32_t>(&c - cases) + 1);
  }
  EXPECT_TRUE(ConnectionsReach(1));
}

TEST_F(SocketServerTest, TruncatedFrameFromAClientThatLeavesIsDropped) {
  Start();
  {
    RawClient client(port_);
    client.Send(Hex("00000010 95 07"));
  }
  EXPECT_TRUE(ConnectionsReach(0));
  ExpectServing();
}

TEST_F(SocketServerTest, RequestsOfOneConnectionAreAnsweredInOrder) {
  ServerOptions options;
  options.Workers = 4;
  Start(options);
  RawClient client(port_);
  auto request = [](uint8_t id, const char* operation, const Variant& arg) {
    platform::remote::Request r;
    r.CallId = id;
    r.ServerClass = "RemoteTest.Echo";
    r.Operation = operation;
    r.Args = {arg};
    return platform::remote::EncodeRequestFrame(r);
  };
  // The slow first call must not be overtaken, whether the next requests
  // arrive with it or while it runs.
  client.Send(request(1, "Sleep", Variant(int32_t{300})) + request(2, "Add", Variant(int32_t{4})));
  std::this_thread::sleep_for(50ms);
  client.Send(request(3, "Add", Variant(int32_t{5})));
  for (uint64_t id : {1u, 2u, 3u}) {
    const std::optional<Reply> reply = client.ReadReply(5s);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->CallId, id);
    EXPECT_FALSE(reply->Failed);
    if (id == 3) {
      EXPECT_EQ(reply->Result.AsInteger(), 9);
    }
  }
}

TEST_F(SocketServerTest, SlowSenderIsDroppedButIdleConnectionsStay) {
  ServerOptions options;
  options.StallTimeout = 1s;
  Start(options);
  RawClient idle(port_);
  RawClient slow(port_);
  auto served = Connect();

  // One byte every 300 ms: the frame cannot be complete within the second.
  platform::remote::Request r;
  r.ServerClass = "RemoteTest.Echo";
  r.Operation = "Fixed";
  r.Kind = platform::remote::CallKind::GetProperty;
  const std::string frame = platform::remote::EncodeRequestFrame(r);
  const Clock::time_point start = Clock::now();
  bool dropped = false;
  for (size_t i = 0; i < frame.size() && !dropped; ++i) {
    slow.Send(frame.substr(i, 1));
    dropped = slow.ClosedWithin(300ms);
    // Others are served meanwhile.
    EXPECT_EQ(CallMethod(served->AppServer(), "Echo", {Variant(int32_t{1})}).AsInteger(), 1);
  }
  EXPECT_TRUE(dropped);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, 900ms);
  EXPECT_LT(elapsed, 4s);

  // The idle one outlived the stall time and is served as soon as it asks.
  EXPECT_FALSE(idle.ClosedWithin(10ms));
  idle.Send(frame);
  const std::optional<Reply> reply = idle.ReadReply(5s);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Result.AsInteger(), 1);
}

TEST_F(SocketServerTest, ThousandIdleConnectionsWhileAnotherIsServed) {
  Start();
  std::vector<std::unique_ptr<RawClient>> idle;
  for (int i = 0; i < 1000; ++i) {
    idle.push_back(std::make_unique<RawClient>(port_));
    ASSERT_TRUE(idle.back()->Connected()) << i;
  }
  ASSERT_TRUE(ConnectionsReach(1000));
  auto connection = Connect();
  const Variant app = connection->AppServer();
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(CallMethod(app, "Add", {Variant(int32_t{1})}).AsInteger(), i);
  }
  idle.clear();
  EXPECT_TRUE(ConnectionsReach(1));
}

TEST_F(SocketServerTest, ConnectionsBeyondTheCapAreClosedAtOnce) {
  ServerOptions options;
  options.MaxConnections = 3;
  Start(options);
  auto one = std::make_unique<RawClient>(port_);
  RawClient two(port_);
  RawClient three(port_);
  ASSERT_TRUE(ConnectionsReach(3));
  RawClient fourth(port_);
  EXPECT_TRUE(fourth.ClosedWithin(2s));
  one.reset();
  ASSERT_TRUE(ConnectionsReach(2));
  ExpectServing();
}

TEST_F(SocketServerTest, ConcurrentClientsRunAtTheSameTime) {
  ServerOptions options;
  options.Workers = 4;
  Start(options);
  constexpr int kClients = 4;
  std::vector<std::unique_ptr<TSocketConnection>> connections;
  for (int i = 0; i < kClients; ++i) connections.push_back(Connect());
  std::atomic<int> failures{0};
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> threads;
  for (int i = 0; i < kClients; ++i) {
    threads.emplace_back([&, i] {
      try {
        const Variant app = connections[static_cast<size_t>(i)]->AppServer();
        CallMethod(app, "Sleep", {Variant(int32_t{600})});
        for (int k = 1; k <= 50; ++k) {
          if (CallMethod(app, "Add", {Variant(int32_t{1})}).AsInteger() != k) ++failures;
        }
      } catch (const platform::Exception&) {
        ++failures;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  // Four sleeps of 600 ms one after another would take 2.4 s.
  EXPECT_LT(Clock::now() - start, 2000ms);
}

TEST_F(SocketServerTest, StopEndsRunWithClientsConnected) {
  Start();
  auto connection = Connect();
  const Variant app = connection->AppServer();
  server_->Stop();
  thread_.join();
  server_.reset();
  EXPECT_THROW(CallMethod(app, "Echo", {Variant(int32_t{1})}), platform::EOleError);
  EXPECT_FALSE(connection->Connected());
}

}  // namespace
}  // namespace socketserver

#pragma once

// Helpers shared by the socket server's tests: the registry file of the test
// classes, and a raw socket for bytes no connection would send (written as
// hexadecimal text with Hex).

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/core/test/CoreTestSupport.h"
#include "platform/remote/Wire.h"
#include "platform/remote/test/RemoteTestSupport.h"

namespace socketserver::test {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

/* A folder of its own holding "classes.reg", which registers the test
   module's classes: RemoteTest.Echo and RemoteTest.Echo2, and
   RemoteTest.NoModule whose library does not exist. */
class TestClasses {
 public:
  TestClasses() {
    std::ofstream reg(folder_ / "classes.reg");
    const std::string module = std::string(VK_BIN_DIR) + "/RemoteTestObjects.dll";
    for (const char* name : {"RemoteTest.Echo", "RemoteTest.Echo2"}) {
      reg << "[HKEY_CLASSES_ROOT\\" << name << "]\n\"Library\"=\"" << module
          << "\"\n\"Factory\"=\"CreateRemoteTestObject\"\n\n";
    }
    reg << "[HKEY_CLASSES_ROOT\\RemoteTest.NoModule]\n\"Library\"=\"NoSuchModule.dll\"\n"
        << "\"Factory\"=\"CreateRemoteTestObject\"\n";
  }
  TestClasses(const TestClasses&) = delete;
  TestClasses& operator=(const TestClasses&) = delete;

  const fs::path& Folder() const { return folder_; }
  std::string RegistryFile() const { return (folder_ / "classes.reg").string(); }

 private:
  const platform::test::TTempFolder temp_{"vk-socketd"};
  const fs::path folder_{temp_.Path()};
};

using platform::remote::test::Hex;

/* A body behind its 4-byte length. */
inline std::string Frame(const std::string& body) {
  const auto n = static_cast<uint32_t>(body.size());
  std::string frame{static_cast<char>(n >> 24), static_cast<char>(n >> 16),
                    static_cast<char>(n >> 8), static_cast<char>(n)};
  return frame + body;
}

/* A blocking loopback socket to the server. */
class RawClient {
 public:
  explicit RawClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawClient() { ::close(fd_); }
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connected() const { return connected_; }

  bool Send(std::string_view bytes) {
    return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(bytes.size());
  }

  /* The next reply, or nothing when the server closed the connection or sent
     none in time. */
  std::optional<platform::remote::Reply> ReadReply(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    std::string body;
    while (!reader_.TakeFrame(body)) {
      if (!Receive(deadline)) return std::nullopt;
    }
    return platform::remote::DecodeReply(body);
  }

  /* True when the server closes the connection within the time (whatever it
     sent before is read and dropped). */
  bool ClosedWithin(std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
      if (!Receive(deadline)) return closed_;
    }
    return false;
  }

 private:
  // False when nothing more can come: closed, or the deadline passed.
  bool Receive(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{fd_, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n <= 0) {
      closed_ = true;
      return false;
    }
    reader_.Feed(std::string_view(buffer, static_cast<size_t>(n)));
    return true;
  }

  int fd_ = -1;
  bool connected_ = false;
  bool closed_ = false;
  platform::remote::FrameReader reader_{1u << 24};
};

}  // namespace socketserver::test

#include "platform/remote/test/RemoteTestSupport.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace platform::remote::test {

std::string Hex(std::string_view text) {
  std::string bytes;
  int pending = -1;
  for (char c : text) {
    int v;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      v = c - 'a' + 10;
    } else {
      continue;
    }
    if (pending < 0) {
      pending = v;
    } else {
      bytes.push_back(static_cast<char>(pending * 16 + v));
      pending = -1;
    }
  }
  return bytes;
}

int UnusedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
                     ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
  ::close(fd);
  if (!bound) throw std::runtime_error("no loopback port to be had");
  return ntohs(address.sin_port);
}

}  // namespace platform::remote::test

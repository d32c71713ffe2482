#include "base/platform/sockets.h"

#include <unistd.h>

#include <cstdint>
#include <stdexcept>

namespace zeziza::platform {

void Socket::reset() {
  if (s_ != kNoSocket) ::close(s_);
  s_ = kNoSocket;
}

Socket listenOn(const std::string& host, int port, int backlog) {
  Socket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!s.valid()) throw std::runtime_error("cannot open a socket");
  // Lets a restarted server take its port while old connections linger in TIME_WAIT; Linux
  // still refuses a port another socket listens on.
  const int on = 1;
  setsockopt(s.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
    throw std::runtime_error("not an address: " + host);
  }
  if (::bind(s.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(s.get(), backlog) != 0) {
    throw std::runtime_error("cannot listen on port " + std::to_string(port));
  }
  return s;
}

int boundPort(const Socket& socket) {
  sockaddr_in addr{};
  socklen_t length = sizeof addr;
  getsockname(socket.get(), reinterpret_cast<sockaddr*>(&addr), &length);
  return ntohs(addr.sin_port);
}

void shutdownSocket(SocketHandle socket) {
  ::shutdown(socket, SHUT_RDWR);
}

}  // namespace zeziza::platform

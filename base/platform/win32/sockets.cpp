#include "base/platform/sockets.h"

#include <cstdint>
#include <stdexcept>

namespace zeziza::platform {

namespace {

// Winsock must be started once before the first socket.
void startSockets() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("cannot start Windows sockets");
}

}  // namespace

void Socket::reset() {
  if (s_ != kNoSocket) ::closesocket(s_);
  s_ = kNoSocket;
}

Socket listenOn(const std::string& host, int port, int backlog) {
  startSockets();
  Socket s(::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT));
  if (!s.valid()) throw std::runtime_error("cannot open a socket");
  // SO_REUSEADDR would let another program take a port in use on Windows; this refuses that.
  const BOOL on = TRUE;
  setsockopt(s.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on),
             sizeof on);
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
  int length = sizeof addr;
  getsockname(socket.get(), reinterpret_cast<sockaddr*>(&addr), &length);
  return ntohs(addr.sin_port);
}

void shutdownSocket(SocketHandle socket) {
  ::shutdown(socket, SD_BOTH);
}

}  // namespace zeziza::platform

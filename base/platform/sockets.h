#pragma once

// The system's socket declarations (inet_pton, inet_ntop, sockaddr_in6 ...) and SocketHandle.
#include <platform_sockets.h>

#include <string>
#include <utility>

namespace zeziza::platform {

// An owned socket.
class Socket {
 public:
  Socket() = default;
  explicit Socket(SocketHandle s) : s_(s) {}
  ~Socket() { reset(); }
  Socket(Socket&& other) noexcept : s_(std::exchange(other.s_, kNoSocket)) {}
  Socket& operator=(Socket&& other) noexcept {
    reset();
    s_ = std::exchange(other.s_, kNoSocket);
    return *this;
  }
  SocketHandle get() const { return s_; }
  bool valid() const { return s_ != kNoSocket; }
  SocketHandle release() { return std::exchange(s_, kNoSocket); }
  void reset();

 private:
  SocketHandle s_ = kNoSocket;
};

// A listening TCP socket on an IPv4 address; port 0 picks a free one. No other process may
// take the port while it is held. Throws when it cannot listen.
Socket listenOn(const std::string& host, int port, int backlog);
// The port a socket is bound to.
int boundPort(const Socket& socket);
// Ends both directions of a connection without closing its socket, waking whoever waits on it.
void shutdownSocket(SocketHandle socket);

}  // namespace zeziza::platform

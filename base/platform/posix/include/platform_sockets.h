#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace zeziza::platform {

using SocketHandle = int;
inline constexpr SocketHandle kNoSocket = -1;

}  // namespace zeziza::platform

#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

namespace zeziza::platform {

using SocketHandle = SOCKET;
inline constexpr SocketHandle kNoSocket = INVALID_SOCKET;

}  // namespace zeziza::platform

#pragma once

#include <string>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// The client's address: the connection's peer. Only when the peer is `trustedProxy` (the
// reverse proxy the server runs behind) do X-Forwarded-For, else Client-IP, name it, and then
// by the last entry, the one that proxy appended; the entries before it are the client's own
// say and name nothing.
std::string clientAddress(const HttpRequest& request, std::string_view trustedProxy);

}  // namespace zeziza::web

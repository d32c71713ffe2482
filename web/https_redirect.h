#pragma once

#include <optional>
#include <string>

#include "web/http_types.h"

namespace zeziza::web {

// Where a plain HTTP request is sent on the HTTPS port: the host the client asked for (its
// port dropped), `httpsPort` and the same path. Nullopt for a Host header that is not a
// plain host name or address, so no header text reaches the Location.
std::optional<std::string> httpsLocation(const std::string& hostHeader, const std::string& path,
                                         int httpsPort);

// The answer of the plain HTTP port: a permanent redirect, or 400 for a bad Host.
HttpResponse httpsRedirect(const HttpRequest& request, int httpsPort);

}  // namespace zeziza::web

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// A host name, an IPv4 address or a bracketed IPv6 address ("[::1]"), without a port: what
// may stand between "https://" and the port of a Location.
bool isPlainHostName(std::string_view host);

// Where a plain HTTP request is sent on the HTTPS port: `host` (from the configuration, never
// from the request), `httpsPort` and the request's target (path and query) as sent, bytes
// outside printable ASCII percent-encoded. Nullopt for a target that is not a path.
std::optional<std::string> httpsLocation(const std::string& host, std::string_view target,
                                         int httpsPort);

// The answer of the plain HTTP port: a permanent redirect, or 400 for a target that is not a
// path.
HttpResponse httpsRedirect(const HttpRequest& request, const std::string& host, int httpsPort);

}  // namespace zeziza::web

#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/client_address.h"
#include "web/http_types.h"

namespace zeziza::results {

// The client's address: the peer's, or, when the peer is the trusted proxy, the last entry of
// X-Forwarded-For (the one that proxy added; earlier entries are the client's to forge).
using web::clientAddress;
// True when the browser reached the site over TLS, as the trusted proxy reports it.
bool servedOverTls(const web::HttpRequest& request, std::string_view trustedProxy);
// The value of cookie `name` in the Cookie header.
std::optional<std::string> cookieValue(const web::HttpRequest& request, std::string_view name);
// False when a posted form comes from another site (`web::fromOtherOrigin`, the check the
// school server makes too).
bool sameOrigin(const web::HttpRequest& request);
// A query or form field as a positive number.
std::optional<std::int64_t> positiveField(const web::HttpRequest& request, std::string_view name);
// A field as a number, -1 allowed (the scope columns' "all").
std::optional<std::int64_t> scopeField(const web::HttpRequest& request, std::string_view name);

}  // namespace zeziza::results

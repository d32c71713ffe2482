#pragma once

#include <string_view>

#include "web/http_types.h"

namespace zeziza::web {

// Reads the client address (believing `trustedProxy`'s forwarded one), the page session
// named in the form and whether the client takes gzip, once, when the request has arrived.
RequestFacts readRequestFacts(const HttpRequest& request, std::string_view trustedProxy);

}  // namespace zeziza::web

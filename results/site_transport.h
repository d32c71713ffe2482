#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "results/cookie_key.h"
#include "web/http_server.h"

namespace zeziza::results {

// How the site uses the shared transport. Students reach it by the thousand through one
// address (a school's NAT, a carrier's, the site's own nginx), so nothing is keyed or capped
// by the connection's address.

// The key whose requests take turns: the signed-in student or school, from a cookie whose
// signature holds; any other request is a key of its own (`requestNumber` makes it unique).
std::string turnKey(const web::HttpRequest& request, const CookieKey& key,
                    std::uint64_t requestNumber);
// Posts that compute a password hash: sign-ins, password changes, registrations.
bool hashesAPassword(const web::HttpRequest& request);
// The answer when the site cannot take a request now: 503 with Retry-After and a Chinese page
// that comes back by itself after that time (no script): to the same result page for a view,
// to the sign-in page for a post.
web::HttpResponse retryPage(const web::HttpRequest& request, std::chrono::seconds after);

struct TransportSizes {
  unsigned cores = 1;
  // A request that waited this long for a worker gets the retry page instead.
  std::chrono::milliseconds queueWaitLimit{20'000};
};
web::HttpServerOptions siteTransport(const CookieKey& key, const TransportSizes& sizes);

}  // namespace zeziza::results

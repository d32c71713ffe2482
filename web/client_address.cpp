#include "web/client_address.h"

#include "base/text.h"

namespace zeziza::web {

namespace {

// The last value of a header that may come on several lines.
std::string lastHeader(const HttpRequest& request, const std::string& name) {
  const auto [first, last] = request.headers.equal_range(name);
  return first == last ? std::string() : std::prev(last)->second;
}

}  // namespace

std::string clientAddress(const HttpRequest& request, std::string_view trustedProxy) {
  if (trustedProxy.empty() || request.remoteAddr != trustedProxy) return request.remoteAddr;
  std::string forwarded = lastHeader(request, "x-forwarded-for");
  if (base::trimmedView(forwarded).empty()) forwarded = lastHeader(request, "client-ip");
  const auto comma = forwarded.rfind(',');
  const std::string_view last =
      base::trimmedView(comma == std::string::npos ? std::string_view(forwarded)
                                                   : std::string_view(forwarded).substr(comma + 1));
  return last.empty() ? request.remoteAddr : std::string(last);
}

}  // namespace zeziza::web

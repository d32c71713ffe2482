#include "web/https_redirect.h"

#include <algorithm>
#include <cctype>

namespace zeziza::web {

namespace {

// "name", "name:port", "1.2.3.4:port" or "[::1]:port" without the port.
std::optional<std::string> hostName(const std::string& header) {
  std::string host = header;
  if (!host.empty() && host.front() == '[') {
    const auto close = host.find(']');
    if (close == std::string::npos) return std::nullopt;
    const std::string rest = host.substr(close + 1);
    host = host.substr(0, close + 1);
    if (!rest.empty() && (rest[0] != ':' || !std::all_of(rest.begin() + 1, rest.end(), ::isdigit)))
      return std::nullopt;
    const bool plain = std::all_of(host.begin() + 1, host.end() - 1, [](unsigned char c) {
      return std::isxdigit(c) || c == ':' || c == '.';
    });
    return plain ? std::optional(host) : std::nullopt;
  }
  const auto colon = host.find(':');
  if (colon != std::string::npos) {
    const std::string port = host.substr(colon + 1);
    if (!std::all_of(port.begin(), port.end(), ::isdigit)) return std::nullopt;
    host.resize(colon);
  }
  const bool plain = !host.empty() && std::all_of(host.begin(), host.end(), [](unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.';
  });
  return plain ? std::optional(host) : std::nullopt;
}

}  // namespace

std::optional<std::string> httpsLocation(const std::string& hostHeader, const std::string& path,
                                         int httpsPort) {
  const auto host = hostName(hostHeader);
  if (!host || path.empty() || path.front() != '/') return std::nullopt;
  // Control characters never belong in a Location (they would split the header).
  if (std::any_of(path.begin(), path.end(), [](unsigned char c) { return c < ' ' || c == 0x7f; }))
    return std::nullopt;
  std::string location = "https://" + *host;
  if (httpsPort != 443) location.append(":").append(std::to_string(httpsPort));
  return location.append(path);
}

HttpResponse httpsRedirect(const HttpRequest& request, int httpsPort) {
  const auto location = httpsLocation(request.header("host"), request.path, httpsPort);
  if (!location) return HttpResponse::text(400, "Bad request");
  HttpResponse response = HttpResponse::text(301, "Moved to HTTPS");
  response.headers.emplace_back("Location", *location);
  return response;
}

}  // namespace zeziza::web

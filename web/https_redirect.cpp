#include "web/https_redirect.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace zeziza::web {

namespace {

bool isHostNameCharacter(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.';
}

bool isIpv6Character(unsigned char c) {
  return std::isxdigit(c) || c == ':' || c == '.';
}

// Control characters, spaces and bytes above ASCII would split or garble the header.
std::string percentEncoded(std::string_view target) {
  std::string out;
  for (const char c : target) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 0x7f) {
      out += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      out += escaped;
    }
  }
  return out;
}

}  // namespace

bool isPlainHostName(std::string_view host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    const auto inside = host.substr(1, host.size() - 2);
    return inside.find(':') != std::string_view::npos &&
           std::all_of(inside.begin(), inside.end(), isIpv6Character);
  }
  return !host.empty() && host.size() <= 253 && host.front() != '.' && host.front() != '-' &&
         std::all_of(host.begin(), host.end(), isHostNameCharacter);
}

std::optional<std::string> httpsLocation(const std::string& host, std::string_view target,
                                         int httpsPort) {
  if (!isPlainHostName(host) || target.empty() || target.front() != '/') return std::nullopt;
  std::string location = "https://" + host;
  if (httpsPort != 443) location.append(":").append(std::to_string(httpsPort));
  return location.append(percentEncoded(target));
}

HttpResponse httpsRedirect(const HttpRequest& request, const std::string& host, int httpsPort) {
  const auto location =
      httpsLocation(host, request.target.empty() ? request.path : request.target, httpsPort);
  if (!location) return HttpResponse::text(400, "Bad request");
  HttpResponse response = HttpResponse::text(301, "Moved to HTTPS");
  response.headers.emplace_back("Location", *location);
  return response;
}

}  // namespace zeziza::web

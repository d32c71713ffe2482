#include "web/client_address.h"

#include "base/text.h"
#include "web/html.h"

namespace zeziza::web {

namespace {

// The last value of a header that may come on several lines.
std::string lastHeader(const HttpRequest& request, const std::string& name) {
  const auto [first, last] = request.headers.equal_range(name);
  return first == last ? std::string() : std::prev(last)->second;
}

// "host:port" of "scheme://host:port/path", without the scheme's own port, in lower case;
// empty for anything else ("null" included).
std::string authorityOf(std::string_view url, std::string* scheme) {
  const auto sep = url.find("://");
  if (sep == std::string_view::npos) return {};
  *scheme = toLower(url.substr(0, sep));
  std::string_view rest = url.substr(sep + 3);
  rest = rest.substr(0, rest.find_first_of("/?#"));
  if (const auto at = rest.rfind('@'); at != std::string_view::npos) rest.remove_prefix(at + 1);
  return toLower(rest);
}

std::string withoutDefaultPort(std::string authority, const std::string& scheme) {
  const std::string port = scheme == "https" ? ":443" : ":80";
  if (authority.ends_with(port)) authority.resize(authority.size() - port.size());
  return authority;
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

bool crossOriginPost(const HttpRequest& request) {
  if (request.method != "POST") return false;
  const auto origin = request.headers.find("origin");
  const std::string named =
      origin != request.headers.end() ? origin->second : request.header("referer");
  if (origin == request.headers.end() && named.empty()) return false;
  std::string scheme;
  const std::string from = authorityOf(base::trimmedView(named), &scheme);
  if (from.empty()) return true;
  const std::string host = toLower(base::trimmedView(request.header("host")));
  return withoutDefaultPort(from, scheme) != withoutDefaultPort(host, scheme);
}

}  // namespace zeziza::web

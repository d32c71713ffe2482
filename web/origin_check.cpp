#include "web/origin_check.h"

#include <optional>
#include <string>

#include "base/text.h"

namespace zeziza::web {

namespace {

struct Origin {
  std::string scheme;
  std::string authority;  // host[:port] in lower case
};

// The scheme and authority of an http or https address; nullopt for anything else ("null",
// other schemes, no host, user information before the host).
std::optional<Origin> originOf(std::string_view address) {
  const auto sep = address.find("://");
  if (sep == std::string_view::npos) return std::nullopt;
  Origin origin{base::toLower(address.substr(0, sep)), {}};
  if (origin.scheme != "http" && origin.scheme != "https") return std::nullopt;
  const std::string_view rest = address.substr(sep + 3);
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  if (authority.empty() || authority.find('@') != std::string_view::npos) return std::nullopt;
  origin.authority = base::toLower(authority);
  return origin;
}

// `authority` without the scheme's default port: "x:443" under https is "x".
std::string withoutDefaultPort(std::string authority, const std::string& scheme) {
  const std::string port = scheme == "https" ? ":443" : ":80";
  if (authority.ends_with(port)) authority.resize(authority.size() - port.size());
  return authority;
}

}  // namespace

bool fromOtherOrigin(const HttpRequest& request) {
  const auto origin = request.headers.find("origin");
  const std::string named =
      origin != request.headers.end() ? origin->second : request.header("referer");
  // An Origin header, even an empty one, is the browser's word; only a Referer may be absent.
  if (origin == request.headers.end() && base::trimmedView(named).empty()) return false;
  const auto from = originOf(base::trimmedView(named));
  if (!from) return true;
  const std::string host = base::toLower(base::trimmedView(request.header("host")));
  if (host.empty()) return true;
  return withoutDefaultPort(from->authority, from->scheme) !=
         withoutDefaultPort(host, from->scheme);
}

bool crossOriginPost(const HttpRequest& request) {
  return request.method == "POST" && fromOtherOrigin(request);
}

}  // namespace zeziza::web

#include "results/request_facts.h"

#include <charconv>

#include "base/text.h"
#include "base/whole_number.h"
#include "web/html.h"

namespace zeziza::results {

namespace {

bool fromTrustedProxy(const web::HttpRequest& request, std::string_view trustedProxy) {
  return !trustedProxy.empty() && request.remoteAddr == trustedProxy;
}

// "host[:port]" of an absolute address such as "https://example.org:8443/path".
std::optional<std::string> authorityOf(std::string_view address) {
  const std::size_t scheme = address.find("://");
  if (scheme == std::string_view::npos) return std::nullopt;
  address.remove_prefix(scheme + 3);
  return web::toLower(address.substr(0, address.find_first_of("/?#")));
}

}  // namespace

bool servedOverTls(const web::HttpRequest& request, std::string_view trustedProxy) {
  return fromTrustedProxy(request, trustedProxy) &&
         web::toLower(base::trimmedView(request.header("x-forwarded-proto"))) == "https";
}

std::optional<std::string> cookieValue(const web::HttpRequest& request, std::string_view name) {
  const auto range = request.headers.equal_range("cookie");
  for (auto it = range.first; it != range.second; ++it) {
    std::string_view rest = it->second;
    while (!rest.empty()) {
      const std::size_t semicolon = rest.find(';');
      const std::string_view pair = base::trimmedView(rest.substr(0, semicolon));
      rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
      const std::size_t equals = pair.find('=');
      if (equals != std::string_view::npos && base::trimmedView(pair.substr(0, equals)) == name) {
        return std::string(base::trimmedView(pair.substr(equals + 1)));
      }
    }
  }
  return std::nullopt;
}

bool sameOrigin(const web::HttpRequest& request) {
  std::string source = request.header("origin");
  if (source.empty()) source = request.header("referer");
  // Browsers send Origin with every cross-site post; a client without either is no browser.
  if (source.empty()) return true;
  const auto authority = authorityOf(source);
  return authority && !authority->empty() && *authority == web::toLower(request.header("host"));
}

std::optional<std::int64_t> positiveField(const web::HttpRequest& request, std::string_view name) {
  const auto value = base::exactInteger<std::int64_t>(request.form.value(name));
  if (!value || *value <= 0) return std::nullopt;
  return value;
}

std::optional<std::int64_t> scopeField(const web::HttpRequest& request, std::string_view name) {
  const auto value = base::exactInteger<std::int64_t>(request.form.value(name));
  if (!value || *value < -1) return std::nullopt;
  return value;
}

}  // namespace zeziza::results

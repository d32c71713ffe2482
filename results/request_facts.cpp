#include "results/request_facts.h"

#include <charconv>

#include "base/text.h"
#include "base/whole_number.h"
#include "web/html.h"
#include "web/origin_check.h"

namespace zeziza::results {

namespace {

bool fromTrustedProxy(const web::HttpRequest& request, std::string_view trustedProxy) {
  return !trustedProxy.empty() && request.remoteAddr == trustedProxy;
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
  return !web::fromOtherOrigin(request);
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

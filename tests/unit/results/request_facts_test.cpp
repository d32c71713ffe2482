// What the site reads of a request: the client's address behind a proxy, TLS, cookies and
// whether a post comes from the site itself.
#include "results/request_facts.h"

#include <gtest/gtest.h>

namespace zeziza::results {
namespace {

web::HttpRequest request(std::string peer, std::multimap<std::string, std::string> headers) {
  web::HttpRequest r;
  r.remoteAddr = std::move(peer);
  r.headers = std::move(headers);
  return r;
}

TEST(RequestFacts, ForwardedAddressOnlyFromTheTrustedProxy) {
  struct Case {
    std::string peer, forwarded, proxy, address;
  };
  const std::vector<Case> cases = {
      {"198.51.100.1", "", "", "198.51.100.1"},
      {"198.51.100.1", "203.0.113.5", "", "198.51.100.1"},
      {"198.51.100.1", "203.0.113.5", "127.0.0.1", "198.51.100.1"},
      {"127.0.0.1", "203.0.113.5", "127.0.0.1", "203.0.113.5"},
      {"127.0.0.1", "10.9.9.9, 203.0.113.5", "127.0.0.1", "203.0.113.5"},
      {"127.0.0.1", "10.9.9.9,203.0.113.6 ", "127.0.0.1", "203.0.113.6"},
      {"127.0.0.1", "", "127.0.0.1", "127.0.0.1"},
      {"::1", "2001:db8::7", "::1", "2001:db8::7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.peer + " " + c.forwarded + " via " + c.proxy);
    std::multimap<std::string, std::string> headers;
    if (!c.forwarded.empty()) headers.emplace("x-forwarded-for", c.forwarded);
    EXPECT_EQ(clientAddress(request(c.peer, headers), c.proxy), c.address);
  }
}

TEST(RequestFacts, TlsOnlyAsTheTrustedProxyReportsIt) {
  EXPECT_TRUE(servedOverTls(request("127.0.0.1", {{"x-forwarded-proto", "https"}}), "127.0.0.1"));
  EXPECT_TRUE(servedOverTls(request("127.0.0.1", {{"x-forwarded-proto", "HTTPS"}}), "127.0.0.1"));
  EXPECT_FALSE(servedOverTls(request("127.0.0.1", {{"x-forwarded-proto", "http"}}), "127.0.0.1"));
  EXPECT_FALSE(
      servedOverTls(request("198.51.100.1", {{"x-forwarded-proto", "https"}}), "127.0.0.1"));
  EXPECT_FALSE(servedOverTls(request("127.0.0.1", {{"x-forwarded-proto", "https"}}), ""));
}

TEST(RequestFacts, CookieValueByExactName) {
  const auto r =
      request("1.2.3.4", {{"cookie", "a=1; zr_signin=abc.def ; xzr_signin=no"}, {"cookie", "b=2"}});
  EXPECT_EQ(cookieValue(r, "zr_signin"), "abc.def");
  EXPECT_EQ(cookieValue(r, "b"), "2");
  EXPECT_EQ(cookieValue(r, "signin"), std::nullopt);
  EXPECT_EQ(cookieValue(request("1.2.3.4", {}), "a"), std::nullopt);
}

}  // namespace
}  // namespace zeziza::results

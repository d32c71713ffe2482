// The plain HTTP port's redirect: the configured host on the HTTPS port with the request's
// path and query, nothing of the request's Host.
#include "web/https_redirect.h"

#include <gtest/gtest.h>

namespace zeziza::web {
namespace {

TEST(HttpsRedirect, Locations) {
  struct Case {
    std::string host;
    std::string target;
    int port;
    std::optional<std::string> location;
  };
  const std::vector<Case> cases = {
      {"school.example", "/", 443, "https://school.example/"},
      {"school.example", "/files/err.html", 443, "https://school.example/files/err.html"},
      {"school.example", "/a/b?x=1&y=%E4%B8%AD", 443, "https://school.example/a/b?x=1&y=%E4%B8%AD"},
      {"10.0.0.5", "/EXEC", 8443, "https://10.0.0.5:8443/EXEC"},
      {"[fe80::1]", "/", 443, "https://[fe80::1]/"},
      {"[::1]", "/", 81, "https://[::1]:81/"},
      // Bytes that would split or garble the header are escaped, not passed on.
      {"school.example", "/a\r\nSet-Cookie: x=1", 443,
       "https://school.example/a%0D%0ASet-Cookie:%20x=1"},
      {"school.example", "/\xe4\xb8\xad", 443, "https://school.example/%E4%B8%AD"},
      // Only a path: never an absolute URI or "*".
      {"school.example", "http://evil.example/", 443, std::nullopt},
      {"school.example", "*", 443, std::nullopt},
      {"school.example", "", 443, std::nullopt},
      {"", "/", 443, std::nullopt},
      {"school.example:80", "/", 443, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host + " " + c.target);
    EXPECT_EQ(httpsLocation(c.host, c.target, c.port), c.location);
  }
}

TEST(HttpsRedirect, PlainHostNames) {
  const std::pair<std::string, bool> cases[] = {
      {"school.example", true},
      {"localhost", true},
      {"10.0.0.5", true},
      {"[::1]", true},
      {"[fe80::1%eth0]", false},
      {"", false},
      {"school.example:80", false},
      {"evil.example/x", false},
      {"a@evil.example", false},
      {"[::1", false},
      {"::1", false},
      {"-x.example", false},
  };
  for (const auto& [host, plain] : cases) {
    EXPECT_EQ(isPlainHostName(host), plain) << host;
  }
}

// The Host header, whatever it says, never reaches the Location.
TEST(HttpsRedirect, AnswersWithTheConfiguredHost) {
  HttpRequest request;
  request.path = "/a b";
  request.target = "/a%20b?next=1";
  request.headers.emplace("host", "evil.example");
  const HttpResponse moved = httpsRedirect(request, "school.example", 443);
  EXPECT_EQ(moved.status, 301);
  ASSERT_EQ(moved.headers.size(), 1u);
  EXPECT_EQ(moved.headers[0].first, "Location");
  EXPECT_EQ(moved.headers[0].second, "https://school.example/a%20b?next=1");
  request.target = "http://evil.example/";
  EXPECT_EQ(httpsRedirect(request, "school.example", 443).status, 400);
}

}  // namespace
}  // namespace zeziza::web

// The plain HTTP port's redirect: the asked-for host on the HTTPS port, nothing else.
#include "web/https_redirect.h"

#include <gtest/gtest.h>

namespace zeziza::web {
namespace {

TEST(HttpsRedirect, Locations) {
  struct Case {
    std::string host;
    std::string path;
    int port;
    std::optional<std::string> location;
  };
  const std::vector<Case> cases = {
      {"school.example", "/", 443, "https://school.example/"},
      {"school.example:80", "/files/err.html", 443, "https://school.example/files/err.html"},
      {"10.0.0.5:8080", "/EXEC", 8443, "https://10.0.0.5:8443/EXEC"},
      {"[fe80::1]:80", "/", 443, "https://[fe80::1]/"},
      {"[::1]", "/", 81, "https://[::1]:81/"},
      {"", "/", 443, std::nullopt},
      {"evil.example/x", "/", 443, std::nullopt},
      {"a@evil.example", "/", 443, std::nullopt},
      {"host:80x", "/", 443, std::nullopt},
      {"[::1", "/", 443, std::nullopt},
      {"[::1]x", "/", 443, std::nullopt},
      {"school.example", "/a\r\nSet-Cookie: x=1", 443, std::nullopt},
      {"school.example", "relative", 443, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host + " " + c.path);
    EXPECT_EQ(httpsLocation(c.host, c.path, c.port), c.location);
  }
}

TEST(HttpsRedirect, Answers) {
  HttpRequest request;
  request.path = "/";
  request.headers.emplace("host", "school.example");
  const HttpResponse moved = httpsRedirect(request, 443);
  EXPECT_EQ(moved.status, 301);
  ASSERT_EQ(moved.headers.size(), 1u);
  EXPECT_EQ(moved.headers[0].second, "https://school.example/");
  request.headers.clear();
  EXPECT_EQ(httpsRedirect(request, 443).status, 400);
}

}  // namespace
}  // namespace zeziza::web

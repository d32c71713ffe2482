// One origin check for both programs: the school server's router and the results site refuse
// the same posts.
#include "web/origin_check.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "results/request_facts.h"

namespace zeziza::web {
namespace {

struct Case {
  std::string host;
  std::optional<std::string> origin, referer;
  bool other;  // from another origin: refused
};

const std::vector<Case> kCases = {
    {"school:81", "http://school:81", {}, false},
    {"School:81", "http://school:81", {}, false},
    {"scores.example.org:8443", "https://scores.example.org:8443", {}, false},
    // A scheme's default port is the same as none, on either side.
    {"school", "http://school:80", {}, false},
    {"x:443", "https://x", {}, false},
    {"x", "https://x:443", {}, false},
    {"x:443", "http://x", {}, true},
    {"scores.example.org:8443", "https://scores.example.org", {}, true},
    // Blanks around the values do not count.
    {" x ", "https://x", {}, false},
    {"x", " https://x ", {}, false},
    // User information before the host is refused, whatever host follows.
    {"x", "https://user@x", {}, true},
    {"school:81", {}, "http://school:81@evil.example/", true},
    {"school:81", {}, "http://user@school:81/", true},
    // Another host or port.
    {"school:81", "http://evil.example", {}, true},
    {"school:81", "http://school:82", {}, true},
    {"scores.example.org", "https://scores.example.org.evil.test", {}, true},
    {"", "https://scores.example.org", {}, true},
    // Not an http address.
    {"school:81", "null", {}, true},
    {"school:81", "", {}, true},
    {"x", "ftp://x", {}, true},
    {"x", "https://", {}, true},
    // The Referer stands in for a missing Origin; the Origin wins over it.
    {"school:81", {}, "http://school:81/EXEC", false},
    {"scores.example.org", {}, "https://scores.example.org/vezav/reg", false},
    {"school:81", {}, "http://evil.example/school:81", true},
    {"scores.example.org", {}, "https://evil.test/?https://scores.example.org", true},
    {"school:81", "http://evil.example", "http://school:81/", true},
    {"school:81", "http://school:81", "http://evil.example/", false},
    // Neither: no browser's cross-site post.
    {"school:81", {}, {}, false},
    {"school:81", {}, "", false},
};

HttpRequest request(const Case& c, const std::string& method) {
  HttpRequest r;
  r.method = method;
  r.remoteAddr = "10.0.0.5";
  r.headers.emplace("host", c.host);
  if (c.origin) r.headers.emplace("origin", *c.origin);
  if (c.referer) r.headers.emplace("referer", *c.referer);
  return r;
}

TEST(OriginCheck, BothProgramsRefuseThePostsOfAnotherOrigin) {
  for (const auto& c : kCases) {
    SCOPED_TRACE("host '" + c.host + "' origin '" + c.origin.value_or("(none)") + "' referer '" +
                 c.referer.value_or("(none)") + "'");
    const HttpRequest post = request(c, "POST");
    EXPECT_EQ(fromOtherOrigin(post), c.other);
    EXPECT_EQ(crossOriginPost(post), c.other);       // the school server's router
    EXPECT_EQ(results::sameOrigin(post), !c.other);  // the results site's
    // Only posts are refused by it.
    EXPECT_FALSE(crossOriginPost(request(c, "GET")));
  }
}

}  // namespace
}  // namespace zeziza::web

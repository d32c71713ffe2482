// How the results site queues its requests: by signed-in student or per request, never by
// the connection's address, which thousands of students share behind a NAT or a proxy.
#include "results/site_transport.h"

#include <gtest/gtest.h>

#include "results/sign_in_cookie.h"
#include "results/site_replies.h"

namespace zeziza::results {
namespace {

CookieKey keyOf(unsigned char fill) {
  CookieKey key;
  key.fill(fill);
  return key;
}

std::int64_t now() {
  return secondsNow();
}

web::HttpRequest request(std::string peer, std::string cookie = {}) {
  web::HttpRequest r;
  r.method = "GET";
  r.path = "/vezav/index.dll";
  r.remoteAddr = std::move(peer);
  if (!cookie.empty()) r.headers.emplace("cookie", "zr_signin=" + cookie);
  return r;
}

std::string sealed(SignIn::Role role, std::int64_t school, std::string student,
                   const CookieKey& key, std::int64_t expires) {
  return sealSignIn({role, school, std::move(student), "stamp", expires}, key);
}

TEST(SiteTurnKeys, ASignedInStudentIsOneKeyFromAnyAddress) {
  const auto key = keyOf(1);
  const auto student = sealed(SignIn::Role::Student, 5, "801", key, now() + 600);
  const auto first = turnKey(request("127.0.0.1", student), key, 1);
  EXPECT_EQ(first, turnKey(request("203.0.113.9", student), key, 2));
  EXPECT_NE(first,
            turnKey(request("127.0.0.1", sealed(SignIn::Role::Student, 5, "802", key, now() + 600)),
                    key, 3));
  EXPECT_NE(first,
            turnKey(request("127.0.0.1", sealed(SignIn::Role::Student, 6, "801", key, now() + 600)),
                    key, 4));
  const auto school =
      turnKey(request("127.0.0.1", sealed(SignIn::Role::School, 5, "", key, now() + 600)), key, 5);
  EXPECT_NE(first, school);
  EXPECT_EQ(school,
            turnKey(request("198.51.100.3", sealed(SignIn::Role::School, 5, "", key, now() + 900)),
                    key, 6));
}

// Requests without a sign-in that holds are keys of their own: one address never makes
// thousands of students wait in one line, and a forged cookie cannot join a student's line.
TEST(SiteTurnKeys, EveryOtherRequestIsAKeyOfItsOwn) {
  const auto key = keyOf(1);
  const auto victim = turnKey(
      request("127.0.0.1", sealed(SignIn::Role::Student, 5, "801", key, now() + 600)), key, 0);
  const std::vector<std::pair<std::string, std::string>> cookies = {
      {"none", ""},
      {"garbage", "abc"},
      {"another key", sealed(SignIn::Role::Student, 5, "801", keyOf(2), now() + 600)},
      {"expired", sealed(SignIn::Role::Student, 5, "801", key, now() - 1)},
  };
  for (const auto& [what, cookie] : cookies) {
    SCOPED_TRACE(what);
    const auto a = turnKey(request("127.0.0.1", cookie), key, 10);
    const auto b = turnKey(request("127.0.0.1", cookie), key, 11);
    EXPECT_NE(a, b);
    EXPECT_NE(a, victim);
    EXPECT_EQ(a.find("127.0.0.1"), std::string::npos);
  }
}

TEST(SiteTurnKeys, TheTransportGetsTheseKeysAndNoAddressCap) {
  const auto key = keyOf(1);
  const auto options = siteTransport(key, {});
  ASSERT_TRUE(options.turnKey);
  EXPECT_NE(options.turnKey(request("127.0.0.1")), options.turnKey(request("127.0.0.1")));
  const auto cookie = sealed(SignIn::Role::Student, 5, "801", key, now() + 600);
  EXPECT_EQ(options.turnKey(request("127.0.0.1", cookie)),
            options.turnKey(request("127.0.0.2", cookie)));
  EXPECT_EQ(options.connectionsPerAddress, 0u);
  EXPECT_GT(options.queueWaitLimit.count(), 0);
}

TEST(SiteTurnKeys, OnlyPostsThatHashAPasswordAreCostly) {
  struct Case {
    std::string method, path, op;
    bool costly;
  };
  const std::vector<Case> cases = {
      {"POST", "/vezav/index.dll", "student", true},
      {"POST", "/vezav/index.dll", "school", true},
      {"POST", "/vezav/index.dll", "password", true},
      {"POST", "/vezav/reg", "", true},
      {"POST", "/vezav/index.dll", "signout", false},
      {"GET", "/vezav/index.dll", "student", false},
      {"GET", "/vezav/reg", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method + " " + c.path + " " + c.op);
    web::HttpRequest r;
    r.method = c.method;
    r.path = c.path;
    if (!c.op.empty()) r.form.fields.emplace("op", c.op);
    EXPECT_EQ(hashesAPassword(r), c.costly);
  }
}

TEST(SiteRetryPage, TellsTheWaitAndComesBackByItself) {
  auto view = request("127.0.0.1");
  view.form.fields = {{"dwid", "5"}, {"xm", "12"}};
  const auto page = retryPage(view, std::chrono::seconds(5));
  EXPECT_EQ(page.status, 503);
  EXPECT_NE(std::find(page.headers.begin(), page.headers.end(),
                      std::pair<std::string, std::string>("Retry-After", "5")),
            page.headers.end());
  EXPECT_NE(
      page.body.find("http-equiv=\"refresh\" content=\"5;url=/vezav/index.dll?dwid=5&amp;xm=12\""),
      std::string::npos)
      << page.body;
  EXPECT_NE(page.body.find("当前查询的人数较多"), std::string::npos);
  EXPECT_EQ(page.body.find("<script"), std::string::npos);

  web::HttpRequest signIn;
  signIn.method = "POST";
  signIn.path = "/vezav/index.dll";
  signIn.form.fields = {{"dwid", "5"}, {"op", "student"}, {"kh", "801"}, {"mm", "secret"}};
  const auto again = retryPage(signIn, std::chrono::seconds(5));
  EXPECT_NE(again.body.find("content=\"5;url=/vezav/index.dll?dwid=5\""), std::string::npos)
      << again.body;
  EXPECT_NE(again.body.find("重新登录"), std::string::npos);
  EXPECT_EQ(again.body.find("secret"), std::string::npos);
}

}  // namespace
}  // namespace zeziza::results

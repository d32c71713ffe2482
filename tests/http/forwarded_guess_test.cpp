// Password guesses over HTTP with a rotating X-Forwarded-For: the login throttle keys on the
// address the server believes, so rotating the header must not buy more checked guesses.
#include <gtest/gtest.h>

#include "tests/support/http_browser.h"
#include "tests/support/page_driver.h"

namespace zeziza::testing {
namespace {

TEST(ForwardedGuesses, RotatingTheHeaderGivesNoMoreGuessesThanOneAddress) {
  const struct {
    std::string trustedProxy;
    std::string forwardedPattern;  // {} stands for the guess number
    std::string throttledAddress;  // the one entry the throttle must hold
    std::size_t entries;
  } cases[] = {
      {"", "10.0.0.{}", "127.0.0.1", 1},
      {"", "10.0.0.{}, 10.9.9.9", "127.0.0.1", 1},
      // Behind the proxy only its own last entry counts; the client's own entries do not.
      {"127.0.0.1", "10.0.0.{}, 10.9.9.9", "10.9.9.9", 1},
      // Distinct clients behind the proxy are distinct addresses (so the test can tell).
      {"127.0.0.1", "10.0.0.{}", "10.0.0.1", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trustedProxy + " " + c.forwardedPattern);
    web::ServerSettings settings;
    settings.TrustedProxy = c.trustedProxy;
    TestServer server{nullptr, settings};
    HttpBrowser browser(server.host().listen(), 30);
    ASSERT_TRUE(browser.start());
    for (int guess = 1; guess <= 6; ++guess) {
      std::string forwarded = c.forwardedPattern;
      forwarded.replace(forwarded.find("{}"), 2, std::to_string(guess));
      browser.setHeader("X-Forwarded-For", forwarded);
      ASSERT_TRUE(
          browser.post("signinbutton", {{"usernameedit", "boss"}, {"passwordedit", "guess"}}));
    }
    auto& throttle = server.context().loginThrottle();
    EXPECT_EQ(throttle.size(), c.entries);
    if (c.entries == 1) {
      EXPECT_GT(throttle.waitFor("boss", c.throttledAddress).count(), 0);
    }
  }
}

}  // namespace
}  // namespace zeziza::testing

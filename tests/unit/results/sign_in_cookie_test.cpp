// Sign-in cookies: what one seals opens again with the same key only, unchanged and unexpired.
#include "results/sign_in_cookie.h"

#include <gtest/gtest.h>

namespace zeziza::results {
namespace {

using std::chrono::seconds;
using std::chrono::system_clock;

CookieKey newKey() {
  CookieKey key;
  crypto_auth_keygen(key.data());
  return key;
}

TEST(SignInCookie, OpensOnlyUnchangedUnexpiredAndWithItsKey) {
  ASSERT_GE(sodium_init(), 0);
  const auto key = newKey();
  const system_clock::time_point now{seconds(2'000'000'000)};
  const SignIn student{SignIn::Role::Student, 17, "801", passwordStamp("$argon2id$x"),
                       2'000'000'600,         3};
  const SignIn school{SignIn::Role::School, 17, "", passwordStamp("$argon2id$y"), 2'000'000'600};
  const std::string sealed = sealSignIn(student, key);
  EXPECT_EQ(openSignIn(sealed, key, now), student);
  EXPECT_EQ(openSignIn(sealSignIn(school, key), key, now), school);

  const std::size_t dot = sealed.find('.');
  std::string flipped = sealed;
  flipped[dot / 2] = flipped[dot / 2] == 'A' ? 'B' : 'A';
  std::string otherMac = sealed;
  otherMac.back() = otherMac.back() == 'A' ? 'B' : 'A';
  struct Case {
    std::string what, value;
    system_clock::time_point at;
  };
  const std::vector<Case> refused = {
      {"other key", sealSignIn(student, newKey()), now},
      {"changed fields", flipped, now},
      {"changed mac", otherMac, now},
      {"fields of another cookie",
       sealSignIn(school, key).substr(0, sealSignIn(school, key).find('.')) + sealed.substr(dot),
       now},
      {"at its expiry", sealed, system_clock::time_point{seconds(2'000'000'600)}},
      {"no mac", sealed.substr(0, dot), now},
      {"empty", "", now},
      {"not base64", "%%%.%%%", now},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(openSignIn(c.value, key, c.at), std::nullopt);
  }
}

TEST(SignInCookie, StampFollowsThePasswordHash) {
  EXPECT_EQ(passwordStamp("$argon2id$a"), passwordStamp("$argon2id$a"));
  EXPECT_NE(passwordStamp("$argon2id$a"), passwordStamp("$argon2id$b"));
  // The stamp never carries the hash itself.
  EXPECT_EQ(passwordStamp("$argon2id$a").find("argon2"), std::string::npos);
}

}  // namespace
}  // namespace zeziza::results

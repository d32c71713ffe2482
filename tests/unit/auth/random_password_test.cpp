#include "auth/random_password.h"

#include <gtest/gtest.h>

#include <set>

namespace zeziza::testing {
namespace {

TEST(RandomPasswordTest, EightCharactersWithoutLookAlikesNeverTheSameAndNoneLeftOut) {
  std::set<std::string> seen;
  std::set<char> used;
  for (int i = 0; i < 500; ++i) {
    const std::string password = auth::randomPassword();
    ASSERT_EQ(password.size(), 8u);
    for (const char c : password) {
      ASSERT_NE(auth::kPlainAlphabet.find(c), std::string_view::npos) << password;
      used.insert(c);
    }
    seen.insert(password);
  }
  EXPECT_EQ(seen.size(), 500u);
  for (const char lookAlike : std::string_view("0Oo1lIi2Z5S8B")) {
    EXPECT_EQ(auth::kPlainAlphabet.find(lookAlike), std::string_view::npos) << lookAlike;
  }
  // Every character of the alphabet turns up: the choice is not skewed to a part of it.
  EXPECT_EQ(used.size(), auth::kPlainAlphabet.size());
}

}  // namespace
}  // namespace zeziza::testing

#include "auth/random_password.h"

#include <gtest/gtest.h>

#include <set>

namespace zeziza::testing {
namespace {

TEST(RandomPasswordTest, EightCharactersWithoutLookAlikesAndNeverTheSame) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string password = auth::randomPassword();
    ASSERT_EQ(password.size(), 8u);
    for (const char c : password) {
      EXPECT_NE(auth::kPlainAlphabet.find(c), std::string_view::npos) << password;
    }
    seen.insert(password);
  }
  EXPECT_EQ(seen.size(), 200u);
  for (const char lookAlike : std::string_view("0O1lI")) {
    EXPECT_EQ(auth::kPlainAlphabet.find(lookAlike), std::string_view::npos) << lookAlike;
  }
}

}  // namespace
}  // namespace zeziza::testing

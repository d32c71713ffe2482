#include "cloud/first_passwords.h"

#include <gtest/gtest.h>

#include <set>

#include "auth/password_hasher.h"
#include "cloud/progress.h"

namespace zeziza::cloud {
namespace {

TEST(FirstPasswords, EightCharactersWithoutLookAlikes) {
  std::set<std::string> seen;
  std::set<char> used;
  for (int i = 0; i < 500; ++i) {
    const std::string password = randomFirstPassword();
    ASSERT_EQ(password.size(), 8u);
    for (const char c : password) {
      ASSERT_NE(kFirstPasswordAlphabet.find(c), std::string_view::npos) << password;
      used.insert(c);
    }
    seen.insert(password);
  }
  EXPECT_EQ(seen.size(), 500u);
  for (const char lookAlike : std::string("0Oo1lIi")) EXPECT_EQ(used.count(lookAlike), 0u);
  // Every character of the alphabet turns up: the choice is not skewed to a part of it.
  EXPECT_EQ(used.size(), kFirstPasswordAlphabet.size());
}

TEST(FirstPasswords, EqualPasswordsGetHashesOfTheirOwn) {
  Progress progress;
  const std::vector<std::string> passwords = {"123456", "123456", "abcdefgh", "123456"};
  const auto hashes = hashEach(passwords, progress);
  ASSERT_EQ(hashes.size(), passwords.size());
  EXPECT_EQ(std::set<std::string>(hashes.begin(), hashes.end()).size(), hashes.size());
  auth::PasswordHasher hasher(1);
  for (std::size_t i = 0; i < hashes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(hasher.verify(hashes[i], passwords[i]));
  }
  EXPECT_FALSE(hasher.verify(hashes[2], "123456"));
  auto lines = progress.takeLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find(">>已生成初始密码4/4"), std::string::npos) << lines.back();
  EXPECT_TRUE(hashEach({}, progress).empty());
  EXPECT_TRUE(progress.takeLines().empty());
}

TEST(FirstPasswords, AStopRequestEndsTheHashing) {
  Progress progress;
  progress.requestStop();
  EXPECT_THROW(hashEach({"123456", "654321"}, progress), Cancelled);
}

}  // namespace
}  // namespace zeziza::cloud

#include "cloud/first_passwords.h"

#include <gtest/gtest.h>

#include <set>

#include "auth/password_hasher.h"
#include "cloud/progress.h"

namespace zeziza::cloud {
namespace {

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

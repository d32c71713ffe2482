// Accounts of the cloud service: numbers as typed, hashed passwords, the check.
#include "cloud/accounts.h"

#include <gtest/gtest.h>

#include "tests/cloud/cloud_test_db.h"

namespace zeziza::cloud {
namespace {

TEST(RegistrationNumber, OnlyPositiveIntegers) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> number;
  };
  const std::vector<Case> cases = {
      {"12", 12},
      {" 7 ", 7},
      {"\t7\r\n", 7},
      {"12a", std::nullopt},
      {"0", std::nullopt},
      {"-5", std::nullopt},
      {"", std::nullopt},
      {"+5", std::nullopt},
      {"1 2", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseRegistrationNumber(c.text), c.number);
  }
}

class AccountTest : public testing::CloudTest {};

TEST_F(AccountTest, CreatedAccountChecksOnlyWithItsPassword) {
  auto& db = cloud().db();
  const std::int64_t first = createAccount(db, "s3cret'密码");
  const std::int64_t second = createAccount(db, "other");
  EXPECT_GT(first, 0);
  EXPECT_NE(first, second);
  EXPECT_TRUE(checkAccount(db, first, "s3cret'密码"));
  EXPECT_FALSE(checkAccount(db, first, "s3cret'密码 "));
  EXPECT_FALSE(checkAccount(db, first, "other"));
  EXPECT_FALSE(checkAccount(db, second + 100, "other"));
  // Only a hash is stored.
  const std::string stored =
      cloud().scalar("SELECT 密码 FROM yhm WHERE id = " + std::to_string(first));
  EXPECT_EQ(stored.find("s3cret"), std::string::npos);
  EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u) << stored;
}

}  // namespace
}  // namespace zeziza::cloud

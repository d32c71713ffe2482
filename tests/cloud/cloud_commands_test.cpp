// The maintenance commands that stand in for the service provider's site.
#include "host/cloud_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cloud/accounts.h"
#include "tests/cloud/cloud_test_db.h"

namespace zeziza::host {
namespace {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome run(const std::string& conninfo, CloudCommand command, const std::string& input = "") {
  Options options;
  options.cloud = conninfo;
  options.cloudCommand = command;
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int code = runCloudCommand(options, in, out, err);
  return {code, out.str(), err.str()};
}

TEST(CloudCommands, WithoutConnectionStringSaySo) {
  const auto outcome = run("", CloudCommand::CreateSchema);
  EXPECT_EQ(outcome.code, 2);
  EXPECT_EQ(outcome.err, std::string(kNoCloudMessage) + "\n");
}

class CloudCommandTest : public testing::CloudTest {};

TEST_F(CloudCommandTest, CreateSchemaTwiceKeepsRows) {
  cloud().db().exec("INSERT INTO gxnj (年级) VALUES ('初一')");
  const auto outcome = run(cloud().conninfo(), CloudCommand::CreateSchema);
  EXPECT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "云端数据表已建立。\n");
  EXPECT_EQ(cloud().count("gxnj"), 1);
}

TEST_F(CloudCommandTest, CreateAccountPrintsANumberThatChecksAndItsRole) {
  const auto outcome = run(cloud().conninfo(), CloudCommand::CreateAccount, "pa ss 1234\r\n");
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const std::string prefix = "注册编号：";
  ASSERT_EQ(outcome.out.rfind(prefix, 0), 0u) << outcome.out;
  const std::int64_t number = std::stoll(outcome.out.substr(prefix.size()));
  EXPECT_TRUE(cloud::checkAccount(cloud().db(), number, "pa ss 1234"));
  const std::string role =
      cloud().scalar("SELECT db_role FROM yhm WHERE id = " + std::to_string(number));
  EXPECT_NE(outcome.out.find("数据库用户名：" + role + "（"), std::string::npos) << outcome.out;

  for (const std::string shortOne : {"\n", "1234567\n", "七个汉字的密码\n"}) {
    const auto refused = run(cloud().conninfo(), CloudCommand::CreateAccount, shortOne);
    EXPECT_EQ(refused.code, 2) << shortOne;
    EXPECT_EQ(refused.err, "密码至少需要8个字符。\n");
  }
  EXPECT_EQ(cloud().count("yhm"), 1);
}

TEST(CloudCommands, UnreachableServiceIsAnErrorWithMessage) {
  const auto outcome =
      run("host=127.0.0.1 port=1 connect_timeout=2 dbname=x", CloudCommand::CreateSchema);
  EXPECT_EQ(outcome.code, 1);
  EXPECT_NE(outcome.err.find("无法连接云端成绩服务"), std::string::npos);
}

}  // namespace
}  // namespace zeziza::host

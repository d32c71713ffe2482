#include "host/cloud_commands.h"

#include <iostream>
#include <ostream>
#include <string>

#include "base/platform/process.h"
#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "cloud/schema.h"
#include "cloud/school_name.h"

namespace zeziza::host {

namespace {

int createAccount(cloud::pg::Connection& connection, std::istream& in, std::ostream& out,
                  std::ostream& err) {
  if (platform::interactiveInput() && &in == &std::cin) out << "新账户的密码：" << std::flush;
  std::string password;
  std::getline(in, password);
  if (!password.empty() && password.back() == '\r') password.pop_back();
  if (cloud::visibleCharacterCount(password) < cloud::kMinSchoolPassword) {
    err << "密码至少需要" << cloud::kMinSchoolPassword << "个字符。\n";
    return 2;
  }
  const auto account =
      cloud::registerAccount(connection, password, cloud::hashPassword(password)).value();
  out << "注册编号：" << account.number << "\n"
      << "数据库用户名：" << account.role << "（密码即账户密码）\n";
  return 0;
}

}  // namespace

int runCloudCommand(const Options& options, std::istream& in, std::ostream& out,
                    std::ostream& err) {
  if (options.cloud.empty()) {
    err << kNoCloudMessage << "\n";
    return 2;
  }
  try {
    cloud::pg::Connection connection(options.cloud);
    switch (options.cloudCommand) {
      case CloudCommand::CreateSchema:
        cloud::createSchema(connection);
        out << "云端数据表已建立。\n";
        return 0;
      case CloudCommand::CreateAccount:
        return createAccount(connection, in, out, err);
      case CloudCommand::None:
        break;
    }
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

}  // namespace zeziza::host

// What the host does on its own is a line of the event log: backups and the system reset.
#include <gtest/gtest.h>

#include <sstream>

#include "host/server_host.h"
#include "tests/support/page_driver.h"

namespace zeziza::host {
namespace {

TEST(HostEvents, ResetAndItsBackupAreLogged) {
  testing::TestServer server;
  std::ostringstream out;
  web::EventLog log(out, web::LogFormat::Text);
  server.host().setEventLog(&log);
  server.host().resetSystem();
  const std::string text = out.str();
  const auto backup = text.find(" backup 已备份数据 reason=reset file=");
  const auto reset = text.find(" reset 系统已恢复到初始状态\n");
  ASSERT_NE(backup, std::string::npos) << text;
  ASSERT_NE(reset, std::string::npos) << text;
  EXPECT_LT(backup, reset);  // the backup is taken before the data goes
  EXPECT_NE(text.find(server.host().backups().list().back().string()), std::string::npos) << text;
}

}  // namespace
}  // namespace zeziza::host

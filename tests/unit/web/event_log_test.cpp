// One line per event: fields an administrator can read, and that no typed name can break.
#include "web/event_log.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace zeziza::web {
namespace {

const auto kNoon = std::chrono::system_clock::from_time_t(1796904000);  // 2026-12-10 12:00 UTC

TEST(EventLog, TextLines) {
  struct Case {
    std::string user;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"principal", "user=principal"},
      {"张老师", "user=张老师"},
      {"a b", "user=\"a b\""},
      {"", "user=\"\""},
      {"x\n2026-12-10T12:00:00Z signin 用户登录 user=admin", "user=\"x\\n2026-12-10T12:00:00Z"},
      {"q\"=\\", "user=\"q\\\"=\\\\\""},
      {std::string("nul\0bell\a", 9), "user=\"nul\\x00bell\\x07\""},
      // Direction, separator and C1 characters, and bytes that are not UTF-8, stand escaped.
      {"gpj\u202Eexe.txt", "user=\"gpj\\u202eexe.txt\""},
      {"a\u2028b\u2029c", "user=\"a\\u2028b\\u2029c\""},
      {"\u2066x\u2069\u200F\uFEFF", "user=\"\\u2066x\\u2069\\u200f\\ufeff\""},
      {"next\u0085line", "user=\"next\\u0085line\""},
      {"\xff\xc3(\xe2\x80", "user=\"\\xff\\xc3(\\xe2\\x80\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    const std::string line = formatLogLine(LogFormat::Text, kNoon, "signin", "用户登录",
                                           {{"user", c.user}, {"address", "10.0.0.5"}});
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line.rfind("2026-12-10T12:00:00Z signin 用户登录 ", 0), 0u) << line;
    EXPECT_NE(line.find(" " + c.shown), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 17), " address=10.0.0.5") << line;
  }
}

TEST(EventLog, JsonLines) {
  const std::vector<std::string> users = {"principal",       "张老师",       "x\ny\"z",
                                          "\xff\xfe broken", "gpj\u202Eexe", "a\u2028b\u0085"};
  for (const auto& user : users) {
    SCOPED_TRACE(user);
    const std::string line = formatLogLine(LogFormat::Json, kNoon, "signin-failed", "登录失败",
                                           {{"user", user}, {"address", "::1"}});
    EXPECT_EQ(line.find('\n'), std::string::npos);
    for (const char* raw : {"\u202E", "\u2028", "\u0085"}) {
      EXPECT_EQ(line.find(raw), std::string::npos) << line;
    }
    const auto parsed = nlohmann::json::parse(line);
    EXPECT_EQ(parsed["time"], "2026-12-10T12:00:00Z");
    EXPECT_EQ(parsed["event"], "signin-failed");
    EXPECT_EQ(parsed["message"], "登录失败");
    EXPECT_EQ(parsed["address"], "::1");
    if (user.front() != '\xff') {
      EXPECT_EQ(parsed["user"], user);
    }
  }
}

TEST(EventLog, WritesWholeLines) {
  std::ostringstream out;
  EventLog log(out, LogFormat::Text);
  log.record("backup", "已备份数据", {{"reason", "start"}});
  log.error("每日备份失败: disk full");
  const std::string text = out.str();
  EXPECT_NE(text.find(" backup 已备份数据 reason=start\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" error \"每日备份失败: disk full\"\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace zeziza::web

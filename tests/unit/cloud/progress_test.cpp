#include "cloud/progress.h"

#include <gtest/gtest.h>

#include <ctime>

namespace zeziza::cloud {
namespace {

// A local time of day with milliseconds, as the clock gives it.
std::chrono::system_clock::time_point localTime(int hour, int minute, int second, int millis) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 10;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&local)) +
         std::chrono::milliseconds(millis);
}

// Log lines start with the time of day, every part two digits and no milliseconds.
TEST(LogStamp, HoursMinutesSecondsPadded) {
  struct Case {
    int hour, minute, second, millis;
    const char* stamp;
  };
  for (const Case& c : {Case{0, 36, 47, 5, "00:36:47 "}, Case{9, 5, 3, 999, "09:05:03 "},
                        Case{23, 59, 59, 0, "23:59:59 "}}) {
    SCOPED_TRACE(c.stamp);
    EXPECT_EQ(logStamp(localTime(c.hour, c.minute, c.second, c.millis)), c.stamp);
  }
}

TEST(Progress, LinesComeOutOldestFirstAndOnce) {
  Progress progress;
  progress.log(">>一");
  progress.log(">>二");
  const auto lines = progress.takeLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].ends_with(" >>一")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with(" >>二")) << lines[1];
  EXPECT_TRUE(progress.takeLines().empty());
}

}  // namespace
}  // namespace zeziza::cloud

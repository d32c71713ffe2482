#include "auth/login_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using std::chrono::milliseconds;
using zeziza::auth::LoginThrottle;

// A throttle on a clock the test moves.
class LoginThrottleTest : public ::testing::Test {
 protected:
  LoginThrottle::Clock::time_point now{std::chrono::hours(1)};
  LoginThrottle throttle{{}, [this] { return now; }};

  void fail(int times, const std::string& user = "admin", const std::string& address = "10.0.0.5") {
    for (int i = 0; i < times; ++i) throttle.failed(user, address);
  }
};

TEST_F(LoginThrottleTest, DelayGrowsAfterThreeFailuresAndStopsAtThirtySeconds) {
  struct Case {
    int failures;
    milliseconds wait;
  };
  const std::vector<Case> cases = {
      {1, milliseconds(0)},       {2, milliseconds(0)},     {3, milliseconds(1000)},
      {4, milliseconds(2000)},    {5, milliseconds(4000)},  {6, milliseconds(8000)},
      {7, milliseconds(16000)},   {8, milliseconds(30000)}, {20, milliseconds(30000)},
      {200, milliseconds(30000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failures);
    LoginThrottle fresh{{}, [this] { return now; }};
    for (int i = 0; i < c.failures; ++i) fresh.failed("admin", "10.0.0.5");
    EXPECT_EQ(fresh.waitFor("admin", "10.0.0.5"), c.wait);
    EXPECT_EQ(fresh.allowed("admin", "10.0.0.5"), c.wait == milliseconds(0));
  }
}

TEST_F(LoginThrottleTest, AllowedAgainOnceTheDelayHasPassed) {
  fail(4);
  EXPECT_FALSE(throttle.allowed("admin", "10.0.0.5"));
  now += milliseconds(1999);
  EXPECT_FALSE(throttle.allowed("admin", "10.0.0.5"));
  now += milliseconds(1);
  EXPECT_TRUE(throttle.allowed("admin", "10.0.0.5"));
  // The next failure waits longer still: the count was kept.
  fail(1);
  EXPECT_EQ(throttle.waitFor("admin", "10.0.0.5"), milliseconds(4000));
}

TEST_F(LoginThrottleTest, KeyIsUserNameWithoutLetterCaseAndAddress) {
  fail(3, "Admin", "10.0.0.5");
  EXPECT_FALSE(throttle.allowed("admin", "10.0.0.5"));
  EXPECT_FALSE(throttle.allowed("ADMIN", "10.0.0.5"));
  EXPECT_TRUE(throttle.allowed("admin", "10.0.0.6"));
  EXPECT_TRUE(throttle.allowed("admin2", "10.0.0.5"));
  EXPECT_TRUE(throttle.allowed("教师", "10.0.0.5"));
}

TEST_F(LoginThrottleTest, LongNamesCountByTheirBeginning) {
  const std::string prefix(128, 'a');
  fail(3, prefix + std::string(4000, 'x'));
  EXPECT_FALSE(throttle.allowed(prefix + "y", "10.0.0.5"));
  EXPECT_TRUE(throttle.allowed(prefix.substr(1), "10.0.0.5"));
}

TEST_F(LoginThrottleTest, SuccessForgetsTheFailures) {
  fail(2);
  throttle.succeeded("ADMIN", "10.0.0.5");
  fail(2);
  EXPECT_TRUE(throttle.allowed("admin", "10.0.0.5"));
  EXPECT_EQ(throttle.size(), 1u);
}

TEST_F(LoginThrottleTest, FailuresLongAgoStartTheCountAfresh) {
  fail(10);
  now += std::chrono::minutes(15);
  EXPECT_TRUE(throttle.allowed("admin", "10.0.0.5"));
  fail(1);
  EXPECT_TRUE(throttle.allowed("admin", "10.0.0.5"));
}

TEST_F(LoginThrottleTest, TableStaysWithinItsBound) {
  LoginThrottle::Policy policy;
  policy.maxEntries = 50;
  LoginThrottle small{policy, [this] { return now; }};
  for (int i = 0; i < 500; ++i) {
    now += milliseconds(10);
    small.failed("user" + std::to_string(i), "10.0.0.5");
    ASSERT_LE(small.size(), 50u);
  }
  // The newest entries are the ones kept.
  for (int i = 0; i < 3; ++i) small.failed("user499", "10.0.0.5");
  EXPECT_FALSE(small.allowed("user499", "10.0.0.5"));
  EXPECT_EQ(small.size(), 50u);
}

TEST_F(LoginThrottleTest, ExpiredEntriesMakeRoomBeforeLiveOnes) {
  LoginThrottle::Policy policy;
  policy.maxEntries = 3;
  LoginThrottle small{policy, [this] { return now; }};
  for (int i = 0; i < 3; ++i) small.failed("victim", "10.0.0.5");
  now += milliseconds(100);
  small.failed("old1", "10.0.0.9");
  small.failed("old2", "10.0.0.9");
  now += std::chrono::minutes(16);
  for (int i = 0; i < 3; ++i) small.failed("victim", "10.0.0.5");
  small.failed("new", "10.0.0.9");  // the table is full: the two expired entries go
  EXPECT_EQ(small.size(), 2u);
  EXPECT_FALSE(small.allowed("victim", "10.0.0.5"));
}

}  // namespace

// Guessing passwords on the results site: many attempts at once are counted one after the
// other, and one account's checks from any number of addresses share one budget.
#include <gtest/gtest.h>
#include <sodium.h>

#include <atomic>
#include <functional>
#include <thread>

#include "results/results_site.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/cloud/results_browser.h"
#include "tests/cloud/results_school.h"

namespace zeziza::results {
namespace {

using testing::ResultsBrowser;

class GuessingTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    crypto_auth_keygen(key_.data());
    school_ = std::make_unique<testing::PublishedSchool>(cloud().db(), "第一中学", "schoolpw");
    school_->addStudent("801", "张三", "pw801pw", "东校区", "一班");
  }

  // A site with its own pool, budget and hash slots for the test.
  std::unique_ptr<ResultsSite> site(cloud::CheckBudgetRule budget, std::size_t connections = 2) {
    SiteSettings s;
    s.trustedProxy = "127.0.0.1";
    s.hashSlots = 2;
    s.checkBudget = budget;
    pools_.push_back(std::make_unique<ConnectionPool>(cloud().conninfo(), connections));
    return std::make_unique<ResultsSite>(*pools_.back(), *pools_.back(), key_, s);
  }

  web::HttpResponse guess(ResultsBrowser& b, const std::string& password) {
    return b.post("/vezav/index.dll", {{"dwid", std::to_string(school_->account())},
                                       {"op", "student"},
                                       {"kh", "801"},
                                       {"mm", password}});
  }

  // Runs `attempt` on `threads` threads at once; returns how many answers held `text`.
  static int atOnce(int threads, const std::function<web::HttpResponse(int)>& attempt,
                    const std::string& text) {
    std::atomic<int> matched = 0;
    std::vector<std::thread> running;
    for (int i = 0; i < threads; ++i) {
      running.emplace_back([&, i] {
        if (attempt(i).body.find(text) != std::string::npos) ++matched;
      });
    }
    for (auto& t : running) t.join();
    return matched;
  }

  CookieKey key_{};
  std::vector<std::unique_ptr<ConnectionPool>> pools_;
  std::unique_ptr<testing::PublishedSchool> school_;
};

// From 30 addresses, one account gets its burst of checks and no more; the others are told to
// try later and no password is checked for them.
TEST_F(GuessingTest, ChecksOfOneAccountFromManyAddressesShareOneBudget) {
  const auto s = site({std::chrono::minutes(10), 4, std::chrono::milliseconds(0)});
  int checked = 0, refused = 0;
  for (int i = 0; i < 30; ++i) {
    ResultsBrowser b(*s, "203.0.113." + std::to_string(i + 1));
    const auto answer = guess(b, "guess" + std::to_string(i));
    checked += answer.body.find("考号或密码错误！") != std::string::npos;
    if (answer.body.find("尝试过于频繁，请稍后再试。") != std::string::npos) {
      EXPECT_EQ(answer.status, 429);
      ++refused;
    }
  }
  EXPECT_EQ(checked, 4);
  EXPECT_EQ(refused, 26);
  // The budget is the account's: another student of the school is checked at once.
  school_->addStudent("802", "李四", "pw802pw", "东校区", "一班");
  ResultsBrowser other(*s, "192.0.2.50");
  EXPECT_EQ(other
                .post("/vezav/index.dll", {{"dwid", std::to_string(school_->account())},
                                           {"op", "student"},
                                           {"kh", "802"},
                                           {"mm", "pw802pw"}})
                .status,
            303);
}

// Checks beyond the burst wait for their turn instead of being refused: with room to wait,
// every guess is checked.
TEST_F(GuessingTest, ChecksBeyondTheBurstWaitTheirTurn) {
  const auto s = site({std::chrono::milliseconds(50), 1, std::chrono::seconds(30)});
  int checked = 0;
  for (int i = 0; i < 4; ++i) {
    ResultsBrowser b(*s, "203.0.113." + std::to_string(i + 1));
    checked += guess(b, "guess").body.find("考号或密码错误！") != std::string::npos;
  }
  EXPECT_EQ(checked, 4);
  ResultsBrowser owner(*s, "198.51.100.1");
  EXPECT_EQ(guess(owner, "pw801pw").status, 303);
}

// Attempts at once from one address are counted one after the other: exactly the free count
// is checked.
TEST_F(GuessingTest, WrongPasswordsAtOnceFromOneAddressStopAtTheFreeCount) {
  const auto s = site({std::chrono::milliseconds(1), 1000, std::chrono::seconds(0)}, 8);
  const int checked = atOnce(
      40,
      [&](int i) {
        ResultsBrowser b(*s, "203.0.113.77");
        return guess(b, "guess" + std::to_string(i));
      },
      "考号或密码错误！");
  EXPECT_EQ(checked, SiteSettings{}.signInRule.freeCount);
}

TEST_F(GuessingTest, RegistrationsAtOnceFromOneAddressStopAtTheLimit) {
  const auto s = site({}, 8);
  const int made = atOnce(
      12,
      [&](int i) {
        ResultsBrowser b(*s, "192.0.2.99");
        const std::string name = "并发学校" + std::to_string(i);
        return b.post("/vezav/reg",
                      {{"name", name}, {"password", "secret12"}, {"password2", "secret12"}});
      },
      "注册成功！");
  EXPECT_EQ(made, SiteSettings{}.registrationRule.freeCount);
  EXPECT_EQ(cloud().count("yhm WHERE 单位名称 LIKE '并发学校%'"), made);
}

}  // namespace
}  // namespace zeziza::results

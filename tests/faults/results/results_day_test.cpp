// Results day: a crowd of students behind one address (a school's NAT, a carrier's, the site's
// own nginx) signs in and views results at once through the real transport, and every one of
// them is answered. Only 127.0.0.1, bounded in count and time.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sodium.h>
#include <sys/resource.h>

#include <atomic>
#include <cstring>
#include <latch>
#include <memory>
#include <mutex>
#include <thread>

#include "cloud/accounts.h"
#include "results/connection_pool.h"
#include "results/results_site.h"
#include "results/site_transport.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/cloud/results_school.h"
#include "web/http_server.h"

namespace zeziza::results {
namespace {

constexpr int kStudents = 500;
constexpr const char* kPassword = "pw-results-day";

// Sockets of the clients and of the server, all in this process.
bool raiseOpenFiles(rlim_t wanted) {
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  if (files.rlim_cur < wanted && files.rlim_max >= wanted) {
    files.rlim_cur = wanted;
    setrlimit(RLIMIT_NOFILE, &files);
    getrlimit(RLIMIT_NOFILE, &files);
  }
  return files.rlim_cur >= wanted;
}

// The site on a loopback port, with the transport settings zeziza-results runs with.
struct RunningSite {
  RunningSite(const std::string& conninfo, const CookieKey& key, const TransportSizes& sizes)
      : pool(conninfo, 8),
        site(pool, pool, key, {}),
        server([this](const web::HttpRequest& r) { return site.handle(r); },
               siteTransport(key, sizes)) {
    port = server.bind("127.0.0.1", 0);
    server.start();
  }
  ConnectionPool pool;
  ResultsSite site;
  web::HttpServer server;
  int port = 0;
};

// What went wrong for any client, kept for the failure message.
class Failures {
 public:
  void add(const std::string& what) {
    std::lock_guard lock(mutex_);
    if (list_.size() < 20) list_.push_back(what);
    ++count_;
  }
  int count() const { return count_; }
  std::string text() const {
    std::string out;
    for (const auto& f : list_) out += f + "\n";
    return out;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> list_;
  int count_ = 0;
};

std::string describe(const httplib::Result& answer) {
  if (!answer) return "no answer: " + httplib::to_string(answer.error());
  return "status " + std::to_string(answer->status) + ": " + answer->body.substr(0, 300);
}

class ResultsDayTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_GE(sodium_init(), 0);
    crypto_auth_keygen(key_.data());
    school_ = std::make_unique<testing::PublishedSchool>(cloud().db(), "第一中学", "schoolpw");
    const auto unit = school_->id("gxdw", "单位", "东校区");
    const auto grade = school_->id("gxnj", "年级", "初一");
    const auto cls = school_->id("gxbc", "班次", "一班");
    const auto maths = school_->id("gxkm", "科目", "数学");
    exam_ = school_->addExam("期末考试", 1, 30);
    // One roster hash of the lowest cost for every student: the crowd tests the transport,
    // not argon2id.
    char hash[crypto_pwhash_STRBYTES];
    ASSERT_EQ(crypto_pwhash_str(hash, kPassword, std::strlen(kPassword), crypto_pwhash_OPSLIMIT_MIN,
                                crypto_pwhash_MEMLIMIT_MIN),
              0);
    const auto account = std::to_string(school_->account());
    cloud().db().exec(
        "INSERT INTO stu (yhmid, stuid, 姓名, 密码, dwid, njid, bcid) "
        "SELECT $1, (1000 + n)::text, '学生' || n, $2, $3, $4, $5 FROM generate_series(1, $6) n",
        {account, std::string(hash), std::to_string(unit), std::to_string(grade),
         std::to_string(cls), std::to_string(kStudents)});
    cloud().db().exec(
        "INSERT INTO cjb (stuid, xmid, kmid, 成绩, 总排名, 校内排名, 班内排名) "
        "SELECT 1000 + n, $1, $2, 50 + n % 50, n, n, n FROM generate_series(1, $3) n",
        {std::to_string(exam_), std::to_string(maths), std::to_string(kStudents)});
  }

  std::string school() const { return std::to_string(school_->account()); }

  CookieKey key_{};
  std::unique_ptr<testing::PublishedSchool> school_;
  std::int64_t exam_ = 0;
};

// Every student signs in and opens the result page three times, the last time as a browser
// that holds the page: all at once, all from 127.0.0.1, and none is refused.
TEST_F(ResultsDayTest, FiveHundredStudentsFromOneAddressAreAllAnswered) {
  if (!raiseOpenFiles(4 * kStudents)) GTEST_SKIP() << "needs " << 4 * kStudents << " open files";
  TransportSizes sizes;
  sizes.cores = std::max(1u, std::thread::hardware_concurrency());
  RunningSite running(cloud().conninfo(), key_, sizes);
  Failures failures;
  std::latch ready(kStudents);
  std::vector<std::thread> clients;
  for (int i = 0; i < kStudents; ++i) {
    clients.emplace_back([&, i] {
      const std::string number = std::to_string(1001 + i);
      httplib::Client client("127.0.0.1", running.port);
      client.set_keep_alive(true);
      client.set_connection_timeout(60);
      client.set_read_timeout(60);
      ready.arrive_and_wait();
      const httplib::Headers origin = {
          {"Origin", "http://127.0.0.1:" + std::to_string(running.port)}};
      const auto signedIn =
          client.Post("/vezav/index.dll", origin,
                      "dwid=" + school() + "&op=student&kh=" + number + "&mm=" + kPassword,
                      "application/x-www-form-urlencoded");
      if (!signedIn || signedIn->status != 303 || !signedIn->has_header("Set-Cookie")) {
        return failures.add(number + " sign-in: " + describe(signedIn));
      }
      const std::string cookie = signedIn->get_header_value("Set-Cookie");
      httplib::Headers headers = {{"Cookie", cookie.substr(0, cookie.find(';'))}};
      const std::string path = "/vezav/index.dll?dwid=" + school();
      std::string tag;
      for (int view = 0; view < 2; ++view) {
        const auto page = client.Get(path, headers);
        if (!page || page->status != 200 ||
            page->body.find("（考号 " + number + "）") == std::string::npos) {
          return failures.add(number + " view: " + describe(page));
        }
        tag = page->get_header_value("ETag");
      }
      headers.emplace("If-None-Match", tag);
      const auto held = client.Get(path, headers);
      if (!held || held->status != 304) failures.add(number + " held view: " + describe(held));
    });
  }
  for (auto& t : clients) t.join();
  EXPECT_EQ(failures.count(), 0) << failures.text();
}

// Past the wait bound, a sign-in is answered at once with the page that comes back by itself:
// Chinese, 503, Retry-After, never a dropped connection.
TEST_F(ResultsDayTest, SignInsPastTheWaitBoundGetTheRetryPageNotADroppedConnection) {
  // A hash of the real cost, so that sign-ins of one core at a time pile up.
  cloud().db().exec("UPDATE stu SET 密码 = $1 WHERE stuid = '1001'",
                    {cloud::hashPassword(kPassword)});
  TransportSizes sizes;
  sizes.cores = 1;
  sizes.queueWaitLimit = std::chrono::milliseconds(1);
  RunningSite running(cloud().conninfo(), key_, sizes);
  constexpr int kClients = 24;
  Failures failures;
  std::atomic<int> signedIn{0}, toldToWait{0};
  std::latch ready(kClients);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&] {
      httplib::Client client("127.0.0.1", running.port);
      client.set_read_timeout(60);
      ready.arrive_and_wait();
      const auto answer = client.Post("/vezav/index.dll",
                                      "dwid=" + school() + "&op=student&kh=1001&mm=" + kPassword,
                                      "application/x-www-form-urlencoded");
      if (answer && answer->status == 303) {
        ++signedIn;
      } else if (answer && answer->status == 503 &&
                 answer->get_header_value("Retry-After") == "5" &&
                 answer->body.find("http-equiv=\"refresh\"") != std::string::npos &&
                 answer->body.find("请稍候") != std::string::npos) {
        ++toldToWait;
      } else {
        failures.add(describe(answer));
      }
    });
  }
  for (auto& t : clients) t.join();
  EXPECT_EQ(failures.count(), 0) << failures.text();
  EXPECT_EQ(signedIn + toldToWait, kClients);
  EXPECT_GT(toldToWait, 0);
}

}  // namespace
}  // namespace zeziza::results

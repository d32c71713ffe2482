// Results-day burst against a running zeziza-results and its database.
//
//   results_bench seed CONNINFO [schools students exams]
//       creates the cloud tables and fills them: every school with its students (one roster
//       password hash each, as publishing stores it), exams, scores of 7 subjects, statistics of
//       every scope and the grade's ranking texts
//   results_bench run URL CONNINFO KEYHEX [clients seconds signin-clients]
//       measures in one run: one argon2id verification alone (the floor: cores ÷ its time),
//       student sign-ins through the site, and signed-in result views by `clients` browsers
//
// bench/run-results-bench runs both with a throwaway PostgreSQL server and compares the views
// with pgbench running the same selects at the same concurrency.
#include <httplib.h>
#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "cloud/schema.h"
#include "results/sign_in_cookie.h"

namespace {

using namespace zeziza;
using Clock = std::chrono::steady_clock;

constexpr const char* kPassword = "123456";
constexpr int kSubjects = 7;  // five subjects, 平均分 and 总分

void seed(const std::string& conninfo, int schools, int students, int exams) {
  cloud::pg::Connection db(conninfo);
  cloud::createSchema(db);
  const std::string hash = cloud::hashPassword(kPassword);
  const auto s = std::to_string(schools), n = std::to_string(students), e = std::to_string(exams);
  const auto run = [&](const std::string& what, const std::string& sql) {
    const auto start = Clock::now();
    db.exec(sql);
    std::printf("  %-28s %6.1f s\n", what.c_str(),
                std::chrono::duration<double>(Clock::now() - start).count());
  };
  db.exec("INSERT INTO yhm (密码, 单位名称) SELECT $1, '学校' || g FROM generate_series(1, $2) g",
          {cloud::hashPassword("schoolpw"), s});
  db.exec("INSERT INTO gxdw (单位) VALUES ('东校区'), ('西校区')");
  db.exec("INSERT INTO gxnj (年级) VALUES ('初一')");
  db.exec("INSERT INTO gxbc (班次) SELECT g || '班' FROM generate_series(1, 20) g");
  db.exec(
      "INSERT INTO gxkm (科目) VALUES ('语文'), ('数学'), ('英语'), ('物理'), ('化学'), "
      "('平均分'), ('总分')");
  db.exec(
      "INSERT INTO stu SELECT y, n::text, '学生' || n, $1, 1 + n % 2, 1, 1 + (n / 2) % 20 "
      "FROM generate_series(1, $2::int) y, generate_series(1, $3::int) n",
      {hash, s, n});
  db.exec(
      "INSERT INTO xmb (yhmid, 项目名称, 有效期, 上报时间) "
      "SELECT y, '第' || e || '次考试', 365, localtimestamp(0) - make_interval(days => e) "
      "FROM generate_series(1, $1::int) y, generate_series(1, $2::int) e ORDER BY y, e",
      {s, e});
  // The key is built after the rows: one sort instead of seven million index insertions.
  db.exec("ALTER TABLE cjb DROP CONSTRAINT cjb_pkey");
  run("scores (cjb)",
      "INSERT INTO cjb SELECT n, x.id, k, round((random() * 100)::numeric, 1), "
      "(random() * " +
          n + ")::int, (random() * " + n +
          " / 2)::int, (random() * 50)::int "
          "FROM xmb x, generate_series(1, " +
          n + ") n, generate_series(1, 7) k");
  run("scores' key", "ALTER TABLE cjb ADD PRIMARY KEY (stuid, xmid, kmid)");
  run("statistics (tjb)",
      "INSERT INTO tjb SELECT x.id, k, d, 1, c, 50, 49, 3500, 71.43, 99, 12, 72, 180.5, 10, 20, "
      "60, 10, 5, 10, 29, 5, -0.12, 0.3, '60=30人' || chr(13) || chr(10) "
      "FROM xmb x, generate_series(1, 7) k, "
      "(SELECT -1 AS d, -1 AS c UNION ALL SELECT d, -1 FROM generate_series(1, 2) d "
      " UNION ALL SELECT d, c FROM generate_series(1, 2) d, generate_series(1, 20) c) scopes");
  run("ranking texts (pmb)",
      "INSERT INTO pmb SELECT x.id, -1, 1, -1, k, repeat('1:[1]学生1  99' || chr(13) || chr(10), "
      "50) "
      "FROM xmb x, generate_series(1, 7) k");
  run("analyze", "ANALYZE");
}

// The first few failed answers, so a failure count has a reason beside it.
void reportFailure(const httplib::Result& answer) {
  static std::atomic<int> reported{0};
  if (reported++ >= 5) return;
  if (!answer) {
    std::fprintf(stderr, "  failed: %s\n", httplib::to_string(answer.error()).c_str());
  } else {
    std::fprintf(stderr, "  failed: status %d, %zu bytes\n", answer->status, answer->body.size());
  }
}

double seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// One argon2id verification of the roster hash, alone: the median of a few.
double verifySeconds(const std::string& hash) {
  std::vector<double> times;
  for (int i = 0; i < 7; ++i) {
    const auto start = Clock::now();
    if (crypto_pwhash_str_verify(hash.c_str(), kPassword, 6) != 0) throw std::runtime_error("hash");
    times.push_back(seconds(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

struct Burst {
  long done = 0;
  long failed = 0;
  double elapsed = 0;
  std::vector<double> latencies;  // seconds
  double percentile(double p) const {
    if (latencies.empty()) return 0;
    return latencies[std::min(latencies.size() - 1,
                              static_cast<std::size_t>(p * static_cast<double>(latencies.size())))];
  }
};

// `clients` threads, each with its own keep-alive connection, run `request` until `duration`
// has passed; `request` returns whether the answer was the expected one.
template <class Request>
Burst burst(const std::string& url, int clients, double duration, Request request) {
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
  std::atomic<long> done{0}, failed{0};
  const auto start = Clock::now();
  const auto end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(duration));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      httplib::Client client(url);
      client.set_keep_alive(true);
      client.set_read_timeout(60, 0);
      std::mt19937_64 random(static_cast<std::uint64_t>(c) * 7919 + 1);
      while (Clock::now() < end) {
        const auto before = Clock::now();
        const bool ok = request(client, random);
        latencies[static_cast<std::size_t>(c)].push_back(seconds(Clock::now() - before));
        (ok ? done : failed)++;
      }
    });
  }
  for (auto& t : threads) t.join();
  Burst result;
  result.elapsed = seconds(Clock::now() - start);
  result.done = done;
  result.failed = failed;
  for (auto& l : latencies) result.latencies.insert(result.latencies.end(), l.begin(), l.end());
  std::sort(result.latencies.begin(), result.latencies.end());
  return result;
}

int runBench(const std::string& url, const std::string& conninfo, const std::string& keyHex,
             int clients, double duration, int signInClients) {
  cloud::pg::Connection db(conninfo);
  const int schools = static_cast<int>(db.exec("SELECT count(*) FROM yhm").integer(0, 0));
  const int students =
      static_cast<int>(db.exec("SELECT max(stuid::int) FROM stu WHERE yhmid = 1").integer(0, 0));
  const int exams =
      static_cast<int>(db.exec("SELECT count(*) FROM xmb WHERE yhmid = 1").integer(0, 0));
  const std::string hash = db.exec("SELECT 密码 FROM stu LIMIT 1").text(0, 0);
  results::CookieKey key;
  std::size_t length = 0;
  if (sodium_hex2bin(key.data(), key.size(), keyHex.data(), keyHex.size(), nullptr, &length,
                     nullptr) != 0 ||
      length != key.size()) {
    throw std::runtime_error("the key must be 64 hex digits");
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const double one = verifySeconds(hash);
  const double floor = cores / one;
  std::printf("argon2id verification alone: %.1f ms; floor %u cores / %.1f ms = %.1f sign-ins/s\n",
              one * 1000, cores, one * 1000, floor);

  const auto signIns = burst(
      url, signInClients, duration / 2, [&](httplib::Client& client, std::mt19937_64& random) {
        const auto school = std::to_string(1 + random() % static_cast<unsigned>(schools));
        const auto student = std::to_string(1 + random() % static_cast<unsigned>(students));
        const auto answer = client.Post(
            "/vezav/index.dll", "dwid=" + school + "&op=student&kh=" + student + "&mm=" + kPassword,
            "application/x-www-form-urlencoded");
        const bool ok = answer && answer->status == 303;
        if (!ok) reportFailure(answer);
        return ok;
      });
  const double signInRate = static_cast<double>(signIns.done) / signIns.elapsed;
  std::printf(
      "sign-ins, %d clients: %.1f/s (%ld failed), p50 %.0f ms, p99 %.0f ms; "
      "%.2fx of the argon2id floor\n",
      signInClients, signInRate, signIns.failed, signIns.percentile(0.5) * 1000,
      signIns.percentile(0.99) * 1000, signInRate / floor);

  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  const std::string stamp = results::passwordStamp(hash);
  const auto views =
      burst(url, clients, duration, [&](httplib::Client& client, std::mt19937_64& random) {
        const auto school =
            static_cast<std::int64_t>(1 + random() % static_cast<unsigned>(schools));
        const auto student = std::to_string(1 + random() % static_cast<unsigned>(students));
        const auto exam = (school - 1) * exams + 1 +
                          static_cast<std::int64_t>(random() % static_cast<unsigned>(exams));
        const results::SignIn signIn{results::SignIn::Role::Student, school, student, stamp,
                                     now + 3600};
        const httplib::Headers headers = {
            {"Cookie", "zr_signin=" + results::sealSignIn(signIn, key)}};
        const auto answer = client.Get(
            "/vezav/index.dll?dwid=" + std::to_string(school) + "&xm=" + std::to_string(exam),
            headers);
        const bool ok = answer && answer->status == 200 &&
                        answer->body.find("（考号 " + student + "）") != std::string::npos &&
                        answer->body.find("id=\"scores\"") != std::string::npos;
        if (!ok) reportFailure(answer);
        return ok;
      });
  std::printf("result views, %d clients: %.1f/s (%ld failed), p50 %.1f ms, p99 %.1f ms\n", clients,
              static_cast<double>(views.done) / views.elapsed, views.failed,
              views.percentile(0.5) * 1000, views.percentile(0.99) * 1000);
  std::printf("views_per_second %.1f\n", static_cast<double>(views.done) / views.elapsed);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
    const std::vector<std::string> args(argv + 1, argv + argc);
    auto number = [&](std::size_t i, int fallback) {
      return args.size() > i ? std::stoi(args[i]) : fallback;
    };
    if (args.size() >= 2 && args[0] == "seed") {
      seed(args[1], number(2, 50), number(3, 2000), number(4, 10));
      return 0;
    }
    if (args.size() >= 4 && args[0] == "run") {
      return runBench(args[1], args[2], args[3], number(4, 200), number(5, 20), number(6, 32));
    }
    std::cerr << "usage: results_bench seed CONNINFO [schools students exams]\n"
                 "       results_bench run URL CONNINFO KEYHEX [clients seconds signin-clients]\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}

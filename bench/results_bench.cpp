// Results-day burst against a running zeziza-results and its database.
//
//   results_bench seed CONNINFO [schools students exams]
//       creates the cloud tables and fills them: every school with its students (one roster
//       password hash each, as publishing stores it), exams, scores of 7 subjects, statistics of
//       every scope and the grade's ranking texts
//   results_bench run URL CONNINFO KEYHEX [clients seconds signin-clients addresses]
//       measures in one run: one argon2id verification alone (the floor: cores ÷ its time),
//       student sign-ins through the site (none when signin-clients is 0), and signed-in result
//       views by `clients` browsers, spread over `addresses` loopback addresses (127.1.x.y;
//       1: all from 127.0.0.1)
//   results_bench pgbench-script
//       prints the site's view statement as a pgbench script
//
// bench/run-results-bench runs them with a throwaway PostgreSQL server and compares the views
// with pgbench running the same statement at the same concurrency.
#include <httplib.h>
#include <sodium.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "cloud/accounts.h"
#include "cloud/pg.h"
#include "cloud/schema.h"
#include "cloud/student_view_query.h"
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
      "INSERT INTO cjb (stuid, xmid, kmid, 成绩, 总排名, 校内排名, 班内排名) SELECT n::text, x.id, "
      "k, round((random() * 100)::numeric, 1), "
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

// Failed answers by kind ("status 503", "Read", ...), the first few with their bodies, so a
// failure count has its reasons beside it.
class Failures {
 public:
  void add(const httplib::Result& answer) {
    const std::string kind =
        answer ? "status " + std::to_string(answer->status) : httplib::to_string(answer.error());
    std::lock_guard lock(mutex_);
    ++byKind_[kind];
    if (shown_++ < 3 && answer) {
      std::fprintf(stderr, "  failed: %s: %.200s\n", kind.c_str(), answer->body.c_str());
    }
  }
  std::string text() const {
    std::lock_guard lock(mutex_);
    std::string out;
    for (const auto& [kind, count] : byKind_) {
      out += (out.empty() ? "" : ", ") + kind + " ×" + std::to_string(count);
    }
    return out.empty() ? "none" : out;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::string, long> byKind_;
  int shown_ = 0;
};

// CPU seconds this process has used: the client's share of the machine.
double clientCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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

// Verifications a second with one thread a core verifying for `duration`: what argon2id
// alone gets of the machine as it is loaded now.
double parallelVerifications(const std::string& hash, unsigned cores, double duration) {
  std::atomic<long> done{0};
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(duration));
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (unsigned c = 0; c < cores; ++c) {
    threads.emplace_back([&] {
      while (Clock::now() < end) {
        if (crypto_pwhash_str_verify(hash.c_str(), kPassword, 6) != 0) std::abort();
        ++done;
      }
    });
  }
  for (auto& t : threads) t.join();
  return static_cast<double>(done) / seconds(Clock::now() - start);
}

struct Burst {
  long done = 0;
  long failed = 0;
  double elapsed = 0;
  double clientCores = 0;  // the client's CPU time ÷ wall time
  std::shared_ptr<Failures> failures = std::make_shared<Failures>();
  std::vector<double> latencies;  // seconds
  double percentile(double p) const {
    if (latencies.empty()) return 0;
    return latencies[std::min(latencies.size() - 1,
                              static_cast<std::size_t>(p * static_cast<double>(latencies.size())))];
  }
};

// The loopback address of client `c` of `addresses` ("" for the default, 127.0.0.1).
std::string sourceAddress(int c, int addresses) {
  if (addresses <= 1) return {};
  const int i = c % addresses;
  return "127.1." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250);
}

// An answer and a text it must hold to count as the one asked for.
struct Asked {
  httplib::Result answer;
  std::string own;
};

// `clients` threads, each with its own keep-alive connection (TCP_NODELAY, from its source
// address), run `request` until `duration` has passed; `expected` tells whether each answer
// is the one asked for.
template <class Request, class Expected>
Burst burst(const std::string& url, int clients, int addresses, double duration, Request request,
            Expected expected) {
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
  std::atomic<long> done{0}, failed{0};
  Burst result;
  const double cpuBefore = clientCpuSeconds();
  const auto start = Clock::now();
  const auto end =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(duration));
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      httplib::Client client(url);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      client.set_connection_timeout(60, 0);
      client.set_read_timeout(60, 0);
      if (const auto from = sourceAddress(c, addresses); !from.empty()) client.set_interface(from);
      std::mt19937_64 random(static_cast<std::uint64_t>(c) * 7919 + 1);
      while (Clock::now() < end) {
        const auto before = Clock::now();
        const Asked asked = request(client, random);
        latencies[static_cast<std::size_t>(c)].push_back(seconds(Clock::now() - before));
        const bool ok = asked.answer && expected(*asked.answer, asked.own);
        if (!ok) result.failures->add(asked.answer);
        (ok ? done : failed)++;
      }
    });
  }
  for (auto& t : threads) t.join();
  result.elapsed = seconds(Clock::now() - start);
  result.clientCores = (clientCpuSeconds() - cpuBefore) / result.elapsed;
  result.done = done;
  result.failed = failed;
  for (auto& l : latencies) result.latencies.insert(result.latencies.end(), l.begin(), l.end());
  std::sort(result.latencies.begin(), result.latencies.end());
  return result;
}

// The site's view statement with pgbench's variables for its parameters: a random school,
// student and exam, as the views of the run ask for.
std::string pgbenchScript() {
  std::string statement = cloud::studentViewStatement();
  for (const auto& [parameter, variable] :
       std::vector<std::pair<std::string, std::string>>{{"$1", ":s"}, {"$2", ":n"}, {"$3", ":x"}}) {
    statement = std::regex_replace(statement, std::regex("\\" + parameter + "\\b"), variable);
  }
  return "\\set s random(1, 50)\n\\set n random(1, 2000)\n\\set e random(1, 10)\n"
         "\\set x (:s - 1) * 10 + :e\n" +
         statement + ";\n";
}

int runBench(const std::string& url, const std::string& conninfo, const std::string& keyHex,
             int clients, double duration, int signInClients, int addresses) {
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

  if (signInClients > 0) {
    const auto signIns = burst(
        url, signInClients, addresses, duration / 2,
        [&](httplib::Client& client, std::mt19937_64& random) {
          const auto school = std::to_string(1 + random() % static_cast<unsigned>(schools));
          const auto student = std::to_string(1 + random() % static_cast<unsigned>(students));
          return Asked{
              client.Post("/vezav/index.dll",
                          "dwid=" + school + "&op=student&kh=" + student + "&mm=" + kPassword,
                          "application/x-www-form-urlencoded"),
              {}};
        },
        [](const httplib::Response& answer, const std::string&) { return answer.status == 303; });
    const double signInRate = static_cast<double>(signIns.done) / signIns.elapsed;
    std::printf(
        "sign-ins, %d clients: %.1f/s, p50 %.0f ms, p99 %.0f ms; %.2fx of the argon2id floor; "
        "failed answers: %s; client %.2f cores\n",
        signInClients, signInRate, signIns.percentile(0.5) * 1000, signIns.percentile(0.99) * 1000,
        signInRate / floor, signIns.failures->text().c_str(), signIns.clientCores);
    const double busyFloor = parallelVerifications(hash, cores, 3.0);
    std::printf(
        "argon2id on every core at once, right after: %.1f verifications/s; sign-ins %.2fx of "
        "that\nsignins_done %ld\n",
        busyFloor, signInRate / busyFloor, signIns.done);
  }

  if (clients == 0) return 0;
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  const std::string stamp = results::passwordStamp(hash);
  const auto views = burst(
      url, clients, addresses, duration,
      [&](httplib::Client& client, std::mt19937_64& random) {
        const auto school =
            static_cast<std::int64_t>(1 + random() % static_cast<unsigned>(schools));
        const auto student = std::to_string(1 + random() % static_cast<unsigned>(students));
        const auto exam = (school - 1) * exams + 1 +
                          static_cast<std::int64_t>(random() % static_cast<unsigned>(exams));
        const results::SignIn signIn{results::SignIn::Role::Student, school, student, stamp,
                                     now + 3600};
        const httplib::Headers headers = {
            {"Cookie", "zr_signin=" + results::sealSignIn(signIn, key)}};
        return Asked{client.Get("/vezav/index.dll?dwid=" + std::to_string(school) +
                                    "&xm=" + std::to_string(exam),
                                headers),
                     "（考号 " + student + "）"};
      },
      [](const httplib::Response& answer, const std::string& own) {
        return answer.status == 200 && answer.body.find("id=\"scores\"") != std::string::npos &&
               answer.body.find(own) != std::string::npos;
      });
  std::printf(
      "result views, %d clients from %d address%s: %.1f/s, p50 %.1f ms, p99 %.1f ms; failed "
      "answers: %s; client %.2f cores\n",
      clients, addresses, addresses == 1 ? "" : "es",
      static_cast<double>(views.done) / views.elapsed, views.percentile(0.5) * 1000,
      views.percentile(0.99) * 1000, views.failures->text().c_str(), views.clientCores);
  std::printf("views_per_second %.1f\nviews_done %ld\n",
              static_cast<double>(views.done) / views.elapsed, views.done);
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
      return runBench(args[1], args[2], args[3], number(4, 200), number(5, 20), number(6, 32),
                      number(7, 1));
    }
    if (args.size() == 1 && args[0] == "pgbench-script") {
      std::cout << pgbenchScript();
      return 0;
    }
    std::cerr << "usage: results_bench seed CONNINFO [schools students exams]\n"
                 "       results_bench run URL CONNINFO KEYHEX [clients seconds signin-clients "
                 "addresses]\n"
                 "       results_bench pgbench-script\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}

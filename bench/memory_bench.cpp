// The server's memory under big analysis answers, over HTTP as browsers use it, on a generated
// district (20,000 students, 10 exams: 200,000 score rows): one ranking over all exams (its time
// and the server's peak resident memory), five sessions ranking at once, resident memory after
// every session has ended against before, ten sessions each holding a district-wide score query,
// and one such search against the sqlite3 shell's bare select of the same rows in the same run.
//
//   zeziza_memory_bench --server build/bench/zeziza [--students 20000] [--sqlite3 sqlite3]
//                       [-- extra server arguments]
// Resident figures are read from /proc/<pid>/status; the peak is reset through clear_refs before
// each phase.
#include <sys/wait.h>
#include <unistd.h>

#include <barrier>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/school_generator.h"
#include "store/analysis_statements.h"
#include "store/subject_columns.h"
#include "tests/support/http_browser.h"

namespace {

using Clock = std::chrono::steady_clock;
using zeziza::testing::HttpBrowser;

struct Options {
  std::string server;
  std::string sqlite3 = "sqlite3";
  int students = 20000;
  std::vector<std::string> serverArgs;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    if (key == "--") {
      o.serverArgs.assign(argv + i + 1, argv + argc);
      break;
    }
    if (i + 1 >= argc) throw std::invalid_argument(key + " needs a value");
    const std::string value = argv[++i];
    if (key == "--server")
      o.server = value;
    else if (key == "--students")
      o.students = std::stoi(value);
    else if (key == "--sqlite3")
      o.sqlite3 = value;
    else
      throw std::invalid_argument("unknown option " + key);
  }
  if (o.server.empty()) throw std::invalid_argument("--server PATH is required");
  return o;
}

// A line "Key:   N kB" of /proc/<pid>/status, in MiB.
double statusMiB(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
  }
  throw std::runtime_error("no " + key + " for the server");
}

void resetPeak(pid_t pid) {
  std::ofstream("/proc/" + std::to_string(pid) + "/clear_refs") << "5";
}

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error(what);
}

// A browser signed in as the generated district's super administrator, on the score query.
std::unique_ptr<HttpBrowser> signedIn(int port) {
  auto b = std::make_unique<HttpBrowser>(port, 120);
  require(b->start() &&
              b->post("signinbutton", {{"usernameedit", "admin"}, {"passwordedit", "admin123"}}),
          "no answer to the login");
  require(b->page().find("查询范围") != std::string::npos, "the login did not reach the query");
  return b;
}

// The exam, unit, grade and class boxes: the first item is "all" on both pages.
const HttpBrowser::Fields kEverything = {
    {"exambox", "0"}, {"unitbox", "0"}, {"gradebox", "0"}, {"classbox", "0"}};
const HttpBrowser::Fields kOneClass = {
    {"exambox", "1"}, {"unitbox", "1"}, {"gradebox", "1"}, {"classbox", "1"}};

void toRanking(HttpBrowser& b) {
  require(b.post("navigationbar.rankinglink"), "no ranking page");
}

void rank(HttpBrowser& b, const HttpBrowser::Fields& scope = kEverything) {
  require(b.post("analysebutton", scope), "no answer to the ranking");
  require(b.messages().empty(), "the ranking failed: " + b.messages());
}

// A search unsorted; `rows` is the count it must find (-1: any).
void search(HttpBrowser& b, const HttpBrowser::Fields& scope, int rows) {
  auto fields = scope;
  fields.insert(fields.end(), {{"sortbox", "0"}, {"directionbox", "0"}, {"nameedit", ""}});
  require(b.post("querybutton", fields), "no answer to the search");
  const std::string found = rows < 0 ? "共有" : "共有" + std::to_string(rows) + "条";
  require(b.page().find(found) != std::string::npos, "the search did not find its rows");
}

// Runs `work` on every browser at once, each in its own thread, started together.
void together(std::vector<std::unique_ptr<HttpBrowser>>& browsers,
              const std::function<void(HttpBrowser&)>& work) {
  std::barrier start(static_cast<std::ptrdiff_t>(browsers.size()));
  std::vector<std::thread> threads;
  std::vector<std::exception_ptr> failures(browsers.size());
  for (std::size_t i = 0; i < browsers.size(); ++i) {
    threads.emplace_back([&, i] {
      start.arrive_and_wait();
      try {
        work(*browsers[i]);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    });
  }
  for (auto& t : threads) t.join();
  for (const auto& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

// Waits until the server has ended the sessions (they time out) and its memory settles.
double settledResident(pid_t pid, int sessionTimeout) {
  std::this_thread::sleep_for(std::chrono::seconds(sessionTimeout + 35));
  return statusMiB(pid, "VmRSS");
}

// The district-wide search's own select, as the sqlite3 shell runs it: the floor of a search.
double shellSelectSeconds(const Options& o, const std::filesystem::path& data, int subjects) {
  std::vector<zeziza::store::SubjectColumn> columns;
  for (int s = 1; s <= subjects; ++s)
    columns.push_back({s, std::to_string(s)});  // names stay out of the statement
  const auto statement = zeziza::store::scoreRowsStatement(columns, {}, std::nullopt, false);
  const auto t0 = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    execlp(o.sqlite3.c_str(), o.sqlite3.c_str(), data.c_str(), statement.sql.c_str(), nullptr);
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  require(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the sqlite3 shell failed");
  return seconds(t0);
}

void run(const Options& o) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("zeziza-memory-" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  zeziza::bench::SchoolOptions district;
  district.students = o.students;
  const auto made = zeziza::bench::generateSchool(dir, district);
  const int rows = static_cast<int>(made.scoreRows);
  std::printf("district: %d students, %d score rows\n", made.students, rows);
  constexpr int kSessionTimeout = 5;
  std::vector<std::string> args = {"--session-timeout", std::to_string(kSessionTimeout)};
  args.insert(args.end(), o.serverArgs.begin(), o.serverArgs.end());
  zeziza::testing::ServerProcess server(o.server, dir, args);
  const pid_t pid = server.pid();

  {
    // Every page's first use, on one class: what a quiet server holds anyway.
    auto b = signedIn(server.port());
    search(*b, kOneClass, -1);
    toRanking(*b);
    rank(*b, kOneClass);
  }
  const double before = settledResident(pid, kSessionTimeout);
  std::printf("resident before: %.0f MiB\n", before);
  {
    auto b = signedIn(server.port());
    toRanking(*b);
    resetPeak(pid);
    const auto t0 = Clock::now();
    rank(*b);
    std::printf("ranking, all exams: %.2f s, answer %.2f MiB, server peak %.0f MiB\n", seconds(t0),
                static_cast<double>(b->page().size()) / (1 << 20), statusMiB(pid, "VmHWM"));
  }
  {
    std::vector<std::unique_ptr<HttpBrowser>> five;
    for (int i = 0; i < 5; ++i) five.push_back(signedIn(server.port()));
    for (auto& b : five) toRanking(*b);
    resetPeak(pid);
    const auto t0 = Clock::now();
    together(five, [](HttpBrowser& b) { rank(b); });
    std::printf("five rankings at once: %.2f s, server peak %.0f MiB\n", seconds(t0),
                statusMiB(pid, "VmHWM"));
  }
  const double afterRankings = settledResident(pid, kSessionTimeout);
  std::printf("resident after the sessions ended: %.0f MiB (%.2fx of before)\n", afterRankings,
              afterRankings / before);
  {
    std::vector<std::unique_ptr<HttpBrowser>> ten;
    for (int i = 0; i < 10; ++i) ten.push_back(signedIn(server.port()));
    resetPeak(pid);
    const auto t0 = Clock::now();
    search(*ten.front(), kEverything, rows);
    const double one = seconds(t0);
    const double shell = shellSelectSeconds(o, dir / "data", district.subjects);
    std::printf(
        "one district-wide search with statistics: %.2f s; sqlite3 shell select: %.2f s "
        "(%.2fx)\n",
        one, shell, one / shell);
    for (std::size_t i = 1; i < ten.size(); ++i) search(*ten[i], kEverything, rows);
    std::printf("ten sessions holding a district-wide search: resident %.0f MiB, peak %.0f MiB\n",
                statusMiB(pid, "VmRSS"), statusMiB(pid, "VmHWM"));
  }
  const double afterSearches = settledResident(pid, kSessionTimeout);
  std::printf("resident after those sessions ended: %.0f MiB (%.2fx of before)\n", afterSearches,
              afterSearches / before);
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure shows as soon as it is measured
    run(parse(argc, argv));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zeziza_memory_bench: %s\n", e.what());
    return 1;
  }
}

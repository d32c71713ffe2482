// The score query on a generated district (20,000 students, 10 exams: 200,000 score rows), as
// a browser drives it: a search without filters with the statistics panel shown, ten sessions
// each holding such a search, a page change and the export, beside the bare select run by
// SQLite alone (in-process and the sqlite3 command-line shell). Each benchmark reports the
// process's peak resident memory.
//   query_benchmark [--students N] [benchmark options]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/process_memory.h"
#include "bench/school_generator.h"
#include "pages/analysis/score_query.h"
#include "pages/analysis/score_query_statement.h"
#include "pages/signin/login_state.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/pager.h"

namespace zeziza::bench {
namespace {

// A server on a generated district and a signed-in administrator on the query page.
class District {
 public:
  explicit District(int students) {
    SchoolOptions options;
    options.students = students;
    const auto made = generateSchool(server.folder(), options);
    scoreRows = made.scoreRows;
    server.context().settings().load(server.db());
    const auto subjects = server.context().settings().get()->subjects;
    web::Session& user = browser.user();
    user.login.rights = 0;
    user.login.subjects = store::numberSubjects(subjects);
    user.login.exams = {};
    browser.showPage<pages::ScoreQueryPage>();
    select = pages::scoreQueryStatement({}, user.login.subjects).sql;
    pages::ScoreQueryFilter byTotal;
    byTotal.sortItem = 2;  // 按总分
    byTotal.descending = true;
    selectByTotal = pages::scoreQueryStatement(byTotal, user.login.subjects).sql;
  }

  testing::TestServer server;
  testing::BrowserSession browser = server.browser();
  std::string select;
  std::string selectByTotal;  // the same rows, highest total first
  long scoreRows = 0;
};

void reportMemory(benchmark::State& state, double before) {
  state.counters["rss_before_MiB"] = before;
  state.counters["peak_MiB"] = peakResidentMiB();
}

// The row count the status line reports ("共有N条符合条件的记录 ...").
double shownRowCount(testing::BrowserSession& browser) {
  const std::string status = browser.control<web::Pager>("resultPager").status();
  const auto digits = status.find_first_of("0123456789");
  return digits == std::string::npos ? 0 : std::stod(status.substr(digits));
}

// A browser signed in as the district's administrator, on the query page.
void prepareBrowser(testing::BrowserSession& browser, District& d) {
  web::Session& user = browser.user();
  user.login.rights = 0;
  user.login.subjects = d.browser.user().login.subjects;
  user.login.exams = {};
  browser.showPage<pages::ScoreQueryPage>();
}

// Starts from a fresh page (no result held), so the peak includes one whole search.
void searchWithStatistics(benchmark::State& state, District& d) {
  d.browser.showPage<pages::ScoreQueryPage>();
  const double before = residentMiB();
  const double heapBefore = heapInUseMiB();
  resetPeakResident();
  d.browser.click("queryButton");
  d.browser.click("statisticsLink");  // the panel is rendered with every answer from now on
  for (auto _ : state) d.browser.click("queryButton");
  reportMemory(state, before);
  // What one result held by the session costs, and the process while it is held.
  state.counters["result_heap_MiB"] = heapInUseMiB() - heapBefore;
  state.counters["rss_held_MiB"] = residentMiB();
  state.counters["rows"] = shownRowCount(d.browser);
}

// The same search sorted by total, highest first: the whole result goes through SQLite's sorter.
void searchByTotalWithStatistics(benchmark::State& state, District& d) {
  d.browser.showPage<pages::ScoreQueryPage>();
  d.browser.choose("sortBox", "按总分");
  d.browser.choose("directionBox", "降序排列");
  const double before = residentMiB();
  resetPeakResident();
  for (auto _ : state) d.browser.click("queryButton");
  reportMemory(state, before);
  state.counters["rows"] = shownRowCount(d.browser);
  d.browser.showPage<pages::ScoreQueryPage>();
}

// Ten sessions each holding a search of the whole district at once.
void tenSessionsHoldingASearch(benchmark::State& state, District& d) {
  d.browser.showPage<pages::ScoreQueryPage>();  // the main browser holds nothing
  const double before = residentMiB();
  const double heapBefore = heapInUseMiB();
  resetPeakResident();
  for (auto _ : state) {
    std::vector<testing::BrowserSession> browsers;
    for (int i = 0; i < 10; ++i) {
      browsers.push_back(d.server.browser());
      prepareBrowser(browsers.back(), d);
      browsers.back().click("queryButton");
    }
    state.counters["held_heap_MiB"] = heapInUseMiB() - heapBefore;
    state.counters["rss_held_MiB"] = residentMiB();
    state.counters["rows_each"] = shownRowCount(browsers.back());
    for (auto& browser : browsers) browser.showPage<pages::ScoreQueryPage>();
  }
  reportMemory(state, before);
}

void pageChange(benchmark::State& state, District& d) {
  d.browser.click("queryButton");
  const auto pages =
      static_cast<int>(d.browser.control<web::Pager>("resultPager").span().pageCount());
  const double before = residentMiB();
  resetPeakResident();
  int page = 0;
  for (auto _ : state) {
    page = (page + 1) % pages;
    d.browser.choosePage("resultPager", std::to_string(page + 1));
  }
  reportMemory(state, before);
}

void exportWorkbook(benchmark::State& state, District& d) {
  d.browser.click("queryButton");
  const double before = residentMiB();
  resetPeakResident();
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    const auto& outcome = d.browser.click("exportLink");
    if (!outcome.file) {
      state.SkipWithError("no file");
      break;
    }
    bytes = std::filesystem::file_size(outcome.file->path);
    std::filesystem::remove(outcome.file->path);
  }
  reportMemory(state, before);
  state.counters["file_MiB"] = static_cast<double>(bytes) / (1024 * 1024);
}

// SQLite's own floor: every row of the same select stepped and its fields read, nothing kept.
void bareSelect(benchmark::State& state, District& d) {
  const double before = residentMiB();
  resetPeakResident();
  for (auto _ : state) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(d.server.db().handle(), d.select.c_str(), -1, &stmt, nullptr);
    long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
        benchmark::DoNotOptimize(sqlite3_column_text(stmt, c));
      }
      ++rows;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(rows);
  }
  reportMemory(state, before);
}

// GNU time reports the shell's own peak: a child spawned from this process would inherit the
// benchmark's peak.
void runShell(benchmark::State& state, District& d, const std::string& select) {
  const std::string file = (d.server.folder() / "data").string();
  const std::string report = (d.server.folder() / "sqlite3-peak").string();
  for (auto _ : state) {
    runProgram(
        {"/usr/bin/time", "-f", "%M", "-o", report, "/usr/bin/sqlite3", "-readonly", file, select});
  }
  std::ifstream peak(report);
  double kib = 0;
  peak >> kib;
  state.counters["peak_MiB"] = kib / 1024;
}

void sqliteShell(benchmark::State& state, District& d) {
  runShell(state, d, d.select);
}

void sqliteShellByTotal(benchmark::State& state, District& d) {
  runShell(state, d, d.selectByTotal);
}

int studentsFrom(int& argc, char** argv) {
  int students = 20000;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--students") {
      students = std::atoi(argv[i + 1]);
      for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
      argc -= 2;
      break;
    }
  }
  return students;
}

}  // namespace
}  // namespace zeziza::bench

int main(int argc, char** argv) {
  using namespace zeziza::bench;
  const int students = studentsFrom(argc, argv);
  benchmark::Initialize(&argc, argv);
  District district(students);
  benchmark::AddCustomContext("score_rows", std::to_string(district.scoreRows));
  const auto add = [&](const char* name, void (*run)(benchmark::State&, District&)) {
    return benchmark::RegisterBenchmark(name,
                                        [&district, run](benchmark::State& s) { run(s, district); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  };
  add("search_with_statistics", searchWithStatistics)->Iterations(3);
  add("search_by_total_with_statistics", searchByTotalWithStatistics)->Iterations(3);
  add("ten_sessions_holding_a_search", tenSessionsHoldingASearch)->Iterations(1);
  add("page_change", pageChange)->Iterations(50);
  add("export_xlsx", exportWorkbook)->Iterations(1);
  add("bare_select_in_process", bareSelect)->Iterations(3);
  add("sqlite3_shell_select", sqliteShell)->Iterations(3);
  add("sqlite3_shell_select_by_total", sqliteShellByTotal)->Iterations(3);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

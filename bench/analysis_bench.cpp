// The analysis pages on the generated district (20,000 students in 5 units, 10 exams, 9
// subjects: 200,000 score rows, bench/school_generator), driven as a browser drives them: each
// iteration is one click, handler and rendering. Counters: store_ms is the time SQLite spends on
// the page's statements (from the first step to the finalize, so it includes reading the rows into
// the query's result), render_ms the rendering of the answer alone, html_MiB its size, peak_MiB the
// process's peak resident memory during the benchmark.
//   analysis_bench [--students N] [benchmark options]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>

#include "bench/process_memory.h"
#include "bench/school_generator.h"
#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/signin/login_state.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/page_renderer.h"

namespace zeziza::bench {
namespace {

// Sums the time SQLite reports for each statement of a connection while it lives.
class StoreClock {
 public:
  explicit StoreClock(sqlite3* db) : db_(db) {
    sqlite3_trace_v2(db_, SQLITE_TRACE_PROFILE, &StoreClock::onProfile, this);
  }
  ~StoreClock() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
  StoreClock(const StoreClock&) = delete;
  StoreClock& operator=(const StoreClock&) = delete;
  double milliseconds() const { return static_cast<double>(nanoseconds_) / 1e6; }
  long statements() const { return statements_; }

 private:
  static int onProfile(unsigned, void* self, void*, void* elapsed) {
    auto* clock = static_cast<StoreClock*>(self);
    clock->nanoseconds_ += *static_cast<sqlite3_int64*>(elapsed);
    ++clock->statements_;
    return 0;
  }
  sqlite3* db_;
  sqlite3_int64 nanoseconds_ = 0;
  long statements_ = 0;
};

// A server on a generated district and a signed-in administrator.
class Bench {
 public:
  explicit Bench(const SchoolOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    const GeneratedSchool made = generateSchool(server.folder(), options);
    server.context().settings().load(server.db());
    pages::fillLoginState(browser.user(), "admin", "0");
    std::cerr << "district: " << made.units << " units, " << made.students << " students, "
              << made.scoreRows << " score rows, generated in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
  }

  testing::TestServer server;
  testing::BrowserSession browser = server.browser();
};

using Arrange = std::function<void(testing::BrowserSession&)>;

double renderMilliseconds(testing::BrowserSession& browser) {
  const auto start = std::chrono::steady_clock::now();
  const std::string html = web::renderPage(browser.page(), web::AnswerState{});
  benchmark::DoNotOptimize(html.data());
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// Arranges the page, then clicks `button` once per iteration.
void clickBenchmark(benchmark::State& state, Bench& bench, const Arrange& arrange,
                    const std::string& button) {
  auto& browser = bench.browser;
  arrange(browser);
  sqlite3* db = browser.user().dataConnection.db().handle();
  resetPeakResident();
  double store = 0;
  long statements = 0;
  std::size_t html = 0;
  for (auto _ : state) {
    StoreClock clock(db);
    browser.click(button);
    store += clock.milliseconds();
    statements = clock.statements();
    html = browser.last().html.size();
  }
  for (const auto& message : browser.messages()) std::cerr << "message: " << message << "\n";
  const double iterations = static_cast<double>(state.iterations());
  state.counters["store_ms"] = store / iterations;
  state.counters["statements"] = static_cast<double>(statements);
  state.counters["render_ms"] = renderMilliseconds(browser);
  state.counters["html_MiB"] = static_cast<double>(html) / (1024 * 1024);
  state.counters["peak_MiB"] = peakResidentMiB();
}

void registerPage(Bench& bench, const char* name, Arrange arrange,
                  const std::string& button = "analyseButton") {
  benchmark::RegisterBenchmark(name,
                               [&bench, arrange, button](benchmark::State& state) {
                                 clickBenchmark(state, bench, arrange, button);
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
}

void registerAll(Bench& bench) {
  registerPage(bench, "ranking/all_exams", [](testing::BrowserSession& b) {
    b.showPage<pages::RankingPage>();
    b.choose("examBox", "全部考试");
  });
  // The file of every row, written a chunk of rows at a time.
  registerPage(
      bench, "ranking/all_exams_export",
      [](testing::BrowserSession& b) {
        b.showPage<pages::RankingPage>();
        b.choose("examBox", "全部考试");
        b.click("analyseButton");
      },
      "ExportLink");
  registerPage(bench, "class_comparison/one_exam_grade",
               [](testing::BrowserSession& b) { b.showPage<pages::ClassComparisonPage>(); });
  registerPage(bench, "chart/by_student_one_exam", [](testing::BrowserSession& b) {
    b.showPage<pages::ChartPage>();
    b.choose("groupingBox", "学生");
  });
  registerPage(bench, "chart/by_student_all_exams", [](testing::BrowserSession& b) {
    b.showPage<pages::ChartPage>();
    b.choose("examBox", "全部考试");
    b.choose("groupingBox", "学生");
  });
  registerPage(bench, "progress/first_vs_last_exam_one_grade",
               [](testing::BrowserSession& b) { b.showPage<pages::ProgressPage>(); });
  registerPage(bench, "distribution/top100", [](testing::BrowserSession& b) {
    b.showPage<pages::DistributionPage>();
    b.type("xEdit", "100");
  });
}

}  // namespace
}  // namespace zeziza::bench

int main(int argc, char** argv) {
  zeziza::bench::SchoolOptions district;
  district.students = 20000;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--students") == 0) {
      district.students = std::stoi(argv[i + 1]);
      for (int j = i; j + 2 <= argc; ++j) argv[j] = argv[j + 2];
      argc -= 2;
      break;
    }
  }
  benchmark::Initialize(&argc, argv);
  zeziza::bench::Bench bench(district);
  zeziza::bench::registerAll(bench);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

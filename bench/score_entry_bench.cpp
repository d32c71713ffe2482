// Time per saved score: at the store (the score write and the import in their transactions)
// and through one page event of each entry page (request cycle, handler and rendering).
// "per_score" is the wall time one score costs; the data folder lies under the system's
// temporary folder, so every commit is a real synchronous write to that disk.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "store/score_import.h"
#include "store/score_write.h"
#include "store/settings.h"
#include "store/transaction.h"
#include "tests/support/page_driver.h"
#include "tests/support/temp_folder.h"
#include "web/user_session.h"

namespace zeziza::bench {
namespace {

constexpr int kClassSize = 50;
constexpr int kImportLines = 2000;
constexpr const char* kExam = "期中";
constexpr int kSubjects = 3;

// Students 100001 … in 中心校区 七年级 一班; on a fresh database their keys are 1 … count.
void addStudents(store::Database& db, int count) {
  store::Transaction transaction(db);
  for (int i = 0; i < count; ++i) {
    db.exec("insert into ks (id,xm,xx,nj,bj) values (?,?,?,?,'一班')",
            {std::to_string(100001 + i), std::string("学生").append(std::to_string(i + 1)),
             "中心校区", "七年级"});
  }
  transaction.commit();
}

std::string studentNumber(int i) {
  return std::to_string(100001 + i);
}

// Each round stores different values, so every write changes its row.
double score(int round, int i) {
  return 40 + (round * 7 + i) % 60;
}

void reportPerScore(benchmark::State& state, int scoresPerIteration) {
  state.counters["per_score"] =
      benchmark::Counter(scoresPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

// A fresh data folder with the students, for the store benchmarks.
struct StoreFixture {
  explicit StoreFixture(int students) : folder(prepared(temp.path())), db(folder.data()) {
    addStudents(db, students);
  }
  static store::DataFolder prepared(const std::filesystem::path& root) {
    store::DataFolder folder{root};
    store::prepareDataFolder(folder);
    return folder;
  }
  testing::TempFolder temp;
  store::DataFolder folder;
  store::Database db;
};

// A class of 50, each score in a transaction of its own (as direct entry writes).
void BM_StoreClassOneByOne(benchmark::State& state) {
  StoreFixture f(kClassSize);
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < kClassSize; ++i) {
      store::writeScore(f.db,
                        {kExam, i + 1, 2, score(round, i), kSubjects, false, {"bench", "bench"}});
    }
  }
  reportPerScore(state, kClassSize);
}

// A class of 50 in one transaction (as the grid saves).
void BM_StoreClassGrid(benchmark::State& state) {
  StoreFixture f(kClassSize);
  int round = 0;
  for (auto _ : state) {
    ++round;
    store::Transaction transaction(f.db);
    for (int i = 0; i < kClassSize; ++i) {
      store::applyScore(f.db,
                        {kExam, i + 1, 2, score(round, i), kSubjects, false, {"bench", "bench"}});
    }
    transaction.commit();
  }
  reportPerScore(state, kClassSize);
}

// 2,000 pasted lines: student lookup and score write, in one transaction.
void BM_StoreImport2000(benchmark::State& state) {
  StoreFixture f(kImportLines);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    std::vector<store::ImportLine> lines;
    for (int i = 0; i < kImportLines; ++i) lines.push_back({studentNumber(i), score(round, i)});
    state.ResumeTiming();
    benchmark::DoNotOptimize(store::importScores(f.db, kExam, 2, kSubjects, lines));
  }
  reportPerScore(state, kImportLines);
}

// A signed-in supervisor's browser on the real server objects.
struct PageFixture {
  explicit PageFixture(int students) {
    addStudents(server.db(), students);
    store::writeSetting(server.db(), store::key::kDefaultExam, kExam);
    // Whole strings moved in: GCC 12 warns falsely on assigning short literals here.
    web::Session& user = b.user();
    user.login.rights = 2;
    user.login.userName = std::string("boss");
    user.login.defaultExam = std::string(kExam);
    user.login.grades = {"七年级"};
  }
  testing::TestServer server;
  testing::BrowserSession b = server.browser();
};

// Direct entry: one score per page event, a class of 50 in a row.
void BM_PageDirectEntry(benchmark::State& state) {
  PageFixture f(kClassSize);
  f.b.showPage<pages::ScoreEntryPage>();
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < kClassSize; ++i) {
      f.b.choose("directSubjectBox", "语文");
      f.b.type("directNumberEdit", studentNumber(i));
      f.b.type("directScoreEdit", std::to_string(score(round, i)));
      f.b.click("directEnterButton");
    }
  }
  reportPerScore(state, kClassSize);
}

// The grid's save of a class of 50: one page event.
void BM_PageClassGridSave(benchmark::State& state) {
  PageFixture f(kClassSize);
  f.b.showPage<pages::ClassGridEntryPage>();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    f.b.choose("subjectBox", "语文");
    f.b.click("loadButton");
    for (int i = 0; i < kClassSize; ++i) {
      f.b.type("scoreBox" + std::to_string(i + 1), std::to_string(score(round, i)));
    }
    state.ResumeTiming();
    f.b.click("saveButton");
  }
  reportPerScore(state, kClassSize);
}

// A paste import of 2,000 lines: one page event with every check and the write.
void BM_PageImport2000(benchmark::State& state) {
  PageFixture f(kImportLines);
  f.b.showPage<pages::BatchImportPage>();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    std::string numbers;
    std::string scores;
    for (int i = 0; i < kImportLines; ++i) {
      numbers += studentNumber(i) + "\r\n";
      scores += std::to_string(score(round, i)) + "\r\n";
    }
    f.b.choose("subjectBox", "语文");
    f.b.type("numbersMemo", numbers);
    f.b.type("scoresMemo", scores);
    state.ResumeTiming();
    f.b.click("importButton");
  }
  reportPerScore(state, kImportLines);
}

BENCHMARK(BM_StoreClassOneByOne)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreClassGrid)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoreImport2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageDirectEntry)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageClassGridSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageImport2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zeziza::bench

BENCHMARK_MAIN();

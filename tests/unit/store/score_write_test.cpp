#include "store/score_write.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <latch>
#include <optional>
#include <thread>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/database.h"
#include "store/query.h"
#include "store/scale_settings.h"
#include "store/score_history.h"
#include "store/score_import.h"
#include "store/transaction.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

using Scores = std::array<double, kMaxSubjects>;

struct Row {
  std::int64_t id = 0;
  Scores scores{};
  double zf = 0;
  double pj = 0;
};

class ScoreWriteTest : public ::testing::Test {
 protected:
  ScoreWriteTest() { prepareDataFolder(folder); }

  std::int64_t addStudent(const std::string& number) {
    db().exec(
        "insert into ks (id,xm,xx,nj,bj) values (?,?,?,?,?)",
        {Value(number), Value("学生" + number), Value("中心校区"), Value("七年级"), Value("一班")});
    return db().lastInsertId();
  }
  // A stored row as an earlier write left it, totals included.
  void putRow(std::int64_t student, const Scores& scores, double zf, double pj) {
    std::string sql = "insert into cj (ks,kh,test,zf,pj";
    for (int j = 1; j <= kMaxSubjects; ++j) sql += ",k" + std::to_string(j);
    sql += ") values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
    std::vector<Value> params{Value(kExam), Value(student), Value(scoreKey(kExam, student)),
                              Value(zf), Value(pj)};
    for (const double s : scores) params.emplace_back(s);
    db().exec(sql, params);
  }
  std::optional<Row> rowOf(std::int64_t student) {
    Query q(connection);
    q.open("select * from cj where test=?", {Value(scoreKey(kExam, student))});
    if (q.eof()) return std::nullopt;
    EXPECT_EQ(q.recordCount(), 1u);
    Row row;
    row.id = q.field("id").asInt();
    for (int j = 0; j < kMaxSubjects; ++j) {
      row.scores[static_cast<std::size_t>(j)] = q.field("k" + std::to_string(j + 1)).asDouble();
    }
    row.zf = q.field("zf").asDouble();
    row.pj = q.field("pj").asDouble();
    EXPECT_EQ(q.field("ks").asText(), kExam);
    EXPECT_EQ(q.field("kh").asInt(), student);
    return row;
  }
  int rowCount() {
    Query q(connection);
    q.open("select count(*) as n from cj");
    return static_cast<int>(q.field("n").asInt());
  }
  Database& db() { return connection.db(); }

  static constexpr const char* kExam = "期中";
  testing::TempFolder temp;
  DataFolder folder{temp.path()};
  Connection connection{folder.data()};
};

TEST_F(ScoreWriteTest, TheKeyJoinsExamAndStudent) {
  EXPECT_EQ(scoreKey("期中", 17), "期中!&17");
  EXPECT_EQ(scoreKey("A", 0), "A!&0");
}

// Each case starts from one stored row (or none), writes one score and checks the row.
TEST_F(ScoreWriteTest, WritesTheScoreAndKeepsTotalsConsistent) {
  struct Case {
    const char* what;
    std::optional<Scores> before;  // zf/pj of the stored row are recomputed by the fixture
    int subjectCount;
    int subject;
    double value;
    bool keepValidScore;
    ScoreWriteResult result;
    std::optional<Scores> after;  // nullopt: no row
    double zf;
    double pj;
  };
  const std::vector<Case> cases = {
      {"first score", std::nullopt, 3, 1, 80, false, ScoreWriteResult::Inserted, Scores{80}, 80,
       80},
      {"second subject", Scores{80}, 3, 2, 90, false, ScoreWriteResult::Updated, Scores{80, 90},
       170, 85},
      {"a score changed", Scores{80, 90}, 3, 1, 70.5, false, ScoreWriteResult::Updated,
       Scores{70.5, 90}, 160.5, 80.25},
      {"0 for the only score deletes the row", Scores{80}, 3, 1, 0, false,
       ScoreWriteResult::RowDeleted, std::nullopt, 0, 0},
      {"0 for another subject", Scores{80, 90}, 3, 2, 0, false, ScoreWriteResult::Updated,
       Scores{80, 0}, 80, 80},
      {"scores beyond the subject count are ignored", Scores{80, 0, 0, 50}, 3, 2, 90, false,
       ScoreWriteResult::Updated, Scores{80, 90, 0, 50}, 170, 85},
      {"100, 90 and 90", Scores{100, 90}, 3, 3, 90, false, ScoreWriteResult::Updated,
       Scores{100, 90, 90}, 280, 93.333},
      {"the average rounds half away from zero on its decimals", Scores{80.001}, 3, 2, 80, false,
       ScoreWriteResult::Updated, Scores{80.001, 80}, 160.001, 80.001},
      {"a first score of 0 makes no row", std::nullopt, 3, 2, 0, false, ScoreWriteResult::NoRow,
       std::nullopt, 0, 0},
      {"a negative first score is refused", std::nullopt, 3, 1, -2.5, false,
       ScoreWriteResult::Refused, std::nullopt, 0, 0},
      {"a negative score beside a valid one is refused", Scores{80}, 3, 2, -3, false,
       ScoreWriteResult::Refused, Scores{80}, 80, 80},
      {"a negative score for the only one is refused", Scores{80}, 3, 1, -3, false,
       ScoreWriteResult::Refused, Scores{80}, 80, 80},
      {"the same score again changes nothing", Scores{80, 90}, 3, 2, 90, false,
       ScoreWriteResult::Unchanged, Scores{80, 90}, 170, 85},
      {"0 where there is no score changes nothing", Scores{80}, 3, 3, 0, false,
       ScoreWriteResult::Unchanged, Scores{80}, 80, 80},
      {"the last of twelve subjects", Scores{60}, 12, 12, 90, false, ScoreWriteResult::Updated,
       Scores{60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 90}, 150, 75},
      {"a clerk may not replace a valid score", Scores{80, 90}, 3, 1, 70, true,
       ScoreWriteResult::KeptExisting, Scores{80, 90}, 170, 85},
      {"a clerk may fill an empty subject", Scores{80}, 3, 2, 70, true, ScoreWriteResult::Updated,
       Scores{80, 70}, 150, 75},
      {"a clerk may write a first score", std::nullopt, 3, 3, 70, true, ScoreWriteResult::Inserted,
       Scores{0, 0, 70}, 70, 70},
  };
  std::int64_t n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::int64_t student = addStudent("s" + std::to_string(++n));
    if (c.before) {
      double sum = 0;
      int count = 0;
      for (int j = 0; j < c.subjectCount; ++j) {
        if ((*c.before)[static_cast<std::size_t>(j)] > 0) {
          sum += (*c.before)[static_cast<std::size_t>(j)];
          ++count;
        }
      }
      putRow(student, *c.before, sum, count ? sum / count : 0);
    }
    const auto stored = rowOf(student);
    const ScoreWriteOutcome outcome = writeScore(
        db(), {kExam, student, c.subject, c.value, c.subjectCount, c.keepValidScore, {}});
    EXPECT_EQ(outcome.result, c.result);
    const auto row = rowOf(student);
    ASSERT_EQ(row.has_value(), c.after.has_value());
    if (!row) continue;
    EXPECT_EQ(row->scores, *c.after);
    EXPECT_DOUBLE_EQ(row->zf, c.zf);
    EXPECT_DOUBLE_EQ(row->pj, c.pj);
    const bool written =
        c.result != ScoreWriteResult::KeptExisting && c.result != ScoreWriteResult::Refused;
    // Nothing written leaves nothing in the history.
    const bool changed = written && c.result != ScoreWriteResult::Unchanged;
    EXPECT_EQ(readScoreHistory(db(), kExam, student).size(), changed ? 1u : 0u);
    EXPECT_EQ(outcome.rowId, written ? row->id : 0);
    if (stored) {
      EXPECT_EQ(row->id, stored->id);  // updated in place, never appended
    }
  }
}

TEST_F(ScoreWriteTest, RefusesWhatNoRowCanHoldAndWritesNothing) {
  const std::int64_t student = addStudent("1");
  const struct {
    const char* what;
    ScoreWrite change;
  } cases[] = {
      {"subject 0", {kExam, student, 0, 80, 3, false, {}}},
      {"subject beyond the list", {kExam, student, 4, 80, 3, false, {}}},
      {"more subjects than columns", {kExam, student, 13, 80, 13, false, {}}},
      {"no subjects", {kExam, student, 1, 80, 0, false, {}}},
      {"no exam", {"", student, 1, 80, 3, false, {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_THROW(writeScore(db(), c.change), std::invalid_argument);
  }
  // A student who is not on the roster cannot get a row.
  EXPECT_THROW(writeScore(db(), {kExam, student + 100, 1, 80, 3, false, {}}), DatabaseError);
  EXPECT_EQ(rowCount(), 0);
}

// Full marks 100, 150, 100: a score may reach its subject's full mark, never pass it, and must
// be a finite number; a refused score changes nothing, whatever the row held.
TEST_F(ScoreWriteTest, RefusesScoresThatDoNotFitThePaper) {
  storeFullMarkTexts(db(), {"100", "150"});  // the third is unset: 100
  const struct {
    const char* what;
    int subject;
    double value;
    analysis::ScoreFault fault;
    int fullMark;
  } cases[] = {
      {"the full mark", 2, 150, analysis::ScoreFault::None, 0},
      {"just above the full mark", 2, 150.01, analysis::ScoreFault::AboveFullMark, 150},
      {"above another subject's full mark", 1, 101, analysis::ScoreFault::AboveFullMark, 100},
      {"an unset full mark reads as 100", 3, 100.5, analysis::ScoreFault::AboveFullMark, 100},
      {"1e308", 1, 1e308, analysis::ScoreFault::AboveFullMark, 100},
      {"not a number", 1, std::nan(""), analysis::ScoreFault::NotFinite, 100},
      {"infinite", 2, HUGE_VAL, analysis::ScoreFault::NotFinite, 150},
      {"minus infinity", 2, -HUGE_VAL, analysis::ScoreFault::NotFinite, 150},
      {"a negative score", 2, -5, analysis::ScoreFault::Negative, 150},
      {"just below 0", 1, -0.01, analysis::ScoreFault::Negative, 100},
  };
  std::int64_t n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::int64_t student = addStudent("f" + std::to_string(++n));
    putRow(student, Scores{60, 60, 60}, 180, 60);
    const auto outcome = writeScore(db(), {kExam, student, c.subject, c.value, 3, false, {}});
    const bool fits = c.fault == analysis::ScoreFault::None;
    EXPECT_EQ(outcome.result, fits ? ScoreWriteResult::Updated : ScoreWriteResult::Refused);
    EXPECT_EQ(outcome.fault, c.fault);
    EXPECT_EQ(outcome.fullMark, c.fullMark);
    Scores expected{60, 60, 60};
    if (fits) expected[static_cast<std::size_t>(c.subject - 1)] = c.value;
    EXPECT_EQ(rowOf(student)->scores, expected);
    EXPECT_EQ(readScoreHistory(db(), kExam, student).size(), fits ? 1u : 0u);
  }
  // A batch leaves the refused score out and writes the rest.
  const std::int64_t a = addStudent("b1");
  const std::int64_t b = addStudent("b2");
  const std::vector<ScoreWrite> batch = {{kExam, a, 2, 200, 3, false, {}},
                                         {kExam, b, 2, 140, 3, false, {}}};
  const auto outcomes = writeScores(db(), batch);
  EXPECT_EQ(outcomes[0].result, ScoreWriteResult::Refused);
  EXPECT_EQ(outcomes[1].result, ScoreWriteResult::Inserted);
  EXPECT_FALSE(rowOf(a));
  EXPECT_EQ(rowOf(b)->scores, (Scores{0, 140}));
}

TEST_F(ScoreWriteTest, ExamsKeepRowsOfTheirOwn) {
  const std::int64_t student = addStudent("1");
  writeScore(db(), {kExam, student, 1, 80, 3, false, {}});
  writeScore(db(), {"期末", student, 1, 60, 3, false, {}});
  EXPECT_EQ(rowCount(), 2);
  EXPECT_DOUBLE_EQ(rowOf(student)->zf, 80);
}

// A student whose last score is cleared has no row left: counts of takers stay true.
TEST_F(ScoreWriteTest, ClearingRecomputesTotalsAndTheLastScoreTakesTheRow) {
  const std::int64_t a = addStudent("1");
  const std::int64_t b = addStudent("2");
  putRow(a, Scores{80, 0, -1, 70}, 80, 80);  // 70 is beyond the three subjects
  putRow(b, Scores{100, 90, 90, 40}, 280, 93.333);
  ASSERT_TRUE(clearScore(db(), rowOf(a)->id, 1, 3));
  EXPECT_FALSE(rowOf(a));
  ASSERT_TRUE(clearScore(db(), rowOf(b)->id, 2, 3));
  EXPECT_EQ(rowOf(b)->scores, (Scores{100, 0, 90, 40}));
  EXPECT_DOUBLE_EQ(rowOf(b)->zf, 190);
  EXPECT_DOUBLE_EQ(rowOf(b)->pj, 95);
  EXPECT_FALSE(clearScore(db(), 9999, 1, 3));
  EXPECT_THROW(clearScore(db(), rowOf(b)->id, 4, 3), std::invalid_argument);
}

// Two sessions write the first scores of the same students at the same moment, one subject
// each: every student ends with one row holding both scores.
TEST_F(ScoreWriteTest, ConcurrentFirstScoresMeetInOneRow) {
  constexpr int kStudents = 40;
  std::vector<std::int64_t> students;
  for (int i = 0; i < kStudents; ++i) students.push_back(addStudent("c" + std::to_string(i)));
  std::latch start(2);
  std::array<std::string, 2> failures;
  auto writer = [&](int subject, double value) {
    try {
      Database own(folder.data());  // a connection of its own, as every session has
      start.arrive_and_wait();
      for (const std::int64_t s : students) {
        writeScore(own, {kExam, s, subject, value, 3, false, {}});
      }
    } catch (const std::exception& e) {
      failures[static_cast<std::size_t>(subject - 1)] = e.what();
    }
  };
  std::thread first(writer, 1, 80.0);
  std::thread second(writer, 2, 90.5);
  first.join();
  second.join();
  EXPECT_EQ(failures, (std::array<std::string, 2>{}));
  EXPECT_EQ(rowCount(), kStudents);
  for (const std::int64_t s : students) {
    SCOPED_TRACE(s);
    const auto row = rowOf(s);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->scores, (Scores{80, 90.5}));
    EXPECT_DOUBLE_EQ(row->zf, 170.5);
    EXPECT_DOUBLE_EQ(row->pj, 85.25);
  }
}

class ScoreImportTest : public ScoreWriteTest {};

// 0 is no score, as on every entry path: the stored score goes. Every line is counted by
// what it did.
TEST_F(ScoreImportTest, WritesEveryLineAndZeroTakesTheScoreAway) {
  const std::int64_t a = addStudent("1");
  const std::int64_t b = addStudent("2");
  const std::int64_t c = addStudent("3");
  putRow(b, Scores{0, 75}, 75, 75);
  putRow(c, Scores{50}, 50, 50);
  const std::vector<ImportLine> lines = {{"1", 80}, {"2", 0}, {"3", 40}, {"1", 85}};
  const struct { std::size_t written, deleted, unchanged; } counts[] = {{3, 1, 0}, {2, 0, 2}};
  for (int round = 0; round < 2; ++round) {  // importing twice stores the same again
    SCOPED_TRACE(round);
    const ImportOutcome outcome = importScores(db(), kExam, 2, 3, lines);
    EXPECT_TRUE(outcome.written());
    EXPECT_EQ(outcome.counts.written, counts[round].written);
    EXPECT_EQ(outcome.counts.deleted, counts[round].deleted);
    EXPECT_EQ(outcome.counts.unchanged, counts[round].unchanged);
    EXPECT_EQ(rowOf(a)->scores, (Scores{0, 85}));  // a later line wins
    EXPECT_FALSE(rowOf(b));                        // 0 took the only score, and the row
    EXPECT_EQ(rowOf(c)->scores, (Scores{50, 40}));
    EXPECT_DOUBLE_EQ(rowOf(c)->zf, 90);
    EXPECT_EQ(rowCount(), 2);
  }
}

TEST_F(ScoreImportTest, AVanishedStudentOrAStoreFailureWritesNothing) {
  const std::int64_t a = addStudent("1");
  const std::int64_t b = addStudent("2");
  putRow(a, Scores{0, 75}, 75, 75);
  const std::vector<ImportLine> lines = {{"1", 60}, {"2", 70}, {"gone", 80}, {"2", 90}};
  EXPECT_EQ(importScores(db(), kExam, 2, 3, lines).vanished, std::optional<std::size_t>(2));
  // The store refuses the second student's row halfway through the import.
  db().execScript("CREATE TRIGGER refuse BEFORE INSERT ON cj WHEN new.kh = " + std::to_string(b) +
                  " BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
  const std::vector<ImportLine> good = {{"1", 60}, {"2", 70}};
  EXPECT_THROW(importScores(db(), kExam, 2, 3, good), DatabaseError);
  EXPECT_EQ(rowOf(a)->scores, (Scores{0, 75}));
  EXPECT_EQ(rowCount(), 1);
  // The history rows of the lines written before the failure went with them.
  EXPECT_TRUE(readScoreHistory(db(), kExam, a).empty());
  EXPECT_TRUE(readScoreHistory(db(), kExam, b).empty());
}

// Nothing of an import is written when any score does not fit its paper; every refused score
// is told with its line.
TEST_F(ScoreImportTest, AnyRefusedScoreWritesNothingAndEveryOneIsTold) {
  storeFullMarkTexts(db(), {"100", "150", "100"});
  const std::int64_t a = addStudent("1");
  addStudent("2");
  putRow(a, Scores{0, 75}, 75, 75);
  const std::vector<ImportRow> rows = {{"1", {{1, 90}, {2, 151}}},
                                       {"2", {{1, 80}, {2, 150}}},
                                       {"1", {{3, 1e308}}},
                                       {"2", {{3, std::nan("")}}},
                                       {"2", {{1, -5}}}};
  const ImportOutcome outcome = importScoreRows(db(), kExam, 3, rows);
  ASSERT_EQ(outcome.refused.size(), 4u);
  EXPECT_EQ(outcome.refused[3].row, 4u);
  EXPECT_EQ(outcome.refused[3].fault, analysis::ScoreFault::Negative);
  EXPECT_EQ(outcome.refused[0].row, 0u);
  EXPECT_EQ(outcome.refused[0].subject, 2);
  EXPECT_EQ(outcome.refused[0].fullMark, 150);
  EXPECT_EQ(outcome.refused[1].row, 2u);
  EXPECT_EQ(outcome.refused[1].fault, analysis::ScoreFault::AboveFullMark);
  EXPECT_EQ(outcome.refused[2].row, 3u);
  EXPECT_EQ(outcome.refused[2].fault, analysis::ScoreFault::NotFinite);
  EXPECT_EQ(rowOf(a)->scores, (Scores{0, 75}));
  EXPECT_EQ(rowCount(), 1);
}

// No row is made for a student without a valid score, and a student whose scores all go loses
// the row; the history keeps only what was stored.
TEST_F(ScoreImportTest, RowsWithoutAValidScoreAreNeitherMadeNorKept) {
  const std::int64_t a = addStudent("1");
  const std::int64_t b = addStudent("2");
  putRow(a, Scores{0, 75}, 75, 75);
  const std::vector<ImportRow> rows = {{"1", {{2, 0}}}, {"2", {{1, 0}, {3, 0}}}};
  const ImportOutcome outcome = importScoreRows(db(), kExam, 3, rows, {"boss", "BatchImportPage"});
  EXPECT_TRUE(outcome.written());
  EXPECT_EQ(outcome.counts.deleted, 1u);
  EXPECT_EQ(outcome.counts.unchanged, 2u);
  EXPECT_EQ(rowCount(), 0);
  ASSERT_EQ(readScoreHistory(db(), kExam, a).size(), 1u);
  EXPECT_EQ(readScoreHistory(db(), kExam, a)[0].change.oldValue, 75);
  EXPECT_TRUE(readScoreHistory(db(), kExam, b).empty());
}

// Lines go to the store a batch per statement: several full batches and a part of one give
// the same rows, totals and history as one line at a time.
TEST_F(ScoreImportTest, ABigImportCrossesBatchesIntact) {
  constexpr int kStudents = 1203;
  std::vector<ImportRow> rows;
  Transaction setup(db());  // one commit for the fixture
  for (int i = 0; i < kStudents; ++i) {
    const std::int64_t key = addStudent("n" + std::to_string(i));
    if (i % 3 == 0) putRow(key, Scores{50}, 50, 50);
    rows.push_back({"N" + std::to_string(i), {{2, 60 + i % 40}, {3, i % 7 == 0 ? 0 : 70.5}}});
  }
  setup.commit();
  EXPECT_TRUE(importScoreRows(db(), kExam, 3, rows, {"boss", "BatchImportPage"}).written());
  EXPECT_EQ(rowCount(), kStudents);
  for (const int i : {0, 1, 499, 500, 501, 999, 1000, 1001, 1202}) {
    SCOPED_TRACE(i);
    const std::int64_t key = i + 1;
    const Scores expected{i % 3 == 0 ? 50.0 : 0.0, 60.0 + i % 40, i % 7 == 0 ? 0 : 70.5};
    const auto row = rowOf(key);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->scores, expected);
    const double total = expected[0] + expected[1] + expected[2];
    const int count = (expected[0] > 0) + 1 + (expected[2] > 0);
    EXPECT_DOUBLE_EQ(row->zf, total);
    EXPECT_NEAR(row->pj, total / count, 0.0005);
    EXPECT_EQ(readScoreHistory(db(), kExam, key).size(), i % 7 == 0 ? 1u : 2u);
  }
}

}  // namespace
}  // namespace zeziza::store

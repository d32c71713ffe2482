#include "store/score_query_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/analysis_statements.h"
#include "store/connection.h"
#include "store/data_folder.h"
#include "store/query.h"
#include "tests/support/score_rows.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

const std::vector<SubjectColumn> kSubjects = {{1, "数学"}, {3, "英语"}};

// Five students with a score row each in 期中 (cj.id 1 to 5), then 期末 for the first two.
class ScoreQueryRowsTest : public ::testing::Test {
 protected:
  ScoreQueryRowsTest() {
    prepareDataFolder(folder);
    for (int i = 1; i <= 5; ++i) {
      bh.push_back(testing::addStudent(db(), {"90" + std::to_string(i), "学生" + std::to_string(i),
                                              "东校区", "七年级", "一班"}));
    }
    for (int i = 0; i < 5; ++i) testing::addScores(db(), bh[i], "期中", {60.0 + i, 0, 70.5});
    for (int i = 0; i < 2; ++i) testing::addScores(db(), bh[i], "期末", {80.0 + i, 0, 0});
  }

  Database& db() { return connection.db(); }
  // Every row of `s` as texts, its column names first.
  std::vector<std::vector<std::string>> rowsOf(const BoundStatement& s) {
    query.open(s.sql, s.params);
    std::vector<std::vector<std::string>> rows{query.fieldNames()};
    for (const auto& row : query.rows()) {
      rows.emplace_back();
      for (const auto& value : row) rows.back().push_back(value.asText());
    }
    return rows;
  }

  testing::TempFolder temp;
  DataFolder folder{temp.path()};
  Connection connection{folder.data()};
  Query query{connection};
  std::vector<std::int64_t> bh;
};

TEST_F(ScoreQueryRowsTest, RowsComeInTheOrderOfTheKeysWithTheSearchsColumns) {
  const auto search = rowsOf(scoreRowsStatement(kSubjects, {}, std::nullopt, false));
  ASSERT_EQ(search.size(), 8u);  // names and seven rows, cj.id 1 to 7 in stored order
  struct Case {
    std::string name;
    std::vector<std::int64_t> keys;
    std::vector<std::size_t> searchRows;  // 1-based rows of the search, in the expected order
  };
  const std::vector<Case> cases = {
      {"stored order", {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7}},
      {"reversed", {7, 6, 5, 4, 3, 2, 1}, {7, 6, 5, 4, 3, 2, 1}},
      {"mixed, one page", {6, 1, 4}, {6, 1, 4}},
      {"a key whose row is gone gives no row", {2, 99, 5}, {2, 5}},
      {"no keys: the columns alone", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BoundStatement s = scoreRowsByKeyStatement(kSubjects, c.keys);
    EXPECT_EQ(s.params.size(), c.keys.size());
    // The search's columns and 缺考 last: every student sat what the class sat.
    std::vector<std::vector<std::string>> expected{search.front()};
    expected.front().push_back("缺考");
    for (const std::size_t row : c.searchRows) {
      expected.push_back(search[row]);
      expected.back().push_back("");
    }
    EXPECT_EQ(rowsOf(s), expected);
  }
}

TEST_F(ScoreQueryRowsTest, KeysAreBoundAndAtMostFiveHundredAreReadAtOnce) {
  std::vector<std::int64_t> keys(kMaxKeysPerRead, 3);
  const BoundStatement most = scoreRowsByKeyStatement(kSubjects, keys);
  EXPECT_EQ(most.params, std::vector<Value>(kMaxKeysPerRead, Value(std::int64_t{3})));
  EXPECT_EQ(rowsOf(most).size(), kMaxKeysPerRead + 1);  // a key given twice gives its row twice
  keys.push_back(4);
  EXPECT_THROW(scoreRowsByKeyStatement(kSubjects, keys), std::invalid_argument);
}

// The keyed search is the search with its rows' keys in front: same rows, same order, for every
// sort the page offers, ties included (k2 is 0 in every row, zf ties between exams).
TEST_F(ScoreQueryRowsTest, KeyedSearchHasTheSearchsRowsInItsOrder) {
  ScopeConditions exam;
  exam.equals(ScopeColumn::Exam, "期中");
  const std::vector<std::optional<ScoreColumn>> orders = {
      std::nullopt,           ScoreColumn::studentKey(), ScoreColumn::total(),
      ScoreColumn::average(), ScoreColumn::subject(1),   ScoreColumn::subject(2),
      ScoreColumn::subject(3)};
  for (const auto& column : orders) {
    for (const bool descending : {false, true}) {
      for (const bool withExam : {true, false}) {
        SCOPED_TRACE((column ? column->sql() : std::string("none")) + (descending ? " desc" : "") +
                     (withExam ? " 期中" : ""));
        const ScopeConditions conditions = withExam ? exam : ScopeConditions{};
        auto plain = rowsOf(scoreRowsStatement(kSubjects, conditions, column, descending));
        auto keyed = rowsOf(keyedScoreRowsStatement(kSubjects, conditions, column, descending));
        ASSERT_EQ(keyed.size(), plain.size());
        EXPECT_EQ(keyed.front().front(), "rowkey");
        for (auto& row : keyed) row.erase(row.begin());
        EXPECT_EQ(keyed, plain);
      }
    }
  }
}

}  // namespace
}  // namespace zeziza::store

#include "store/ranking_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

// 1,100 students with one score row each: cj.id = ks.bh = i, 数学 (k1) = i.
class RowsByKeyTest : public ::testing::Test {
 protected:
  RowsByKeyTest() {
    createDataSchema(folder.path() / "data");
    db.exec(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1100) "
        "insert into ks (id, xm) select 'S' || i, '生' || i from n");
    db.exec(
        "insert into cj (ks, kh, k1, zf, pj, test) select '期中', bh, bh, bh, bh, "
        "'期中!&' || bh from ks order by bh");
  }
  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(RowsByKeyTest, EveryKeyIsReadOnceAcrossChunksAndMissingKeysGiveNothing) {
  std::vector<std::int64_t> keys;
  for (std::int64_t k = 1100; k >= 1; --k) keys.push_back(k);
  keys.push_back(5000);  // no such row
  std::multiset<std::int64_t> scoreRows;
  forEachScoreRowByKey(db, {{1, "数学"}}, keys, [&](const Statement& row) {
    EXPECT_EQ(row.columnText(kRowId), "S" + std::to_string(row.columnInt(kRowKey)));
    EXPECT_EQ(row.columnDouble(kFirstSubjectField), static_cast<double>(row.columnInt(kRowKey)));
    scoreRows.insert(row.columnInt(kRowKey));
  });
  std::multiset<std::int64_t> students;
  forEachStudentByKey(db, keys, [&](const Statement& row) {
    EXPECT_EQ(row.columnText(kStudentName), "生" + std::to_string(row.columnInt(kStudentKey)));
    students.insert(row.columnInt(kStudentKey));
  });
  const std::multiset<std::int64_t> expected(keys.begin(), keys.end() - 1);
  EXPECT_EQ(scoreRows, expected);
  EXPECT_EQ(students, expected);
}

TEST_F(RowsByKeyTest, KeysAreBoundAndOneStatementTakesAtMostAChunk) {
  const std::vector<std::int64_t> keys(kMaxKeysPerRead, 7);
  const BoundStatement s = rankingRowsByKeyStatement({}, keys);
  EXPECT_EQ(s.params.size(), kMaxKeysPerRead);
  EXPECT_EQ(s.sql.find('7'), std::string::npos) << s.sql;
  const std::vector<std::int64_t> tooMany(kMaxKeysPerRead + 1, 7);
  EXPECT_THROW(rankingRowsByKeyStatement({}, tooMany), std::invalid_argument);
  EXPECT_THROW(studentsByKeyStatement({}), std::invalid_argument);
  forEachStudentByKey(db, {}, [](const Statement&) { ADD_FAILURE() << "no keys, no rows"; });
}

}  // namespace
}  // namespace zeziza::store

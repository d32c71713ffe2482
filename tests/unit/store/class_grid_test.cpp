#include "store/class_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class ClassGridTest : public ::testing::Test {
 protected:
  ClassGridTest() {
    createDataSchema(folder.path() / "data");
    db.exec(
        "insert into ks (bh, id, xm, xx, nj, bj) values "
        "(3, 'A3', '丙', '东校区', '2010级', '一班'), (1, 'A1', '甲', '东校区', '2010级', '一班'),"
        "(2, 'A2', '乙', '东校区', '2010级', '二班')");
  }
  GridSave save(bool keepValidScore = false) const {
    return {"期中", 2, 3, keepValidScore, {"clerk", "ClassGridEntryPage"}};
  }
  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(ClassGridTest, LoadsOneClassInRosterOrder) {
  const auto members = classMembers(db, Scope::place("东校区", "2010级", "一班"));
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].key, 1);
  EXPECT_EQ(members[0].name, "甲");
  EXPECT_EQ(members[1].key, 3);
  EXPECT_TRUE(classMembers(db, Scope::place("西校区", "2010级", "一班")).empty());
}

// Boxes that do not fit the paper are left out and told by their place in the save; the
// others are written, and a blank box (0) for a student without a row makes none. A negative
// box is a typing slip, refused like one above the full mark.
TEST_F(ClassGridTest, RefusedBoxesAreToldAndTheRestIsSaved) {
  const std::vector<GridScore> scores = {
      {1, 80}, {3, std::numeric_limits<double>::quiet_NaN()}, {2, 100.5}, {3, 0}, {2, -5}};
  const GridSaveOutcome outcome = saveClassGrid(db, save(), scores);
  ASSERT_EQ(outcome.refused.size(), 3u);
  EXPECT_EQ(outcome.refused[2].box, 4u);
  EXPECT_EQ(outcome.refused[2].fault, analysis::ScoreFault::Negative);
  EXPECT_EQ(outcome.refused[0].box, 1u);
  EXPECT_EQ(outcome.refused[0].fault, analysis::ScoreFault::NotFinite);
  EXPECT_EQ(outcome.refused[1].box, 2u);
  EXPECT_EQ(outcome.refused[1].fault, analysis::ScoreFault::AboveFullMark);
  EXPECT_EQ(outcome.refused[1].fullMark, 100);
  EXPECT_EQ(outcome.counts.written, 1u);
  EXPECT_EQ(outcome.counts.deleted, 0u);
  EXPECT_EQ(outcome.counts.unchanged, 1u);  // no score where there was none
  EXPECT_EQ(storedScore(db, "期中", 1, 2), 80);
  Statement rows(db, "select count(*) from cj");
  ASSERT_TRUE(rows.step());
  EXPECT_EQ(rows.column(0).asInt(), 1);
}

TEST_F(ClassGridTest, SavesTheWholeGridOrNothing) {
  db.execScript(
      "CREATE TRIGGER refuse BEFORE INSERT ON cj WHEN new.kh = 3 "
      "BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
  const std::vector<GridScore> broken = {{1, 80}, {3, 70}};
  EXPECT_THROW(saveClassGrid(db, save(), broken), DatabaseError);
  EXPECT_EQ(storedScore(db, "期中", 1, 2), 0);
  db.execScript("DROP TRIGGER refuse");

  const std::vector<GridScore> scores = {{1, 80}, {3, 75.5}};
  EXPECT_FALSE(saveClassGrid(db, save(), scores).keptExisting);
  EXPECT_EQ(storedScore(db, "期中", 1, 2), 80);
  EXPECT_EQ(storedScore(db, "期中", 3, 2), 75.5);
  EXPECT_EQ(storedScore(db, "期中", 3, 1), 0);
  EXPECT_EQ(storedScore(db, "期末", 3, 2), 0);

  const std::vector<GridScore> again = {{1, 60}};
  EXPECT_TRUE(saveClassGrid(db, save(true), again).keptExisting);
  EXPECT_EQ(storedScore(db, "期中", 1, 2), 80);
}

TEST_F(ClassGridTest, AStoredScoreIsReadOnlyForAScoreColumn) {
  for (const int subject : {0, kMaxSubjects + 1}) {
    SCOPED_TRACE(subject);
    EXPECT_THROW(storedScore(db, "期中", 1, subject), std::invalid_argument);
  }
}

}  // namespace
}  // namespace zeziza::store

#include "store/class_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
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
  const auto members = classMembers(db, {"东校区", "2010级", "一班"});
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].key, 1);
  EXPECT_EQ(members[0].name, "甲");
  EXPECT_EQ(members[1].key, 3);
  EXPECT_TRUE(classMembers(db, {"西校区", "2010级", "一班"}).empty());
}

TEST_F(ClassGridTest, SavesTheWholeGridOrNothing) {
  const std::vector<GridScore> broken = {{1, 80}, {3, std::numeric_limits<double>::quiet_NaN()}};
  EXPECT_THROW(saveClassGrid(db, save(), broken), std::invalid_argument);
  EXPECT_EQ(storedScore(db, "期中", 1, 2), 0);

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
  for (const int subject : {0, kScoreColumns + 1}) {
    SCOPED_TRACE(subject);
    EXPECT_THROW(storedScore(db, "期中", 1, subject), std::invalid_argument);
  }
}

}  // namespace
}  // namespace zeziza::store

#include "store/students.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "tests/support/temp_folder.h"

namespace zeziza::store {
namespace {

class InsertStudentsTest : public ::testing::Test {
 protected:
  InsertStudentsTest() {
    createDataSchema(folder.path() / "data");
    db.exec("insert into ks (id, xm) values ('A1001', '已有')");
  }
  std::int64_t students() {
    Statement count(db, "select count(*) from ks");
    count.step();
    return count.column(0).asInt();
  }
  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(InsertStudentsTest, AddsAllOrNone) {
  struct Case {
    std::string name;
    std::vector<NewStudent> batch;
    std::vector<std::string> taken;
  };
  const std::vector<Case> cases = {
      {"stored number in other letter case", {{"1", "甲"}, {"a1001", "乙"}}, {"a1001"}},
      {"repeated in the batch", {{"7", "甲"}, {"8", "乙"}, {"7", "丙"}, {"7", "丁"}}, {"7"}},
      {"both, listed in batch order",
       {{"9", "甲"}, {"A1001", "乙"}, {"9", "丙"}, {"x", "丁"}, {"X", "戊"}},
       {"A1001", "9", "X"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(insertStudents(db, c.batch, "东校区", "2010级", "一班"), c.taken);
    EXPECT_EQ(students(), 1);
  }
  EXPECT_TRUE(
      insertStudents(db, {{"1", "甲"}, {"2", "O'Brien"}}, "东校区", "2010级", "一班").empty());
  EXPECT_EQ(students(), 3);
}

// Two students of 东校区 2010级 一班; the first has a score row.
class RosterChangeTest : public ::testing::Test {
 protected:
  RosterChangeTest() {
    createDataSchema(folder.path() / "data");
    db.exec(
        "insert into ks (bh, id, xm, xx, nj, bj) values "
        "(1, 'A1', '甲', '东校区', '2010级', '一班'), (2, 'A2', '乙', '东校区', '2010级', '一班')");
    db.exec("insert into cj (ks, kh, k1, zf, pj, test) values ('期中', 1, 90, 90, 90, '期中!&1')");
  }
  std::int64_t rows(const char* table) {
    Statement count(db, std::string("select count(*) from ") + table);
    count.step();
    return count.column(0).asInt();
  }
  testing::TempFolder folder;
  Database db{folder.path() / "data"};
};

TEST_F(RosterChangeTest, ChangeRefusesAnotherStudentsNumber) {
  struct Case {
    std::string name;
    StudentChange change;
    StudentChangeResult result;
    std::string storedNumber;  // of student 1 afterwards
  };
  const std::vector<Case> cases = {
      {"another's number in other letter case",
       {1, "a2", "甲", "东校区", "2010级", "一班"},
       StudentChangeResult::NumberTaken,
       "A1"},
      {"the own number",
       {1, "A1", "甲乙", "西校区", "2011级", "二班"},
       StudentChangeResult::Changed,
       "A1"},
      {"a free number",
       {1, "B1", "甲", "东校区", "2010级", "一班"},
       StudentChangeResult::Changed,
       "B1"},
      {"no such student",
       {9, "C1", "丙", "东校区", "2010级", "一班"},
       StudentChangeResult::Missing,
       "B1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(changeStudent(db, c.change), c.result);
    EXPECT_EQ(findStudent(db, c.storedNumber).value_or(Student{}).key, 1);
  }
  EXPECT_EQ(findStudent(db, "B1")->unit, "东校区");
  EXPECT_FALSE(findStudent(db, "C1"));
}

TEST_F(RosterChangeTest, ARemovalKeepsScoresUnlessAskedToTakeThem) {
  EXPECT_FALSE(removeStudent(db, 1, false));
  EXPECT_EQ(rows("ks"), 2);
  EXPECT_TRUE(removeStudent(db, 2, false));
  EXPECT_TRUE(removeStudent(db, 1, true));
  EXPECT_EQ(rows("ks"), 0);
  EXPECT_EQ(rows("cj"), 0);
}

TEST_F(RosterChangeTest, PlacesInUseAreLookedUpInTheirOwnField) {
  struct Case {
    PlaceField field;
    std::string name;
    bool used;
  };
  const std::vector<Case> cases = {
      {PlaceField::Unit, "东校区", true},  {PlaceField::Unit, "2010级", false},
      {PlaceField::Grade, "2010级", true}, {PlaceField::Grade, "一班", false},
      {PlaceField::Class, "一班", true},   {PlaceField::Class, "东校区", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(placeInUse(db, c.field, c.name), c.used);
  }
}

}  // namespace
}  // namespace zeziza::store

#include "pages/master/student_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "tests/support/temp_folder.h"

namespace zeziza::pages {
namespace {

using Lines = std::vector<std::string>;

std::vector<std::pair<std::string, std::string>> pairs(const StudentBatch& batch) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& s : batch.students) out.emplace_back(s.number, s.name);
  return out;
}

TEST(ReadStudentBatch, PairsTrimmedLinesAndRefusesMisalignedBoxes) {
  struct Case {
    std::string name;
    Lines numbers, names;
    std::vector<std::pair<std::string, std::string>> students;
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {"aligned",
       {"1001", " 1002 ", "1003\t"},
       {"张三", "李 四", " 王五"},
       {{"1001", "张三"}, {"1002", "李 四"}, {"1003", "王五"}},
       ""},
      {"blank lines at the end of one box",
       {"1001", "1002", "", " "},
       {"张三", "李四"},
       {{"1001", "张三"}, {"1002", "李四"}},
       ""},
      {"a blank pair inside is skipped",
       {"1001", "", "1003"},
       {"张三", "  ", "王五"},
       {{"1001", "张三"}, {"1003", "王五"}},
       ""},
      {"two numbers, three names",
       {"1001", "1002"},
       {"张三", "李四", "王五"},
       {},
       "学生编号与学生姓名行数不一致，请检查！"},
      {"three numbers, two names",
       {"1001", "1002", "1003"},
       {"张三", "李四"},
       {},
       "学生编号与学生姓名行数不一致，请检查！"},
      {"a name without a number",
       {"1001", "", "1003"},
       {"张三", "李四", "王五"},
       {},
       "第2行的学生编号或学生姓名为空，请检查！"},
      {"a number without a name",
       {"1001", "1002"},
       {"张三", " "},
       {},
       "学生编号与学生姓名行数不一致，请检查！"},
      {"a number without a name inside",
       {"1001", "1002", "1003"},
       {"张三", " ", "王五"},
       {},
       "第2行的学生编号或学生姓名为空，请检查！"},
      {"nothing typed", {}, {" "}, {}, "请在两个框中输入要添加的学生编号和学生姓名！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const StudentBatch batch = readStudentBatch(c.numbers, c.names);
    EXPECT_EQ(pairs(batch), c.students);
    EXPECT_EQ(batch.refusal, c.refusal);
  }
}

class InsertStudentsTest : public ::testing::Test {
 protected:
  InsertStudentsTest() {
    store::createDataSchema(folder.path() / "data");
    db.exec("insert into ks (id, xm) values ('A1001', '已有')");
  }
  std::int64_t students() {
    store::Statement count(db, "select count(*) from ks");
    count.step();
    return count.column(0).asInt();
  }
  testing::TempFolder folder;
  store::Database db{folder.path() / "data"};
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

}  // namespace
}  // namespace zeziza::pages

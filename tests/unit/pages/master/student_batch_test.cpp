#include "pages/master/student_batch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace zeziza::pages

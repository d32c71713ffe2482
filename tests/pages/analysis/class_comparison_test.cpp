#include "pages/analysis/class_comparison.h"

#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// clang-format off
const std::vector<std::string> kHeader = {
    "单位", "年级", "班次", "实有人数", "参考人数", "总分", "平均分", "最高分", "最低分",
    "中位数", "方差", "优秀率 [人数]", "良好率 [人数]", "及格率 [人数]", "不及格率 [人数]",
    "偏度", "峰度", "60%-70%(60-70)", "70%-80%(70-80)", "80%-90%(80-90)", ">=90%(>=90)"};
// clang-format on

class ClassComparisonTest : public AnalysisTest {
 protected:
  ClassComparisonTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区", "东校区"};
      s.classes = {"一班", "二班"};
    });
  }
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
  // A student of `unit`/`cls` in 初一 whose 期中 row holds k1, k2, zf and pj all equal to v.
  std::int64_t pupil(const std::string& id, const std::string& unit, const std::string& cls,
                     double v) {
    const auto bh = student(id, "学生" + id, unit, "初一", cls);
    scoreRow("期中", bh, v, v, v, v);
    return bh;
  }
  void analyse(const std::string& column = "总分") {
    b.choose("columnBox", column);
    b.click("analyseButton");
  }
};

// One row per unit and class of the settings lists that has at least two scores above 0.
TEST_F(ClassComparisonTest, OneRowPerUnitAndClassWithAStatisticsRecord) {
  int id = 1000;
  for (const double v : {50, 70, 70, 95, 100}) pupil(std::to_string(++id), "中心校区", "一班", v);
  student("2000", "没考", "中心校区", "初一", "一班");  // enrolled, no score
  pupil("3001", "中心校区", "二班", 88);                // one score above 0: no record
  pupil("3002", "中心校区", "二班", 0);
  const auto east = pupil("4001", "东校区", "一班", 80);  // same class name, other unit
  pupil("4002", "东校区", "一班", 80);
  scoreRow("期末", east, 10, 10, 10, 10);  // other exam
  scoreRow("期中", student("5001", "初二学生", "东校区", "初二", "一班"), 5, 5, 5,
           5);  // other grade
  b.showPage<pages::ClassComparisonPage>();
  // The rows hold zf = pj = v: the average is judged out of 100 like one subject (a total is
  // judged out of the sum of the full marks, see full_marks_test).
  analyse("平均分");
  EXPECT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(b.control<web::Label>("analysedLabel").Caption,
            "对不同班级在期中 中 初一 的 平均分 成绩对比");
  EXPECT_TRUE(grid().Visible);
  // clang-format off
  const Rows expected = {
      kHeader,
      {"中心校区", "初一", "一班", "6", "5", "385", "77.00", "100", "50", "70.00", "336.00",
       "40.00% [ 2 ]", "0.00% [ 0 ]", "40.00% [ 2 ]", "20.00% [ 1 ]", "-0.08", "1.63",
       "0", "2", "0", "2"},
      {"东校区", "初一", "一班", "2", "2", "160", "80.00", "80", "80", "80.00", "0.00",
       "0.00% [ 0 ]", "100.00% [ 2 ]", "0.00% [ 0 ]", "0.00% [ 0 ]", "0.00", "0.00",
       "0", "0", "2", "0"},
  };
  // clang-format on
  expectRows(grid(), expected);
}

TEST_F(ClassComparisonTest, TheChosenColumnIsCompared) {
  const auto a = student("1001", "甲");
  const auto c = student("1002", "乙");
  scoreRow("期中", a, 60, 0, 60, 60);
  scoreRow("期中", c, 70, 91, 161, 80.5);
  const struct {
    const char* column;
    const char* participants;
    const char* total;
  } cases[] = {{"总分", "2", "221"}, {"平均分", "2", "140.5"}, {"数学", "2", "130"}};
  b.showPage<pages::ClassComparisonPage>();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.column);
    analyse(c.column);
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(grid().cell(1, 4).Text, c.participants);
    EXPECT_EQ(grid().cell(1, 5).Text, c.total);
  }
  analyse("语文");  // only one score above 0
  expectRows(grid(), Rows{kHeader});
}

TEST_F(ClassComparisonTest, WithoutBandsTheBandColumnsGo) {
  server.context().settings().update([](store::SettingsSnapshot& s) { s.bands.clear(); });
  pupil("1001", "东校区", "二班", 90);
  pupil("1002", "东校区", "二班", 70);
  b.showPage<pages::ClassComparisonPage>();
  analyse();
  EXPECT_EQ(grid().columnCount(), 17);
  EXPECT_EQ(row(grid(), 1)[2], "二班");
}

// Nothing chosen to analyse: a message, and the last analysis stays.
TEST_F(ClassComparisonTest, NoExamOrGradeChosenIsRefused) {
  pupil("1001", "东校区", "二班", 90);
  pupil("1002", "东校区", "二班", 70);
  b.showPage<pages::ClassComparisonPage>();
  analyse();
  ASSERT_EQ(grid().rowCount(), 2);
  auto& exam = b.control<web::ComboBox>("examBox");
  exam.ItemIndex = -1;
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "请先选择考试！");
  EXPECT_EQ(grid().rowCount(), 2);

  b.user().login.defaultExam = "";
  b.user().login.grades = {};
  b.showPage<pages::ClassComparisonPage>();
  EXPECT_EQ(b.control<web::ComboBox>("examBox").ItemIndex, -1);
  b.choose("examBox", "期中");
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "请先选择年级！");
  EXPECT_FALSE(grid().Visible);
}

}  // namespace
}  // namespace zeziza::testing

#include "pages/analysis/chart.h"

#include <nlohmann/json.hpp>

#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Cells = std::vector<std::vector<std::string>>;

class ChartTest : public AnalysisTest {
 protected:
  pages::ChartPage& page() { return b.page<pages::ChartPage>(); }
  void analyse(const std::string& grouping, const std::string& presentation = "图表呈现") {
    b.choose("groupingBox", grouping);
    b.choose("presentationBox", presentation);
    b.click("analyseButton");
  }
  // The data sets the browser receives, in the order of the controls on the page.
  std::vector<nlohmann::json> sentDataSets() {
    const std::string open = "<script type=\"application/json\" class=\"iw-data\">";
    const std::string& html = b.last().html;
    std::vector<nlohmann::json> sets;
    for (auto at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
      const auto start = at + open.size();
      sets.push_back(
          nlohmann::json::parse(html.substr(start, html.find("</script>", start) - start)));
    }
    return sets;
  }
};

// Groups stand in the order of their first row; one row shows its own values with two
// decimals, more rows the mean of their non-zero values with three. Classes of one name in two
// units or grades are two groups.
TEST_F(ChartTest, GroupsByClassWithTheAveragesOfEachGroup) {
  const auto s1 = student("1001", "甲", "中心校区", "初一", "一班");
  const auto s2 = student("1002", "乙", "中心校区", "初一", "二班");
  const auto s3 = student("1003", "丙", "东校区", "初二", "二班");
  const auto s4 = student("1004", "丁", "中心校区", "初一", "三班");
  const auto s5 = student("1005", "戊", "中心校区", "初一", "三班");
  const auto s6 = student("1006", "己", "东校区", "初二", "二班");
  scoreRow("期中", s2, 80, 0, 80, 80);
  scoreRow("期中", s1, 85.5, 80, 165.5, 82.75);
  scoreRow("期中", s3, 91, 70, 161, 80.5);
  scoreRow("期中", s4, 0, 90, 90, 90);
  scoreRow("期中", s5, 0, 80, 80, 80);
  scoreRow("期末", s1, 10, 10, 20, 10);  // another exam
  scoreRow("期中", s6, 80, 0, 80, 80);
  b.showPage<pages::ChartPage>();
  analyse("班次");
  EXPECT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(b.control<web::Label>("analysedLabel").Caption,
            "在期中所有学校全部年级所有班范围内,对不同班次进行分析");
  EXPECT_EQ(page().chartTable().Columns,
            (std::vector<std::string>{"单位", "数学", "语文", "整体"}));
  EXPECT_EQ(page().chartTable().Rows, (Cells{{"中心校区 初一 二班", "80.00", "0.00", "80.00"},
                                             {"中心校区 初一 一班", "85.50", "80.00", "82.75"},
                                             {"东校区 初二 二班", "85.500", "70.000", "80.250"},
                                             {"中心校区 初一 三班", "0.00", "85.000", "85.000"}}));
  EXPECT_EQ(page().workingTable().Columns,
            (std::vector<std::string>{"单位", "数学", "参考人数", "语文", "参考人数", "综合",
                                      "参考人数", "数学", "语文", "平均成绩"}));
  EXPECT_EQ(page().workingTable().Rows[2],
            (std::vector<std::string>{"东校区 初二 二班", "171.00", "2", "70.00", "1", "160.50",
                                      "2", "85.500", "70.000", "80.250"}));
  EXPECT_EQ(page().workingTable().Rows[1],
            (std::vector<std::string>{"中心校区 初一 一班", "85.5", "1", "80", "1", "82.75", "1",
                                      "85.50", "80.00", "82.75"}));
}

// A class group names what the scope leaves open: the unit over all units, the grade over
// all grades.
TEST_F(ChartTest, AClassGroupNamesTheUnitAndGradeTheScopeLeavesOpen) {
  score("期中", student("1", "甲", "中心校区", "初一", "一班"), 90, 90);
  score("期中", student("2", "乙", "东校区", "初一", "一班"), 80, 80);
  score("期中", student("3", "丙", "东校区", "初二", "一班"), 70, 70);
  struct Case {
    std::string unit, grade;
    Cells rows;
  };
  const std::vector<Case> cases = {
      {"所有学校",
       "初一",
       {{"中心校区 一班", "90.00", "90.00", "90.00"}, {"东校区 一班", "80.00", "80.00", "80.00"}}},
      {"东校区",
       "全部年级",
       {{"初一 一班", "80.00", "80.00", "80.00"}, {"初二 一班", "70.00", "70.00", "70.00"}}},
      {"东校区", "初二", {{"一班", "70.00", "70.00", "70.00"}}},
  };
  b.showPage<pages::ChartPage>();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unit + " " + c.grade);
    b.choose("unitBox", c.unit);
    b.choose("gradeBox", c.grade);
    analyse("班次");
    EXPECT_EQ(page().chartTable().Rows, c.rows);
  }
}

// Each addition keeps the running sum to two decimals: 80.335 three times sums to 241.01.
TEST_F(ChartTest, RunningSumsKeepTwoDecimals) {
  for (const char* id : {"1", "2", "3"}) scoreRow("期中", student(id, "生"), 0, 0, 0, 80.335);
  b.showPage<pages::ChartPage>();
  analyse("年级");
  EXPECT_EQ(page().workingTable().Rows.at(0)[5], "241.01");
  EXPECT_EQ(page().chartTable().Rows.at(0),
            (std::vector<std::string>{"初一", "0.00", "0.00", "80.337"}));
}

TEST_F(ChartTest, GroupsByStudentAndByExam) {
  const auto a = student("007", "张三");
  const auto c = student("1002", "李四", "东校区", "初二", "二班");
  score("期中", a, 90, 80);
  score("期末", a, 70, 0);
  score("期中", c, 60, 60);
  b.showPage<pages::ChartPage>();
  b.choose("examBox", "全部考试");
  analyse("学生");
  EXPECT_EQ(page().chartTable().Rows, (Cells{{"7[张三]", "80.000", "80.000", "77.500"},
                                             {"1002[李四]", "60.00", "60.00", "60.00"}}));
  analyse("考试名称");
  EXPECT_EQ(page().chartTable().Rows,
            (Cells{{"期中", "75.000", "70.000", "72.500"}, {"期末", "70.00", "0.00", "70.00"}}));
  analyse("学校");
  EXPECT_EQ(page().chartTable().Rows.size(), 2u);
  EXPECT_EQ(page().chartTable().Rows[1][0], "东校区");
}

TEST_F(ChartTest, TheScopeBoxesNarrowTheRows) {
  score("期中", student("1", "甲", "中心校区", "初一", "一班"), 90, 90);
  score("期中", student("2", "乙", "东校区", "初一", "一班"), 80, 80);
  score("期中", student("3", "丙", "东校区", "初二", "一班"), 70, 70);
  score("期中", student("4", "丁", "东校区", "初二", "二班"), 60, 60);
  b.showPage<pages::ChartPage>();
  b.choose("unitBox", "东校区");
  b.choose("gradeBox", "初二");
  b.choose("classBox", "二班");
  analyse("学生");
  EXPECT_EQ(b.control<web::Label>("analysedLabel").Caption,
            "在期中东校区初二二班范围内,对不同学生进行分析");
  EXPECT_EQ(page().chartTable().Rows, (Cells{{"4[丁]", "60.00", "60.00", "60.00"}}));
}

TEST_F(ChartTest, AStudentNumberThatIsNoIntegerCannotBeGrouped) {
  score("期中", student("A-17", "甲"), 90, 90);
  b.showPage<pages::ChartPage>();
  analyse("学生");
  EXPECT_EQ(b.message(), "考号“A-17”不是整数，不能按学生分析");
}

// The chart shows the chosen column; the table shows every column. Names reach the browser
// as JSON that no quote or closing tag can break.
TEST_F(ChartTest, PresentationAndWhatTheBrowserReceives) {
  score("期中", student("1", "O'Brien\"</script><script>alert(1)</script>"), 90, 80);
  b.showPage<pages::ChartPage>();
  b.choose("columnBox", "语文");
  analyse("学生");
  const auto& chart = b.control<web::DynamicChart>("resultChart");
  EXPECT_TRUE(chart.Visible);
  EXPECT_FALSE(b.control<web::DynamicGrid>("resultGrid").Visible);
  EXPECT_EQ(chart.ValueColumn, "语文");
  EXPECT_EQ(chart.CategoryColumn, "单位");
  EXPECT_EQ(chart.Colors,
            (std::vector<std::string>{"#B47D4B", "#B49B52", "#839573", "#416674", "#835082"}));
  const std::string& html = b.last().html;
  EXPECT_EQ(html.find("<script>alert(1)"), std::string::npos);
  EXPECT_NE(html.find("<script src=\"/js/chart.js?v="), std::string::npos);
  auto sets = sentDataSets();
  ASSERT_EQ(sets.size(), 1u);  // the hidden table sends nothing
  EXPECT_EQ(sets[0]["rows"][0][0], "1[O'Brien\"</script><script>alert(1)</script>]");
  EXPECT_EQ(sets[0]["value"], "语文");
  EXPECT_EQ(sets[0]["columns"], nlohmann::json({"单位", "数学", "语文", "整体"}));

  b.choose("columnBox", "综合成绩");
  analyse("学生", "表格呈现");
  EXPECT_FALSE(b.control<web::DynamicChart>("resultChart").Visible);
  EXPECT_TRUE(b.control<web::DynamicGrid>("resultGrid").Visible);
  EXPECT_EQ(b.control<web::DynamicChart>("resultChart").ValueColumn, "整体");
  sets = sentDataSets();
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0]["rows"],
            nlohmann::json::array(
                {{"1[O'Brien\"</script><script>alert(1)</script>]", "90.00", "80.00", "85.00"}}));
  EXPECT_EQ(html.find("chart.js"), html.rfind("chart.js"));  // loaded once
}

TEST_F(ChartTest, NoExamChosenIsRefused) {
  b.user().login.defaultExam = "不在列表中";
  b.showPage<pages::ChartPage>();
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "请先选择考试！");
  EXPECT_EQ(b.control<web::Label>("analysedLabel").Caption, "---");
}

}  // namespace
}  // namespace zeziza::testing

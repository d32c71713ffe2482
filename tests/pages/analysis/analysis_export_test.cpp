#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "tests/pages/analysis/analysis_fixture.h"
#include "tests/support/xlsx_reader.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Three students of 中心校区 初一 一班 and one of 二班 in 期中; two of them in 期末 too.
class AnalysisExportTest : public AnalysisTest {
 protected:
  AnalysisExportTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区"};
      s.classes = {"一班", "二班"};
    });
    const auto li = student("1002", "李四");
    const auto zhang = student("1001", "张三");
    const auto wang = student("1003", "王五");
    const auto zhao = student("1004", "赵六", "中心校区", "初一", "二班");
    score("期中", li, 100, 100);
    score("期中", zhang, 90, 80);
    score("期中", wang, 0, 65);
    score("期中", zhao, 70, 70);
    score("期末", li, 80, 80);
    score("期末", zhang, 95, 95);
  }

  // Clicks the export link; the sheet as a spreadsheet program reads it, and the file name.
  std::pair<Rows, std::string> exported(const std::string& link) {
    const auto& outcome = b.click(link);
    EXPECT_EQ(b.messages(), std::vector<std::string>{});
    if (outcome.kind != web::EventOutcome::Kind::File || !outcome.file) {
      ADD_FAILURE() << link << " sent no file";
      return {};
    }
    return {readWorkbook(outcome.file->path).rows, outcome.file->downloadName};
  }
};

TEST_F(AnalysisExportTest, EveryPageRefusesBeforeItHasAnalysed) {
  const struct {
    std::function<void()> open;
    const char* link;
  } cases[] = {
      {[&] { b.showPage<pages::RankingPage>(); }, "ExportLink"},
      {[&] { b.showPage<pages::ClassComparisonPage>(); }, "ExportLink"},
      {[&] { b.showPage<pages::ProgressPage>(); }, "ExportLink"},
      {[&] { b.showPage<pages::DistributionPage>(); }, "ExportLink"},
      {[&] { b.showPage<pages::ChartPage>(); }, "ExportLink"},
  };
  for (const auto& c : cases) {
    c.open();
    SCOPED_TRACE(b.pageClass());
    const auto& outcome = b.click(c.link);
    EXPECT_EQ(outcome.kind, web::EventOutcome::Kind::Page);
    EXPECT_EQ(b.message(), "请先进行统计分析，再保存结果！");
  }
}

TEST_F(AnalysisExportTest, RankingAsRanksAndValues) {
  b.showPage<pages::RankingPage>();
  b.choose("gradeBox", "初一");
  b.click("analyseButton");
  b.choose("examBox", "期末");  // changed after ranking: the file holds what is shown
  const auto [rows, name] = exported("ExportLink");
  EXPECT_EQ(name, "成绩排序_期中_初一.xlsx");
  const Rows expected = {
      {"排序范围:", "期中", "所有学校", "初一", "所有班"},
      {"序号", "考号", "姓名", "学校", "年级", "班次", "考试名称", "总分名次", "总分", "平均分名次",
       "平均分", "数学名次", "数学", "语文名次", "语文"},
      {"#1", "1002", "李四", "中心校区", "初一", "一班", "期中", "#1", "#200", "#1", "#100", "#1",
       "#100", "#1", "#100"},
      {"#2", "1001", "张三", "中心校区", "初一", "一班", "期中", "#2", "#170", "#2", "#85", "#2",
       "#90", "#2", "#80"},
      {"#3", "1004", "赵六", "中心校区", "初一", "二班", "期中", "#3", "#140", "#3", "#70", "#3",
       "#70", "#3", "#70"},
      // 王五 missed 数学, which the class sat: the mark stays with the average.
      {"#4", "1003", "王五", "中心校区", "初一", "一班", "期中", "#4", "#65", "#4", "65(缺1科)", "",
       "", "#4", "#65"},
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(AnalysisExportTest, ClassComparisonWithRatesAndCountsApart) {
  b.showPage<pages::ClassComparisonPage>();
  b.choose("columnBox", "数学");
  b.click("analyseButton");
  const auto [rows, name] = exported("ExportLink");
  EXPECT_EQ(name, "班级对比_期中_初一_数学.xlsx");
  ASSERT_EQ(rows.size(), 3u);  // 二班 has one score: no row
  EXPECT_EQ(rows[0], (std::vector<std::string>{"对不同班级在期中 中 初一 的 数学 成绩对比"}));
  // clang-format off
  EXPECT_EQ(rows[1], (std::vector<std::string>{
      "单位", "年级", "班次", "实有人数", "参考人数", "总分", "平均分", "最高分", "最低分",
      "中位数", "方差", "优秀率%", "优秀人数", "良好率%", "良好人数", "及格率%", "及格人数",
      "不及格率%", "不及格人数", "偏度", "峰度", "60%-70%(60-70)", "70%-80%(70-80)", "80%-90%(80-90)",
      ">=90%(>=90)"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{
      "中心校区", "初一", "一班", "#3", "#2", "#190", "#95", "#100", "#90", "#95", "#25",
      "#100", "#2", "#0", "#0", "#0", "#0", "#0", "#0", "#0", "#1", "#0", "#0", "#0", "#2"}));
  // clang-format on
}

// Cumulative rates say so in the sheet's captions too: 100 and 90 are both at or above every line.
TEST_F(AnalysisExportTest, ClassComparisonWithCumulativeRates) {
  store::storeSetting(server.db(), store::key::kRateBasis, "累计");
  b.showPage<pages::ClassComparisonPage>();
  b.choose("columnBox", "数学");
  b.click("analyseButton");
  const auto [rows, name] = exported("ExportLink");
  ASSERT_EQ(rows.size(), 3u);
  const std::vector<std::string> rates(rows[1].begin() + 11, rows[1].begin() + 19);
  EXPECT_EQ(rates, (std::vector<std::string>{"优秀率%", "优秀人数", "良好率(累计)%",
                                             "良好人数(累计)", "及格率(累计)%", "及格人数(累计)",
                                             "不及格率%", "不及格人数"}));
  const std::vector<std::string> values(rows[2].begin() + 11, rows[2].begin() + 19);
  EXPECT_EQ(values,
            (std::vector<std::string>{"#100", "#2", "#100", "#2", "#100", "#2", "#0", "#0"}));
}

TEST_F(AnalysisExportTest, ProgressListAsShown) {
  b.user().login.defaultExam = "期末";
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  const auto [rows, name] = exported("ExportLink");
  EXPECT_EQ(name, "进步统计_期中-期末_初一_平均分.xlsx");
  const Rows expected = {
      {"统计范围:", "所有学校 初一 所有班 [平均分]", "参照考试:期中", "对比考试:期末",
       "参照考试参考4人，对比考试参考2人，两次都参考2人（只比较两次都参考的学生）"},
      {"考号", "姓名", "学校", "年级", "班次", "期中成绩", "名次", "期末成绩", "名次", "进阶"},
      {"1002", "李四", "中心校区", "初一", "一班", "#100", "#1", "#80", "#2", "#-1"},
      {"1001", "张三", "中心校区", "初一", "一班", "#85", "#2", "#95", "#1", "#1"},
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(AnalysisExportTest, DistributionRowsAndTheDetailsOfARow) {
  b.showPage<pages::DistributionPage>();
  b.type("xEdit", "3");
  b.click("analyseButton");
  auto [rows, name] = exported("ExportLink");
  EXPECT_EQ(name, "分数段分布_期中_初一_平均分.xlsx");
  Rows expected = {
      {"统计范围:", "期中", "所有学校", "初一", "平均分", "名次范围[前X名]", "X=3"},
      {"单位", "年级", "班次", "学生人数"},
      {"中心校区", "初一", "一班", "#2"},
      {"中心校区", "初一", "二班", "#1"},
  };
  EXPECT_EQ(rows, expected);

  b.click("resultGrid", "1_4");
  std::tie(rows, name) = exported("DetailsExport");
  EXPECT_EQ(name, "分数段分布明细_期中_中心校区_初一_一班.xlsx");
  expected = {
      {"统计范围:", "期中", "所有学校", "初一", "平均分", "名次范围[前X名]", "X=3", "中心校区",
       "初一", "一班"},
      {"学生编号", "姓名", "平均分", "总分", "数学", "语文"},
      {"1002", "李四", "#100", "#200", "#100", "#100"},
      {"1001", "张三", "#85", "#170", "#90", "#80"},
  };
  EXPECT_EQ(rows, expected);
}

TEST_F(AnalysisExportTest, ChartTableOfEveryColumn) {
  b.showPage<pages::ChartPage>();
  b.choose("groupingBox", "班次");
  b.click("analyseButton");
  const auto [rows, name] = exported("ExportLink");
  EXPECT_EQ(name, "图表统计_期中_班次.xlsx");
  const Rows expected = {
      {"在期中所有学校全部年级所有班范围内,对不同班次进行分析"},
      {"单位", "数学", "语文", "整体"},
      {"中心校区 初一 一班", "#95", "#81.667", "#83.333"},
      {"中心校区 初一 二班", "#70", "#70", "#70"},
  };
  EXPECT_EQ(rows, expected);
}

}  // namespace
}  // namespace zeziza::testing

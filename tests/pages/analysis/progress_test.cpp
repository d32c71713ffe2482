#include "pages/analysis/progress.h"

#include <map>

#include "tests/pages/analysis/analysis_fixture.h"
#include "tests/support/xlsx_reader.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Twelve students ranked 1..12 by average in 期中. In 期末 the 12th rises to 5th, the 3rd
// falls to 9th, a newcomer sits at 10th, and a 13th student is absent.
class ProgressTest : public AnalysisTest {
 protected:
  ProgressTest() {
    std::vector<std::int64_t> s(15);
    for (int i = 1; i <= 13; ++i) {
      s[i] = student(std::to_string(100 + i), "生" + std::to_string(i));
      const double average = 101 - i;  // 100 … 88
      scoreRow("期中", s[i], 0, 0, average * 2, average);
    }
    s[14] = student("114", "插班生");
    const int comparisonOrder[] = {1, 2, 4, 5, 12, 6, 7, 8, 3, 14, 9, 10, 11};
    double average = 99;
    for (const int i : comparisonOrder) {
      scoreRow("期末", s[i], 0, 0, average * 2, average);
      average -= 1.5;
    }
    scoreRow("期末", s[13], 0, 0, 0, 0);
    b.user().login.defaultExam = "期末";
  }
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
  // 考号 and 进阶 of the listed rows.
  std::vector<std::pair<std::string, std::string>> listed() {
    std::vector<std::pair<std::string, std::string>> out;
    for (int r = 1; r < grid().rowCount(); ++r)
      out.emplace_back(row(grid(), r)[0], row(grid(), r)[9]);
    return out;
  }
};

TEST_F(ProgressTest, ComparesTheRanksOfTwoExams) {
  b.showPage<pages::ProgressPage>();
  EXPECT_EQ(b.control<web::ComboBox>("comparisonExamBox").text(), "期末");
  EXPECT_EQ(b.control<web::ComboBox>("referenceExamBox").text(), "期中");
  EXPECT_EQ(b.control<web::ComboBox>("lowerBox").Items.size(), 39u);
  EXPECT_EQ(b.control<web::ComboBox>("lowerBox").text(), "-10000");
  EXPECT_EQ(b.control<web::ComboBox>("upperBox").text(), "10000");
  b.click("analyseButton");
  EXPECT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(b.control<web::Label>("computedScopeLabel").Caption, "所有学校 初一 所有班 [平均分]");
  EXPECT_TRUE(grid().Visible);
  EXPECT_EQ(row(grid(), 0),
            (std::vector<std::string>{"考号", "姓名", "学校", "年级", "班次", "期中成绩", "名次",
                                      "期末成绩", "名次", "进阶"}));
  EXPECT_EQ(row(grid(), 12), (std::vector<std::string>{"112", "生12", "中心校区", "初一", "一班",
                                                       "89", "12", "93", "5", "7"}));
  EXPECT_EQ(row(grid(), 3), (std::vector<std::string>{"103", "生3", "中心校区", "初一", "一班",
                                                      "98", "3", "87", "9", "-6"}));
  // Only students of both exams are ranked: the newcomer at 10th takes no place from those
  // below it, and the absent 13th is never listed.
  const std::vector<std::pair<std::string, std::string>> all = {
      {"101", "0"}, {"102", "0"}, {"103", "-6"}, {"104", "1"},  {"105", "1"},  {"106", "0"},
      {"107", "0"}, {"108", "0"}, {"109", "-1"}, {"110", "-1"}, {"111", "-1"}, {"112", "7"}};
  EXPECT_EQ(listed(), all);
}

TEST_F(ProgressTest, TheFilterKeepsAdvancesWithinBothBounds) {
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  const struct {
    const char* lower;
    const char* upper;
    std::vector<std::string> ids;
  } cases[] = {
      {"0", "0", {"101", "102", "106", "107", "108"}},
      {"1", "7", {"104", "105", "112"}},
      {"-6", "-2", {"103"}},
      {"-1", "-1", {"109", "110", "111"}},
      {"10", "-10", {}},
      {"-10000",
       "10000",
       {"101", "102", "103", "104", "105", "106", "107", "108", "109", "110", "111", "112"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.lower) + ".." + c.upper);
    b.choose("lowerBox", c.lower);
    b.choose("upperBox", c.upper);
    b.click("filterButton");
    std::vector<std::string> ids;
    for (const auto& [id, advance] : listed()) ids.push_back(id);
    EXPECT_EQ(ids, c.ids);
  }
}

TEST_F(ProgressTest, TheSameExamTwiceIsRefused) {
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  ASSERT_EQ(grid().rowCount(), 13);
  b.choose("comparisonExamBox", "期中");
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "对比考试与参照考试不能相同");
  EXPECT_EQ(grid().rowCount(), 13);
  EXPECT_EQ(grid().cell(0, 7).Text, "期末成绩");
}

// Past the grid's page size the list shows a page at a time; its export holds every row.
TEST_F(ProgressTest, ALongListShowsPagesAndItsExportHoldsEveryRow) {
  b.showPage<pages::ProgressPage>();
  grid().PageRows = 5;
  b.click("analyseButton");
  EXPECT_NE(b.last().html.find("共 12 行，显示第 1–5 行"), std::string::npos);
  b.click("resultGrid", "page_last");
  EXPECT_NE(b.last().html.find("共 12 行，显示第 11–12 行"), std::string::npos);
  EXPECT_NE(b.last().html.find("<td>生12</td>"), std::string::npos);
  EXPECT_EQ(b.last().html.find("<td>生1</td>"), std::string::npos);
  const auto& outcome = b.click("ExportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const Rows rows = readWorkbook(outcome.file->path).rows;
  ASSERT_EQ(rows.size(), 2u + 12u);
  EXPECT_EQ(rows[2], (std::vector<std::string>{"101", "生1", "中心校区", "初一", "一班", "#100",
                                               "#1", "#99", "#1", "#0"}));
  EXPECT_EQ(rows[13], (std::vector<std::string>{"112", "生12", "中心校区", "初一", "一班", "#89",
                                                "#12", "#93", "#5", "#7"}));
}

// A subject set up after sign-in has no column: the computation stops with a message, and
// the list of the computation before it is gone with it, not shown from a table that is.
TEST_F(ProgressTest, ASubjectAddedAfterSignInEndsTheComputationWithAMessage) {
  server.context().settings().update([](store::SettingsSnapshot& s) {
    s.subjects = {"数学", "语文", "英语"};
  });
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  ASSERT_EQ(grid().rowCount(), 13);
  b.choose("columnBox", "英语");
  b.click("analyseButton");
  EXPECT_NE(b.message().find("英语"), std::string::npos);
  EXPECT_EQ(grid().rowCount(), 1);
  b.click("filterButton");
  EXPECT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(grid().rowCount(), 1);
}

// Before any computation 过滤 writes only the header of the hidden grid.
TEST_F(ProgressTest, FilterBeforeComputingWritesTheHeaderOnly) {
  b.showPage<pages::ProgressPage>();
  b.click("filterButton");
  EXPECT_EQ(grid().rowCount(), 1);
  EXPECT_FALSE(grid().Visible);
}

TEST_F(ProgressTest, ASubjectAndTheScopeBoxesChooseWhatIsRanked) {
  const auto a = student("201", "甲", "东校区", "初二", "二班");
  const auto c = student("202", "乙", "东校区", "初二", "二班");
  score("期中", a, 90, 60);
  score("期中", c, 80, 70);
  score("期末", a, 70, 90);
  score("期末", c, 75, 95);
  b.showPage<pages::ProgressPage>();
  b.choose("unitBox", "东校区");
  b.choose("gradeBox", "初二");
  b.choose("classBox", "二班");
  b.choose("columnBox", "数学");
  b.click("analyseButton");
  EXPECT_EQ(b.control<web::Label>("computedScopeLabel").Caption, "东校区 初二 二班 [数学]");
  expectRows(grid(), {row(grid(), 0),
                      {"201", "甲", "东校区", "初二", "二班", "90", "1", "70", "2", "-1"},
                      {"202", "乙", "东校区", "初二", "二班", "80", "2", "75", "1", "1"}});
}

// A student whose average fell from 55.25 to 52.5 while seventeen of those above sat only the
// reference exam: ranked among all, the student "advanced" 16 places.
class ProgressParticipantsTest : public AnalysisTest {};

TEST_F(ProgressParticipantsTest, OnlyStudentsOfBothExamsAreRankedAndCounted) {
  std::vector<std::int64_t> s(40);
  for (int i = 1; i <= 39; ++i) s[i] = student(std::to_string(1000 + i), "生" + std::to_string(i));
  const auto x = student("1100", "小明");
  const auto newcomer = student("1200", "插班生");
  for (int i = 1; i <= 29; ++i) scoreRow("期中", s[i], 0, 0, 0, 90 - (i - 1));
  scoreRow("期中", x, 0, 0, 0, 55.25);
  for (int i = 30; i <= 39; ++i) scoreRow("期中", s[i], 0, 0, 0, 50 - (i - 30));
  for (int i = 1; i <= 8; ++i) scoreRow("期末", s[i], 0, 0, 0, 0);  // absent, or no row
  for (int i = 18; i <= 29; ++i) scoreRow("期末", s[i], 0, 0, 0, 80 - (i - 18));
  scoreRow("期末", s[30], 0, 0, 0, 60);  // climbs above 小明
  scoreRow("期末", x, 0, 0, 0, 52.5);
  for (int i = 31; i <= 39; ++i) scoreRow("期末", s[i], 0, 0, 0, 45 - (i - 31));
  scoreRow("期末", newcomer, 0, 0, 0, 99);
  b.user().login.defaultExam = "期末";
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(b.control<web::Label>("countsLabel").Caption,
            "参照考试参考40人，对比考试参考24人，两次都参考23人（只比较两次都参考的学生）");
  const auto& grid = b.control<web::Grid>("resultGrid");
  ASSERT_EQ(grid.rowCount(), 24);
  std::map<std::string, std::vector<std::string>> byId;
  for (int r = 1; r < grid.rowCount(); ++r)
    byId[AnalysisTest::row(grid, r)[0]] = AnalysisTest::row(grid, r);
  EXPECT_EQ(byId.count("1001"), 0u);  // reference only
  EXPECT_EQ(byId.count("1200"), 0u);  // comparison only
  EXPECT_EQ(byId["1100"], (std::vector<std::string>{"1100", "小明", "中心校区", "初一", "一班",
                                                    "55.25", "13", "52.5", "14", "-1"}));
  EXPECT_EQ(byId["1030"], (std::vector<std::string>{"1030", "生30", "中心校区", "初一", "一班",
                                                    "50", "14", "60", "13", "1"}));
  EXPECT_EQ(byId["1018"][6], "1");
  EXPECT_EQ(byId["1039"][6], "23");
  EXPECT_EQ(byId["1039"][8], "23");
}

}  // namespace
}  // namespace zeziza::testing

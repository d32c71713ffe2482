#include "pages/analysis/score_query.h"

#include <gtest/gtest.h>

#include "analysis/number_format.h"
#include "pages/common/rights.h"
#include "pages/common/workbook_download.h"
#include "store/score_history.h"
#include "store/settings_cache.h"
#include "store/subject_columns.h"
#include "tests/support/page_driver.h"
#include "tests/support/xlsx_reader.h"
#include "web/controls/db_grid.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"
#include "web/controls/pager.h"

namespace zeziza::testing {
namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

class ScoreQueryTest : public ::testing::Test {
 protected:
  ScoreQueryTest() {
    web::Session& u = browser.user();
    u.login.rights = 0;
    u.login.subjects = {{1, "数学"}, {2, "语文"}, {3, "英语"}};
    u.login.exams = {"期中", "期末"};
    u.login.grades = {"七年级", "八年级"};
    u.login.defaultExam = "期中";
  }

  void open() { browser.showPage<pages::ScoreQueryPage>(); }
  std::int64_t addStudent(const std::string& id, const std::string& name,
                          const std::string& unit = "东校区") {
    server.db().exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, '七年级', '一班')",
                     {id, name, unit});
    return server.db().lastInsertId();
  }
  void addScores(const std::string& exam, std::int64_t bh, double k1, double k2, double k3) {
    server.db().exec(
        "insert into cj (ks, kh, k1, k2, k3, zf, pj, test) values (?, ?, ?, ?, ?, ?, ?, ?)",
        {exam, bh, k1, k2, k3, k1 + k2 + k3, (k1 + k2 + k3) / 3, exam + "!&" + std::to_string(bh)});
  }
  void search() { browser.click("queryButton"); }

  const web::Pager& pager() { return browser.control<web::Pager>("resultPager"); }
  std::string status() { return pager().status(); }
  // The page chooser's items as the browser got them; none while the links are hidden too.
  Row pageChooser() {
    const std::string& html = browser.last().html;
    const auto begin = html.find("id=\"resultpager\"");
    const auto end = html.find("</div>", begin);
    Row items;
    for (auto at = html.find("<option value=\"", begin); at < end;
         at = html.find("<option value=\"", at + 1)) {
      const auto value = at + 15;
      items.push_back(html.substr(value, html.find('"', value) - value));
    }
    return items;
  }
  bool pagingShown() { return !pageChooser().empty(); }
  // The grid's query: the rows of the page shown, this page's own.
  const store::Query& shownRows() {
    return *browser.control<web::DBGrid>("resultsGrid").DataSource;
  }
  bool panelShown() { return browser.control<web::Region>("statisticsPanel").Visible; }
  Rows grid(const std::string& name) {
    const auto& g = browser.control<web::Grid>(name);
    Rows rows(static_cast<std::size_t>(g.rowCount()));
    for (int r = 0; r < g.rowCount(); ++r) {
      for (int c = 0; c < g.columnCount(); ++c) rows[r].push_back(g.cell(r, c).Text);
      while (!rows[r].empty() && rows[r].back().empty()) rows[r].pop_back();
    }
    return rows;
  }
  // The 考号 cells of the result grid as the browser got it.
  std::vector<std::string> shownIds() {
    const std::string& html = browser.last().html;
    const auto begin = html.find("id=\"resultsgrid\"");
    const auto end = html.find("</table>", begin);
    std::vector<std::string> ids;
    for (auto row = html.find("<tr><td>", begin); row < end; row = html.find("<tr><td>", row + 1)) {
      const auto id = html.find("<td>", row + 8) + 4;
      ids.push_back(html.substr(id, html.find("</td>", id) - id));
    }
    return ids;
  }

  TestServer server;
  BrowserSession browser = server.browser();
};

TEST_F(ScoreQueryTest, CreationFillsTheListsAndHidesResultControls) {
  open();
  auto items = [&](const std::string& name) { return browser.control<web::ComboBox>(name).Items; };
  auto chosen = [&](const std::string& name) {
    return browser.control<web::ComboBox>(name).text();
  };
  EXPECT_EQ(items("examBox"), (Row{"全部考试", "期中", "期末"}));
  EXPECT_EQ(chosen("examBox"), "期中");  // the default exam
  EXPECT_EQ(items("unitBox"), (Row{"所有学校", "中心校区", "东校区", "西校区"}));
  EXPECT_EQ(items("gradeBox"), (Row{"所有年级", "七年级", "八年级"}));
  EXPECT_EQ(items("classBox").front(), "所有班");
  EXPECT_EQ(items("classBox").size(), 10u);
  EXPECT_EQ(items("sortBox"),
            (Row{"不排序", "按考号", "按总分", "按平均分", "按数学", "按语文", "按英语"}));
  EXPECT_EQ(items("directionBox"), (Row{"升序排列", "降序排列"}));
  for (const auto* name : {"unitBox", "gradeBox", "classBox", "sortBox"}) {
    EXPECT_EQ(browser.control<web::ComboBox>(name).ItemIndex, 0) << name;
  }
  EXPECT_EQ(status(), "---");
  EXPECT_FALSE(pagingShown());
  EXPECT_FALSE(panelShown());
  EXPECT_EQ(browser.page().Title, "Zeziza学生成绩管理系统");
  EXPECT_FALSE(browser.page().LockOnSubmit);

  browser.user().login.defaultExam = "期末考试";  // not in the list: the first item stays
  open();
  EXPECT_EQ(chosen("examBox"), "全部考试");
}

TEST_F(ScoreQueryTest, SixtyOneRowsPageThirtyAtATime) {
  double total = 0;
  for (int i = 1; i <= 61; ++i) {
    const std::string id = (i < 10 ? "S0" : "S") + std::to_string(i);
    addScores("期中", addStudent(id, "学生" + id), 40 + i * 0.5, 0, 0);
    total += 40 + i * 0.5;
  }
  addScores("期末", addStudent("T01", "别的考试"), 99, 99, 99);
  open();
  browser.choose("sortBox", "按考号");
  search();
  EXPECT_EQ(status(), "共有61条符合条件的记录  [第1页/共3页]");
  EXPECT_EQ(pageChooser(), (Row{"1", "2", "3"}));
  EXPECT_TRUE(pagingShown());
  ASSERT_EQ(shownIds().size(), 30u);
  EXPECT_EQ(shownIds().front(), "S01");

  struct Step {
    std::string link, choice;
    std::string status;
    std::string firstShown;
    std::size_t shown;
  };
  const std::vector<Step> steps = {
      {"page_prev", "", "共有61条符合条件的记录  [第1页/共3页]", "S01", 30},  // 上页 on page 1
      {"page_last", "", "共有61条符合条件的记录  [第3页/共3页]", "S61", 1},
      {"page_next", "", "共有61条符合条件的记录  [第3页/共3页]", "S61", 1},  // 下页 on the last
      {"page_prev", "", "共有61条符合条件的记录  [第2页/共3页]", "S31", 30},
      {"", "1", "共有61条符合条件的记录  [第1页/共3页]", "S01", 30},
      {"page_next", "", "共有61条符合条件的记录  [第2页/共3页]", "S31", 30},
      {"page_first", "", "共有61条符合条件的记录  [第1页/共3页]", "S01", 30},
      {"", "3", "共有61条符合条件的记录  [第3页/共3页]", "S61", 1},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.link + step.choice + " -> " + step.status);
    if (step.choice.empty()) {
      browser.click("resultPager", step.link);
    } else {
      browser.choosePage("resultPager", step.choice);
    }
    EXPECT_EQ(status(), step.status);
    ASSERT_EQ(shownIds().size(), step.shown);
    EXPECT_EQ(shownIds().front(), step.firstShown);
  }
  // The statistics cover the whole result, not the page shown.
  const Rows summary = grid("summaryGrid");
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[1][2], "61");
  EXPECT_EQ(summary[1][3], analysis::formatGeneral(total));
}

TEST_F(ScoreQueryTest, NoMatchingRows) {
  addScores("期末", addStudent("1001", "张三"), 80, 80, 80);
  open();
  search();
  EXPECT_EQ(status(), "共有0条符合条件的记录  [第1页/共0页]");
  EXPECT_TRUE(pageChooser().empty());
  EXPECT_FALSE(pagingShown());
  EXPECT_TRUE(shownIds().empty());
  EXPECT_EQ(grid("summaryGrid"),
            (Rows{{"科目", "实有人数", "参考人数", "总分", "平均分", "最高分", "最低分", "中位数",
                   "方差", "优秀率", "良好率", "及格率", "不及格率", "优秀人数", "良好人数",
                   "及格人数", "不及格人数", "偏度", "峰度"},
                  {"数学"},
                  {"语文"},
                  {"英语"}}));
  EXPECT_EQ(grid("bandsGrid"),
            (Rows{{"科目", "实有人数", "参考人数"}, {"数学"}, {"语文"}, {"英语"}}));
}

// 数学 is the worked example; 语文 has one participant and shows only its name; a student
// with scores only in another exam still counts as enrolled.
TEST_F(ScoreQueryTest, StatisticsPanelFilledPerSubject) {
  server.context().settings().update([](auto& s) { s.bands = {"60", "70", "80", "90"}; });
  const double maths[] = {60, 70, 80, 90};
  for (int i = 0; i < 4; ++i) {
    addScores("期中", addStudent("100" + std::to_string(i), "学生"), maths[i], i == 0 ? 85 : 0, 80);
  }
  addScores("期末", addStudent("2000", "学生"), 99, 99, 99);
  addStudent("3000", "没有成绩的学生", "西校区");
  open();
  search();
  const Rows summary = grid("summaryGrid");
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[1],
            (Row{"数学", "6", "4", "300", "75.00", "90", "60", "75.00", "125.00", "25.00", "25.00",
                 "50.00", "0.00", "1", "1", "2", "0", "0.00", "1.64"}));
  EXPECT_EQ(summary[2], (Row{"语文"}));
  EXPECT_EQ(summary[3], (Row{"英语", "6", "4", "320", "80.00", "80", "80", "80.00", "0.00", "0.00",
                             "100.00", "0.00", "0.00", "0", "4", "0", "0", "0.00", "0.00"}));
  EXPECT_EQ(grid("bandsGrid"),
            (Rows{{"科目", "实有人数", "参考人数", "60%-70%", "70%-80%", "80%-90%", ">=90%"},
                  {"数学", "6", "4", "1", "1", "1", "1"},
                  {"语文"},
                  {"英语", "6", "4", "0", "0", "4", "0"}}));

  // The name filter narrows the roster count too; the unit filter as well.
  browser.type("nameEdit", "学生");
  browser.choose("unitBox", "东校区");
  search();
  EXPECT_EQ(grid("summaryGrid")[1][1], "5");
}

// 全部考试 lists the rows of every exam, and its statistics are made exam by exam: each student
// is counted once in each exam, never once per row of all exams together.
TEST_F(ScoreQueryTest, AllExamsStatisticsAreMadeExamByExam) {
  for (int i = 1; i <= 3; ++i) {
    const auto bh = addStudent("100" + std::to_string(i), "学生");
    addScores("期中", bh, 60 + i, 70, 0);
    addScores("期末", bh, 80 + i, 90, 0);
  }
  addScores("期中", addStudent("1004", "只考期中"), 64, 70, 0);
  open();
  browser.choose("examBox", "全部考试");
  search();
  EXPECT_EQ(status(), "共有7条符合条件的记录  [第1页/共1页]");
  const Rows summary = grid("summaryGrid");
  ASSERT_EQ(summary.size(), 7u);
  const struct {
    const char* subject;
    const char* enrolled;
    const char* participants;
    const char* total;
  } expected[] = {
      {"期中 数学", "4", "4", "250"},           {"期中 语文", "4", "4", "280"},
      {"期中 英语", nullptr, nullptr, nullptr}, {"期末 数学", "4", "3", "246"},
      {"期末 语文", "4", "3", "270"},           {"期末 英语", nullptr, nullptr, nullptr}};
  for (std::size_t r = 0; r < std::size(expected); ++r) {
    SCOPED_TRACE(expected[r].subject);
    const Row& row = summary[r + 1];
    EXPECT_EQ(row[0], expected[r].subject);
    if (!expected[r].enrolled) {
      EXPECT_EQ(row.size(), 1u);
      continue;
    }
    ASSERT_GT(row.size(), 3u);
    EXPECT_EQ(row[1], expected[r].enrolled);
    EXPECT_EQ(row[2], expected[r].participants);
    EXPECT_EQ(row[3], expected[r].total);
  }
  EXPECT_EQ(grid("bandsGrid")[4][0], "期末 数学");
  EXPECT_EQ(grid("bandsGrid")[4][2], "3");
}

TEST_F(ScoreQueryTest, StatisticsPanelOpensAfterASearchAndCloses) {
  addScores("期中", addStudent("1001", "张三"), 80, 80, 80);
  open();
  browser.click("statisticsLink");
  EXPECT_EQ(browser.message(), "请先进行查询，才能查看统计信息！");
  EXPECT_FALSE(panelShown());
  search();
  EXPECT_FALSE(panelShown());
  browser.click("statisticsLink");
  EXPECT_TRUE(panelShown());
  search();
  EXPECT_TRUE(panelShown());  // stays open across searches
  browser.click("closeStatisticsLink");
  EXPECT_FALSE(panelShown());
}

TEST_F(ScoreQueryTest, NameWithQuoteOrPercentIsSearchedAsText) {
  addScores("期中", addStudent("1001", "王\"五"), 80, 80, 80);
  addScores("期中", addStudent("1002", "赵%六"), 80, 80, 80);
  addScores("期中", addStudent("1003", "李四"), 80, 80, 80);
  open();
  for (const auto& [name, id] : std::vector<std::pair<std::string, std::string>>{
           {"王\"", "1001"}, {"%", "1002"}, {"四", "1003"}}) {
    SCOPED_TRACE(name);
    browser.type("nameEdit", name);
    search();
    EXPECT_EQ(browser.message(), "");
    EXPECT_EQ(shownIds(), (std::vector<std::string>{id}));
  }
}

// Subject names only title the result's columns: quotes, blanks and SQL in them stay text.
TEST_F(ScoreQueryTest, SubjectNamesOfAnyTextTitleTheirColumns) {
  const std::vector<std::string> names = {"物\"理", "a' or 1=1 --", "英 语"};
  server.context().settings().update([&](auto& s) { s.subjects = names; });
  browser.user().login.subjects = store::numberSubjects(names);
  addScores("期中", addStudent("1001", "张三"), 80, 70, 60);
  open();
  search();
  EXPECT_EQ(browser.message(), "");
  EXPECT_EQ(status(), "共有1条符合条件的记录  [第1页/共1页]");
  Row titles;
  for (const auto& column : browser.control<web::DBGrid>("resultsGrid").Columns) {
    titles.push_back(column.Title);
  }
  EXPECT_EQ(titles, (Row{"考试名称", "考号", "姓名", "学校", "年级", "班次", "物\"理",
                         "a' or 1=1 --", "英 语", "总分", "平均分", "缺考"}));
  EXPECT_EQ(shownRows().field("a' or 1=1 --").asDouble(), 70);
}

TEST_F(ScoreQueryTest, SubjectAddedAfterSignInAsksToSignInAgain) {
  addScores("期中", addStudent("1001", "张三"), 80, 80, 80);
  open();
  search();
  server.context().settings().update([](auto& s) { s.subjects.push_back("物理"); });
  const std::string message = "科目“物理”是在您登录之后增加的，请重新登录后再查询。";

  EXPECT_EQ(browser.click("exportLink").kind, web::EventOutcome::Kind::Page);
  EXPECT_EQ(browser.message(), message);
  EXPECT_TRUE(std::filesystem::is_empty(browser.user().cacheFolder()));

  search();
  EXPECT_EQ(browser.message(), message);
  EXPECT_EQ(status(), "---");
  EXPECT_FALSE(pagingShown());
  EXPECT_TRUE(grid("summaryGrid").empty());
  EXPECT_FALSE(shownRows().isOpen());
}

TEST_F(ScoreQueryTest, BadThresholdSettingFailsTheSearchBeforeAnythingChanges) {
  addScores("期中", addStudent("1001", "张三"), 80, 80, 80);
  open();
  search();
  server.context().settings().update([](auto& s) { s.excellent = "9O"; });
  browser.click("resultPager", "page_next");  // nothing to do, but the page is posted as usual
  search();
  EXPECT_NE(browser.message().find("youxiu"), std::string::npos);
  EXPECT_EQ(status(), "共有1条符合条件的记录  [第1页/共1页]");
}

TEST_F(ScoreQueryTest, ExportSendsTheWholeResultWithTheSearchedScope) {
  for (int i = 1; i <= 35; ++i) {
    addScores("期中", addStudent(std::to_string(1000 + i), "学生"), 60 + i, 70.5, 0);
  }
  addScores("期中", addStudent("2001", "西校区学生", "西校区"), 90, 90, 90);
  open();
  browser.click("exportLink");
  EXPECT_EQ(browser.message(), pages::kExportNoQueryMessage);

  browser.choose("unitBox", "东校区");
  browser.choose("sortBox", "按考号");
  search();
  browser.click("resultPager", "page_last");
  browser.choose("unitBox", "西校区");  // changed, not searched
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < 2; ++i) {
    const auto& outcome = browser.click("exportLink");
    ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
    EXPECT_EQ(outcome.file->downloadName, "成绩查询_期中_东校区.xlsx");
    files.push_back(outcome.file->path);
  }
  EXPECT_NE(files[0], files[1]);
  browser.submit();
  EXPECT_NE(browser.last().html.find("data-iw-download=\"1\""), std::string::npos);
  EXPECT_EQ(status(), "共有35条符合条件的记录  [第2页/共2页]");  // the page shown stays
  EXPECT_EQ(shownIds().size(), 5u);

  const auto sheet = readWorkbook(files[0]);
  ASSERT_EQ(sheet.rows.size(), 37u);
  EXPECT_EQ(sheet.rows[0], (Row{"查询范围:", "期中", "东校区", "所有年级", "所有班"}));
  EXPECT_EQ(sheet.rows[1], (Row{"考试名称", "考号", "姓名", "学校", "年级", "班次", "数学", "语文",
                                "英语", "总分", "平均分", "缺考"}));
  EXPECT_EQ(sheet.rows[2], (Row{"期中", "1001", "学生", "东校区", "七年级", "一班", "#61", "#70.5",
                                "#0", "#131.5", "#" + analysis::formatGeneral(131.5 / 3)}));
  EXPECT_EQ(sheet.rows[36][1], "1035");
}

TEST_F(ScoreQueryTest, ExportOfAnEmptyResultHasOnlyTheTwoHeadingRows) {
  open();
  search();
  const auto& outcome = browser.click("exportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const auto sheet = readWorkbook(outcome.file->path);
  ASSERT_EQ(sheet.rows.size(), 2u);
  EXPECT_EQ(sheet.rows[0], (Row{"查询范围:", "期中", "所有学校", "所有年级", "所有班"}));
}

TEST_F(ScoreQueryTest, OnlyAdministratorsViewersAndClassTeachersMayQuery) {
  addScores("期中", addStudent("1001", "张三"), 80, 80, 80);
  for (const std::string code : {"0", "1", "4", "5", "2", "3", ""}) {
    SCOPED_TRACE("code '" + code + "'");
    const bool allowed = code == "0" || code == "1" || code == "4" || code == "5";
    browser.user().login.rights = pages::parseRightsCode(code);
    open();
    EXPECT_EQ(browser.message(), allowed ? "" : pages::kNoPageRightsMessage);
    EXPECT_EQ(browser.control<web::Button>("queryButton").effectivelyVisible(), allowed);
    EXPECT_TRUE(browser.control<web::Region>("navigationBar").Visible);
  }
  // A handler checks the code again.
  browser.user().login.rights = 0;
  open();
  browser.user().login.rights = 3;
  search();
  EXPECT_EQ(browser.message(), pages::kNoRightsMessage);
  EXPECT_EQ(status(), "---");
}

}  // namespace
}  // namespace zeziza::testing

namespace zeziza::testing {
namespace {

TEST_F(ScoreQueryTest, AdministratorsSeeWhoChangedAStudentsScores) {
  const std::int64_t bh = addStudent("801", "张三");
  store::appendScoreHistory(server.db(), {"clerk", "期中", bh, 1, 0, 80, "ScoreEntryPage"});
  store::appendScoreHistory(server.db(), {"boss", "期中", bh, 1, 80, 85, "ClassGridEntryPage"});
  store::appendScoreHistory(server.db(), {"boss", "期末", bh, 2, 0, 70, "BatchImportPage"});
  const struct {
    std::string exam;
    std::vector<std::string> users;  // newest first
  } cases[] = {{"期中", {"boss", "clerk"}}, {"全部考试", {"boss", "boss", "clerk"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.exam);
    open();
    browser.choose("examBox", c.exam);
    browser.type("HistoryNumber", " 801 ");
    browser.click("HistoryShow");
    const auto& grid = browser.control<web::Grid>("HistoryGrid");
    ASSERT_EQ(grid.rowCount(), static_cast<int>(c.users.size()) + 1);
    for (std::size_t i = 0; i < c.users.size(); ++i) {
      EXPECT_EQ(grid.cell(static_cast<int>(i) + 1, 1).Text, c.users[i]);
    }
  }
  EXPECT_EQ(browser.control<web::Grid>("HistoryGrid").cell(2, 3).Text, "数学");
  EXPECT_EQ(browser.control<web::Grid>("HistoryGrid").cell(2, 5).Text, "85");

  browser.type("HistoryNumber", "999");
  browser.click("HistoryShow");
  EXPECT_EQ(browser.message(), "考生不存在,请核对后再试！");
}

TEST_F(ScoreQueryTest, OrdinaryUsersHaveNoHistoryView) {
  const std::int64_t bh = addStudent("801", "张三");
  store::appendScoreHistory(server.db(), {"clerk", "期中", bh, 1, 0, 80, "ScoreEntryPage"});
  browser.user().login.rights = 4;
  open();
  EXPECT_FALSE(browser.control<web::Region>("HistoryPanel").Visible);
  auto form = browser.formFor("");
  form.fields.erase("IW_Action");
  form.fields.emplace("IW_Action", "historyshow");
  form.fields.emplace("historynumber", "801");
  browser.post(form);  // a forged click on the hidden button does nothing
  EXPECT_FALSE(browser.control<web::Grid>("HistoryGrid").Visible);
}

}  // namespace
}  // namespace zeziza::testing

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pages/common/rights.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "store/statement.h"
#include "tests/support/page_driver.h"
#include "tests/support/xlsx_reader.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/pager.h"
#include "web/controls/region.h"

namespace zeziza::testing {
namespace {

using Lines = std::vector<std::string>;

class RosterPageTest : public ::testing::Test {
 protected:
  RosterPageTest() {
    store::writeListSetting(server.db(), store::key::kUnits, {"东校区", "西校区"});
    store::writeListSetting(server.db(), store::key::kClasses, {"一班", "二班"});
    server.host().loadState();
  }

  BrowserSession open(const std::string& rights = "0",
                      const std::vector<std::string>& grades = {"2010级", "2011级"}) {
    auto b = server.browser();
    b.user().login.rights = pages::parseRightsCode(rights);
    b.user().login.grades = grades;
    b.showPage<pages::RosterPage>();
    return b;
  }
  std::int64_t addStudent(const std::string& id, const std::string& name,
                          const std::string& unit = "东校区", const std::string& grade = "2010级",
                          const std::string& cls = "一班") {
    server.db().exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
                     {id, name, unit, grade, cls});
    return server.db().lastInsertId();
  }
  void addScore(std::int64_t student, const std::string& exam = "期中") {
    server.db().exec("insert into cj (ks, kh, k1, zf, pj, test) values (?, ?, 80, 80, 80, ?)",
                     {exam, student, exam + "!&" + std::to_string(student)});
  }
  std::int64_t count(const std::string& sql) {
    store::Statement statement(server.db(), sql);
    statement.step();
    return statement.column(0).asInt();
  }
  std::string student(const std::string& id) {
    store::Statement s(server.db(), "select xm||'|'||xx||'|'||nj||'|'||bj from ks where id=?");
    const store::Value v(id);
    s.bindAll(std::span(&v, 1));
    return s.step() ? s.column(0).asText() : "";
  }
  static std::string countLine(BrowserSession& b) {
    return b.control<web::Pager>("resultPager").status();
  }
  // The pager's links and chooser as the browser got them: none without pages.
  static bool pagerLinksShown(BrowserSession& b) {
    const std::string& html = b.last().html;
    return html.find("【首页】") != std::string::npos &&
           html.find("<select name=\"resultpager_page\"") != std::string::npos;
  }
  // The grid's query, the page's own: the rows of the page shown.
  static const store::Query& result(BrowserSession& b) {
    return *b.control<web::DBGrid>("resultsGrid").DataSource;
  }
  // How many student rows the rendered grid shows.
  static int shownRows(BrowserSession& b) {
    const std::string& html = b.last().html;
    int rows = 0;
    for (auto at = html.find("data-iw-param=\"5:"); at != std::string::npos;
         at = html.find("data-iw-param=\"5:", at + 1)) {
      ++rows;
    }
    return rows;
  }
  static void query(BrowserSession& b, const std::string& unit = "所有学校",
                    const std::string& grade = "全部年级", const std::string& cls = "所有班",
                    const std::string& name = "") {
    b.choose("unitBox", unit);
    b.choose("gradeBox", grade);
    b.choose("classBox", cls);
    b.type("namePartEdit", name);
    b.click("queryButton");
  }
  static void paste(BrowserSession& b, const std::string& numbers, const std::string& names,
                    bool choosePlace = true) {
    if (choosePlace) {
      b.choose("addUnitBox", "西校区");
      b.choose("addGradeBox", "2011级");
      b.choose("addClassBox", "二班");
    }
    b.type("numbersMemo", numbers);
    b.type("namesMemo", names);
    b.click("addButton");
  }
  static std::string link(const std::string& column, std::int64_t bh) {
    return column + ":" + std::to_string(bh);
  }

  TestServer server;
};

TEST_F(RosterPageTest, OpensWithFiltersAndNoResult) {
  auto b = open();
  EXPECT_EQ(b.control<web::ComboBox>("unitBox").Items, (Lines{"所有学校", "东校区", "西校区"}));
  EXPECT_EQ(b.control<web::ComboBox>("gradeBox").Items, (Lines{"全部年级", "2010级", "2011级"}));
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items, (Lines{"所有班", "一班", "二班"}));
  for (const std::string box : {"addUnitBox", "addGradeBox", "addClassBox"}) {
    EXPECT_EQ(b.control<web::ComboBox>(box).ItemIndex, -1) << box;
  }
  EXPECT_EQ(b.control<web::ComboBox>("addGradeBox").NoSelectionText, "-- 请选择年级 --");
  EXPECT_EQ(b.control<web::ComboBox>("changeGradeBox").Items, (Lines{"2010级", "2011级"}));
  EXPECT_FALSE(b.control<web::Link>("exportLink").Visible);
  EXPECT_FALSE(pagerLinksShown(b));
  EXPECT_EQ(countLine(b), "符合条件记录");
  EXPECT_EQ(shownRows(b), 0);
}

TEST_F(RosterPageTest, ViewersSeeNoAddOrRemoveControls) {
  for (const std::string rights : {"0", "1", "2", "4"}) {
    SCOPED_TRACE(rights);
    auto b = open(rights);
    const bool shown = rights != "4";
    EXPECT_EQ(b.control<web::Link>("addStudentsLink").Visible, shown);
    EXPECT_EQ(b.control<web::Link>("deleteAllLink").Visible, shown);
    EXPECT_EQ(b.control<web::CheckBox>("deleteScoresBox").Visible, shown);
  }
}

TEST_F(RosterPageTest, QueriesWithEveryFilterCombination) {
  addStudent("1", "张三");
  addStudent("2", "张四", "东校区", "2011级", "二班");
  addStudent("3", "O'Brien", "西校区", "2010级", "二班");
  addStudent("4", "李 四", "西校区", "2011级", "一班");
  addStudent("5", "王50%", "东校区", "2010级", "二班");
  struct Case {
    std::string unit, grade, cls, name;
    std::size_t found;
  };
  const std::vector<Case> cases = {
      {"所有学校", "全部年级", "所有班", "", 5},    {"东校区", "全部年级", "所有班", "", 3},
      {"所有学校", "2010级", "所有班", "", 3},      {"所有学校", "全部年级", "二班", "", 3},
      {"所有学校", "全部年级", "所有班", "张", 2},  {"所有学校", "2011级", "一班", "", 1},
      {"东校区", "2010级", "二班", "", 1},          {"西校区", "全部年级", "所有班", "四", 1},
      {"所有学校", "全部年级", "所有班", "O'B", 1}, {"所有学校", "全部年级", "所有班", "  张 ", 2},
      {"所有学校", "全部年级", "所有班", "0%", 1},  {"所有学校", "全部年级", "所有班", "%", 1},
      {"东校区", "2011级", "一班", "", 0},          {"所有学校", "全部年级", "所有班", "o'b", 1},
  };
  auto b = open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unit + "|" + c.grade + "|" + c.cls + "|" + c.name);
    query(b, c.unit, c.grade, c.cls, c.name);
    EXPECT_EQ(b.message(), "");
    EXPECT_EQ(b.control<web::Pager>("resultPager").span().rows, c.found);
    EXPECT_EQ(shownRows(b), static_cast<int>(c.found));
  }
}

TEST_F(RosterPageTest, PagesTwentyRowsAtATime) {
  for (int i = 1; i <= 41; ++i) addStudent(std::to_string(1000 + i), "学生" + std::to_string(i));
  auto b = open();
  query(b);
  EXPECT_EQ(countLine(b), "共有41条符合条件的记录  [第1页/共3页]");
  EXPECT_EQ(b.control<web::Pager>("resultPager").span().pageCount(), 3u);
  EXPECT_NE(b.last().html.find("<option value=\"3\">3</option></select>"), std::string::npos);
  EXPECT_EQ(shownRows(b), 20);
  EXPECT_TRUE(b.control<web::Link>("exportLink").Visible);
  EXPECT_TRUE(pagerLinksShown(b));
  struct Step {
    std::string link, choice;
    int page, rows;
  };
  const std::vector<Step> steps = {
      {"page_prev", "", 1, 20}, {"page_next", "", 2, 20},  {"page_next", "", 3, 1},
      {"page_next", "", 3, 1},  {"page_first", "", 1, 20}, {"page_last", "", 3, 1},
      {"page_prev", "", 2, 20}, {"", "1", 1, 20},
  };
  b.choosePage("resultPager", "2");
  EXPECT_EQ(countLine(b), "共有41条符合条件的记录  [第2页/共3页]");
  b.click("resultPager", "page_first");
  for (const auto& step : steps) {
    SCOPED_TRACE(step.link + step.choice + " to page " + std::to_string(step.page));
    if (step.choice.empty()) {
      b.click("resultPager", step.link);
    } else {
      b.choosePage("resultPager", step.choice);
    }
    EXPECT_EQ(countLine(b),
              "共有41条符合条件的记录  [第" + std::to_string(step.page) + "页/共3页]");
    EXPECT_EQ(shownRows(b), step.rows);
    // The page's query holds the rows shown and nothing more.
    EXPECT_EQ(result(b).recordCount(), static_cast<std::size_t>(step.rows));
  }
  b.click("resultPager", "page_last");
  EXPECT_NE(b.last().html.find("学生41"), std::string::npos);
  EXPECT_EQ(b.last().html.find("学生40<"), std::string::npos);
}

// No pages, no links: a page event posted anyway is ignored and the count stays.
TEST_F(RosterPageTest, AnEmptyResultHasNoPages) {
  auto b = open();
  query(b);
  EXPECT_EQ(countLine(b), "共有0条符合条件的记录  [第1页/共0页]");
  EXPECT_FALSE(pagerLinksShown(b));
  for (const std::string link : {"page_first", "page_prev", "page_next", "page_last", ""}) {
    b.click("resultPager", link);
    EXPECT_EQ(b.message(), "") << link;
    EXPECT_EQ(countLine(b), "共有0条符合条件的记录  [第1页/共0页]") << link;
  }
}

TEST_F(RosterPageTest, OpensTheAddPanelOnlyWhenPlacesAreSet) {
  auto b = open();
  b.click("addStudentsLink");
  EXPECT_TRUE(b.control<web::Region>("addPanel").Visible);
  EXPECT_FALSE(b.control<web::Region>("noticePanel").Visible);
  b.click("addCloseLink");
  EXPECT_FALSE(b.control<web::Region>("addPanel").Visible);

  auto noGrades = open("0", {});
  noGrades.click("addStudentsLink");
  EXPECT_FALSE(noGrades.control<web::Region>("addPanel").Visible);
  EXPECT_TRUE(noGrades.control<web::Region>("noticePanel").Visible);
  noGrades.click("unitsLink");
  EXPECT_EQ(noGrades.pageClass(), "UnitsPage");
  EXPECT_EQ(noGrades.user().navigationEntry, "UnitsPage");
}

TEST_F(RosterPageTest, AddsABatchFromPastedColumns) {
  auto b = open();
  b.click("addStudentsLink");
  paste(b, " 2001\r\n2002\r\nA2003 \r\n", "张三\r\n李 四\r\nO'Brien\r\n");
  EXPECT_EQ(b.message(), "已添加3名学生");
  EXPECT_EQ(count("select count(*) from ks"), 3);
  EXPECT_EQ(student("2001"), "张三|西校区|2011级|二班");
  EXPECT_EQ(student("2002"), "李 四|西校区|2011级|二班");
  EXPECT_EQ(student("a2003"), "O'Brien|西校区|2011级|二班");
  EXPECT_TRUE(b.control<web::Memo>("numbersMemo").Lines.empty());
  EXPECT_TRUE(b.control<web::Memo>("namesMemo").Lines.empty());
  EXPECT_TRUE(b.control<web::Region>("addPanel").Visible);
}

TEST_F(RosterPageTest, RefusesABatchWholly) {
  addStudent("1001", "已有甲");
  addStudent("1002", "已有乙");
  struct Case {
    std::string name, numbers, names;
    bool choosePlace;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no place chosen", "3001", "甲", false, "请选择学生所在的班级！"},
      {"two numbers, three names", "3001\n3002", "甲\n乙\n丙", true,
       "学生编号与学生姓名行数不一致，请检查！"},
      {"three numbers, two names", "3001\n3002\n3003", "甲\n乙", true,
       "学生编号与学生姓名行数不一致，请检查！"},
      {"existing numbers", "3001\n1001\n1002", "甲\n乙\n丙", true,
       "学生编号1001（已是东校区2010级一班已有甲的编号）、1002（已是东校区2010级一班已有乙的编号）"
       "已被占用，本次的学生一个也没有添加。请改正这些编号后再点添加新学生"},
      {"a number twice", "3001\n3002\n3001", "甲\n乙\n丙", true,
       "学生编号3001（在粘贴的编号中出现了不止一次）已被占用，本次的学生一个也没有添加。"
       "请改正这些编号后再点添加新学生"},
      {"a line with one side empty", "3001\n\n3003", "甲\n乙\n丙", true,
       "第2行的学生编号或学生姓名为空，请检查！"},
  };
  auto b = open();
  b.click("addStudentsLink");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    paste(b, c.numbers, c.names, c.choosePlace);
    EXPECT_EQ(b.message(), c.message);
    EXPECT_EQ(count("select count(*) from ks"), 2);
    // The boxes keep what was pasted.
    const auto& kept = b.control<web::Memo>("numbersMemo").Lines;
    EXPECT_EQ(kept.size(), std::count(c.numbers.begin(), c.numbers.end(), '\n') + 1u);
    EXPECT_EQ(kept.front(), "3001");
  }
}

TEST_F(RosterPageTest, OnlyAdministratorsAddStudents) {
  // Clerks do not reach the page at all (tests/pages/common/page_rights_test.cpp).
  for (const std::string rights : {"2", "4", "5"}) {
    SCOPED_TRACE(rights);
    auto b = open(rights);
    b.control<web::Region>("addPanel").Visible = true;  // however the panel was reached
    paste(b, "3001", "甲");
    EXPECT_EQ(b.message(), "您没有添加考生的权限，请以合适身份登录后再试！");
    EXPECT_EQ(count("select count(*) from ks"), 0);
  }
  auto admin = open("1");
  admin.click("addStudentsLink");
  paste(admin, "3001", "甲");
  EXPECT_EQ(count("select count(*) from ks"), 1);
}

TEST_F(RosterPageTest, ChangesAStudent) {
  const auto zhang = addStudent("1001", "张三");
  addStudent("1002", "李四");
  addScore(zhang);
  auto b = open("2");
  query(b);
  b.click("resultsGrid", link("6", zhang));
  EXPECT_TRUE(b.control<web::Region>("changePanel").Visible);
  EXPECT_EQ(b.control<web::Label>("changeHeading").Caption, "将 张三 同学信息修改为");
  EXPECT_EQ(b.control<web::Edit>("changeNumberEdit").Text, "1001");
  EXPECT_EQ(b.control<web::ComboBox>("changeUnitBox").text(), "东校区");
  EXPECT_EQ(b.control<web::ComboBox>("changeClassBox").text(), "一班");

  b.type("changeNumberEdit", " 1009 ");
  b.type("changeNameEdit", "张三丰");
  b.choose("changeUnitBox", "西校区");
  b.click("saveChangeButton");
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(student("1009"), "张三丰|西校区|2010级|一班");
  EXPECT_EQ(count("select count(*) from cj where kh=" + std::to_string(zhang)), 1);
  EXPECT_FALSE(b.control<web::Region>("changePanel").Visible);
  EXPECT_NE(b.last().html.find("张三丰"), std::string::npos);
  EXPECT_EQ(countLine(b), "共有2条符合条件的记录  [第1页/共1页]");
}

TEST_F(RosterPageTest, RefusesChangesThatCannotBeStored) {
  const auto zhang = addStudent("1001", "张三");
  addStudent("1002", "李四");
  const auto stray = addStudent("1003", "外校", "别处");
  auto b = open();
  query(b);
  struct Case {
    std::string name, number, studentName;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"number of another student", "1002", "张三", "操作失败，请检查学生编号是否已经存在!"},
      {"same number in other letter case", "1002 ", "张三",
       "操作失败，请检查学生编号是否已经存在!"},
      {"empty number", "  ", "张三", "学生编号、姓名不能为空!"},
      {"empty name", "1001", "", "学生编号、姓名不能为空!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    b.click("resultsGrid", link("6", zhang));
    b.type("changeNumberEdit", c.number);
    b.type("changeNameEdit", c.studentName);
    b.click("saveChangeButton");
    EXPECT_EQ(b.message(), c.message);
    EXPECT_TRUE(b.control<web::Region>("changePanel").Visible);
    EXPECT_EQ(student("1001"), "张三|东校区|2010级|一班");
  }
  // A unit no longer listed leaves the unit box without a choice.
  b.click("resultsGrid", link("6", stray));
  EXPECT_EQ(b.control<web::ComboBox>("changeUnitBox").ItemIndex, -1);
  b.click("saveChangeButton");
  EXPECT_EQ(b.message(), "请选择学生所在的班级！");
}

TEST_F(RosterPageTest, ChangingAStudentDeletedMeanwhileSaysSo) {
  const auto zhang = addStudent("1001", "张三");
  auto b = open();
  query(b);
  b.click("resultsGrid", link("6", zhang));
  server.db().exec("delete from ks where bh=?", {zhang});
  b.click("saveChangeButton");
  EXPECT_EQ(b.message(), "没有记录被更新，请检查该学生是否已被删除!");
  EXPECT_FALSE(b.control<web::Region>("changePanel").Visible);
  EXPECT_EQ(countLine(b), "共有0条符合条件的记录  [第1页/共0页]");
  EXPECT_EQ(count("select count(*) from ks"), 0);
}

TEST_F(RosterPageTest, RemovesOneStudentAndHisScoresOnlyWhenAllowed) {
  for (int i = 1; i <= 25; ++i) addStudent(std::to_string(1000 + i), "学生" + std::to_string(i));
  const auto scored = addStudent("2001", "有成绩");
  addScore(scored, "期中");
  addScore(scored, "期末");
  auto b = open();
  query(b);
  b.click("resultPager", "page_next");  // page 2 shows the scored student
  b.click("resultsGrid", link("5", scored));
  EXPECT_EQ(
      b.message(),
      "该学生还存在成绩信息，请手动删除成绩或勾选“删除学生的同时自动删除成绩信息”选框后再试！");
  EXPECT_EQ(count("select count(*) from cj"), 2);
  EXPECT_EQ(count("select count(*) from ks"), 26);

  b.type("deleteScoresBox", "on");
  b.click("resultsGrid", link("5", scored));
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(count("select count(*) from cj"), 0);
  EXPECT_EQ(student("2001"), "");
  EXPECT_EQ(countLine(b), "共有25条符合条件的记录  [第2页/共2页]");
  EXPECT_EQ(shownRows(b), 5);

  const auto last = result(b).rows().back().front().asInt();
  b.control<web::CheckBox>("deleteScoresBox").Checked = false;  // no scores: the box is not needed
  b.click("resultsGrid", link("5", last));
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(count("select count(*) from ks"), 24);
  EXPECT_EQ(countLine(b), "共有24条符合条件的记录  [第2页/共2页]");
}

TEST_F(RosterPageTest, RemovesAllFoundStudentsWithTheirScores) {
  const auto a = addStudent("1001", "甲");
  const auto c = addStudent("1002", "乙");
  const auto other = addStudent("2001", "丙", "西校区");
  for (const auto s : {a, c, other}) addScore(s);
  auto b = open();
  b.type("deleteScoresBox", "on");
  b.click("deleteAllLink");  // no query yet: nothing to remove
  EXPECT_EQ(count("select count(*) from ks"), 3);
  query(b, "东校区");
  b.control<web::CheckBox>("deleteScoresBox").Checked = false;  // the user clears the box
  b.click("deleteAllLink");
  EXPECT_EQ(b.message(), "您需要勾选“删除学生的同时自动删除成绩信息”选框后，才能执行此操作！");
  EXPECT_EQ(count("select count(*) from ks"), 3);
  b.type("deleteScoresBox", "on");
  b.click("deleteAllLink");
  EXPECT_EQ(b.message(), "已删除2名学生及其成绩");
  EXPECT_EQ(count("select count(*) from ks"), 1);
  EXPECT_EQ(count("select count(*) from cj"), 1);
  EXPECT_EQ(student("2001"), "丙|西校区|2010级|一班");
  EXPECT_EQ(countLine(b), "共有0条符合条件的记录  [第1页/共0页]");
}

// The page keeps every student found, not only the twenty it shows.
TEST_F(RosterPageTest, RemovesEveryFoundStudentFromAnyPage) {
  for (int i = 1; i <= 45; ++i) addStudent(std::to_string(1000 + i), "学生" + std::to_string(i));
  addStudent("2001", "丙", "西校区");
  auto b = open();
  query(b, "东校区");
  b.click("resultPager", "page_last");
  b.type("deleteScoresBox", "on");
  b.click("deleteAllLink");
  EXPECT_EQ(b.message(), "已删除45名学生及其成绩");
  EXPECT_EQ(count("select count(*) from ks"), 1);
}

TEST_F(RosterPageTest, RemovingAllFoundIsAllOrNothing) {
  for (int i = 1; i <= 5; ++i) addScore(addStudent(std::to_string(i), "学生"));
  server.db().exec(
      "create trigger keep_three before delete on ks when old.id='3' "
      "begin select raise(abort, 'student 3 is locked'); end");
  auto b = open();
  query(b);
  b.type("deleteScoresBox", "on");
  b.click("deleteAllLink");
  // The store's failure is told in words; the trigger's own text goes to the log only.
  EXPECT_EQ(b.message(), "数据库操作失败，本次操作未保存。");
  EXPECT_EQ(count("select count(*) from ks"), 5);
  EXPECT_EQ(count("select count(*) from cj"), 5);
}

TEST_F(RosterPageTest, RemovalAndChangeNeedTheirRights) {
  const auto zhang = addStudent("1001", "张三");
  struct Case {
    std::string rights;
    bool mayRemove, mayChange;
  };
  // Clerks and unknown codes do not reach the page at all
  // (tests/pages/common/page_rights_test.cpp).
  const std::vector<Case> cases = {{"0", true, true},
                                   {"1", true, true},
                                   {"2", false, true},
                                   {"4", false, false},
                                   {"5", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE("rights [" + c.rights + "]");
    auto b = open(c.rights);
    query(b);
    b.click("resultsGrid", link("6", zhang));
    EXPECT_EQ(b.control<web::Region>("changePanel").Visible, c.mayChange);
    if (!c.mayChange) {
      EXPECT_EQ(b.message(), "您没有修改学生的权限，请以合适身份登录后再试！");
    }
    if (!c.mayRemove) {
      b.click("resultsGrid", link("5", zhang));
      EXPECT_EQ(b.message(), "您没有删除学生的权限，请以合适身份登录后再试！");
      b.control<web::Link>("deleteAllLink").Visible = true;  // however the link was reached
      b.control<web::CheckBox>("deleteScoresBox").Visible = true;
      b.type("deleteScoresBox", "on");
      b.click("deleteAllLink");
      EXPECT_EQ(b.message(), "您没有删除学生的权限，请以合适身份登录后再试！");
      EXPECT_EQ(count("select count(*) from ks"), 1);
    }
  }
  auto admin = open("1");
  query(admin);
  admin.click("resultsGrid", link("5", zhang));
  EXPECT_EQ(count("select count(*) from ks"), 0);
}

TEST_F(RosterPageTest, ExportAsksForAQueryFirst) {
  auto b = open();
  b.control<web::Link>("exportLink").Visible = true;
  b.click("exportLink");
  EXPECT_EQ(b.message(), "请先进行查询，再保存结果！");
}

}  // namespace
}  // namespace zeziza::testing

namespace zeziza::testing {
namespace {

TEST_F(RosterPageTest, SaveAsSpreadsheetSendsEveryStudentFound) {
  auto b = open();
  b.click("exportLink");
  EXPECT_EQ(b.message(), "");  // hidden before the first query: the click is not applied
  for (int i = 0; i < 45; ++i)
    addStudent("S" + std::to_string(100 + i), "学生" + std::to_string(i));
  query(b);
  const auto& outcome = b.click("exportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const auto sheet = readWorkbook(outcome.file->path);
  EXPECT_EQ(sheet.rows.size(), 46u);  // the title row and 45 students
  EXPECT_EQ(b.pageClass(), "RosterPage");
  EXPECT_EQ(countLine(b).empty(), false);
}

// A roster of more than one read's keys: every student in the roster's order, whichever page
// is shown.
TEST_F(RosterPageTest, SaveAsSpreadsheetReadsABigRosterInPieces) {
  for (int i = 0; i < 1001; ++i) addStudent("S" + std::to_string(10000 + i), "学生");
  auto b = open();
  query(b);
  b.choosePage("resultPager", "30");
  const auto& outcome = b.click("exportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const auto sheet = readWorkbook(outcome.file->path);
  ASSERT_EQ(sheet.rows.size(), 1002u);
  for (std::size_t r = 1; r < sheet.rows.size(); ++r) {
    ASSERT_EQ(sheet.rows[r].at(0), "S" + std::to_string(10000 + r - 1)) << r;
  }
  EXPECT_EQ(countLine(b), "共有1001条符合条件的记录  [第30页/共51页]");
}

}  // namespace
}  // namespace zeziza::testing

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pages/common/rights.h"
#include "pages/master/exams.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "tests/support/page_driver.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

using Items = std::vector<std::string>;

Items column(const web::Grid& grid, int col) {
  Items texts;
  for (int row = 1; row < grid.rowCount(); ++row) texts.push_back(grid.cell(row, col).Text);
  return texts;
}

class ExamsPageTest : public ::testing::Test {
 protected:
  ExamsPageTest() {
    store::writeListSetting(server.db(), store::key::kBands, {"60", "80"});
    store::writeListSetting(server.db(), store::key::kExams, {"期中", "期末"});
    store::writeSetting(server.db(), store::key::kDefaultExam, "期末");
    server.host().loadState();
  }

  // A signed-in user on the exams page, with the exam state a login reads.
  BrowserSession open(const std::string& rights = "0") {
    auto b = server.browser();
    b.user().login.rights = pages::parseRightsCode(rights);
    b.user().login.exams = stored(store::key::kExams);
    b.user().login.defaultExam = store::readSetting(server.db(), store::key::kDefaultExam);
    b.showPage<pages::ExamsPage>();
    return b;
  }
  Items stored(std::string_view key) { return store::readListSetting(server.db(), key); }
  std::string setting(std::string_view key) { return store::readSetting(server.db(), key); }
  void expectBands(BrowserSession& b, const Items& expected) {
    EXPECT_EQ(stored(store::key::kBands), expected);
    EXPECT_EQ(server.context().settings().get()->bands, expected);
    EXPECT_EQ(b.control<web::ListBox>("bandList").Items, expected);
    EXPECT_EQ(column(b.control<web::Grid>("bandGrid"), 0), expected);
  }
  void expectExams(BrowserSession& b, const Items& expected) {
    EXPECT_EQ(stored(store::key::kExams), expected);
    EXPECT_EQ(b.user().login.exams, expected);
    EXPECT_EQ(b.control<web::List>("examList").Items, expected);
    EXPECT_EQ(column(b.control<web::Grid>("examGrid"), 0), expected);
  }
  void expectSubjects(BrowserSession& b, const Items& expected) {
    EXPECT_EQ(stored(store::key::kSubjects), expected);
    EXPECT_EQ(server.context().settings().get()->subjects, expected);
    EXPECT_EQ(b.control<web::List>("subjectList").Items, expected);
    EXPECT_EQ(column(b.control<web::Grid>("subjectGrid"), 0), expected);
  }
  void addScore(const std::string& exam) {
    server.db().exec("insert into ks (id, xm) values (?, '学生')", {exam + "号"});
    server.db().exec("insert into cj (ks, kh, k1, zf, pj, test) values (?, ?, 90, 90, 90, ?)",
                     {exam, server.db().lastInsertId(), exam + "!&1"});
  }

  TestServer server;
};

TEST_F(ExamsPageTest, OpensWithTheStoredSettings) {
  auto b = open();
  EXPECT_EQ(b.control<web::Edit>("topEdit").Text, "1000");
  EXPECT_FALSE(b.control<web::Edit>("topEdit").Enabled);
  EXPECT_EQ(b.control<web::Edit>("bottomEdit").Text, "0");
  EXPECT_EQ(b.control<web::Edit>("excellentEdit").Text, "90");
  EXPECT_EQ(b.control<web::Edit>("goodEdit").Text, "80");
  EXPECT_EQ(b.control<web::Edit>("passEdit").Text, "60");
  EXPECT_EQ(column(b.control<web::Grid>("bandGrid"), 1),
            (Items{"成绩大于等于满分的60%小于80%(零分除外)", "成绩大于等于满分的80%(零分除外)"}));
  expectExams(b, {"期中", "期末"});
  expectSubjects(b, {"数学", "语文", "英语"});
  EXPECT_EQ(b.control<web::Grid>("subjectGrid").columnCount(), 1);
}

TEST_F(ExamsPageTest, BoundariesAreInsertedInOrder) {
  auto b = open();
  const std::vector<std::pair<std::string, Items>> steps = {
      {"70", {"60", "70", "80"}},
      {"70", {"60", "70", "70", "80"}},
      {"50", {"50", "60", "70", "70", "80"}},
      {" +100 ", {"50", "60", "70", "70", "80", "100"}},
  };
  for (const auto& [typed, expected] : steps) {
    SCOPED_TRACE(typed);
    b.type("bandEdit", typed);
    b.click("bandAddButton");
    EXPECT_EQ(b.message(), "");
    expectBands(b, expected);
  }
  EXPECT_EQ(
      column(b.control<web::Grid>("bandGrid"), 1),
      (Items{"成绩大于等于满分的50%小于60%(零分除外)", "成绩大于等于满分的60%小于70%(零分除外)",
             "成绩大于等于满分的70%小于70%(零分除外)", "成绩大于等于满分的70%小于80%(零分除外)",
             "成绩大于等于满分的80%小于100%(零分除外)", "成绩大于等于满分的100%(零分除外)"}));
  b.click("bandGrid", "3_2");  // one of the two 70s
  expectBands(b, {"50", "60", "70", "80", "100"});
  for (int i = 0; i < 5; ++i) b.click("bandGrid", "1_2");
  expectBands(b, {});
  EXPECT_EQ(b.control<web::Grid>("bandGrid").rowCount(), 1);
}

TEST_F(ExamsPageTest, RefusesBoundariesThatAreNoPositiveInteger) {
  auto b = open();
  for (const std::string typed : {"7.5", "abc", "", "  ", "70分", "7 0"}) {
    SCOPED_TRACE(typed);
    b.type("bandEdit", typed);
    b.click("bandAddButton");
    EXPECT_EQ(b.message(), "分数分界点格式错误，请检查！");
    expectBands(b, {"60", "80"});
  }
  for (const std::string typed : {"-5", "0", " -0 "}) {
    SCOPED_TRACE(typed);
    b.type("bandEdit", typed);
    b.click("bandAddButton");
    EXPECT_EQ(b.message(), "分数分界点必须是正整数，请检查！");
    expectBands(b, {"60", "80"});
  }
}

TEST_F(ExamsPageTest, SavesLevelsOnlyWhenTheyAreIntegersInFallingOrder) {
  struct Case {
    std::string excellent, good, pass, message;
  };
  const std::vector<Case> cases = {
      {"90", "90", "60", "分数分级数据错误！请修改后再试"},
      {"90", "80", "80", "分数分级数据错误！请修改后再试"},
      {"60", "80", "90", "分数分级数据错误！请修改后再试"},
      {"9O", "80", "60", "分数分级必须为数字！请修改后再试"},
      {"90", "", "60", "分数分级必须为数字！请修改后再试"},
      {"90", "80", "60.5", "分数分级必须为数字！请修改后再试"},
      {"95", "85", "70", "已保存成绩分级：优秀95分，良好85分，及格70分"},
      {" 88 ", "+75", "-1", "已保存成绩分级：优秀88分，良好75分，及格-1分"},
  };
  auto b = open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.excellent + "|" + c.good + "|" + c.pass);
    const std::vector<std::string> before = {setting("youxiu"), setting("lianghao"),
                                             setting("jige")};
    b.type("excellentEdit", c.excellent);
    b.type("goodEdit", c.good);
    b.type("passEdit", c.pass);
    b.click("saveLevelsButton");
    EXPECT_EQ(b.message(), c.message);
    const std::vector<std::string> after = {setting("youxiu"), setting("lianghao"),
                                            setting("jige")};
    const auto cache = server.context().settings().get();
    EXPECT_EQ((std::vector<std::string>{cache->excellent, cache->good, cache->pass}), after);
    if (c.message.starts_with("已保存")) {
      EXPECT_EQ(after, (std::vector<std::string>{
                           b.control<web::Edit>("excellentEdit").Text,
                           b.control<web::Edit>("goodEdit").Text,
                           b.control<web::Edit>("passEdit").Text,
                       }));
      EXPECT_NE(after, before);
    } else {
      EXPECT_EQ(after, before);
    }
  }
  EXPECT_EQ(setting("youxiu"), "88");
  EXPECT_EQ(setting("lianghao"), "75");
  EXPECT_EQ(setting("jige"), "-1");
}

TEST_F(ExamsPageTest, ANewExamBecomesTheDefault) {
  auto b = open();
  b.type("examEdit", "  Midterm 2024 ");
  b.click("examAddButton");
  EXPECT_EQ(b.message(), "");
  expectExams(b, {"期中", "期末", "Midterm 2024"});
  EXPECT_EQ(setting("mrtest"), "Midterm 2024");
  EXPECT_EQ(b.user().login.defaultExam, "Midterm 2024");
  EXPECT_EQ(b.control<web::Edit>("examEdit").Text, "");

  const std::vector<std::pair<std::string, std::string>> refused = {
      {"MIDTERM 2024", "项目已存在，请检查后修改！"},
      {"", "不能添加空字符串"},
      {"   ", "不能添加空字符串"},
  };
  for (const auto& [typed, message] : refused) {
    SCOPED_TRACE(typed);
    b.type("examEdit", typed);
    b.click("examAddButton");
    EXPECT_EQ(b.message(), message);
    expectExams(b, {"期中", "期末", "Midterm 2024"});
    EXPECT_EQ(setting("mrtest"), "Midterm 2024");
    EXPECT_EQ(b.control<web::Edit>("examEdit").Text, typed);
  }
}

TEST_F(ExamsPageTest, DeletesOnlyExamsThatAreNotDefaultAndHaveNoScores) {
  addScore("期中");
  store::writeListSetting(server.db(), store::key::kExams, {"期中", "期末", "月考"});
  auto b = open();
  b.click("examGrid", "2_1");  // the default, without scores
  EXPECT_EQ(b.message(), "您不能删除默认考试项目，请先修改默认考试项目再删除！");
  b.click("examGrid", "1_1");  // has a score
  EXPECT_EQ(b.message(),
            "还有该考试项目的成绩信息，请先删除对应的成绩信息，然后才能删除考试项目！");
  expectExams(b, {"期中", "期末", "月考"});
  b.click("examGrid", "3_1");
  EXPECT_EQ(b.message(), "");
  expectExams(b, {"期中", "期末"});
  EXPECT_EQ(setting("mrtest"), "期末");
}

TEST_F(ExamsPageTest, AnExamAnotherSessionMadeTheDefaultStays) {
  auto b = open();
  auto other = open();
  other.type("examEdit", "新考试");
  other.click("examAddButton");
  b.type("examEdit", "我的考试");  // this session's own default changes too
  b.click("examAddButton");
  other.type("examEdit", "再一次");
  other.click("examAddButton");
  b.type("examEdit", "期中");  // refused, but the page shows the stored list from now on
  b.click("examAddButton");
  expectExams(b, {"期中", "期末", "新考试", "我的考试", "再一次"});
  b.click("examGrid", "5_1");  // 再一次 is not this session's default, but the stored one
  EXPECT_EQ(b.message(), "您不能删除默认考试项目，请先修改默认考试项目再删除！");
  expectExams(b, {"期中", "期末", "新考试", "我的考试", "再一次"});
  b.click("examGrid", "3_1");  // 新考试: another session's earlier exam, no longer a default
  expectExams(b, {"期中", "期末", "我的考试", "再一次"});
}

TEST_F(ExamsPageTest, KeepsAtMostTwelveSubjects) {
  auto b = open();
  Items expected = {"数学", "语文", "英语"};
  for (int i = 4; i <= 12; ++i) {
    const std::string subject = "Subject " + std::to_string(i);
    b.type("subjectEdit", subject);
    b.click("subjectAddButton");
    expected.push_back(subject);
    EXPECT_EQ(b.control<web::Edit>("subjectEdit").Text, "");
  }
  expectSubjects(b, expected);
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"物理", "系统最多可以管理12个科目"},
      {"subject 4", "科目已存在，请检查后修改！"},
      {"  ", "不能添加空字符串"},
  };
  for (const auto& [typed, message] : refused) {
    SCOPED_TRACE(typed);
    b.type("subjectEdit", typed);
    b.click("subjectAddButton");
    EXPECT_EQ(b.message(), message);
    expectSubjects(b, expected);
    EXPECT_EQ(b.control<web::Grid>("subjectGrid").rowCount(), 13);
  }
}

TEST_F(ExamsPageTest, RefusesSubjectsDifferingOnlyInLetterCase) {
  auto b = open();
  b.type("subjectEdit", "Physics");
  b.click("subjectAddButton");
  b.type("subjectEdit", "PHYSICS");
  b.click("subjectAddButton");
  EXPECT_EQ(b.message(), "科目已存在，请检查后修改！");
  expectSubjects(b, {"数学", "语文", "英语", "Physics"});
}

TEST_F(ExamsPageTest, TwoSessionsAddingExamsKeepBoth) {
  auto first = open();
  auto second = open();
  first.type("examEdit", "甲");
  first.click("examAddButton");
  second.type("examEdit", "乙");
  second.click("examAddButton");
  expectExams(second, {"期中", "期末", "甲", "乙"});
  EXPECT_EQ(setting("mrtest"), "乙");
}

TEST_F(ExamsPageTest, OnlyAdministratorsChangeTheSettings) {
  struct Action {
    std::string name;
    std::function<void(BrowserSession&)> act;
  };
  const std::vector<Action> actions = {
      {"levels",
       [](BrowserSession& b) {
         b.type("excellentEdit", "99");
         b.click("saveLevelsButton");
       }},
      {"add boundary",
       [](BrowserSession& b) {
         b.type("bandEdit", "70");
         b.click("bandAddButton");
       }},
      {"delete boundary", [](BrowserSession& b) { b.click("bandGrid", "1_2"); }},
      {"add exam",
       [](BrowserSession& b) {
         b.type("examEdit", "新");
         b.click("examAddButton");
       }},
      {"delete exam", [](BrowserSession& b) { b.click("examGrid", "1_1"); }},
      {"add subject",
       [](BrowserSession& b) {
         b.type("subjectEdit", "物理");
         b.click("subjectAddButton");
       }},
  };
  const auto snapshot = [this] {
    std::string all;
    for (const auto k : {"youxiu", "fenshuduan", "ks", "mrtest", "km"}) all += setting(k) + "|";
    return all;
  };
  const std::string before = snapshot();
  for (const std::string rights : {"2", "3", "4", "5", ""}) {
    // Opened by an administrator, then acted on under another code: the handlers check too.
    auto b = open("0");
    b.user().login.rights = pages::parseRightsCode(rights);
    for (const auto& action : actions) {
      SCOPED_TRACE(action.name + " by [" + rights + "]");
      action.act(b);
      EXPECT_EQ(b.message(), pages::kNoRightsMessage);
      EXPECT_EQ(snapshot(), before);
    }
  }
  auto admin = open("1");
  for (const auto& action : actions) {
    SCOPED_TRACE(action.name + " by [1]");
    action.act(admin);
    EXPECT_NE(admin.message(), pages::kNoRightsMessage);
  }
  EXPECT_NE(snapshot(), before);
}

}  // namespace
}  // namespace zeziza::testing

// The office switches the default exam, adds a subject or sets 统考模式 while colleagues are
// signed in: their next action uses the settings as stored then, never the ones read at sign-in.
#include <gtest/gtest.h>

#include <functional>

#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "pages/master/exams.h"
#include "pages/system/accounts.h"
#include "tests/pages/entry/entry_fixture.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

constexpr const char* kSwitched = "默认考试已改为“期末”，请确认后重新操作。";
constexpr const char* kWithdrawn = "您的账号已被删除，或权限、密码已变更，请重新登录。";

class DefaultExamSwitchTest : public EntryTest {
 protected:
  void SetUp() override {
    addUser(server, "boss", "boss pw", 0);
    addUser(server, "lead", "lead pw", 2);
    setSetting(server, store::key::kExams, "期中\r\n期末\r\n");
    setSetting(server, store::key::kDefaultExam, kExam);
    setSetting(server, store::key::kGrades, "七年级\r\n八年级\r\n");
    testing::signIn(boss, "boss", "boss pw");
    testing::signIn(lead, "lead", "lead pw");
  }

  // The head of office makes 期末 the default on the accounts page.
  void switchToFinal() {
    boss.showPage<pages::AccountsPage>();
    boss.choose("examBox", "期末");
    boss.click("examBox");
    ASSERT_EQ(readDefault(), "期末");
  }
  std::string readDefault() { return store::readSetting(server.db(), store::key::kDefaultExam); }
  std::string shownExam() { return lead.control<web::Label>("examCaption").Caption; }

  BrowserSession boss = server.browser();
  BrowserSession lead = server.browser();
};

// Every writing action of the entry pages, made on a page opened before the switch: refused,
// nothing written, the page shows 期末, and the same action made again lands in 期末.
TEST_F(DefaultExamSwitchTest, AWriteOnAPageShowingTheOldExamIsRefusedThenGoesToTheNewOne) {
  struct Case {
    const char* what;
    std::function<void(BrowserSession&)> open;  // before the switch
    std::function<void(BrowserSession&)> act;   // after it, twice
  };
  const Case cases[] = {
      {"direct entry", [](BrowserSession& b) { b.showPage<pages::ScoreEntryPage>(); },
       [](BrowserSession& b) {
         b.choose("directSubjectBox", "数学");
         b.type("directNumberEdit", "801");
         b.type("directScoreEdit", "81.5");
         b.click("directEnterButton");
       }},
      {"computed entry",
       [](BrowserSession& b) {
         b.showPage<pages::ScoreEntryPage>();
         b.click("computedModeLink");
       },
       [](BrowserSession& b) {
         b.type("fullMarkEdit", "100");
         b.choose("computedSubjectBox", "数学");
         b.type("computedNumberEdit", "801");
         b.type("deductionsMemo", "18.5");
         b.click("computedEnterButton");
       }},
      {"class grid",
       [](BrowserSession& b) {
         b.showPage<pages::ClassGridEntryPage>();
         b.choose("subjectBox", "数学");
         b.click("loadButton");
       },
       [](BrowserSession& b) {
         b.type("scoreBox1", "81.5");
         b.click("saveButton");
       }},
      {"one subject import", [](BrowserSession& b) { b.showPage<pages::BatchImportPage>(); },
       [](BrowserSession& b) {
         b.choose("subjectBox", "数学");
         b.type("numbersMemo", "801");
         b.type("scoresMemo", "81.5");
         b.click("importButton");
       }},
      {"several subjects import", [](BrowserSession& b) { b.showPage<pages::BatchImportPage>(); },
       [](BrowserSession& b) {
         b.type("tableMemo", "考号\t数学\n801\t81.5");
         b.click("tableButton");
       }},
  };
  addStudent("801", "张三");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.db().exec("delete from cj");
    setSetting(server, store::key::kDefaultExam, kExam);
    putRow("801", {66}, 66, 66);
    c.open(lead);
    ASSERT_EQ(shownExam(), "期中");
    switchToFinal();

    c.act(lead);
    EXPECT_EQ(lead.message(), kSwitched);
    EXPECT_EQ(shownExam(), "期末");
    EXPECT_EQ(rowOf("801")->scores[0], 66);
    EXPECT_EQ(rowCount(), 1);

    c.act(lead);
    EXPECT_NE(lead.message(), kSwitched);
    EXPECT_EQ(rowOf("801")->scores[0], 66);
    ASSERT_TRUE(rowOf("801", "期末"));
    EXPECT_EQ(rowOf("801", "期末")->scores[0], 81.5);
  }
}

// The reported case: the 期末 sheet of 100 students imported on a page opened under 期中.
TEST_F(DefaultExamSwitchTest, TheFinalSheetDoesNotOverwriteTheMidtermScores) {
  std::string sheet = "考号\t数学\t语文";
  for (int i = 1; i <= 100; ++i) {
    const std::string number = std::to_string(1000 + i);
    addStudent(number, "学生" + std::to_string(i));
    putRow(number, {60, 70}, 130, 65);
    sheet += "\n" + number + "\t90\t95";
  }
  lead.click("importModeLink");
  ASSERT_EQ(lead.pageClass(), "BatchImportPage");
  ASSERT_EQ(shownExam(), "期中");
  switchToFinal();
  lead.type("tableMemo", sheet);
  lead.click("tableButton");
  EXPECT_EQ(lead.message(), kSwitched);
  EXPECT_EQ(shownExam(), "期末");
  EXPECT_EQ(scalar(server, "select count(*) from cj where ks='期中' and k1=60 and k2=70"), "100");
  EXPECT_EQ(rowCount(), 100);
  // The sheet is still there to import into 期末 once the user has seen the switch.
  lead.click("tableButton");
  EXPECT_EQ(scalar(server, "select count(*) from cj where ks='期末' and k1=90 and k2=95"), "100");
  EXPECT_EQ(scalar(server, "select count(*) from cj where ks='期中' and k1=60 and k2=70"), "100");
}

// The grid keeps what was typed after the refusal, while the boxes not typed into show the
// new exam's scores: saving again does not copy 期中 scores into 期末.
TEST_F(DefaultExamSwitchTest, TheGridShowsTheNewExamsScoresAndKeepsWhatWasTyped) {
  addStudent("801", "张三");
  addStudent("802", "李四");
  addStudent("803", "王五");
  putRow("801", {66}, 66, 66);
  putRow("802", {77}, 77, 77);
  putRow("803", {55}, 55, 55, "期末");
  lead.showPage<pages::ClassGridEntryPage>();
  lead.choose("subjectBox", "数学");
  lead.click("loadButton");
  ASSERT_EQ(lead.control<web::Edit>("scoreBox2").Text, "77");
  switchToFinal();
  lead.type("scoreBox1", "88");
  lead.click("saveButton");
  EXPECT_EQ(lead.message(), kSwitched);
  EXPECT_EQ(lead.control<web::Edit>("scoreBox1").Text, "88");
  EXPECT_EQ(lead.control<web::Edit>("scoreBox2").Text, "");
  EXPECT_EQ(lead.control<web::Edit>("scoreBox3").Text, "55");
  lead.click("saveButton");
  EXPECT_EQ(rowOf("801", "期末")->scores[0], 88);
  EXPECT_FALSE(rowOf("802", "期末"));
  EXPECT_EQ(rowOf("803", "期末")->scores[0], 55);
  EXPECT_EQ(rowOf("802")->scores[0], 77);
}

// Pages opened after the switch show it: the entry page's header and the navigation bar.
TEST_F(DefaultExamSwitchTest, TheNextPageShowsTheNewDefaultExam) {
  auto viewer = server.browser();
  addUser(server, "viewer", "viewer pw", 4);
  testing::signIn(viewer, "viewer", "viewer pw");
  switchToFinal();
  lead.click("gridModeLink");
  EXPECT_EQ(shownExam(), "期末");
  EXPECT_EQ(lead.message(), "");
  viewer.showPage<pages::RankingPage>();
  EXPECT_EQ(viewer.control<web::ComboBox>("examBox").text(), "期末");
  EXPECT_NE(viewer.last().html.find("期末 ·"), std::string::npos);
}

// A subject added after sign-in reaches the query of a signed-in user at the next page.
TEST_F(DefaultExamSwitchTest, ASubjectAddedAfterSignInIsQueriedFromTheNextPage) {
  addStudent("801", "张三");
  putRow("801", {66, 0, 0, 93}, 159, 79.5);
  boss.showPage<pages::ExamsPage>();
  boss.type("subjectEdit", "物理");
  boss.click("subjectAddButton");
  ASSERT_EQ(boss.message(), "");
  auto& viewer = boss;  // the super administrator signed in before the subject was added
  viewer.click("navigationBar.queryLink");
  viewer.click("queryButton");
  EXPECT_EQ(viewer.message(), "");
  EXPECT_NE(viewer.last().html.find(">物理<"), std::string::npos);
  EXPECT_NE(viewer.last().html.find(">93<"), std::string::npos);
}

// 统考模式 shuts class teachers out at once; other roles go on.
TEST_F(DefaultExamSwitchTest, UnifiedModeEndsTheClassTeachersSessions) {
  addUser(server, "teacher", "teacher pw", 5, "中心校区", "七年级", "一班");
  addStudent("801", "张三");
  auto teacher = server.browser();
  testing::signIn(teacher, "teacher", "teacher pw");
  ASSERT_EQ(teacher.pageClass(), "ScoreEntryPage");
  boss.showPage<pages::AccountsPage>();
  boss.choose("modeBox", "统考模式");
  boss.click("modeBox");
  for (BrowserSession* b : {&teacher, &lead}) {
    b->choose("directSubjectBox", "数学");
    b->type("directNumberEdit", "801");
    b->type("directScoreEdit", "70");
    b->click("directEnterButton");
  }
  EXPECT_EQ(teacher.message(), kWithdrawn);
  EXPECT_EQ(teacher.pageClass(), "LoginPage");
  EXPECT_EQ(lead.message(), "");
  EXPECT_EQ(rowOf("801")->scores[0], 70);  // the supervisor's, not the teacher's
  EXPECT_EQ(scalar(server, "select count(*) from score_history"), "1");
  testing::signIn(teacher, "teacher", "teacher pw");
  EXPECT_EQ(teacher.message(), "统考模式下您不能登录");
}

}  // namespace
}  // namespace zeziza::testing

// 【删除本次考试成绩】 on the exams page: the super administrator deletes an exam's scores as a
// whole, named and counted, confirmed by typing the exam's name, after a backup and with every
// score kept in the history; then the exam itself can be deleted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/common/rights.h"
#include "pages/master/exams.h"
#include "store/database.h"
#include "store/settings.h"
#include "store/statement.h"
#include "tests/pages/common/sign_in.h"
#include "tests/support/page_driver.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::testing {
namespace {

constexpr const char* kQuestion =
    "考试“期中”共有3条成绩记录，将全部删除（删除前先备份数据）。请输入考试名称“期中”确认：";

class ExamScoresTest : public ::testing::Test {
 protected:
  ExamScoresTest() {
    store::writeListSetting(server.db(), store::key::kExams, {"期中", "期末"});
    store::writeSetting(server.db(), store::key::kDefaultExam, "期末");
    for (int i = 1; i <= 3; ++i) {
      const std::int64_t bh = addStudent(std::to_string(800 + i));
      addScore("期中", bh, 60 + i, 70);
      if (i == 1) addScore("期末", bh, 90, 0);
    }
    b.user().login.userName = "boss";
    b.user().login.rights = 0;
    b.user().login.exams = {"期中", "期末"};
    b.user().login.defaultExam = "期末";
    b.showPage<pages::ExamsPage>();
  }

  std::int64_t addStudent(const std::string& number) {
    server.db().exec("insert into ks (id, xm) values (?, '学生')", {number});
    return server.db().lastInsertId();
  }
  void addScore(const std::string& exam, std::int64_t bh, double k1, double k2) {
    server.db().exec("insert into cj (ks, kh, k1, k2, zf, pj, test) values (?, ?, ?, ?, ?, ?, ?)",
                     {exam, bh, k1, k2, k1 + k2, (k1 + k2) / 2, exam + "!&" + std::to_string(bh)});
  }
  std::string rows(const std::string& exam) {
    return scalar(server, "select count(*) from cj where ks=?", {exam});
  }
  void ask(const std::string& exam) {
    b.choose("scoresExamBox", exam);
    b.click("deleteScoresLink");
  }
  void confirm(const std::string& typed) {
    b.type("deleteScoresNameEdit", typed);
    b.click("deleteScoresButton");
  }
  bool asking() { return b.control<web::Region>("deleteScoresPanel").Visible; }
  std::size_t backups() { return server.context().listBackups().size(); }

  TestServer server;
  BrowserSession b = server.browser();
};

// Asked for, named and counted; a wrong name deletes nothing; the right one deletes after a
// backup that still holds the rows, and the exam can then be deleted.
TEST_F(ExamScoresTest, TheTypedNameConfirmsABackedUpDeletionAndTheExamCanGo) {
  b.click("examGrid", "1_1");
  ASSERT_EQ(b.message(),
            "还有该考试项目的成绩信息，请先删除对应的成绩信息，然后才能删除考试项目！");
  EXPECT_FALSE(asking());
  ask("期中");
  EXPECT_EQ(b.message(), "");
  ASSERT_TRUE(asking());
  EXPECT_EQ(b.control<web::Label>("deleteScoresQuestion").Caption, kQuestion);

  const std::size_t before = backups();
  for (const char* wrong : {"", "期末", "期中 ", "期"}) {
    SCOPED_TRACE(wrong);
    confirm(wrong);
    EXPECT_EQ(b.message(), "输入的考试名称与“期中”不符，没有删除任何成绩");
    EXPECT_EQ(rows("期中"), "3");
    EXPECT_TRUE(asking());
  }
  EXPECT_EQ(backups(), before);

  confirm("期中");
  EXPECT_EQ(b.message(),
            "已删除考试“期中”的3条成绩记录（删除前已备份数据），现在可以删除该考试项目");
  EXPECT_EQ(rows("期中"), "0");
  EXPECT_EQ(rows("期末"), "1");
  EXPECT_FALSE(asking());
  ASSERT_EQ(backups(), before + 1);
  {
    store::Database backup(server.context().listBackups().back(), store::Database::Mode::ReadOnly);
    store::Statement count(backup, "select count(*) from cj where ks='期中'");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.column(0).asInt(), 3);
  }
  // Every score deleted is in the history, under the administrator and this page.
  EXPECT_EQ(scalar(server,
                   "select count(*) from score_history where exam='期中' and new_value=0 "
                   "and user_name='boss' and page='ExamsPage'"),
            "6");
  EXPECT_EQ(scalar(server,
                   "select group_concat(old_value) from (select old_value from "
                   "score_history where subject_position=1 order by old_value)"),
            "61.0,62.0,63.0");

  b.click("examGrid", "1_1");
  EXPECT_EQ(b.message(), "");
  EXPECT_EQ(store::readListSetting(server.db(), store::key::kExams),
            std::vector<std::string>{"期末"});
}

// Scores entered between the question and the confirmation: the count named is no longer
// what would be deleted, so nothing is, and the question is asked again with the new count.
TEST_F(ExamScoresTest, ACountChangedSinceTheQuestionDeletesNothing) {
  ask("期中");
  addScore("期中", addStudent("804"), 50, 50);
  confirm("期中");
  EXPECT_EQ(b.message(), "考试“期中”的成绩记录已变为4条，没有删除任何成绩，请重新确认");
  EXPECT_EQ(rows("期中"), "4");
  EXPECT_EQ(scalar(server, "select count(*) from score_history"), "0");
  EXPECT_NE(b.control<web::Label>("deleteScoresQuestion").Caption.find("共有4条"),
            std::string::npos);
  confirm("期中");
  EXPECT_EQ(rows("期中"), "0");
}

TEST_F(ExamScoresTest, AnExamWithoutScoresOrNoneChosenIsToldSo) {
  server.db().exec("delete from cj where ks='期末'");
  ask("期末");
  EXPECT_EQ(b.message(), "考试“期末”没有成绩记录");
  EXPECT_FALSE(asking());
  b.showPage<pages::ExamsPage>();
  b.click("deleteScoresLink");
  EXPECT_EQ(b.message(), "请先选择要删除成绩的考试");
  ask("期中");
  b.click("deleteScoresCancelLink");
  EXPECT_FALSE(asking());
  EXPECT_EQ(rows("期中"), "3");
}

// Only the super administrator sees the section, and its handlers check the rights too.
TEST_F(ExamScoresTest, OnlyTheSuperAdministratorDeletesScores) {
  auto admin = server.browser();
  admin.user().login.rights = 1;
  admin.user().login.exams = {"期中", "期末"};
  admin.showPage<pages::ExamsPage>();
  EXPECT_FALSE(admin.control<web::Region>("ExamScoresSection").Visible);
  EXPECT_EQ(admin.last().html.find("删除本次考试成绩"), std::string::npos);

  ask("期中");
  b.user().login.rights = 1;
  confirm("期中");
  EXPECT_EQ(b.message(), pages::kNoRightsMessage);
  EXPECT_EQ(rows("期中"), "3");
}

}  // namespace
}  // namespace zeziza::testing

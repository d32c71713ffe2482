#include "pages/entry/batch_import.h"

#include <gtest/gtest.h>

#include "pages/common/rights.h"
#include "store/scale_settings.h"
#include "tests/pages/entry/entry_fixture.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

using pages::BatchImportPage;

class BatchImportTest : public EntryTest {
 protected:
  BatchImportTest() {
    for (const char* n : {"801", "802", "803", "804", "805", "806", "807"}) addStudent(n, "学生");
  }
  void open(const std::string& code = "2") {
    signIn(b, code, "boss");
    b.showPage<BatchImportPage>();
  }
  void import(const std::string& subject, const std::string& numbers, const std::string& scores) {
    if (!subject.empty()) b.choose("subjectBox", subject);
    b.type("numbersMemo", numbers);
    b.type("scoresMemo", scores);
    b.click("importButton");
  }
  std::vector<std::string> lines(const std::string& memo) {
    return b.control<web::Memo>(memo).Lines;
  }

  BrowserSession b = server.browser();
};

// The checks in their order: the first that fails is the only message, nothing is written.
TEST_F(BatchImportTest, ChecksRunInOrderAndWriteNothing) {
  const struct {
    const char* what;
    const char* subject;
    const char* numbers;
    const char* scores;
    const char* message;
  } cases[] = {
      {"no subject", "", "801\n802", "1", "请选择录入成绩的科目"},
      {"line counts differ", "数学", "999\n998\n997", "x\ny",
       "考号[学号]的数量与学生姓名个数不相符，不能导入"},
      {"empty number lines", "数学", "801\n802\n\n998\n805\n806\n \n", "1\n2\n3\n4\n5\n6\n7",
       "考号[学号]不能有空值，操作失败  |3|7行为空"},
      {"unknown numbers", "数学", "801\n999\n802\n998", "x\n\n1\n2",
       "学生编号不存在，操作失败  |999|998不存在"},
      {"a number with a blank around it", "数学", " 801\n802", "1\n2",
       "学生编号不存在，操作失败  | 801不存在"},
      {"empty score lines", "数学", "801\n802\n803\n804\n805", "1\n\n3\n4\n \n",
       "分数不能有空值，操作失败  |2|5行为空"},
      {"scores that are not numbers", "数学", "801\n802\n803", "90\n8O\n1,5",
       "分数值非法，操作失败  |2“8O”|3“1,5”行非法，请输入数字，如 85 或 85.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    open();
    import(c.subject, c.numbers, c.scores);
    EXPECT_EQ(b.message(), c.message);
    EXPECT_FALSE(lines("scoresMemo").empty());  // the pasted scores stay for correction
  }
  EXPECT_EQ(rowCount(), 0);
}

TEST_F(BatchImportTest, ImportingTwiceStoresTheSameScores) {
  putRow("802", {0, 75}, 75, 75);
  putRow("803", {60}, 60, 60);
  open();
  EXPECT_EQ(b.control<web::Label>("userCaption").Caption, "boss[主管]");
  EXPECT_EQ(b.control<web::Label>("examCaption").Caption, "期中");
  const char* told[] = {"操作成功！写入3个成绩，删除1个，未变0个",
                        "操作成功！写入0个成绩，删除0个，未变4个"};
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    import("语文", "801\r\n802\r\n803\r\n804\r\n", "88\r\n0\r\n６５分\r\n 92.5 \r\n");
    EXPECT_EQ(b.message(), told[round]);
    EXPECT_EQ(lines("numbersMemo"), (std::vector<std::string>{"801", "802", "803", "804"}));
    EXPECT_TRUE(lines("scoresMemo").empty());
    EXPECT_EQ(rowOf("801")->scores, scores({0, 88}));
    EXPECT_FALSE(rowOf("802"));  // 0 took the only score, as on every entry path
    EXPECT_EQ(rowOf("803")->scores, scores({60, 65}));
    EXPECT_DOUBLE_EQ(rowOf("803")->zf, 125);
    EXPECT_EQ(rowOf("804")->scores, scores({0, 92.5}));
    EXPECT_EQ(rowCount(), 3);
  }
  // The next subject for the same students: the numbers are still there.
  b.choose("subjectBox", "英语");
  b.type("scoresMemo", "70\n71\n72\n73");
  b.click("importButton");
  EXPECT_EQ(b.message(), "操作成功！写入4个成绩，删除0个，未变0个");
  EXPECT_EQ(rowOf("801")->scores, scores({0, 88, 70}));
  EXPECT_DOUBLE_EQ(rowOf("801")->pj, 79);
}

TEST_F(BatchImportTest, AStoreFailureWritesNothingOfTheImport) {
  putRow("801", {0, 50}, 50, 50);
  server.db().execScript(
      "CREATE TRIGGER refuse BEFORE INSERT ON cj WHEN new.kh = 3 "
      "BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
  open();
  import("语文", "801\n802\n803\n804", "60\n70\n80\n90");
  EXPECT_EQ(b.message(), "操作错误,指令没有完成");
  EXPECT_EQ(rowOf("801")->scores, scores({0, 50}));
  EXPECT_EQ(rowCount(), 1);
  EXPECT_FALSE(lines("scoresMemo").empty());
}

// Several subjects pasted with their heading line: columns in any order, written in one go.
TEST_F(BatchImportTest, ASpreadsheetBlockOfSeveralSubjectsIsImportedWhole) {
  putRow("802", {0, 75}, 75, 75);
  open();
  b.type("tableMemo", "英语\t考号\t数学\r\n70\t801\t90\r\n0\t802\t80.5\r\n\r\n");
  b.click("tableButton");
  EXPECT_EQ(b.message(), "操作成功！写入3个成绩，删除0个，未变1个");
  EXPECT_TRUE(lines("tableMemo").empty());
  EXPECT_EQ(rowOf("801")->scores, scores({90, 0, 70}));
  EXPECT_DOUBLE_EQ(rowOf("801")->zf, 160);
  EXPECT_EQ(rowOf("802")->scores, scores({80.5, 75}));  // 0 where 英语 had none: unchanged
  EXPECT_EQ(rowCount(), 2);
}

// The one-subject import's checks over every line and column; nothing is written.
TEST_F(BatchImportTest, ASpreadsheetBlockIsCheckedBeforeAnythingIsWritten) {
  const struct {
    const char* what;
    const char* block;
    const char* message;
  } cases[] = {
      {"no rows", "考号\t数学\n", "请粘贴带有首行列名（考号和科目）的成绩表，至少一行成绩"},
      {"no number column", "学生\t数学\n801\t90", "首行的列名“学生”不是考号，也不是已设置的科目"},
      {"an unknown subject", "考号\t物理\n801\t90", "首行的列名“物理”不是考号，也不是已设置的科目"},
      {"a subject twice", "考号\t数学\t数学\n801\t90\t91", "科目“数学”在首行出现了两次"},
      {"only numbers", "考号\n801", "首行没有列出要导入的科目"},
      {"ragged lines", "考号\t数学\n801\t90\n802\n803\t1\t2", "列数与首行不一致，操作失败  |3|4行"},
      {"an empty number", "考号\t数学\n801\t90\n \t80", "考号[学号]不能有空值，操作失败  |3行为空"},
      {"unknown numbers", "考号\t数学\n999\t90\n801\t80", "学生编号不存在，操作失败  |999不存在"},
      {"invalid scores", "考号\t语文\n801\t8O\n802\t1,5",
       "分数值非法，操作失败  |2语文“8O”|3语文“1,5”非法，请输入数字，如 85 或 85.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    open();
    b.type("tableMemo", c.block);
    b.click("tableButton");
    EXPECT_EQ(b.message(), c.message);
    EXPECT_FALSE(lines("tableMemo").empty());  // the pasted block stays for correction
  }
  EXPECT_EQ(rowCount(), 0);
}

// Roster columns come along when a score table is copied whole: they are passed over with a
// note. A blank cell is no score for that subject: the stored one goes, as for 0.
TEST_F(BatchImportTest, ASpreadsheetBlockPassesOverRosterColumnsAndBlankCells) {
  putRow("802", {70}, 70, 70);
  open();
  b.type("tableMemo",
         "考号\t姓名\t班级\t数学\t语文\n801\t学生\t一班\t90\t\n802\t学生\t一班\t\t80\n"
         "803\t学生\t一班\t \t\n");
  b.click("tableButton");
  EXPECT_EQ(b.message(), "操作成功！写入2个成绩，删除1个，未变3个（姓名、班级列未导入）");
  EXPECT_EQ(rowOf("801")->scores, scores({90}));
  EXPECT_EQ(rowOf("802")->scores, scores({0, 80}));
  EXPECT_FALSE(rowOf("803"));
  EXPECT_EQ(rowCount(), 2);
}

// Both imports: a score above its subject's full mark (or not finite) is listed with the
// student's number, name, subject and value, and nothing of the import is written.
TEST_F(BatchImportTest, ScoresAboveTheFullMarkRefuseTheWholeImport) {
  store::storeFullMarkTexts(server.db(), {"100", "150"});
  putRow("801", {50}, 50, 50);
  open();
  import("语文", "801\n802\n803", "151\n150\n1e308");
  EXPECT_EQ(b.message(),
            "以下成绩不能录入，操作失败：\n801 学生 语文 151 超过满分150\n"
            "803 学生 语文 1E308 超过满分150");
  EXPECT_FALSE(lines("scoresMemo").empty());
  b.type("tableMemo", "考号\t数学\t语文\n801\t100.5\t150\n802\t90\t90");
  b.click("tableButton");
  EXPECT_EQ(b.message(), "以下成绩不能录入，操作失败：\n801 学生 数学 100.5 超过满分100");
  EXPECT_EQ(rowOf("801")->scores, scores({50}));
  EXPECT_EQ(rowCount(), 1);
}

TEST_F(BatchImportTest, AStoreFailureWritesNothingOfASpreadsheetBlock) {
  server.db().execScript(
      "CREATE TRIGGER refuse BEFORE INSERT ON cj WHEN new.kh = 3 "
      "BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
  open();
  b.type("tableMemo", "考号\t数学\t语文\n801\t1\t2\n802\t3\t4\n803\t5\t6");
  b.click("tableButton");
  EXPECT_EQ(b.message(), "操作错误,指令没有完成");
  EXPECT_EQ(rowCount(), 0);
}

TEST_F(BatchImportTest, OnlySupervisorsImport) {
  for (const char* code : {"3", "5", "0"}) {
    SCOPED_TRACE(code);
    open(code);
    EXPECT_EQ(b.message(), pages::kNoPageRightsMessage);
    EXPECT_FALSE(b.page().find("importButton")->effectivelyVisible());
    auto form = b.formFor("");
    setField(form, "IW_Action", "importbutton");
    setField(form, "numbersmemo", "801");
    setField(form, "scoresmemo", "90");
    setField(form, "subjectbox", "0");
    b.post(form);
    auto table = b.formFor("");
    setField(table, "IW_Action", "tablebutton");
    setField(table, "tablememo", "考号\t数学\n801\t90");
    b.post(table);
    b.click("backLink");
    EXPECT_EQ(b.pageClass(), "ScoreEntryPage");
  }
  EXPECT_EQ(rowCount(), 0);
}

}  // namespace
}  // namespace zeziza::testing

// Every path that changes a score leaves its history rows, in the same transaction.
#include "store/score_history.h"

#include <gtest/gtest.h>

#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "tests/pages/entry/entry_fixture.h"

namespace zeziza::testing {
namespace {

struct Change {
  std::string user;
  int subject;
  double oldValue;
  double newValue;
  std::string page;
  bool operator==(const Change&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Change& c) {
  return out << c.user << " k" << c.subject << " " << c.oldValue << "→" << c.newValue << " "
             << c.page;
}

class ScoreHistoryTest : public EntryTest {
 protected:
  ScoreHistoryTest() {
    key801 = addStudent("801", "张三");
    key802 = addStudent("802", "李四");
  }
  // The history of one student in the default exam, newest first.
  std::vector<Change> historyOf(std::int64_t student) {
    std::vector<Change> out;
    for (const auto& e : store::readScoreHistory(server.db(), kExam, student)) {
      out.push_back({e.change.userName, e.change.subjectPosition, e.change.oldValue,
                     e.change.newValue, e.change.page});
    }
    return out;
  }
  void direct(const std::string& subject, const std::string& number, const std::string& score) {
    b.choose("directSubjectBox", subject);
    b.type("numberPrefixEdit", "");
    b.type("directNumberEdit", number);
    b.type("directScoreEdit", score);
    b.click("directEnterButton");
  }

  std::int64_t key801 = 0;
  std::int64_t key802 = 0;
  BrowserSession b = server.browser();
};

TEST_F(ScoreHistoryTest, DirectComputedAndDeleteOnTheEntryPage) {
  signIn(b, "2", "boss");
  b.showPage<pages::ScoreEntryPage>();
  direct("数学", "801", "80");
  direct("数学", "801", "85");
  b.click("computedModeLink");  // computed entry
  b.choose("computedSubjectBox", "语文");
  b.type("fullMarkEdit", "100");
  b.type("computedNumberEdit", "801");
  b.type("deductionsMemo", "5\n3");
  b.click("computedEnterButton");
  b.click("deleteLastLink");  // deletes the last score shown: 语文
  EXPECT_EQ(historyOf(key801), (std::vector<Change>{{"boss", 2, 92, 0, "ScoreEntryPage"},
                                                    {"boss", 2, 0, 92, "ScoreEntryPage"},
                                                    {"boss", 1, 80, 85, "ScoreEntryPage"},
                                                    {"boss", 1, 0, 80, "ScoreEntryPage"}}));
}

TEST_F(ScoreHistoryTest, ARowLeftWithoutAValidScoreIsRecordedBeforeItGoes) {
  signIn(b, "2", "boss");
  b.showPage<pages::ScoreEntryPage>();
  direct("英语", "802", "70");
  direct("英语", "802", "0");
  EXPECT_EQ(b.message(), "该学生已经没有有效成绩");
  EXPECT_FALSE(rowOf("802"));
  EXPECT_EQ(historyOf(key802), (std::vector<Change>{{"boss", 3, 70, 0, "ScoreEntryPage"},
                                                    {"boss", 3, 0, 70, "ScoreEntryPage"}}));
}

TEST_F(ScoreHistoryTest, TheClassGridRecordsOnlyWhatItChanged) {
  putRow("801", scores({0, 60}), 60, 60);
  signIn(b, "2", "lead");
  b.showPage<pages::ClassGridEntryPage>();
  b.choose("unitBox", "中心校区");
  b.choose("gradeBox", "七年级");
  b.choose("classBox", "一班");
  b.choose("subjectBox", "语文");
  b.click("loadButton");
  b.type("scoreBox1", "60");  // unchanged: no history row
  b.type("scoreBox2", "75");
  b.click("saveButton");
  EXPECT_TRUE(historyOf(key801).empty());
  EXPECT_EQ(historyOf(key802), (std::vector<Change>{{"lead", 2, 0, 75, "ClassGridEntryPage"}}));
}

TEST_F(ScoreHistoryTest, AnImportRecordsEveryLineAndAFailedOneNothing) {
  signIn(b, "2", "boss");
  b.showPage<pages::BatchImportPage>();
  b.choose("subjectBox", "数学");
  b.type("numbersMemo", "801\n802");
  b.type("scoresMemo", "90\n91");
  b.click("importButton");
  EXPECT_EQ(historyOf(key801), (std::vector<Change>{{"boss", 1, 0, 90, "BatchImportPage"}}));
  EXPECT_EQ(historyOf(key802), (std::vector<Change>{{"boss", 1, 0, 91, "BatchImportPage"}}));

  b.choose("subjectBox", "数学");
  b.type("numbersMemo", "801\n999");  // an unknown number refuses the whole import
  b.type("scoresMemo", "50\n51");
  b.click("importButton");
  EXPECT_FALSE(b.messages().empty());
  EXPECT_EQ(historyOf(key801).size(), 1u);
}

}  // namespace
}  // namespace zeziza::testing

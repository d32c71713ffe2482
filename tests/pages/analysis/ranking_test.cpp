#include "pages/analysis/ranking.h"

#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class RankingTest : public AnalysisTest {
 protected:
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
  void rank() {
    b.click("analyseButton");
    ASSERT_EQ(b.messages(), std::vector<std::string>{});
  }
};

TEST_F(RankingTest, CreationFillsTheScopeListsAndChoosesTheDefaultExam) {
  b.showPage<pages::RankingPage>();
  const auto& exam = b.control<web::ComboBox>("examBox");
  EXPECT_EQ(exam.Items, (std::vector<std::string>{"全部考试", "期中", "期末"}));
  EXPECT_EQ(exam.ItemIndex, 1);
  EXPECT_EQ(b.control<web::ComboBox>("unitBox").Items.front(), "所有学校");
  EXPECT_EQ(b.control<web::ComboBox>("gradeBox").Items,
            (std::vector<std::string>{"全部年级", "初一", "初二"}));
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items.front(), "所有班");
  EXPECT_FALSE(grid().Visible);

  b.user().login.defaultExam = "没有这场考试";
  b.showPage<pages::RankingPage>();
  EXPECT_EQ(b.control<web::ComboBox>("examBox").ItemIndex, -1);
}

// Ties keep the order the rows were stored in; absent scores get no rank.
TEST_F(RankingTest, RanksEveryColumnWithTiesInStoredOrderAndAbsentCellsEmpty) {
  const auto zhang = student("1001", "张三");
  const auto li = student("1002", "李四");
  const auto wang = student("1003", "王五");
  const auto zhao = student("1004", "赵六");
  const auto qian = student("1005", "钱七");
  score("期中", zhao, 80, 90);  // stored before 张三, who has the same total
  score("期中", li, 100, 100);
  score("期中", zhang, 90, 80);
  score("期中", wang, 0, 0);
  score("期中", qian, 0, 95);
  score("期末", zhang, 10, 10);  // another exam: outside the scope
  b.showPage<pages::RankingPage>();
  rank();
  EXPECT_TRUE(grid().Visible);
  const Rows expected = {
      {"序号", "考号", "姓名", "学校", "年级", "班次", "考试名称", "总分", "平均分", "数学",
       "语文"},
      {"1", "1002", "李四", "中心校区", "初一", "一班", "期中", "[ 1 ] 200.00", "[ 1 ] 100",
       "[ 1 ] 100", "[ 1 ] 100"},
      {"2", "1004", "赵六", "中心校区", "初一", "一班", "期中", "[ 2 ] 170.00", "[ 3 ] 85",
       "[ 3 ] 80", "[ 3 ] 90"},
      {"3", "1001", "张三", "中心校区", "初一", "一班", "期中", "[ 3 ] 170.00", "[ 4 ] 85",
       "[ 2 ] 90", "[ 4 ] 80"},
      // 钱七 missed 数学, which the class sat: the average says so.
      {"4", "1005", "钱七", "中心校区", "初一", "一班", "期中", "[ 4 ] 95.00", "[ 2 ] 95(缺1科)",
       "", "[ 2 ] 95"},
      {"5", "1003", "王五", "中心校区", "初一", "一班", "期中", "[ 5 ] 0.00", "", "", ""},
  };
  expectRows(grid(), expected);
}

TEST_F(RankingTest, TotalsShowTwoDecimalsAndAveragesAllTheirDigits) {
  scoreRow("期中", student("1001", "张三"), 85.5, 85, 255.5, 83.3333333333333);
  scoreRow("期中", student("1002", "李四"), 85, 85.5, 255.5, 80.125);
  b.showPage<pages::RankingPage>();
  rank();
  EXPECT_EQ(row(grid(), 1)[7], "[ 1 ] 255.50");
  EXPECT_EQ(row(grid(), 2)[7], "[ 2 ] 255.50");
  EXPECT_EQ(row(grid(), 1)[8], "[ 1 ] 83.3333333333333");
  EXPECT_EQ(row(grid(), 2)[8], "[ 2 ] 80.125");
  EXPECT_EQ(row(grid(), 1)[9], "[ 1 ] 85.5");
}

// With 全部考试 each student has a row per exam, which would rank against each other: refused,
// as is a ranking with no exam chosen, and an earlier ranking stays as it was.
TEST_F(RankingTest, AllExamsOrNoExamIsRefused) {
  const auto a = student("1001", "张三");
  score("期中", a, 90, 90);
  score("期末", a, 70, 70);
  b.showPage<pages::RankingPage>();
  rank();
  ASSERT_EQ(grid().rowCount(), 2);
  b.choose("examBox", "全部考试");
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "请选择一个考试后再排序，不同考试的成绩不能放在一起排名。");
  EXPECT_EQ(row(grid(), 1)[6], "期中");
  EXPECT_EQ(grid().rowCount(), 2);

  b.user().login.defaultExam = "没有这场考试";
  b.showPage<pages::RankingPage>();
  ASSERT_EQ(b.control<web::ComboBox>("examBox").ItemIndex, -1);
  b.click("analyseButton");
  EXPECT_EQ(b.message(), "请选择一个考试后再排序，不同考试的成绩不能放在一起排名。");
  EXPECT_FALSE(grid().Visible);
}

// Each scope box narrows the rows; a value holding quotes is just text.
TEST_F(RankingTest, ScopeBoxesNarrowTheRows) {
  server.context().settings().update([](store::SettingsSnapshot& s) {
    s.units = {"中心校区", "东\"校'区"};
    s.classes = {"一班", "二班"};
  });
  score("期中", student("1001", "甲"), 90, 90);
  score("期中", student("1002", "乙", "东\"校'区"), 80, 80);
  score("期中", student("1003", "丙", "中心校区", "初二"), 70, 70);
  score("期中", student("1004", "丁", "中心校区", "初一", "二班"), 60, 60);
  score("期末", student("1005", "戊"), 50, 50);
  const struct {
    const char* box;
    const char* item;
    std::vector<std::string> ids;
  } cases[] = {
      {"examBox", "期中", {"1001", "1002", "1003", "1004"}},
      {"examBox", "期末", {"1005"}},
      {"unitBox", "东\"校'区", {"1002"}},
      {"gradeBox", "初二", {"1003"}},
      {"classBox", "二班", {"1004"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    b.showPage<pages::RankingPage>();
    b.choose(c.box, c.item);
    rank();
    std::vector<std::string> ids;
    for (int r = 1; r < grid().rowCount(); ++r) ids.push_back(row(grid(), r)[1]);
    EXPECT_EQ(ids, c.ids);
  }
}

// A subject set up after the user signed in has no column in this session: the ranking
// stops there with a message and keeps what the earlier passes wrote.
TEST_F(RankingTest, ASubjectAddedAfterSignInEndsTheRankingWithAMessage) {
  score("期中", student("1001", "张三"), 90, 80);
  server.context().settings().update([](store::SettingsSnapshot& s) {
    s.subjects = {"数学", "语文", "英语"};
  });
  b.showPage<pages::RankingPage>();
  b.click("analyseButton");
  EXPECT_NE(b.message().find("英语"), std::string::npos);
  EXPECT_EQ(row(grid(), 1)[10], "[ 1 ] 80");
  EXPECT_EQ(row(grid(), 1)[11], "");
}

}  // namespace
}  // namespace zeziza::testing

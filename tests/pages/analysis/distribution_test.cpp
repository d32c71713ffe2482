#include "pages/analysis/distribution.h"

#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kTieMessage =
    "分界点位置出现并列成绩，已保留并列学生，将导致符合条件人数大于要求人数！请注意查看！";
const std::vector<std::string> kHeader = {"单位", "年级", "班次", "学生人数", "详情"};

// Thirteen students of 初一 in 期中, by average: the 10th and 11th are tied at 91, the 13th is
// absent. 一班 exists in both units.
class DistributionTest : public AnalysisTest {
 protected:
  DistributionTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区", "东校区"};
      s.classes = {"一班", "二班"};
    });
    const struct {
      double average;
      const char* unit;
      const char* cls;
    } pupils[] = {{100, "中心校区", "一班"}, {99, "东校区", "一班"}, {98, "中心校区", "二班"},
                  {97, "中心校区", "一班"},  {96, "东校区", "一班"}, {95, "中心校区", "一班"},
                  {94, "中心校区", "二班"},  {93, "东校区", "一班"}, {92, "中心校区", "一班"},
                  {91, "中心校区", "二班"},  {91, "东校区", "一班"}, {50, "中心校区", "一班"},
                  {0, "中心校区", "二班"}};
    int n = 0;
    for (const auto& p : pupils) {
      ++n;
      const auto bh =
          student(std::to_string(100 + n), "生" + std::to_string(n), p.unit, "初一", p.cls);
      // 数学 runs opposite to the average, so a subject ranking differs.
      scoreRow("期中", bh, 100 - p.average, p.average, p.average + 100, p.average);
    }
    scoreRow("期中", student("900", "初二生", "中心校区", "初二"), 100, 100, 200, 100);
    scoreRow("期末", student("901", "期末生"), 100, 100, 200, 100);
  }
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
  void count(const std::string& kind, const std::string& x, const std::string& column = "平均分") {
    b.choose("limitKindBox", kind);
    b.choose("columnBox", column);
    b.type("xEdit", x);
    b.click("analyseButton");
  }
};

TEST_F(DistributionTest, CountsTheClassesOfEachRangeKind) {
  const struct {
    const char* kind;
    const char* x;
    const char* column;
    Rows rows;
    std::vector<std::string> messages;
  } cases[] = {
      // clang-format off
      // The tie at the 10th place keeps the 11th student. Rows by unit, then class.
      {"名次范围[前X名]", "10", "平均分",
       {kHeader, {"中心校区", "初一", "一班", "4", "查看详情"},
        {"中心校区", "初一", "二班", "3", "查看详情"}, {"东校区", "初一", "一班", "4", "查看详情"}},
       {kTieMessage}},
      {"名次范围[前X名]", "2", "平均分",
       {kHeader, {"中心校区", "初一", "一班", "1", "查看详情"},
        {"东校区", "初一", "一班", "1", "查看详情"}},
       {}},
      // The absent student is the lowest.
      {"名次范围[后X名]", "2", "平均分",
       {kHeader, {"中心校区", "初一", "一班", "1", "查看详情"},
        {"中心校区", "初一", "二班", "1", "查看详情"}},
       {}},
      {"名次范围[前X名]", "1", "数学", {kHeader, {"中心校区", "初一", "二班", "1", "查看详情"}}, {}},
      {"名次范围[后X名]", "1", "总分", {kHeader, {"中心校区", "初一", "二班", "1", "查看详情"}}, {}},
      // Score kinds list the rows from the lowest up; more rows than X is no tie.
      {"成绩范围[高于等于X分]", "97", "平均分",
       {kHeader, {"中心校区", "初一", "一班", "2", "查看详情"},
        {"中心校区", "初一", "二班", "1", "查看详情"}, {"东校区", "初一", "一班", "1", "查看详情"}},
       {}},
      {"成绩范围[低于等于X分]", "50", "平均分",
       {kHeader, {"中心校区", "初一", "一班", "1", "查看详情"},
        {"中心校区", "初一", "二班", "1", "查看详情"}},
       {}},
      {"成绩范围[高于等于X分]", "-5", "语文",
       {kHeader, {"中心校区", "初一", "一班", "5", "查看详情"},
        {"中心校区", "初一", "二班", "4", "查看详情"}, {"东校区", "初一", "一班", "4", "查看详情"}},
       {}},
      {"成绩范围[高于等于X分]", "101", "平均分", {kHeader}, {}},
      // clang-format on
  };
  b.showPage<pages::DistributionPage>();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + c.x + " " + c.column);
    count(c.kind, c.x, c.column);
    EXPECT_EQ(b.messages(), c.messages);
    EXPECT_TRUE(grid().Visible);
    expectRows(grid(), c.rows);
    EXPECT_TRUE(grid().rowCount() < 2 || grid().cell(1, 4).Clickable);
  }
}

TEST_F(DistributionTest, TheUnitBoxNarrowsTheScope) {
  b.showPage<pages::DistributionPage>();
  b.choose("unitBox", "东校区");
  count("名次范围[前X名]", "3");
  expectRows(grid(), {kHeader, {"东校区", "初一", "一班", "3", "查看详情"}});
}

// The details list the students of one row in ranked order, with every score column.
TEST_F(DistributionTest, DetailsListTheStudentsOfOneRow) {
  b.showPage<pages::DistributionPage>();
  count("名次范围[前X名]", "10");
  b.click("resultGrid", "3_4");
  EXPECT_TRUE(b.control<web::Region>("detailsPanel").Visible);
  expectRows(b.control<web::Grid>("detailsGrid"),
             {{"学生编号", "姓名", "平均分", "总分", "数学", "语文"},
              {"102", "生2", "99", "199", "1", "99"},
              {"105", "生5", "96", "196", "4", "96"},
              {"108", "生8", "93", "193", "7", "93"},
              {"111", "生11", "91", "191", "9", "91"}});
  b.click("closeDetailsLink");
  EXPECT_FALSE(b.control<web::Region>("detailsPanel").Visible);
  EXPECT_EQ(b.control<web::Grid>("detailsGrid").rowCount(), 5);  // kept until the next details
  b.click("resultGrid", "2_3");                                  // only the details cells act
  EXPECT_EQ(b.message(), "提交的数据无效，已忽略。");
  EXPECT_FALSE(b.control<web::Region>("detailsPanel").Visible);
}

// The school's own order of units and classes holds, not the order of the text; a class
// missing from the list comes after the listed ones. Each row's details stay with its row.
TEST_F(DistributionTest, ClassRowsFollowTheSchoolsListsOfUnitsAndClasses) {
  server.context().settings().update([](store::SettingsSnapshot& s) {
    s.units = {"东校区", "中心校区"};
    s.classes = {"二班", "一班"};
  });
  scoreRow("期中", student("120", "插班生", "中心校区", "初一", "三班"), 0, 100, 100, 100);
  b.showPage<pages::DistributionPage>();
  count("名次范围[前X名]", "10");
  expectRows(grid(), {kHeader,
                      {"东校区", "初一", "一班", "3", "查看详情"},
                      {"中心校区", "初一", "二班", "2", "查看详情"},
                      {"中心校区", "初一", "一班", "4", "查看详情"},
                      {"中心校区", "初一", "三班", "1", "查看详情"}});
  b.click("resultGrid", "4_4");
  expectRows(b.control<web::Grid>("detailsGrid"),
             {{"学生编号", "姓名", "平均分", "总分", "数学", "语文"},
              {"120", "插班生", "100", "100", "0", "100"}});
}

// A new query closes and empties the details of the old one.
TEST_F(DistributionTest, ANewQueryClearsTheDetails) {
  b.showPage<pages::DistributionPage>();
  count("名次范围[前X名]", "10");
  b.click("resultGrid", "2_4");
  ASSERT_TRUE(b.control<web::Region>("detailsPanel").Visible);
  count("名次范围[前X名]", "3");
  EXPECT_FALSE(b.control<web::Region>("detailsPanel").Visible);
  EXPECT_EQ(b.control<web::Grid>("detailsGrid").rowCount(), 0);
}

// X that is no whole number, or no positive rank, is refused before anything changes.
TEST_F(DistributionTest, ABadXIsRefused) {
  b.showPage<pages::DistributionPage>();
  count("名次范围[前X名]", "3");
  ASSERT_EQ(grid().rowCount(), 4);
  const struct {
    const char* kind;
    const char* x;
  } cases[] = {{"名次范围[前X名]", "abc"},
               {"名次范围[前X名]", ""},
               {"名次范围[前X名]", "1.5"},
               {"名次范围[前X名]", "0"},
               {"名次范围[后X名]", "-3"},
               {"成绩范围[高于等于X分]", "9x"},
               {"成绩范围[低于等于X分]", "99999999999999999999"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " [" + c.x + "]");
    count(c.kind, c.x);
    EXPECT_EQ(b.message(), "参数错误，请设定参数后操作");
    EXPECT_EQ(grid().rowCount(), 4);
  }
  count("名次范围[前X名]", " 2 ");
  EXPECT_EQ(b.messages(), std::vector<std::string>{});
  EXPECT_EQ(grid().rowCount(), 3);
}

}  // namespace
}  // namespace zeziza::testing

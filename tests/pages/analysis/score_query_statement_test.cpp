#include "pages/analysis/score_query_statement.h"

#include <gtest/gtest.h>

#include "store/connection.h"
#include "store/data_folder.h"
#include "store/query.h"
#include "tests/support/temp_folder.h"

namespace zeziza::pages {
namespace {

const std::vector<SubjectColumn> kSubjects = {{1, "数学"}, {2, "语文"}, {3, "英语"}};

// Six students whose 考号 is not in the order of their internal numbers; the last has no
// scores. 期中 for the first five, 期末 for the first three.
class ScoreQueryStatementTest : public ::testing::Test {
 protected:
  ScoreQueryStatementTest() {
    store::prepareDataFolder(folder);
    struct Student {
      const char *id, *name, *unit, *grade, *cls;
    };
    const Student students[] = {
        {"1003", "张三", "东校区", "七年级", "一班"},
        {"1001", "李四", "东校区", "七年级", "二班"},
        {"1005", "王\"五", "西校区", "七年级", "一班"},
        {"1002", "赵%六", "西校区", "八年级", "一班"},
        {"1004", "张 小三", "东校区", "八年级", "二班"},
        {"1006", "钱七", "西校区", "八年级", "二班"},
    };
    for (const auto& s : students) {
      db().exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
                {s.id, s.name, s.unit, s.grade, s.cls});
    }
    const double scores[5][3] = {
        {90, 80, 70}, {60, 95, 84}, {75, 75, 0}, {88, 0, 92}, {50, 66, 77}};
    for (int bh = 1; bh <= 5; ++bh) addScores("期中", bh, scores[bh - 1]);
    for (int bh = 1; bh <= 3; ++bh) addScores("期末", bh, scores[5 - bh]);
  }

  store::Database& db() { return connection.db(); }
  void addScores(const std::string& exam, int bh, const double (&k)[3]) {
    db().exec("insert into cj (ks, kh, k1, k2, k3, zf, pj, test) values (?, ?, ?, ?, ?, ?, ?, ?)",
              {exam, bh, k[0], k[1], k[2], k[0] + k[1] + k[2], (k[0] + k[1] + k[2]) / 3,
               exam + "!&" + std::to_string(bh)});
  }
  // The 考号 column of the statement's rows, joined with blanks.
  std::string idsOf(const BoundStatement& s) {
    query.open(s.sql, s.params);
    std::string ids;
    for (query.first(); !query.eof(); query.next()) {
      ids += (ids.empty() ? "" : " ") + query.field("考号").asText();
    }
    return ids;
  }

  testing::TempFolder temp;
  store::DataFolder folder{temp.path()};
  store::Connection connection{folder.data()};
  store::Query query{connection};
};

struct FilterCase {
  std::string name;
  ScoreQueryFilter filter;
  std::size_t rows;
  int enrolled;
};

TEST_F(ScoreQueryStatementTest, EachFilterAndCombinationBindsItsValue) {
  auto f = [](auto change) {
    ScoreQueryFilter filter;
    change(filter);
    return filter;
  };
  const std::vector<FilterCase> cases = {
      {"no filter: every score row of every exam", {}, 8, 6},
      {"exam", f([](auto& x) { x.exam = "期中"; }), 5, 6},
      {"unit", f([](auto& x) { x.scope.unit = "东校区"; }), 5, 3},
      {"grade", f([](auto& x) { x.scope.grade = "八年级"; }), 2, 3},
      {"class", f([](auto& x) { x.scope.cls = "一班"; }), 5, 3},
      {"exam and unit", f([](auto& x) { x.exam = "期末", x.scope.unit = "东校区"; }), 2, 3},
      {"all four", f([](auto& x) {
         x.exam = "期中", x.scope.unit = "西校区", x.scope.grade = "八年级", x.scope.cls = "一班";
       }),
       1, 1},
      {"name part", f([](auto& x) { x.name = "张"; }), 3, 2},
      {"name of blanks adds nothing", f([](auto& x) { x.name = "  "; }), 8, 6},
      {"leading blank stays in the pattern", f([](auto& x) { x.name = " 小"; }), 1, 1},
      {"double quote is text", f([](auto& x) { x.name = "王\"五"; }), 2, 1},
      {"percent sign is text", f([](auto& x) { x.name = "%"; }), 1, 1},
      {"underscore is text", f([](auto& x) { x.name = "_"; }), 0, 0},
      {"quote in a filter value", f([](auto& x) { x.exam = "期\"中"; }), 0, 6},
      {"nothing matches", f([](auto& x) { x.scope.unit = "中心校区"; }), 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BoundStatement s = scoreQueryStatement(c.filter, kSubjects);
    for (const auto& p : s.params) EXPECT_EQ(s.sql.find(p.asText()), std::string::npos);
    for (const auto& subject : kSubjects) EXPECT_EQ(s.sql.find(subject.name), std::string::npos);
    query.open(s.sql, s.params);
    nameSubjectColumns(query, kSubjects);
    EXPECT_EQ(query.recordCount(), c.rows);
    EXPECT_EQ(query.fieldNames(),
              (std::vector<std::string>{"考试名称", "考号", "姓名", "学校", "年级", "班次", "数学",
                                        "语文", "英语", "总分", "平均分"}));
    const BoundStatement count = enrolledCountStatement(c.filter);
    query.open(count.sql, count.params);
    EXPECT_EQ(query.fieldAt(0, 0).asInt(), c.enrolled);
  }
}

TEST_F(ScoreQueryStatementTest, SortColumnsAndDirections) {
  struct Case {
    int sortItem;
    bool descending;
    std::string ids;
  };
  const std::vector<Case> cases = {
      {1, false, "1003 1001 1005 1002 1004"},  // 按考号: internal numbers, not the 考号 shown
      {1, true, "1004 1002 1005 1001 1003"},  {2, true, "1003 1001 1004 1002 1005"},  // 按总分
      {3, false, "1005 1002 1004 1001 1003"},  // 按平均分
      {4, true, "1003 1002 1005 1001 1004"},   // 按数学
      {5, false, "1002 1004 1005 1003 1001"},  // 按语文
      {6, true, "1002 1001 1004 1003 1005"},   // 按英语
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sortItem * 10 + c.descending);
    ScoreQueryFilter filter;
    filter.exam = "期中";
    filter.sortItem = c.sortItem;
    filter.descending = c.descending;
    EXPECT_EQ(idsOf(scoreQueryStatement(filter, kSubjects)), c.ids);
  }
}

TEST_F(ScoreQueryStatementTest, DirectionWithoutSortColumnIsIgnored) {
  ScoreQueryFilter filter;
  filter.descending = true;
  const BoundStatement s = scoreQueryStatement(filter, kSubjects);
  EXPECT_EQ(s.sql.find("ORDER"), std::string::npos);
  EXPECT_EQ(s.sql.find("DESC"), std::string::npos);
}

TEST(SortItems, FixedItemsThenOnePerSubject) {
  EXPECT_EQ(
      sortItems({"数学", "语文"}),
      (std::vector<std::string>{"不排序", "按考号", "按总分", "按平均分", "按数学", "按语文"}));
}

}  // namespace
}  // namespace zeziza::pages

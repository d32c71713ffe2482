#include <string>
#include <vector>

#include "pages/analysis/ranking.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "tests/pages/analysis/analysis_fixture.h"
#include "tests/support/xlsx_reader.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The body rows of the grid as the answer shows them: the texts of each <td>.
Rows shownRows(const std::string& html) {
  Rows rows;
  const auto table = html.find("<table id=\"resultgrid\"");
  const auto end = html.find("</table>", table);
  if (table == std::string::npos || end == std::string::npos) return rows;
  for (auto tr = html.find("<tr><td>", table); tr < end; tr = html.find("<tr><td>", tr + 1)) {
    std::vector<std::string> cells;
    const auto rowEnd = html.find("</tr>", tr);
    for (auto td = html.find("<td>", tr); td < rowEnd; td = html.find("<td>", td + 1)) {
      const auto close = html.find("</td>", td);
      cells.push_back(html.substr(td + 4, close - td - 4));
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

// 序号 and the score columns of a shown row.
std::vector<std::string> ranksOf(const std::vector<std::string>& row) {
  return {row.at(0), row.at(1), row.at(7), row.at(8), row.at(9), row.at(10)};
}

class RankingPagingTest : public AnalysisTest {
 protected:
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
  void rank(int pageRows) {
    b.showPage<pages::RankingPage>();
    grid().PageRows = pageRows;
    b.click("analyseButton");
    ASSERT_EQ(b.messages(), std::vector<std::string>{});
  }
  // Seven rows; the totals of the 3rd and 4th tie across the boundary of pages of three.
  void sevenRows() {
    score("期中", student("1001", "甲"), 100, 100);  // 200
    score("期中", student("1002", "乙"), 95, 95);    // 190
    score("期中", student("1003", "丙"), 80, 100);   // 180
    score("期中", student("1004", "丁"), 100, 80);   // 180, stored later
    score("期中", student("1005", "戊"), 85, 85);    // 170
    score("期中", student("1006", "己"), 0, 60);     // 60
    score("期中", student("1007", "庚"), 0, 0);      // 0
  }
};

TEST_F(RankingPagingTest, EachPageShowsItsRowsWithTheirRanksAcrossTies) {
  const struct {
    const char* mode;
    std::vector<Rows> pages;
  } cases[] = {
      {"顺序名次",
       {{{"1", "1001", "[ 1 ] 200.00", "[ 1 ] 100", "[ 1 ] 100", "[ 1 ] 100"},
         {"2", "1002", "[ 2 ] 190.00", "[ 2 ] 95", "[ 3 ] 95", "[ 3 ] 95"},
         {"3", "1003", "[ 3 ] 180.00", "[ 3 ] 90", "[ 5 ] 80", "[ 2 ] 100"}},
        {{"4", "1004", "[ 4 ] 180.00", "[ 4 ] 90", "[ 2 ] 100", "[ 5 ] 80"},
         {"5", "1005", "[ 5 ] 170.00", "[ 5 ] 85", "[ 4 ] 85", "[ 4 ] 85"},
         {"6", "1006", "[ 6 ] 60.00", "[ 6 ] 60(缺1科)", "", "[ 6 ] 60"}},
        {{"7", "1007", "[ 7 ] 0.00", "", "", ""}}}},
      {"并列名次",
       {{{"1", "1001", "[ 1 ] 200.00", "[ 1 ] 100", "[ 1 ] 100", "[ 1 ] 100"},
         {"2", "1002", "[ 2 ] 190.00", "[ 2 ] 95", "[ 3 ] 95", "[ 3 ] 95"},
         {"3", "1003", "[ 3 ] 180.00", "[ 3 ] 90", "[ 5 ] 80", "[ 1 ] 100"}},
        {{"4", "1004", "[ 3 ] 180.00", "[ 3 ] 90", "[ 1 ] 100", "[ 5 ] 80"},
         {"5", "1005", "[ 5 ] 170.00", "[ 5 ] 85", "[ 4 ] 85", "[ 4 ] 85"},
         {"6", "1006", "[ 6 ] 60.00", "[ 6 ] 60(缺1科)", "", "[ 6 ] 60"}},
        {{"7", "1007", "[ 7 ] 0.00", "", "", ""}}}},
  };
  sevenRows();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    store::storeSetting(server.db(), store::key::kRankMode, c.mode);
    rank(3);
    const std::string statuses[] = {"共 7 行，显示第 1–3 行", "共 7 行，显示第 4–6 行",
                                    "共 7 行，显示第 7–7 行"};
    for (std::size_t p = 0; p < c.pages.size(); ++p) {
      SCOPED_TRACE("page " + std::to_string(p + 1));
      if (p > 0) b.click("resultGrid", "page_next");
      ASSERT_EQ(b.messages(), std::vector<std::string>{});
      const std::string& html = b.last().html;
      EXPECT_NE(html.find(statuses[p]), std::string::npos);
      Rows shown;
      for (const auto& r : shownRows(html)) shown.push_back(ranksOf(r));
      EXPECT_EQ(shown, c.pages[p]);
    }
  }
}

TEST_F(RankingPagingTest, TheChooserAndANewRankingChangeThePage) {
  sevenRows();
  rank(3);
  auto form = b.formFor("resultGrid");
  form.fields.erase("resultgrid_page");
  form.fields.emplace("resultgrid_page", "3");
  b.post(form);
  EXPECT_EQ(shownRows(b.last().html).at(0).at(1), "1007");
  form = b.formFor("resultGrid");
  form.fields.erase("resultgrid_page");
  form.fields.emplace("resultgrid_page", "4");  // no such page: refused, the page stays
  b.post(form);
  EXPECT_EQ(b.message(), "提交的数据无效，已忽略。");
  EXPECT_EQ(grid().pageIndex(), 2);
  b.click("analyseButton");  // ranked again: back to the first page
  EXPECT_EQ(shownRows(b.last().html).at(0).at(1), "1001");
  b.click("resultGrid", "2_1");  // no clickable cells here
  EXPECT_EQ(b.message(), "提交的数据无效，已忽略。");
}

// Shown rows are read again by key: a score row deleted since the ranking keeps only its number.
TEST_F(RankingPagingTest, ARowDeletedSinceTheRankingShowsOnlyItsNumber) {
  sevenRows();
  rank(3);
  server.db().exec("delete from cj where kh = (select bh from ks where id = '1002')");
  b.click("resultGrid", "page_first");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  const Rows shown = shownRows(b.last().html);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].at(1), "1001");
  EXPECT_EQ(shown[1], (std::vector<std::string>{"2", "", "", "", "", "", "", "", "", "", ""}));
  EXPECT_EQ(shown[2].at(7), "[ 3 ] 180.00");
}

// A small ranking is one table as before: no pager.
TEST_F(RankingPagingTest, ARankingUnderTheLimitHasNoPager) {
  sevenRows();
  rank(1000);
  EXPECT_EQ(b.last().html.find("gridpager"), std::string::npos);
  EXPECT_EQ(shownRows(b.last().html).size(), 7u);
}

// 1,100 rows with totals 1100 … 1: the file holds every row, past the chunks it is read in
// (语文 is absent everywhere: no cells at the end of a row).
TEST_F(RankingPagingTest, TheExportHoldsEveryRowWithItsRanks) {
  server.db().exec(
      "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1100) "
      "insert into ks (id, xm, xx, nj, bj) select 'S' || i, '生' || i, '中心校区', '初一', "
      "'一班' from n");
  server.db().exec(
      "insert into cj (ks, kh, k1, k2, zf, pj, test) select '期中', bh, bh, 0, bh, bh, "
      "'期中!&' || bh from ks");
  rank(1000);
  EXPECT_NE(b.last().html.find("共 1100 行，显示第 1–1000 行"), std::string::npos);
  const auto& outcome = b.click("ExportLink");
  ASSERT_EQ(outcome.kind, web::EventOutcome::Kind::File);
  const Rows rows = readWorkbook(outcome.file->path).rows;
  ASSERT_EQ(rows.size(), 2u + 1100u);
  for (const int position : {1, 500, 501, 1000, 1001, 1100}) {
    SCOPED_TRACE(position);
    const std::string bh = std::to_string(1101 - position);
    const std::string rank = "#" + std::to_string(position);
    EXPECT_EQ(rows[static_cast<std::size_t>(position) + 1],
              (std::vector<std::string>{rank, "S" + bh, "生" + bh, "中心校区", "初一", "一班",
                                        "期中", rank, "#" + bh, rank, "#" + bh, rank, "#" + bh}));
  }
}

}  // namespace
}  // namespace zeziza::testing

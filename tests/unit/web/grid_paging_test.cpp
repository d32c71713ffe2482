#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/rendered.h"
#include "web/controls/grid.h"
#include "web/page.h"

namespace zeziza::web {
namespace {

using testing::count;
using testing::rendered;

// A header and `body` rows "r<row>" whose second cell is clickable.
void fill(Grid& grid, int body) {
  grid.setColumnCount(2);
  grid.setRowCount(body + 1);
  grid.cell(0, 0).Text = "行";
  grid.cell(0, 1).Text = "操作";
  for (int r = 1; r <= body; ++r) {
    grid.cell(r, 0).Text = "r" + std::to_string(r);
    grid.cell(r, 1).Text = "删除";
    grid.cell(r, 1).Clickable = true;
  }
}

class GridPaging : public ::testing::Test {
 protected:
  GridPaging() {
    grid.PageRows = 10;
    grid.OnCellClick = [this](int row, int column) { clicks.emplace_back(row, column); };
  }
  Page page{"TestPage"};
  Grid grid{page, "grid"};
  std::vector<std::pair<int, int>> clicks;
};

// At or under the limit nothing changes: no pager, every row, no page events.
TEST_F(GridPaging, AGridAtTheLimitRendersEveryRowWithoutAPager) {
  fill(grid, 10);
  const std::string html = rendered(grid);
  EXPECT_EQ(html.find("gridpager"), std::string::npos);
  EXPECT_EQ(html.rfind("<table id=\"grid\" class=\"grid\"><tr><th>行</th>", 0), 0u) << html;
  EXPECT_EQ(count(html, "<tr>"), 11);
  EXPECT_FALSE(grid.paged());
  EXPECT_FALSE(grid.takesPost());
  EXPECT_THROW(grid.checkEvent("page_next"), BadPost);
  EXPECT_THROW(grid.checkEvent(""), BadPost);
  fill(grid, 1);
  EXPECT_EQ(rendered(grid),
            "<table id=\"grid\" class=\"grid\"><tr><th>行</th><th>操作</th></tr><tr><td>r1</td>"
            "<td><a href=\"#\" data-iw-action=\"grid\" data-iw-param=\"1_1\">删除</a></td></tr>"
            "</table>");
  grid.PageRows = 0;  // never pages
  fill(grid, 500);
  EXPECT_EQ(count(rendered(grid), "<tr>"), 501);
}

TEST_F(GridPaging, ShowsOnePageWithItsStatusAndLinks) {
  fill(grid, 25);
  ASSERT_TRUE(grid.paged());
  EXPECT_EQ(grid.pageCount(), 3);
  const struct {
    const char* param;
    int page;
    std::string status;
    std::string firstRow;
    int rows;
  } steps[] = {
      {"page_first", 0, "共 25 行，显示第 1–10 行", "r1", 10},
      {"page_next", 1, "共 25 行，显示第 11–20 行", "r11", 10},
      {"page_next", 2, "共 25 行，显示第 21–25 行", "r21", 5},
      {"page_next", 2, "共 25 行，显示第 21–25 行", "r21", 5},  // stays on the last
      {"page_prev", 1, "共 25 行，显示第 11–20 行", "r11", 10},
      {"page_last", 2, "共 25 行，显示第 21–25 行", "r21", 5},
      {"page_first", 0, "共 25 行，显示第 1–10 行", "r1", 10},
      {"page_prev", 0, "共 25 行，显示第 1–10 行", "r1", 10},  // stays on the first
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.param) + " to " + std::to_string(s.page));
    grid.checkEvent(s.param);
    grid.fire(s.param);
    EXPECT_EQ(grid.pageIndex(), s.page);
    const std::string html = rendered(grid);
    EXPECT_NE(html.find(s.status), std::string::npos) << html;
    EXPECT_EQ(count(html, "<tr>"), s.rows + 1);  // the header on every page
    EXPECT_NE(html.find("<td>" + s.firstRow + "</td>"), std::string::npos);
    EXPECT_NE(html.find("<option value=\"" + std::to_string(s.page + 1) + "\" selected>"),
              std::string::npos);
    // Links that would go nowhere are plain captions.
    EXPECT_EQ(html.find("data-iw-param=\"page_first\"") != std::string::npos, s.page > 0);
    EXPECT_EQ(html.find("data-iw-param=\"page_last\"") != std::string::npos, s.page < 2);
  }
  EXPECT_TRUE(clicks.empty());
}

TEST_F(GridPaging, TheChooserGoesToThePagePostedWithTheGridsEvent) {
  fill(grid, 25);
  PostedForm form;
  form.fields.emplace("grid_page", "3");
  grid.checkPost(form);
  grid.applyPost(form);
  grid.fire("");
  EXPECT_EQ(grid.pageIndex(), 2);
  grid.endRequest();
  grid.fire("");  // a later event without a chosen page stays
  EXPECT_EQ(grid.pageIndex(), 2);
  PostedForm posted;
  grid.browserPost(posted);
  EXPECT_EQ(posted.value("grid_page"), "3");
  const std::string html = rendered(grid);
  EXPECT_NE(html.find("<select name=\"grid_page\" class=\"srk\" data-iw-change=\"grid\">"),
            std::string::npos)
      << html;
}

TEST_F(GridPaging, RefusesPagesAndCellsItDoesNotShow) {
  fill(grid, 25);
  for (const char* value : {"0", "4", "-1", "2x", "", " 2", "99999999999"}) {
    SCOPED_TRACE(value);
    PostedForm form;
    form.fields.emplace("grid_page", value);
    EXPECT_THROW(grid.checkPost(form), BadPost);
  }
  grid.fire("page_next");
  // Page 2 holds rows 11..20: a click reports the absolute row; other rows are refused.
  for (const char* param : {"5_1", "21_1", "11_0", "11_2", "page_nowhere", "11"}) {
    SCOPED_TRACE(param);
    EXPECT_THROW(grid.checkEvent(param), BadPost);
  }
  grid.checkEvent("12_1");
  grid.fire("12_1");
  EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{12, 1}}));
  EXPECT_NE(rendered(grid).find("data-iw-param=\"12_1\""), std::string::npos);
}

TEST_F(GridPaging, ANewRowCountReturnsToTheFirstPage) {
  fill(grid, 25);
  grid.fire("page_last");
  fill(grid, 25);  // the same count: the page stays
  EXPECT_EQ(grid.pageIndex(), 2);
  fill(grid, 30);
  EXPECT_EQ(grid.pageIndex(), 0);
  grid.fire("page_last");
  fill(grid, 12);  // fewer pages than the one shown
  EXPECT_EQ(grid.pageIndex(), 0);
  EXPECT_NE(rendered(grid).find("共 12 行，显示第 1–10 行"), std::string::npos);
}

// Sourced rows: the header stays stored; each rendering asks once for the rows it shows.
TEST_F(GridPaging, ASourceIsAskedOnceForThePageShown) {
  grid.setColumnCount(2);
  grid.setRowCount(1);
  grid.cell(0, 0).Text = "行";
  grid.cell(0, 1).Text = "值";
  std::vector<std::pair<int, int>> asked;
  grid.setRowSource(23, [&](int first, int n) {
    asked.emplace_back(first, n);
    GridRowTexts rows;
    for (int i = first; i < first + n; ++i) rows.push_back({"s" + std::to_string(i), "<b>"});
    return rows;
  });
  EXPECT_EQ(grid.rowCount(), 24);
  grid.fire("page_last");
  const std::string html = rendered(grid);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{20, 3}}));
  EXPECT_NE(html.find("<th>行</th><th>值</th></tr><tr><td>s20</td><td>&lt;b&gt;</td></tr>"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("共 23 行，显示第 21–23 行"), std::string::npos);
  EXPECT_EQ(grid.rowTexts(2), (std::vector<std::string>{"s1", "<b>"}));
  EXPECT_EQ(grid.rowTexts(0), (std::vector<std::string>{"行", "值"}));
  EXPECT_THROW(grid.checkEvent("21_1"), BadPost);  // sourced rows have no clickable cells
  grid.setRowCount(3);                             // stored cells again
  EXPECT_FALSE(grid.hasRowSource());
  EXPECT_EQ(grid.rowCount(), 3);
}

}  // namespace
}  // namespace zeziza::web

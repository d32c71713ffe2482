#include "web/controls/cell_fit.h"

#include <gtest/gtest.h>

#include "store/connection.h"
#include "tests/support/rendered.h"
#include "tests/support/temp_folder.h"
#include "web/controls/db_grid.h"
#include "web/controls/grid.h"
#include "web/page.h"

namespace zeziza::web {
namespace {

using testing::rendered;

// Counted in characters, so a Chinese unit name is as short as it looks.
TEST(CellFit, ShortTextsStayOnOneLineLongOnesWrap) {
  struct Case {
    std::string text;
    bool oneLine;
  };
  const std::vector<Case> cases = {
      {"", true},
      {"中心校区", true},
      {"2024级", true},
      {"[ 175 ] 100", true},
      {std::string(kOneLineCellChars, 'x'), true},
      {std::string(kOneLineCellChars + 1, 'x'), false},
      {"一二三四五六七八九十一二三四五六七八九十", true},  // 20 characters, 60 bytes
      {"一二三四五六七八九十一二三四五六七八九十一", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(keepsOneLine(c.text), c.oneLine);
  }
}

// Both table controls mark a long cell, stored, sourced or from a query, and only that one.
TEST(CellFit, TablesMarkOnlyTheirLongCells) {
  const std::string longText = "因病缺考，补考成绩另行通知，请家长留意学校的通知";
  Page page("TestPage");
  Grid grid(page, "grid");
  grid.setColumnCount(2);
  grid.setRowCount(2);
  grid.cell(0, 0).Text = "单位";
  grid.cell(0, 1).Text = "备注";
  grid.cell(1, 0).Text = "中心校区";
  grid.cell(1, 1).Text = longText;
  EXPECT_NE(rendered(grid).find("<td>中心校区</td><td class=\"wrap\">" + longText + "</td>"),
            std::string::npos)
      << rendered(grid);

  grid.setRowSource(1, [&](int, int) { return GridRowTexts{{"[ 175 ] 100", longText}}; });
  EXPECT_NE(rendered(grid).find("<td>[ 175 ] 100</td><td class=\"wrap\">" + longText + "</td>"),
            std::string::npos)
      << rendered(grid);

  testing::TempFolder temp;
  store::Connection connection(temp.path() / "db");
  store::Query query(connection);
  query.open("select '2024级' as nj, ? as bz", {store::Value(longText)});
  DBGrid data(page, "data");
  data.DataSource = &query;
  data.Columns = {{"nj", "年级", "", {}, {}}, {"bz", "备注", "", {}, {}}};
  EXPECT_NE(rendered(data).find("<td>2024级</td><td class=\"wrap\">" + longText + "</td>"),
            std::string::npos)
      << rendered(data);
}

}  // namespace
}  // namespace zeziza::web

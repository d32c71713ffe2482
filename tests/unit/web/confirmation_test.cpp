#include <gtest/gtest.h>

#include "store/connection.h"
#include "tests/support/rendered.h"
#include "tests/support/temp_folder.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/grid.h"
#include "web/page.h"

namespace zeziza::web {
namespace {

using testing::rendered;

// Every kind of control that deletes asks its own question, escaped like any other text.
TEST(Confirmation, ButtonsGridCellsAndDataGridRowsCarryTheirQuestion) {
  Page page("TestPage");
  Button button(page, "button");
  button.OnClick = [] {};
  EXPECT_EQ(rendered(button).find("data-iw-confirm"), std::string::npos);
  button.Confirmation = "确定删除用户“a\"<b>”？";
  EXPECT_NE(rendered(button).find("data-iw-confirm=\"确定删除用户“a&quot;&lt;b&gt;”？\""),
            std::string::npos)
      << rendered(button);

  Grid grid(page, "grid");
  grid.OnCellClick = [](int, int) {};
  grid.setColumnCount(2);
  grid.setRowCount(2);
  grid.cell(1, 0).Text = "东校区";
  grid.cell(1, 1).Text = "删除";
  grid.cell(1, 1).Clickable = true;
  grid.cell(1, 1).Confirmation = "确定删除单位“东校区”？";
  EXPECT_NE(rendered(grid).find("data-iw-param=\"1_1\" data-iw-confirm=\"确定删除单位“东校区”？\""),
            std::string::npos)
      << rendered(grid);

  testing::TempFolder temp;
  store::Connection connection(temp.path() / "db");
  store::Query query(connection);
  query.open("select 7 as bh, '2401005' as id, '朱丽' as xm, '删除' as del");
  DBGrid data(page, "data");
  data.DataSource = &query;
  DBGridColumn remove{"del", "删除", "bh", [](const std::string&) {}, {}};
  remove.Confirmation = [](const store::Query& q, std::size_t row) {
    return "确定删除学生 " + q.fieldAt(row, q.fieldIndex("id")).asText() + " " +
           q.fieldAt(row, q.fieldIndex("xm")).asText() + "？";
  };
  data.Columns = {{"id", "考号", "", {}, {}}, remove};
  EXPECT_NE(
      rendered(data).find("data-iw-param=\"1:7\" data-iw-confirm=\"确定删除学生 2401005 朱丽？\""),
      std::string::npos)
      << rendered(data);
}

}  // namespace
}  // namespace zeziza::web

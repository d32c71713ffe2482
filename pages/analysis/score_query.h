#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/sheet_layout.h"
#include "pages/analysis/score_history_panel.h"
#include "pages/analysis/score_query_result.h"
#include "pages/analysis/score_query_statement.h"
#include "pages/analysis/score_statistics_panel.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::store {
class Query;
}

namespace zeziza::pages {

class ScoreScale;

// The score query: score rows by exam, unit, grade, class and name, sorted as asked, thirty to a
// page, with a statistics panel over the whole result and a spreadsheet export.
class ScoreQueryPage : public web::Page {
 public:
  ScoreQueryPage();

  static constexpr std::size_t kRowsPerPage = 30;

 private:
  void onCreate();
  void IWButton1Click();     // 查询
  void IWComboBox7Change();  // a page chosen
  void IWLink1Click();       // 【首页】
  void IWLink2Click();       // 【上页】
  void IWLink3Click();       // 【下页】
  void IWLink4Click();       // 【末页】
  void IWLink11Click();      // 【保存为EXCEL】
  void IWLink12Click();      // 【查看统计信息】
  void PrintCardsClick();    // 【打印成绩单】

  void fillLists();
  ScoreQueryFilter chosenFilter() const;
  bool hasEverySubject(const store::Query& result, const std::vector<std::string>& subjects);
  bool search(const ScoreQueryFilter& filter, const std::vector<std::string>& subjects,
              const ScoreScale& scale);
  void showNoResult();
  void fillPaging(std::size_t rows);
  void choosePage(int index);

  // The last search's rows by key; none until a search has run on this page, or after one
  // failed. The grid's query holds only the rows of the page shown.
  std::optional<ScoreQueryResult> result_;
  spreadsheet::QueryScopeTexts searchedScope_;

  NavigationBar navigationBar{*this};

  web::Region IWRegion2{*this, "IWRegion2"};  // filters
  web::Label IWLabel1{IWRegion2, "IWLabel1"};
  web::ComboBox IWComboBox1{IWRegion2, "IWComboBox1"};  // exam
  web::ComboBox IWComboBox2{IWRegion2, "IWComboBox2"};  // unit
  web::ComboBox IWComboBox3{IWRegion2, "IWComboBox3"};  // grade
  web::ComboBox IWComboBox4{IWRegion2, "IWComboBox4"};  // class
  web::Label IWLabel3{IWRegion2, "IWLabel3"};
  web::Edit IWEdit1{IWRegion2, "IWEdit1"};              // name
  web::ComboBox IWComboBox5{IWRegion2, "IWComboBox5"};  // sort column
  web::ComboBox IWComboBox6{IWRegion2, "IWComboBox6"};  // sort direction
  web::Button IWButton1{IWRegion2, "IWButton1"};

  web::Region IWRegion3{*this, "IWRegion3"};  // result tools
  web::Label IWLabel2{IWRegion3, "IWLabel2"};
  web::Link IWLink11{IWRegion3, "IWLink11"};
  web::Link IWLink12{IWRegion3, "IWLink12"};
  web::Link PrintCards{IWRegion3, "PrintCards"};
  web::Label IWLabel4{IWRegion3, "IWLabel4"};     // status
  web::Region IWRegion4{IWRegion3, "IWRegion4"};  // paging
  web::Link IWLink1{IWRegion4, "IWLink1"};
  web::Link IWLink2{IWRegion4, "IWLink2"};
  web::Link IWLink3{IWRegion4, "IWLink3"};
  web::Link IWLink4{IWRegion4, "IWLink4"};
  web::Label IWLabel5{IWRegion4, "IWLabel5"};
  web::ComboBox IWComboBox7{IWRegion4, "IWComboBox7"};  // page chooser
  web::Label IWLabel6{IWRegion4, "IWLabel6"};

  ScoreStatisticsPanel IWRegion1{*this};
  web::DBGrid IWDBGrid1{*this, "IWDBGrid1"};
  // Administrators look up who changed a student's scores.
  ScoreHistoryPanel History{
      *this, [this] { return IWComboBox1.ItemIndex > 0 ? IWComboBox1.text() : std::string(); }};

  Footer footer{*this};
};

}  // namespace zeziza::pages

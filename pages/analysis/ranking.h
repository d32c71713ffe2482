#pragma once

#include "pages/analysis/analysis_export.h"
#include "pages/analysis/ranking_table.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"
#include "web/page.h"

namespace zeziza::pages {

// Ranking: the score rows of a scope by total, each with its rank by total, by average and by
// every subject.
class RankingPage : public web::Page {
 public:
  RankingPage();

 private:
  void onCreate();
  void IWButton1Click();
  void ExportLinkClick();

  NavigationBar navigationBar{*this};
  web::Label IWLabel1{*this, "IWLabel1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};  // exam
  web::ComboBox IWComboBox2{*this, "IWComboBox2"};  // unit
  web::ComboBox IWComboBox3{*this, "IWComboBox3"};  // grade
  web::ComboBox IWComboBox4{*this, "IWComboBox4"};  // class
  web::Button IWButton1{*this, "IWButton1"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid IWGrid1{*this, "IWGrid1"};
  Footer footer{*this};

  AnalysisExport export_;  // the ranking shown
  RankingTable ranking_;   // its keys and ranks; the grid's rows are read from it
};

}  // namespace zeziza::pages

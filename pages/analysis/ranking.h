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
  static constexpr const char* kName = "RankingPage";
  RankingPage();

 private:
  void onCreate();
  void onAnalyse();
  void onExport();

  NavigationBar navigationBar{*this};
  web::Label scopeLabel{*this, "scopeLabel"};
  web::ComboBox examBox{*this, "examBox"};
  web::ComboBox unitBox{*this, "unitBox"};
  web::ComboBox gradeBox{*this, "gradeBox"};
  web::ComboBox classBox{*this, "classBox"};
  web::Button analyseButton{*this, "analyseButton"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid resultGrid{*this, "resultGrid"};
  Footer footer{*this};

  AnalysisExport export_;  // the ranking shown
  RankingTable ranking_;   // its keys and ranks; the grid's rows are read from it
};

}  // namespace zeziza::pages

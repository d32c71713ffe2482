#pragma once

#include "pages/analysis/analysis_export.h"
#include "pages/analysis/ranking_table.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
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
  ScopeSelector scopeBoxes{*this,
                           {.exam = ScopeBox{.allItem = "全部考试", .noSelectionText = "考试"},
                            .unit = ScopeBox{.allItem = "所有学校", .noSelectionText = "学校"},
                            .grade = ScopeBox{.allItem = "全部年级", .noSelectionText = "年级"},
                            .cls = ScopeBox{.allItem = "所有班", .noSelectionText = "班次"}}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Button analyseButton{*this, "analyseButton"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid resultGrid{*this, "resultGrid"};
  Footer footer{*this};

  AnalysisExport export_;  // the ranking shown
  RankingTable ranking_;   // its keys and ranks; the grid's rows are read from it
};

}  // namespace zeziza::pages

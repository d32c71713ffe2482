#pragma once

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "store/statement.h"
#include "web/controls/actions.h"
#include "web/controls/chart.h"
#include "web/controls/display.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Chart analysis: the score rows of a scope grouped by unit, grade, class, student or exam,
// with each group's subject averages and overall average, drawn in the browser as a bar chart
// of one column or as a table of all.
class ChartPage : public web::Page {
 public:
  static constexpr const char* kName = "ChartPage";
  ChartPage();

  // The last analysis: every group's sums, counts and averages, and the table drawn.
  const web::ClientDataSet& workingTable() const { return workingTable_; }
  const web::ClientDataSet& chartTable() const { return chartTable_; }

 private:
  void onCreate();
  void onAnalyse();
  void onExport();
  // The group key of a result row for the chosen grouping.
  std::string groupKey(const store::Statement& row, const store::Scope& scope) const;

  NavigationBar navigationBar{*this};
  web::Label scopeLabel{*this, "scopeLabel"};
  ScopeSelector scopeBoxes{*this,
                           {.exam = ScopeBox{.allItem = "全部考试"},
                            .unit = ScopeBox{.allItem = "所有学校"},
                            .grade = ScopeBox{.allItem = "全部年级"},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Label groupingLabel{*this, "groupingLabel"};
  web::ComboBox groupingBox{*this, "groupingBox"};
  web::Label measureLabel{*this, "measureLabel"};
  web::ComboBox columnBox{*this, "columnBox"};
  web::ComboBox presentationBox{*this, "presentationBox"};
  web::Button analyseButton{*this, "analyseButton"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Label parametersLabel{*this, "parametersLabel"};
  web::Label analysedLabel{*this, "analysedLabel"};  // what was analysed
  web::Region resultPanel{*this, "resultPanel"};
  web::DynamicGrid resultGrid{resultPanel, "resultGrid"};
  web::DynamicChart resultChart{resultPanel, "resultChart"};
  Footer footer{*this};

  web::ClientDataSet workingTable_;
  web::ClientDataSet chartTable_;
  AnalysisExport export_;  // the table shown
};

}  // namespace zeziza::pages

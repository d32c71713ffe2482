#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pages/analysis/analysis_export.h"
#include "pages/analysis/progress_table.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Progress statistics: each student's rank in a reference and a comparison exam and how far
// it moved, filtered by a range of the advance.
class ProgressPage : public web::Page {
 public:
  static constexpr const char* kName = "ProgressPage";
  ProgressPage();

 private:
  void onCreate();
  void onAnalyse();
  void onFilter();
  void onExport();
  // Hands `add` each student of `exam` in `chosen` with the chosen value, ranked.
  void readRanking(const std::string& exam, const store::Scope& chosen,
                   const std::function<void(std::int64_t, double)>& add);

  NavigationBar navigationBar{*this};
  web::Region scopeBar{*this, "scopeBar"};
  web::Label scopeLabel{scopeBar, "scopeLabel"};
  ScopeSelector scopeBoxes{scopeBar,
                           {.unit = ScopeBox{.allItem = "所有学校"},
                            .grade = ScopeBox{},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Label columnLabel{scopeBar, "columnLabel"};
  web::ComboBox columnBox{scopeBar, "columnBox"};
  web::Region examsBar{*this, "examsBar"};
  web::Label comparisonLabel{examsBar, "comparisonLabel"};
  web::ComboBox comparisonExamBox{examsBar, "comparisonExamBox"};
  web::Label referenceLabel{examsBar, "referenceLabel"};
  web::ComboBox referenceExamBox{examsBar, "referenceExamBox"};
  web::Button analyseButton{examsBar, "analyseButton"};
  web::Region filterBar{*this, "filterBar"};
  web::Label computedScopeTitle{filterBar, "computedScopeTitle"};
  web::Label computedScopeLabel{filterBar, "computedScopeLabel"};  // scope of the last computation
  web::Label filterLabel{filterBar, "filterLabel"};
  web::ComboBox lowerBox{filterBar, "lowerBox"};
  web::Label betweenLabel{filterBar, "betweenLabel"};
  web::ComboBox upperBox{filterBar, "upperBox"};
  web::Button filterButton{filterBar, "filterButton"};
  web::Link ExportLink{filterBar, "ExportLink"};
  web::Region countsPanel{*this, "countsPanel"};
  web::Label countsLabel{countsPanel, "countsLabel"};  // who took part in each exam and in both
  web::Grid resultGrid{*this, "resultGrid"};
  Footer footer{*this};

  AnalysisExport export_;             // the computation shown
  ProgressTable working_;             // kept with the page: 过滤 applies again without computing
  std::vector<std::uint32_t> shown_;  // the rows of working_ the filter shows
};

}  // namespace zeziza::pages

#pragma once

#include <string>

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "store/subject_columns.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/lists.h"
#include "web/page.h"

namespace zeziza::pages {

// Class comparison: for one exam, grade and score column, one row of statistics per unit and
// class of the settings lists.
class ClassComparisonPage : public web::Page {
 public:
  static constexpr const char* kName = "ClassComparisonPage";
  ClassComparisonPage();

 private:
  void onCreate();
  void onAnalyse();
  void onExport();
  // The score column chosen in columnBox: cj.zf, cj.pj or a subject's k<p>.
  store::ScoreColumn chosenColumn() const;

  NavigationBar navigationBar{*this};
  ScopeSelector scopeBoxes{
      *this,
      {.exam = ScopeBox{.noSelectionText = "选择分析的考试", .caption = "考试"},
       .grade = ScopeBox{.caption = "年级"}}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::Label columnLabel{*this, "columnLabel"};
  web::ComboBox columnBox{*this, "columnBox"};
  web::Button analyseButton{*this, "analyseButton"};
  web::Label parametersLabel{*this, "parametersLabel"};
  web::Label analysedLabel{*this, "analysedLabel"};  // what was analysed
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid resultGrid{*this, "resultGrid"};
  Footer footer{*this};

  AnalysisExport export_;  // the comparison shown
};

}  // namespace zeziza::pages

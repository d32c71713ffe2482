#pragma once

#include <string>

#include "pages/analysis/report_card_sheet.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "store/scope.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Report cards for parents: one card per student of an exam and scope, printed by the
// browser's own print.
class ReportCardsPage : public web::Page {
 public:
  // Opens with the exam (empty: none) and scope the score query had chosen.
  explicit ReportCardsPage(std::string exam = {}, store::Scope scope = {});

 private:
  void onCreate();
  void onMake();

  NavigationBar navigationBar{*this};
  web::Region scopeBar{*this, "scopeBar"};
  web::Label scopeLabel{scopeBar, "scopeLabel"};
  ScopeSelector scopeBoxes{scopeBar,
                           {.exam = ScopeBox{.noSelectionText = "考试"},
                            .unit = ScopeBox{.allItem = "所有学校"},
                            .grade = ScopeBox{.allItem = "全部年级"},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Button makeButton{scopeBar, "makeButton"};
  web::Label countLabel{*this, "countLabel"};  // how many cards, how to print
  web::Region CardsBox{*this, "CardsBox"};
  ReportCardSheet Cards{CardsBox, "Cards"};
  Footer footer{*this};

  std::string exam_;
  store::Scope scope_;
};

}  // namespace zeziza::pages

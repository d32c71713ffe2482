#pragma once

#include <string>

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
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
  ClassComparisonPage();

 private:
  void onCreate();
  void IWButton1Click();
  void ExportLinkClick();
  // The score column chosen in IWComboBox3: cj.zf, cj.pj or a subject's k<p>.
  std::string chosenColumn() const;

  NavigationBar navigationBar{*this};
  web::Label IWLabel1{*this, "IWLabel1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};  // exam
  web::Label IWLabel2{*this, "IWLabel2"};
  web::ComboBox IWComboBox2{*this, "IWComboBox2"};  // grade
  web::Label IWLabel3{*this, "IWLabel3"};
  web::ComboBox IWComboBox3{*this, "IWComboBox3"};  // score column
  web::Button IWButton1{*this, "IWButton1"};
  web::Label IWLabel4{*this, "IWLabel4"};
  web::Label IWLabel5{*this, "IWLabel5"};  // what was analysed
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid IWGrid1{*this, "IWGrid1"};
  Footer footer{*this};

  AnalysisExport export_;  // the comparison shown
};

}  // namespace zeziza::pages

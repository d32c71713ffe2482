#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pages/analysis/analysis_export.h"
#include "pages/analysis/progress_table.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
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
  ProgressPage();

 private:
  void onCreate();
  void IWButton1Click();  // 进阶统计
  void IWButton2Click();  // 过滤
  void ExportLinkClick();
  // Hands `add` each student of `exam` in the chosen scope with the chosen value, ranked.
  void readRanking(const std::string& exam, const std::function<void(std::int64_t, double)>& add);

  NavigationBar navigationBar{*this};
  web::Region IWRegion1{*this, "IWRegion1"};
  web::Label IWLabel1{IWRegion1, "IWLabel1"};
  web::ComboBox IWComboBox1{IWRegion1, "IWComboBox1"};  // unit
  web::ComboBox IWComboBox2{IWRegion1, "IWComboBox2"};  // grade
  web::ComboBox IWComboBox3{IWRegion1, "IWComboBox3"};  // class
  web::Label IWLabel2{IWRegion1, "IWLabel2"};
  web::ComboBox IWComboBox4{IWRegion1, "IWComboBox4"};  // column
  web::Region IWRegion2{*this, "IWRegion2"};
  web::Label IWLabel3{IWRegion2, "IWLabel3"};
  web::ComboBox IWComboBox5{IWRegion2, "IWComboBox5"};  // comparison exam
  web::Label IWLabel4{IWRegion2, "IWLabel4"};
  web::ComboBox IWComboBox6{IWRegion2, "IWComboBox6"};  // reference exam
  web::Button IWButton1{IWRegion2, "IWButton1"};
  web::Region IWRegion3{*this, "IWRegion3"};
  web::Label IWLabel5{IWRegion3, "IWLabel5"};
  web::Label IWLabel6{IWRegion3, "IWLabel6"};  // scope of the last computation
  web::Label IWLabel7{IWRegion3, "IWLabel7"};
  web::ComboBox IWComboBox7{IWRegion3, "IWComboBox7"};  // lower bound
  web::Label IWLabel8{IWRegion3, "IWLabel8"};
  web::ComboBox IWComboBox8{IWRegion3, "IWComboBox8"};  // upper bound
  web::Button IWButton2{IWRegion3, "IWButton2"};
  web::Link ExportLink{IWRegion3, "ExportLink"};
  web::Region IWRegion4{*this, "IWRegion4"};
  web::Label IWLabel9{IWRegion4, "IWLabel9"};  // who took part in each exam and in both
  web::Grid IWGrid1{*this, "IWGrid1"};
  Footer footer{*this};

  AnalysisExport export_;             // the computation shown
  ProgressTable working_;             // kept with the page: 过滤 applies again without computing
  std::vector<std::uint32_t> shown_;  // the rows of working_ the filter shows
};

}  // namespace zeziza::pages

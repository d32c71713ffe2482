#pragma once

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "store/query.h"
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
  ChartPage();

  // The last analysis: every group's sums, counts and averages, and the table drawn.
  const web::ClientDataSet& workingTable() const { return workingTable_; }
  const web::ClientDataSet& chartTable() const { return chartTable_; }

 private:
  void onCreate();
  void IWButton1Click();
  void ExportLinkClick();
  // The group key of a result row for the chosen grouping.
  std::string groupKey(const store::Query& rows, std::size_t row) const;

  NavigationBar navigationBar{*this};
  web::Label IWLabel1{*this, "IWLabel1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};  // exam
  web::ComboBox IWComboBox2{*this, "IWComboBox2"};  // unit
  web::ComboBox IWComboBox3{*this, "IWComboBox3"};  // grade
  web::ComboBox IWComboBox4{*this, "IWComboBox4"};  // class
  web::Label IWLabel2{*this, "IWLabel2"};
  web::ComboBox IWComboBox5{*this, "IWComboBox5"};  // grouping
  web::Label IWLabel3{*this, "IWLabel3"};
  web::ComboBox IWComboBox6{*this, "IWComboBox6"};  // charted column
  web::ComboBox IWComboBox7{*this, "IWComboBox7"};  // presentation
  web::Button IWButton1{*this, "IWButton1"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Label IWLabel4{*this, "IWLabel4"};
  web::Label IWLabel5{*this, "IWLabel5"};  // what was analysed
  web::Region IWRegion1{*this, "IWRegion1"};
  web::DynamicGrid IWDynGrid1{IWRegion1, "IWDynGrid1"};
  web::DynamicChart IWDynamicChart1{IWRegion1, "IWDynamicChart1"};
  Footer footer{*this};

  web::ClientDataSet workingTable_;
  web::ClientDataSet chartTable_;
  AnalysisExport export_;  // the table shown
};

}  // namespace zeziza::pages

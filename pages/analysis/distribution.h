#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// Score-range distribution: how many of the top or bottom X students, or of those scoring at
// least or at most X, each unit, grade and class holds, with the students of one class on
// request.
class DistributionPage : public web::Page {
 public:
  DistributionPage();

 private:
  void onCreate();
  void IWButton1Click();
  void IWGrid1CellClick(int row, int column);
  void IWLink1Click();
  void ExportLinkClick();
  void DetailsExportClick();
  // A unit, grade and class of the range, with how many of its rows fall there.
  struct Place {
    std::string unit;
    std::string grade;
    std::string cls;
    int count = 0;
  };
  // Reads the rows of the chosen range kind over the chosen scope: one grid row per place,
  // and each row's key and place kept for the details. Returns how many rows it read.
  std::size_t readRange(long long x);
  void showPlaces(const std::vector<Place>& places);
  // The score column chosen in IWComboBox4: cj.pj, cj.zf or a subject's k<p>.
  std::string chosenColumn() const;
  bool rankKind() const;

  NavigationBar navigationBar{*this};
  web::Label IWLabel1{*this, "IWLabel1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};  // exam
  web::ComboBox IWComboBox2{*this, "IWComboBox2"};  // unit
  web::ComboBox IWComboBox3{*this, "IWComboBox3"};  // grade
  web::Label IWLabel2{*this, "IWLabel2"};
  web::ComboBox IWComboBox4{*this, "IWComboBox4"};  // score column
  web::Label IWLabel3{*this, "IWLabel3"};
  web::ComboBox IWComboBox5{*this, "IWComboBox5"};  // range kind
  web::Label IWLabel4{*this, "IWLabel4"};
  web::Edit IWEdit1{*this, "IWEdit1"};  // X
  web::Button IWButton1{*this, "IWButton1"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid IWGrid1{*this, "IWGrid1"};
  web::Region IWRegion1{*this, "IWRegion1"};  // details panel
  web::Label IWLabel5{IWRegion1, "IWLabel5"};
  web::Link IWLink1{IWRegion1, "IWLink1"};
  web::Link DetailsExport{IWRegion1, "DetailsExport"};
  web::Grid IWGrid2{IWRegion1, "IWGrid2"};
  Footer footer{*this};

  // The rows of the range, compact: their keys in result order and the grid row of each
  // one's place. The details read their rows again by key.
  std::vector<std::int64_t> rangeKeys_;
  std::vector<std::uint32_t> rangePlaces_;
  AnalysisExport export_;         // the distribution shown
  AnalysisExport detailsExport_;  // the details shown
};

}  // namespace zeziza::pages

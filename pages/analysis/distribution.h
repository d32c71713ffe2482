#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "pages/analysis/analysis_export.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "store/subject_columns.h"
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
  static constexpr const char* kName = "DistributionPage";
  DistributionPage();

 private:
  void onCreate();
  void onAnalyse();
  void onShowDetails(int row, int column);
  void onCloseDetails();
  void onExport();
  void onDetailsExport();
  // A unit, grade and class of the range, with how many of its rows fall there.
  struct Place {
    std::string unit;
    std::string grade;
    std::string cls;
    int count = 0;
  };
  // Reads the rows of the chosen range kind over the chosen scope: one grid row per place,
  // and each row's key and place kept for the details. Returns how many rows it read.
  std::size_t readRange(long long x, const store::Scope& chosen);
  // Sorts `places` by unit, grade and class in the order of the school's lists (others after
  // them by text) and points each entry of `placeOf` (grid rows from 1) at its place's new row.
  static void sortPlaces(std::vector<Place>& places, std::vector<std::uint32_t>& placeOf);
  void showPlaces(const std::vector<Place>& places);
  // The score column chosen in columnBox: cj.pj, cj.zf or a subject's k<p>.
  store::ScoreColumn chosenColumn() const;
  bool rankKind() const;

  NavigationBar navigationBar{*this};
  web::Label scopeLabel{*this, "scopeLabel"};
  ScopeSelector scopeBoxes{
      *this, {.exam = ScopeBox{}, .unit = ScopeBox{.allItem = "所有学校"}, .grade = ScopeBox{}}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::Label columnLabel{*this, "columnLabel"};
  web::ComboBox columnBox{*this, "columnBox"};
  web::Label limitLabel{*this, "limitLabel"};
  web::ComboBox limitKindBox{*this, "limitKindBox"};
  web::Label xLabel{*this, "xLabel"};
  web::Edit xEdit{*this, "xEdit"};
  web::Button analyseButton{*this, "analyseButton"};
  web::Link ExportLink{*this, "ExportLink"};
  web::Grid resultGrid{*this, "resultGrid"};
  web::Region detailsPanel{*this, "detailsPanel"};
  web::Label detailsLabel{detailsPanel, "detailsLabel"};
  web::Link closeDetailsLink{detailsPanel, "closeDetailsLink"};
  web::Link DetailsExport{detailsPanel, "DetailsExport"};
  web::Grid detailsGrid{detailsPanel, "detailsGrid"};
  Footer footer{*this};

  // The rows of the range, compact: their keys in result order and the grid row of each
  // one's place. The details read their rows again by key.
  std::vector<std::int64_t> rangeKeys_;
  std::vector<std::uint32_t> rangePlaces_;
  AnalysisExport export_;         // the distribution shown
  AnalysisExport detailsExport_;  // the details shown
};

}  // namespace zeziza::pages

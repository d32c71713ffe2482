#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "export/sheet_layout.h"
#include "pages/analysis/score_history_panel.h"
#include "pages/analysis/score_query_result.h"
#include "pages/analysis/score_query_statement.h"
#include "pages/analysis/score_statistics_panel.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "store/query.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/pager.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

class ScoreScale;

// The score query: score rows by exam, unit, grade, class and name, sorted as asked, thirty to a
// page, with a statistics panel over the whole result and a spreadsheet export.
class ScoreQueryPage : public web::Page {
 public:
  static constexpr const char* kName = "ScoreQueryPage";
  ScoreQueryPage();

  static constexpr std::size_t kRowsPerPage = 30;

 private:
  void onCreate();
  void onQuery();
  void onPageChosen();
  void onExport();
  void onShowStatistics();
  void onPrintCards();

  void fillLists();
  ScoreQueryFilter chosenFilter() const;
  bool hasEverySubject(const store::Query& result, const std::vector<std::string>& subjects);
  bool search(const ScoreQueryFilter& filter, const std::vector<std::string>& subjects,
              const ScoreScale& scale);
  // The statistics of one exam's rows (`values` per subject, as the search read them).
  std::vector<SubjectRecord> examRecords(const ScoreQueryFilter& filter,
                                         const std::vector<std::string>& subjects,
                                         const ScoreScale& scale,
                                         std::vector<std::vector<double>> values);
  std::vector<SubjectRecord> recordsPerExam(const ScoreQueryFilter& filter,
                                            const std::vector<std::string>& subjects,
                                            std::span<const std::size_t> columns,
                                            const ScoreScale& scale);
  void showNoResult();
  void fillPaging(std::size_t rows);

  // The last search's rows by key; none until a search has run on this page, or after one
  // failed. The grid's query, this page's own, holds only the rows of the page shown.
  std::optional<ScoreQueryResult> result_;
  std::optional<store::Query> shownRows_;
  spreadsheet::QueryScopeTexts searchedScope_;

  NavigationBar navigationBar{*this};

  web::Region filterBar{*this, "filterBar"};
  web::Label scopeLabel{filterBar, "scopeLabel"};
  ScopeSelector scopeBoxes{filterBar,
                           {.exam = ScopeBox{.allItem = "全部考试"},
                            .unit = ScopeBox{.allItem = "所有学校"},
                            .grade = ScopeBox{.allItem = "所有年级"},
                            .cls = ScopeBox{.allItem = "所有班"},
                            .firstExamWithoutDefault = true}};
  web::ComboBox& examBox = scopeBoxes.exam();
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Label nameLabel{filterBar, "nameLabel"};
  web::Edit nameEdit{filterBar, "nameEdit"};
  web::ComboBox sortBox{filterBar, "sortBox"};
  web::ComboBox directionBox{filterBar, "directionBox"};
  web::Button queryButton{filterBar, "queryButton"};

  web::Region resultBar{*this, "resultBar"};
  web::Label resultLabel{resultBar, "resultLabel"};
  web::Link exportLink{resultBar, "exportLink"};
  web::Link statisticsLink{resultBar, "statisticsLink"};
  web::Link PrintCards{resultBar, "PrintCards"};
  web::Pager resultPager{resultBar, "resultPager", kRowsPerPage};

  ScoreStatisticsPanel statisticsPanel{*this};
  web::DBGrid resultsGrid{*this, "resultsGrid"};
  // Administrators look up who changed a student's scores.
  ScoreHistoryPanel History{
      *this, [this] { return examBox.ItemIndex > 0 ? examBox.text() : std::string(); }};

  Footer footer{*this};
};

}  // namespace zeziza::pages

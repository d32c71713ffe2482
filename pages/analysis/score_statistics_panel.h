#pragma once

#include <span>
#include <string>
#include <vector>

#include "pages/analysis/score_statistics.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The score query's statistics panel: a summary grid (one statistics record per subject) above
// a band grid, hidden until asked for; its "×" hides it again.
class ScoreStatisticsPanel : public web::Region {
 public:
  explicit ScoreStatisticsPanel(web::Container& parent);

  // Empties both grids and fills them with the header rows and one row per record; a subject
  // without a record shows only its name.
  void fill(const std::vector<SubjectRecord>& records, std::span<const int> bands);
  // The same under band captions already made (in the subjects' points), the rate captions
  // saying the rate basis the records were computed with.
  void fill(const std::vector<SubjectRecord>& records, const std::vector<std::string>& bandCaptions,
            analysis::RateBasis rates);
  // Leaves both grids without any row (no result).
  void clear();

  web::Label statisticsLabel{*this, "statisticsLabel"};
  web::Link closeStatisticsLink{*this, "closeStatisticsLink"};
  web::Grid summaryGrid{*this, "summaryGrid"};
  web::Grid bandsGrid{*this, "bandsGrid"};

 private:
  void onClose() { Visible = false; }
};

}  // namespace zeziza::pages

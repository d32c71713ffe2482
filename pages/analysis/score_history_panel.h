#pragma once

#include <functional>
#include <string>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// Who changed a student's scores and when, newest first: a read-only view for administrators
// (codes 0 and 1) on the score query page.
class ScoreHistoryPanel : public web::Region {
 public:
  // `exam` names the exam chosen on the page, "" for every exam.
  ScoreHistoryPanel(web::Container& parent, std::function<std::string()> exam);

  // Shows the panel only to the codes that may read the history.
  void showFor(bool allowed);
  // Lists the history of the student numbered as typed, in the chosen exam.
  void show();

 private:
  std::function<std::string()> exam_;
  void fill(const std::string& exam, std::int64_t student);

  web::Label Caption{*this, "HistoryCaption"};
  web::Edit Number{*this, "HistoryNumber"};
  web::Button Show{*this, "HistoryShow"};
  web::Label Status{*this, "HistoryStatus"};
  web::Grid Changes{*this, "HistoryGrid"};
};

}  // namespace zeziza::pages

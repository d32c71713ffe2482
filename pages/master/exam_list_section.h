#pragma once

#include <string>
#include <vector>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/grid.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The exams. A new exam becomes the default exam; the default exam and exams with scores
// cannot be deleted.
class ExamListSection : public web::Region {
 public:
  explicit ExamListSection(web::Container& parent);

  void load(std::vector<std::string> exams);
  void add();
  void remove(int row);

  web::Label Heading{*this, "ExamsHeading"};
  web::Region HelpBox{*this, "ExamsHelp"};
  web::Text Help{HelpBox, "ExamsHelpText"};
  web::Edit IWEdit4{*this, "IWEdit4"};
  web::Button IWButton3{*this, "IWButton3"};
  web::List IWList1{*this, "IWList1"};
  web::Grid IWGrid2{*this, "IWGrid2"};

 private:
  void rebuildGrid();
  void takeStored(std::vector<std::string> exams, const std::string& refusal);
};

}  // namespace zeziza::pages

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

// The subjects: at most twelve, only ever appended, since subject i owns score column k<i>.
class SubjectListSection : public web::Region {
 public:
  static constexpr std::size_t kMaxSubjects = 12;

  explicit SubjectListSection(web::Container& parent);

  void load(std::vector<std::string> subjects);
  void add();

  web::Label Heading{*this, "SubjectsHeading"};
  web::Region HelpBox{*this, "SubjectsHelp"};
  web::Text Help{HelpBox, "SubjectsHelpText"};
  web::Edit IWEdit5{*this, "IWEdit5"};
  web::Button IWButton5{*this, "IWButton5"};
  web::List IWList2{*this, "IWList2"};
  web::Grid IWGrid3{*this, "IWGrid3"};

 private:
  void rebuildGrid();
};

}  // namespace zeziza::pages

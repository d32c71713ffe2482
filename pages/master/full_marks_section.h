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

// Each subject's full mark (满分): levels and bands are entered out of 100 and read in the
// points of each subject, of the total and of the average.
class FullMarksSection : public web::Region {
 public:
  static constexpr int kHighestFullMark = 1000;

  explicit FullMarksSection(web::Container& parent);

  // Shows the subjects with their stored full marks (100 where none is stored).
  void load(const std::vector<std::string>& subjects);
  // Saves the full mark typed for the chosen subject.
  void save();

  web::Label Heading{*this, "FullMarksHeading"};
  web::Region HelpBox{*this, "FullMarksHelp"};
  web::Text Help{HelpBox, "FullMarksHelpText"};
  web::ComboBox Subject{*this, "FullMarkSubject"};
  web::Edit Mark{*this, "FullMarkEdit"};
  web::Button Save{*this, "FullMarkSave"};
  web::Grid Marks{*this, "FullMarksGrid"};
};

}  // namespace zeziza::pages

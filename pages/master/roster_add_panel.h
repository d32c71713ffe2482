#pragma once

#include <string>
#include <vector>

#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The panel that adds a batch of students to one unit, grade and class from two pasted
// columns: student numbers and names, aligned by line.
class AddStudentsPanel : public web::Region {
 public:
  explicit AddStudentsPanel(web::Container& parent);

  void fill(const std::vector<std::string>& units, const std::vector<std::string>& grades,
            const std::vector<std::string>& classes);
  // Adds the whole batch, or none of it.
  void addStudents();

  web::Label Heading{*this, "AddHeading"};
  web::Link addCloseLink{*this, "addCloseLink"};
  web::Label UnitLabel{*this, "AddUnitLabel"};
  web::ComboBox addUnitBox{*this, "addUnitBox"};
  web::Label GradeLabel{*this, "AddGradeLabel"};
  web::ComboBox addGradeBox{*this, "addGradeBox"};
  web::Label ClassLabel{*this, "AddClassLabel"};
  web::ComboBox addClassBox{*this, "addClassBox"};
  web::Region Boxes{*this, "AddBoxes"};
  web::Region NumberColumn{Boxes, "AddNumberColumn"};
  web::Label NumberLabel{NumberColumn, "AddNumberLabel"};
  web::Memo numbersMemo{NumberColumn, "numbersMemo"};
  web::Region NameColumn{Boxes, "AddNameColumn"};
  web::Label NameLabel{NameColumn, "AddNameLabel"};
  web::Memo namesMemo{NameColumn, "namesMemo"};
  web::Region HelpColumn{Boxes, "AddHelpColumn"};
  web::Text Help{HelpColumn, "AddHelp"};
  web::Button addButton{*this, "addButton"};
};

}  // namespace zeziza::pages

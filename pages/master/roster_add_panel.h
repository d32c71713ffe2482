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
  web::Link IWLink4{*this, "IWLink4"};
  web::Label UnitLabel{*this, "AddUnitLabel"};
  web::ComboBox IWComboBox10{*this, "IWComboBox10"};
  web::Label GradeLabel{*this, "AddGradeLabel"};
  web::ComboBox IWComboBox11{*this, "IWComboBox11"};
  web::Label ClassLabel{*this, "AddClassLabel"};
  web::ComboBox IWComboBox12{*this, "IWComboBox12"};
  web::Region Boxes{*this, "AddBoxes"};
  web::Region NumberColumn{Boxes, "AddNumberColumn"};
  web::Label NumberLabel{NumberColumn, "AddNumberLabel"};
  web::Memo IWMemo1{NumberColumn, "IWMemo1"};
  web::Region NameColumn{Boxes, "AddNameColumn"};
  web::Label NameLabel{NameColumn, "AddNameLabel"};
  web::Memo IWMemo2{NameColumn, "IWMemo2"};
  web::Region HelpColumn{Boxes, "AddHelpColumn"};
  web::Text Help{HelpColumn, "AddHelp"};
  web::Button IWButton3{*this, "IWButton3"};
};

}  // namespace zeziza::pages

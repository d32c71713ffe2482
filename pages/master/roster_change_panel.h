#pragma once

#include <string>
#include <vector>

#include "store/query.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The panel that changes one student's number, name and place.
class ChangeStudentPanel : public web::Region {
 public:
  explicit ChangeStudentPanel(web::Container& parent);

  void fill(const std::vector<std::string>& units, const std::vector<std::string>& grades,
            const std::vector<std::string>& classes);
  // Opens the panel on row `row` of the roster's result.
  void open(const store::Query& result, std::size_t row);
  // Stores the change; false when it was refused and the panel stays open.
  bool save();

  web::Link changeCloseLink{*this, "changeCloseLink"};
  web::Label changeHeading{*this, "changeHeading"};
  web::Label NumberLabel{*this, "ChangeNumberLabel"};
  web::Edit changeNumberEdit{*this, "changeNumberEdit"};
  web::Label NameLabel{*this, "ChangeNameLabel"};
  web::Edit changeNameEdit{*this, "changeNameEdit"};
  web::ComboBox changeUnitBox{*this, "changeUnitBox"};
  web::ComboBox changeGradeBox{*this, "changeGradeBox"};
  web::ComboBox changeClassBox{*this, "changeClassBox"};
  web::Button saveChangeButton{*this, "saveChangeButton"};
  web::Button cancelChangeButton{*this, "cancelChangeButton"};
  web::Label changedKey{*this, "changedKey"};
};

}  // namespace zeziza::pages

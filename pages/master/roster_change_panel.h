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

  web::Link IWLink3{*this, "IWLink3"};
  web::Label IWLabel1{*this, "IWLabel1"};
  web::Label NumberLabel{*this, "ChangeNumberLabel"};
  web::Edit IWEdit2{*this, "IWEdit2"};
  web::Label NameLabel{*this, "ChangeNameLabel"};
  web::Edit IWEdit1{*this, "IWEdit1"};
  web::ComboBox IWComboBox1{*this, "IWComboBox1"};
  web::ComboBox IWComboBox2{*this, "IWComboBox2"};
  web::ComboBox IWComboBox3{*this, "IWComboBox3"};
  web::Button IWButton1{*this, "IWButton1"};
  web::Button IWButton4{*this, "IWButton4"};
  web::Label thxh{*this, "thxh"};
};

}  // namespace zeziza::pages

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

// Inserts `value` before the first boundary greater than it, else at the end; an equal value
// goes after the boundaries equal to it. Entries that are no integer are passed over.
void insertBoundary(std::vector<std::string>& bands, int value);
// What grid row `i` says of boundary i: "成绩大于等于(零除外)60小于70", or, for the last,
// "成绩大于等于(零除外)80".
std::string bandDescription(const std::vector<std::string>& bands, std::size_t i);

// The boundaries of the score bands, kept in ascending order.
class BandsSection : public web::Region {
 public:
  explicit BandsSection(web::Container& parent);

  void load(std::vector<std::string> bands);
  void add();
  void remove(int row);

  web::Label Heading{*this, "BandsHeading"};
  web::Region HelpBox{*this, "BandsHelp"};
  web::Text Help{HelpBox, "BandsHelpText"};
  web::Label Into{*this, "BandsInto"};
  web::Edit IWEdit8{*this, "IWEdit8"};
  web::Button IWButton4{*this, "IWButton4"};
  web::ListBox fenshuduan{*this, "fenshuduan"};
  web::Grid IWGrid1{*this, "IWGrid1"};

 private:
  void rebuildGrid();
};

}  // namespace zeziza::pages

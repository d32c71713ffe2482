#pragma once

#include "store/settings_cache.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The score levels, read left to right as a scale: 1000 > 优秀 >= excellentEdit > 良好 >= goodEdit
// > 及格 >= passEdit > 不及格 > 0.
class LevelsSection : public web::Region {
 public:
  explicit LevelsSection(web::Container& parent);

  void load(const store::SettingsSnapshot& settings);
  // Saves the three lower bounds when they are integers in strictly falling order.
  void save();

  web::Label Heading{*this, "LevelsHeading"};
  web::Edit topEdit{*this, "topEdit"};
  web::Label ExcellentSign{*this, "ExcellentSign"};
  web::Edit excellentEdit{*this, "excellentEdit"};
  web::Label GoodSign{*this, "GoodSign"};
  web::Edit goodEdit{*this, "goodEdit"};
  web::Label PassSign{*this, "PassSign"};
  web::Edit passEdit{*this, "passEdit"};
  web::Label FailSign{*this, "FailSign"};
  web::Edit bottomEdit{*this, "bottomEdit"};
  web::Button saveLevelsButton{*this, "saveLevelsButton"};
};

}  // namespace zeziza::pages

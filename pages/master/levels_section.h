#pragma once

#include "store/settings_cache.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/region.h"

namespace zeziza::pages {

// The score levels, read left to right as a scale: 1000 > 优秀 >= youxiu > 良好 >= lianghao >
// 及格 >= jige > 不及格 > 0.
class LevelsSection : public web::Region {
 public:
  explicit LevelsSection(web::Container& parent);

  void load(const store::SettingsSnapshot& settings);
  // Saves the three lower bounds when they are integers in strictly falling order.
  void save();

  web::Label Heading{*this, "LevelsHeading"};
  web::Edit IWEdit7{*this, "IWEdit7"};
  web::Label ExcellentSign{*this, "ExcellentSign"};
  web::Edit youxiu{*this, "youxiu"};
  web::Label GoodSign{*this, "GoodSign"};
  web::Edit lianghao{*this, "lianghao"};
  web::Label PassSign{*this, "PassSign"};
  web::Edit jige{*this, "jige"};
  web::Label FailSign{*this, "FailSign"};
  web::Edit IWEdit3{*this, "IWEdit3"};
  web::Button IWButton2{*this, "IWButton2"};
};

}  // namespace zeziza::pages

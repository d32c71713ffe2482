#pragma once

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The setup guide shown while no scores exist: the groundwork to do, offering only the
// links the user's rights code may follow.
class SetupGuidePage : public web::Page {
 public:
  SetupGuidePage();

 private:
  void onCreate();
  void IWLink6Click();
  void IWLink7Click();
  void IWLink8Click();
  void IWLink9Click();
  void IWLink10Click();
  void onSignOut();

  NavigationBar navigationBar{*this};
  web::Region IWRegion1{*this, "IWRegion1"};
  web::Label IWLabel1{IWRegion1, "IWLabel1"};
  web::Text IWText1{IWRegion1, "IWText1"};
  web::Link IWLink6{IWRegion1, "IWLink6"};
  web::Link IWLink7{IWRegion1, "IWLink7"};
  web::Link IWLink8{IWRegion1, "IWLink8"};
  web::Link IWLink9{IWRegion1, "IWLink9"};
  web::Link IWLink10{IWRegion1, "IWLink10"};
  Footer footer{*this};
};

}  // namespace zeziza::pages

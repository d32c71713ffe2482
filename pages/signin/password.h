#pragma once

#include "pages/common/nav_bar.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The password change page: the signed-in user replaces their own password.
class PasswordPage : public web::Page {
 public:
  PasswordPage();

 private:
  void IWButton1Click();

  NavigationBar navigationBar{*this};
  web::Region IWRegion1{*this, "IWRegion1"};
  web::Label IWLabel1{IWRegion1, "IWLabel1"};
  web::Edit IWEdit1{IWRegion1, "IWEdit1"};
  web::Label IWLabel2{IWRegion1, "IWLabel2"};
  web::Edit IWEdit2{IWRegion1, "IWEdit2"};
  web::Label IWLabel3{IWRegion1, "IWLabel3"};
  web::Edit IWEdit3{IWRegion1, "IWEdit3"};
  web::Button IWButton1{IWRegion1, "IWButton1"};
};

}  // namespace zeziza::pages

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
  static constexpr const char* kName = "PasswordPage";
  PasswordPage();

 private:
  void onChangePassword();

  NavigationBar navigationBar{*this};
  web::Region passwordPanel{*this, "passwordPanel"};
  web::Label currentPasswordLabel{passwordPanel, "currentPasswordLabel"};
  web::Edit currentPasswordEdit{passwordPanel, "currentPasswordEdit"};
  web::Label newPasswordLabel{passwordPanel, "newPasswordLabel"};
  web::Edit newPasswordEdit{passwordPanel, "newPasswordEdit"};
  web::Label repeatPasswordLabel{passwordPanel, "repeatPasswordLabel"};
  web::Edit repeatPasswordEdit{passwordPanel, "repeatPasswordEdit"};
  web::Button changeButton{passwordPanel, "changeButton"};
};

}  // namespace zeziza::pages

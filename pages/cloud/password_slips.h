#pragma once

#include "pages/cloud/password_slip_sheet.h"
#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The results site's password slips: one per student of the chosen classes with the first
// password given at publication, printed by the browser's own print. The passwords are
// secrets: only administrators see them.
class PasswordSlipsPage : public web::Page {
 public:
  static constexpr const char* kName = "PasswordSlipsPage";
  PasswordSlipsPage();

  static constexpr const char* kNoneMessage =
      "所选范围内没有保存的初始密码。初始密码在上传学生花名册时生成。";

 private:
  void onCreate();
  void onMake();

  NavigationBar navigationBar{*this};
  web::Region scopeBar{*this, "scopeBar"};
  web::Label scopeLabel{scopeBar, "scopeLabel"};
  ScopeSelector scopeBoxes{scopeBar,
                           {.unit = ScopeBox{.allItem = "所有单位"},
                            .grade = ScopeBox{.allItem = "所有年级"},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Button makeButton{scopeBar, "makeButton"};
  web::Label countLabel{*this, "countLabel"};
  web::Region slipsBox{*this, "slipsBox"};
  PasswordSlipSheet slips{slipsBox, "slips"};
  Footer footer{*this};
};

}  // namespace zeziza::pages

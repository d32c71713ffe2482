#pragma once

#include "pages/common/footer.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The login page: the start page of every session and the page after sign-out. While no
// super administrator exists it offers the panel that creates the first one.
class LoginPage : public web::Page {
 public:
  LoginPage();

 private:
  void onCreate();
  void IWButton1Click();
  void IWButton2Click();
  // Sends a signed-in user to the page of their rights code, or says why not.
  void routeSignedInUser();

  web::ImageFile IWImageFile1{*this, "IWImageFile1"};
  web::Region LoginArea{*this, "LoginArea"};

  web::Region IWRegion1{LoginArea, "IWRegion1"};
  web::Label IWLabel2{IWRegion1, "IWLabel2"};
  web::Label IWLabel3{IWRegion1, "IWLabel3"};
  web::Region NameRow{IWRegion1, "NameRow"};
  web::Label IWLabel4{NameRow, "IWLabel4"};
  web::Edit IWEdit1{NameRow, "IWEdit1"};
  web::Region PasswordRow{IWRegion1, "PasswordRow"};
  web::Label IWLabel5{PasswordRow, "IWLabel5"};
  web::Edit IWEdit2{PasswordRow, "IWEdit2"};
  web::Button IWButton1{IWRegion1, "IWButton1"};
  web::Region NoteBox{IWRegion1, "NoteBox"};
  web::Label IWLabel6{NoteBox, "IWLabel6"};
  web::Text IWText1{NoteBox, "IWText1"};

  web::Region IWRegion4{LoginArea, "IWRegion4"};
  web::Label IWLabel7{IWRegion4, "IWLabel7"};
  web::Text IWText2{IWRegion4, "IWText2"};
  web::Region AdminNameRow{IWRegion4, "AdminNameRow"};
  web::Label IWLabel8{AdminNameRow, "IWLabel8"};
  web::Edit IWEdit4{AdminNameRow, "IWEdit4"};
  web::Region AdminPasswordRow{IWRegion4, "AdminPasswordRow"};
  web::Label IWLabel9{AdminPasswordRow, "IWLabel9"};
  web::Edit IWEdit3{AdminPasswordRow, "IWEdit3"};
  web::Region AdminRepeatRow{IWRegion4, "AdminRepeatRow"};
  web::Label IWLabel10{AdminRepeatRow, "IWLabel10"};
  web::Edit IWEdit5{AdminRepeatRow, "IWEdit5"};
  web::Button IWButton2{IWRegion4, "IWButton2"};

  web::Timer IWTimer1{*this, "IWTimer1"};
  Footer footer{*this};
};

}  // namespace zeziza::pages

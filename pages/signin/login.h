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
  void onSignIn();
  void onCreateAdmin();
  // Sends a signed-in user to the page of their rights code, or says why not.
  void routeSignedInUser();

  web::ImageFile bannerImage{*this, "bannerImage"};
  web::Region LoginArea{*this, "LoginArea"};

  web::Region signInPanel{LoginArea, "signInPanel"};
  web::Label titleLabel{signInPanel, "titleLabel"};
  web::Region NameRow{signInPanel, "NameRow"};
  web::Label userNameLabel{NameRow, "userNameLabel"};
  web::Edit userNameEdit{NameRow, "userNameEdit"};
  web::Region PasswordRow{signInPanel, "PasswordRow"};
  web::Label passwordLabel{PasswordRow, "passwordLabel"};
  web::Edit passwordEdit{PasswordRow, "passwordEdit"};
  web::Button signInButton{signInPanel, "signInButton"};
  web::Region NoteBox{signInPanel, "NoteBox"};
  web::Label noteLabel{NoteBox, "noteLabel"};
  web::Text noteText{NoteBox, "noteText"};

  web::Region firstAdminPanel{LoginArea, "firstAdminPanel"};
  web::Label firstAdminLabel{firstAdminPanel, "firstAdminLabel"};
  web::Text firstAdminText{firstAdminPanel, "firstAdminText"};
  web::Region AdminNameRow{firstAdminPanel, "AdminNameRow"};
  web::Label adminNameLabel{AdminNameRow, "adminNameLabel"};
  web::Edit adminNameEdit{AdminNameRow, "adminNameEdit"};
  web::Region AdminPasswordRow{firstAdminPanel, "AdminPasswordRow"};
  web::Label adminPasswordLabel{AdminPasswordRow, "adminPasswordLabel"};
  web::Edit adminPasswordEdit{AdminPasswordRow, "adminPasswordEdit"};
  web::Region AdminRepeatRow{firstAdminPanel, "AdminRepeatRow"};
  web::Label adminRepeatLabel{AdminRepeatRow, "adminRepeatLabel"};
  web::Edit adminRepeatEdit{AdminRepeatRow, "adminRepeatEdit"};
  web::Button createAdminButton{firstAdminPanel, "createAdminButton"};

  web::Timer keepAliveTimer{*this, "keepAliveTimer"};
  Footer footer{*this};
};

}  // namespace zeziza::pages

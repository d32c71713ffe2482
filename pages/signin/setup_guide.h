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
  void onExams();
  void onUnits();
  void onRoster();
  void onAccounts();
  void onSignInAgain();
  void onSignOut();

  NavigationBar navigationBar{*this};
  web::Region guidePanel{*this, "guidePanel"};
  web::Label titleLabel{guidePanel, "titleLabel"};
  web::Text guideText{guidePanel, "guideText"};
  web::Link examsLink{guidePanel, "examsLink"};
  web::Link unitsLink{guidePanel, "unitsLink"};
  web::Link rosterLink{guidePanel, "rosterLink"};
  web::Link accountsLink{guidePanel, "accountsLink"};
  web::Link signInAgainLink{guidePanel, "signInAgainLink"};
  Footer footer{*this};
};

}  // namespace zeziza::pages

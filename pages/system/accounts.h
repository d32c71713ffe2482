#pragma once

#include <string>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "store/query.h"
#include "store/users.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"
#include "web/user_session.h"

namespace zeziza::pages {

// User accounts and system settings, for super administrators only: the user list with
// create and delete, the work mode, the default exam, the footer text, the banner and the
// system reset. The user handlers are in accounts_users.cpp, the settings handlers in
// accounts_settings.cpp.
class AccountsPage : public web::Page {
 public:
  static constexpr const char* kName = "AccountsPage";
  AccountsPage();

 private:
  void buildUserPanels();
  void buildSettingsPanels();
  void onCreate();
  void reloadUserList();

  // Users.
  void onNewUser();
  void onCloseNewUser();
  void onTypeChosen();
  void onAddUser();
  void onDeleteUser(const std::string& userName);
  // The create-user panel, made to change the rights and class of `userName` instead.
  void onEditRights(const std::string& userName);
  void onSaveRights();
  void onResetPassword(const std::string& userName);
  // The create-user panel as it opens for a new user.
  void showNewUserPanel();
  // After the last super administrator went: says so and offers to create one.
  void warnIfNoSuperAdmin();
  // Reads the chosen type's rights code and a class teacher's scope into `user`; false (with
  // a message) when something needed is not chosen.
  bool chosenTypeAndScope(store::NewUser& user);

  // Settings.
  void onModeChosen();
  void onExamChosen();
  void onRankModeChosen();
  void onRateBasisChosen();
  void onAverageBasisChosen();
  void onSaveFooter();
  void onUploadBanner();
  void onReset();

  NavigationBar navigationBar{*this};
  web::Region Content{*this, "Content"};

  web::Region LeftHalf{Content, "LeftHalf"};
  web::Region UsersPanel{LeftHalf, "UsersPanel"};
  web::Label usersLabel{UsersPanel, "usersLabel"};
  web::Link newUserLink{UsersPanel, "newUserLink"};
  web::Region UserList{UsersPanel, "UserList"};
  web::DBGrid usersGrid{UserList, "usersGrid"};
  store::Query users_{web::currentSession().dataConnection};  // the grid's rows
  web::Label rightsLabel{UsersPanel, "rightsLabel"};
  web::Text rightsText{UsersPanel, "rightsText"};

  web::Region newUserPanel{LeftHalf, "newUserPanel"};
  web::Link closeNewUserLink{newUserPanel, "closeNewUserLink"};
  web::Label newUserLabel{newUserPanel, "newUserLabel"};
  web::Region TypeRow{newUserPanel, "TypeRow"};
  web::Label typeLabel{TypeRow, "typeLabel"};
  web::ComboBox typeBox{TypeRow, "typeBox"};
  web::Region NameRow{newUserPanel, "NameRow"};
  web::Label userNameLabel{NameRow, "userNameLabel"};
  web::Edit userNameEdit{NameRow, "userNameEdit"};
  web::Region PasswordRow{newUserPanel, "PasswordRow"};
  web::Label passwordLabel{PasswordRow, "passwordLabel"};
  web::Edit passwordEdit{PasswordRow, "passwordEdit"};
  web::Region RepeatRow{newUserPanel, "RepeatRow"};
  web::Label repeatLabel{RepeatRow, "repeatLabel"};
  web::Edit repeatEdit{RepeatRow, "repeatEdit"};
  web::Button addUserButton{newUserPanel, "addUserButton"};
  web::Region classPanel{newUserPanel, "classPanel"};
  web::Label classLabel{classPanel, "classLabel"};
  web::ComboBox unitBox{classPanel, "unitBox"};
  web::ComboBox gradeBox{classPanel, "gradeBox"};
  web::ComboBox classBox{classPanel, "classBox"};
  std::string editedUser_;  // whose rights the panel changes; empty: it creates a user

  web::Region RightHalf{Content, "RightHalf"};
  web::Region ModePanel{RightHalf, "ModePanel"};
  web::Label modeLabel{ModePanel, "modeLabel"};
  web::ComboBox modeBox{ModePanel, "modeBox"};
  web::Label RankLabel{ModePanel, "RankLabel"};  // beside the work mode: the page fits 800
  web::ComboBox RankMode{ModePanel, "RankMode"};
  web::Region FiguresRow{ModePanel, "FiguresRow"};  // how rates and averages are figured
  web::Label rateBasisLabel{FiguresRow, "rateBasisLabel"};
  web::ComboBox RateBasis{FiguresRow, "RateBasis"};
  web::Label averageBasisLabel{FiguresRow, "averageBasisLabel"};
  web::ComboBox AverageBasis{FiguresRow, "AverageBasis"};
  web::Text modeHelp{ModePanel, "modeHelp"};
  web::Region ExamPanel{RightHalf, "ExamPanel"};
  web::Label examLabel{ExamPanel, "examLabel"};
  web::ComboBox examBox{ExamPanel, "examBox"};
  web::Text examHelp{ExamPanel, "examHelp"};
  web::Region ResetPanel{RightHalf, "ResetPanel"};
  web::Label resetLabel{ResetPanel, "resetLabel"};
  web::Edit resetEdit{ResetPanel, "resetEdit"};
  web::Button resetButton{ResetPanel, "resetButton"};
  web::Text resetHelp{ResetPanel, "resetHelp"};
  web::Region BannerPanel{RightHalf, "BannerPanel"};
  web::Label bannerLabel{BannerPanel, "bannerLabel"};
  web::FileUpload bannerFile{BannerPanel, "bannerFile"};
  web::Button bannerButton{BannerPanel, "bannerButton"};
  web::Text bannerHelp{BannerPanel, "bannerHelp"};
  web::Region FooterPanel{RightHalf, "FooterPanel"};
  web::Label footerLabel{FooterPanel, "footerLabel"};
  web::Edit footerEdit{FooterPanel, "footerEdit"};
  web::Button saveFooterButton{FooterPanel, "saveFooterButton"};
  web::Text footerHelp{FooterPanel, "footerHelp"};

  Footer footer{*this};
};

}  // namespace zeziza::pages

#pragma once

#include <string>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "store/users.h"
#include "web/controls/actions.h"
#include "web/controls/db_grid.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// User accounts and system settings, for super administrators only: the user list with
// create and delete, the work mode, the default exam, the footer text, the banner and the
// system reset. The user handlers are in accounts_users.cpp, the settings handlers in
// accounts_settings.cpp.
class AccountsPage : public web::Page {
 public:
  AccountsPage();

 private:
  void buildUserPanels();
  void buildSettingsPanels();
  void onCreate();
  void reloadUserList();

  // Users.
  void IWLink1Click();
  void IWLink5Click();
  void IWComboBox2Change();
  void IWButton7Click();
  void IWDBGrid5Columns2Click(const std::string& userName);
  // Reads the chosen type's rights code and a class teacher's scope into `user`; false (with
  // a message) when something needed is not chosen.
  bool chosenTypeAndScope(store::NewUser& user);

  // Settings.
  void IWComboBox33Change();
  void IWComboBox1Change();
  void RankModeChange();
  void IWButton1Click();
  void IWButton2Click();
  void IWButton3Click();

  NavigationBar navigationBar{*this};
  web::Region Content{*this, "Content"};

  web::Region LeftHalf{Content, "LeftHalf"};
  web::Region UsersPanel{LeftHalf, "UsersPanel"};
  web::Label IWLabel1{UsersPanel, "IWLabel1"};
  web::Link IWLink1{UsersPanel, "IWLink1"};
  web::Region UserList{UsersPanel, "UserList"};
  web::DBGrid IWDBGrid5{UserList, "IWDBGrid5"};
  web::Label IWLabel2{UsersPanel, "IWLabel2"};
  web::Text IWText1{UsersPanel, "IWText1"};

  web::Region IWRegion1{LeftHalf, "IWRegion1"};
  web::Link IWLink5{IWRegion1, "IWLink5"};
  web::Label IWLabel3{IWRegion1, "IWLabel3"};
  web::Region TypeRow{IWRegion1, "TypeRow"};
  web::Label IWLabel4{TypeRow, "IWLabel4"};
  web::ComboBox IWComboBox2{TypeRow, "IWComboBox2"};
  web::Region NameRow{IWRegion1, "NameRow"};
  web::Label IWLabel5{NameRow, "IWLabel5"};
  web::Edit IWEdit15{NameRow, "IWEdit15"};
  web::Region PasswordRow{IWRegion1, "PasswordRow"};
  web::Label IWLabel6{PasswordRow, "IWLabel6"};
  web::Edit IWEdit16{PasswordRow, "IWEdit16"};
  web::Region RepeatRow{IWRegion1, "RepeatRow"};
  web::Label IWLabel7{RepeatRow, "IWLabel7"};
  web::Edit IWEdit20{RepeatRow, "IWEdit20"};
  web::Button IWButton7{IWRegion1, "IWButton7"};
  web::Region IWRegion4{IWRegion1, "IWRegion4"};
  web::Label IWLabel8{IWRegion4, "IWLabel8"};
  web::ComboBox IWComboBox26{IWRegion4, "IWComboBox26"};
  web::ComboBox IWComboBox27{IWRegion4, "IWComboBox27"};
  web::ComboBox IWComboBox28{IWRegion4, "IWComboBox28"};

  web::Region RightHalf{Content, "RightHalf"};
  web::Region ModePanel{RightHalf, "ModePanel"};
  web::Label IWLabel9{ModePanel, "IWLabel9"};
  web::ComboBox IWComboBox33{ModePanel, "IWComboBox33"};
  web::Label RankLabel{ModePanel, "RankLabel"};  // beside the work mode: the page fits 800
  web::ComboBox RankMode{ModePanel, "RankMode"};
  web::Text IWText2{ModePanel, "IWText2"};
  web::Region ExamPanel{RightHalf, "ExamPanel"};
  web::Label IWLabel10{ExamPanel, "IWLabel10"};
  web::ComboBox IWComboBox1{ExamPanel, "IWComboBox1"};
  web::Text IWText3{ExamPanel, "IWText3"};
  web::Region ResetPanel{RightHalf, "ResetPanel"};
  web::Label IWLabel11{ResetPanel, "IWLabel11"};
  web::Edit IWEdit2{ResetPanel, "IWEdit2"};
  web::Button IWButton3{ResetPanel, "IWButton3"};
  web::Text IWText4{ResetPanel, "IWText4"};
  web::Region BannerPanel{RightHalf, "BannerPanel"};
  web::Label IWLabel12{BannerPanel, "IWLabel12"};
  web::FileUpload IWFile1{BannerPanel, "IWFile1"};
  web::Button IWButton2{BannerPanel, "IWButton2"};
  web::Text IWText5{BannerPanel, "IWText5"};
  web::Region FooterPanel{RightHalf, "FooterPanel"};
  web::Label IWLabel13{FooterPanel, "IWLabel13"};
  web::Edit IWEdit1{FooterPanel, "IWEdit1"};
  web::Button IWButton1{FooterPanel, "IWButton1"};
  web::Text IWText6{FooterPanel, "IWText6"};

  Footer footer{*this};
};

}  // namespace zeziza::pages

#pragma once

#include <string>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/master/roster_add_panel.h"
#include "pages/master/roster_change_panel.h"
#include "pages/master/roster_results.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"
#include "web/page.h"

namespace zeziza::pages {

// The student roster: find students by place and name part, twenty to a page; add them in
// batches, change and remove them.
class RosterPage : public web::Page {
 public:
  RosterPage();

 private:
  void onCreate();
  void IWButton2Click();
  void askBeforeRemovingAll();
  void IWComboBox23Change() { results_.showChosenPage(); }
  void IWLink8Click() { results_.firstPage(); }
  void IWLink9Click() { results_.previousPage(); }
  void IWLink10Click() { results_.nextPage(); }
  void IWLink11Click() { results_.lastPage(); }
  void IWLink1Click();
  void IWButton3Click() { IWRegion9.addStudents(); }
  void IWLink4Click() { IWRegion9.Visible = false; }
  void IWLink3Click() { IWRegion2.Visible = false; }
  void IWButton4Click() { IWRegion2.Visible = false; }
  void IWLink5Click() { IWRegion4.Visible = false; }
  void IWLink7Click();
  void IWDBGrid2Columns5Click(const std::string& bh);
  void IWDBGrid2Columns6Click(const std::string& bh);
  void IWButton1Click();
  void IWLink2Click();
  void IWLink6Click();

  void wire();

  NavigationBar navigationBar{*this};
  web::Region Filters{*this, "FilterBar"};
  web::ComboBox IWComboBox7{Filters, "IWComboBox7"};
  web::ComboBox IWComboBox8{Filters, "IWComboBox8"};
  web::ComboBox IWComboBox9{Filters, "IWComboBox9"};
  web::Label NamePartLabel{Filters, "NamePartLabel"};
  web::Edit IWEdit12{Filters, "IWEdit12"};
  web::Button IWButton2{Filters, "IWButton2"};
  web::Region Actions{*this, "ActionBar"};
  web::Link IWLink1{Actions, "IWLink1"};
  web::Link IWLink2{Actions, "IWLink2"};
  web::CheckBox IWCheckBox1{Actions, "IWCheckBox1"};
  web::Link IWLink6{Actions, "IWLink6"};
  AddStudentsPanel IWRegion9{*this};
  ChangeStudentPanel IWRegion2{*this};
  web::Region IWRegion4{*this, "IWRegion4"};
  web::Label NoticeHeading{IWRegion4, "NoticeHeading"};
  web::Link IWLink5{IWRegion4, "IWLink5"};
  web::Text NoticeText{IWRegion4, "NoticeText"};
  web::Link IWLink7{IWRegion4, "IWLink7"};
  RosterResults results_{*this};
  Footer footer{*this};
};

}  // namespace zeziza::pages

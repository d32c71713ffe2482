#pragma once

#include <string>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "pages/common/scope_selector.h"
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
  static constexpr const char* kName = "RosterPage";
  RosterPage();

 private:
  void onCreate();
  void onQuery();
  void askBeforeRemovingAll();
  void onAddStudents();
  void onSaveNewStudents() { addPanel.addStudents(); }
  void onCloseAdd() { addPanel.Visible = false; }
  void onCloseChange() { changePanel.Visible = false; }
  void onCancelChange() { changePanel.Visible = false; }
  void onCloseNotice() { noticePanel.Visible = false; }
  void onUnits();
  void onDeleteStudent(const std::string& bh);
  void onChangeStudent(const std::string& bh);
  void onSaveChange();
  void onDeleteAll();
  void onExport();

  void wire();

  NavigationBar navigationBar{*this};
  web::Region Filters{*this, "FilterBar"};
  ScopeSelector scopeBoxes{Filters,
                           {.unit = ScopeBox{.allItem = "所有学校"},
                            .grade = ScopeBox{.allItem = "全部年级"},
                            .cls = ScopeBox{.allItem = "所有班"}}};
  web::ComboBox& unitBox = scopeBoxes.unit();
  web::ComboBox& gradeBox = scopeBoxes.grade();
  web::ComboBox& classBox = scopeBoxes.cls();
  web::Label NamePartLabel{Filters, "NamePartLabel"};
  web::Edit namePartEdit{Filters, "namePartEdit"};
  web::Button queryButton{Filters, "queryButton"};
  web::Region Actions{*this, "ActionBar"};
  web::Link addStudentsLink{Actions, "addStudentsLink"};
  web::Link deleteAllLink{Actions, "deleteAllLink"};
  web::CheckBox deleteScoresBox{Actions, "deleteScoresBox"};
  web::Link exportLink{Actions, "exportLink"};
  AddStudentsPanel addPanel{*this};
  ChangeStudentPanel changePanel{*this};
  web::Region noticePanel{*this, "noticePanel"};
  web::Label NoticeHeading{noticePanel, "NoticeHeading"};
  web::Link closeNoticeLink{noticePanel, "closeNoticeLink"};
  web::Text NoticeText{noticePanel, "NoticeText"};
  web::Link unitsLink{noticePanel, "unitsLink"};
  RosterResults results_{*this};
  Footer footer{*this};
};

}  // namespace zeziza::pages

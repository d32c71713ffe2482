#include "pages/entry/score_entry.h"

#include "pages/common/item_lists.h"
#include "pages/common/rights.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/entry_password.h"
#include "pages/signin/login.h"
#include "store/comma_text.h"
#include "store/settings_cache.h"
#include "store/users.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kAnyUnit = "不限学校";
constexpr const char* kAnyGrade = "不限年级";
constexpr const char* kAnyClass = "所有班";

// The chosen entry of a scope list, or none when the list's first entry ("all") is chosen.
std::optional<std::string> restriction(const web::ComboBox& list, const char* any) {
  if (list.ItemIndex < 0 || list.text() == any) return std::nullopt;
  return list.text();
}

}  // namespace

ScoreEntryPage::ScoreEntryPage() : web::Page("ScoreEntryPage") {
  Title = "成绩录入";
  OnCreate = [this] { onCreate(); };
  IWButton1.OnClick = [this] { IWButton1Click(); };
  IWButton2.OnClick = [this] { IWButton2Click(); };
  IWButton3.OnClick = [this] { IWButton3Click(); };
  IWLink1.OnClick = [this] { IWLink1Click(); };
  IWLink2.OnClick = [this] { IWLink2Click(); };
  IWLink3.OnClick = [this] { IWLink3Click(); };
  IWLink4.OnClick = [this] { IWLink4Click(); };
  IWLink5.OnClick = [this] { IWLink5Click(); };
  IWLink6.OnClick = [this] { IWLink6Click(); };
  IWLink7.OnClick = [this] { IWLink7Click(); };
  IWLink8.OnClick = [this] { IWLink8Click(); };
  header.Css = "bar";
  modes.Css = "bar";
  scope.Css = "bar";
  entryBody.Css = "entry-body";
  IWRegion2.Css = "panel last-score";
  entryPanels.Css = "entry-panels";
  for (web::Region* r : {&IWRegion7, &IWRegion8, &IWRegion9}) r->Css = "panel";
  for (web::Edit* e : {&IWEdit6, &IWEdit1, &IWEdit2}) e->Css = "srk short";
  // The last-score panel is a record of what was written: its subject is not chosen.
  IWComboBox6.Enabled = false;
  buildCaptions();
  buildEnterKeys();
  IWRegion8.Visible = false;
  IWRegion9.Visible = false;
}

void ScoreEntryPage::onCreate() {
  web::Session& session = web::currentSession();
  exam_ = session.defaultExam;
  IWLabel4.Caption = exam_;
  const bool allowed = entry::requirePage(
      *this, {rights::kSupervisor, rights::kClerk, rights::kClassTeacher}, header, IWLink2);
  if (!allowed) return;
  fillScope();
  IWLabel20.Caption = entry::userCaption();
  const auto subjects = web::currentSession().context().settings().get()->subjects;
  IWComboBox1.Items = subjects;
  IWComboBox2.Items = subjects;
  IWComboBox6.Items = subjects;
  setFocus(IWEdit1);  // ready to type the first exam number
}

void ScoreEntryPage::fillScope() {
  web::Session& session = web::currentSession();
  if (entry::isClassTeacher()) {
    const entry::Place place = store::accountPlace(session.dataConnection.db(), session.userName);
    teacherScope_ = entry::EntryScope::exactly(place);
    IWComboBox3.Items = {place.unit};
    IWComboBox4.Items = {place.grade};
    IWComboBox5.Items = {place.cls};
  } else {
    const auto settings = web::currentSession().context().settings().get();
    IWComboBox3.Items = withFirst(kAnyUnit, settings->units);
    IWComboBox4.Items = withFirst(kAnyGrade, session.grades);
    IWComboBox5.Items = withFirst(kAnyClass, settings->classes);
  }
  for (web::ComboBox* list : {&IWComboBox3, &IWComboBox4, &IWComboBox5}) list->ItemIndex = 0;
}

// A class teacher's scope is the account's, whatever the lists post.
entry::EntryScope ScoreEntryPage::currentScope() const {
  if (teacherScope_) return *teacherScope_;
  return {restriction(IWComboBox3, kAnyUnit), restriction(IWComboBox4, kAnyGrade),
          restriction(IWComboBox5, kAnyClass)};
}

void ScoreEntryPage::showPanel(web::Region* panel) {
  for (web::Region* r : {&IWRegion7, &IWRegion8, &IWRegion9}) r->Visible = r == panel;
}

void ScoreEntryPage::IWLink5Click() {
  showPanel(&IWRegion7);
  setFocus(IWEdit1);
}

void ScoreEntryPage::IWLink6Click() {
  showPanel(&IWRegion8);
  setFocus(IWEdit9);
}

void ScoreEntryPage::IWLink3Click() {
  showPanel(&IWRegion9);
}

void ScoreEntryPage::IWLink4Click() {
  IWRegion9.Visible = false;
}

void ScoreEntryPage::IWLink7Click() {
  web::currentSession().ShowPage<ClassGridEntryPage>();
}

void ScoreEntryPage::IWLink8Click() {
  if (!entry::isSupervisor()) return web::ShowMessage(std::string(entry::kImportRefusal));
  web::currentSession().ShowPage<BatchImportPage>();
}

void ScoreEntryPage::IWLink2Click() {
  web::currentSession().ShowPage<LoginPage>();
}

void ScoreEntryPage::IWButton3Click() {
  if (!entry::requireEntryRights()) return;
  web::Session& session = web::currentSession();
  entry::changeOwnPassword(session.dataConnection.db(), session.userName, IWEdit10.Text,
                           IWEdit11.Text, IWEdit12.Text);
}

}  // namespace zeziza::pages

#include "pages/entry/score_entry.h"

#include "pages/common/rights.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/entry_access.h"
#include "pages/signin/login.h"
#include "pages/signin/password_change.h"
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
  directEnterButton.OnClick = [this] { onDirectEntry(); };
  computedEnterButton.OnClick = [this] { onComputedEntry(); };
  changePasswordButton.OnClick = [this] { onChangePassword(); };
  deleteLastLink.OnClick = [this] { onDeleteLast(); };
  signOutLink.OnClick = [this] { onSignOut(); };
  passwordLink.OnClick = [this] { onPasswordPanel(); };
  closePasswordLink.OnClick = [this] { onClosePassword(); };
  directModeLink.OnClick = [this] { onDirectMode(); };
  computedModeLink.OnClick = [this] { onComputedMode(); };
  gridModeLink.OnClick = [this] { onGridMode(); };
  importModeLink.OnClick = [this] { onImportMode(); };
  header.Css = "bar";
  modes.Css = "bar";
  scope.Css = "bar";
  entryBody.Css = "entry-body";
  lastScorePanel.Css = "panel last-score";
  entryPanels.Css = "entry-panels";
  for (web::Region* r : {&directPanel, &computedPanel, &passwordPanel}) r->Css = "panel";
  for (web::Edit* e : {&numberPrefixEdit, &directNumberEdit, &directScoreEdit})
    e->Css = "srk short";
  // The last-score panel is a record of what was written: its subject is not chosen.
  lastSubjectBox.Enabled = false;
  buildCaptions();
  buildEnterKeys();
  computedPanel.Visible = false;
  passwordPanel.Visible = false;
}

void ScoreEntryPage::onCreate() {
  web::Session& session = web::currentSession();
  exam_ = session.login.defaultExam;
  examCaption.Caption = exam_;
  const bool allowed = entry::requirePage(
      *this, {rights::kSupervisor, rights::kClerk, rights::kClassTeacher}, header, signOutLink);
  if (!allowed) return;
  fillScope();
  userCaption.Caption = entry::userCaption();
  const auto subjects = web::currentSession().context().settings().get()->subjects;
  directSubjectBox.Items = subjects;
  computedSubjectBox.Items = subjects;
  lastSubjectBox.Items = subjects;
  setFocus(directNumberEdit);  // ready to type the first exam number
}

void ScoreEntryPage::fillScope() {
  web::Session& session = web::currentSession();
  if (entry::isClassTeacher()) {
    const entry::Place place = store::accountPlace(session.dataConnection.db(), session.login.userName);
    teacherScope_ = entry::EntryScope::exactly(place);
    scopeBoxes.fillPlace(place.unit, place.grade, place.cls);
  } else {
    scopeBoxes.fill();
  }
}

// A class teacher's scope is the account's, whatever the lists post.
entry::EntryScope ScoreEntryPage::currentScope() const {
  if (teacherScope_) return *teacherScope_;
  return {restriction(unitBox, kAnyUnit), restriction(gradeBox, kAnyGrade),
          restriction(classBox, kAnyClass)};
}

void ScoreEntryPage::showPanel(web::Region* panel) {
  for (web::Region* r : {&directPanel, &computedPanel, &passwordPanel}) r->Visible = r == panel;
}

void ScoreEntryPage::onDirectMode() {
  showPanel(&directPanel);
  setFocus(directNumberEdit);
}

void ScoreEntryPage::onComputedMode() {
  showPanel(&computedPanel);
  setFocus(computedNumberEdit);
}

void ScoreEntryPage::onPasswordPanel() {
  showPanel(&passwordPanel);
}

void ScoreEntryPage::onClosePassword() {
  passwordPanel.Visible = false;
}

void ScoreEntryPage::onGridMode() {
  web::currentSession().ShowPage<ClassGridEntryPage>();
}

void ScoreEntryPage::onImportMode() {
  if (!entry::isSupervisor()) return web::ShowMessage(std::string(entry::kImportRefusal));
  web::currentSession().ShowPage<BatchImportPage>();
}

void ScoreEntryPage::onSignOut() {
  web::currentSession().ShowPage<LoginPage>();
}

void ScoreEntryPage::onChangePassword() {
  if (!entry::requireEntryRights()) return;
  const std::string message = passwordChangeMessage(
      changeOwnPassword(oldPasswordEdit.Text, newPasswordEdit.Text, repeatPasswordEdit.Text),
      "重复密码错误");
  if (!message.empty()) web::ShowMessage(message);
}

}  // namespace zeziza::pages

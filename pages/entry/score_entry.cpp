#include "pages/entry/score_entry.h"

#include "pages/analysis/score_query.h"
#include "pages/common/navigation.h"
#include "pages/common/page_rights.h"
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

ScoreEntryPage::ScoreEntryPage() : web::Page(kName) {
  Title = "成绩录入";
  OnCreate = [this] { onCreate(); };
  directEnterButton.OnClick = [this] { onDirectEntry(); };
  computedEnterButton.OnClick = [this] { onComputedEntry(); };
  changePasswordButton.OnClick = [this] { onChangePassword(); };
  deleteLastLink.OnClick = [this] { onDeleteLast(); };
  signOutLink.OnClick = [this] { onSignOut(); };
  analysisLink.OnClick = [this] { onAnalysis(); };
  analysisLink.Visible = false;
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
  // A phone offers its number keys for a score.
  directScoreEdit.InputMode = fullMarkEdit.InputMode = "decimal";
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
  const bool allowed = entry::requirePage(*this, page_rights::kEntry, header, signOutLink);
  if (!allowed) return;
  analysisLink.Visible = hasRights(page_rights::kAnalysis);
  scopeBoxes.fill();  // a class teacher's own class alone
  userCaption.Caption = entry::userCaption();
  const auto subjects = web::currentSession().context().settings().get()->subjects;
  directSubjectBox.Items = subjects;
  computedSubjectBox.Items = subjects;
  lastSubjectBox.Items = subjects;
  setFocus(directNumberEdit);  // ready to type the first exam number
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

void ScoreEntryPage::onAnalysis() {
  if (!requireRights(page_rights::kAnalysis)) return;
  showEntry<ScoreQueryPage>();
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

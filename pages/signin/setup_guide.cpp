#include "pages/signin/setup_guide.h"

#include "pages/common/navigation.h"
#include "pages/common/page_rights.h"
#include "pages/common/rights.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/signin/login.h"
#include "pages/system/accounts.h"
#include "web/user_session.h"

namespace zeziza::pages {

SetupGuidePage::SetupGuidePage() : web::Page("SetupGuidePage") {
  Title = "完成成绩管理基础工作";
  guidePanel.Css = "card guide";
  titleLabel.Caption = "完成成绩管理基础工作";
  titleLabel.Bold = true;
  guideText.Lines = {
      "很抱歉，系统中不存在学生成绩信息，要进行成绩查询统计，有一些基础工作需要完成。请完成下列工作"
      "再进行查询统计"};
  examsLink.Caption = "【点击设置考试科目及其分数段】";
  unitsLink.Caption = "【点击设置单位（学校）、年级、班次设置】";
  rosterLink.Caption = "【点击增加学生信息】";
  accountsLink.Caption = "【增加成绩录入员或主管用户，如已存在请忽略】";
  signInAgainLink.Caption = "【点击以成绩录入员或主管用户名重新登录，录入成绩】";
  OnCreate = [this] { onCreate(); };
  examsLink.OnClick = [this] { onExams(); };
  unitsLink.OnClick = [this] { onUnits(); };
  rosterLink.OnClick = [this] { onRoster(); };
  accountsLink.OnClick = [this] { onAccounts(); };
  signInAgainLink.OnClick = [this] { onSignInAgain(); };
  navigationBar.signOutLink.OnClick = [this] { onSignOut(); };
}

// Each link is offered to the codes its page serves.
void SetupGuidePage::onCreate() {
  const bool masterData = hasRights(page_rights::kMasterData);
  examsLink.Visible = masterData;
  unitsLink.Visible = masterData;
  rosterLink.Visible = hasRights(page_rights::kRoster);
  accountsLink.Visible = hasRights(page_rights::kSystem);
}

void SetupGuidePage::onExams() {
  showEntry<ExamsPage>();
}
void SetupGuidePage::onUnits() {
  showEntry<UnitsPage>();
}
void SetupGuidePage::onRoster() {
  showEntry<RosterPage>();
}
void SetupGuidePage::onAccounts() {
  showEntry<AccountsPage>();
}
void SetupGuidePage::onSignInAgain() {
  web::currentSession().ShowPage<LoginPage>();
}
void SetupGuidePage::onSignOut() {
  navigationBar.onSignOut();
}

}  // namespace zeziza::pages

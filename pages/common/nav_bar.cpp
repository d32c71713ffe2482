#include "pages/common/nav_bar.h"

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/common/navigation.h"
#include "pages/common/rights.h"
#include "pages/common/site.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/signin/login.h"
#include "pages/signin/password.h"
#include "pages/signin/setup_guide.h"
#include "pages/system/accounts.h"
#include "pages/system/backup.h"
#include "store/banner_file.h"
#include "store/score_presence.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kBarColor = "tan";
constexpr const char* kCurrentBarColor = "#A52A2A";

// "·name · role · default exam · work mode ·" for the codes that work with the bar.
std::string userLabel(const web::Session& session, int code) {
  return "·" + session.login.userName + " · " + std::string(roleName(code)) + " · " +
         session.login.defaultExam + " · " + session.login.workMode + " ·";
}

}  // namespace

NavigationBar::NavigationBar(web::Container& parent) : web::Frame(parent, "navigationBar") {
  Css = "navbar";
  TopRow.Css = "nav-top";
  LinkRow.Css = "nav-row";
  passwordLink.Caption = "【修改密码】";
  signOutLink.Caption = "【退出】";
  const std::array<std::pair<web::Link*, const char*>, 11> links = {{
      {&queryLink, "【成绩查询】"},
      {&chartLink, "【图表统计】"},
      {&classComparisonLink, "【班级对比】"},
      {&rankingLink, "【成绩排序】"},
      {&progressLink, "【进步统计】"},
      {&distributionLink, "【分布情况】"},
      {&unitsLink, "【单位设置】"},
      {&examsLink, "【考试设置】"},
      {&rosterLink, "【学生管理】"},
      {&accountsLink, "【系统设置】"},
      {&uploadLink, "【上传成绩】"},
  }};
  for (const auto& [link, caption] : links) link->Caption = caption;
  backupLink.Caption = "【数据备份】";
  for (web::Region* cell : {&cell1, &cell2, &cell3, &cell4, &cell5, &cell6, &cell7, &cell8, &cell9,
                            &cell10, &cell11, &backupCell, &cell12}) {
    cell->Css = "nav-cell";
  }
  cell13.Css = "nav-cell nav-fill";
  helpLink.Caption = "【 帮  助 】";
  for (web::Rectangle* bar :
       {&d1, &d2, &d3, &d4, &d5, &d6, &d7, &d8, &d9, &d10, &d11, &backupBar, &d12, &d13}) {
    bar->Color = kBarColor;
  }
  unitsLink.Enabled = examsLink.Enabled = accountsLink.Enabled = uploadLink.Enabled = false;
  backupCell.Visible = false;

  OnCreate = [this] { onCreate(); };
  OnRender = [this] { onRender(); };
  queryLink.OnClick = [this] { onScoreQuery(); };
  chartLink.OnClick = [this] { onChart(); };
  classComparisonLink.OnClick = [this] { onClassComparison(); };
  rankingLink.OnClick = [this] { onRanking(); };
  progressLink.OnClick = [this] { onProgress(); };
  distributionLink.OnClick = [this] { onDistribution(); };
  unitsLink.OnClick = [this] { onUnits(); };
  examsLink.OnClick = [this] { onExams(); };
  rosterLink.OnClick = [this] { onRoster(); };
  accountsLink.OnClick = [this] { onAccounts(); };
  uploadLink.OnClick = [this] { onUpload(); };
  backupLink.OnClick = [this] { onBackup(); };
  passwordLink.OnClick = [this] { onChangePassword(); };
  signOutLink.OnClick = [this] { onSignOut(); };
}

void NavigationBar::onCreate() {
  web::Session& session = web::currentSession();
  enableByRights();
  markCurrentEntry();
  helpLink.URL = siteAddress("/vezav/help");
  helpLink.Visible = !helpLink.URL.empty();
  scoresExist_ = store::scoresExist(session.dataConnection.db());
}

// An analysis page needs scores; without any the setup guide says what to do first.
template <class P>
void NavigationBar::goAnalysis() const {
  if (scoresExist_) {
    showEntry<P>();
  } else {
    showOutsideEntries<SetupGuidePage>();
  }
}

void NavigationBar::enableByRights() {
  const auto code = sessionRights();
  const bool admin = code == rights::kSuperAdmin || code == rights::kAdmin;
  unitsLink.Enabled = admin;
  examsLink.Enabled = admin;
  uploadLink.Enabled = admin;
  accountsLink.Enabled = code == rights::kSuperAdmin;
  backupCell.Visible = code == rights::kSuperAdmin;
}

void NavigationBar::markCurrentEntry() {
  // The entries' pages in the order of the bars under their links.
  static constexpr std::array<const char*, 12> kEntryPages = {
      ScoreQueryPage::kName, ChartPage::kName,       ClassComparisonPage::kName,
      RankingPage::kName,    ProgressPage::kName,    DistributionPage::kName,
      UnitsPage::kName,      ExamsPage::kName,       RosterPage::kName,
      AccountsPage::kName,   CloudUploadPage::kName, BackupPage::kName};
  const std::string& current = web::currentSession().navigationEntry;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    bars_[i]->Color = current == kEntryPages[i] ? kCurrentBarColor : kBarColor;
  }
}

void NavigationBar::onRender() {
  web::Session& session = web::currentSession();
  // The banner may have been replaced since the page was built.
  bannerImage.Source = store::bannerAddress(session.dataFolder().files());
  const auto code = sessionRights();
  if (code && *code >= rights::kSuperAdmin && *code <= rights::kViewer) {
    userCaption.Caption = userLabel(session, *code);
  }
}

void NavigationBar::onScoreQuery() {
  goAnalysis<ScoreQueryPage>();
}
void NavigationBar::onChart() {
  goAnalysis<ChartPage>();
}
void NavigationBar::onClassComparison() {
  goAnalysis<ClassComparisonPage>();
}
void NavigationBar::onRanking() {
  goAnalysis<RankingPage>();
}
void NavigationBar::onProgress() {
  goAnalysis<ProgressPage>();
}
void NavigationBar::onDistribution() {
  goAnalysis<DistributionPage>();
}
void NavigationBar::onUnits() {
  showEntry<UnitsPage>();
}
void NavigationBar::onExams() {
  showEntry<ExamsPage>();
}
void NavigationBar::onRoster() {
  showEntry<RosterPage>();
}
void NavigationBar::onAccounts() {
  showEntry<AccountsPage>();
}
void NavigationBar::onUpload() {
  showEntry<CloudUploadPage>();
}
void NavigationBar::onBackup() {
  showEntry<BackupPage>();
}
void NavigationBar::onChangePassword() {
  showEntry<PasswordPage>();
}

// Signing out keeps the session and its login state; the login page offers no navigation.
void NavigationBar::onSignOut() {
  web::currentSession().ShowPage<LoginPage>();
}

}  // namespace zeziza::pages

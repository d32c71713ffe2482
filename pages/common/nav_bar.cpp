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
#include "store/banner_file.h"
#include "store/score_presence.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kBarColor = "tan";
constexpr const char* kCurrentBarColor = "#A52A2A";

// "·name · role · default exam · work mode ·" for the codes that work with the bar.
std::string userLabel(const web::Session& session, int code) {
  return "·" + session.userName + " · " + std::string(roleName(code)) + " · " +
         session.defaultExam + " · " + session.workMode + " ·";
}

}  // namespace

NavigationBar::NavigationBar(web::Container& parent) : web::Frame(parent, "navigationBar") {
  Css = "navbar";
  TopRow.Css = "nav-top";
  LinkRow.Css = "nav-row";
  xgmm.Caption = "【修改密码】";
  tuichu.Caption = "【退出】";
  const std::array<std::pair<web::Link*, const char*>, 11> links = {{
      {&lcjcx, "【成绩查询】"},
      {&ltbtj, "【图表统计】"},
      {&lbjdb, "【班级对比】"},
      {&lcjpx, "【成绩排序】"},
      {&ljbtj, "【进步统计】"},
      {&lfbqk, "【分布情况】"},
      {&ldwsz, "【单位设置】"},
      {&lkssz, "【考试设置】"},
      {&lsxgl, "【学生管理】"},
      {&lyhsz, "【系统设置】"},
      {&lsccj, "【上传成绩】"},
  }};
  for (const auto& [link, caption] : links) link->Caption = caption;
  for (web::Region* cell : {&cell1, &cell2, &cell3, &cell4, &cell5, &cell6, &cell7, &cell8, &cell9,
                            &cell10, &cell11, &cell12}) {
    cell->Css = "nav-cell";
  }
  cell13.Css = "nav-cell nav-fill";
  helpurl.Caption = "【 帮  助 】";
  for (web::Rectangle* bar :
       {&d1, &d2, &d3, &d4, &d5, &d6, &d7, &d8, &d9, &d10, &d11, &d12, &d13}) {
    bar->Color = kBarColor;
  }
  ldwsz.Enabled = lkssz.Enabled = lyhsz.Enabled = lsccj.Enabled = false;

  OnCreate = [this] { onCreate(); };
  OnRender = [this] { IWFrameRegionRender(); };
  lcjcx.OnClick = [this] { lcjcxClick(); };
  ltbtj.OnClick = [this] { ltbtjClick(); };
  lbjdb.OnClick = [this] { lbjdbClick(); };
  lcjpx.OnClick = [this] { lcjpxClick(); };
  ljbtj.OnClick = [this] { ljbtjClick(); };
  lfbqk.OnClick = [this] { lfbqkClick(); };
  ldwsz.OnClick = [this] { ldwszClick(); };
  lkssz.OnClick = [this] { lksszClick(); };
  lsxgl.OnClick = [this] { lsxglClick(); };
  lyhsz.OnClick = [this] { lyhszClick(); };
  lsccj.OnClick = [this] { lsccjClick(); };
  xgmm.OnClick = [this] { xgmmClick(); };
  tuichu.OnClick = [this] { tuichuClick(); };
}

void NavigationBar::onCreate() {
  web::Session& session = web::currentSession();
  enableByRights();
  markCurrentEntry();
  helpurl.URL = siteAddress("/vezav/help");
  helpurl.Visible = !helpurl.URL.empty();
  // No grid keeps rows of the previous page.
  session.sqla.close();
  scoresExist_ = store::scoresExist(session.dataConnection.db());
}

// An analysis page needs scores; without any the setup guide says what to do first.
template <class P>
void NavigationBar::goAnalysis(int pageType) const {
  if (scoresExist_) {
    showWithPageType<P>(pageType);
  } else {
    showWithPageType<SetupGuidePage>(0);
  }
}

void NavigationBar::enableByRights() {
  const auto code = sessionRights();
  const bool admin = code == rights::kSuperAdmin || code == rights::kAdmin;
  ldwsz.Enabled = admin;
  lkssz.Enabled = admin;
  lsccj.Enabled = admin;
  lyhsz.Enabled = code == rights::kSuperAdmin;
}

void NavigationBar::markCurrentEntry() {
  const int current = web::currentSession().pageType;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    bars_[i]->Color = static_cast<int>(i) + 1 == current ? kCurrentBarColor : kBarColor;
  }
}

void NavigationBar::IWFrameRegionRender() {
  web::Session& session = web::currentSession();
  // The banner may have been replaced since the page was built.
  IWImageFile1.Source = store::bannerAddress(session.dataFolder().files());
  const auto code = sessionRights();
  if (code && *code >= rights::kSuperAdmin && *code <= rights::kViewer) {
    dqyhm.Caption = userLabel(session, *code);
  }
}

void NavigationBar::lcjcxClick() {
  goAnalysis<ScoreQueryPage>(1);
}
void NavigationBar::ltbtjClick() {
  goAnalysis<ChartPage>(2);
}
void NavigationBar::lbjdbClick() {
  goAnalysis<ClassComparisonPage>(3);
}
void NavigationBar::lcjpxClick() {
  goAnalysis<RankingPage>(4);
}
void NavigationBar::ljbtjClick() {
  goAnalysis<ProgressPage>(5);
}
void NavigationBar::lfbqkClick() {
  goAnalysis<DistributionPage>(6);
}
void NavigationBar::ldwszClick() {
  showWithPageType<UnitsPage>(7);
}
void NavigationBar::lksszClick() {
  showWithPageType<ExamsPage>(8);
}
void NavigationBar::lsxglClick() {
  showWithPageType<RosterPage>(9);
}
void NavigationBar::lyhszClick() {
  showWithPageType<AccountsPage>(10);
}
void NavigationBar::lsccjClick() {
  showWithPageType<CloudUploadPage>(11);
}
void NavigationBar::xgmmClick() {
  showWithPageType<PasswordPage>(12);
}

// Signing out keeps the session and its login state; the login page offers no navigation.
void NavigationBar::tuichuClick() {
  web::currentSession().ShowPage<LoginPage>();
}

}  // namespace zeziza::pages

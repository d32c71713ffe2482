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
#include "pages/system/banner.h"
#include "store/score_presence.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kBarColor = "tan";
constexpr const char* kCurrentBarColor = "#A52A2A";

// "·name · role · default exam · work mode ·" for the codes that work with the bar.
std::string userLabel(const web::TIWUserSession& session, int code) {
  return "·" + session.userName + " · " + std::string(roleName(code)) + " · " +
         session.defaultExam + " · " + session.workMode + " ·";
}

}  // namespace

Tmain::Tmain(web::Container& parent) : web::Frame(parent, "Tmain1") {
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

  OnCreate = [this] { IWFrameRegionCreate(); };
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

void Tmain::IWFrameRegionCreate() {
  web::TIWUserSession& session = web::UserSession();
  enableByRights();
  markCurrentEntry();
  helpurl.URL = siteAddress("/vezav/help");
  helpurl.Visible = !helpurl.URL.empty();
  // No grid keeps rows of the previous page.
  session.sqla.close();
  scoresExist_ = store::scoresExist(session.ADOConnection1.db());
}

// An analysis page needs scores; without any the setup guide says what to do first.
template <class P>
void Tmain::goAnalysis(int pageType) const {
  if (scoresExist_) {
    showWithPageType<P>(pageType);
  } else {
    showWithPageType<TIWForm20>(0);
  }
}

void Tmain::enableByRights() {
  const auto code = sessionRights();
  const bool admin = code == rights::kSuperAdmin || code == rights::kAdmin;
  ldwsz.Enabled = admin;
  lkssz.Enabled = admin;
  lsccj.Enabled = admin;
  lyhsz.Enabled = code == rights::kSuperAdmin;
}

void Tmain::markCurrentEntry() {
  const int current = web::UserSession().pageType;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    bars_[i]->Color = static_cast<int>(i) + 1 == current ? kCurrentBarColor : kBarColor;
  }
}

void Tmain::IWFrameRegionRender() {
  web::TIWUserSession& session = web::UserSession();
  // The banner may have been replaced since the page was built.
  IWImageFile1.Source = bannerAddress(session.dataFolder().files());
  const auto code = sessionRights();
  if (code && *code >= rights::kSuperAdmin && *code <= rights::kViewer) {
    dqyhm.Caption = userLabel(session, *code);
  }
}

void Tmain::lcjcxClick() {
  goAnalysis<TIWForm3>(1);
}
void Tmain::ltbtjClick() {
  goAnalysis<TIWForm5>(2);
}
void Tmain::lbjdbClick() {
  goAnalysis<TIWForm11>(3);
}
void Tmain::lcjpxClick() {
  goAnalysis<TIWForm12>(4);
}
void Tmain::ljbtjClick() {
  goAnalysis<TIWForm7>(5);
}
void Tmain::lfbqkClick() {
  goAnalysis<TIWForm13>(6);
}
void Tmain::ldwszClick() {
  showWithPageType<Tdwset>(7);
}
void Tmain::lksszClick() {
  showWithPageType<Ttestset>(8);
}
void Tmain::lsxglClick() {
  showWithPageType<TIWForm16>(9);
}
void Tmain::lyhszClick() {
  showWithPageType<Tusergl>(10);
}
void Tmain::lsccjClick() {
  showWithPageType<TIWFormup>(11);
}
void Tmain::xgmmClick() {
  showWithPageType<TIWForm18>(12);
}

// Signing out keeps the session and its login state; the login page offers no navigation.
void Tmain::tuichuClick() {
  web::UserSession().ShowPage<TIWForm1>();
}

}  // namespace zeziza::pages

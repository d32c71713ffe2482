#include "tests/support/analysis_journey.h"

#include "pages/analysis/chart.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/report_cards.h"
#include "store/comma_text.h"
#include "store/query.h"
#include "store/settings_cache.h"
#include "web/user_session.h"

namespace zeziza::testing {

namespace {

void signIn() {
  web::currentSession().context().settings().update([](store::SettingsSnapshot& s) {
    s.units = {"中心校区", "东校区"};
    s.classes = {"一班", "二班"};
    s.subjects = {"数学", "语文"};
  });
  auto& user = web::currentSession();
  user.login.userName = "admin";
  user.login.rights = 0;
  user.login.subjects = {{1, "数学"}, {2, "语文"}};
  user.login.exams = {"期中", "期末"};
  user.login.grades = {"初一"};
  user.login.defaultExam = "期中";
}

// Six students of 初一 in 期中; the 2nd and 3rd averages are tied.
void storeScoresOnce() {
  store::Query q{web::currentSession().dataConnection};
  q.open("select count(*) from ks");
  if (q.fieldAt(0, 0).asInt() > 0) return;
  const struct {
    const char* id;
    const char* name;
    const char* unit;
    const char* cls;
    double k1, k2;
  } pupils[] = {{"101", "张三", "中心校区", "一班", 95, 91},
                {"102", "李四", "中心校区", "二班", 88, 80},
                {"103", "王<b>五</b>", "东校区", "一班", 80, 88},
                {"104", "赵六", "中心校区", "一班", 70, 0},
                {"105", "钱七", "东校区", "一班", 60, 75},
                {"106", "孙八", "中心校区", "二班", 50, 52}};
  for (const auto& p : pupils) {
    q.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, '初一', ?)",
           {p.id, p.name, p.unit, p.cls});
    const double zf = p.k1 + p.k2;
    const double pj = p.k2 > 0 ? zf / 2 : p.k1;
    q.exec(
        "insert into cj (ks, kh, k1, k2, zf, pj, test) select '期中', bh, ?, ?, ?, ?, "
        "'期中!&' || bh from ks where id=?",
        {p.k1, p.k2, zf, pj, p.id});
  }
}

// 期末 only, so the journeys of 期中 see the same six students: 45 more in 中心校区 初一 一班
// and three in 二班.
void storeReportCardScoresOnce() {
  store::Query q{web::currentSession().dataConnection};
  q.open("select count(*) from cj where ks='期末'");
  if (q.fieldAt(0, 0).asInt() > 0) return;
  for (int i = 1; i <= 48; ++i) {
    const std::string id = std::to_string(300 + i);
    q.exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, '中心校区', '初一', ?)",
           {id, "学生" + std::to_string(i), i <= 45 ? "一班" : "二班"});
    const double k1 = 40 + i, k2 = 100 - i;
    q.exec(
        "insert into cj (ks, kh, k1, k2, zf, pj, test) select '期末', bh, ?, ?, ?, ?, "
        "'期末!&' || bh from ks where id=?",
        {k1, k2, k1 + k2, (k1 + k2) / 2, id});
  }
}

}  // namespace

AnalysisJourneyPage::AnalysisJourneyPage() : web::Page("AnalysisJourneyPage") {
  Title = "analysis journey";
  OnCreate = [] {
    signIn();
    storeScoresOnce();
  };
  Chart.Caption = "图表统计";
  Chart.OnClick = [] { web::currentSession().ShowPage<pages::ChartPage>(); };
  Ranking.Caption = "成绩排序";
  Ranking.OnClick = [] { web::currentSession().ShowPage<pages::RankingPage>(); };
  Distribution.Caption = "分布情况";
  Distribution.OnClick = [] { web::currentSession().ShowPage<pages::DistributionPage>(); };
  Cards.Caption = "成绩单";
  Cards.OnClick = [] {
    storeReportCardScoresOnce();
    web::currentSession().ShowPage<pages::ReportCardsPage>("期末");
  };
}

}  // namespace zeziza::testing

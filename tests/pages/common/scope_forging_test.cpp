// A class teacher forges every scope box of every page the account reaches: the answer shows
// the own class alone, or refuses the post and changes nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/report_cards.h"
#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "pages/master/roster.h"
#include "store/settings.h"
#include "store/settings_cache.h"
#include "tests/pages/common/sign_in.h"
#include "tests/support/page_driver.h"
#include "web/controls/grid.h"

namespace zeziza::testing {
namespace {

// Every unit, grade, class and student outside the teacher's class carries it in its name, so
// a page that shows any of them shows the marker.
constexpr const char* kOutside = "越界";

// A page the class teacher reaches, the scope boxes it has, how it is made to act on them,
// and what it shows when it did so for the own class.
struct ReachablePage {
  std::string name;
  std::function<void(BrowserSession&)> show;
  std::vector<std::string> boxes;
  std::function<void(BrowserSession&)> act;
  std::function<bool(BrowserSession&)> showsOwnClass;
  // Makes the boxes take a post again after the page acted (the class grid locks them while
  // a class is loaded); none for the other pages.
  std::function<void(BrowserSession&)> reopen = nullptr;
};

bool shows(const BrowserSession& b, const std::string& text) {
  return b.last().html.find(text) != std::string::npos;
}

// Refused as a bad post, or by the page's own check of a box that must hold a choice
// ("请先选择年级！"): one message, either way.
void expectRefused(const BrowserSession& b) {
  ASSERT_EQ(b.messages().size(), 1u);
  const std::string& message = b.messages().front();
  EXPECT_TRUE(message == web::BadPost::kDefaultMessage || message == "请先选择年级！") << message;
}

bool showsBothOwnStudents(const BrowserSession& b) {
  return shows(b, "本班甲") && shows(b, "本班乙");
}

// One body row under the grid's header: the own class's.
std::function<bool(BrowserSession&)> oneRowIn(const std::string& grid) {
  return [grid](BrowserSession& b) { return b.control<web::Grid>(grid).rowCount() == 2; };
}

template <class P>
std::function<void(BrowserSession&)> showPage() {
  return [](BrowserSession& b) { b.showPage<P>(); };
}

std::function<void(BrowserSession&)> click(const std::string& button) {
  return [button](BrowserSession& b) { b.click(button); };
}

const std::vector<std::string> kAllThree = {"unitBox", "gradeBox", "classBox"};

std::vector<ReachablePage> reachablePages() {
  return {
      {"score query", showPage<pages::ScoreQueryPage>(), kAllThree, click("queryButton"),
       showsBothOwnStudents},
      {"chart", showPage<pages::ChartPage>(), kAllThree,
       [](BrowserSession& b) {
         b.choose("groupingBox", "学生");
         b.choose("presentationBox", "表格呈现");
         b.click("analyseButton");
       },
       showsBothOwnStudents},
      {"class comparison",
       showPage<pages::ClassComparisonPage>(),
       {"gradeBox"},
       click("analyseButton"),
       oneRowIn("resultGrid")},
      {"ranking", showPage<pages::RankingPage>(), kAllThree, click("analyseButton"),
       showsBothOwnStudents},
      {"progress", showPage<pages::ProgressPage>(), kAllThree,
       [](BrowserSession& b) {
         b.choose("referenceExamBox", "期中");
         b.choose("comparisonExamBox", "期末");
         b.click("analyseButton");
       },
       showsBothOwnStudents},
      {"distribution",
       showPage<pages::DistributionPage>(),
       {"unitBox", "gradeBox"},
       [](BrowserSession& b) {
         b.type("xEdit", "10");
         b.click("analyseButton");
       },
       oneRowIn("resultGrid")},
      {"report cards", showPage<pages::ReportCardsPage>(), kAllThree,
       [](BrowserSession& b) {
         b.choose("examBox", "期中");
         b.click("makeButton");
       },
       showsBothOwnStudents},
      {"roster", showPage<pages::RosterPage>(), kAllThree, click("queryButton"),
       showsBothOwnStudents},
      {"class grid", showPage<pages::ClassGridEntryPage>(), kAllThree,
       [](BrowserSession& b) {
         b.choose("subjectBox", "数学");
         b.click("loadButton");
       },
       showsBothOwnStudents, click("cancelButton")},
      {"score entry", showPage<pages::ScoreEntryPage>(), kAllThree,
       [](BrowserSession& b) {
         b.choose("directSubjectBox", "语文");
         b.type("directNumberEdit", "1001");
         b.type("directScoreEdit", "77");
         b.click("directEnterButton");
       },
       [](BrowserSession& b) { return shows(b, "本班甲") && b.message().empty(); }},
  };
}

// Two units, two grades and two classes with two students each, scores in two exams, and a
// class teacher of 中心校区 初一 一班 signed in through the login page.
class ScopeForgingTest : public ::testing::Test {
 protected:
  ScopeForgingTest() {
    const std::vector<std::string> units = {"中心校区", std::string(kOutside) + "校区"};
    const std::vector<std::string> grades = {"初一", std::string(kOutside) + "初二"};
    const std::vector<std::string> classes = {"一班", std::string(kOutside) + "二班"};
    server.context().settings().update([&](store::SettingsSnapshot& s) {
      s.units = units;
      s.classes = classes;
      s.subjects = {"数学", "语文"};
      s.excellent = "90";
      s.good = "80";
      s.pass = "60";
      s.bands = {"60", "70", "80", "90"};
    });
    store::writeListSetting(server.db(), store::key::kExams, {"期中", "期末"});
    store::writeListSetting(server.db(), store::key::kGrades, grades);
    setSetting(server, store::key::kDefaultExam, "期中");
    setSetting(server, store::key::kWorkMode, std::string(store::kWorkModeSelf));
    int number = 1000;
    for (const auto& unit : units) {
      for (const auto& grade : grades) {
        for (const auto& cls : classes) {
          const bool own = unit == units[0] && grade == grades[0] && cls == classes[0];
          for (const char* which : {"甲", "乙"}) {
            ++number;
            addStudent(number, (own ? "本班" : std::string(kOutside) + "生") + which, unit, grade,
                       cls);
          }
        }
      }
    }
    addUser(server, "teacher", "x", pages::rights::kClassTeacher, units[0], grades[0], classes[0]);
    signIn(b, "teacher", "x");
  }

  void addStudent(int number, const std::string& name, const std::string& unit,
                  const std::string& grade, const std::string& cls) {
    server.db().exec("insert into ks (id, xm, xx, nj, bj) values (?, ?, ?, ?, ?)",
                     {std::to_string(number), name, unit, grade, cls});
    const std::int64_t bh = server.db().lastInsertId();
    const double first = 60 + number % 30;
    for (const char* exam : {"期中", "期末"}) {
      server.db().exec(
          "insert into cj (ks, kh, k1, k2, zf, pj, test) values (?, ?, ?, 0, ?, ?, ?)",
          {exam, bh, first, first, first, exam + std::string("!&") + std::to_string(bh)});
    }
  }

  // Every stored score, to show that a refused post wrote nothing.
  std::string scores() {
    return scalar(server, "select group_concat(ks||kh||':'||k1||','||k2||','||zf, ';') from cj");
  }

  TestServer server;
  BrowserSession b = server.browser();
};

TEST_F(ScopeForgingTest, TheSignInLocksTheScopeToTheAccountsClass) {
  EXPECT_EQ(b.pageClass(), "ScoreEntryPage");
  EXPECT_EQ(b.user().login.permitted, store::Scope::place("中心校区", "初一", "一班"));
  for (const auto& page : reachablePages()) {
    SCOPED_TRACE(page.name);
    page.show(b);
    EXPECT_EQ(b.messages(), std::vector<std::string>{});
    EXPECT_FALSE(shows(b, kOutside));
    const std::vector<std::pair<std::string, std::string>> own = {
        {"unitBox", "中心校区"}, {"gradeBox", "初一"}, {"classBox", "一班"}};
    for (const auto& [box, item] : own) {
      if (b.page().find(box)) {
        EXPECT_EQ(b.control<web::ComboBox>(box).Items, std::vector<std::string>{item}) << box;
      }
    }
  }
}

TEST_F(ScopeForgingTest, AForgedScopeShowsTheOwnClassOrIsRefused) {
  // What a forged post may put in a box: nothing chosen, items the box does not list, a text.
  const std::vector<std::string> forgeries = {"-1", "1", "2", "99", "所有班", ""};
  for (const auto& page : reachablePages()) {
    SCOPED_TRACE(page.name);
    page.show(b);
    page.act(b);  // the own class, as the boxes list it
    EXPECT_TRUE(page.showsOwnClass(b));
    EXPECT_FALSE(shows(b, kOutside));
    for (const auto& box : page.boxes) {
      for (const auto& forged : forgeries) {
        SCOPED_TRACE(box + "=" + forged);
        if (page.reopen) page.reopen(b);
        const std::string before = scores();
        b.type(box, forged);
        page.act(b);
        expectRefused(b);
        EXPECT_FALSE(shows(b, kOutside));
        EXPECT_EQ(scores(), before);
      }
    }
    // Every box at once on nothing chosen: the "all" of the analysis pages.
    if (page.reopen) page.reopen(b);
    for (const auto& box : page.boxes) b.type(box, "-1");
    page.act(b);
    expectRefused(b);
    EXPECT_FALSE(shows(b, kOutside));
  }
}

// A student of another class is refused on the entry pages, whatever the boxes show.
TEST_F(ScopeForgingTest, ScoresOfAnotherClassAreRefused) {
  b.showPage<pages::ScoreEntryPage>();
  const std::string before = scores();
  for (const char* number : {"1003", "1005", "1009", "1016"}) {
    SCOPED_TRACE(number);
    b.choose("directSubjectBox", "语文");
    b.type("directNumberEdit", number);
    b.type("directScoreEdit", "77");
    b.click("directEnterButton");
    EXPECT_NE(b.message().find("您只能录入本班（中心校区初一一班）学生的成绩"), std::string::npos)
        << b.message();
  }
  EXPECT_EQ(scores(), before);
}

}  // namespace
}  // namespace zeziza::testing

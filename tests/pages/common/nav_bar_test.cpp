#include "pages/common/nav_bar.h"

#include <gtest/gtest.h>

#include "pages/analysis/chart.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/common/nav_entries.h"
#include "pages/common/rights.h"
#include "pages/signin/login.h"
#include "pages/signin/setup_guide.h"
#include "tests/pages/common/sign_in.h"

namespace zeziza::testing {
namespace {

// A browser whose session is signed in with `code`, showing the score query page.
BrowserSession signedInAs(TestServer& server, const std::string& code,
                          const std::string& entry = "ScoreQueryPage") {
  auto browser = server.browser();
  browser.user().login.userName = "李老师";
  browser.user().login.rights = pages::parseRightsCode(code);
  browser.user().login.defaultExam = "期中考试";
  browser.user().login.workMode = "自考模式";
  browser.user().navigationEntry = entry;
  browser.showPage<pages::ScoreQueryPage>();
  return browser;
}

void addScore(TestServer& server) {
  server.db().exec("insert into ks (id, xm) values ('001', '张三')");
  server.db().exec(
      "insert into cj (ks, kh, k1, zf, pj, test) values ('期中考试', 1, 90, 90, 90, "
      "'期中考试!&1')");
}

bool enabled(BrowserSession& browser, const std::string& link) {
  return browser.control<web::Link>("navigationBar." + link).Enabled;
}

// The full name of the entry's control of kind `kind` ("Link", "Cell", "Bar").
std::string barControl(const pages::NavEntry& entry, const std::string& kind) {
  return "navigationBar." + std::string(entry.name) + kind;
}

// The bar under `page`'s entry is brown, every other one tan.
void expectMarkedBar(BrowserSession& browser, const std::string& page) {
  for (const auto& entry : pages::navigationEntries()) {
    EXPECT_EQ(browser.control<web::Rectangle>(barControl(entry, "Bar")).Color,
              entry.page == page ? "#A52A2A" : "tan")
        << entry.name;
  }
}

// The links follow README's table of who sees which page.
TEST(NavBar, LinksFollowTheRightsTable) {
  struct Case {
    std::string code;
    bool analysis, roster, units, exams, accounts, upload, backup, entry;
  };
  const std::vector<Case> cases = {
      {"0", true, true, true, true, true, true, true, false},
      {"1", true, true, true, true, false, true, false, false},
      {"2", false, true, false, false, false, false, false, false},
      {"3", false, false, false, false, false, false, false, false},
      {"4", true, true, false, false, false, false, false, false},
      {"5", true, true, false, false, false, false, false, true},
      {"", false, false, false, false, false, false, false, false},
  };
  TestServer server;
  for (const auto& c : cases) {
    SCOPED_TRACE("code " + c.code);
    auto browser = signedInAs(server, c.code);
    for (const char* link : {"queryLink", "chartLink", "classComparisonLink", "rankingLink",
                             "progressLink", "distributionLink"}) {
      EXPECT_EQ(enabled(browser, link), c.analysis) << link;
    }
    EXPECT_EQ(enabled(browser, "rosterLink"), c.roster);
    EXPECT_EQ(enabled(browser, "unitsLink"), c.units);
    EXPECT_EQ(enabled(browser, "examsLink"), c.exams);
    EXPECT_EQ(enabled(browser, "accountsLink"), c.accounts);
    EXPECT_EQ(enabled(browser, "uploadLink"), c.upload);
    // The backup entry is shown to super administrators alone, the way back to score entry
    // to class teachers alone.
    EXPECT_EQ(browser.control<web::Region>("navigationBar.backupCell").Visible, c.backup);
    EXPECT_EQ(browser.control<web::Region>("navigationBar.entryCell").Visible, c.entry);
    for (const char* link : {"passwordLink", "signOutLink"}) {
      EXPECT_TRUE(enabled(browser, link)) << link;
    }
  }
}

TEST(NavBar, AClassTeacherGoesBackToScoreEntry) {
  TestServer server;
  auto browser = signedInAs(server, "5");
  browser.click("navigationBar.entryLink");
  EXPECT_EQ(browser.pageClass(), "ScoreEntryPage");
  EXPECT_EQ(browser.messages(), std::vector<std::string>{});
  browser.click("analysisLink");
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
  EXPECT_EQ(browser.user().navigationEntry, "ScoreQueryPage");
}

TEST(NavBar, DisabledLinkCannotBeForged) {
  TestServer server;
  auto browser = signedInAs(server, "4");
  browser.post(browser.formFor("navigationBar.accountsLink"));
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
  EXPECT_EQ(browser.user().navigationEntry, "ScoreQueryPage");
}

TEST(NavBar, EntriesStandInTheOrderOfTheBar) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"【成绩查询】", "ScoreQueryPage"},      {"【图表统计】", "ChartPage"},
      {"【班级对比】", "ClassComparisonPage"}, {"【成绩排序】", "RankingPage"},
      {"【进步统计】", "ProgressPage"},        {"【分布情况】", "DistributionPage"},
      {"【单位设置】", "UnitsPage"},           {"【考试设置】", "ExamsPage"},
      {"【学生管理】", "RosterPage"},          {"【系统设置】", "AccountsPage"},
      {"【上传成绩】", "CloudUploadPage"},     {"【数据备份】", "BackupPage"},
      {"【成绩录入】", "ScoreEntryPage"}};
  std::vector<std::pair<std::string, std::string>> table;
  for (const auto& entry : pages::navigationEntries())
    table.emplace_back(entry.caption, entry.page);
  EXPECT_EQ(table, expected);

  // The row shows a cell per entry with its caption, then the help cell and the filler.
  TestServer server;
  auto browser = signedInAs(server, "0");
  std::vector<std::string> cells;
  for (const web::Control* cell :
       browser.control<web::Region>("navigationBar.LinkRow").children()) {
    cells.push_back(cell->name());
  }
  ASSERT_EQ(cells.size(), expected.size() + 2);
  EXPECT_EQ(cells[cells.size() - 2], "helpCell");
  EXPECT_EQ(cells.back(), "fillCell");
  for (const auto& entry : pages::navigationEntries()) {
    EXPECT_EQ(browser.control<web::Link>(barControl(entry, "Link")).Caption, entry.caption);
  }
}

TEST(NavBar, BarOfTheCurrentEntryIsBrown) {
  TestServer server;
  std::vector<std::string> current = {"", "PasswordPage", "SetupGuidePage"};
  for (const auto& entry : pages::navigationEntries()) current.push_back(entry.page);
  for (const std::string& shown : current) {
    SCOPED_TRACE(shown);
    auto browser = signedInAs(server, "0", shown);
    expectMarkedBar(browser, shown);
  }
}

TEST(NavBar, UserLabelNamesTheRole) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", "·李老师 · 超级管理员 · 期中考试 · 自考模式 ·"},
      {"1", "·李老师 · 管理员 · 期中考试 · 自考模式 ·"},
      {"2", "·李老师 · 主管 · 期中考试 · 自考模式 ·"},
      {"3", "·李老师 · 成绩录入员 · 期中考试 · 自考模式 ·"},
      {"4", "·李老师 · 普通用户 · 期中考试 · 自考模式 ·"},
      {"5", "·李老师 · 班主任 · 期中考试 · 自考模式 ·"},
  };
  TestServer server;
  for (const auto& [code, label] : cases) {
    SCOPED_TRACE(code);
    auto browser = signedInAs(server, code);
    EXPECT_EQ(browser.control<web::Label>("navigationBar.userCaption").Caption, label);
  }
}

// Before any exam exists the header says so, and who adds one, instead of an empty field.
TEST(NavBar, UserLabelWithoutAnExamSaysWhoAddsOne) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", "·李老师 · 超级管理员 · 尚无考试，请在【考试设置】添加 · 自考模式 ·"},
      {"1", "·李老师 · 管理员 · 尚无考试，请在【考试设置】添加 · 自考模式 ·"},
      {"3", "·李老师 · 成绩录入员 · 尚无考试，请等管理员添加 · 自考模式 ·"},
  };
  TestServer server;
  for (const auto& [code, label] : cases) {
    SCOPED_TRACE(code);
    auto browser = server.browser();
    browser.user().login.userName = "李老师";
    browser.user().login.rights = pages::parseRightsCode(code);
    browser.user().login.workMode = "自考模式";
    browser.showPage<pages::ScoreQueryPage>();
    EXPECT_EQ(browser.control<web::Label>("navigationBar.userCaption").Caption, label);
  }
}

TEST(NavBar, AnalysisLinksLeadToTheSetupGuideUntilAScoreExists) {
  const std::vector<std::string> analysisPages = {"ScoreQueryPage",      "ChartPage",
                                                  "ClassComparisonPage", "RankingPage",
                                                  "ProgressPage",        "DistributionPage"};
  std::vector<std::string> needingScores;
  for (const auto& entry : pages::navigationEntries()) {
    if (entry.needsScores) needingScores.push_back(entry.page);
  }
  EXPECT_EQ(needingScores, analysisPages);

  TestServer server;
  auto browser = signedInAs(server, "4");
  for (const auto& entry : pages::navigationEntries()) {
    if (!entry.needsScores) continue;
    SCOPED_TRACE(entry.name);
    browser.showPage<pages::ScoreQueryPage>();
    browser.click(barControl(entry, "Link"));
    EXPECT_EQ(browser.pageClass(), "SetupGuidePage");
    EXPECT_EQ(browser.user().navigationEntry, "");
    expectMarkedBar(browser, "");
  }
  // The flag follows the score table as of the session's latest bar: this bar was built
  // before the score, the next one after it.
  addScore(server);
  browser.click("navigationBar.chartLink");
  EXPECT_EQ(browser.pageClass(), "SetupGuidePage");
  auto other = signedInAs(server, "1");
  EXPECT_TRUE(other.control<pages::NavigationBar>("navigationBar").scoresExist());

  for (const auto& entry : pages::navigationEntries()) {
    if (!entry.needsScores) continue;
    SCOPED_TRACE(entry.name);
    browser.click(barControl(entry, "Link"));
    EXPECT_EQ(browser.pageClass(), entry.page);
    EXPECT_EQ(browser.user().navigationEntry, entry.page);
    expectMarkedBar(browser, entry.page);
  }
}

// Entries that need no scores show their page at once, scores or not.
TEST(NavBar, OtherLinksChooseTheirEntry) {
  TestServer server;
  for (const auto& entry : pages::navigationEntries()) {
    if (entry.needsScores || !pages::reaches(entry.reach, pages::rights::kSuperAdmin)) continue;
    SCOPED_TRACE(entry.name);
    auto browser = signedInAs(server, "0");
    browser.click(barControl(entry, "Link"));
    EXPECT_EQ(browser.pageClass(), entry.page);
    EXPECT_EQ(browser.user().navigationEntry, entry.page);
    expectMarkedBar(browser, entry.page);
  }
  auto browser = signedInAs(server, "0");
  browser.click("navigationBar.passwordLink");
  EXPECT_EQ(browser.pageClass(), "PasswordPage");
  EXPECT_EQ(browser.user().navigationEntry, "PasswordPage");
}

TEST(NavBar, SignOutKeepsTheLoginStateUntilTheNextLogin) {
  TestServer server;
  addUser(server, "boss", "pw", 0);
  auto browser = server.browser();
  signIn(browser, "boss", "pw");
  browser.click("navigationBar.rosterLink");
  browser.click("navigationBar.signOutLink");
  EXPECT_EQ(browser.pageClass(), "LoginPage");
  EXPECT_EQ(browser.user().login.userName, "boss");
  EXPECT_EQ(browser.user().login.rights, 0);
  EXPECT_EQ(browser.user().navigationEntry, "RosterPage");
  signIn(browser, "boss", "wrong");
  EXPECT_EQ(browser.message(), "用户名或密码错误！");
  EXPECT_EQ(browser.user().login.userName, "boss");
  EXPECT_EQ(browser.page().find("navigationBar.queryLink"), nullptr);
}

TEST(NavBar, VendorLinksFollowTheConfiguredSite) {
  web::ServerSettings settings;
  settings.Site = "http://vendor.example/";
  TestServer withSite(nullptr, settings);
  auto browser = signedInAs(withSite, "4");
  EXPECT_EQ(browser.control<web::Url>("navigationBar.helpLink").URL,
            "http://vendor.example/vezav/help");
  EXPECT_EQ(browser.control<web::Url>("footer.homeLink").URL, "http://vendor.example/home");

  TestServer withoutSite;
  auto plain = signedInAs(withoutSite, "4");
  EXPECT_FALSE(plain.control<web::Url>("navigationBar.helpLink").Visible);
  EXPECT_FALSE(plain.control<web::Url>("footer.homeLink").Visible);
}

TEST(NavBar, BannerAddressChangesWhenTheBannerIsReplaced) {
  TestServer server;
  auto browser = signedInAs(server, "0");
  const std::string before = browser.control<web::ImageFile>("navigationBar.bannerImage").Source;
  EXPECT_EQ(before.rfind("/files/bj.jpg", 0), 0u);
  std::filesystem::last_write_time(
      server.folder() / "files" / "bj.jpg",
      std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
  browser.submit();
  EXPECT_NE(browser.control<web::ImageFile>("navigationBar.bannerImage").Source, before);
}

TEST(SetupGuide, OffersOnlyTheLinksTheCodeMayFollow) {
  struct Case {
    std::string code;
    bool exams, units, roster, accounts, relogin;
  };
  const std::vector<Case> cases = {
      {"0", true, true, true, true, true},    {"1", true, true, true, false, true},
      {"2", false, false, true, false, true}, {"3", false, false, false, false, true},
      {"4", false, false, true, false, true}, {"5", false, false, true, false, true},
  };
  TestServer server;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    auto browser = signedInAs(server, c.code);
    browser.showPage<pages::SetupGuidePage>();
    EXPECT_EQ(browser.control<web::Link>("examsLink").Visible, c.exams);
    EXPECT_EQ(browser.control<web::Link>("unitsLink").Visible, c.units);
    EXPECT_EQ(browser.control<web::Link>("rosterLink").Visible, c.roster);
    EXPECT_EQ(browser.control<web::Link>("accountsLink").Visible, c.accounts);
    EXPECT_EQ(browser.control<web::Link>("signInAgainLink").Visible, c.relogin);
  }
}

TEST(SetupGuide, LinksChooseTheirEntryAndSignOutLeavesItAlone) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"examsLink", "ExamsPage", "ExamsPage"},    {"unitsLink", "UnitsPage", "UnitsPage"},
      {"rosterLink", "RosterPage", "RosterPage"}, {"accountsLink", "AccountsPage", "AccountsPage"},
      {"signInAgainLink", "LoginPage", ""},       {"navigationBar.signOutLink", "LoginPage", ""},
  };
  TestServer server;
  for (const auto& [link, page, entry] : cases) {
    SCOPED_TRACE(link);
    auto browser = signedInAs(server, "0");
    browser.click("navigationBar.queryLink");
    browser.click(link);
    EXPECT_EQ(browser.pageClass(), page);
    EXPECT_EQ(browser.user().navigationEntry, entry);
  }
}

TEST(CloudUpload, ServesCodesZeroAndOneOnly) {
  TestServer server;
  for (const std::string code : {"0", "1", "2", "3", "4", "5"}) {
    SCOPED_TRACE(code);
    auto browser = signedInAs(server, code);
    browser.showPage<pages::CloudUploadPage>();
    const bool allowed = code == "0" || code == "1";
    EXPECT_EQ(browser.message(), allowed ? "" : std::string(pages::kNoPageRightsMessage));
  }
}

}  // namespace
}  // namespace zeziza::testing

// Every page works under a policy that allows script only from the server's own files: no
// rendered page may carry an event attribute, a javascript: address or a script element
// whose text the browser would run.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/entry/batch_import.h"
#include "pages/entry/class_grid_entry.h"
#include "pages/entry/score_entry.h"
#include "pages/master/exams.h"
#include "pages/master/roster.h"
#include "pages/master/units.h"
#include "pages/signin/login.h"
#include "pages/signin/password.h"
#include "pages/signin/setup_guide.h"
#include "pages/system/accounts.h"
#include "store/settings_cache.h"
#include "tests/pages/common/sign_in.h"
#include "web/page_renderer.h"

namespace zeziza::testing {
namespace {

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// What in `html` the browser would run as inline script; empty when nothing. Attribute
// values reach the page escaped, so a tag ends at the first '>'.
std::vector<std::string> inlineScript(const std::string& html) {
  static const std::regex tag(R"(<([a-zA-Z][a-zA-Z0-9]*)([^>]*)>)");
  static const std::regex attribute(
      R"re(\s([a-zA-Z_:][-a-zA-Z0-9_:.]*)(?:\s*=\s*("[^"]*"|'[^']*'|[^\s"'>]+))?)re");
  std::vector<std::string> found;
  for (std::sregex_iterator t(html.begin(), html.end(), tag), end; t != end; ++t) {
    const std::string element = lower((*t)[1]);
    const std::string attributes = (*t)[2];
    bool external = false;
    bool data = false;
    for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
      const std::string name = lower((*a)[1]);
      std::string value = (*a)[2];
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) {
        value = value.substr(1, value.size() - 2);
      }
      value = lower(value);
      value.erase(0, value.find_first_not_of(" \t\r\n"));
      if (name.starts_with("on")) found.push_back("event attribute: " + t->str());
      if (value.starts_with("javascript:")) found.push_back("javascript: address: " + t->str());
      if (name == "src") external = true;
      if (name == "type" && value == "application/json") data = true;
    }
    if (element == "script" && !external && !data) found.push_back("inline script: " + t->str());
  }
  return found;
}

TEST(InlineScriptCheck, FindsWhatABrowserWouldRunAndPassesData) {
  struct Case {
    const char* html;
    bool runs;
  };
  const std::vector<Case> cases = {
      {R"x(<input id="a" onkeypress="go()">)x", true},
      {R"x(<input id="a" ONCLICK='go()'>)x", true},
      {R"x(<body onload=go()>)x", true},
      {R"x(<a href=" JavaScript:go()">x</a>)x", true},
      {R"x(<form action="javascript:go()">)x", true},
      {R"x(<script>go()</script>)x", true},
      {R"x(<script type="text/javascript">go()</script>)x", true},
      {R"x(<script type="module">go()</script>)x", true},
      {R"x(<script type="application/json" id="iw-state">{"a":1}</script>)x", false},
      {R"x(<script src="/js/zeziza.js?v=1" defer></script>)x", false},
      {R"x(<input data-iw-enter="focus" data-iw-target="passwordedit">)x", false},
      {R"x(<a href="#" class="lnk" data-iw-action="deletelastlink" data-iw-confirm="确定?">x</a>)x",
       false},
      {R"x(<p>onion=1 javascript:x</p>)x", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.html);
    EXPECT_EQ(!inlineScript(c.html).empty(), c.runs);
  }
}

TEST(InlineScriptCheck, StartAndErrorPagesCarryNone) {
  const web::AnswerState state{"session", 1, {"<b>提示</b>"}, "usernameedit"};
  EXPECT_EQ(inlineScript(web::renderStartPage(state)), std::vector<std::string>{});
  EXPECT_EQ(inlineScript(web::renderErrorPage(state)), std::vector<std::string>{});
}

struct PageCase {
  const char* name;
  int code;  // of the user who opens it; -1: nobody signed in
  std::function<void(BrowserSession&)> show;
};

template <class P>
std::function<void(BrowserSession&)> show() {
  return [](BrowserSession& browser) { browser.showPage<P>(); };
}

// Each page as its users see it, and again with every control shown, so panels that only
// appear later are checked as well.
TEST(InlineScript, NoPageCarriesAny) {
  const std::vector<PageCase> cases = {
      {"login", -1, show<pages::LoginPage>()},
      {"score query", 0, show<pages::ScoreQueryPage>()},
      {"class comparison", 0, show<pages::ClassComparisonPage>()},
      {"ranking", 0, show<pages::RankingPage>()},
      {"distribution", 0, show<pages::DistributionPage>()},
      {"chart", 0, show<pages::ChartPage>()},
      {"progress", 0, show<pages::ProgressPage>()},
      {"roster", 0, show<pages::RosterPage>()},
      {"exams", 0, show<pages::ExamsPage>()},
      {"units", 0, show<pages::UnitsPage>()},
      {"accounts", 0, show<pages::AccountsPage>()},
      {"cloud upload", 0, show<pages::CloudUploadPage>()},
      {"password", 0, show<pages::PasswordPage>()},
      {"setup guide", 0, show<pages::SetupGuidePage>()},
      {"score entry", 2, show<pages::ScoreEntryPage>()},
      {"class grid", 2, show<pages::ClassGridEntryPage>()},
      {"batch import", 2, show<pages::BatchImportPage>()},
  };
  TestServer server;
  setSetting(server, store::key::kExams, "期中\r\n");
  setSetting(server, store::key::kDefaultExam, "期中");
  setSetting(server, store::key::kSubjects, "数学\r\n语文\r\n");
  setSetting(server, store::key::kUnits, "中心校区\r\n");
  setSetting(server, store::key::kGrades, "七年级\r\n");
  setSetting(server, store::key::kClasses, "一班\r\n");
  server.context().settings().load(server.db());
  addUser(server, "super", "pw", 0);
  addUser(server, "supervisor", "pw", 2);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto browser = server.browser();
    if (c.code == 0) signIn(browser, "super", "pw");
    if (c.code == 2) signIn(browser, "supervisor", "pw");
    c.show(browser);
    EXPECT_EQ(browser.messages(), std::vector<std::string>{});  // the page is not refused
    EXPECT_EQ(inlineScript(browser.last().html), std::vector<std::string>{});
    browser.run([&] {
      for (web::Control* control : browser.page().controls()) control->Visible = true;
    });
    EXPECT_EQ(inlineScript(browser.last().html), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace zeziza::testing

#include <functional>

#include "pages/analysis/chart.h"
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/distribution.h"
#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "pages/common/rights.h"
#include "tests/pages/analysis/analysis_fixture.h"
#include "web/controls/actions.h"

namespace zeziza::testing {
namespace {

using AnalysisAccessTest = AnalysisTest;

// Each analysis page with the button that starts its work.
struct AnalysisPage {
  const char* name;
  std::function<void(BrowserSession&)> show;
  const char* button;
};

std::vector<AnalysisPage> analysisPages() {
  return {
      {"ChartPage", [](BrowserSession& b) { b.showPage<pages::ChartPage>(); }, "analyseButton"},
      {"ProgressPage", [](BrowserSession& b) { b.showPage<pages::ProgressPage>(); },
       "analyseButton"},
      {"ClassComparisonPage", [](BrowserSession& b) { b.showPage<pages::ClassComparisonPage>(); },
       "analyseButton"},
      {"RankingPage", [](BrowserSession& b) { b.showPage<pages::RankingPage>(); }, "analyseButton"},
      {"DistributionPage", [](BrowserSession& b) { b.showPage<pages::DistributionPage>(); },
       "analyseButton"},
  };
}

// Codes 0, 1, 4 and 5 use the analysis pages; supervisors and clerks reaching one by any path
// see nothing of it but the navigation.
TEST_F(AnalysisAccessTest, OnlyAnalysisRightsOpenThePages) {
  const struct {
    const char* code;
    bool allowed;
  } codes[] = {{"0", true},  {"1", true},  {"4", true}, {"5", true},
               {"2", false}, {"3", false}, {"", false}};
  for (const auto& page : analysisPages()) {
    for (const auto& c : codes) {
      SCOPED_TRACE(std::string(page.name) + " code " + c.code);
      b.user().login.rights = pages::parseRightsCode(c.code);
      page.show(b);
      EXPECT_EQ(b.pageClass(), page.name);
      if (c.allowed) {
        EXPECT_EQ(b.messages(), std::vector<std::string>{});
        EXPECT_TRUE(b.control<web::Button>(page.button).effectivelyVisible());
      } else {
        EXPECT_EQ(b.message(), "您没有访问此页面的权限！请用有权限的用户名重新登录。");
        EXPECT_FALSE(b.control<web::Button>(page.button).effectivelyVisible());
        EXPECT_TRUE(b.page().find("navigationBar")->Visible);
      }
    }
  }
}

// The handler checks again: rights lost while the page is open grant nothing.
TEST_F(AnalysisAccessTest, HandlersCheckTheRightsThemselves) {
  for (const auto& page : analysisPages()) {
    SCOPED_TRACE(page.name);
    b.user().login.rights = 4;
    page.show(b);
    b.user().login.rights = 3;
    b.click(page.button);
    EXPECT_EQ(b.message(), "您没有使用此功能的权限！");
  }
}

}  // namespace
}  // namespace zeziza::testing

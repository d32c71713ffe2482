#include "pages/common/rights.h"

#include <gtest/gtest.h>

#include "pages/common/footer.h"
#include "pages/common/nav_bar.h"
#include "tests/support/page_driver.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/user_session.h"

namespace zeziza::testing {
namespace {

// A page for administrators only, with a frame, a panel and a button whose handler checks
// the code again.
class AdminOnlyPage : public web::Page {
 public:
  AdminOnlyPage() : web::Page("AdminOnlyPage") {
    OnCreate = [this] {
      if (!pages::requirePageRights(*this, {pages::rights::kSuperAdmin, pages::rights::kAdmin})) {
        return;
      }
      Caption.Caption = "filled";
    };
    Act.OnClick = [this] {
      if (pages::requireRights({pages::rights::kSuperAdmin})) ++acted;
    };
  }
  pages::NavigationBar navigationBar{*this};
  web::Region Panel{*this, "Panel"};
  web::Label Caption{Panel, "Caption"};
  web::Button Act{*this, "Act"};
  pages::Footer footer{*this};
  int acted = 0;
};

struct PageCase {
  std::string code;
  bool shown;
};

TEST(RequirePageRights, RefusedPageHidesItsOwnControlsAndSaysWhy) {
  const std::vector<PageCase> cases = {
      {"0", true},  {"1", true}, {"2", false},  {"3", false}, {"4", false},
      {"5", false}, {"", false}, {"01", false}, {"x", false},
  };
  TestServer server;
  for (const auto& c : cases) {
    SCOPED_TRACE("code '" + c.code + "'");
    auto browser = server.browser();
    browser.user().login.rights = pages::parseRightsCode(c.code);
    auto& page = browser.showPage<AdminOnlyPage>();
    EXPECT_EQ(page.Panel.Visible, c.shown);
    EXPECT_EQ(page.Act.Visible, c.shown);
    EXPECT_EQ(page.Caption.Caption, c.shown ? "filled" : "");
    EXPECT_TRUE(page.navigationBar.Visible);
    EXPECT_TRUE(page.footer.Visible);
    EXPECT_EQ(browser.message(), c.shown ? "" : std::string(pages::kNoPageRightsMessage));
    EXPECT_EQ(browser.last().html.find("filled") != std::string::npos, c.shown);
  }
}

TEST(RequireRights, HandlerRefusesAndChangesNothing) {
  TestServer server;
  auto browser = server.browser();
  browser.user().login.rights = 1;
  auto& page = browser.showPage<AdminOnlyPage>();
  browser.click("Act");
  EXPECT_EQ(browser.message(), pages::kNoRightsMessage);
  EXPECT_EQ(page.acted, 0);
  browser.user().login.rights = 0;
  browser.click("Act");
  EXPECT_EQ(browser.message(), "");
  EXPECT_EQ(page.acted, 1);
}

TEST(RequireRights, HiddenControlsOfARefusedPageCannotAct) {
  TestServer server;
  auto browser = server.browser();
  browser.user().login.rights = 4;
  auto& page = browser.showPage<AdminOnlyPage>();
  // A forged post for the hidden button is ignored by the request cycle.
  browser.user().login.rights = 0;
  browser.post(browser.formFor("Act"));
  EXPECT_EQ(page.acted, 0);
}

TEST(RoleName, NamesEveryCode) {
  const std::vector<std::string_view> names = {"超级管理员", "管理员",   "主管",
                                               "成绩录入员", "普通用户", "班主任"};
  for (int code = 0; code < 6; ++code) EXPECT_EQ(pages::roleName(code), names[code]);
  EXPECT_EQ(pages::roleName(6), "");
  EXPECT_EQ(pages::roleName(-1), "");
}

}  // namespace
}  // namespace zeziza::testing

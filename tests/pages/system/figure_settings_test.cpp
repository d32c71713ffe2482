#include <gtest/gtest.h>

#include "pages/system/accounts.h"
#include "store/scale_settings.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

class FigureSettingsPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addUser(server, "boss", "pw", 0);
    signIn(browser, "boss", "pw");
    browser.click("navigationBar.accountsLink");
    ASSERT_EQ(browser.pageClass(), "AccountsPage");
  }
  const web::ComboBox& box(const std::string& name) { return browser.control<web::ComboBox>(name); }
  void choose(const std::string& name, const std::string& item) {
    browser.choose(name, item);
    browser.click(name);
  }

  TestServer server;
  BrowserSession browser = server.browser();
};

// Each box offers both choices, starts on the default, stores a choice and shows it again; a
// store made before the settings (no row) shows the default and takes a choice.
TEST_F(FigureSettingsPageTest, RateAndAverageBasisAreChosenAndKept) {
  struct Case {
    std::string box, key;
    std::vector<std::string> items;
    std::string (*read)(store::Database&);
  };
  const std::vector<Case> cases = {
      {"RateBasis", "blkj", {"分段", "累计"}, store::readRateBasisText},
      {"AverageBasis", "pjkj", {"参考科目", "全部科目"}, store::readAverageBasisText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    EXPECT_EQ(box(c.box).Items, c.items);
    EXPECT_EQ(box(c.box).text(), c.items[0]);
    choose(c.box, c.items[1]);
    EXPECT_EQ(c.read(server.db()), c.items[1]);
    browser.click("navigationBar.accountsLink");
    EXPECT_EQ(box(c.box).text(), c.items[1]);

    server.db().exec("delete from sysset where zdm=?", {c.key});
    browser.click("navigationBar.accountsLink");
    EXPECT_EQ(box(c.box).text(), c.items[0]);
    choose(c.box, c.items[1]);
    EXPECT_EQ(c.read(server.db()), c.items[1]);
  }
}

}  // namespace
}  // namespace zeziza::testing

#include <gtest/gtest.h>

#include "pages/system/accounts.h"
#include "store/scale_settings.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

class RankModeSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addUser(server, "boss", "pw", 0);
    signIn(browser, "boss", "pw");
    browser.click("navigationBar.accountsLink");
    ASSERT_EQ(browser.pageClass(), "AccountsPage");
  }
  const web::ComboBox& box() { return browser.control<web::ComboBox>("RankMode"); }
  void choose(const std::string& mode) {
    browser.choose("RankMode", mode);
    browser.click("RankMode");
  }

  TestServer server;
  BrowserSession browser = server.browser();
};

TEST_F(RankModeSettingTest, OffersBothModesAndStartsOnSequentialRanks) {
  EXPECT_EQ(box().Items, (std::vector<std::string>{"顺序名次", "并列名次"}));
  EXPECT_EQ(box().text(), "顺序名次");
}

TEST_F(RankModeSettingTest, AChoiceIsStoredAndShownNextTime) {
  choose("并列名次");
  EXPECT_EQ(store::readRankModeText(server.db()), "并列名次");
  browser.click("navigationBar.accountsLink");
  EXPECT_EQ(box().text(), "并列名次");
  choose("顺序名次");
  EXPECT_EQ(store::readRankModeText(server.db()), "顺序名次");
}

TEST_F(RankModeSettingTest, ADatabaseWithoutTheSettingShowsSequentialAndSaves) {
  server.db().exec("delete from sysset where zdm='mcfs'");
  browser.click("navigationBar.accountsLink");
  EXPECT_EQ(box().text(), "顺序名次");
  choose("并列名次");
  EXPECT_EQ(store::readRankModeText(server.db()), "并列名次");
}

}  // namespace
}  // namespace zeziza::testing

#include "pages/signin/password.h"

#include <gtest/gtest.h>

#include "pages/common/nav_entries.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/inputs.h"

namespace zeziza::testing {
namespace {

// A signed-in user on the password page, reached through the navigation bar.
class PasswordPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addUser(server, "o'brien", "old pw", 4);
    addUser(server, "other", "other pw", 0);
    signIn(browser, "O'BRIEN", "old pw");
    browser.click("navigationBar.passwordLink");
    ASSERT_EQ(browser.pageClass(), "PasswordPage");
  }

  void change(const std::string& current, const std::string& fresh, const std::string& repeat) {
    browser.type("currentPasswordEdit", current);
    browser.type("newPasswordEdit", fresh);
    browser.type("repeatPasswordEdit", repeat);
    browser.click("changeButton");
  }

  bool stored(const std::string& user, const std::string& password) {
    return server.context().passwordHasher().verify(
        scalar(server, "select pass from yh where user=?", {store::Value(user)}), password);
  }

  TestServer server;
  BrowserSession browser = server.browser();
};

TEST_F(PasswordPageTest, ChecksInTheirOrderAndStoresTheNewPasswordAsTyped) {
  struct Case {
    std::string current, fresh, repeat, message;
  };
  const std::vector<Case> refused = {
      {"wrong", "", "", "新设密码不能为空！"},
      {"wrong", " \t ", " \t ", "新设密码不能为空！"},
      {"old pw", "12345", "12345", "密码至少需要6个字符！"},
      {"old pw", " 12345 ", " 12345 ", "密码至少需要6个字符！"},
      {"wrong", "abcdef", "abcdeg", "新设密码与重复密码不一致，请检查！"},
      {"old pw", "new pw", "new pw ", "新设密码与重复密码不一致，请检查！"},
      {"OLD PW", "new pw", "new pw", "原有密码错误！请检查。"},
      {"old pw ", "new pw", "new pw", "原有密码错误！请检查。"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.current + "/" + c.fresh + "/" + c.repeat);
    change(c.current, c.fresh, c.repeat);
    EXPECT_EQ(browser.message(), c.message);
    EXPECT_TRUE(stored("o'brien", "old pw"));
  }
  change("old pw", " new'pw; ", " new'pw; ");
  EXPECT_EQ(browser.message(), "修改成功！");
  EXPECT_TRUE(stored("o'brien", " new'pw; "));
  EXPECT_TRUE(stored("other", "other pw"));
  // The page stays and the edits keep what was typed.
  EXPECT_EQ(browser.pageClass(), "PasswordPage");
  EXPECT_EQ(browser.control<web::Edit>("newPasswordEdit").Text, " new'pw; ");

  auto again = server.browser();
  signIn(again, "o'brien", "new'pw;");
  EXPECT_EQ(again.message(), "用户名或密码错误！");
  signIn(again, "o'brien", " new'pw; ");
  EXPECT_EQ(again.pageClass(), "ScoreQueryPage");
}

TEST_F(PasswordPageTest, HasTheBarWithoutAnyEntryMarkedAndNoFooter) {
  EXPECT_EQ(browser.user().navigationEntry, "PasswordPage");
  for (const auto& entry : pages::navigationEntries()) {
    EXPECT_EQ(
        browser.control<web::Rectangle>("navigationBar." + std::string(entry.name) + "Bar").Color,
        "tan")
        << entry.name;
  }
  EXPECT_EQ(browser.page().find("footer.keepAliveTimer"), nullptr);
  // Passwords are typed into password boxes, never shown on the screen.
  for (const char* edit : {"currentPasswordEdit", "newPasswordEdit", "repeatPasswordEdit"}) {
    EXPECT_TRUE(browser.control<web::Edit>(edit).PasswordPrompt) << edit;
  }
}

TEST_F(PasswordPageTest, DeletedAccountCannotChangeItsPassword) {
  server.db().exec("delete from yh where user='o''brien'");
  change("old pw", "new pw", "new pw");
  EXPECT_EQ(browser.message(), "原有密码错误！请检查。");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
}

TEST_F(PasswordPageTest, GuessingTheCurrentPasswordIsSlowedDown) {
  auto now = std::chrono::steady_clock::now();
  server.context().loginThrottle().setClock([&] { return now; });
  for (int i = 0; i < 3; ++i) change("guess" + std::to_string(i), "new pw", "new pw");
  change("old pw", "new pw", "new pw");
  EXPECT_EQ(browser.message(), "登录失败次数过多，请1秒后再试。");
  EXPECT_TRUE(stored("o'brien", "old pw"));
  now += std::chrono::seconds(1);
  change("old pw", "new pw", "new pw");
  EXPECT_EQ(browser.message(), "修改成功！");
}

}  // namespace
}  // namespace zeziza::testing

// An account deleted, or given other rights or another class, while its sessions are signed
// in: their next request is the login page, and nothing of it is written.
#include <gtest/gtest.h>

#include "pages/system/accounts.h"
#include "tests/pages/entry/entry_fixture.h"
#include "web/controls/lists.h"

namespace zeziza::testing {
namespace {

constexpr const char* kWithdrawn = "您的账号已被删除，或权限、密码已变更，请重新登录。";

enum class Change { Deleted, Rights, Class };

class AccountWithdrawalTest : public EntryTest {
 protected:
  void SetUp() override {
    addUser(server, "boss", "boss pw", 0);
    setSetting(server, store::key::kDefaultExam, kExam);
    setSetting(server, store::key::kGrades, "七年级\r\n八年级\r\n");
    addStudent("801", "张三");
    addStudent("802", "李四");
    testing::signIn(boss, "boss", "boss pw");
  }

  // The super administrator changes `name` on the accounts page.
  void change(const std::string& name, Change what) {
    boss.showPage<pages::AccountsPage>();
    if (what == Change::Deleted) {
      boss.click("usersGrid", "5:" + name);
      return;
    }
    boss.click("usersGrid", "3:" + name);
    ASSERT_EQ(boss.control<web::Edit>("userNameEdit").Text, name);
    if (what == Change::Rights) {
      const int code =
          *pages::parseRightsCode(scalar(server, "select qx from yh where user=?", {name}));
      boss.choose("typeBox", std::string(pages::roleName(code == 4 ? 3 : 4)));
      boss.click("typeBox");
    } else {
      boss.choose("classBox", "三班");
    }
    boss.click("addUserButton");
    EXPECT_EQ(boss.message(), "已修改用户“" + name + "”的权限。");
  }

  bool passwordIs(const std::string& name, const std::string& password) {
    return server.context().passwordHasher().verify(
        scalar(server, "select pass from yh where user=?", {name}), password);
  }

  // Enters a score on the direct entry panel; true when a row landed.
  bool enterScore(BrowserSession& user, const std::string& number) {
    const int before = rowCount();
    user.choose("directSubjectBox", "数学");
    user.type("directNumberEdit", number);
    user.type("directScoreEdit", "66");
    user.click("directEnterButton");
    return rowCount() > before;
  }

  void expectSignedOut(BrowserSession& user) {
    EXPECT_EQ(user.message(), kWithdrawn);
    EXPECT_EQ(user.pageClass(), "LoginPage");
    EXPECT_FALSE(user.user().signedIn());
  }

  BrowserSession boss = server.browser();
};

TEST_F(AccountWithdrawalTest, EachRoleDeletedOrChangedWritesNothingMore) {
  const struct {
    int code;
    Change change;
  } cases[] = {
      {0, Change::Deleted}, {0, Change::Rights}, {1, Change::Deleted}, {1, Change::Rights},
      {2, Change::Deleted}, {2, Change::Rights}, {3, Change::Deleted}, {3, Change::Rights},
      {4, Change::Deleted}, {4, Change::Rights}, {5, Change::Deleted}, {5, Change::Rights},
      {5, Change::Class},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string name = "user" + std::to_string(++n);
    SCOPED_TRACE(name + " " + std::string(pages::roleName(c.code)));
    addUser(server, name, "old pw", c.code, "中心校区", "七年级", "一班");
    auto user = server.browser();
    testing::signIn(user, name, "old pw");
    const bool enters = c.code == 2 || c.code == 3 || c.code == 5;
    if (enters) {
      ASSERT_EQ(user.pageClass(), "ScoreEntryPage");
    } else {
      user.click("navigationBar.passwordLink");
      ASSERT_EQ(user.pageClass(), "PasswordPage");
    }
    change(name, c.change);

    if (enters) {
      user.choose("directSubjectBox", "数学");
      user.type("directNumberEdit", "801");
      user.type("directScoreEdit", "88");
      user.click("directEnterButton");
      EXPECT_EQ(rowCount(), 0);
    } else {
      user.type("currentPasswordEdit", "old pw");
      user.type("newPasswordEdit", "taken over");
      user.type("repeatPasswordEdit", "taken over");
      user.click("changeButton");
      EXPECT_FALSE(passwordIs(name, "taken over"));
    }
    EXPECT_EQ(user.message(), kWithdrawn);
    EXPECT_EQ(user.pageClass(), "LoginPage");
    EXPECT_FALSE(user.user().signedIn());
    // The account signs in again as it is now; a deleted one does not.
    testing::signIn(user, name, "old pw");
    if (c.change == Change::Deleted) {
      EXPECT_EQ(user.message(), "用户名或密码错误！");
    } else {
      EXPECT_EQ(user.user().login.userName, name);
      EXPECT_NE(user.pageClass(), "LoginPage");
    }
  }
  // The administrator who changed them goes on.
  boss.click("newUserLink");
  EXPECT_EQ(boss.message(), "");
  EXPECT_TRUE(boss.control<web::Region>("newUserPanel").Visible);
}

TEST_F(AccountWithdrawalTest, OtherAccountsSessionsGoOnAndTheirWritesLand) {
  addUser(server, "clerk", "clerk pw", 3);
  addUser(server, "other", "other pw", 3);
  auto clerk = server.browser();
  testing::signIn(clerk, "clerk", "clerk pw");
  ASSERT_EQ(clerk.pageClass(), "ScoreEntryPage");
  change("other", Change::Deleted);
  clerk.choose("directSubjectBox", "数学");
  clerk.type("directNumberEdit", "802");
  clerk.type("directScoreEdit", "77");
  clerk.click("directEnterButton");
  EXPECT_EQ(clerk.message(), "");
  EXPECT_EQ(rowCount(), 1);
  EXPECT_EQ(clerk.pageClass(), "ScoreEntryPage");
}

// The row is gone and one of the same name, rights and even password hash is made: the old
// session knew another account, and its next save is refused.
TEST_F(AccountWithdrawalTest, AnAccountDeletedAndMadeAgainIsAnotherAccount) {
  addUser(server, "clerk", "clerk pw", 3);
  auto clerk = server.browser();
  testing::signIn(clerk, "clerk", "clerk pw");
  ASSERT_EQ(clerk.pageClass(), "ScoreEntryPage");
  const std::string hash = scalar(server, "select pass from yh where user='clerk'");
  change("clerk", Change::Deleted);
  server.db().exec("insert into yh (user, pass, qx) values ('clerk', ?, '3')",
                   {store::Value(hash)});
  EXPECT_FALSE(enterScore(clerk, "801"));
  expectSignedOut(clerk);
  // Signed in again, it is the new account and saves.
  testing::signIn(clerk, "clerk", "clerk pw");
  EXPECT_TRUE(enterScore(clerk, "801"));
}

// A password reset by the administrator, or changed by the user in one browser, signs every
// other browser of the account out at its next request; the one that changed it goes on.
TEST_F(AccountWithdrawalTest, APasswordResetOrChangeSignsOutTheAccountsOtherSessions) {
  for (const bool reset : {true, false}) {
    SCOPED_TRACE(reset ? "reset" : "changed");
    const std::string name = reset ? "reset" : "changed";
    addUser(server, name, "old pw", 3);
    auto other = server.browser();
    auto own = server.browser();
    testing::signIn(other, name, "old pw");
    testing::signIn(own, name, "old pw");
    ASSERT_EQ(other.pageClass(), "ScoreEntryPage");
    if (reset) {
      boss.showPage<pages::AccountsPage>();
      boss.click("usersGrid", "4:" + name);
      EXPECT_NE(boss.message().find("的新密码是："), std::string::npos);
    } else {
      own.click("passwordLink");
      own.type("oldPasswordEdit", "old pw");
      own.type("newPasswordEdit", "new pw 123");
      own.type("repeatPasswordEdit", "new pw 123");
      own.click("changePasswordButton");
      EXPECT_EQ(own.message(), "修改成功！");
      own.click("directModeLink");
    }
    EXPECT_FALSE(enterScore(other, "801"));
    expectSignedOut(other);
    EXPECT_FALSE(passwordIs(name, "old pw"));
    if (reset) {
      EXPECT_FALSE(enterScore(own, "802"));
      expectSignedOut(own);
    } else {
      EXPECT_TRUE(enterScore(own, "802"));
      EXPECT_EQ(own.message(), "");
      testing::signIn(other, name, "new pw 123");
      EXPECT_TRUE(enterScore(other, "801"));
    }
    server.db().exec("delete from cj");
  }
}

TEST_F(AccountWithdrawalTest, TheSuperAdministratorDeletingThemselvesIsSignedOutNext) {
  addUser(server, "second", "second pw", 0);
  change("boss", Change::Deleted);
  EXPECT_EQ(boss.message(), "");
  boss.click("newUserLink");
  EXPECT_EQ(boss.message(), kWithdrawn);
  EXPECT_EQ(boss.pageClass(), "LoginPage");
}

}  // namespace
}  // namespace zeziza::testing

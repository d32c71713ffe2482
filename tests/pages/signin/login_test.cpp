#include "pages/signin/login.h"

#include <gtest/gtest.h>

#include <thread>

#include "pages/analysis/score_query.h"
#include "pages/entry/score_entry.h"
#include "pages/signin/login_state.h"
#include "store/subject_columns.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/inputs.h"

namespace zeziza::testing {
namespace {

constexpr const char* kWrongLogin = "用户名或密码错误！";
constexpr const char* kTooShort = "密码至少需要6个字符！";
constexpr const char* kNoDefaultExam = "尚未设置默认考试项目，请先设置考试项目后再录入成绩！";

bool firstAdminPanelShown(BrowserSession& browser) {
  return browser.control<web::Region>("firstAdminPanel").Visible;
}

void createFirstAdmin(BrowserSession& browser, const std::string& name, const std::string& password,
                      const std::string& repeat) {
  browser.type("adminNameEdit", name);
  browser.type("adminPasswordEdit", password);
  browser.type("adminRepeatEdit", repeat);
  browser.click("createAdminButton");
}

TEST(FirstAdmin, RefusesBadEntriesInOrderAndCreatesATrimmedHashedAdmin) {
  struct Case {
    std::string name, password, repeat, message;
  };
  const std::vector<Case> refused = {
      {"", "pw", "pw", "用户名不能为空"},
      {" \t ", "pw", "pw", "用户名不能为空"},
      {"", "pw", "other", "用户名不能为空"},
      {"admin", "pw", "pW", "重复密码错误"},
      {"admin", " pw", "pw", "重复密码错误"},
      {"admin", "", "x", "重复密码错误"},
      {"admin", "   ", "   ", kTooShort},
      {"admin", "", "", kTooShort},
      {"admin", "12345", "12345", kTooShort},
      {"admin", "  12345  ", "  12345  ", kTooShort},
      {"admin", "五个汉字密", "五个汉字密", kTooShort},  // characters count, not bytes
  };
  TestServer server;
  auto browser = server.browser();
  EXPECT_EQ(browser.pageClass(), "LoginPage");
  EXPECT_EQ(browser.page().Title, "系统登录");
  ASSERT_TRUE(firstAdminPanelShown(browser));
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name + "/" + c.password + "/" + c.repeat);
    createFirstAdmin(browser, c.name, c.password, c.repeat);
    EXPECT_EQ(browser.message(), c.message);
    EXPECT_TRUE(firstAdminPanelShown(browser));
    EXPECT_EQ(scalar(server, "select count(*) from yh"), "0");
  }

  createFirstAdmin(browser, "  Admin ", " Pass word ", " Pass word ");
  EXPECT_EQ(browser.message(), "创建用户成功，请使用新创建的用户登录!");
  EXPECT_FALSE(firstAdminPanelShown(browser));
  EXPECT_EQ(scalar(server, "select user || '|' || qx from yh"), "Admin|0");
  const std::string stored = scalar(server, "select pass from yh");
  EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u);
  EXPECT_TRUE(server.context().passwordHasher().verify(stored, "Pass word"));

  signIn(browser, "admin", " Pass word ");  // the stored password is the trimmed one
  EXPECT_EQ(browser.message(), kWrongLogin);
  signIn(browser, "admin", "Pass word");
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
}

TEST(FirstAdmin, PanelOnlyWhileNoSuperAdminExists) {
  TestServer server;
  addUser(server, "clerk", "pw", 3);
  auto before = server.browser();
  EXPECT_TRUE(firstAdminPanelShown(before));
  addUser(server, "boss", "pw", 0);
  auto browser = server.browser();
  EXPECT_FALSE(firstAdminPanelShown(browser));
  // The last super administrator gone: the next login page offers the panel again.
  server.db().exec("delete from yh where user='boss'");
  browser.showPage<pages::LoginPage>();
  EXPECT_TRUE(firstAdminPanelShown(browser));
}

TEST(FirstAdmin, StalePanelCannotAddASecondSuperAdmin) {
  TestServer server;
  auto first = server.browser();
  auto second = server.browser();
  ASSERT_TRUE(firstAdminPanelShown(second));
  createFirstAdmin(first, "admin", "secret", "secret");
  createFirstAdmin(second, "intruder", "secret", "secret");
  EXPECT_EQ(second.message(), "系统中已有超级管理员，请使用其用户名登录。");
  EXPECT_FALSE(firstAdminPanelShown(second));
  EXPECT_EQ(scalar(server, "select group_concat(user) from yh"), "admin");
}

TEST(FirstAdmin, NameOfAnExistingUserInAnyLetterCaseIsRefused) {
  TestServer server;
  addUser(server, "Teacher", "pw", 1);
  auto browser = server.browser();
  createFirstAdmin(browser, "tEACHER", "secret", "secret");
  EXPECT_EQ(browser.message(), "该用户名已存在，请使用其它用户名！");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
  EXPECT_TRUE(firstAdminPanelShown(browser));
}

TEST(FirstAdmin, TwoSessionsAtOnceMakeOneSuperAdmin) {
  TestServer server;
  auto a = server.browser();
  auto b = server.browser();
  std::thread ta([&] { createFirstAdmin(a, "admin", "secret1", "secret1"); });
  std::thread tb([&] { createFirstAdmin(b, "ADMIN", "secret2", "secret2"); });
  ta.join();
  tb.join();
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
  const std::vector<std::string> messages = {a.message(), b.message()};
  EXPECT_EQ(std::count(messages.begin(), messages.end(), "创建用户成功，请使用新创建的用户登录!"),
            1);
}

TEST(FirstAdmin, QuotesAndSemicolonsAreJustCharacters) {
  TestServer server;
  auto browser = server.browser();
  const std::string name = "o'brien\"; drop table yh; --";
  createFirstAdmin(browser, name, "p'w;\" --", "p'w;\" --");
  EXPECT_EQ(browser.message(), "创建用户成功，请使用新创建的用户登录!");
  EXPECT_EQ(scalar(server, "select user from yh"), name);
  signIn(browser, name, "p'w;\" --");
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
  EXPECT_EQ(browser.user().login.userName, name);
}

// A server with one user of every code and the settings the routing reads.
class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<std::string> names = {"super", "admin", "chief", "clerk", "viewer", "head"};
    for (int code = 0; code < 6; ++code) addUser(server, names[code], "secret", code);
  }
  TestServer server;
};

TEST_F(LoginTest, RoutesEveryCode) {
  struct Case {
    std::string user, defaultExam, workMode, page, message;
  };
  const std::string unified = "统考模式", self = "自考模式";
  const std::vector<Case> cases = {
      {"super", "", self, "ScoreQueryPage", ""},
      {"admin", "", unified, "ScoreQueryPage", ""},
      {"viewer", "", self, "ScoreQueryPage", ""},
      {"chief", "期中考试", self, "ScoreEntryPage", ""},
      {"clerk", "期中考试", unified, "ScoreEntryPage", ""},
      {"chief", "", self, "LoginPage", kNoDefaultExam},
      {"clerk", "", unified, "LoginPage", kNoDefaultExam},
      {"head", "期中考试", self, "ScoreEntryPage", ""},
      {"head", "", self, "LoginPage", kNoDefaultExam},
      {"head", "期中考试", unified, "LoginPage", "统考模式下您不能登录"},
      {"head", "", unified, "LoginPage", "统考模式下您不能登录"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user + " / " + c.defaultExam + " / " + c.workMode);
    setSetting(server, store::key::kDefaultExam, c.defaultExam);
    setSetting(server, store::key::kWorkMode, c.workMode);
    auto browser = server.browser();
    signIn(browser, c.user, "secret");
    EXPECT_EQ(browser.pageClass(), c.page);
    EXPECT_EQ(browser.message(), c.message);
    // Even a user kept on the login page is signed in as far as the login state goes.
    EXPECT_EQ(browser.user().login.userName, c.user);
  }
}

TEST_F(LoginTest, WrongNamesAndPasswordsSignNobodyIn) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"super", "Secret"},    {"super", "secret "},     {"super", ""},
      {"super ", "secret"},   {"nobody", "secret"},     {"", ""},
      {"' or '1'='1", "x"},   {"super", "' or '1'='1"}, {"' or '1'='1", "' or '1'='1"},
      {"super'--", "secret"}, {"super\";", "secret"},
  };
  // Each case after any wait of the one before: the refusal is the wrong-login one.
  auto now = std::chrono::steady_clock::now();
  server.context().loginThrottle().setClock([&] { return now; });
  for (const auto& [name, password] : cases) {
    SCOPED_TRACE(name + " / " + password);
    now += std::chrono::minutes(1);
    auto browser = server.browser();
    signIn(browser, name, password);
    EXPECT_EQ(browser.message(), kWrongLogin);
    EXPECT_EQ(browser.pageClass(), "LoginPage");
    EXPECT_EQ(browser.user().login.userName, "");
    EXPECT_EQ(browser.user().login.rights, std::nullopt);
  }
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "6");
}

TEST_F(LoginTest, UserNameMatchesInAnyLetterCaseAndTheStoredNameIsKept) {
  auto browser = server.browser();
  signIn(browser, "SuPeR", "secret");
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
  EXPECT_EQ(browser.user().login.userName, "super");
  EXPECT_EQ(browser.user().login.rights, 0);
}

// A browser idling at the login page costs its session alone: the page is set aside and made
// again, with what the browser posts, when it comes back. Signed-in sessions keep theirs.
TEST_F(LoginTest, AnIdleLoginPageIsSetAsideAndMadeAgainWhenTheBrowserComesBack) {
  setSetting(server, store::key::kDefaultExam, "");
  auto guest = server.browser();
  auto failed = server.browser();
  signIn(failed, "super", "wrong");
  auto kept = server.browser();
  signIn(kept, "chief", "secret");  // signed in, held on the login page for want of an exam
  ASSERT_EQ(kept.pageClass(), "LoginPage");
  auto& controller = server.controller();
  EXPECT_EQ(controller.sessions().setAsideIdlePages(web::Clock::now()),
            0u);  // nobody idle long enough
  const auto later = web::Clock::now() + std::chrono::minutes(1);
  // The guest's fresh page was set aside once its first answer was rendered.
  EXPECT_EQ(controller.sessions().setAsideIdlePages(later), 1u);
  EXPECT_EQ(controller.sessions().setAsideIdlePages(later), 0u);  // already set aside

  signIn(failed, "super", "wrong again");
  EXPECT_EQ(failed.message(), kWrongLogin);
  EXPECT_EQ(failed.control<web::Edit>("userNameEdit").Text, "super");
  signIn(guest, "super", "secret");
  EXPECT_EQ(guest.message(), "");
  EXPECT_EQ(guest.pageClass(), "ScoreQueryPage");
  EXPECT_EQ(guest.user().login.userName, "super");
  EXPECT_EQ(kept.pageClass(), "LoginPage");
  EXPECT_EQ(kept.user().login.userName, "chief");
}

TEST_F(LoginTest, RepeatedFailuresMakeTheNameWaitFromThatAddress) {
  auto now = std::chrono::steady_clock::now();
  server.context().loginThrottle().setClock([&] { return now; });
  auto browser = server.browser();
  for (int i = 0; i < 3; ++i) {
    signIn(browser, "super", "guess" + std::to_string(i));
    EXPECT_EQ(browser.message(), kWrongLogin);  // each was checked
  }
  // The right password is not even checked while the delay runs, and the answer says how
  // long the wait still is.
  signIn(browser, "SUPER", "secret");
  EXPECT_EQ(browser.message(), "登录失败次数过多，请1秒后再试。");
  EXPECT_EQ(browser.pageClass(), "LoginPage");
  // Other names are not slowed down.
  auto other = server.browser();
  signIn(other, "admin", "secret");
  EXPECT_EQ(other.pageClass(), "ScoreQueryPage");
  // Every further failure doubles the wait, and the message follows it to the second.
  const struct {
    std::chrono::milliseconds after;
    const char* message;
  } waits[] = {{std::chrono::milliseconds(1000), kWrongLogin},
               {std::chrono::milliseconds(0), "登录失败次数过多，请2秒后再试。"},
               {std::chrono::milliseconds(1500), "登录失败次数过多，请1秒后再试。"}};
  for (const auto& wait : waits) {
    now += wait.after;
    signIn(browser, "super", "guess again");
    EXPECT_EQ(browser.message(), wait.message);
  }

  now += std::chrono::seconds(1);
  signIn(browser, "super", "secret");
  EXPECT_EQ(browser.pageClass(), "ScoreQueryPage");
}

// The state is filled from the session it is given, also outside a request (as tools do):
// nothing is looked up through the request's current session.
TEST_F(LoginTest, LoginStateFillsTheSessionItIsGivenOutsideARequest) {
  server.context().settings().update([](store::SettingsSnapshot& s) { s.subjects = {"物理"}; });
  auto browser = server.browser();
  EXPECT_NO_THROW(pages::fillLoginState(browser.user(), "admin", "1"));
  EXPECT_EQ(browser.user().login.rights, 1);
  EXPECT_EQ(browser.user().login.subjects, (std::vector<store::SubjectColumn>{{1, "物理"}}));
}

TEST_F(LoginTest, LoginStateIsReadAfreshAtEveryLogin) {
  setSetting(server, store::key::kExams, "期中 考试\r\n期末,考试\r\n");
  setSetting(server, store::key::kGrades, "七年级\r\n八年级\r\n");
  setSetting(server, store::key::kDefaultExam, "期末,考试");
  setSetting(server, store::key::kWorkMode, "自考模式");
  setSetting(server, store::key::kFooterText, "<b>第一中学</b>");
  auto browser = server.browser();
  EXPECT_EQ(browser.control<web::Label>("footer.footerText").Caption, "<b>第一中学</b>");
  EXPECT_NE(browser.last().html.find("<b>第一中学</b>"), std::string::npos);
  signIn(browser, "super", "secret");
  const web::Session& user = browser.user();
  EXPECT_EQ(user.login.userName, "super");
  EXPECT_EQ(user.login.rights, 0);
  EXPECT_EQ(user.login.exams, (std::vector<std::string>{"期中 考试", "期末,考试"}));
  EXPECT_EQ(user.login.grades, (std::vector<std::string>{"七年级", "八年级"}));
  EXPECT_EQ(user.login.defaultExam, "期末,考试");
  EXPECT_EQ(user.login.workMode, "自考模式");
  EXPECT_EQ(user.login.footerText, "<b>第一中学</b>");
  EXPECT_EQ(user.login.subjects,
            (std::vector<store::SubjectColumn>{{1, "数学"}, {2, "语文"}, {3, "英语"}}));
  EXPECT_EQ(user.navigationEntry, "ScoreQueryPage");

  // Sign out, the settings change, another user signs in: nothing of the first login stays.
  browser.user().navigationEntry = "RosterPage";
  browser.showPage<pages::LoginPage>();
  setSetting(server, store::key::kExams, "");
  setSetting(server, store::key::kGrades, "九年级\r\n");
  setSetting(server, store::key::kDefaultExam, "");
  setSetting(server, store::key::kWorkMode, "统考模式");
  setSetting(server, store::key::kFooterText, "二中");
  browser.showPage<pages::LoginPage>();
  EXPECT_EQ(browser.user().login.footerText, "二中");
  signIn(browser, "viewer", "secret");
  EXPECT_EQ(user.login.userName, "viewer");
  EXPECT_EQ(user.login.rights, 4);
  EXPECT_EQ(user.login.exams, std::vector<std::string>{});
  EXPECT_EQ(user.login.grades, std::vector<std::string>{"九年级"});
  EXPECT_EQ(user.login.defaultExam, "");
  EXPECT_EQ(user.login.workMode, "统考模式");
  EXPECT_EQ(user.navigationEntry, "ScoreQueryPage");
}

TEST(LoginState, SubjectsAreNumberedInOrderAndStopAtTwelve) {
  using Subjects = std::vector<store::SubjectColumn>;
  EXPECT_EQ(store::numberSubjects({}), Subjects{});
  // Names are only text: quotes and SQL stay inside the name.
  EXPECT_EQ(store::numberSubjects({"物\"理", "a' or 1=1 --"}),
            (Subjects{{1, "物\"理"}, {2, "a' or 1=1 --"}}));
  std::vector<std::string> many;
  for (int i = 1; i <= 14; ++i) many.push_back("s" + std::to_string(i));
  const auto subjects = store::numberSubjects(many);
  ASSERT_EQ(subjects.size(), 12u);
  EXPECT_EQ(subjects.back(), (store::SubjectColumn{12, "s12"}));
}

}  // namespace
}  // namespace zeziza::testing

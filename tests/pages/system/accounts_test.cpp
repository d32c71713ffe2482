#include "pages/system/accounts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "pages/analysis/score_query.h"
#include "pages/common/rights.h"
#include "pages/signin/login.h"
#include "store/settings_cache.h"
#include "tests/pages/common/sign_in.h"
#include "web/controls/db_grid.h"

namespace zeziza::testing {
namespace {

constexpr const char* kTooShort = "密码至少需要6个字符！";
constexpr const char* kNameTaken = "该用户名已存在，请使用其它用户名！";
constexpr const char* kLastSuperAdmin =
    "您删除了唯一的一个超级管理员用户，请及时添加新的超级管理员！，否则任何人都可以在登录页重新创建"
    "新的"
    "超级管理员账户";

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A super administrator on the accounts page, reached through the navigation bar.
class AccountsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    addUser(server, "boss", "pw", 0);
    setSetting(server, store::key::kExams, "期中\r\n期末 考试\r\n");
    setSetting(server, store::key::kGrades, "七年级\r\n八年级\r\n");
    setSetting(server, store::key::kDefaultExam, "期中");
    signIn(browser, "boss", "pw");
    browser.click("navigationBar.accountsLink");
    ASSERT_EQ(browser.pageClass(), "AccountsPage");
  }

  const std::vector<std::vector<store::Value>>& userRows() {
    return browser.control<web::DBGrid>("usersGrid").DataSource->rows();
  }

  std::vector<std::string> listedUsers() {
    std::vector<std::string> names;
    for (const auto& row : userRows()) names.push_back(row.at(0).asText());
    return names;
  }

  void create(const std::string& type, const std::string& name, const std::string& password,
              const std::string& repeat) {
    browser.click("newUserLink");
    browser.choose("typeBox", type);
    browser.click("typeBox");
    browser.type("userNameEdit", name);
    browser.type("passwordEdit", password);
    browser.type("repeatEdit", repeat);
    browser.click("addUserButton");
  }

  void deleteUser(const std::string& name) { browser.click("usersGrid", "5:" + name); }

  bool shown(const std::string& region) { return browser.control<web::Region>(region).Visible; }

  TestServer server;
  BrowserSession browser = server.browser();
};

TEST_F(AccountsTest, OpensWithTheUsersAndTheSessionsSettings) {
  addUser(server, "clerk", "pw", 3);
  browser.showPage<pages::AccountsPage>();
  EXPECT_EQ(listedUsers(), (std::vector<std::string>{"boss", "clerk"}));
  EXPECT_EQ(userRows().at(1).at(1).asText(), "成绩录入员");
  EXPECT_NE(browser.last().html.find("删除用户</a>"), std::string::npos);
  EXPECT_EQ(browser.control<web::ComboBox>("modeBox").text(), "自考模式");
  EXPECT_EQ(browser.control<web::ComboBox>("examBox").Items,
            (std::vector<std::string>{"期中", "期末 考试"}));
  EXPECT_EQ(browser.control<web::ComboBox>("examBox").text(), "期中");
  EXPECT_FALSE(shown("newUserPanel"));
  EXPECT_EQ(browser.control<web::Rectangle>("navigationBar.accountsBar").Color, "#A52A2A");
}

TEST_F(AccountsTest, ServesSuperAdministratorsOnly) {
  for (const std::string code : {"1", "2", "3", "4", "5", ""}) {
    SCOPED_TRACE(code);
    auto other = server.browser();
    other.user().login.rights = pages::parseRightsCode(code);
    other.showPage<pages::AccountsPage>();
    EXPECT_EQ(other.message(), pages::kNoPageRightsMessage);
    EXPECT_FALSE(other.control<web::Region>("Content").Visible);
    EXPECT_EQ(other.last().html.find("系统数据重置"), std::string::npos);
    EXPECT_EQ(other.control<web::DBGrid>("usersGrid").DataSource, nullptr);  // no user read
  }
  // The handlers check the code themselves as well.
  browser.user().login.rights = 1;
  browser.type("resetEdit", "yes");
  browser.click("resetButton");
  EXPECT_EQ(browser.message(), pages::kNoRightsMessage);
  create("普通用户", "sneaky", "pw", "pw");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
}

TEST_F(AccountsTest, CreateRefusesBadEntriesInOrder) {
  struct Case {
    std::string name, password, repeat, message;
  };
  const std::vector<Case> cases = {
      {"  ", "pw", "pw", "用户名不能为空"},
      {"", "a", "b", "用户名不能为空"},
      {"new", "a", "b", "重复密码错误"},
      {"new", "pw ", "pw", "重复密码错误"},
      {"new", "   ", "   ", kTooShort},
      {"new", " 12345 ", " 12345 ", kTooShort},
      {"new", "五个汉字密", "五个汉字密", kTooShort},
      {"BOSS", "secret", "secret", kNameTaken},
      {" Boss ", "secret", "secret", kNameTaken},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + "/" + c.password + "/" + c.repeat);
    create("管理员", c.name, c.password, c.repeat);
    EXPECT_EQ(browser.message(), c.message);
    EXPECT_TRUE(shown("newUserPanel"));
    EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
  }
}

TEST_F(AccountsTest, CreatesEveryTypeWithATrimmedHashedPassword) {
  const std::vector<std::string> types = {"超级管理员", "管理员", "主管", "成绩录入员", "普通用户"};
  for (std::size_t code = 0; code < types.size(); ++code) {
    SCOPED_TRACE(types[code]);
    const std::string name = "user" + std::to_string(code);
    create(types[code], " " + name + " ", " secret ", " secret ");
    EXPECT_EQ(browser.message(), "已创建用户“" + name + "”");
    EXPECT_FALSE(shown("newUserPanel"));
    EXPECT_FALSE(shown("classPanel"));
    EXPECT_EQ(scalar(server, "select qx || '|' || xx || nj || bc from yh where user=?", {name}),
              std::to_string(code) + "|");
    EXPECT_EQ(listedUsers().back(), name);
  }
  EXPECT_EQ(scalar(server, "select count(*) from yh where pass not like '$argon2id$%'"), "0");
  auto other = server.browser();
  signIn(other, "user4", " secret ");
  EXPECT_EQ(other.message(), "用户名或密码错误！");
  signIn(other, "user4", "secret");
  EXPECT_EQ(other.pageClass(), "ScoreQueryPage");
}

TEST_F(AccountsTest, ClassTeacherGetsUnitGradeAndClass) {
  browser.click("newUserLink");
  browser.choose("typeBox", "班主任");
  browser.click("typeBox");
  ASSERT_TRUE(shown("classPanel"));
  const auto& units = browser.control<web::ComboBox>("unitBox");
  const auto& grades = browser.control<web::ComboBox>("gradeBox");
  const auto& classes = browser.control<web::ComboBox>("classBox");
  EXPECT_EQ(units.Items, server.context().settings().get()->units);
  EXPECT_EQ(grades.Items, (std::vector<std::string>{"七年级", "八年级"}));
  EXPECT_EQ(classes.Items, server.context().settings().get()->classes);
  EXPECT_EQ(units.ItemIndex, 0);
  EXPECT_EQ(grades.ItemIndex, 0);
  EXPECT_EQ(classes.ItemIndex, 0);

  browser.choose("unitBox", "东校区");
  browser.choose("gradeBox", "八年级");
  browser.choose("classBox", "三班");
  browser.type("userNameEdit", "王老师");
  browser.type("passwordEdit", "secret");
  browser.type("repeatEdit", "secret");
  browser.click("addUserButton");
  EXPECT_EQ(browser.message(), "已创建用户“王老师”");
  EXPECT_EQ(scalar(server, "select qx || xx || nj || bc from yh where user='王老师'"),
            "5东校区八年级三班");

  // Another type hides the sub-panel again.
  browser.click("newUserLink");
  browser.choose("typeBox", "主管");
  browser.click("typeBox");
  EXPECT_FALSE(shown("classPanel"));
}

TEST_F(AccountsTest, ClassTeacherNeedsTheListsFilled) {
  browser.user().login.grades = {};
  create("班主任", "王老师", "secret", "secret");
  EXPECT_EQ(browser.message(),
            "请选择班主任管理的单位、年级和班次！如列表为空，请先在单位设置中添加。");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
  // A post naming the class-teacher type without its scope ever shown adds nothing either.
  browser.user().login.grades = {"七年级"};
  browser.showPage<pages::AccountsPage>();
  browser.click("newUserLink");
  browser.choose("typeBox", "班主任");
  browser.type("userNameEdit", "李老师");
  browser.type("passwordEdit", "secret");
  browser.type("repeatEdit", "secret");
  browser.click("addUserButton");
  EXPECT_FALSE(shown("classPanel"));
  EXPECT_EQ(browser.message(),
            "请选择班主任管理的单位、年级和班次！如列表为空，请先在单位设置中添加。");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "1");
}

TEST_F(AccountsTest, DeletingTheLastSuperAdminWarnsAndOpensTheCreatePanel) {
  addUser(server, "second", "pw", 0);
  addUser(server, "clerk", "pw", 3);
  browser.showPage<pages::AccountsPage>();
  deleteUser("second");
  EXPECT_EQ(browser.message(), "");
  EXPECT_FALSE(shown("newUserPanel"));
  EXPECT_EQ(listedUsers(), (std::vector<std::string>{"boss", "clerk"}));

  deleteUser("boss");  // the account this session signed in with
  EXPECT_EQ(browser.message(), kLastSuperAdmin);
  EXPECT_TRUE(shown("newUserPanel"));
  EXPECT_EQ(listedUsers(), (std::vector<std::string>{"clerk"}));
  EXPECT_EQ(browser.user().login.userName, "boss");

  auto next = server.browser();
  EXPECT_TRUE(next.control<web::Region>("firstAdminPanel").Visible);
  signIn(next, "boss", "pw");
  EXPECT_EQ(next.message(), "用户名或密码错误！");
}

TEST_F(AccountsTest, QuotesInNamesAndValuesAreOrdinaryText) {
  const std::string name = "' or '1'='1";
  create("普通用户", name, "x';-- pw", "x';-- pw");
  EXPECT_EQ(browser.message(), "已创建用户“" + name + "”");
  EXPECT_EQ(scalar(server, "select qx from yh where user=?", {name}), "4");
  deleteUser(name);
  EXPECT_EQ(scalar(server, "select group_concat(user) from yh"), "boss");

  const std::string footer = "<a href=\"https://x.cn/\">第一中学</a>; drop table yh; --\"";
  browser.type("footerEdit", footer);
  browser.click("saveFooterButton");
  EXPECT_EQ(scalar(server, "select zdz from sysset where zdm='footext'"), footer);
  EXPECT_EQ(scalar(server, "select count(*) from sysset"), "17");

  // Chosen items are stored as they are, whatever they hold.
  const std::string exam = "期'末\"; delete from yh; --";
  browser.user().login.exams = {"期中", exam};
  browser.user().login.grades = {"七'年级"};
  browser.showPage<pages::AccountsPage>();
  browser.choose("examBox", exam);
  browser.click("examBox");
  EXPECT_EQ(scalar(server, "select zdz from sysset where zdm='mrtest'"), exam);
  browser.click("newUserLink");
  browser.choose("typeBox", "班主任");
  browser.click("typeBox");
  browser.type("userNameEdit", "a'b");
  browser.type("passwordEdit", "secret");
  browser.type("repeatEdit", "secret");
  browser.click("addUserButton");
  EXPECT_EQ(scalar(server, "select nj from yh where user='a''b'"), "七'年级");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "2");
}

TEST_F(AccountsTest, WorkModeDefaultExamAndFooterAreStoredAndTakenIntoTheSession) {
  browser.choose("modeBox", "统考模式");
  browser.click("modeBox");
  EXPECT_EQ(scalar(server, "select zdz from sysset where zdm='gzms'"), "统考模式");
  EXPECT_EQ(browser.user().login.workMode, "统考模式");

  browser.choose("examBox", "期末 考试");
  browser.click("examBox");
  EXPECT_EQ(scalar(server, "select zdz from sysset where zdm='mrtest'"), "期末 考试");
  EXPECT_EQ(browser.user().login.defaultExam, "期末 考试");

  browser.type("footerEdit", "<b>第一中学</b><br>备案号 123");
  browser.click("saveFooterButton");
  EXPECT_EQ(browser.message(), "已保存页脚文字，下一个页面起显示");
  EXPECT_EQ(browser.user().login.footerText, "<b>第一中学</b><br>备案号 123");
  // This page's footer keeps the old text; the next page shows the markup as markup.
  EXPECT_EQ(browser.control<web::Label>("footer.footerText").Caption, "");
  browser.click("navigationBar.rosterLink");
  EXPECT_NE(browser.last().html.find("<b>第一中学</b><br>备案号 123"), std::string::npos);
  EXPECT_EQ(browser.control<web::Label>("navigationBar.userCaption").Caption,
            "·boss · 超级管理员 · 期末 考试 · 统考模式 ·");
}

TEST_F(AccountsTest, BannerTakesOnlyJpegOrPngPictures) {
  const auto banner = server.folder() / "files" / "bj.jpg";
  const std::string original = readFile(banner);
  const std::string jpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(300, 'j');
  const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(300, 'p');
  struct Case {
    std::string label;
    std::optional<std::string> content;
    std::string message;
    std::string expected;
  };
  const std::string wrongType = "上传的文件不是JPG或PNG格式的图片，网站横幅没有改变。";
  const std::vector<Case> cases = {
      {"no file", std::nullopt, "", original},
      {"gif", std::string("GIF89a") + std::string(100, 'g'), wrongType, original},
      {"script named .jpg", std::string("<script>alert(1)</script>"), wrongType, original},
      {"empty", std::string(), wrongType, original},
      {"too big", std::string("\xFF\xD8\xFF", 3) + std::string(2 * 1024 * 1024, 'x'),
       "横幅图片太大，不能超过2MB，请缩小后再上传。", original},
      {"jpeg", jpeg, "", jpeg},
      {"png", png, "", png},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.content) browser.attach("bannerFile", {"", "banner.jpg", "image/jpeg", *c.content});
    browser.click("bannerButton");
    EXPECT_EQ(browser.message(), c.message);
    EXPECT_EQ(readFile(banner), c.expected);
  }
  // Nothing is left beside the banner.
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(banner.parent_path())) {
    files += entry.path().filename().string().rfind("bj.jpg", 0) == 0;
  }
  EXPECT_EQ(files, 1u);
}

TEST_F(AccountsTest, ResetTakesOnlyConfirmOrYesEndsIdleSessionsAndKeepsThisOne) {
  addUser(server, "clerk", "pw", 3);
  server.db().exec("insert into ks (id, xm) values ('001', '张三')");
  server.context().settings().update(
      [](store::SettingsSnapshot& s) { s.units.push_back("新校区"); });
  auto idle = server.browser();

  for (const std::string typed : {"YES", "yes ", "", "Yes", "确认 ", "确定"}) {
    SCOPED_TRACE(typed);
    browser.type("resetEdit", typed);
    browser.click("resetButton");
    EXPECT_EQ(browser.message(),
              "系统没有重置，数据未改变。如果需要删除所有数据、重置系统，请在后面的文本框输入"
              "“确认”或yes，再点系统数据重置");
    EXPECT_TRUE(idle.alive());
    EXPECT_EQ(scalar(server, "select count(*) from yh"), "2");
  }

  browser.type("resetEdit", "确认");
  browser.click("resetButton");
  EXPECT_EQ(browser.message(),
            "已成功完成了系统重置。所有信息数据均已被删除,请重新在浏览器输入地址登录！");
  EXPECT_FALSE(idle.alive());
  EXPECT_TRUE(browser.alive());
  EXPECT_EQ(browser.pageClass(), "AccountsPage");
  EXPECT_EQ(browser.user().login.userName, "boss");
  EXPECT_EQ(scalar(server, "select count(*) from yh"), "0");
  EXPECT_EQ(scalar(server, "select count(*) from ks"), "0");
  EXPECT_EQ(scalar(server, "select zdz from sysset where zdm='mrtest'"), "");
  EXPECT_TRUE(listedUsers().empty());
  EXPECT_EQ(server.context().settings().get()->units.size(), 3u);
  // After the reset the login page offers the first-administrator panel again.
  auto fresh = server.browser();
  EXPECT_TRUE(fresh.control<web::Region>("firstAdminPanel").Visible);
  // The account went with the data: this session's next request is the login page.
  browser.click("newUserLink");
  EXPECT_EQ(browser.message(), "您的账号已被删除，或权限、密码已变更，请重新登录。");
  EXPECT_EQ(browser.pageClass(), "LoginPage");
}

TEST_F(AccountsTest, TheListNamesRolesAndAClassTeachersClass) {
  const std::vector<std::string> roles = {"超级管理员", "管理员",   "主管",
                                          "成绩录入员", "普通用户", "班主任"};
  for (int code = 1; code <= 5; ++code) {
    addUser(server, "u" + std::to_string(code), "pw", code, code == 5 ? "东校区" : "",
            code == 5 ? "八年级" : "", code == 5 ? "三班" : "");
  }
  server.db().exec("insert into yh (user, pass, qx) values ('odd', 'x', '7')");
  browser.showPage<pages::AccountsPage>();
  const auto& rows = userRows();
  ASSERT_EQ(rows.size(), 7u);
  for (std::size_t code = 0; code < roles.size(); ++code) {
    EXPECT_EQ(rows[code].at(1).asText(), roles[code]);
    EXPECT_EQ(rows[code].at(2).asText(), code == 5 ? "东校区 八年级 三班" : "") << code;
  }
  EXPECT_EQ(rows[6].at(1).asText(), "7");  // a code of no role shows as stored
  const std::string& html = browser.last().html;
  for (const char* link : {"修改权限</a>", "重置密码</a>", "删除用户</a>"}) {
    EXPECT_NE(html.find(link), std::string::npos) << link;
  }
}

TEST_F(AccountsTest, AResetPasswordIsShownOnceAndSignsIn) {
  addUser(server, "clerk", "pw", 3);
  browser.showPage<pages::AccountsPage>();
  browser.click("usersGrid", "4:clerk");
  const std::string message = browser.message();
  const std::string lead = "用户“clerk”的新密码是：";
  ASSERT_EQ(message.rfind(lead, 0), 0u) << message;
  const std::string password = message.substr(lead.size(), 8);
  EXPECT_EQ(message.substr(lead.size() + 8), "\n此密码只显示这一次，请记下并转告本人。");
  // Only its hash is kept, and nothing of it is on the page after this answer.
  EXPECT_EQ(scalar(server, "select count(*) from yh where pass like '%' || ? || '%'", {password}),
            "0");
  browser.click("newUserLink");
  EXPECT_EQ(browser.last().html.find(password), std::string::npos);
  auto clerk = server.browser();
  signIn(clerk, "clerk", "pw");
  EXPECT_EQ(clerk.message(), "用户名或密码错误！");
  signIn(clerk, "clerk", password);
  EXPECT_EQ(clerk.user().login.userName, "clerk");
  // Each reset draws another password.
  browser.click("usersGrid", "4:clerk");
  EXPECT_EQ(browser.message().find(password), std::string::npos);
}

TEST_F(AccountsTest, ChangingRightsShowsTheAccountAsItIsAndStoresTheNewOnes) {
  addUser(server, "王老师", "pw", 5, "东校区", "八年级", "三班");
  browser.showPage<pages::AccountsPage>();
  browser.click("usersGrid", "3:王老师");
  EXPECT_TRUE(shown("newUserPanel"));
  EXPECT_TRUE(shown("classPanel"));
  EXPECT_FALSE(shown("PasswordRow"));
  EXPECT_FALSE(browser.control<web::Edit>("userNameEdit").Enabled);
  EXPECT_EQ(browser.control<web::ComboBox>("typeBox").text(), "班主任");
  EXPECT_EQ(browser.control<web::ComboBox>("unitBox").text(), "东校区");
  EXPECT_EQ(browser.control<web::ComboBox>("gradeBox").text(), "八年级");
  EXPECT_EQ(browser.control<web::ComboBox>("classBox").text(), "三班");
  // Another class, then another role: a class teacher's place goes with the role.
  browser.choose("gradeBox", "七年级");
  browser.click("addUserButton");
  EXPECT_EQ(scalar(server, "select qx || xx || nj || bc from yh where user='王老师'"),
            "5东校区七年级三班");
  browser.click("usersGrid", "3:王老师");
  browser.choose("typeBox", "主管");
  browser.click("typeBox");
  browser.click("addUserButton");
  EXPECT_EQ(scalar(server, "select qx || xx || nj || bc from yh where user='王老师'"), "2");
  EXPECT_FALSE(shown("newUserPanel"));
  // The panel creates users again when opened for that.
  browser.click("newUserLink");
  EXPECT_TRUE(browser.control<web::Edit>("userNameEdit").Enabled);
  EXPECT_TRUE(shown("PasswordRow"));
  EXPECT_EQ(browser.control<web::Edit>("userNameEdit").Text, "");
}

TEST_F(AccountsTest, TakingRightsFromTheLastSuperAdminWarns) {
  browser.click("usersGrid", "3:boss");
  browser.choose("typeBox", "管理员");
  browser.click("typeBox");
  browser.click("addUserButton");
  EXPECT_EQ(browser.messages(),
            (std::vector<std::string>{"已修改用户“boss”的权限。", kLastSuperAdmin}));
  EXPECT_TRUE(shown("newUserPanel"));
}

}  // namespace
}  // namespace zeziza::testing

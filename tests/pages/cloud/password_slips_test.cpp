// The password slips: one per student of the chosen classes with a kept first password, the
// results site's address of the account it was given on, and only for administrators.
#include "pages/cloud/password_slips.h"

#include <gtest/gtest.h>

#include "pages/cloud/cloud_upload.h"
#include "pages/common/rights.h"
#include "store/first_passwords.h"
#include "tests/support/page_driver.h"
#include "tests/support/score_rows.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/region.h"

namespace zeziza::pages {
namespace {

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

web::ServerSettings withResultsSite(const std::string& address) {
  web::ServerSettings settings;
  settings.ResultsSite = address;
  return settings;
}

class PasswordSlipsTest : public ::testing::Test {
 protected:
  explicit PasswordSlipsTest(const std::string& site = "http://results.test/")
      : server(nullptr, withResultsSite(site)) {
    for (const auto& row :
         std::vector<testing::StudentRow>{{"801", "张三", "东校区", "初一", "一班"},
                                          {"802", "<b>李四</b>", "东校区", "初一", "一班"},
                                          {"803", "王五", "东校区", "初一", "二班"},
                                          {"804", "赵六", "东校区", "初一", "一班"}}) {
      testing::addStudent(server.db(), row);
    }
    // 804 was on the service before: no first password of theirs is kept.
    store::keepFirstPasswords(server.db(), 7,
                              {{"801", "Ab3dEf7h"}, {"802", "Zx9mNp2q"}, {"803", "Kk4rTt6w"}});
  }

  testing::BrowserSession open(const std::string& code = "0") {
    auto b = server.browser();
    b.user().login.rights = pages::parseRightsCode(code);
    b.user().login.grades = {"初一"};
    b.showPage<PasswordSlipsPage>();
    return b;
  }
  static const std::vector<std::vector<SlipView>>& classes(testing::BrowserSession& b) {
    return b.control<PasswordSlipSheet>("slips").Classes;
  }

  testing::TestServer server;
};

TEST_F(PasswordSlipsTest, OneSlipPerStudentClassByClass) {
  auto b = open();
  b.click("makeButton");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  ASSERT_EQ(classes(b).size(), 2u);
  ASSERT_EQ(classes(b)[0].size(), 2u);
  ASSERT_EQ(classes(b)[1].size(), 1u);
  const SlipView& first = classes(b)[0][0];
  EXPECT_EQ(first.school, "东校区");
  EXPECT_EQ(first.cls, "初一一班");
  EXPECT_EQ(first.name, "张三");
  EXPECT_EQ(first.student, "801");
  EXPECT_EQ(first.address, "http://results.test/vezav/index.dll?dwid=7");
  EXPECT_EQ(first.password, "Ab3dEf7h");
  EXPECT_EQ(classes(b)[1][0].student, "803");
  EXPECT_EQ(b.control<web::Label>("countLabel").Caption,
            "共3张查询密码单，每班从新的一页开始。"
            "请使用浏览器的打印功能（Ctrl+P）打印，裁开后发给学生。");
  const std::string& html = b.last().html;
  EXPECT_EQ(occurrences(html, "class=\"password-slip\""), 3u);
  EXPECT_EQ(occurrences(html, "class=\"slip-class\""), 2u);
  EXPECT_NE(html.find("href=\"/css/password_slips.css"), std::string::npos);
  EXPECT_NE(html.find("&lt;b&gt;李四&lt;/b&gt;"), std::string::npos);
  EXPECT_EQ(html.find("<b>李四"), std::string::npos);
  // The address breaks after a slash of its path or before its "?", nowhere else.
  EXPECT_NE(html.find("http://results.test/<wbr>vezav/<wbr>index.dll<wbr>?dwid=7</p>"),
            std::string::npos);

  b.choose("classBox", "二班");
  b.click("makeButton");
  ASSERT_EQ(classes(b).size(), 1u);
  EXPECT_EQ(classes(b)[0][0].name, "王五");
  b.choose("unitBox", "西校区");
  b.click("makeButton");
  EXPECT_TRUE(classes(b).empty());
  EXPECT_EQ(b.control<web::Label>("countLabel").Caption, PasswordSlipsPage::kNoneMessage);
  EXPECT_EQ(b.last().html.find("Kk4rTt6w"), std::string::npos);
}

TEST_F(PasswordSlipsTest, TheFirstPasswordsAreForAdministratorsOnly) {
  for (const char* code : {"2", "3", "4", "5", ""}) {
    SCOPED_TRACE(code);
    auto b = open(code);
    EXPECT_EQ(b.message(), std::string(kNoPageRightsMessage));
    EXPECT_FALSE(b.control<web::Region>("scopeBar").Visible);
    // A click forged past the hidden bar shows nothing either.
    b.run([&] { b.control<web::Button>("makeButton").OnClick(); });
    EXPECT_TRUE(classes(b).empty());
    for (const char* secret : {"Ab3dEf7h", "Zx9mNp2q", "Kk4rTt6w"}) {
      EXPECT_EQ(b.last().html.find(secret), std::string::npos);
    }
  }
  auto admin = open("1");
  admin.click("makeButton");
  EXPECT_EQ(classes(admin).size(), 2u);
}

class PasswordSlipsWithoutSiteTest : public PasswordSlipsTest {
 protected:
  PasswordSlipsWithoutSiteTest() : PasswordSlipsTest("") {}
};

TEST_F(PasswordSlipsWithoutSiteTest, TheAddressSaysWhereToAsk) {
  auto b = open();
  b.click("makeButton");
  ASSERT_FALSE(classes(b).empty());
  EXPECT_EQ(classes(b)[0][0].address, "（请向学校询问成绩查询网址）");
}

}  // namespace
}  // namespace zeziza::pages

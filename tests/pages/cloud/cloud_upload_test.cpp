// The cloud upload page before it reaches the service: rights, configuration and the checks
// of step 1.
#include "pages/cloud/cloud_upload.h"

#include <gtest/gtest.h>

#include "pages/common/rights.h"
#include "tests/support/page_driver.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {
namespace {

// Nothing listens there: a test that reaches the service fails loudly.
web::ServerSettings unreachableCloud() {
  web::ServerSettings settings;
  settings.CloudConnection = "host=127.0.0.1 port=1 connect_timeout=1 dbname=none";
  settings.ResultsSite = "http://results.test";
  return settings;
}

testing::BrowserSession adminOnPage(testing::TestServer& server, const std::string& code = "0") {
  auto b = server.browser();
  b.user().login.rights = pages::parseRightsCode(code);
  b.user().login.defaultExam = "期中";
  b.user().login.grades = {"初一", "初二"};
  b.showPage<CloudUploadPage>();
  return b;
}

TEST(CloudUploadPage, CreatedAtStepOne) {
  testing::TestServer server(nullptr, unreachableCloud());
  auto b = adminOnPage(server);
  EXPECT_EQ(b.control<web::Label>("verifyTitle").Caption, "第一步：验证云端用户[未完成]");
  EXPECT_EQ(b.control<web::Label>("verifyTitle").FontColor, "#A52A2A");
  // The two boxes of step 1 say what goes in them.
  EXPECT_EQ(b.control<web::Label>("accountCaption").Caption, "注册编号");
  EXPECT_EQ(b.control<web::Label>("passwordCaption").Caption, "密码");
  EXPECT_EQ(b.control<web::Label>("prepareTitle").FontColor, "#8B4513");
  EXPECT_EQ(b.control<web::Region>("verifyStep").Css, "step step-current");
  EXPECT_TRUE(b.control<web::Button>("verifyButton").Enabled);
  for (const char* name : {"prepareButton", "rosterButton", "publishButton"}) {
    EXPECT_FALSE(b.control<web::Button>(name).Enabled) << name;
  }
  EXPECT_EQ(b.control<web::ComboBox>("subjectBox").Items,
            (std::vector<std::string>{"全部科目", "数学", "语文", "英语", "平均分", "总分"}));
  EXPECT_EQ(b.control<web::ComboBox>("unitBox").Items,
            (std::vector<std::string>{"所有单位", "中心校区", "东校区", "西校区"}));
  EXPECT_EQ(b.control<web::ComboBox>("gradeBox").Items,
            (std::vector<std::string>{"所有年级", "初一", "初二"}));
  EXPECT_EQ(b.control<web::ComboBox>("classBox").Items.front(), "所有班");
  EXPECT_EQ(b.control<web::ComboBox>("periodBox").text(), "15天");
  EXPECT_NE(b.last().html.find("注册编号"), std::string::npos);
}

// The registration and result links point at the results site, and are left out without one.
TEST(CloudUploadPage, LinksFollowTheResultsSite) {
  struct Case {
    std::string resultsSite;
    bool linked;
  };
  for (const Case& c : {Case{"https://scores.example.org/", true}, Case{"", false}}) {
    SCOPED_TRACE(c.resultsSite);
    auto settings = unreachableCloud();
    settings.ResultsSite = c.resultsSite;
    settings.Site = "http://vendor.example";
    testing::TestServer server(nullptr, settings);
    auto b = adminOnPage(server);
    const auto& label13 = b.control<web::Label>("registerLabel");
    const auto& verifyHint = b.control<web::Label>("verifyHint");
    const auto& studentAddressLabel = b.control<web::Label>("studentAddressLabel");
    EXPECT_EQ(label13.Visible, c.linked);
    EXPECT_EQ(studentAddressLabel.Visible, c.linked);
    EXPECT_EQ(verifyHint.Caption.find("vendor.example"), std::string::npos);
    if (c.linked) {
      EXPECT_NE(label13.Caption.find("href=\"https://scores.example.org/vezav/reg\""),
                std::string::npos)
          << label13.Caption;
      EXPECT_NE(verifyHint.Caption.find(">点击这里去云端注册自己的用户</a>"), std::string::npos);
      EXPECT_EQ(studentAddressLabel.Caption,
                "学生查询成绩地址：https://scores.example.org/vezav/index.dll?dwid=注册编号");
    } else {
      EXPECT_EQ(verifyHint.Caption, "<font color=\"#660000\">验证云端用户的身份</font>");
    }
  }
}

TEST(CloudUploadPage, StepOneRefusals) {
  testing::TestServer server(nullptr, unreachableCloud());
  auto b = adminOnPage(server);
  struct Case {
    std::string number, password, message;
  };
  const std::vector<Case> cases = {
      {"12", "  ", "密码不能为空！！！"},
      {"12a", "pw", "注册编号必须为正整数！"},
      {"0", "pw", "注册编号必须为正整数！"},
      {"-5", "pw", "注册编号必须为正整数！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    b.type("accountEdit", c.number);
    b.type("passwordEdit", c.password);
    b.click("verifyButton");
    EXPECT_EQ(b.message(), c.message);
    const auto& log = b.control<web::Memo>("logMemo").Lines;
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(log[0].ends_with(">>开始云端身份验证")) << log[0];
    EXPECT_FALSE(b.control<web::Button>("prepareButton").Enabled);
  }
}

TEST(CloudUploadPage, WithoutServiceStepOneSaysSoAndDoesNothing) {
  testing::TestServer server;
  auto b = adminOnPage(server);
  b.type("accountEdit", "12");
  b.type("passwordEdit", "pw");
  b.click("verifyButton");
  EXPECT_EQ(b.message(), CloudUploadPage::kNoCloudMessage);
  EXPECT_TRUE(b.control<web::Memo>("logMemo").Lines.empty());
  EXPECT_TRUE(b.control<web::Button>("verifyButton").Enabled);
}

// One password for every new student is a choice the school ticks knowingly; the slips are a
// click away whatever step the page is at.
TEST(CloudUploadPage, OnePasswordForAllIsOffAndWarnedAbout) {
  testing::TestServer server(nullptr, unreachableCloud());
  auto b = adminOnPage(server);
  EXPECT_FALSE(b.control<web::CheckBox>("sharedPasswordBox").Checked);
  EXPECT_EQ(b.control<web::Label>("sharedPasswordWarning").Caption,
            CloudUploadPage::kSharedPasswordWarning);
  EXPECT_TRUE(b.control<web::Button>("slipsButton").Enabled);
  b.click("slipsButton");
  EXPECT_EQ(b.pageClass(), "PasswordSlipsPage");
}

TEST(CloudUploadPage, OnlyAdministrators) {
  testing::TestServer server(nullptr, unreachableCloud());
  for (const char* code : {"2", "4", "5", ""}) {
    SCOPED_TRACE(code);
    auto b = adminOnPage(server, code);
    EXPECT_EQ(b.message(), "您没有访问此页面的权限！请用有权限的用户名重新登录。");
    EXPECT_FALSE(b.control<web::Region>("verifyStep").Visible);
  }
  auto admin = adminOnPage(server, "1");
  EXPECT_EQ(admin.message(), "");
  EXPECT_TRUE(admin.control<web::Region>("verifyStep").Visible);
}

}  // namespace
}  // namespace zeziza::pages

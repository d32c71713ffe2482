// The cloud upload page against a real service: the four steps with their log, colours and
// buttons, the loop lists, and one publishing session at a time.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "cloud/accounts.h"
#include "cloud/first_passwords.h"
#include "cloud/publish_lock.h"
#include "pages/cloud/cloud_upload.h"
#include "pages/cloud/password_slips.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/support/page_driver.h"
#include "tests/support/score_rows.h"
#include "web/controls/actions.h"
#include "web/controls/display.h"
#include "web/controls/inputs.h"
#include "web/controls/lists.h"
#include "web/controls/region.h"

namespace zeziza::pages {
namespace {

using namespace std::chrono_literals;

class CloudUploadPageTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    web::ServerSettings settings;
    settings.CloudConnection = cloud().conninfo();
    settings.ResultsSite = "http://cloud.test/";
    server_ = std::make_unique<testing::TestServer>(nullptr, settings);
    account_ = cloud::createAccount(cloud().db(), "secret");
    addStudent("801", "东校区", "一班", {90, 80, 0});
    addStudent("802", "东校区", "一班", {85, 70, 60});
    addStudent("803", "西校区", "二班", {85});
  }

  void addStudent(const std::string& number, const std::string& unit, const std::string& inClass,
                  const std::vector<double>& scores) {
    const auto bh =
        testing::addStudent(server_->db(), {number, "生" + number, unit, "初一", inClass});
    testing::addScores(server_->db(), bh, "期中", scores);
  }

  testing::BrowserSession admin() {
    auto b = server_->browser();
    b.user().login.rights = 0;
    b.user().login.defaultExam = "期中";
    b.user().login.grades = {"初一", "初二"};
    b.showPage<CloudUploadPage>();
    return b;
  }

  void verify(testing::BrowserSession& b) {
    b.type("accountEdit", std::to_string(account_));
    b.type("passwordEdit", "secret");
    b.click("verifyButton");
    ASSERT_EQ(b.message(), "");
  }

  // Ticks the page timer, as the browser does, until the running step has ended.
  static void finishStep(testing::BrowserSession& b) {
    for (int i = 0; i < 2000 && b.control<web::Timer>("pollTimer").Enabled; ++i) {
      std::this_thread::sleep_for(5ms);
      b.click("pollTimer");
    }
    ASSERT_FALSE(b.control<web::Timer>("pollTimer").Enabled) << "the step did not end";
  }

  // The log as shown (oldest first), without time stamps; every stamp is "HH:MM:SS ".
  static std::vector<std::string> log(testing::BrowserSession& b) {
    auto lines = b.control<web::Memo>("logMemo").Lines;
    for (auto& l : lines) {
      EXPECT_TRUE(std::regex_search(l, std::regex("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9] >>")))
          << l;
      l = l.substr(l.find(">>"));
    }
    return lines;
  }

  static std::vector<std::string> items(testing::BrowserSession& b, const char* list) {
    return b.control<web::List>(list).Items;
  }

  std::unique_ptr<testing::TestServer> server_;
  std::int64_t account_ = 0;
};

TEST_F(CloudUploadPageTest, WrongPasswordRefused) {
  auto b = admin();
  b.type("accountEdit", std::to_string(account_));
  b.type("passwordEdit", "Secret");
  b.click("verifyButton");
  EXPECT_EQ(b.message(), "注册编号不存在或密码错误,请查证！！！");
  b.type("accountEdit", std::to_string(account_ + 1));
  b.type("passwordEdit", "secret");
  b.click("verifyButton");
  EXPECT_EQ(b.message(), "注册编号不存在或密码错误,请查证！！！");
  EXPECT_FALSE(b.control<web::Button>("prepareButton").Enabled);
}

TEST_F(CloudUploadPageTest, FourStepsInOrderWithTheirLog) {
  auto b = admin();
  verify(b);
  EXPECT_EQ(log(b), (std::vector<std::string>{">>开始云端身份验证", ">>完成云端身份验证"}));
  EXPECT_EQ(b.control<web::Label>("verifyTitle").Caption, "第一步：验证云端用户[已完成]");
  EXPECT_EQ(b.control<web::Label>("verifyTitle").FontColor, "#B3927B");
  EXPECT_EQ(b.control<web::Region>("prepareStep").Css, "step step-current");
  EXPECT_FALSE(b.control<web::Button>("verifyButton").Enabled);
  EXPECT_TRUE(b.control<web::Button>("prepareButton").Enabled);
  EXPECT_FALSE(b.control<web::Button>("rosterButton").Enabled);  // the roster waits for step 2
  const std::string result = "http://cloud.test/vezav/index.dll?dwid=" + std::to_string(account_);
  EXPECT_EQ(b.control<web::Label>("studentAddressLabel").Caption,
            "学生查询成绩地址:<a href=\"" + result + "\" target=\"_blank\" rel=\"noopener\">" +
                result + "</a>");

  b.choose("gradeBox", "初一");
  b.click("prepareButton");
  EXPECT_FALSE(b.control<web::Button>("rosterButton").Enabled);  // disabled while it runs
  finishStep(b);
  ASSERT_EQ(b.message(), "");
  EXPECT_EQ(log(b), (std::vector<std::string>{
                        ">>开始云端身份验证", ">>完成云端身份验证", ">>生成本地成绩表",
                        ">>本地成绩表共12行", ">>本地成绩表排序", ">>总排序", ">>年级内排序",
                        ">>班内排序", ">>梳理循环数据", ">>梳理循环数据结束"}));
  EXPECT_EQ(b.control<web::Label>("prepareTitle").Caption, "第二步：数据准备[已完成]");
  EXPECT_EQ(b.control<web::Region>("publishStep").Css, "step step-current");
  EXPECT_FALSE(b.control<web::Button>("prepareButton").Enabled);
  EXPECT_TRUE(b.control<web::Button>("rosterButton").Enabled);
  EXPECT_TRUE(b.control<web::Button>("publishButton").Enabled);
  EXPECT_TRUE(b.control<web::ComboBox>("periodBox").Enabled);
  EXPECT_EQ(items(b, "gradeList"), (std::vector<std::string>{"初一"}));

  b.click("rosterButton");
  finishStep(b);
  EXPECT_EQ(cloud().count("stu"), 3);
  b.choose("periodBox", "30天");
  b.click("publishButton");
  finishStep(b);
  ASSERT_EQ(b.message(), "");
  const auto lines = log(b);
  EXPECT_EQ(lines.back(), ">>上报完成！");
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">>上传数据:东校区初一一班数学"), lines.end());
  EXPECT_EQ(cloud().scalar("SELECT 有效期 FROM xmb"), "30");
  // 801: 数学 语文 总分 平均分; 802: five rows; 803: three.
  EXPECT_EQ(cloud().count("cjb"), 12);
  EXPECT_EQ(b.control<web::Label>("sentCount").Caption.rfind("已发送", 0), 0u);
  EXPECT_TRUE(b.control<web::Button>("publishButton").Enabled);  // may run again
}

TEST_F(CloudUploadPageTest, LoopListsForAllAndForOne) {
  auto b = admin();
  verify(b);
  b.click("prepareButton");
  finishStep(b);
  EXPECT_EQ(items(b, "unitList"), (std::vector<std::string>{"中心校区", "东校区", "西校区"}));
  EXPECT_EQ(items(b, "gradeList"), (std::vector<std::string>{"初一", "初二"}));
  EXPECT_EQ(items(b, "classList").size(), 9u);
  EXPECT_EQ(items(b, "subjectList"),
            (std::vector<std::string>{"数学", "语文", "英语", "平均分", "总分"}));
  EXPECT_EQ(items(b, "unitIdList").size(), 3u);
  EXPECT_EQ(cloud().count("gxdw"), 3);

  auto other = admin();
  verify(other);
  other.choose("unitBox", "东校区");
  other.choose("subjectBox", "总分");
  other.click("prepareButton");
  finishStep(other);
  EXPECT_EQ(items(other, "unitList"), (std::vector<std::string>{"东校区"}));
  EXPECT_EQ(items(other, "unitIdList"), (std::vector<std::string>{items(b, "unitIdList")[1]}));
  EXPECT_EQ(items(other, "subjectList"), (std::vector<std::string>{"总分"}));
  EXPECT_EQ(cloud().count("gxdw"), 3);  // known names are found, not added again
}

TEST_F(CloudUploadPageTest, AllSubjectsPublishInListOrderThenAverageThenTotal) {
  auto b = admin();
  verify(b);
  b.choose("unitBox", "东校区");
  b.choose("gradeBox", "初一");
  b.choose("classBox", "一班");
  b.click("prepareButton");
  finishStep(b);
  b.click("publishButton");
  finishStep(b);
  std::vector<std::string> order;
  for (const auto& line : log(b)) {
    if (line.starts_with(">>上传数据:")) order.push_back(line);
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       ">>上传数据:东校区初一一班数学", ">>上传数据:东校区初一一班语文",
                       ">>上传数据:东校区初一一班英语", ">>上传数据:东校区初一一班平均分",
                       ">>上传数据:东校区初一一班总分"}));
}

TEST_F(CloudUploadPageTest, PublishedExamShowsItsPeriodAndKeepsIt) {
  cloud().db().exec(
      "INSERT INTO xmb (yhmid, 项目名称, 有效期, 上报时间) VALUES ($1, '期中', 60, "
      "'2026-01-01 00:00:00')",
      {std::to_string(account_)});
  auto b = admin();
  verify(b);
  b.click("prepareButton");
  finishStep(b);
  EXPECT_EQ(b.control<web::Label>("periodNote").Caption,
            "考试项目已存在查询有效期截至到：2026-03-02");
  EXPECT_FALSE(b.control<web::ComboBox>("periodBox").Enabled);
  b.click("publishButton");
  finishStep(b);
  EXPECT_EQ(cloud().scalar("SELECT count(*) || ':' || max(有效期) FROM xmb"), "1:60");
}

TEST_F(CloudUploadPageTest, RosterNeedsPreparationAndADigitPasswordWhenOneIsForAll) {
  auto b = admin();
  verify(b);
  // Before step 2 the roster button is off, and a click forged past it is not run.
  EXPECT_FALSE(b.control<web::Button>("rosterButton").Enabled);
  b.click("rosterButton");
  EXPECT_NE(b.message(), CloudUploadPage::kPrepareFirstMessage);
  EXPECT_EQ(cloud().count("stu"), 0);
  b.click("prepareButton");
  finishStep(b);
  b.type("defaultPasswordEdit", "12a");
  b.type("sharedPasswordBox", "on");
  b.click("rosterButton");
  EXPECT_EQ(b.message(), CloudUploadPage::kPasswordDigitsMessage);
  EXPECT_EQ(cloud().count("stu"), 0);
}

// Left unticked, the password box is not used: every new student gets a first password of
// their own, and the slips print them.
TEST_F(CloudUploadPageTest, RosterGivesFirstPasswordsThatTheSlipsPrint) {
  auto b = admin();
  verify(b);
  b.click("prepareButton");
  finishStep(b);
  b.type("defaultPasswordEdit", "12a");
  b.click("rosterButton");
  finishStep(b);
  ASSERT_EQ(b.message(), "");
  EXPECT_EQ(cloud().scalar("SELECT count(DISTINCT 密码) || '/' || count(*) FILTER (WHERE 须改密码) "
                           "FROM stu"),
            "3/3");
  const auto lines = log(b);
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">>3名新学生获得初始密码，可打印查询密码单"),
            lines.end());
  b.click("slipsButton");
  ASSERT_EQ(b.pageClass(), "PasswordSlipsPage");
  b.click("makeButton");
  const auto& classes = b.control<PasswordSlipSheet>("slips").Classes;
  ASSERT_EQ(classes.size(), 2u);  // 东校区 一班, 西校区 二班
  ASSERT_EQ(classes[0].size(), 2u);
  EXPECT_EQ(classes[0][0].address,
            "http://cloud.test/vezav/index.dll?dwid=" + std::to_string(account_));
  EXPECT_EQ(classes[0][0].password.size(), cloud::kFirstPasswordLength);
}

TEST_F(CloudUploadPageTest, SecondSessionRefusedWhileOnePublishes) {
  auto first = admin();
  auto second = admin();
  verify(first);
  verify(second);
  // Hold a name table so the first session's preparation waits inside its step.
  cloud::pg::Connection blocker(cloud().conninfo());
  cloud::pg::Transaction hold(blocker);
  blocker.exec("LOCK TABLE gxdw IN ACCESS EXCLUSIVE MODE");
  first.click("prepareButton");
  EXPECT_TRUE(first.control<web::Timer>("pollTimer").Enabled);
  second.click("prepareButton");
  EXPECT_EQ(second.message(), CloudUploadPage::kBusyMessage);
  EXPECT_TRUE(second.control<web::Button>("prepareButton").Enabled);
  EXPECT_FALSE(second.control<web::Button>("rosterButton").Enabled);
  hold.commit();
  finishStep(first);
  EXPECT_EQ(first.message(), "");
  second.click("prepareButton");
  finishStep(second);
  EXPECT_EQ(second.message(), "");
  // The first session's preparation was replaced: its upload is refused, not spoiled.
  first.click("publishButton");
  finishStep(first);
  EXPECT_EQ(first.message(), "本地成绩表已被重新准备，请重新执行第二步：数据准备。");
  EXPECT_EQ(cloud().count("cjb"), 0);
}

TEST_F(CloudUploadPageTest, LeavingThePageStopsTheStep) {
  auto b = admin();
  verify(b);
  cloud::pg::Connection blocker(cloud().conninfo());
  {
    cloud::pg::Transaction hold(blocker);
    blocker.exec("LOCK TABLE gxdw IN ACCESS EXCLUSIVE MODE");
    b.click("prepareButton");
    std::thread release([&] {
      std::this_thread::sleep_for(100ms);
      hold.commit();
    });
    b.showPage<CloudUploadPage>();  // waits for the step, which stops at its next checkpoint
    release.join();
  }
  auto again = admin();
  verify(again);
  again.click("prepareButton");
  EXPECT_EQ(again.message(), "");  // the lease went back with the old page
  finishStep(again);
}

}  // namespace
}  // namespace zeziza::pages

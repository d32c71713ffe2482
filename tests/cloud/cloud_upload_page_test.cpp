// The cloud upload page against a real service: the four steps with their log, colours and
// buttons, the loop lists, and one publishing session at a time.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "cloud/accounts.h"
#include "cloud/publish_lock.h"
#include "pages/cloud/cloud_upload.h"
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
    b.user().rights = 0;
    b.user().defaultExam = "期中";
    b.user().grades = {"初一", "初二"};
    b.showPage<CloudUploadPage>();
    return b;
  }

  void verify(testing::BrowserSession& b) {
    b.type("IWEdit1", std::to_string(account_));
    b.type("IWEdit2", "secret");
    b.click("IWButton2");
    ASSERT_EQ(b.message(), "");
  }

  // Ticks the page timer, as the browser does, until the running step has ended.
  static void finishStep(testing::BrowserSession& b) {
    for (int i = 0; i < 2000 && b.control<web::Timer>("IWTimer1").Enabled; ++i) {
      std::this_thread::sleep_for(5ms);
      b.click("IWTimer1");
    }
    ASSERT_FALSE(b.control<web::Timer>("IWTimer1").Enabled) << "the step did not end";
  }

  // The log oldest first, without time stamps.
  static std::vector<std::string> log(testing::BrowserSession& b) {
    auto lines = b.control<web::Memo>("IWMemo1").Lines;
    std::reverse(lines.begin(), lines.end());
    for (auto& l : lines) l = l.substr(l.find(">>"));
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
  b.type("IWEdit1", std::to_string(account_));
  b.type("IWEdit2", "Secret");
  b.click("IWButton2");
  EXPECT_EQ(b.message(), "注册编号不存在或密码错误,请查证！！！");
  b.type("IWEdit1", std::to_string(account_ + 1));
  b.type("IWEdit2", "secret");
  b.click("IWButton2");
  EXPECT_EQ(b.message(), "注册编号不存在或密码错误,请查证！！！");
  EXPECT_FALSE(b.control<web::Button>("IWButton3").Enabled);
}

TEST_F(CloudUploadPageTest, FourStepsInOrderWithTheirLog) {
  auto b = admin();
  verify(b);
  EXPECT_EQ(log(b), (std::vector<std::string>{">>开始云端身份验证", ">>完成云端身份验证"}));
  EXPECT_EQ(b.control<web::Label>("IWLabel12").Caption, "第一步：验证云端用户[已完成]");
  EXPECT_EQ(b.control<web::Label>("IWLabel12").FontColor, "#B3927B");
  EXPECT_EQ(b.control<web::Region>("IWRegion6").Css, "step step-current");
  EXPECT_FALSE(b.control<web::Button>("IWButton2").Enabled);
  EXPECT_TRUE(b.control<web::Button>("IWButton3").Enabled);
  EXPECT_FALSE(b.control<web::Button>("IWButton7").Enabled);  // the roster waits for step 2
  const std::string result = "http://cloud.test/vezav/index.dll?dwid=" + std::to_string(account_);
  EXPECT_EQ(b.control<web::Label>("stuweb").Caption, "学生查询成绩地址:<a href=\"" + result +
                                                         "\" target=\"_blank\" rel=\"noopener\">" +
                                                         result + "</a>");

  b.choose("IWComboBox4", "初一");
  b.click("IWButton3");
  EXPECT_FALSE(b.control<web::Button>("IWButton7").Enabled);  // disabled while it runs
  finishStep(b);
  ASSERT_EQ(b.message(), "");
  EXPECT_EQ(log(b), (std::vector<std::string>{
                        ">>开始云端身份验证", ">>完成云端身份验证", ">>生成本地成绩表",
                        ">>本地成绩表共12行", ">>本地成绩表排序", ">>总排序", ">>年级内排序",
                        ">>班内排序", ">>梳理循环数据", ">>梳理循环数据结束"}));
  EXPECT_EQ(b.control<web::Label>("IWLabel8").Caption, "第二步：数据准备[已完成]");
  EXPECT_EQ(b.control<web::Region>("IWRegion8").Css, "step step-current");
  EXPECT_FALSE(b.control<web::Button>("IWButton3").Enabled);
  EXPECT_TRUE(b.control<web::Button>("IWButton7").Enabled);
  EXPECT_TRUE(b.control<web::Button>("IWButton1").Enabled);
  EXPECT_TRUE(b.control<web::ComboBox>("IWComboBox2").Enabled);
  EXPECT_EQ(items(b, "njlist"), (std::vector<std::string>{"初一"}));

  b.click("IWButton7");
  finishStep(b);
  EXPECT_EQ(cloud().count("stu"), 3);
  b.choose("IWComboBox2", "30天");
  b.click("IWButton1");
  finishStep(b);
  ASSERT_EQ(b.message(), "");
  const auto lines = log(b);
  EXPECT_EQ(lines.back(), ">>上报完成！");
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">>上传数据:东校区初一一班数学"), lines.end());
  EXPECT_EQ(cloud().scalar("SELECT 有效期 FROM xmb"), "30");
  // 801: 数学 语文 总分 平均分; 802: five rows; 803: three.
  EXPECT_EQ(cloud().count("cjb"), 12);
  EXPECT_EQ(b.control<web::Label>("sentCount").Caption.rfind("已发送", 0), 0u);
  EXPECT_TRUE(b.control<web::Button>("IWButton1").Enabled);  // may run again
}

TEST_F(CloudUploadPageTest, LoopListsForAllAndForOne) {
  auto b = admin();
  verify(b);
  b.click("IWButton3");
  finishStep(b);
  EXPECT_EQ(items(b, "dwlist"), (std::vector<std::string>{"中心校区", "东校区", "西校区"}));
  EXPECT_EQ(items(b, "njlist"), (std::vector<std::string>{"初一", "初二"}));
  EXPECT_EQ(items(b, "bclist").size(), 9u);
  EXPECT_EQ(items(b, "kmlist"),
            (std::vector<std::string>{"数学", "语文", "英语", "平均分", "总分"}));
  EXPECT_EQ(items(b, "dwidlist").size(), 3u);
  EXPECT_EQ(cloud().count("gxdw"), 3);

  auto other = admin();
  verify(other);
  other.choose("IWComboBox3", "东校区");
  other.choose("IWComboBox1", "总分");
  other.click("IWButton3");
  finishStep(other);
  EXPECT_EQ(items(other, "dwlist"), (std::vector<std::string>{"东校区"}));
  EXPECT_EQ(items(other, "dwidlist"), (std::vector<std::string>{items(b, "dwidlist")[1]}));
  EXPECT_EQ(items(other, "kmlist"), (std::vector<std::string>{"总分"}));
  EXPECT_EQ(cloud().count("gxdw"), 3);  // known names are found, not added again
}

TEST_F(CloudUploadPageTest, AllSubjectsPublishInListOrderThenAverageThenTotal) {
  auto b = admin();
  verify(b);
  b.choose("IWComboBox3", "东校区");
  b.choose("IWComboBox4", "初一");
  b.choose("IWComboBox5", "一班");
  b.click("IWButton3");
  finishStep(b);
  b.click("IWButton1");
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
  b.click("IWButton3");
  finishStep(b);
  EXPECT_EQ(b.control<web::Label>("IWLabel29").Caption,
            "考试项目已存在查询有效期截至到：2026-03-02");
  EXPECT_FALSE(b.control<web::ComboBox>("IWComboBox2").Enabled);
  b.click("IWButton1");
  finishStep(b);
  EXPECT_EQ(cloud().scalar("SELECT count(*) || ':' || max(有效期) FROM xmb"), "1:60");
}

TEST_F(CloudUploadPageTest, RosterNeedsPreparationAndADigitPassword) {
  auto b = admin();
  verify(b);
  // Before step 2 the roster button is off, and a click forged past it is not run.
  EXPECT_FALSE(b.control<web::Button>("IWButton7").Enabled);
  b.click("IWButton7");
  EXPECT_NE(b.message(), CloudUploadPage::kPrepareFirstMessage);
  EXPECT_EQ(cloud().count("stu"), 0);
  b.click("IWButton3");
  finishStep(b);
  b.type("IWEdit9", "12a");
  b.click("IWButton7");
  EXPECT_EQ(b.message(), CloudUploadPage::kPasswordDigitsMessage);
  EXPECT_EQ(cloud().count("stu"), 0);
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
  first.click("IWButton3");
  EXPECT_TRUE(first.control<web::Timer>("IWTimer1").Enabled);
  second.click("IWButton3");
  EXPECT_EQ(second.message(), CloudUploadPage::kBusyMessage);
  EXPECT_TRUE(second.control<web::Button>("IWButton3").Enabled);
  EXPECT_FALSE(second.control<web::Button>("IWButton7").Enabled);
  hold.commit();
  finishStep(first);
  EXPECT_EQ(first.message(), "");
  second.click("IWButton3");
  finishStep(second);
  EXPECT_EQ(second.message(), "");
  // The first session's preparation was replaced: its upload is refused, not spoiled.
  first.click("IWButton1");
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
    b.click("IWButton3");
    std::thread release([&] {
      std::this_thread::sleep_for(100ms);
      hold.commit();
    });
    b.showPage<CloudUploadPage>();  // waits for the step, which stops at its next checkpoint
    release.join();
  }
  auto again = admin();
  verify(again);
  again.click("IWButton3");
  EXPECT_EQ(again.message(), "");  // the lease went back with the old page
  finishStep(again);
}

}  // namespace
}  // namespace zeziza::pages

// The results site against a real service: registration, students' and the school's sign-in
// and what each may see, password change, throttling, and two instances sharing one cookie.
#include "results/results_site.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "auth/random_password.h"
#include "cloud/accounts.h"
#include "cloud/first_passwords.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/cloud/results_browser.h"
#include "tests/cloud/results_school.h"

namespace zeziza::results {
namespace {

using testing::headerOf;
using testing::ResultsBrowser;

bool contains(const web::HttpResponse& response, const std::string& text) {
  return response.body.find(text) != std::string::npos;
}

CookieKey randomKey() {
  CookieKey key;
  crypto_auth_keygen(key.data());
  return key;
}

// One instance of the site: its own pool and site object over the test schema.
struct Instance {
  Instance(const std::string& conninfo, const CookieKey& key)
      : pool(conninfo, 2), site(pool, pool, key, settings()) {}
  static SiteSettings settings() {
    SiteSettings s;
    s.trustedProxy = "127.0.0.1";
    s.hashSlots = 2;
    s.checkBudget.burst = 1000;  // the account budget has tests of its own
    return s;
  }
  ConnectionPool pool;
  ResultsSite site;
};

class ResultsSiteTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    key_ = randomKey();
    site_ = std::make_unique<Instance>(cloud().conninfo(), key_);
    school_ = std::make_unique<testing::PublishedSchool>(cloud().db(), "第一中学", "schoolpw");
    school_->addStudent("801", "张三", "pw801pw", "东校区", "一班");
    school_->addStudent("802", "李四", "pw802pw", "东校区", "一班");
    school_->addStudent("803", "王五", "pw803pw", "东校区", "二班");
    current_ = school_->addExam("期中考试", 1, 30);
    expired_ = school_->addExam("开学考试", 40, 15);
    for (const auto& [student, maths, chinese, total] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"801", "91.5", "80", "171.5"},
             {"802", "63.25", "77", "140.25"},
             {"803", "72", "69.5", "141.5"}}) {
      school_->addScore(current_, student, "数学", maths);
      school_->addScore(current_, student, "语文", chinese);
      school_->addScore(current_, student, "总分", total);
    }
    school_->addScore(current_, "801", "平均分", "85.75");
    school_->addScore(expired_, "801", "数学", "44.5");
    school_->addStatistics(current_, "数学", "", "", "80.11");
    school_->addStatistics(current_, "数学", "东校区", "", "80.12");
    school_->addStatistics(current_, "数学", "东校区", "一班", "84.25");
    school_->addStatistics(current_, "数学", "东校区", "二班", "75.50");
    school_->addRanking(current_, "数学", "", "",
                        "1:[801]张三  91.5\r\n2:[803]王五  72\r\n3:[802]李四  63.25\r\n");
    // Another school whose student has the same number.
    other_ = std::make_unique<testing::PublishedSchool>(cloud().db(), "第二中学", "otherpw");
    other_->addStudent("801", "赵六", "pw801pw", "北校区", "三班");
    const auto exam = other_->addExam("月考", 1, 30);
    other_->addScore(exam, "801", "数学", "55.5");
  }

  std::string resultPath() const { return "/vezav/index.dll"; }
  std::string school() const { return std::to_string(school_->account()); }

  web::HttpResponse signInStudent(ResultsBrowser& b, const std::string& number,
                                  const std::string& password) {
    return b.post(resultPath(),
                  {{"dwid", school()}, {"op", "student"}, {"kh", number}, {"mm", password}});
  }
  web::HttpResponse resultPage(ResultsBrowser& b, const ResultsBrowser::Fields& more = {}) {
    ResultsBrowser::Fields query = {{"dwid", school()}};
    query.insert(query.end(), more.begin(), more.end());
    return b.get(resultPath(), query);
  }

  CookieKey key_{};
  std::unique_ptr<Instance> site_;
  std::unique_ptr<testing::PublishedSchool> school_, other_;
  std::int64_t current_ = 0, expired_ = 0;
};

TEST_F(ResultsSiteTest, RegistrationRefusesBadInputAndCreatesAnAccount) {
  struct Case {
    std::string name, password, again, message;
  };
  const std::string hidden = "学校名称不能含有不可见字符或文字方向控制字符！";
  const std::vector<Case> refusals = {
      {"  ", "secret12", "secret12", "学校名称不能为空！"},
      {"实验小学", "", "", "密码不能为空！"},
      {"实验小学", "abcdefg", "abcdefg", "密码至少需要8个字符！"},
      {"实验小学", "七个汉字的密码", "七个汉字的密码", "密码至少需要8个字符！"},
      {"实验小学", "secret12", "secret13", "两次输入的密码不一致！"},
      {std::string(200, 'x'), "secret12", "secret12", "学校名称过长或含有无效字符！"},
      {"实验\xff小学", "secret12", "secret12", "学校名称过长或含有无效字符！"},
      {"实验\u200b小学", "secret12", "secret12", hidden},        // zero-width space
      {"实验\u200d小学", "secret12", "secret12", hidden},        // zero-width joiner
      {"实验\u00ad小学", "secret12", "secret12", hidden},        // soft hyphen
      {"\ufeff实验小学", "secret12", "secret12", hidden},        // byte order mark
      {"实验\u2060小学", "secret12", "secret12", hidden},        // word joiner
      {"\u202e学小验实", "secret12", "secret12", hidden},        // right-to-left override
      {"\u202d实验小学", "secret12", "secret12", hidden},        // left-to-right override
      {"实验\u2067小学\u2069", "secret12", "secret12", hidden},  // right-to-left isolate
      {"实验\u200f小学", "secret12", "secret12", hidden},        // right-to-left mark
      {"实验\u3164小学", "secret12", "secret12", hidden},        // Hangul filler
      {"实验\t小学", "secret12", "secret12", hidden},
      {"　", "secret12", "secret12", "学校名称不能为空！"},
      // A Cyrillic С among Latin letters.
      {"\u0421ity School", "secret12", "secret12",
       "学校名称不能混用不同文字的字母（如拉丁字母与西里尔字母）！"},
      // Blanks of every kind are no password.
      {"实验小学", "        ", "        ", "密码至少需要8个字符！"},
      {"实验小学", "\t\t\t\t\t\t\t\t", "\t\t\t\t\t\t\t\t", "密码至少需要8个字符！"},
      {"实验小学", "\r\n\r\n\r\n\r\n", "\r\n\r\n\r\n\r\n", "密码至少需要8个字符！"},
      {"实验小学", "a b c d e f g", "a b c d e f g", "密码至少需要8个字符！"},
  };
  ResultsBrowser b(site_->site);
  const auto before = cloud().count("yhm");
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.message + " " + c.name);
    const auto page =
        b.post("/vezav/reg", {{"name", c.name}, {"password", c.password}, {"password2", c.again}});
    EXPECT_TRUE(contains(page, c.message)) << page.body;
  }
  EXPECT_EQ(cloud().count("yhm"), before);

  const auto page = b.post("/vezav/reg", {{"name", "<b>实验</b>小学"},
                                          {"password", "八个汉字的好密码"},
                                          {"password2", "八个汉字的好密码"}});
  EXPECT_TRUE(contains(page, "注册成功！")) << page.body;
  const std::string number = cloud().scalar("SELECT max(id) FROM yhm");
  EXPECT_TRUE(contains(page, "<strong id=\"regno\">" + number + "</strong>")) << page.body;
  EXPECT_TRUE(contains(page, "<strong id=\"dbrole\">" +
                                 cloud().scalar("SELECT db_role FROM yhm WHERE id = " + number) +
                                 "</strong>"))
      << page.body;
  EXPECT_TRUE(contains(page, ">http://results.test/vezav/index.dll?dwid=" + number + "</a>"));
  EXPECT_EQ(cloud().scalar("SELECT 单位名称 FROM yhm WHERE id = " + number), "<b>实验</b>小学");
  EXPECT_TRUE(cloud::checkAccount(cloud().db(), std::stoll(number), "八个汉字的好密码"));
  // The new account's result page greets it by name, escaped.
  const auto result = b.get(resultPath(), {{"dwid", number}});
  EXPECT_TRUE(contains(result, "&lt;b&gt;实验&lt;/b&gt;小学 成绩查询")) << result.body;
  EXPECT_FALSE(contains(result, "<b>实验"));

  // The same name again, also in compatibility forms and look-alikes that read the same, is
  // refused: a wide blank after it, blanks inside, a radical that looks like 西.
  ResultsBrowser first(site_->site, "203.0.113.4");
  EXPECT_TRUE(contains(
      first.post("/vezav/reg",
                 {{"name", "西安中学"}, {"password", "secret12"}, {"password2", "secret12"}}),
      "注册成功！"));
  for (const std::string name :
       {"<b>实验</b>小学", "＜ｂ＞实验＜／ｂ＞小学", "第一中学", "第二中学", "第一中学\u3000",
        "\u3000第一  中学", "\u2ec4安中学", "西安 中学"}) {
    SCOPED_TRACE(name);
    ResultsBrowser other(site_->site, "203.0.113.5");
    const auto again = other.post(
        "/vezav/reg", {{"name", name}, {"password", "secret12"}, {"password2", "secret12"}});
    EXPECT_TRUE(contains(again, "该学校名称已经注册过了")) << again.body;
  }
  EXPECT_EQ(cloud().count("yhm"), before + 2);
}

TEST_F(ResultsSiteTest, RegistrationsFromOneAddressAreLimited) {
  ResultsBrowser b(site_->site, "192.0.2.10");
  int registered = 0;
  auto registerOnce = [&](ResultsBrowser& browser) {
    const std::string name = "某校" + std::to_string(++registered);
    return browser.post("/vezav/reg",
                        {{"name", name}, {"password", "secret12"}, {"password2", "secret12"}});
  };
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(contains(registerOnce(b), "注册成功！")) << i;
  const auto refused = registerOnce(b);
  EXPECT_EQ(refused.status, 429);
  EXPECT_TRUE(contains(refused, "注册过于频繁")) << refused.body;
  ResultsBrowser elsewhere(site_->site, "192.0.2.11");
  EXPECT_TRUE(contains(registerOnce(elsewhere), "注册成功！"));
}

TEST_F(ResultsSiteTest, StudentSignInRightAndWrong) {
  struct Case {
    std::string number, password;
    bool signedIn;
  };
  const std::vector<Case> cases = {
      {"801", "pw801pw", true},  {" 801 ", "pw801pw", true}, {"801", "pw802pw", false},
      {"801", "PW801PW", false}, {"804", "pw801pw", false},  {"80a", "pw801pw", false},
      {"801", "", false},        {"", "pw801pw", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number + "/" + c.password);
    ResultsBrowser b(site_->site);
    const auto answer = signInStudent(b, c.number, c.password);
    if (c.signedIn) {
      EXPECT_EQ(answer.status, 303);
      const std::string set = headerOf(answer, "Set-Cookie");
      EXPECT_NE(set.find("HttpOnly"), std::string::npos) << set;
      EXPECT_NE(set.find("SameSite=Lax"), std::string::npos) << set;
      EXPECT_EQ(set.find("Secure"), std::string::npos) << set;
      EXPECT_TRUE(contains(resultPage(b), "张三（考号 801）"));
    } else {
      EXPECT_EQ(answer.status, 200);
      EXPECT_TRUE(b.cookie.empty());
      EXPECT_TRUE(contains(answer, c.number.empty() || c.password.empty() ? "请输入考号和密码！"
                                                                          : "考号或密码错误！"))
          << answer.body;
      EXPECT_TRUE(contains(resultPage(b), "学生登录"));
    }
  }
}

TEST_F(ResultsSiteTest, RepeatedFailuresThrottleThatStudentFromThatAddressOnEveryInstance) {
  Instance second(cloud().conninfo(), key_);
  ResultsBrowser b(site_->site, "203.0.113.9");
  for (int i = 0; i < 5; ++i) {
    b.useSite(i % 2 == 0 ? site_->site : second.site);
    EXPECT_TRUE(contains(signInStudent(b, "801", "guess" + std::to_string(i)), "考号或密码错误！"));
  }
  // Now even the right password waits, on either instance.
  for (auto* site : {&site_->site, &second.site}) {
    b.useSite(*site);
    const auto refused = signInStudent(b, "801", "pw801pw");
    EXPECT_EQ(refused.status, 429);
    EXPECT_TRUE(contains(refused, "登录失败次数过多")) << refused.body;
    EXPECT_TRUE(b.cookie.empty());
  }
  // Another student, or the same one from another address, is not held up.
  EXPECT_EQ(signInStudent(b, "802", "pw802pw").status, 303);
  ResultsBrowser elsewhere(site_->site, "203.0.113.10");
  EXPECT_EQ(signInStudent(elsewhere, "801", "pw801pw").status, 303);
}

TEST_F(ResultsSiteTest, ThrottleCountsTheForwardedAddressOnlyFromTheTrustedProxy) {
  // Behind the trusted proxy each client has its own count; a client that is not the proxy
  // cannot escape its count with a forged header.
  ResultsBrowser viaProxy(site_->site, "127.0.0.1");
  viaProxy.extraHeaders = {{"x-forwarded-for", "10.0.0.1, 203.0.113.20"}};
  ResultsBrowser direct(site_->site, "203.0.113.30");
  for (int i = 0; i < 5; ++i) {
    signInStudent(viaProxy, "801", "wrong");
    direct.extraHeaders = {{"x-forwarded-for", "192.0.2." + std::to_string(i)}};
    signInStudent(direct, "801", "wrong");
  }
  EXPECT_EQ(signInStudent(viaProxy, "801", "pw801pw").status, 429);
  EXPECT_EQ(signInStudent(direct, "801", "pw801pw").status, 429);
  ResultsBrowser otherClient(site_->site, "127.0.0.1");
  otherClient.extraHeaders = {{"x-forwarded-for", "203.0.113.21"}, {"x-forwarded-proto", "https"}};
  const auto answer = signInStudent(otherClient, "801", "pw801pw");
  EXPECT_EQ(answer.status, 303);
  EXPECT_NE(headerOf(answer, "Set-Cookie").find("; Secure"), std::string::npos);
}

TEST_F(ResultsSiteTest, StudentSeesOnlyOwnResultsOfCurrentExams) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  for (const auto& query : std::vector<ResultsBrowser::Fields>{{},
                                                               {{"xm", std::to_string(current_)}},
                                                               {{"xm", std::to_string(expired_)}},
                                                               {{"xm", std::to_string(current_)},
                                                                {"nj", "1"},
                                                                {"dw", "-1"},
                                                                {"bc", "-1"},
                                                                {"km", "1"}}}) {
    const auto page = resultPage(b, query);
    SCOPED_TRACE(page.body);
    EXPECT_EQ(page.status, 200);
    for (const char* own :
         {"期中考试", "91.5", "171.5", "85.75", "平均分：", "80.11", "80.12", "84.25"}) {
      EXPECT_TRUE(contains(page, own)) << own;
    }
    // Each rank is named by what it covers (the first is counted over the whole grade).
    EXPECT_TRUE(contains(page, "<th>年级名次</th><th>校内名次</th><th>班级名次</th>"));
    // Rates are percentages; rows published before the basis was kept name none.
    EXPECT_TRUE(contains(page, "<th>良好率</th><th>及格率</th>"));
    EXPECT_TRUE(contains(page, "data-label=\"及格率\">60%<"));
    // Not the expired exam, not the other class's statistics, not other students or schools.
    for (const char* foreign : {"开学考试", "44.5", "75.50", "李四", "王五", "63.25", "77", "69.5",
                                "赵六", "55.5", "月考", "[801]", "名次表"}) {
      EXPECT_FALSE(contains(page, foreign)) << foreign;
    }
  }
}

// A browser that holds the page is told so until a publication, a new password or the exam's
// end changes what the page shows.
TEST_F(ResultsSiteTest, AHeldResultPageIsAnsweredNotModifiedUntilItsRowsChange) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  const auto first = resultPage(b);
  ASSERT_EQ(first.status, 200);
  const std::string tag = headerOf(first, "ETag");
  ASSERT_FALSE(tag.empty());
  EXPECT_EQ(headerOf(first, "Cache-Control"), "private, no-cache");

  b.extraHeaders = {{"if-none-match", tag}};
  const auto held = resultPage(b);
  EXPECT_EQ(held.status, 304);
  EXPECT_TRUE(held.body.empty());
  EXPECT_EQ(headerOf(held, "ETag"), tag);
  b.extraHeaders = {{"if-none-match", "W/\"other\", " + tag}};
  EXPECT_EQ(resultPage(b).status, 304);

  struct Change {
    std::string what, sql;
  };
  const std::vector<Change> changes = {
      {"a score published again", "UPDATE cjb SET 成绩 = 92 WHERE stuid = '801' AND 成绩 = 91.5"},
      {"the class's statistics", "UPDATE tjb SET 平均分 = 84.5 WHERE 平均分 = 84.25"},
      {"a new exam",
       "INSERT INTO xmb (yhmid, 项目名称, 有效期) SELECT yhmid, '月考二', 30 FROM xmb "
       "WHERE id = " +
           std::to_string(current_)},
  };
  std::string held_tag = tag;
  for (const auto& change : changes) {
    SCOPED_TRACE(change.what);
    cloud().db().exec(change.sql);
    b.extraHeaders = {{"if-none-match", held_tag}};
    const auto page = resultPage(b, {{"xm", std::to_string(current_)}});
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(headerOf(page, "ETag"), held_tag);
    held_tag = headerOf(page, "ETag");
  }
  b.extraHeaders.clear();
  EXPECT_TRUE(contains(resultPage(b, {{"xm", std::to_string(current_)}}),
                       "<td data-label=\"成绩\">92</td>"));
  // Rows unchanged since: held again.
  b.extraHeaders = {{"if-none-match", held_tag}};
  EXPECT_EQ(resultPage(b, {{"xm", std::to_string(current_)}}).status, 304);
  // Another student's page never matches this one's tag.
  ResultsBrowser other(site_->site);
  ASSERT_EQ(signInStudent(other, "802", "pw802pw").status, 303);
  other.extraHeaders = {{"if-none-match", held_tag}};
  EXPECT_EQ(resultPage(other, {{"xm", std::to_string(current_)}}).status, 200);
  // A new password ends the sign-in whatever the browser holds.
  cloud().db().exec("UPDATE stu SET 密码 = $1 WHERE stuid = '801'",
                    {cloud::hashPassword("new801pw")});
  b.extraHeaders = {{"if-none-match", held_tag}};
  const auto after = resultPage(b, {{"xm", std::to_string(current_)}});
  EXPECT_NE(after.status, 304);
  EXPECT_TRUE(contains(after, "name=\"kh\""));
}

TEST_F(ResultsSiteTest, ExpiredExamsAreHiddenFromStudents) {
  cloud().db().exec(
      "UPDATE xmb SET 上报时间 = localtimestamp(0) - interval '31 days' WHERE id = $1",
      {std::to_string(current_)});
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  const auto page = resultPage(b, {{"xm", std::to_string(current_)}});
  EXPECT_TRUE(contains(page, "目前没有可查询的考试成绩。")) << page.body;
  EXPECT_FALSE(contains(page, "91.5"));
  EXPECT_FALSE(contains(page, "期中考试"));
}

TEST_F(ResultsSiteTest, ACookieOfOneSchoolOpensNothingAtAnother) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  const auto page = b.get(resultPath(), {{"dwid", std::to_string(other_->account())}});
  EXPECT_TRUE(contains(page, "学生登录"));
  EXPECT_FALSE(contains(page, "55.5"));
  EXPECT_FALSE(contains(page, "张三"));
}

TEST_F(ResultsSiteTest, ForgedExpiredOrForeignCookiesAreNotSignIns) {
  const auto now = std::chrono::system_clock::now();
  const auto inAnHour =
      std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count() + 3600;
  const auto stamp = passwordStamp(
      cloud().scalar("SELECT 密码 FROM stu WHERE stuid = '801' AND yhmid = " + school()));
  const SignIn good{SignIn::Role::Student, school_->account(), "801", stamp, inAnHour};
  SignIn expired = good;
  expired.expires = inAnHour - 7200;
  SignIn promoted = good;
  promoted.role = SignIn::Role::School;
  SignIn stale = good;
  stale.stamp = passwordStamp("an older hash");
  SignIn ahead = good;  // an epoch the student never had
  ahead.epoch = 1;
  struct Case {
    std::string what, cookie;
    bool signedIn;
  };
  const std::string sealed = sealSignIn(good, key_);
  const std::vector<Case> cases = {
      {"good", sealed, true},
      {"tampered", sealed.substr(0, 5) + (sealed[5] == 'A' ? "B" : "A") + sealed.substr(6), false},
      {"other key", sealSignIn(good, randomKey()), false},
      {"expired", sealSignIn(expired, key_), false},
      {"school role with a student's stamp", sealSignIn(promoted, key_), false},
      {"older password", sealSignIn(stale, key_), false},
      {"another epoch", sealSignIn(ahead, key_), false},
      {"garbage", "abc.def", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ResultsBrowser b(site_->site);
    b.cookie = "zr_signin=" + c.cookie;
    const auto page = resultPage(b);
    EXPECT_EQ(contains(page, "91.5"), c.signedIn);
    EXPECT_EQ(contains(page, "学生登录"), !c.signedIn);
  }
}

TEST_F(ResultsSiteTest, SchoolSeesEveryScopeAndTheRankingTexts) {
  ResultsBrowser b(site_->site);
  const auto wrong = b.post(resultPath(), {{"dwid", school()},
                                           {"op", "school"},
                                           {"bh", std::to_string(other_->account())},
                                           {"smm", "otherpw"}});
  EXPECT_TRUE(contains(wrong, "注册编号或密码错误！"));
  EXPECT_TRUE(
      contains(b.post(resultPath(),
                      {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "wrongpw"}}),
               "注册编号或密码错误！"));
  ASSERT_EQ(b.post(resultPath(),
                   {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "schoolpw"}})
                .status,
            303);
  const auto page = resultPage(b);
  SCOPED_TRACE(page.body);
  for (const char* shown : {"学校管理员", "期中考试", "开学考试", "已过期", "80.11", "80.12",
                            "84.25", "75.50", "初一 数学", "名次表"}) {
    EXPECT_TRUE(contains(page, shown)) << shown;
  }
  EXPECT_FALSE(contains(page, "赵六"));
  const auto maths = std::to_string(school_->id("gxkm", "科目", "数学"));
  const auto grade = std::to_string(school_->id("gxnj", "年级", "初一"));
  const auto ranking = resultPage(
      b,
      {{"xm", std::to_string(current_)}, {"nj", grade}, {"dw", "-1"}, {"bc", "-1"}, {"km", maths}});
  EXPECT_TRUE(contains(ranking, "1:[801]张三  91.5\r\n2:[803]王五  72")) << ranking.body;
  // The other school's account cannot read this school's ranking through its own number.
  ResultsBrowser otherSchool(site_->site);
  otherSchool.post(resultPath(), {{"dwid", std::to_string(other_->account())},
                                  {"op", "school"},
                                  {"bh", std::to_string(other_->account())},
                                  {"smm", "otherpw"}});
  const auto foreign = otherSchool.get(resultPath(), {{"dwid", std::to_string(other_->account())},
                                                      {"xm", std::to_string(current_)},
                                                      {"nj", grade},
                                                      {"dw", "-1"},
                                                      {"bc", "-1"},
                                                      {"km", maths}});
  EXPECT_TRUE(contains(foreign, "月考")) << foreign.body;
  EXPECT_FALSE(contains(foreign, "张三"));
  EXPECT_FALSE(contains(foreign, "80.11"));
}

TEST_F(ResultsSiteTest, PasswordChange) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  const std::string oldCookie = b.cookie;
  struct Case {
    std::string old, fresh, again, message;
  };
  const std::vector<Case> refusals = {
      {"wrongpw", "newpass1", "newpass1", "原密码错误！"},
      {"pw801pw", "newpass1", "newpass2", "两次输入的密码不一致！"},
      {"pw801pw", "short", "short", "密码至少需要6个字符！"},
      {"pw801pw", "pw801pw", "pw801pw", "新密码不能与原密码相同！"},
  };
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.message);
    const auto page = b.post(resultPath(), {{"dwid", school()},
                                            {"op", "password"},
                                            {"old", c.old},
                                            {"new", c.fresh},
                                            {"new2", c.again}});
    EXPECT_TRUE(contains(page, c.message)) << page.body;
    EXPECT_TRUE(contains(page, "91.5"));  // still signed in
  }
  const auto changed = b.post(resultPath(), {{"dwid", school()},
                                             {"op", "password"},
                                             {"old", "pw801pw"},
                                             {"new", "newpass1"},
                                             {"new2", "newpass1"}});
  EXPECT_EQ(changed.status, 303);
  EXPECT_EQ(headerOf(changed, "Location"), resultPath() + "?dwid=" + school() + "&msg=pw");
  EXPECT_TRUE(contains(resultPage(b, {{"msg", "pw"}}), "密码修改成功！"));
  // The sign-in made with the old password has ended.
  ResultsBrowser stolen(site_->site);
  stolen.cookie = oldCookie;
  EXPECT_TRUE(contains(resultPage(stolen), "学生登录"));
  ResultsBrowser again(site_->site, "198.51.100.99");
  EXPECT_TRUE(contains(signInStudent(again, "801", "pw801pw"), "考号或密码错误！"));
  EXPECT_EQ(signInStudent(again, "801", "newpass1").status, 303);
  // Others keep theirs.
  EXPECT_EQ(signInStudent(again, "802", "pw802pw").status, 303);
}

// A student given a first password by the school sees no result until they have chosen a
// password of their own.
TEST_F(ResultsSiteTest, AFirstPasswordIsReplacedBeforeAnyResultIsShown) {
  cloud().db().exec("UPDATE stu SET 须改密码 = true WHERE stuid = '801'");
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  for (const auto& query :
       std::vector<ResultsBrowser::Fields>{{}, {{"xm", std::to_string(current_)}}}) {
    const auto page = resultPage(b, query);
    EXPECT_TRUE(contains(page, "设置自己的密码")) << page.body;
    EXPECT_FALSE(contains(page, "91.5"));
    EXPECT_EQ(headerOf(page, "Cache-Control"), "no-store");
  }
  auto choose = [&](const std::string& fresh, const std::string& again) {
    return b.post(resultPath(),
                  {{"dwid", school()}, {"op", "firstpw"}, {"new", fresh}, {"new2", again}});
  };
  struct Case {
    std::string fresh, again, message;
  };
  const std::vector<Case> refusals = {
      {"short", "short", "密码至少需要6个字符！"},
      {"newpass1", "newpass2", "两次输入的密码不一致！"},
      {"pw801pw", "pw801pw", "新密码不能与初始密码相同！"},
  };
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.message);
    const auto page = choose(c.fresh, c.again);
    EXPECT_TRUE(contains(page, c.message)) << page.body;
    EXPECT_TRUE(contains(page, "设置自己的密码"));
    EXPECT_FALSE(contains(page, "91.5"));
  }
  const auto chosen = choose("mine2024", "mine2024");
  EXPECT_EQ(chosen.status, 303);
  EXPECT_EQ(headerOf(chosen, "Location"), resultPath() + "?dwid=" + school() + "&msg=pw");
  const auto page = resultPage(b, {{"msg", "pw"}});
  EXPECT_TRUE(contains(page, "91.5")) << page.body;
  EXPECT_TRUE(contains(page, "密码修改成功！"));
  EXPECT_EQ(
      cloud().scalar("SELECT 须改密码 FROM stu WHERE yhmid = " + school() + " AND stuid = '801'"),
      "f");
  // Once chosen, the step is over: another post changes nothing.
  const auto hash =
      cloud().scalar("SELECT 密码 FROM stu WHERE yhmid = " + school() + " AND stuid = '801'");
  EXPECT_EQ(choose("another1", "another1").status, 303);
  EXPECT_EQ(cloud().scalar("SELECT 密码 FROM stu WHERE yhmid = " + school() + " AND stuid = '801'"),
            hash);
  ResultsBrowser again(site_->site, "198.51.100.99");
  EXPECT_TRUE(contains(signInStudent(again, "801", "pw801pw"), "考号或密码错误！"));
  ASSERT_EQ(signInStudent(again, "801", "mine2024").status, 303);
  EXPECT_TRUE(contains(resultPage(again), "91.5"));
}

// The ordinary password change cannot skip choosing a password of one's own by keeping the
// first one.
TEST_F(ResultsSiteTest, AFirstPasswordIsNotKeptThroughThePasswordChange) {
  cloud().db().exec("UPDATE stu SET 须改密码 = true WHERE stuid = '801'");
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  const auto page = b.post(resultPath(), {{"dwid", school()},
                                          {"op", "password"},
                                          {"old", "pw801pw"},
                                          {"new", "pw801pw"},
                                          {"new2", "pw801pw"}});
  EXPECT_TRUE(contains(page, "新密码不能与初始密码相同！")) << page.body;
  EXPECT_FALSE(contains(page, "91.5"));
  EXPECT_EQ(
      cloud().scalar("SELECT 须改密码 FROM stu WHERE yhmid = " + school() + " AND stuid = '801'"),
      "t");
  EXPECT_TRUE(contains(resultPage(b), "设置自己的密码"));
}

TEST_F(ResultsSiteTest, TheSchoolResetsAStudentsPasswordShownOnce) {
  ResultsBrowser student(site_->site);
  ASSERT_EQ(signInStudent(student, "801", "pw801pw").status, 303);
  ResultsBrowser b(site_->site, "198.51.100.20");
  ASSERT_EQ(b.post(resultPath(),
                   {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "schoolpw"}})
                .status,
            303);
  EXPECT_TRUE(contains(resultPage(b), "重置学生密码"));
  auto reset = [&](ResultsBrowser& browser, const std::string& number) {
    return browser.post(resultPath(), {{"dwid", school()}, {"op", "reset"}, {"kh", number}});
  };
  const auto hashes = [&] {
    return cloud().scalar("SELECT string_agg(stuid || 密码, ',' ORDER BY stuid) FROM stu");
  };
  const auto before = hashes();
  for (const auto& [number, message] :
       std::vector<std::pair<std::string, std::string>>{{"899", "没有考号为899的学生！"},
                                                        {"abc", "没有考号为abc的学生！"},
                                                        {" ", "请输入考号！"}}) {
    SCOPED_TRACE(number);
    const auto page = reset(b, number);
    EXPECT_TRUE(contains(page, message)) << page.body;
  }
  // Only the school's own sign-in resets: a student's or none is sent back to the page.
  EXPECT_EQ(reset(student, "802").status, 303);
  ResultsBrowser nobody(site_->site);
  EXPECT_EQ(reset(nobody, "802").status, 303);
  EXPECT_EQ(hashes(), before);

  const auto page = reset(b, "801");
  SCOPED_TRACE(page.body);
  EXPECT_TRUE(contains(page, "张三（考号 801）的新初始密码："));
  EXPECT_EQ(headerOf(page, "Cache-Control"), "no-store");
  const std::string marker = "<strong id=\"issuedpassword\">";
  const auto at = page.body.find(marker);
  ASSERT_NE(at, std::string::npos);
  const std::string password = page.body.substr(at + marker.size(), cloud::kFirstPasswordLength);
  for (const char c : password) EXPECT_NE(auth::kPlainAlphabet.find(c), std::string::npos);
  // Shown once: the school's page shows it no more.
  EXPECT_FALSE(contains(resultPage(b), password));
  // The student's sign-in ended; the old password is gone, the new one asks for their own.
  EXPECT_TRUE(contains(resultPage(student), "学生登录"));
  ResultsBrowser again(site_->site, "198.51.100.99");
  EXPECT_TRUE(contains(signInStudent(again, "801", "pw801pw"), "考号或密码错误！"));
  ASSERT_EQ(signInStudent(again, "801", password).status, 303);
  EXPECT_TRUE(contains(resultPage(again), "设置自己的密码"));
  // The other school's student of the same number keeps theirs.
  ResultsBrowser other(site_->site, "198.51.100.98");
  EXPECT_EQ(other
                .post(resultPath(), {{"dwid", std::to_string(other_->account())},
                                     {"op", "student"},
                                     {"kh", "801"},
                                     {"mm", "pw801pw"}})
                .status,
            303);
}

TEST_F(ResultsSiteTest, TwoInstancesServeOneCookieAlternately) {
  Instance second(cloud().conninfo(), key_);
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  for (int i = 0; i < 6; ++i) {
    b.useSite(i % 2 == 0 ? second.site : site_->site);
    const auto page = resultPage(b);
    EXPECT_TRUE(contains(page, "91.5")) << i << page.body;
  }
  // Signed out on one instance is signed out on both.
  b.post(resultPath(), {{"dwid", school()}, {"op", "signout"}});
  EXPECT_TRUE(b.cookie.empty());
  b.useSite(second.site);
  EXPECT_TRUE(contains(resultPage(b), "学生登录"));
}

// Signing out ends the sign-in itself, not just the browser's copy of the cookie: a copy kept
// elsewhere is refused at once, on every instance; signing in again works.
TEST_F(ResultsSiteTest, SignOutEndsTheCookieEverywhereAtOnce) {
  Instance second(cloud().conninfo(), key_);
  struct Case {
    std::string who;
    std::function<web::HttpResponse(ResultsBrowser&)> signIn;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"student", [&](ResultsBrowser& b) { return signInStudent(b, "801", "pw801pw"); }, "91.5"},
      {"school",
       [&](ResultsBrowser& b) {
         return b.post(
             resultPath(),
             {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "schoolpw"}});
       },
       "开学考试"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.who);
    ResultsBrowser b(site_->site);
    ASSERT_EQ(c.signIn(b).status, 303);
    const std::string kept = b.cookie;
    ResultsBrowser copy(second.site, "203.0.113.9");
    copy.cookie = kept;
    ASSERT_TRUE(contains(resultPage(copy), c.shown));
    ASSERT_EQ(b.post(resultPath(), {{"dwid", school()}, {"op", "signout"}}).status, 303);
    for (ResultsSite* site : {&site_->site, &second.site}) {
      copy.useSite(*site);
      copy.cookie = kept;
      const auto page = resultPage(copy);
      EXPECT_FALSE(contains(page, c.shown)) << page.body;
      EXPECT_TRUE(contains(page, "学生登录"));
    }
    // Signing out with the ended cookie again changes nothing; a new sign-in works.
    copy.cookie = kept;
    copy.post(resultPath(), {{"dwid", school()}, {"op", "signout"}});
    ASSERT_EQ(c.signIn(b).status, 303);
    EXPECT_NE(b.cookie, kept);
    EXPECT_TRUE(contains(resultPage(b), c.shown));
  }
}

// A new password, chosen or reset, ends every other sign-in of the student at once; the
// browser that chose it stays signed in.
TEST_F(ResultsSiteTest, ANewPasswordEndsTheStudentsOtherSignIns) {
  struct Case {
    std::string what;
    bool firstPassword;
    ResultsBrowser::Fields form;
  };
  const std::vector<Case> cases = {
      {"change",
       false,
       {{"op", "password"}, {"old", "pw801pw"}, {"new", "mine2024"}, {"new2", "mine2024"}}},
      {"first password", true, {{"op", "firstpw"}, {"new", "mine2025"}, {"new2", "mine2025"}}},
      {"reset", false, {{"op", "reset"}, {"kh", "801"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto hash = cloud::hashPassword("pw801pw");
    cloud().db().exec("UPDATE stu SET 密码 = $1, 须改密码 = $2 WHERE stuid = '801'",
                      {hash, std::string(c.firstPassword ? "true" : "false")});
    ResultsBrowser here(site_->site), elsewhere(site_->site, "203.0.113.40");
    ASSERT_EQ(signInStudent(here, "801", "pw801pw").status, 303);
    ASSERT_EQ(signInStudent(elsewhere, "801", "pw801pw").status, 303);
    ResultsBrowser::Fields form = {{"dwid", school()}};
    form.insert(form.end(), c.form.begin(), c.form.end());
    ResultsBrowser schoolBrowser(site_->site, "198.51.100.20");
    if (c.what == "reset") {
      ASSERT_EQ(
          schoolBrowser
              .post(resultPath(),
                    {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "schoolpw"}})
              .status,
          303);
    }
    ResultsBrowser& actor = c.what == "reset" ? schoolBrowser : here;
    const auto answer = actor.post(resultPath(), form);
    ASSERT_LT(answer.status, 400) << answer.body;
    EXPECT_TRUE(contains(resultPage(elsewhere), "学生登录"));
    if (c.what != "reset") {
      EXPECT_TRUE(contains(resultPage(here), "91.5"));
    }
  }
}

// After the server restarts, the pool's idle connections are closed ones: the next requests
// open fresh connections instead of failing.
TEST_F(ResultsSiteTest, PooledConnectionsTheServerClosedAreReplaced) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(signInStudent(b, "801", "pw801pw").status, 303);
  std::vector<std::string> pids;
  {
    auto first = site_->pool.lease();
    auto second = site_->pool.lease();
    for (auto* lease : {&first, &second}) {
      pids.push_back((*lease)->exec("SELECT pg_backend_pid()").text(0, 0));
    }
  }
  for (const auto& pid : pids) {
    // Waits until the session has ended, as a restart ends them all.
    ASSERT_EQ(cloud().scalar("SELECT pg_terminate_backend(" + pid + ", 10000)"), "t");
  }
  for (int i = 0; i < 3; ++i) {
    const auto page = resultPage(b);
    EXPECT_EQ(page.status, 200) << i;
    EXPECT_TRUE(contains(page, "91.5")) << i;
  }
}

// A copy of the school's cookie kept from before signing out resets no password.
TEST_F(ResultsSiteTest, ASignedOutSchoolCookieResetsNothing) {
  ResultsBrowser b(site_->site);
  ASSERT_EQ(b.post(resultPath(),
                   {{"dwid", school()}, {"op", "school"}, {"bh", school()}, {"smm", "schoolpw"}})
                .status,
            303);
  const std::string kept = b.cookie;
  ASSERT_EQ(b.post(resultPath(), {{"dwid", school()}, {"op", "signout"}}).status, 303);
  const auto hash = [&] {
    return cloud().scalar("SELECT 密码 || 须改密码 FROM stu WHERE yhmid = " + school() +
                          " AND stuid = '801'");
  };
  const auto before = hash();
  ResultsBrowser copy(site_->site, "203.0.113.9");
  copy.cookie = kept;
  const auto answer = copy.post(resultPath(), {{"dwid", school()}, {"op", "reset"}, {"kh", "801"}});
  EXPECT_EQ(answer.status, 303);
  EXPECT_FALSE(contains(answer, "新初始密码")) << answer.body;
  EXPECT_EQ(hash(), before);
  ResultsBrowser student(site_->site);
  EXPECT_EQ(signInStudent(student, "801", "pw801pw").status, 303);
}

// Student numbers are text: 0101 and 101 are two students, each seeing only their own scores.
TEST_F(ResultsSiteTest, LeadingZerosNameAnotherStudent) {
  school_->addStudent("0101", "钱七", "pw0101pw", "东校区", "一班");
  school_->addStudent("101", "孙八", "pw101pw1", "东校区", "一班");
  school_->addScore(current_, "0101", "数学", "88.5");
  school_->addScore(current_, "101", "数学", "47.5");
  struct Case {
    std::string number, password, own, others;
  };
  for (const auto& c : std::vector<Case>{{"0101", "pw0101pw", "88.5", "47.5"},
                                         {"101", "pw101pw1", "47.5", "88.5"}}) {
    SCOPED_TRACE(c.number);
    ResultsBrowser b(site_->site);
    ASSERT_EQ(signInStudent(b, c.number, c.password).status, 303);
    const auto page = resultPage(b);
    EXPECT_TRUE(contains(page, c.own)) << page.body;
    EXPECT_FALSE(contains(page, c.others)) << page.body;
  }
  ResultsBrowser wrong(site_->site);
  EXPECT_TRUE(contains(signInStudent(wrong, "101", "pw0101pw"), "考号或密码错误！"));
}

TEST_F(ResultsSiteTest, PostsFromOtherSitesAreRefused) {
  struct Case {
    std::string origin, referer;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"http://results.test", "", true},
      {"https://RESULTS.test", "", true},
      {"", "http://results.test/vezav/index.dll?dwid=1", true},
      {"", "", true},
      {"http://evil.example", "", false},
      {"null", "", false},
      {"http://results.test.evil.example", "", false},
      {"", "http://evil.example/page", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.origin + c.referer);
    ResultsBrowser b(site_->site);
    b.origin = c.origin;
    if (!c.referer.empty()) b.extraHeaders = {{"referer", c.referer}};
    const auto answer = signInStudent(b, "801", "pw801pw");
    EXPECT_EQ(answer.status, c.accepted ? 303 : 403);
    EXPECT_EQ(b.cookie.empty(), !c.accepted);
  }
}

TEST_F(ResultsSiteTest, EveryAnswerCarriesTheStrictPolicyAndNoScript) {
  ResultsBrowser b(site_->site);
  std::vector<web::HttpResponse> answers = {
      b.get("/vezav/reg"),
      b.get("/vezav/mjy.css"),
      b.get("/vezav/results.css"),
      b.get("/nothing"),
      b.get(resultPath()),
      b.get(resultPath(), {{"dwid", "999999"}}),
      resultPage(b),
      signInStudent(b, "801", "wrong"),
  };
  signInStudent(b, "801", "pw801pw");
  answers.push_back(resultPage(b));
  for (const auto& answer : answers) {
    SCOPED_TRACE(answer.body.substr(0, 200));
    EXPECT_EQ(headerOf(answer, "Content-Security-Policy").rfind("default-src 'self'", 0), 0u);
    EXPECT_EQ(answer.body.find("<script"), std::string::npos);
    EXPECT_EQ(answer.body.find("style=\""), std::string::npos);
    if (answer.contentType.starts_with("text/html")) {
      EXPECT_TRUE(contains(answer, "name=\"viewport\""));
    }
  }
  EXPECT_EQ(answers[1].contentType, "text/css; charset=utf-8");
  EXPECT_EQ(answers[3].status, 404);
  EXPECT_EQ(answers[5].status, 404);
}

}  // namespace
}  // namespace zeziza::results

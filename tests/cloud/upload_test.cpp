// Roster and publication against the service: exactly the rows of a publication, updated in
// place on a second run, and complete after a failure and a rerun.
#include "cloud/upload.h"

#include <gtest/gtest.h>

#include "auth/password_hasher.h"
#include "cloud/accounts.h"
#include "cloud/first_passwords.h"
#include "cloud/progress.h"
#include "cloud/publish_lock.h"
#include "store/database.h"
#include "store/first_passwords.h"
#include "store/schema.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/support/score_rows.h"
#include "tests/support/temp_folder.h"

namespace zeziza::cloud {
namespace {

const std::vector<std::string> kSubjects = {"数学", "语文"};

class PublishTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    store::createDataSchema(folder_.path() / "data");
    store::createTempSchema(folder_.path() / "temp");
    data_ = std::make_unique<store::Database>(folder_.path() / "data");
    account_ = createAccount(cloud().db(), "pw");
    conninfo_ = cloud().conninfo();
  }

  void student(const std::string& number, const std::string& inClass, std::vector<double> scores,
               const std::string& unit = "东校区") {
    const auto bh = testing::addStudent(*data_, {number, "生" + number, unit, "初一", inClass});
    if (!scores.empty()) testing::addScores(*data_, bh, "期中", scores);
  }

  PreparationResult prepareFor(std::vector<std::string> classes, std::vector<std::string> subjects,
                               RankChoice ranks = {}) {
    PreparationRequest r{folder_.path() / "data",
                         folder_.path() / "temp",
                         conninfo_,
                         account_,
                         "期中",
                         kSubjects,
                         ranks,
                         {"东校区", "西校区"},
                         {"初一"},
                         std::move(classes),
                         std::move(subjects)};
    auto lease = lock_.tryAcquire();
    return prepare(r, *lease, progress_);
  }

  PublishResult publish(const PreparationResult& prepared, PublishChoice choice = {},
                        std::size_t rowsPerBatch = kRowsPerBatch) {
    PublishRequest r{folder_.path() / "data",
                     folder_.path() / "temp",
                     conninfo_,
                     account_,
                     "期中",
                     30,
                     prepared.loops,
                     choice,
                     {90, 80, 60},
                     {60, 70, 80, 90},
                     prepared.preparation,
                     rowsPerBatch};
    return publishExam(r, lock_, progress_);
  }

  std::vector<std::string> log() {
    auto lines = progress_.takeLines();
    for (auto& l : lines) l = l.substr(l.find(">>"));
    return lines;
  }

  std::string scalar(const std::string& sql) { return cloud().scalar(sql); }

  testing::TempFolder folder_;
  std::unique_ptr<store::Database> data_;
  std::int64_t account_ = 0;
  std::string conninfo_;  // the service as the school connects to it
  Progress progress_;
  PublishLock lock_;
};

TEST_F(PublishTest, OneSubjectOneClassGivesEachScopeOnce) {
  student("801", "一班", {90, 50});
  student("802", "一班", {70});
  student("803", "一班", {});    // enrolled, no scores
  student("804", "二班", {80});  // not chosen
  const auto prepared = prepareFor({"一班"}, {"数学"});
  const auto result = publish(prepared);
  EXPECT_EQ(result.rankings, 3u);
  EXPECT_EQ(result.statistics, 3u);
  EXPECT_EQ(result.scores, 2u);
  EXPECT_EQ(cloud().count("xmb"), 1);
  EXPECT_EQ(cloud().count("pmb"), 3);
  EXPECT_EQ(cloud().count("tjb"), 3);
  EXPECT_EQ(cloud().count("cjb"), 2);
  // The grade scope spans both classes; the class scope only its own.
  const std::string K = std::to_string(prepared.loops.subjects.ids[0]);
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb WHERE dwid = -1 AND bcid = -1"),
            "1:[801]生801  90\r\n2:[804]生804  80\r\n3:[802]生802  70\r\n");
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb WHERE bcid <> -1"),
            "1:[801]生801  90\r\n2:[802]生802  70\r\n");
  EXPECT_EQ(
      scalar("SELECT concat_ws('|', 实有人数, 参考人数, 总分, 平均分, 最高分, 最低分, 中位数, "
             "方差, 优秀率, 良好率, 及格率, 不及格率, 优秀人数, 良好人数, 及格人数, "
             "不及格人数, skew, kurtosis, 分数段, 比率口径) FROM tjb "
             "WHERE classid = -1 AND dwid = -1"),
      "4|3|240|80.00|90|70|80.00|66.67|33.33|33.33|33.33|0.00|1|1|1|0|0.00|1.50|"
      "60=0人\r\n70=1人\r\n80=1人\r\n90=1人\r\n|分段");
  EXPECT_EQ(scalar("SELECT string_agg(concat_ws(':', stuid, kmid = " + K +
                   ", 成绩, 总排名, 校内排名, 班内排名), ',' ORDER BY stuid) FROM cjb"),
            "801:t:90:1:1:1,802:t:70:3:3:2");
  const auto lines = log();
  EXPECT_EQ(lines.back(), ">>上报完成！");
}

TEST_F(PublishTest, ClassWithOneScoredStudentHasNoStatistics) {
  student("801", "一班", {88});
  publish(prepareFor({"一班"}, {"数学"}));
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb WHERE bcid <> -1"), "1:[801]生801  88\r\n");
  EXPECT_EQ(cloud().count("tjb"), 0);
  EXPECT_EQ(cloud().count("cjb"), 1);
}

TEST_F(PublishTest, RankLeftOutIsSentAsNull) {
  student("801", "一班", {88});
  publish(prepareFor({"一班"}, {"数学"}, {.overall = true, .unit = false, .inClass = true}));
  EXPECT_EQ(scalar("SELECT concat_ws(':', 总排名, 校内排名 IS NULL, 班内排名) FROM cjb"), "1:t:1");
}

TEST_F(PublishTest, PublishingTwiceUpdatesInPlace) {
  student("801", "一班", {88, 70});
  student("802", "一班", {95, 60});
  publish(prepareFor({"一班"}, {"数学", "语文"}));
  const auto counts = scalar(
      "SELECT concat_ws(',', (SELECT count(*) FROM xmb), (SELECT count(*) FROM pmb), "
      "(SELECT count(*) FROM tjb), (SELECT count(*) FROM cjb))");
  data_->exec("update cj set k1 = 99, zf = 169, pj = 84.5 where kh = 1");
  publish(prepareFor({"一班"}, {"数学", "语文"}));
  EXPECT_EQ(scalar("SELECT concat_ws(',', (SELECT count(*) FROM xmb), (SELECT count(*) FROM pmb), "
                   "(SELECT count(*) FROM tjb), (SELECT count(*) FROM cjb))"),
            counts);
  EXPECT_EQ(scalar("SELECT 成绩 || ':' || 总排名 FROM cjb JOIN gxkm ON gxkm.id = cjb.kmid "
                   "WHERE 科目 = '数学' AND stuid = '801'"),
            "99:1");
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb JOIN gxkm ON gxkm.id = pmb.kmid "
                   "WHERE 科目 = '数学' AND bcid <> -1"),
            "1:[801]生801  99\r\n2:[802]生802  95\r\n");
}

// Publishing again makes the exam's rows within what the publication covers the school's:
// a score removed there and the scores of a student removed there go, in the publication's
// last transaction; a class left out of this publication keeps its rows.
TEST_F(PublishTest, PublishingAgainRemovesWhatTheSchoolRemoved) {
  student("801", "一班", {88, 63});
  student("802", "一班", {95, 60});
  student("803", "一班", {70, 80});
  student("804", "二班", {50, 55});
  const auto both = prepareFor({"一班", "二班"}, {"数学", "语文"});
  RosterRequest roster{folder_.path() / "data", conninfo_, account_, "123456", both.loops};
  uploadRoster(roster, progress_);
  publish(both);
  const std::string chinese = "(SELECT id FROM gxkm WHERE 科目 = '语文')";
  const std::string oneClass = "(SELECT id FROM gxbc WHERE 班次 = '一班')";
  ASSERT_EQ(cloud().count("cjb WHERE stuid = '801' AND kmid = " + chinese), 1);
  const auto otherClass = scalar(
      "SELECT concat_ws(',', (SELECT count(*) FROM cjb WHERE stuid = '804'), "
      "(SELECT count(*) FROM pmb WHERE bcid NOT IN (-1, " +
      oneClass +
      ")), "
      "(SELECT count(*) FROM tjb WHERE classid NOT IN (-1, " +
      oneClass + ")))");
  // At the school: 801's 语文 removed, 803 removed altogether; 一班 alone published again.
  data_->exec("update cj set k2 = 0, zf = 88, pj = 88 where kh = 1");
  data_->exec("delete from cj where kh = 3");
  data_->exec("delete from ks where bh = 3");
  publish(prepareFor({"一班"}, {"数学", "语文"}));
  EXPECT_EQ(scalar("SELECT string_agg(stuid || ':' || 科目 || ':' || 成绩, ',' "
                   "ORDER BY stuid, 科目) FROM cjb JOIN gxkm ON gxkm.id = cjb.kmid "
                   "WHERE stuid <> '804' AND 科目 IN ('数学', '语文')"),
            "801:数学:88,802:数学:95,802:语文:60");
  EXPECT_EQ(cloud().count("cjb WHERE stuid = '803'"), 0);
  // The class's 语文 statistics now count one student: none are published for it.
  EXPECT_EQ(cloud().count("tjb WHERE classid = " + oneClass + " AND kmid = " + chinese), 0);
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb WHERE bcid = " + oneClass + " AND kmid = " + chinese),
            "1:[802]生802  60\r\n");
  EXPECT_EQ(scalar("SELECT concat_ws(',', (SELECT count(*) FROM cjb WHERE stuid = '804'), "
                   "(SELECT count(*) FROM pmb WHERE bcid NOT IN (-1, " +
                   oneClass +
                   ")), "
                   "(SELECT count(*) FROM tjb WHERE classid NOT IN (-1, " +
                   oneClass + ")))"),
            otherClass);
}

TEST_F(PublishTest, ClassLevelFirstThenEverything) {
  student("801", "一班", {88});
  student("802", "一班", {77});
  PublishChoice classOnly{false, false, true, false, false, true};
  publish(prepareFor({"一班"}, {"数学"}), classOnly);
  EXPECT_EQ(cloud().count("pmb WHERE bcid = -1"), 0);
  EXPECT_EQ(cloud().count("tjb WHERE classid = -1"), 0);
  EXPECT_EQ(cloud().count("pmb"), 1);
  publish(prepareFor({"一班"}, {"数学"}));
  EXPECT_EQ(cloud().count("pmb"), 3);
  EXPECT_EQ(cloud().count("tjb"), 3);
  EXPECT_EQ(cloud().count("tjb WHERE classid = -1 AND dwid = -1"), 1);
}

TEST_F(PublishTest, FailureRollsBackTheBatchAndRerunCompletes) {
  for (int i = 0; i < 9; ++i) student(std::to_string(801 + i), "一班", {50.0 + i});
  const auto prepared = prepareFor({"一班"}, {"数学"});
  auto& db = cloud().db();
  db.exec(
      "CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN "
      "IF NEW.成绩 = 55 THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$ "
      "LANGUAGE plpgsql");
  db.exec("CREATE TRIGGER refuse BEFORE INSERT ON cjb FOR EACH ROW EXECUTE FUNCTION refuse()");
  EXPECT_THROW(publish(prepared, {}, 3), pg::Error);
  const std::string stopped = log().back();
  // The count is that of the committed batches: not the one rolled back, nor the one that was
  // being collected while it was on its way.
  const auto committed = cloud().count("pmb") + cloud().count("tjb") + cloud().count("cjb");
  EXPECT_EQ(stopped.rfind(">>上传中断：已发送" + std::to_string(committed) + "行", 0), 0u)
      << stopped;
  EXPECT_NE(stopped.find("重新执行本步骤即可补全"), std::string::npos) << stopped;
  // Scores 50 to 52 went in the first batch; the batch holding 55 was rolled back whole.
  EXPECT_EQ(cloud().count("cjb"), 3);
  db.exec("DROP TRIGGER refuse ON cjb");
  publish(prepared, {}, 3);
  EXPECT_EQ(cloud().count("cjb"), 9);
  EXPECT_EQ(cloud().count("pmb"), 3);
}

// The service refuses a row while the batch is being copied to it: the rows of that batch
// copied before it go too, earlier batches stay, and a rerun completes the publication.
TEST_F(PublishTest, FailureDuringTheCopyLeavesTheBatchOutWhole) {
  for (int i = 0; i < 9; ++i) student(std::to_string(801 + i), "一班", {50.0 + i});
  const auto prepared = prepareFor({"一班"}, {"数学"});
  auto& db = cloud().db();
  db.exec("CREATE DOMAIN checked_score AS numeric CONSTRAINT not55 CHECK (VALUE <> 55)");
  // The rows are copied into the staging table, then merged.
  db.exec("ALTER TABLE stage_cjb ALTER COLUMN 成绩 TYPE checked_score");
  try {
    publish(prepared, {}, 3);
    FAIL() << "the refused row went through";
  } catch (const pg::Error& e) {
    EXPECT_NE(std::string(e.what()).find("[COPY "), std::string::npos) << e.what();
  }
  EXPECT_EQ(log().back().rfind(">>上传中断：已发送", 0), 0u);
  EXPECT_EQ(cloud().count("cjb"), 3);  // 50 to 52; 53 and 54 went back with 55
  db.exec("ALTER DOMAIN checked_score DROP CONSTRAINT not55");
  publish(prepared, {}, 3);
  EXPECT_EQ(cloud().count("cjb"), 9);
  EXPECT_EQ(scalar("SELECT string_agg(成绩::text, ',' ORDER BY 成绩) FROM cjb"),
            "50,51,52,53,54,55,56,57,58");
}

TEST_F(PublishTest, ReplacedPreparationRefused) {
  student("801", "一班", {88});
  const auto first = prepareFor({"一班"}, {"数学"});
  prepareFor({"一班"}, {"数学"});
  EXPECT_THROW(publish(first), Refusal);
  EXPECT_EQ(cloud().count("cjb"), 0);
}

TEST_F(PublishTest, RosterSkipsStudentsOutsideTheListsAndKeepsPasswords) {
  student("801", "一班", {});
  student("802", "二班", {});
  student("803", "一班", {}, "南校区");
  const auto prepared = prepareFor({"一班", "二班"}, {"数学"});
  log();
  RosterRequest r{folder_.path() / "data", cloud().conninfo(), account_, {}, prepared.loops};
  auto result = uploadRoster(r, progress_);
  EXPECT_EQ(result.sent, 2u);
  EXPECT_EQ(result.added, 2u);
  EXPECT_EQ(result.skipped, 1u);
  EXPECT_EQ(log(),
            (std::vector<std::string>{
                ">>开始上传学生花名册", ">>生成初始密码（共2名新学生）", ">>已生成初始密码1/2",
                ">>已生成初始密码2/2", ">>2名新学生获得初始密码，可打印查询密码单",
                ">>1名学生的单位、年级或班次不在上传范围内，未上传", ">>上传学生花名册完成"}));
  const auto password = scalar("SELECT 密码 FROM stu WHERE stuid = '801'");
  cloud().db().exec("UPDATE stu SET 须改密码 = false WHERE stuid = '801'");
  data_->exec("update ks set xm = '新名', bj = '二班' where id = '801'");
  r.sharedPassword = "654321";
  EXPECT_EQ(uploadRoster(r, progress_).added, 0u);
  EXPECT_EQ(cloud().count("stu"), 2);
  // A known student keeps the password they chose, and is not asked again.
  EXPECT_EQ(scalar("SELECT 密码 || 须改密码 FROM stu WHERE stuid = '801'"), password + "false");
  EXPECT_EQ(scalar("SELECT 姓名 || (bcid = " + std::to_string(prepared.loops.classes.ids[1]) +
                   ") FROM stu WHERE stuid = '801'"),
            "新名true");
}

// Each student new on the service gets a random first password of their own, kept for the
// slips; students the service has keep theirs, on the service and on the slips.
TEST_F(PublishTest, RosterGivesEachNewStudentAFirstPasswordOfTheirOwn) {
  for (const char* number : {"801", "802", "803", "804"}) student(number, "一班", {});
  const auto prepared = prepareFor({"一班"}, {"数学"});
  RosterRequest r{folder_.path() / "data", cloud().conninfo(), account_, {}, prepared.loops};
  EXPECT_EQ(uploadRoster(r, progress_).added, 4u);
  EXPECT_EQ(scalar("SELECT count(DISTINCT 密码) || '/' || count(*) FILTER (WHERE 须改密码) "
                   "FROM stu"),
            "4/4");
  const auto slips = store::readPasswordSlips(*data_, "", "", "");
  ASSERT_EQ(slips.size(), 4u);
  auth::PasswordHasher hasher(2);
  for (std::size_t i = 0; i < slips.size(); ++i) {
    SCOPED_TRACE(slips[i].student);
    EXPECT_EQ(slips[i].account, account_);
    EXPECT_EQ(slips[i].password.size(), kFirstPasswordLength);
    const auto hash = scalar("SELECT 密码 FROM stu WHERE stuid = '" + slips[i].student + "'");
    EXPECT_TRUE(hasher.verify(hash, slips[i].password));
    EXPECT_FALSE(hasher.verify(hash, slips[(i + 1) % slips.size()].password));
  }
  const auto before = scalar("SELECT string_agg(stuid || 密码, ',' ORDER BY stuid) FROM stu");
  student("805", "一班", {});
  EXPECT_EQ(uploadRoster(r, progress_).added, 1u);
  EXPECT_EQ(scalar("SELECT string_agg(stuid || 密码, ',' ORDER BY stuid) FROM stu "
                   "WHERE stuid <> '805'"),
            before);
  const auto again = store::readPasswordSlips(*data_, "", "", "");
  ASSERT_EQ(again.size(), 5u);
  for (std::size_t i = 0; i < slips.size(); ++i) EXPECT_EQ(again[i].password, slips[i].password);
}

// The school's one password for all, when ticked: still a salt and a hash of its own for each.
TEST_F(PublishTest, OnePasswordForAllStillHashesEachStudentApart) {
  for (const char* number : {"801", "802", "803"}) student(number, "一班", {});
  const auto prepared = prepareFor({"一班"}, {"数学"});
  RosterRequest r{folder_.path() / "data", cloud().conninfo(), account_, "123456", prepared.loops};
  uploadRoster(r, progress_);
  EXPECT_EQ(scalar("SELECT count(DISTINCT 密码) || '/' || count(*) FILTER (WHERE 须改密码) "
                   "FROM stu"),
            "3/3");
  auth::PasswordHasher hasher(1);
  for (const char* number : {"801", "802", "803"}) {
    EXPECT_TRUE(hasher.verify(
        scalar("SELECT 密码 FROM stu WHERE stuid = '" + std::string(number) + "'"), "123456"));
  }
  for (const auto& slip : store::readPasswordSlips(*data_, "", "", "")) {
    EXPECT_EQ(slip.password, "123456");
  }
}

// Names reach the service exactly as stored, whatever separators they hold.
TEST_F(PublishTest, RosterKeepsEveryCharacterOfANames) {
  const std::vector<std::string> names = {"甲\t乙", "反\\斜\\N", "换\n行\r", "\\N", ""};
  for (std::size_t i = 0; i < names.size(); ++i) {
    testing::addStudent(*data_, {std::to_string(901 + i), names[i], "东校区", "初一", "一班"});
  }
  const auto prepared = prepareFor({"一班"}, {"数学"});
  RosterRequest r{folder_.path() / "data", cloud().conninfo(), account_, {}, prepared.loops, 2};
  EXPECT_EQ(uploadRoster(r, progress_).sent, names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(scalar("SELECT 姓名 || '|' FROM stu WHERE stuid = '" + std::to_string(901 + i) + "'"),
              names[i] + "|");
  }
}

// The school publishes with its own role, fenced by row-level security: roster, publication
// and a second publication over the first all go through.
TEST_F(PublishTest, TheSchoolsOwnRolePublishesEverything) {
  const std::string role = scalar("SELECT db_role FROM yhm WHERE id = " + std::to_string(account_));
  ASSERT_FALSE(role.empty());
  conninfo_ = cloud().conninfo() + " user='" + role + "' password=pw";
  student("801", "一班", {88, 70});
  student("802", "一班", {95, 60});
  const auto prepared = prepareFor({"一班"}, {"数学", "语文"});
  RosterRequest r{folder_.path() / "data", conninfo_, account_, "123456", prepared.loops};
  EXPECT_EQ(uploadRoster(r, progress_).sent, 2u);
  publish(prepared);
  const std::string counts =
      "SELECT concat_ws(',', (SELECT count(*) FROM pmb), "
      "(SELECT count(*) FROM tjb), (SELECT count(*) FROM cjb))";
  const std::string first = scalar(counts);
  EXPECT_NE(first, "0,0,0");
  data_->exec("update cj set k1 = 99, zf = 169, pj = 84.5 where kh = 1");
  publish(prepareFor({"一班"}, {"数学", "语文"}));
  EXPECT_EQ(scalar(counts), first);
  EXPECT_EQ(cloud().count("stu"), 2);
  EXPECT_EQ(cloud().count("xmb"), 1);
  EXPECT_EQ(scalar("SELECT 成绩 FROM cjb JOIN gxkm ON gxkm.id = cjb.kmid "
                   "WHERE 科目 = '数学' AND stuid = '801'"),
            "99");
}

// Student numbers reach the service as the roster writes them: 0101 and 101 are two students.
TEST_F(PublishTest, StudentNumbersKeepTheirLeadingZeros) {
  student("0101", "一班", {90});
  student("101", "一班", {70});
  student("A7", "一班", {80});
  const auto prepared = prepareFor({"一班"}, {"数学"});
  RosterRequest r{folder_.path() / "data", conninfo_, account_, "123456", prepared.loops};
  EXPECT_EQ(uploadRoster(r, progress_).sent, 3u);
  publish(prepared);
  EXPECT_EQ(scalar("SELECT string_agg(stuid, ',' ORDER BY stuid) FROM stu"), "0101,101,A7");
  EXPECT_EQ(scalar("SELECT string_agg(stuid || ':' || 成绩, ',' ORDER BY stuid) FROM cjb"),
            "0101:90,101:70,A7:80");
  EXPECT_EQ(scalar("SELECT pmmx FROM pmb WHERE bcid <> -1"),
            "1:[0101]生0101  90\r\n2:[A7]生A7  80\r\n3:[101]生101  70\r\n");
}

}  // namespace
}  // namespace zeziza::cloud

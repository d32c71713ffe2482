// Ranks of the preparation under both rank settings, and statistics scaled to full marks.
#include <gtest/gtest.h>

#include "cloud/accounts.h"
#include "cloud/preparation.h"
#include "cloud/progress.h"
#include "cloud/publish_lock.h"
#include "cloud/upload.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "tests/cloud/cloud_test_db.h"
#include "tests/support/score_rows.h"
#include "tests/support/temp_folder.h"

namespace zeziza::cloud {
namespace {

const std::vector<std::string> kSubjects = {"数学", "语文"};

// 东校区 初一: 一班 with 数学 90, 85, 85 and 二班 with 85, 70.
class CloudNumbersTest : public testing::CloudTest {
 protected:
  void SetUp() override {
    CloudTest::SetUp();
    if (IsSkipped()) return;
    store::createDataSchema(folder_.path() / "data");
    store::createTempSchema(folder_.path() / "temp");
    data_ = std::make_unique<store::Database>(folder_.path() / "data");
    account_ = createAccount(cloud().db(), "pw");
    student("801", "一班", {90, 100});
    student("802", "一班", {85, 50});
    student("803", "一班", {85, 60});
    student("804", "二班", {85, 120});
    student("805", "二班", {70, 140});
  }

  void student(const std::string& number, const std::string& inClass, std::vector<double> scores) {
    const auto bh = testing::addStudent(*data_, {number, "生" + number, "东校区", "初一", inClass});
    testing::addScores(*data_, bh, "期中", scores);
  }

  PreparationResult prepareWith(bool shared) {
    PreparationRequest r{folder_.path() / "data",
                         folder_.path() / "temp",
                         cloud().conninfo(),
                         account_,
                         "期中",
                         kSubjects,
                         {.overall = true, .unit = true, .inClass = true, .shared = shared},
                         {"东校区"},
                         {"初一"},
                         {"一班", "二班"},
                         {"数学", "语文", "总分"}};
    auto lease = lock_.tryAcquire();
    return prepare(r, *lease, progress_);
  }

  // "stuid:总排名/校内排名/班内排名" of one subject's scratch rows, by student number.
  std::string ranks(const std::string& subject) {
    store::Database temp(folder_.path() / "temp");
    store::Statement rows(temp,
                          "select stuid, 总排名, 校内排名, 班内排名 from tem where km=? "
                          "order by stuid");
    const store::Value k(subject);
    rows.bindAll(std::span(&k, 1));
    std::string out;
    while (rows.step()) {
      if (!out.empty()) out += ",";
      out += rows.column(0).asText() + ":" + rows.column(1).asText() + "/" +
             rows.column(2).asText() + "/" + rows.column(3).asText();
    }
    return out;
  }

  PublishResult publish(const PreparationResult& prepared, std::vector<int> fullMarks,
                        analysis::RankMode mode,
                        analysis::RateBasis rates = analysis::RateBasis::Bands) {
    PublishRequest r;
    r.dataFile = folder_.path() / "data";
    r.tempFile = folder_.path() / "temp";
    r.conninfo = cloud().conninfo();
    r.account = account_;
    r.exam = "期中";
    r.loops = prepared.loops;
    r.thresholds = {90, 80, 60};
    r.bands = {60, 70, 80, 90};
    r.preparation = prepared.preparation;
    r.subjectList = kSubjects;
    r.fullMarks = std::move(fullMarks);
    r.rankMode = mode;
    r.rates = rates;
    return publishExam(r, lock_, progress_);
  }

  testing::TempFolder folder_;
  PublishLock lock_;
  std::unique_ptr<store::Database> data_;
  std::int64_t account_ = 0;
  Progress progress_;
};

TEST_F(CloudNumbersTest, PreparationRanksTiesByTheSetting) {
  const struct {
    bool shared;
    const char* maths;
  } cases[] = {
      {false, "801:1/1/1,802:2/2/2,803:3/3/3,804:4/4/1,805:5/5/2"},
      {true, "801:1/1/1,802:2/2/2,803:2/2/2,804:2/2/1,805:5/5/2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shared);
    prepareWith(c.shared);
    EXPECT_EQ(ranks("数学"), c.maths);
  }
}

// 语文 out of 150 and 数学 out of 100: the grade's statistics judge each on its own scale.
TEST_F(CloudNumbersTest, StatisticsAndRankingTextsFollowFullMarksAndRankMode) {
  publish(prepareWith(true), {100, 150}, analysis::RankMode::Shared);
  auto grade = [&](const std::string& subject) {
    return cloud().scalar(
        "SELECT concat_ws('|', 优秀人数, 良好人数, 及格人数, 不及格人数, 分数段) FROM tjb "
        "JOIN gxkm ON gxkm.id = tjb.kmid WHERE gxkm.科目 = '" +
        subject + "' AND dwid = -1 AND classid = -1");
  };
  // 数学 90 85 85 85 70 against 90/80/60; 语文 100 50 60 120 140 against 135/120/90.
  EXPECT_EQ(grade("数学"), "1|3|1|0|60=0人\r\n70=1人\r\n80=3人\r\n90=1人\r\n");
  EXPECT_EQ(grade("语文"), "1|1|1|2|90=1人\r\n105=0人\r\n120=1人\r\n135=1人\r\n");
  // 总分 out of 250: 190 135 145 205 210 against 225/200/150.
  EXPECT_EQ(grade("总分"), "0|2|1|2|150=0人\r\n175=1人\r\n200=2人\r\n225=0人\r\n");
  EXPECT_EQ(cloud().scalar("SELECT pmmx FROM pmb JOIN gxkm ON gxkm.id = pmb.kmid WHERE "
                           "gxkm.科目 = '数学' AND dwid = -1 AND bcid = -1"),
            "1:[801]生801  90\r\n2:[802]生802  85\r\n2:[803]生803  85\r\n2:[804]生804  85\r\n"
            "5:[805]生805  70\r\n");
}

// The rates go out with the basis they were counted on, which the results site heads them by;
// publishing again with the other basis replaces it.
TEST_F(CloudNumbersTest, TheRateBasisIsPublishedWithTheRates) {
  const struct {
    analysis::RateBasis rates;
    const char* basis;
    const char* counts;  // 数学's 优秀, 良好, 及格 and 不及格 of the grade
  } cases[] = {
      {analysis::RateBasis::Cumulative, "累计", "1|4|5|0"},
      {analysis::RateBasis::Bands, "分段", "1|3|1|0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.basis);
    publish(prepareWith(true), {100, 150}, analysis::RankMode::Shared, c.rates);
    EXPECT_EQ(cloud().scalar("SELECT string_agg(DISTINCT 比率口径, ',') FROM tjb"), c.basis);
    EXPECT_EQ(cloud().scalar("SELECT concat_ws('|', 优秀人数, 良好人数, 及格人数, 不及格人数) "
                             "FROM tjb JOIN gxkm ON gxkm.id = tjb.kmid WHERE gxkm.科目 = '数学' "
                             "AND dwid = -1 AND classid = -1"),
              c.counts);
  }
}

}  // namespace
}  // namespace zeziza::cloud

#include "pages/analysis/progress.h"
#include "pages/analysis/ranking.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// Two totals of 327 (as the school office met them), then a lower one, under both settings.
class RankTiesTest : public AnalysisTest, public ::testing::WithParamInterface<const char*> {
 protected:
  RankTiesTest() {
    if (*GetParam()) store::storeSetting(server.db(), store::key::kRankMode, GetParam());
  }
  bool shared() const { return std::string(GetParam()) == "并列名次"; }
  web::Grid& grid() { return b.control<web::Grid>("resultGrid"); }
};

TEST_P(RankTiesTest, TheRankingGivesEqualValuesTheChosenRanks) {
  score("期中", student("1001", "甲"), 170, 157);  // 327
  score("期中", student("1002", "乙"), 160, 167);  // 327
  score("期中", student("1003", "丙"), 150, 150);  // 300
  score("期中", student("1004", "丁"), 0, 0);
  score("期中", student("1005", "戊"), 0, 0);
  b.showPage<pages::RankingPage>();
  b.click("analyseButton");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  const Rows sequential = {
      {"1", "[ 1 ] 327.00", "[ 1 ] 163.5", "[ 1 ] 170", "[ 2 ] 157"},
      {"2", "[ 2 ] 327.00", "[ 2 ] 163.5", "[ 2 ] 160", "[ 1 ] 167"},
      {"3", "[ 3 ] 300.00", "[ 3 ] 150", "[ 3 ] 150", "[ 3 ] 150"},
      {"4", "[ 4 ] 0.00", "", "", ""},
      {"5", "[ 5 ] 0.00", "", "", ""},
  };
  const Rows sharedRanks = {
      {"1", "[ 1 ] 327.00", "[ 1 ] 163.5", "[ 1 ] 170", "[ 2 ] 157"},
      {"2", "[ 1 ] 327.00", "[ 1 ] 163.5", "[ 2 ] 160", "[ 1 ] 167"},
      {"3", "[ 3 ] 300.00", "[ 3 ] 150", "[ 3 ] 150", "[ 3 ] 150"},
      {"4", "[ 4 ] 0.00", "", "", ""},
      {"5", "[ 4 ] 0.00", "", "", ""},
  };
  const Rows& expected = shared() ? sharedRanks : sequential;
  ASSERT_EQ(grid().rowCount(), 6);
  for (int r = 1; r < grid().rowCount(); ++r) {
    SCOPED_TRACE(r);
    const auto cells = row(grid(), r);
    EXPECT_EQ((std::vector<std::string>{cells[0], cells[7], cells[8], cells[9], cells[10]}),
              expected[static_cast<std::size_t>(r - 1)]);
  }
}

TEST_P(RankTiesTest, ProgressGivesEqualAveragesTheChosenRanks) {
  const auto a = student("101", "甲");
  const auto c = student("102", "乙");
  const auto d = student("103", "丙");
  scoreRow("期中", a, 0, 0, 180, 90);
  scoreRow("期中", c, 0, 0, 180, 90);
  scoreRow("期中", d, 0, 0, 160, 80);
  scoreRow("期末", a, 0, 0, 140, 70);
  scoreRow("期末", c, 0, 0, 190, 95);
  scoreRow("期末", d, 0, 0, 190, 95);
  b.user().login.defaultExam = "期末";
  b.showPage<pages::ProgressPage>();
  b.click("analyseButton");
  ASSERT_EQ(b.messages(), std::vector<std::string>{});
  const Rows sequential = {
      {"101", "甲", "中心校区", "初一", "一班", "90", "1", "70", "3", "-2"},
      {"102", "乙", "中心校区", "初一", "一班", "90", "2", "95", "1", "1"},
      {"103", "丙", "中心校区", "初一", "一班", "80", "3", "95", "2", "1"},
  };
  const Rows sharedRanks = {
      {"101", "甲", "中心校区", "初一", "一班", "90", "1", "70", "3", "-2"},
      {"102", "乙", "中心校区", "初一", "一班", "90", "1", "95", "1", "0"},
      {"103", "丙", "中心校区", "初一", "一班", "80", "3", "95", "1", "2"},
  };
  Rows expected = shared() ? sharedRanks : sequential;
  expected.insert(expected.begin(), row(grid(), 0));
  expectRows(grid(), expected);
}

INSTANTIATE_TEST_SUITE_P(BothSettings, RankTiesTest, ::testing::Values("", "顺序名次", "并列名次"),
                         [](const auto& info) {
                           return std::string(info.index == 0   ? "NotSet"
                                              : info.index == 1 ? "Sequential"
                                                                : "Shared");
                         });

}  // namespace
}  // namespace zeziza::testing

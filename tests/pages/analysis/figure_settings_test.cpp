// The rate and average settings against figures worked out by hand.
#include "pages/analysis/class_comparison.h"
#include "pages/analysis/ranking.h"
#include "pages/analysis/score_query.h"
#include "store/query.h"
#include "store/scale_settings.h"
#include "store/settings.h"
#include "tests/pages/analysis/analysis_fixture.h"
#include "web/controls/db_grid.h"

namespace zeziza::testing {
namespace {

class FigureSettingsTest : public AnalysisTest {
 protected:
  void set(std::string_view key, const std::string& value) {
    store::storeSetting(server.db(), key, value);
  }
  // The cells of `column` of the query's shown rows.
  std::vector<std::string> shownColumn(const std::string& column) {
    const store::Query& shown = *b.control<web::DBGrid>("resultsGrid").DataSource;
    const std::size_t c = shown.fieldIndex(column);
    std::vector<std::string> cells;
    for (const auto& r : shown.rows()) cells.push_back(r[c].isText() ? r[c].asText() : "");
    return cells;
  }
  std::vector<double> shownNumbers(const std::string& column) {
    const store::Query& shown = *b.control<web::DBGrid>("resultsGrid").DataSource;
    const std::size_t c = shown.fieldIndex(column);
    std::vector<double> values;
    for (const auto& r : shown.rows()) values.push_back(r[c].asDouble());
    return values;
  }
};

// 数学 50, 65, 80, 85, 90, 95 over the lines 90, 80, 60: two at or above 90, four at or above
// 80, five at or above 60, one below.
class RateBasisTest : public FigureSettingsTest {
 protected:
  RateBasisTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区"};
      s.classes = {"一班"};
    });
    int id = 100;
    for (const double v : {50, 65, 80, 85, 90, 95}) {
      scoreRow("期中", student(std::to_string(++id), "生"), v, v, v, v);
    }
  }
};

TEST_F(RateBasisTest, QueryStatisticsAndClassComparisonFollowTheSetting) {
  struct Case {
    std::string setting;                  // empty: no row, as in a store made before the setting
    std::vector<std::string> captions;    // summary header 优秀率 … 不及格率
    std::vector<std::string> rates;       // the 数学 row's four rates
    std::vector<std::string> comparison;  // the class row's four rate cells
  };
  const std::vector<Case> cases = {
      {"",
       {"优秀率", "良好率", "及格率", "不及格率"},
       {"33.33", "33.33", "16.67", "16.67"},
       {"33.33% [ 2 ]", "33.33% [ 2 ]", "16.67% [ 1 ]", "16.67% [ 1 ]"}},
      {"累计",
       {"优秀率", "良好率(累计)", "及格率(累计)", "不及格率"},
       {"33.33", "66.67", "83.33", "16.67"},
       {"33.33% [ 2 ]", "66.67% [ 4 ]", "83.33% [ 5 ]", "16.67% [ 1 ]"}},
      {"分段",
       {"优秀率", "良好率", "及格率", "不及格率"},
       {"33.33", "33.33", "16.67", "16.67"},
       {"33.33% [ 2 ]", "33.33% [ 2 ]", "16.67% [ 1 ]", "16.67% [ 1 ]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("比率口径 " + c.setting);
    if (c.setting.empty()) {
      server.db().exec("delete from sysset where zdm=?", {std::string(store::key::kRateBasis)});
    } else {
      set(store::key::kRateBasis, c.setting);
    }
    b.showPage<pages::ScoreQueryPage>();
    b.click("queryButton");
    const auto& summary = b.control<web::Grid>("summaryGrid");
    const auto header = row(summary, 0);
    const auto maths = row(summary, 1);
    EXPECT_EQ(std::vector<std::string>(header.begin() + 9, header.begin() + 13), c.captions);
    EXPECT_EQ(std::vector<std::string>(maths.begin() + 9, maths.begin() + 13), c.rates);

    b.showPage<pages::ClassComparisonPage>();
    b.choose("columnBox", "数学");
    b.click("analyseButton");
    const auto& grid = b.control<web::Grid>("resultGrid");
    const auto titles = row(grid, 0);
    EXPECT_EQ(titles[12], c.captions[1] + " [人数]");
    EXPECT_EQ(titles[13], c.captions[2] + " [人数]");
    const auto cells = row(grid, 1);
    EXPECT_EQ(std::vector<std::string>(cells.begin() + 11, cells.begin() + 15), c.comparison);
  }
}

// In one class 甲 sat both subjects and 乙 only 数学; the other class sat only 数学, so its
// students miss nothing.
class AverageBasisTest : public FigureSettingsTest {
 protected:
  AverageBasisTest() {
    score("期中", student("1001", "甲", "中心校区", "初一", "一班"), 90, 80);  // 170
    score("期中", student("1002", "乙", "中心校区", "初一", "一班"), 96, 0);   // 96
    score("期中", student("1003", "丙", "中心校区", "初一", "二班"), 70, 0);   // 70
    score("期中", student("1004", "丁", "中心校区", "初一", "二班"), 60, 0);   // 60
  }
};

TEST_F(AverageBasisTest, TheQuerySortsAndShowsTheAverageAndMarksMissedSubjects) {
  struct Case {
    std::string setting;
    std::vector<std::string> ids;  // by 平均分, highest first
    std::vector<double> averages;
    std::vector<std::string> marks;
  };
  const std::vector<Case> cases = {
      {"参考科目", {"1002", "1001", "1003", "1004"}, {96, 85, 70, 60}, {"(缺1科)", "", "", ""}},
      {"全部科目", {"1001", "1003", "1004", "1002"}, {85, 70, 60, 48}, {"", "", "", "(缺1科)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    set(store::key::kAverageBasis, c.setting);
    b.showPage<pages::ScoreQueryPage>();
    b.choose("sortBox", "按平均分");
    b.choose("directionBox", "降序排列");
    b.click("queryButton");
    EXPECT_EQ(shownColumn("考号"), c.ids);
    EXPECT_EQ(shownNumbers("平均分"), c.averages);
    EXPECT_EQ(shownColumn("缺考"), c.marks);
  }
}

TEST_F(AverageBasisTest, TheRankingRanksTheAverageByTheSettingAndMarksMissedSubjects) {
  struct Case {
    std::string setting;
    std::vector<std::string> averageCells;  // rows by total: 甲, 乙, 丙, 丁
  };
  const std::vector<Case> cases = {
      {"参考科目", {"[ 2 ] 85", "[ 1 ] 96(缺1科)", "[ 3 ] 70", "[ 4 ] 60"}},
      {"全部科目", {"[ 1 ] 85", "[ 4 ] 48(缺1科)", "[ 2 ] 70", "[ 3 ] 60"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    set(store::key::kAverageBasis, c.setting);
    b.showPage<pages::RankingPage>();
    b.click("analyseButton");
    const auto& grid = b.control<web::Grid>("resultGrid");
    ASSERT_EQ(grid.rowCount(), 5);
    std::vector<std::string> cells;
    for (int r = 1; r < 5; ++r) cells.push_back(row(grid, r)[8]);
    EXPECT_EQ(cells, c.averageCells);
  }
}

}  // namespace
}  // namespace zeziza::testing

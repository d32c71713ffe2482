#include "pages/analysis/class_comparison.h"
#include "pages/analysis/score_query.h"
#include "store/scale_settings.h"
#include "tests/pages/analysis/analysis_fixture.h"

namespace zeziza::testing {
namespace {

using Cells = std::vector<std::string>;

// Four students of 中心校区 初一 一班 with (数学, 语文): totals 235, 205, 170 and 100.
class FullMarksTest : public AnalysisTest {
 protected:
  FullMarksTest() {
    server.context().settings().update([](store::SettingsSnapshot& s) {
      s.units = {"中心校区"};
      s.classes = {"一班"};
    });
    const double scores[][2] = {{140, 95}, {120, 85}, {100, 70}, {60, 40}};
    int id = 1000;
    for (const auto& [maths, chinese] : scores) {
      score("期中", student(std::to_string(++id), "学生"), maths, chinese);
    }
  }
  void setFullMarks(const std::vector<std::string>& marks) {
    if (!marks.empty()) store::storeFullMarkTexts(server.db(), marks);
  }
  static Cells slice(const Cells& cells, std::size_t from, std::size_t count) {
    return Cells(cells.begin() + static_cast<std::ptrdiff_t>(from),
                 cells.begin() + static_cast<std::ptrdiff_t>(std::min(cells.size(), from + count)));
  }
};

TEST_F(FullMarksTest, ClassComparisonJudgesEachColumnOnItsOwnScale) {
  struct Case {
    const char* what;
    std::vector<std::string> fullMarks;  // none stored: every subject out of 100
    const char* column;
    Cells captions;
    Cells rates;
    Cells bands;
  };
  const std::vector<Case> cases = {
      {"total of two 100-point subjects, out of 200",
       {},
       "总分",
       {"60%-70%(120-140)", "70%-80%(140-160)", "80%-90%(160-180)", ">=90%(>=180)"},
       {"50.00% [ 2 ]", "25.00% [ 1 ]", "0.00% [ 0 ]", "25.00% [ 1 ]"},
       {"0", "0", "1", "2"}},
      {"total of 150 + 100, out of 250",
       {"150", "100"},
       "总分",
       {"60%-70%(150-175)", "70%-80%(175-200)", "80%-90%(200-225)", ">=90%(>=225)"},
       {"25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]"},
       {"1", "0", "1", "1"}},
      {"a 150-point subject",
       {"150", "100"},
       "数学",
       {"60%-70%(90-105)", "70%-80%(105-120)", "80%-90%(120-135)", ">=90%(>=135)"},
       {"25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]"},
       {"1", "0", "1", "1"}},
      {"the average, all out of 100: as before",
       {"100", "100"},
       "平均分",
       {"60%-70%(60-70)", "70%-80%(70-80)", "80%-90%(80-90)", ">=90%(>=90)"},
       {"50.00% [ 2 ]", "25.00% [ 1 ]", "0.00% [ 0 ]", "25.00% [ 1 ]"},
       {"0", "0", "1", "2"}},
      {"the average of 150 and 100, out of 125",
       {"150", "100"},
       "平均分",
       {"60%-70%(75-87.5)", "70%-80%(87.5-100)", "80%-90%(100-112.5)", ">=90%(>=112.5)"},
       {"25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]", "25.00% [ 1 ]"},
       {"1", "0", "1", "1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    setFullMarks(c.fullMarks);
    b.showPage<pages::ClassComparisonPage>();
    b.choose("columnBox", c.column);
    b.click("analyseButton");
    ASSERT_EQ(b.messages(), std::vector<std::string>{});
    const auto& grid = b.control<web::Grid>("resultGrid");
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(slice(row(grid, 0), 17, 4), c.captions);
    EXPECT_EQ(slice(row(grid, 1), 11, 4), c.rates);
    EXPECT_EQ(slice(row(grid, 1), 17, 4), c.bands);
  }
}

TEST_F(FullMarksTest, ScoreQueryStatisticsUseEachSubjectsFullMark) {
  struct Case {
    const char* what;
    std::vector<std::string> fullMarks;
    Cells bandHeader;
    Cells mathsLevels;  // 优秀人数 … 不及格人数
    Cells mathsBands;
  };
  const std::vector<Case> cases = {
      {"both out of 100: two subjects shown, the header in percent",
       {},
       {"60%-70%", "70%-80%", "80%-90%", ">=90%"},
       {"3", "0", "1", "0"},
       {"1", "0", "0", "3"}},
      {"both out of 150",
       {"150", "150"},
       {"60%-70%", "70%-80%", "80%-90%", ">=90%"},
       {"1", "1", "1", "1"},
       {"1", "0", "1", "1"}},
      {"150 and 100",
       {"150", "100"},
       {"60%-70%", "70%-80%", "80%-90%", ">=90%"},
       {"1", "1", "1", "1"},
       {"1", "0", "1", "1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    setFullMarks(c.fullMarks);
    b.showPage<pages::ScoreQueryPage>();
    b.click("queryButton");
    ASSERT_EQ(b.messages(), std::vector<std::string>{});
    const auto& summary = b.control<web::Grid>("summaryGrid");
    const auto& bands = b.control<web::Grid>("bandsGrid");
    ASSERT_EQ(summary.rowCount(), 3);
    EXPECT_EQ(slice(row(summary, 1), 13, 4), c.mathsLevels);
    EXPECT_EQ(slice(row(bands, 0), 3, 4), c.bandHeader);
    EXPECT_EQ(slice(row(bands, 1), 3, 4), c.mathsBands);
  }
}

}  // namespace
}  // namespace zeziza::testing

#include "analysis/statistics_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using zeziza::analysis::bandCaptions;
using zeziza::analysis::bandCountTexts;
using zeziza::analysis::ScoreStatistics;
using zeziza::analysis::statisticsRows;

TEST(StatisticsRows, CaptionsInSummaryOrder) {
  std::vector<std::string_view> captions;
  for (const auto& row : statisticsRows(ScoreStatistics{})) captions.push_back(row.caption);
  const std::vector<std::string_view> expected = {
      "实有人数", "参考人数", "总分",     "平均分",     "最高分", "最低分",
      "中位数",   "方差",     "优秀率",   "良好率",     "及格率", "不及格率",
      "优秀人数", "良好人数", "及格人数", "不及格人数", "偏度",   "峰度"};
  EXPECT_EQ(captions, expected);
}

TEST(StatisticsRows, EachValueInItsOwnForm) {
  ScoreStatistics s;
  s.enrolled = 12;
  s.participants = 10;
  s.total = 852.5;
  s.mean = 85.25;
  s.highest = 99.5;
  s.lowest = 60;
  s.median = 86.125;
  s.variance = 1.0 / 3;
  s.excellentRate = 12.345;
  s.goodRate = 50;
  s.passRate = 100.0 / 3;
  s.failRate = 0;
  s.excellentCount = 1;
  s.goodCount = 5;
  s.passCount = 3;
  s.failCount = 1;
  s.skewness = -0.0765;
  s.kurtosis = 2.5;
  std::vector<std::string> texts;
  for (const auto& row : statisticsRows(s)) texts.push_back(row.text);
  const std::vector<std::string> expected = {"12",    "10",   "852.5", "85.25", "99.5",  "60",
                                             "86.13", "0.33", "12.35", "50.00", "33.33", "0.00",
                                             "1",     "5",    "3",     "1",     "-0.08", "2.50"};
  EXPECT_EQ(texts, expected);
}

TEST(BandCaptions, RangeToNextBoundaryAndLastFromItsBoundaryUp) {
  struct Case {
    std::vector<int> bands;
    std::vector<std::string> captions;
  };
  const std::vector<Case> cases = {
      {{60, 70, 80, 90}, {"60%-70%", "70%-80%", "80%-90%", ">=90%"}},
      {{60}, {">=60%"}},
      {{60, 90, 70}, {"60%-90%", "90%-70%", ">=70%"}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bands));
    EXPECT_EQ(bandCaptions(c.bands), c.captions);
  }
}

TEST(BandCountTexts, DecimalIntegersInBoundaryOrder) {
  ScoreStatistics s;
  s.bandCounts = {0, 12, 3};
  EXPECT_EQ(bandCountTexts(s), (std::vector<std::string>{"0", "12", "3"}));
}

}  // namespace

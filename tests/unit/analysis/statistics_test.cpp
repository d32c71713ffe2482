#include "analysis/statistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/number_format.h"
#include "analysis/statistics_text.h"

namespace {

using zeziza::analysis::computeStatistics;
using zeziza::analysis::LevelThresholds;
using zeziza::analysis::ScoreStatistics;
using zeziza::analysis::statisticsRows;

const LevelThresholds kThresholds{90, 80, 60};
const std::vector<int> kBands{60, 70, 80, 90};

ScoreStatistics statsOf(const std::vector<double>& values, int enrolled = 0,
                        const std::vector<int>& bands = kBands) {
  const auto stats = computeStatistics(values, enrolled, kThresholds, bands);
  if (!stats) ADD_FAILURE() << "no record";
  return stats.value_or(ScoreStatistics{});
}

std::vector<std::string> textsOf(const ScoreStatistics& stats) {
  std::vector<std::string> texts;
  for (const auto& row : statisticsRows(stats)) texts.push_back(row.text);
  return texts;
}

TEST(ComputeStatistics, NoRecordBelowTwoParticipants) {
  const std::vector<std::vector<double>> cases = {
      {}, {0}, {85}, {0, 0, 0}, {0, 85, 0}, {-10, 85}, {-10, -20},
  };
  for (const auto& values : cases) {
    SCOPED_TRACE(::testing::PrintToString(values));
    EXPECT_FALSE(computeStatistics(values, 5, kThresholds, kBands).has_value());
  }
}

struct RecordCase {
  std::string name;
  std::vector<double> values;  // in row order
  int enrolled;
  // enrolled, participants, total, mean, highest, lowest, median, variance, four rates,
  // four counts, skewness, kurtosis
  std::vector<std::string> texts;
  std::vector<int> bandCounts;
};

TEST(ComputeStatistics, RecordsAsShown) {
  const std::vector<RecordCase> cases = {
      {"even count, median of the middle two",
       {60, 70, 80, 90},
       4,
       {"4", "4", "300", "75.00", "90", "60", "75.00", "125.00", "25.00", "25.00", "50.00", "0.00",
        "1", "1", "2", "0", "0.00", "1.64"},
       {1, 1, 1, 1}},
      {"odd count in row order, 50 below every band",
       {95, 50, 100, 70, 70},
       6,
       {"6", "5", "385", "77.00", "100", "50", "70.00", "336.00", "40.00", "0.00", "40.00", "20.00",
        "2", "0", "2", "1", "-0.08", "1.63"},
       {0, 2, 0, 2}},
      {"all equal: no moments",
       {80, 80},
       2,
       {"2", "2", "160", "80.00", "80", "80", "80.00", "0.00", "0.00", "100.00", "0.00", "0.00",
        "0", "2", "0", "0", "0.00", "0.00"},
       {0, 0, 2, 0}},
      {"zeros are absent students",
       {0, 0, 75, 85},
       4,
       {"4", "2", "160", "80.00", "85", "75", "80.00", "25.00", "0.00", "50.00", "50.00", "0.00",
        "0", "1", "1", "0", "0.00", "1.00"},
       {0, 1, 1, 0}},
      {"mean of exactly 80.125",
       {80, 80.25},
       3,
       {"3", "2", "160.25", "80.13", "80.25", "80", "80.13", "0.02", "0.00", "100.00", "0.00",
        "0.00", "0", "2", "0", "0", "0.00", "1.00"},
       {0, 0, 2, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScoreStatistics stats = statsOf(c.values, c.enrolled);
    EXPECT_EQ(textsOf(stats), c.texts);
    EXPECT_EQ(stats.bandCounts, c.bandCounts);
  }
}

TEST(ComputeStatistics, ValueOnThresholdBelongsToHigherLevel) {
  struct Case {
    double value;
    std::vector<int> levelCounts;  // excellent, good, pass, fail
  };
  const std::vector<Case> cases = {
      {150, {2, 0, 0, 0}},   {90, {2, 0, 0, 0}}, {89.99, {0, 2, 0, 0}}, {80, {0, 2, 0, 0}},
      {79.99, {0, 0, 2, 0}}, {60, {0, 0, 2, 0}}, {59.99, {0, 0, 0, 2}}, {0.5, {0, 0, 0, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const ScoreStatistics s = statsOf({c.value, c.value});
    EXPECT_EQ((std::vector<int>{s.excellentCount, s.goodCount, s.passCount, s.failCount}),
              c.levelCounts);
  }
}

TEST(ComputeStatistics, RatesAreUnroundedShares) {
  const ScoreStatistics s = statsOf({95, 85, 70, 50, 40, 30});
  EXPECT_DOUBLE_EQ(s.excellentRate, 100.0 / 6);
  EXPECT_DOUBLE_EQ(s.goodRate, 100.0 / 6);
  EXPECT_DOUBLE_EQ(s.passRate, 100.0 / 6);
  EXPECT_DOUBLE_EQ(s.failRate, 50);
}

TEST(ComputeStatistics, ValueOnBoundaryBelongsToBandStartingThere) {
  struct Case {
    double value;
    std::vector<int> bandCounts;
  };
  const std::vector<Case> cases = {
      {59.99, {0, 0, 0, 0}}, {60, {2, 0, 0, 0}},      {69.99, {2, 0, 0, 0}}, {70, {0, 2, 0, 0}},
      {90, {0, 0, 0, 2}},    {1000.99, {0, 0, 0, 2}}, {1001, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(statsOf({c.value, c.value}).bandCounts, c.bandCounts);
  }
}

TEST(ComputeStatistics, UnorderedBoundariesGiveEmptyOrOverlappingBands) {
  EXPECT_EQ(statsOf({65, 75, 95}, 0, {60, 90, 70}).bandCounts, (std::vector<int>{2, 0, 2}));
}

TEST(ComputeStatistics, EmptyBandListGivesNoBandCounts) {
  EXPECT_TRUE(statsOf({60, 70}, 0, {}).bandCounts.empty());
}

// Shifting and scaling the first example leaves skewness and kurtosis unchanged; a small
// spread on large values must not drown in cancellation.
TEST(ComputeStatistics, MomentsStableForSmallSpreadOnLargeValues) {
  const ScoreStatistics s = statsOf({900.6, 900.7, 900.8, 900.9});
  EXPECT_NEAR(s.variance, 0.0125, 1e-9);
  EXPECT_EQ(zeziza::analysis::formatFixed(s.skewness, 2), "0.00");
  EXPECT_NEAR(s.kurtosis, 1.64, 1e-6);
}

}  // namespace

namespace {

using zeziza::analysis::RateBasis;
using zeziza::analysis::ScoreLimits;

// Values 50, 65, 80, 85, 90, 95 with lines 90, 80, 60, counted by each rate basis (by hand:
// three at or above 80, five at or above 60, two at or above 90).
TEST(ComputeStatistics, RatesByEachBasis) {
  struct Case {
    RateBasis basis;
    std::vector<std::string> captions;  // 优秀率, 良好率, 及格率, 不及格率, then the counts
    std::vector<std::string> texts;
  };
  const std::vector<Case> cases = {
      {RateBasis::Bands,
       {"优秀率", "良好率", "及格率", "不及格率", "优秀人数", "良好人数", "及格人数", "不及格人数"},
       {"33.33", "33.33", "16.67", "16.67", "2", "2", "1", "1"}},
      {RateBasis::Cumulative,
       {"优秀率", "良好率(累计)", "及格率(累计)", "不及格率", "优秀人数", "良好人数(累计)",
        "及格人数(累计)", "不及格人数"},
       {"33.33", "66.67", "83.33", "16.67", "2", "4", "5", "1"}},
  };
  const std::vector<double> values = {50, 65, 80, 85, 90, 95};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.captions[1]);
    ScoreLimits limits{90, 80, 60, {}, zeziza::analysis::kLastBandUpperLimit, c.basis};
    const auto stats = computeStatistics(values, 6, limits);
    ASSERT_TRUE(stats.has_value());
    const auto rows = statisticsRows(*stats);
    std::vector<std::string> captions, texts;
    for (std::size_t i = 8; i < 16; ++i) {  // the four rates, then the four counts
      captions.emplace_back(rows[i].caption);
      texts.push_back(rows[i].text);
    }
    EXPECT_EQ(captions, c.captions);
    EXPECT_EQ(texts, c.texts);
  }
}

}  // namespace

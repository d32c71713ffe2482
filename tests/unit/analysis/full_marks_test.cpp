#include "analysis/full_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/statistics.h"

namespace {

using zeziza::analysis::bandCaptions;
using zeziza::analysis::columnFullMark;
using zeziza::analysis::computeStatistics;
using zeziza::analysis::FullMark;
using zeziza::analysis::LevelThresholds;
using zeziza::analysis::parseFullMarks;
using zeziza::analysis::scaledLimits;

const LevelThresholds kThresholds{90, 80, 60};
const std::vector<int> kBands{60, 70, 80, 90};
const std::vector<std::string> kSubjects{"语文", "数学", "英语"};

TEST(FullMarks, ColumnsScaleTheLimitsEnteredOutOf100) {
  struct Case {
    const char* what;
    std::vector<int> fullMarks;
    const char* column;
    double excellent, good, pass;
    std::vector<double> bands;
  };
  const std::vector<Case> cases = {
      {"all 100: a subject as today", {100, 100, 100}, "数学", 90, 80, 60, {60, 70, 80, 90}},
      {"all 100: the average as today", {100, 100, 100}, "平均分", 90, 80, 60, {60, 70, 80, 90}},
      {"all 100: the total out of 300",
       {100, 100, 100},
       "总分",
       270,
       240,
       180,
       {180, 210, 240, 270}},
      {"a 150-point subject", {150, 150, 100}, "语文", 135, 120, 90, {90, 105, 120, 135}},
      {"a 100-point subject beside 150s", {150, 150, 100}, "英语", 90, 80, 60, {60, 70, 80, 90}},
      {"mixed: the total out of 400", {150, 150, 100}, "总分", 360, 320, 240, {240, 280, 320, 360}},
      {"mixed: the average out of 133.33",
       {150, 150, 100},
       "平均分",
       120,
       400.0 * 80 / 300,
       80,
       {80, 400.0 * 70 / 300, 400.0 * 80 / 300, 120}},
      {"an unknown column reads as 100", {150, 150, 100}, "物理", 90, 80, 60, {60, 70, 80, 90}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto limits =
        scaledLimits(kThresholds, kBands, columnFullMark(c.column, kSubjects, c.fullMarks));
    EXPECT_EQ(limits.excellent, c.excellent);
    EXPECT_EQ(limits.good, c.good);
    EXPECT_EQ(limits.pass, c.pass);
    EXPECT_EQ(limits.bands, c.bands);
  }
}

// The levels and bands a total falls in: with the limits of one subject every total of three
// subjects was "excellent" and in the last band.
TEST(FullMarks, TotalsFallInTheLevelsOfTheirOwnScale) {
  const std::vector<double> totals = {285, 250, 200, 150};
  const auto unscaled = computeStatistics(totals, 0, kThresholds, kBands);
  ASSERT_TRUE(unscaled);
  EXPECT_EQ(unscaled->excellentCount, 4);

  const std::vector<int> marks = {100, 100, 100};
  const auto stats =
      computeStatistics(totals, 0, scaledLimits(kThresholds, kBands, FullMark::ofTotal(marks)));
  ASSERT_TRUE(stats);
  EXPECT_EQ(stats->excellentCount, 1);                           // 285 >= 270
  EXPECT_EQ(stats->goodCount, 1);                                // 250 >= 240
  EXPECT_EQ(stats->passCount, 1);                                // 200 >= 180
  EXPECT_EQ(stats->failCount, 1);                                // 150
  EXPECT_EQ(stats->bandCounts, (std::vector<int>{1, 0, 1, 1}));  // 150 lies below 180
}

TEST(FullMarks, ABoundaryValueBelongsToTheHigherLevelAfterScaling) {
  const std::vector<int> marks = {150};
  const std::vector<double> values = {135, 134.5, 120, 90, 89.5};
  const auto stats = computeStatistics(
      values, 0, scaledLimits(kThresholds, kBands, FullMark::ofSubject(marks[0])));
  ASSERT_TRUE(stats);
  EXPECT_EQ(stats->excellentCount, 1);
  EXPECT_EQ(stats->goodCount, 2);
  EXPECT_EQ(stats->passCount, 1);
  EXPECT_EQ(stats->failCount, 1);
  EXPECT_EQ(stats->bandCounts, (std::vector<int>{1, 0, 2, 1}));
}

TEST(FullMarks, StoredTextsReadAs100WhereMissingOrUnreadable) {
  struct Case {
    std::vector<std::string> texts;
    std::size_t subjects;
    std::vector<int> marks;
  };
  const std::vector<Case> cases = {
      {{}, 3, {100, 100, 100}},
      {{"150", "120"}, 3, {150, 120, 100}},
      {{"150", "", "abc", "0", "-5", " 80 "}, 6, {150, 100, 100, 100, 100, 80}},
      {{"150", "150", "150"}, 2, {150, 150}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.texts));
    EXPECT_EQ(parseFullMarks(c.texts, c.subjects), c.marks);
  }
}

TEST(FullMarks, BandCaptionsShowTheScaledBoundaries) {
  const std::vector<int> mixed = {150, 150, 100};
  struct Case {
    FullMark fullMark;
    std::vector<std::string> captions;
  };
  const std::vector<Case> cases = {
      {FullMark(), {"60%-70%(60-70)", "70%-80%(70-80)", "80%-90%(80-90)", ">=90%(>=90)"}},
      {FullMark::ofSubject(150),
       {"60%-70%(90-105)", "70%-80%(105-120)", "80%-90%(120-135)", ">=90%(>=135)"}},
      {FullMark::ofTotal(mixed),
       {"60%-70%(240-280)", "70%-80%(280-320)", "80%-90%(320-360)", ">=90%(>=360)"}},
      {FullMark::ofAverage(mixed),
       {"60%-70%(80-93.33)", "70%-80%(93.33-106.67)", "80%-90%(106.67-120)", ">=90%(>=120)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fullMark.value());
    EXPECT_EQ(bandCaptions(kBands, c.fullMark), c.captions);
  }
}

}  // namespace

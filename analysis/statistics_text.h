#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/statistics.h"

namespace zeziza::analysis {

// Captions under which every caller shows or stores the record's values.
namespace caption {
inline constexpr std::string_view kEnrolled = "实有人数";
inline constexpr std::string_view kParticipants = "参考人数";
inline constexpr std::string_view kTotal = "总分";
inline constexpr std::string_view kMean = "平均分";
inline constexpr std::string_view kHighest = "最高分";
inline constexpr std::string_view kLowest = "最低分";
inline constexpr std::string_view kMedian = "中位数";
inline constexpr std::string_view kVariance = "方差";
inline constexpr std::string_view kExcellentCount = "优秀人数";
inline constexpr std::string_view kExcellentRate = "优秀率";
inline constexpr std::string_view kGoodCount = "良好人数";
inline constexpr std::string_view kGoodRate = "良好率";
inline constexpr std::string_view kPassCount = "及格人数";
inline constexpr std::string_view kPassRate = "及格率";
inline constexpr std::string_view kFailCount = "不及格人数";
inline constexpr std::string_view kFailRate = "不及格率";
inline constexpr std::string_view kSkewness = "偏度";
inline constexpr std::string_view kKurtosis = "峰度";
// The good and pass levels counted from their line up.
inline constexpr std::string_view kGoodCountCumulative = "良好人数(累计)";
inline constexpr std::string_view kGoodRateCumulative = "良好率(累计)";
inline constexpr std::string_view kPassCountCumulative = "及格人数(累计)";
inline constexpr std::string_view kPassRateCumulative = "及格率(累计)";
}  // namespace caption

// The captions of the good and pass rates and counts, saying when they are cumulative.
std::string_view goodRateCaption(RateBasis basis);
std::string_view passRateCaption(RateBasis basis);
std::string_view goodCountCaption(RateBasis basis);
std::string_view passCountCaption(RateBasis basis);

// Decimals of the mean, median, variance, rates, skewness and kurtosis.
inline constexpr int kStatisticsDecimals = 2;

struct StatisticsRow {
  std::string_view caption;
  std::string text;
  bool operator==(const StatisticsRow&) const = default;
};

// The record as callers show it, in the order of the summary grid and the uploaded statistics
// row: enrolled, participants, total, mean, highest, lowest, median, variance, the four rates,
// the four counts, skewness, kurtosis. Counts are integers; total, highest and lowest use the
// general form; the rest two decimals, rates without a percent sign. Band counts are apart.
// The good and pass captions say which rate basis the record was computed with.
std::vector<StatisticsRow> statisticsRows(const ScoreStatistics& stats);

// One header per boundary, in percent of the full mark as the boundaries are set: "60%-70%" up
// to the next boundary, ">=90%" for the last one, which counts every score from it up.
std::vector<std::string> bandCaptions(std::span<const int> bands);

// The band counts as decimal integers, in boundary order.
std::vector<std::string> bandCountTexts(const ScoreStatistics& stats);

}  // namespace zeziza::analysis

#include "analysis/statistics_text.h"

#include "analysis/number_format.h"

namespace zeziza::analysis {
namespace {

std::string twoDecimals(double value) {
  return formatFixed(value, kStatisticsDecimals);
}

bool cumulative(RateBasis basis) {
  return basis == RateBasis::Cumulative;
}

}  // namespace

std::string_view goodRateCaption(RateBasis basis) {
  return cumulative(basis) ? caption::kGoodRateCumulative : caption::kGoodRate;
}

std::string_view passRateCaption(RateBasis basis) {
  return cumulative(basis) ? caption::kPassRateCumulative : caption::kPassRate;
}

std::string_view goodCountCaption(RateBasis basis) {
  return cumulative(basis) ? caption::kGoodCountCumulative : caption::kGoodCount;
}

std::string_view passCountCaption(RateBasis basis) {
  return cumulative(basis) ? caption::kPassCountCumulative : caption::kPassCount;
}

std::vector<StatisticsRow> statisticsRows(const ScoreStatistics& s) {
  return {
      {caption::kEnrolled, std::to_string(s.enrolled)},
      {caption::kParticipants, std::to_string(s.participants)},
      {caption::kTotal, formatGeneral(s.total)},
      {caption::kMean, twoDecimals(s.mean)},
      {caption::kHighest, formatGeneral(s.highest)},
      {caption::kLowest, formatGeneral(s.lowest)},
      {caption::kMedian, twoDecimals(s.median)},
      {caption::kVariance, twoDecimals(s.variance)},
      {caption::kExcellentRate, twoDecimals(s.excellentRate)},
      {goodRateCaption(s.rates), twoDecimals(s.goodRate)},
      {passRateCaption(s.rates), twoDecimals(s.passRate)},
      {caption::kFailRate, twoDecimals(s.failRate)},
      {caption::kExcellentCount, std::to_string(s.excellentCount)},
      {goodCountCaption(s.rates), std::to_string(s.goodCount)},
      {passCountCaption(s.rates), std::to_string(s.passCount)},
      {caption::kFailCount, std::to_string(s.failCount)},
      {caption::kSkewness, twoDecimals(s.skewness)},
      {caption::kKurtosis, twoDecimals(s.kurtosis)},
  };
}

std::vector<std::string> bandCaptions(std::span<const int> bands) {
  std::vector<std::string> captions;
  captions.reserve(bands.size());
  for (std::size_t i = 0; i + 1 < bands.size(); ++i) {
    captions.push_back(std::to_string(bands[i]) + "%-" + std::to_string(bands[i + 1]) + "%");
  }
  if (!bands.empty()) captions.push_back(">=" + std::to_string(bands.back()) + "%");
  return captions;
}

std::vector<std::string> bandCountTexts(const ScoreStatistics& stats) {
  std::vector<std::string> texts;
  texts.reserve(stats.bandCounts.size());
  for (const int count : stats.bandCounts) texts.push_back(std::to_string(count));
  return texts;
}

}  // namespace zeziza::analysis

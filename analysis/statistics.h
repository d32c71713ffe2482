#pragma once

#include <optional>
#include <span>
#include <vector>

namespace zeziza::analysis {

// The three score-level thresholds: excellent (youxiu), good (lianghao), pass (jige).
struct LevelThresholds {
  int excellent = 0;
  int good = 0;
  int pass = 0;
  bool operator==(const LevelThresholds&) const = default;
};

// What the good and pass levels count. Bands: each level alone (良好 from the good line up to
// the excellent line). Cumulative: every score at or above the level's line, as head teachers
// read 及格率. The excellent and fail levels are the same either way.
enum class RateBasis { Bands, Cumulative };

// Statistics of one score column over one scope. Rates are percentages, unrounded.
struct ScoreStatistics {
  int enrolled = 0;      // roster size of the scope, counted by the caller
  int participants = 0;  // values above 0
  double total = 0;
  double mean = 0;
  double highest = 0;
  double lowest = 0;  // smallest value above 0
  double median = 0;
  double variance = 0;  // population variance
  int excellentCount = 0;
  int goodCount = 0;
  int passCount = 0;
  int failCount = 0;
  double excellentRate = 0;
  double goodRate = 0;
  double passRate = 0;
  double failRate = 0;
  double skewness = 0;
  double kurtosis = 0;                 // not excess: a normal distribution gives 3
  std::vector<int> bandCounts;         // one per band boundary
  RateBasis rates = RateBasis::Bands;  // what goodCount and passCount count
};

// Upper limit of the last score band, which has no next boundary.
inline constexpr int kLastBandUpperLimit = 1001;

// Level thresholds and band boundaries in the points of one score column.
struct ScoreLimits {
  double excellent = 0;
  double good = 0;
  double pass = 0;
  std::vector<double> bands;
  double lastBandUpper = kLastBandUpperLimit;
  RateBasis rates = RateBasis::Bands;
};

// Values of 0 or less are absent scores and take no part. No record for fewer than two
// participants. Band i runs from bands[i] up to, not including, bands[i + 1] (or
// kLastBandUpperLimit); each band is tested on its own, so unordered boundaries give empty or
// overlapping bands.
std::optional<ScoreStatistics> computeStatistics(std::span<const double> values, int enrolled,
                                                 const LevelThresholds& thresholds,
                                                 std::span<const int> bands);
// The same with limits already in the column's points (see analysis/full_marks.h).
std::optional<ScoreStatistics> computeStatistics(std::span<const double> values, int enrolled,
                                                 const ScoreLimits& limits);

}  // namespace zeziza::analysis
